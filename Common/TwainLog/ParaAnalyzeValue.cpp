// Capability value formatting: the text of one value of any item type, value names of enumerated
// capabilities, the two capabilities whose values read otherwise (supported capabilities, extension
// version), and the indexed item list of an array or enumeration container.
//
// Values come from containers built by other programs: every read goes through a CBoundedReader
// over the bytes that remain of the container, so a value whose bytes lie outside is never read.
#include "BoundedReader.h"
#include "CompiledFormat.h"
#include "FieldFormat.h"
#include "ParaAnalyze.h"
#include "twaintbl.h"

using twfmt::CopyText;
using twfmt::CRLF;

// Writes a compiled format into pszOutput (nOutput bytes), as snprintf would; gives its length.
#define TW_PRINT(...) \
    linefmt::PrintWith(pszOutput, nOutput, [&](linefmt::Sink& sink) { TWAINMON_PUT(sink, __VA_ARGS__); })

namespace {

// The text of a value whose bytes do not all lie inside its container.
constexpr char kOutside[] = "!!! outside the container !!!";
// The text of every item of a list the monitor does not render item by item.
constexpr char kNotImplemented[] = "!!! not implemented.!!!";

}  // namespace

size_t CParaAnalyze::ValToStr(TW_UINT16 Cap, TW_UINT16 ItemType, const void* pValue, size_t nAvail, char* pszOutput,
                              size_t nOutput) {
    if (pszOutput == nullptr || nOutput == 0) return 0;
    const CBoundedReader value(pValue, nAvail);
    switch (ItemType) {
        case TWTY_INT8: {
            // Widened with sign: -1 shows as "0xffffffff".
            TW_INT8 v;
            if (!value.Read(0, &v)) break;
            return TW_PRINT("0x%02x", static_cast<unsigned int>(static_cast<int>(v)));
        }
        case TWTY_INT16: {
            TW_INT16 v;
            if (!value.Read(0, &v)) break;
            return TW_PRINT("%d", v);
        }
        case TWTY_INT32: {
            TW_INT32 v;
            if (!value.Read(0, &v)) break;
            return TW_PRINT("%d", v);
        }
        case TWTY_UINT8: {
            TW_UINT8 v;
            if (!value.Read(0, &v)) break;
            return TW_PRINT("0x%02x", v);
        }
        case TWTY_UINT16: {
            TW_UINT16 v;
            if (!value.Read(0, &v)) break;
            return ValToCap(Cap, v, pszOutput, nOutput);
        }
        case TWTY_UINT32: {
            // Shown as a signed number: 0x80000000 and above show negative.
            TW_UINT32 v;
            if (!value.Read(0, &v)) break;
            return TW_PRINT("%d", static_cast<TW_INT32>(v));
        }
        case TWTY_BOOL: {
            TW_BOOL v;
            if (!value.Read(0, &v)) break;
            return CopyText(twfmt::Truth(v), pszOutput, nOutput);
        }
        case TWTY_FIX32: {
            TW_FIX32 v;
            if (!value.Read(0, &v)) break;
            return TW_PRINT("%.3f", twfmt::Fix32(v));
        }
        case TWTY_FRAME: {
            TW_FRAME v;
            if (!value.Read(0, &v)) break;
            return TW_PRINT("%.3f,%.3f,%.3f,%.3f", twfmt::Fix32(v.Left), twfmt::Fix32(v.Top),
                         twfmt::Fix32(v.Right), twfmt::Fix32(v.Bottom));
        }
        case TWTY_STR32:
        case TWTY_STR64:
        case TWTY_STR128:
        case TWTY_STR255:
            // Up to the first NUL, at most the type's size less one, never past the container.
            return value.CopyText(0, ItemSize(ItemType) - 1, pszOutput, nOutput);
        default: {
            // A type this monitor does not know: the 32 bits at the field, as a signed number.
            TW_UINT32 v;
            if (!value.Read(0, &v)) break;
            return TW_PRINT("%d", static_cast<TW_INT32>(v));
        }
    }
    return CopyText(kOutside, pszOutput, nOutput);
}

