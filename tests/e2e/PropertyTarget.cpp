// The data source of the call-property test: a TripletOperator without state whose every result
// is a function of the call alone (DG, DAT, MSG and the bytes of the data block it is handed).
// Two objects given the same call return the same code and leave the same bytes, so the test can
// compare what a host receives through the monitor with a direct call.
//
// The block is overwritten with pseudo-random bytes of its structure's size, shaped so that the
// interesting renderings come up often: claimed and unclaimed events, known capabilities with
// containers of every kind and of any size (a new handle per call, which the host disposes of, as
// TWAIN's container ownership has it), item counts beyond the container, and every return code.
#include <CoreServices/CoreServices.h>

#include <cstdint>
#include <cstring>

#include "DataBlock.h"
#include "TripletOperator.h"
#include "TwainTypes.h"

namespace {

// splitmix64: a small, well-mixed generator, seeded from the call.
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>(Next() % n); }
    template <typename T, size_t N>
    T Pick(const T (&choices)[N]) {
        return choices[Below(N)];
    }
    void Fill(void* p, size_t n) {
        unsigned char* bytes = static_cast<unsigned char*>(p);
        for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<unsigned char>(Next());
    }

private:
    uint64_t m_state;
};

uint64_t HashCall(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, const unsigned char* pBlock, size_t nBlock) {
    uint64_t h = 0xCBF29CE484222325ull;  // FNV-1a
    const auto mix = [&h](uint64_t byte) {
        h ^= byte;
        h *= 0x100000001B3ull;
    };
    for (int i = 0; i < 4; ++i) mix((DG >> (8 * i)) & 0xFF);
    mix(DAT & 0xFF);
    mix(DAT >> 8);
    mix(MSG & 0xFF);
    mix(MSG >> 8);
    for (size_t i = 0; i < nBlock; ++i) mix(pBlock[i]);
    return h;
}

template <typename T>
void Store(unsigned char* p, size_t offset, T value) {
    memcpy(p + offset, &value, sizeof value);
}

// A container of nSize bytes: random, with an item type and item count that are usually sensible.
Handle MakeContainer(Random& random, TW_UINT16 ConType) {
    static const uint32_t kSizes[] = {0, 2, 6, 8, 12, 19, 20, 24, 40, 64, 100, 300, 1000, 4000};
    const uint32_t nSize = random.Below(4) == 0 ? random.Below(6000) : random.Pick(kSizes);
    Handle h = NewHandleClear(static_cast<Size>(nSize));
    if (h == nullptr) return nullptr;
    unsigned char* p = reinterpret_cast<unsigned char*>(*h);
    random.Fill(p, nSize);
    if (nSize >= 2 && random.Below(8) != 0) Store<TW_UINT16>(p, 0, static_cast<TW_UINT16>(random.Below(13)));
    const bool bList = ConType == TWON_ARRAY || ConType == TWON_ENUMERATION;
    if (bList && nSize >= 8 && random.Below(8) != 0) {
        static const uint32_t kCounts[] = {0, 1, 3, 10, 400, 100000, 0xFFFFFFFFu};
        Store<TW_UINT32>(p, 4, random.Below(3) == 0 ? random.Pick(kCounts) : random.Below(30));
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
        unsigned char* pBlock = reinterpret_cast<unsigned char*>(pData);
        const size_t nBlock = pBlock != nullptr ? DataBlockSize(DAT) : 0;
        Random random(HashCall(DG, DAT, MSG, pBlock, nBlock));
        TW_UINT16 rc = random.Pick(kCodes);
        if (pBlock == nullptr) return rc;
        random.Fill(pBlock, nBlock);

        if (DAT == DAT_EVENT) {
            static const TW_UINT16 kMessages[] = {MSG_XFERREADY, MSG_CLOSEDSREQ, MSG_NULL, MSG_CLOSEDSOK, 0x7777};
            Store<TW_UINT16>(pBlock, offsetof(TW_EVENT, TWMessage), random.Pick(kMessages));
            if (random.Below(2) == 0) rc = random.Below(2) == 0 ? TWRC_DSEVENT : TWRC_NOTDSEVENT;
        } else if (DAT == DAT_CAPABILITY) {
            static const TW_UINT16 kCaps[] = {ICAP_PIXELTYPE, CAP_SUPPORTEDCAPS, ICAP_XRESOLUTION, ICAP_FRAMES,
                                              CAP_ZV_VERSION, ICAP_UNITS,        ICAP_BITDEPTH,    CAP_FEEDERENABLED,
                                              ICAP_ZV_FILMTYPE, CAP_ZV_UIMODE,   0x7777};
            static const TW_UINT16 kConTypes[] = {TWON_ARRAY, TWON_ENUMERATION, TWON_ONEVALUE, TWON_RANGE,
                                                  TWON_DONTCARE16, 0};
            const TW_UINT16 ConType = random.Pick(kConTypes);
            Store<TW_UINT16>(pBlock, offsetof(TW_CAPABILITY, Cap), random.Pick(kCaps));
            Store<TW_UINT16>(pBlock, offsetof(TW_CAPABILITY, ConType), ConType);
            // The handle is always one that can be disposed of: a new container, or null.
            Store<TW_HANDLE>(pBlock, offsetof(TW_CAPABILITY, hContainer),
                             random.Below(10) == 0 ? nullptr : MakeContainer(random, ConType));
        }
        return rc;
    }

private:
    ~PropertyOperator() {}
};

}  // namespace

extern "C" __attribute__((visibility("default"))) long CreateTwainWrapper(CFStringRef /*name*/,
                                                                          TripletOperator** ppOperator) {
    if (ppOperator == nullptr) return -1;
    *ppOperator = new PropertyOperator();
    return 0;
}
