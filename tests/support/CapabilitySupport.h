// Helpers for the capability tests: containers in platform memory handles, as applications build
// them, and the TW_CAPABILITY block around a container's lines.
#ifndef TWAINMON_CAPABILITYSUPPORT_H
#define TWAINMON_CAPABILITYSUPPORT_H

#include <CoreServices/CoreServices.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "HostMemory.h"
#include "TestSupport.h"
#include "TwainTypes.h"

namespace capsupport {

// A zero-filled container of exactly nSize bytes in a handle of the host's own making (HostMemory.h:
// its header and block flush against guard pages), freed with the object.
class Container {
public:
    explicit Container(size_t nSize) : m_hHandle(hostmem::NewHandle(nSize)) {}
    ~Container() { hostmem::FreeHandle(m_hHandle); }
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;

    TW_HANDLE Handle() const { return m_hHandle; }
    char* Data() const { return *m_hHandle; }

    // Stores a value of a plain type at a byte offset (any alignment).
    template <typename T>
    void Put(size_t nOffset, const T& value) {
        hostmem::Put(m_hHandle, nOffset, value);
    }
    void PutBytes(size_t nOffset, const void* pBytes, size_t nBytes) { memcpy(Data() + nOffset, pBytes, nBytes); }

private:
    TW_HANDLE m_hHandle;
};

using testsupport::Fix;

// A handle value that must never be followed: locking or reading it would crash.
inline TW_HANDLE PoisonHandle() { return reinterpret_cast<TW_HANDLE>(static_cast<uintptr_t>(0x10)); }

// "<0x%08x>" of a handle's low 32 bits.
inline std::string Low32Text(const void* p) {
    char sz[32];
    snprintf(sz, sizeof(sz), "<0x%08x>", static_cast<unsigned int>(reinterpret_cast<uintptr_t>(p) & 0xFFFFFFFFu));
    return sz;
}

// The TW_CAPABILITY block with the given container lines between its handle line and its brace.
inline std::string CapabilityBlock(const TW_CAPABILITY& cap, const std::string& capName, const std::string& conName,
                                   const std::vector<std::string>& containerLines) {
    return testsupport::Lines({"  TW_CAPABILITY = {", "    Cap        = [" + capName + "]",
                               "    ConType    = [" + conName + "]", "    hContainer = " + Low32Text(cap.hContainer)}) +
           testsupport::Lines(containerLines) + testsupport::Lines({"  }"});
}

// The lines of a TW_ENUMERATION of TWTY_UINT16 pixel types whose fixed fields claim numItems items,
// current and default index 2, with the item list's lines given.
inline std::vector<std::string> PixelTypes(TW_UINT32 numItems, const std::vector<std::string>& itemList) {
    std::vector<std::string> lines = {"    TW_ENUMERATION = {", "      ItemType     = [TWTY_UINT16]",
                                      "      NumItems     = [" + std::to_string(numItems) + "]",
                                      "      CurrentIndex = [2]", "      DefaultIndex = [2]"};
    lines.insert(lines.end(), itemList.begin(), itemList.end());
    lines.push_back("    }");
    return lines;
}
// The item list of TWPT_BW, TWPT_GRAY and TWPT_RGB, whole.
inline const std::vector<std::string> kPixelTypeList = {"      ItemList = {", "          0:TWPT_BW,", "          1:TWPT_GRAY,",
                                                        "          2:TWPT_RGB", "      }"};

// The whole rendering of a successful DAT_CAPABILITY call whose block is the one given.
inline std::string SuccessRecord(const TW_CAPABILITY& cap, const std::string& block) {
    return testsupport::ResultLines("TWRC_SUCCESS", &cap) + block + testsupport::StateLines(0);
}

inline std::string Render(TW_CAPABILITY& cap, unsigned short MSG = MSG_GET, unsigned short RetCode = TWRC_SUCCESS) {
    return testsupport::RenderResult(DG_CONTROL, DAT_CAPABILITY, MSG, &cap, RetCode);
}

// The item list of a rendering: from its "      ItemList = {" line to its closing "      }" line,
// both included; "" when it has none.
inline std::string ItemListOf(const std::string& text) {
    const size_t start = text.find("      ItemList = {\r\n");
    const size_t end = start == std::string::npos ? start : text.find("\r\n      }\r\n", start);
    return end == std::string::npos ? "" : text.substr(start, end + 11 - start);
}

// The item list of an array of numItems items of the given type for the capability, whose nBytes
// bytes of items follow its fixed fields in a handle of exactly that size.
inline std::string ArrayItemList(TW_UINT16 capCode, TW_UINT16 type, TW_UINT32 numItems, const void* items,
                                 size_t nBytes) {
    Container box(8 + nBytes);
    box.Put<TW_UINT16>(0, type);
    box.Put<TW_UINT32>(4, numItems);
    if (nBytes != 0) box.PutBytes(8, items, nBytes);
    TW_CAPABILITY cap{capCode, TWON_ARRAY, box.Handle()};
    return ItemListOf(Render(cap));
}

}  // namespace capsupport

#endif  // TWAINMON_CAPABILITYSUPPORT_H
