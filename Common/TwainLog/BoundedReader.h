// A bounded view of memory that another program wrote (a capability container behind its handle).
//
// The view knows how many bytes are there: a read names the bytes it needs and gets them only when
// they lie wholly inside the view. Values are copied out with memcpy, so a field at any alignment is
// read safely, and nothing is ever read past the end.
#ifndef TWAINMON_BOUNDEDREADER_H
#define TWAINMON_BOUNDEDREADER_H

#include <cstddef>
#include <cstring>

class CBoundedReader {
public:
    // A view of nSize bytes at pBase; a null base is an empty view.
    CBoundedReader(const void* pBase, size_t nSize)
        : m_pBase(static_cast<const unsigned char*>(pBase)), m_nSize(pBase != nullptr ? nSize : 0) {}

    size_t Size() const { return m_nSize; }

    // Bytes that lie inside the view from nOffset on (0 at or past the end).
    size_t Avail(size_t nOffset) const { return nOffset < m_nSize ? m_nSize - nOffset : 0; }

    // True when nBytes from nOffset on lie wholly inside the view.
    bool Has(size_t nOffset, size_t nBytes) const { return nOffset <= m_nSize && nBytes <= m_nSize - nOffset; }

    // The address of the byte at nOffset, for handing a part of the view on with its Avail count.
    // nOffset may be the end of the view (then nothing at that address may be read).
    const void* At(size_t nOffset) const {
        return nOffset <= m_nSize && m_pBase != nullptr ? m_pBase + nOffset : nullptr;
    }

    // Copies nBytes from nOffset on into pOut; false, copying nothing, when they do not all lie inside.
    bool Copy(size_t nOffset, void* pOut, size_t nBytes) const {
        if (!Has(nOffset, nBytes)) return false;
        if (nBytes != 0) memcpy(pOut, m_pBase + nOffset, nBytes);
        return true;
    }

    // Reads a value of a plain type stored at nOffset.
    template <typename T>
    bool Read(size_t nOffset, T* pValue) const {
        return Copy(nOffset, pValue, sizeof(T));
    }

    // Copies the text at nOffset up to its first NUL, at most nMax characters, never past the view
    // and never more than nOut - 1 characters; the copy is always NUL-terminated (nOut > 0).
    size_t CopyText(size_t nOffset, size_t nMax, char* pszOut, size_t nOut) const {
        size_t n = Avail(nOffset);
        if (n > nMax) n = nMax;
        if (n > nOut - 1) n = nOut - 1;
        if (n != 0) {
            const void* pNul = memchr(m_pBase + nOffset, '\0', n);
            if (pNul != nullptr) n = static_cast<size_t>(static_cast<const unsigned char*>(pNul) - (m_pBase + nOffset));
            memcpy(pszOut, m_pBase + nOffset, n);
        }
        pszOut[n] = '\0';
        return n;
    }

private:
    const unsigned char* m_pBase;
    size_t m_nSize;
};

#endif  // TWAINMON_BOUNDEDREADER_H
