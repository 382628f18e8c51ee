#include "TextBuffer.h"

#include <cstring>

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