size_t CParaAnalyze::ValToCap(TW_UINT16 Cap, TW_UINT16 Value, char* pszOutput, size_t nOutput) {
    if (Cap == CAP_ZV_VERSION) return MakeCapZvVersion(Value, pszOutput, nOutput);
    if (Cap == CAP_SUPPORTEDCAPS) return MakeCapSupportedCaps(Value, pszOutput, nOutput);
    // The capability's value table (VALTOCAP up to 0x8000, VALTOCAPZV above), or plain decimal;
    // straight into an output that holds any name.
    if (nOutput >= kNameBufferSize) return LookupCapValueName(Cap, Value, pszOutput);
    char szName[kNameBufferSize];
    LookupCapValueName(Cap, Value, szName);
    return CopyText(szName, pszOutput, nOutput);
}

size_t CParaAnalyze::MakeCapSupportedCaps(TW_UINT16 Value, char* pszOutput, size_t nOutput) {
    if (Value == 0) return CopyText("", pszOutput, nOutput);  // no capability: an empty item
    // Straight into an output that holds any name.
    if (nOutput >= kNameBufferSize) return LookupCapName(Value, pszOutput);
    char szName[kNameBufferSize];
    LookupCapName(Value, szName);
    return CopyText(szName, pszOutput, nOutput);
}

size_t CParaAnalyze::MakeCapZvVersion(TW_UINT16 Value, char* pszOutput, size_t nOutput) {
    // High byte and low byte in lower-case hexadecimal: 0x0110 is "1.10".
    return TW_PRINT("%x.%x", static_cast<unsigned int>(Value >> 8),
                 static_cast<unsigned int>(Value & 0xFF));
}

template <typename WriteValue>
void CParaAnalyze::WriteItemLine(TW_UINT32 nIndex, bool bLast, WriteValue writeValue) {
    // "        %3u:%s%s%s": three columns for the index, wider from 1000 on; the value, written in
    // place by writeValue (at most nOut - 1 bytes and a NUL, returning their length); a comma after
    // every item but the last. A value cut at the room is always followed by the line end, which
    // flags the cut.
    linefmt::AppendWith(*m_pszOutput, [&](linefmt::Sink& line) {
        TWAINMON_PUT(line, "        %3u:", nIndex);
        line.Took(writeValue(line.End(), line.Free() + 1));
        if (bLast) {
            TWAINMON_PUT(line, "%s", CRLF);
        } else {
            TWAINMON_PUT(line, ",%s", CRLF);
        }
    });
}

void CParaAnalyze::MakeItemList(TW_UINT16 Cap, TW_UINT16 ItemType, TW_UINT32 NumItems, const void* pItemList,
                                size_t nAvail) {
    TW_OUT("      ItemList = {%s", CRLF);

    // Only items that lie wholly inside the container are shown; a type of unknown size is never
    // read, so all its items are (each as "not implemented").
    const CBoundedReader list(pItemList, nAvail);
    const size_t nItemSize = ItemSize(ItemType);
    TW_UINT32 nInside = NumItems;
    if (nItemSize != 0 && list.Size() / nItemSize < nInside) nInside = static_cast<TW_UINT32>(list.Size() / nItemSize);

    // Stops once the text buffer is full: items past it would never be seen.
    for (TW_UINT32 i = 0; i < nInside && !m_pszOutput->Full(); ++i) {
        const bool bLast = i + 1 == NumItems;
        if (ItemType == TWTY_FRAME || nItemSize == 0) {
            MakeItemLine(i, kNotImplemented, bLast);
            continue;
        }
        // Lists run to hundreds of items, so each value is written in place, not composed
        // elsewhere and copied.
        WriteItemLine(i, bLast, [&](char* pszOut, size_t nOut) {
            TW_UINT16 v;
            if (ItemType == TWTY_UINT16 && list.Read(i * nItemSize, &v)) return ValToCap(Cap, v, pszOut, nOut);
            return ValToStr(Cap, ItemType, list.At(i * nItemSize), nItemSize, pszOut, nOut);
        });
    }
    if (nInside < NumItems) {
        TW_OUT("        ... %u of %u items lie outside the container%s", NumItems - nInside, NumItems, CRLF);
    }
    TW_OUT("      }%s", CRLF);
}

void CParaAnalyze::MakeItemLine(TW_UINT32 nIndex, const char* pszValue, bool bLast) {
    WriteItemLine(nIndex, bLast,
                  [pszValue](char* pszOut, size_t nOut) { return CopyText(pszValue, pszOut, nOut); });
}
