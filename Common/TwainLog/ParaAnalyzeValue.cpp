// Capability value formatting: the text of one value of any item type, value names of enumerated
// capabilities, the two capabilities whose values read otherwise (supported capabilities, extension
// version), and the indexed item list of an array or enumeration container.
//
// Values come from containers built by other programs: every read goes through a CBoundedReader
// over the bytes that remain of the container, so a value whose bytes lie outside is never read.
#include <cstdio>

#include "BoundedReader.h"
#include "FieldFormat.h"
#include "ParaAnalyze.h"
#include "twaintbl.h"

using twfmt::CopyText;
using twfmt::CRLF;

namespace {

// The text of a value whose bytes do not all lie inside its container.
constexpr char kOutside[] = "!!! outside the container !!!";
// The text of every item of a list the monitor does not render item by item.
constexpr char kNotImplemented[] = "!!! not implemented.!!!";

// The bytes one item of a type takes in an item list; 0 for a type above TWTY_STR255, whose size
// is unknown.
size_t ItemSize(TW_UINT16 ItemType) {
    switch (ItemType) {
        case TWTY_INT8:
        case TWTY_UINT8: return 1;
        case TWTY_INT16:
        case TWTY_UINT16:
        case TWTY_BOOL: return 2;
        case TWTY_INT32:
        case TWTY_UINT32:
        case TWTY_FIX32: return 4;
        case TWTY_FRAME: return sizeof(TW_FRAME);
        case TWTY_STR32: return sizeof(TW_STR32);
        case TWTY_STR64: return sizeof(TW_STR64);
        case TWTY_STR128: return sizeof(TW_STR128);
        case TWTY_STR255: return sizeof(TW_STR255);
        default: return 0;
    }
}

}  // namespace

void CParaAnalyze::ValToStr(TW_UINT16 Cap, TW_UINT16 ItemType, const void* pValue, size_t nAvail, char* pszOutput,
                            size_t nOutput) {
    if (pszOutput == nullptr || nOutput == 0) return;
    const CBoundedReader value(pValue, nAvail);
    switch (ItemType) {
        case TWTY_INT8: {
            // Widened with sign: -1 shows as "0xffffffff".
            TW_INT8 v;
            if (!value.Read(0, &v)) break;
            snprintf(pszOutput, nOutput, "0x%02x", static_cast<unsigned int>(static_cast<int>(v)));
            return;
        }
        case TWTY_INT16: {
            TW_INT16 v;
            if (!value.Read(0, &v)) break;
            snprintf(pszOutput, nOutput, "%d", v);
            return;
        }
        case TWTY_INT32: {
            TW_INT32 v;
            if (!value.Read(0, &v)) break;
            snprintf(pszOutput, nOutput, "%d", v);
            return;
        }
        case TWTY_UINT8: {
            TW_UINT8 v;
            if (!value.Read(0, &v)) break;
            snprintf(pszOutput, nOutput, "0x%02x", v);
            return;
        }
        case TWTY_UINT16: {
            TW_UINT16 v;
            if (!value.Read(0, &v)) break;
            ValToCap(Cap, v, pszOutput, nOutput);
            return;
        }
        case TWTY_UINT32: {
            // Shown as a signed number: 0x80000000 and above show negative.
            TW_UINT32 v;
            if (!value.Read(0, &v)) break;
            snprintf(pszOutput, nOutput, "%d", static_cast<TW_INT32>(v));
            return;
        }
        case TWTY_BOOL: {
            TW_BOOL v;
            if (!value.Read(0, &v)) break;
            CopyText(twfmt::Truth(v), pszOutput, nOutput);
            return;
        }
        case TWTY_FIX32: {
            TW_FIX32 v;
            if (!value.Read(0, &v)) break;
            snprintf(pszOutput, nOutput, "%.3f", twfmt::Fix32(v));
            return;
        }
        case TWTY_FRAME: {
            TW_FRAME v;
            if (!value.Read(0, &v)) break;
            snprintf(pszOutput, nOutput, "%.3f,%.3f,%.3f,%.3f", twfmt::Fix32(v.Left), twfmt::Fix32(v.Top),
                     twfmt::Fix32(v.Right), twfmt::Fix32(v.Bottom));
            return;
        }
        case TWTY_STR32:
        case TWTY_STR64:
        case TWTY_STR128:
        case TWTY_STR255:
            // Up to the first NUL, at most the type's size less one, never past the container.
            value.CopyText(0, ItemSize(ItemType) - 1, pszOutput, nOutput);
            return;
        default: {
            // A type this monitor does not know: the 32 bits at the field, as a signed number.
            TW_UINT32 v;
            if (!value.Read(0, &v)) break;
            snprintf(pszOutput, nOutput, "%d", static_cast<TW_INT32>(v));
            return;
        }
    }
    CopyText(kOutside, pszOutput, nOutput);
}

