// The data source of the call-property test: a TripletOperator without state whose every result
// is a function of the call alone (DG, DAT, MSG and the data block's bytes), so that two objects
// given the same call return the same code and leave the same bytes. The block is overwritten with
// pseudo-random bytes shaped so that the interesting renderings come up often: claimed and unclaimed
// events, known capabilities with containers of every kind and any size (a new handle of its own
// making per call, flush against guard pages, which the host frees), item counts beyond the
// container, and every return code.
#include <CoreServices/CoreServices.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <iterator>
#include <random>
#include <string>

#include "DataBlock.h"
#include "HostMemory.h"
#include "TripletOperator.h"
#include "TwainTypes.h"

namespace {

template <typename T>
void Store(unsigned char* p, size_t offset, T value) {
    memcpy(p + offset, &value, sizeof value);
}

// A container of any size, random, with an item type and an item count that are usually sensible.
Handle MakeContainer(std::mt19937_64& rng, TW_UINT16 ConType) {
    static const uint32_t kSizes[] = {0, 2, 6, 8, 12, 19, 20, 24, 40, 64, 100, 300, 1000, 4000};
    static const uint32_t kCounts[] = {0, 1, 3, 10, 400, 100000, 0xFFFFFFFFu};
    const uint32_t nSize = static_cast<uint32_t>(rng() % 4 == 0 ? rng() % 6000 : kSizes[rng() % std::size(kSizes)]);
    Handle h = hostmem::NewHandle(nSize);
    if (h == nullptr) return nullptr;
    unsigned char* p = reinterpret_cast<unsigned char*>(*h);
    for (uint32_t i = 0; i < nSize; ++i) p[i] = static_cast<unsigned char>(rng());
    if (nSize >= 2 && rng() % 8 != 0) Store(p, 0, static_cast<TW_UINT16>(rng() % 13));
    if ((ConType == TWON_ARRAY || ConType == TWON_ENUMERATION) && nSize >= 8 && rng() % 8 != 0) {
        Store(p, 4, static_cast<TW_UINT32>(rng() % 3 == 0 ? kCounts[rng() % std::size(kCounts)] : rng() % 30));
    }
    return h;
}

class PropertyOperator final : public TripletOperator {
public:
    void Reserved1() override {}
    void Reserved2() override {}
    void Reserved4() override {}
    void Release() override { delete this; }

    TW_UINT16 OperateTriplet(pTW_IDENTITY, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData) override {
        static const TW_UINT16 kCodes[] = {TWRC_SUCCESS, TWRC_SUCCESS, TWRC_SUCCESS, TWRC_FAILURE, TWRC_CHECKSTATUS,
                                           TWRC_CANCEL, TWRC_DSEVENT, TWRC_NOTDSEVENT, TWRC_XFERDONE, TWRC_ENDOFLIST,
                                           TWRC_INFONOTSUPPORTED, TWRC_DATANOTAVAILABLE, 10, 0x8000};
        static const TW_UINT16 kMessages[] = {MSG_XFERREADY, MSG_CLOSEDSREQ, MSG_NULL, MSG_CLOSEDSOK, 0x7777};
        static const TW_UINT16 kCaps[] = {ICAP_PIXELTYPE, CAP_SUPPORTEDCAPS, ICAP_XRESOLUTION, ICAP_FRAMES,
                                          CAP_ZV_VERSION, ICAP_UNITS, ICAP_BITDEPTH, CAP_FEEDERENABLED,
                                          ICAP_ZV_FILMTYPE, CAP_ZV_UIMODE, 0x7777};
        static const TW_UINT16 kConTypes[] = {TWON_ARRAY, TWON_ENUMERATION, TWON_ONEVALUE, TWON_RANGE, TWON_DONTCARE16, 0};
        unsigned char* p = reinterpret_cast<unsigned char*>(pData);
        const size_t nBlock = p != nullptr ? DataBlockSize(DAT) : 0;
        std::string call = std::to_string(DG) + '/' + std::to_string(DAT) + '/' + std::to_string(MSG) + '/';
        if (nBlock != 0) call.append(reinterpret_cast<const char*>(p), nBlock);
        std::mt19937_64 rng(std::hash<std::string>()(call));
        const auto pick = [&rng](const auto& choices) { return choices[rng() % std::size(choices)]; };

        TW_UINT16 rc = pick(kCodes);
        if (p == nullptr) return rc;
        for (size_t i = 0; i < nBlock; ++i) p[i] = static_cast<unsigned char>(rng());
        if (DAT == DAT_EVENT) {
            Store(p, offsetof(TW_EVENT, TWMessage), pick(kMessages));
            if (rng() % 2 == 0) rc = rng() % 2 == 0 ? TWRC_DSEVENT : TWRC_NOTDSEVENT;
        } else if (DAT == DAT_CAPABILITY) {
            const TW_UINT16 ConType = pick(kConTypes);
            Store(p, offsetof(TW_CAPABILITY, Cap), pick(kCaps));
            Store(p, offsetof(TW_CAPABILITY, ConType), ConType);
            // The handle is always one that hostmem::FreeHandle can free: a new container, or null.
            Store<TW_HANDLE>(p, offsetof(TW_CAPABILITY, hContainer), rng() % 10 == 0 ? nullptr : MakeContainer(rng, ConType));
        }
        return rc;
    }
};

}  // namespace

extern "C" __attribute__((visibility("default"))) long CreateTwainWrapper(CFStringRef /*name*/,
                                                                          TripletOperator** ppOperator) {
    if (ppOperator == nullptr) return -1;
    *ppOperator = new PropertyOperator();
    return 0;
}
