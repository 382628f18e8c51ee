#include "TextBuffer.h"

#include <cstdio>
#include <cstring>

#include "LineFormat.h"

void CTextBuffer::Append(const char* pszText) {
    // One pass, byte by byte: the texts are short, and this is cheaper than measuring them first.
    // (The position is kept in a local: a store through a char pointer could otherwise change the
    // length member, which would then be reloaded for every byte.)
    char* p = m_szText + m_nLength;
    char* const pEnd = m_szText + kRoom;
    while (*pszText != '\0' && p != pEnd) *p++ = *pszText++;
    if (*pszText != '\0') m_bOverflow = true;
    *p = '\0';
    m_nLength = static_cast<size_t>(p - m_szText);
}

void CTextBuffer::Append(const char* pText, size_t nLength) {
    const size_t nRoom = kRoom - m_nLength;
    if (nLength > nRoom) {
        nLength = nRoom;
        m_bOverflow = true;
    }
    memcpy(m_szText + m_nLength, pText, nLength);
    m_nLength += nLength;
    m_szText[m_nLength] = '\0';
}

void CTextBuffer::AppendF(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    AppendV(pszFormat, &args);
    va_end(args);
}

void CTextBuffer::AppendV(const char* pszFormat, va_list* args) {
    // The fast formatter writes straight into the free room; a conversion it does not handle is
    // left, with the rest of the format and the arguments not yet taken, to vsnprintf.
    linefmt::Written written;
    const char* pszRest = linefmt::Format(m_szText + m_nLength, kRoom - m_nLength, pszFormat, args, &written);
    Took(written);
    if (pszRest == nullptr) return;

    // vsnprintf formats into the room plus the byte for the NUL and reports the length the whole
    // text needed, which tells whether it was cut.
    const size_t nRoom = kRoom - m_nLength;
    const int nNeeded = vsnprintf(m_szText + m_nLength, nRoom + 1, pszRest, *args);
    if (nNeeded < 0) {
        m_szText[m_nLength] = '\0';
        return;
    }
    if (static_cast<size_t>(nNeeded) > nRoom) {
        m_nLength = kRoom;
        m_bOverflow = true;
    } else {
        m_nLength += static_cast<size_t>(nNeeded);
    }
}
