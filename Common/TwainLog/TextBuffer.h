// The text of one rendering: 5120 bytes of room, bounded appends, and a flag for text that did not fit.
#ifndef TWAINMON_TEXTBUFFER_H
#define TWAINMON_TEXTBUFFER_H

#include <cstddef>

class CTextBuffer {
public:
    static constexpr size_t kRoom = 5120;  // bytes of text; one more holds the terminating NUL

    CTextBuffer() { Clear(); }

    // Empties the buffer for the next rendering. Only the first byte is reset: the text is always
    // NUL-terminated at its length, so nothing past it is ever read.
    void Clear() {
        m_nLength = 0;
        m_bOverflow = false;
        m_szText[0] = '\0';
    }

    // Appends as much of the text as fits; what does not fit is dropped and remembered.
    void Append(const char* pszText);
    void Append(const char* pText, size_t nLength);

    // For a writer that fills the free room in place (CompiledFormat.h): where the text ends, the
    // bytes of room left (one more byte past them takes the NUL), then what the writer wrote:
    // nLength bytes, and whether it had more to write.
    char* End() { return m_szText + m_nLength; }
    size_t Free() const { return kRoom - m_nLength; }
    void Took(size_t nLength, bool bCut) {
        m_nLength += nLength;
        m_bOverflow = m_bOverflow || bCut;
        m_szText[m_nLength] = '\0';
    }

    const char* Text() const { return m_szText; }
    size_t Length() const { return m_nLength; }
    bool Empty() const { return m_nLength == 0; }
    // True when some text of this rendering did not fit: the buffer then holds exactly the first
    // kRoom bytes of the full text.
    bool Overflowed() const { return m_bOverflow; }
    // True when no further text can be taken (an append would only set the overflow flag).
    bool Full() const { return m_nLength == kRoom; }

private:
    size_t m_nLength;
    bool m_bOverflow;
    char m_szText[kRoom + 1];
};

#endif  // TWAINMON_TEXTBUFFER_H
