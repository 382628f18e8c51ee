// The TW_CAPABILITY block and the four containers behind its handle: one value, enumeration, array
// and range.
//
// The container belongs to the application or the real data source. It is reached only between
// LockMemory and UnlockMemory of its handle, which leave the handle locked or unlocked as they
// found it, and every read of it goes through a CBoundedReader that knows the handle's size: a
// container smaller than its fixed fields shows one line saying so instead of them, and a value or
// item lying outside the container is never read.
#include <cstddef>

#include "BoundedReader.h"
#include "CDSMInterface.h"
#include "FieldFormat.h"
#include "ParaAnalyze.h"
#include "twaintbl.h"

using twfmt::CRLF;

namespace {

// The fixed fields of each container, ahead of its item list (a one value and a range are all
// fixed fields).
constexpr size_t kOneValueFields = sizeof(TW_ONEVALUE);
constexpr size_t kEnumerationFields = offsetof(TW_ENUMERATION, ItemList);
constexpr size_t kArrayFields = offsetof(TW_ARRAY, ItemList);
constexpr size_t kRangeFields = sizeof(TW_RANGE);

}  // namespace

bool CParaAnalyze::TwCapabilityAnalyze(const TW_CAPABILITY* pCap) {
    if (pCap == nullptr) return true;
    TW_OUT("  TW_CAPABILITY = {%s", CRLF);
    TW_NAMED("    Cap        = [%s]%s", NameSet::Capabilities, pCap->Cap);
    TW_NAMED("    ConType    = [%s]%s", twon_macros, pCap->ConType);
    TW_OUT("    hContainer = <0x%08x>%s", twfmt::Low32(pCap->hContainer), CRLF);
    // A failed call leaves no container worth showing, and its handle may not be valid.
    if (m_RetCode != TWRC_FAILURE) TwContainerAnalyaze(pCap);
    TW_OUT("  }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwContainerAnalyaze(const TW_CAPABILITY* pCap) {
    if (pCap == nullptr) return true;
    TW_HANDLE hContainer = pCap->hContainer;
    const TW_UINT16 Cap = pCap->Cap;
    const TW_UINT16 ConType = pCap->ConType;
    if (hContainer == nullptr) return true;
    if (ConType != TWON_ARRAY && ConType != TWON_ENUMERATION && ConType != TWON_ONEVALUE && ConType != TWON_RANGE) {
        return true;
    }

    signed char nHandleState = 0;
    const char* pContainer = CDSMInterface::LockMemory(hContainer, &nHandleState);
    const size_t nSize = CDSMInterface::MemorySize(hContainer);
    switch (ConType) {
        case TWON_ARRAY: TwArrayAnalyze(Cap, reinterpret_cast<const TW_ARRAY*>(pContainer), nSize); break;
        case TWON_ENUMERATION:
            TwEnumerationAnalyze(Cap, reinterpret_cast<const TW_ENUMERATION*>(pContainer), nSize);
            break;
        case TWON_ONEVALUE: TwOneValueAnalyze(Cap, reinterpret_cast<const TW_ONEVALUE*>(pContainer), nSize); break;
        case TWON_RANGE: TwRangeAnalyze(Cap, reinterpret_cast<const TW_RANGE*>(pContainer), nSize); break;
        default: break;
    }
    CDSMInterface::UnlockMemory(hContainer, nHandleState);
    return true;
}

template <typename T, typename ShowFields>
bool CParaAnalyze::TwContainerBlock(const char* pszName, const T* pContainer, size_t nSize, size_t nFields,
                                    ShowFields showFields) {
    if (pContainer == nullptr) return true;
    const CBoundedReader container(pContainer, nSize);
    TW_OUT("    %s = {%s", pszName, CRLF);
    T fields{};
    if (container.Copy(0, &fields, nFields)) {
        showFields(container, fields);
    } else {
        TW_OUT("      !!! container too small: %zu bytes, %s needs %zu !!!%s", nSize, pszName, nFields, CRLF);
    }
    TW_OUT("    }%s", CRLF);
    return true;
}

bool CParaAnalyze::TwOneValueAnalyze(TW_UINT16 Cap, const TW_ONEVALUE* pOneValue, size_t nSize) {
    return TwContainerBlock("TW_ONEVALUE", pOneValue, nSize, kOneValueFields,
                            [&](const CBoundedReader& container, const TW_ONEVALUE& fields) {
                                char szValue[512] = {};
                                TW_NAMED("      ItemType = [%s]%s", twty_macros, fields.ItemType);
                                // A frame or text value starts at Item and goes on past it, inside
                                // the container.
                                const size_t nItem = offsetof(TW_ONEVALUE, Item);
                                ValToStr(Cap, fields.ItemType, container.At(nItem), container.Avail(nItem), szValue,
                                         sizeof(szValue));
                                TW_OUT("      Item     = [%s]%s", szValue, CRLF);
                            });
}

bool CParaAnalyze::TwEnumerationAnalyze(TW_UINT16 Cap, const TW_ENUMERATION* pEnumeration, size_t nSize) {
    return TwContainerBlock("TW_ENUMERATION", pEnumeration, nSize, kEnumerationFields,
                            [&](const CBoundedReader& container, const TW_ENUMERATION& fields) {
                                TW_NAMED("      ItemType     = [%s]%s", twty_macros, fields.ItemType);
                                TW_OUT("      NumItems     = [%ld]%s", twfmt::U32(fields.NumItems), CRLF);
                                TW_OUT("      CurrentIndex = [%ld]%s", twfmt::U32(fields.CurrentIndex), CRLF);
                                TW_OUT("      DefaultIndex = [%ld]%s", twfmt::U32(fields.DefaultIndex), CRLF);
                                MakeItemList(Cap, fields.ItemType, fields.NumItems, container.At(kEnumerationFields),
                                             container.Avail(kEnumerationFields));
                            });
}

bool CParaAnalyze::TwArrayAnalyze(TW_UINT16 Cap, const TW_ARRAY* pArray, size_t nSize) {
    return TwContainerBlock("TW_ARRAY", pArray, nSize, kArrayFields,
                            [&](const CBoundedReader& container, const TW_ARRAY& fields) {
                                TW_NAMED("      ItemType = [%s]%s", twty_macros, fields.ItemType);
                                TW_OUT("      NumItems = [%ld]%s", twfmt::U32(fields.NumItems), CRLF);
                                MakeItemList(Cap, fields.ItemType, fields.NumItems, container.At(kArrayFields),
                                             container.Avail(kArrayFields));
                            });
}

bool CParaAnalyze::TwRangeAnalyze(TW_UINT16 Cap, const TW_RANGE* pRange, size_t nSize) {
    return TwContainerBlock("TW_RANGE", pRange, nSize, kRangeFields,
                            [&](const CBoundedReader& container, const TW_RANGE& fields) {
                                char szValue[512] = {};
                                TW_NAMED("      ItemType     = [%s]%s", twty_macros, fields.ItemType);
                                // Each value is read at its field's address as its type says (a frame
                                // or text goes on into the fields after it), never past the container.
                                const auto ValueAt = [&](size_t nOffset) {
                                    ValToStr(Cap, fields.ItemType, container.At(nOffset), container.Avail(nOffset),
                                             szValue, sizeof(szValue));
                                    return szValue;
                                };
                                TW_OUT("      MinValue     = [%s]%s", ValueAt(offsetof(TW_RANGE, MinValue)), CRLF);
                                TW_OUT("      MaxValue     = [%s]%s", ValueAt(offsetof(TW_RANGE, MaxValue)), CRLF);
                                TW_OUT("      StepSize     = [%s]%s", ValueAt(offsetof(TW_RANGE, StepSize)), CRLF);
                                TW_OUT("      DefaultValue = [%s]%s", ValueAt(offsetof(TW_RANGE, DefaultValue)),
                                       CRLF);
                                TW_OUT("      CurrentValue = [%s]%s", ValueAt(offsetof(TW_RANGE, CurrentValue)),
                                       CRLF);
                            });
}