void CParaAnalyze::ValToCap(TW_UINT16 Cap, TW_UINT16 Value, char* pszOutput, size_t nOutput) {
    if (Cap == CAP_ZV_VERSION) {
        MakeCapZvVersion(Value, pszOutput, nOutput);
    } else if (Cap == CAP_SUPPORTEDCAPS) {
        MakeCapSupportedCaps(Value, pszOutput, nOutput);
    } else {
        // The capability's value table (VALTOCAP up to 0x8000, VALTOCAPZV above), or plain decimal;
        // straight into an output that holds any name.
        if (nOutput >= kNameBufferSize) {
            LookupCapValueName(Cap, Value, pszOutput);
            return;
        }
        LookupCapValueName(Cap, Value, m_szName);
        CopyText(m_szName, pszOutput, nOutput);
    }
}

void CParaAnalyze::MakeCapSupportedCaps(TW_UINT16 Value, char* pszOutput, size_t nOutput) {
    if (Value == 0) {
        CopyText("", pszOutput, nOutput);  // no capability: an empty item
        return;
    }
    if (nOutput >= kNameBufferSize) {
        LookupCapName(Value, pszOutput);  // straight into an output that holds any name
        return;
    }
    char szName[kNameBufferSize];
    LookupCapName(Value, szName);
    CopyText(szName, pszOutput, nOutput);
}

void CParaAnalyze::MakeCapZvVersion(TW_UINT16 Value, char* pszOutput, size_t nOutput) {
    // High byte and low byte in lower-case hexadecimal: 0x0110 is "1.10".
    snprintf(pszOutput, nOutput, "%x.%x", static_cast<unsigned int>(Value >> 8),
             static_cast<unsigned int>(Value & 0xFF));
}

void CParaAnalyze::MakeItemList(TW_UINT16 Cap, TW_UINT16 ItemType, TW_UINT32 NumItems, const void* pItemList,
                                size_t nAvail) {
    char szValue[1024] = {};
    Out("      ItemList = {%s", CRLF);

    // Only items that lie wholly inside the container are shown; a type of unknown size is never
    // read, so all its items are (each as "not implemented").
    const CBoundedReader list(pItemList, nAvail);
    const size_t nItemSize = ItemSize(ItemType);
    TW_UINT32 nInside = NumItems;
    if (nItemSize != 0 && list.Size() / nItemSize < nInside) nInside = static_cast<TW_UINT32>(list.Size() / nItemSize);

    // Stops once the text buffer is full: items past it would never be seen.
    for (TW_UINT32 i = 0; i < nInside && !m_pszOutput->Full(); ++i) {
        const char* pszValue = kNotImplemented;
        if (ItemType != TWTY_FRAME && nItemSize != 0) {
            ValToStr(Cap, ItemType, list.At(i * nItemSize), nItemSize, szValue, sizeof(szValue));
            pszValue = szValue;
        }
        MakeItemLine(i, pszValue, i + 1 == NumItems);
    }
    if (nInside < NumItems) {
        Out("        ... %u of %u items lie outside the container%s", NumItems - nInside, NumItems, CRLF);
    }
    Out("      }%s", CRLF);
}

void CParaAnalyze::MakeItemLine(TW_UINT32 nIndex, const char* pszValue, bool bLast) {
    // "        %3u:%s%s%s": three columns for the index, wider from 1000 on; a comma after every item
    // but the last. Lists run to hundreds of items, so the line is appended piece by piece rather
    // than through the general formatter.
    CTextBuffer& text = *m_pszOutput;
    text.Append("        ");
    text.AppendUnsigned(nIndex, 3);
    text.Append(':');
    text.Append(pszValue);
    if (!bLast) text.Append(',');
    text.Append(CRLF);
}
