// The benchmark's real data source: a TripletOperator that does nothing but fill the data block of
// the calls the benchmark makes, from values prepared once, so that a measured call costs the
// monitor's own work and hardly anything else. Built as the bundle
// TwainWrapper.bundle/Contents/MacOS/TwainWrapper exporting CreateTwainWrapper.
//
//   DG_CONTROL/DAT_EVENT/MSG_PROCESSEVENT  pEvent null: not claimed (TWRC_NOTDSEVENT, MSG_NULL);
//                                          otherwise claimed as MSG_XFERREADY (TWRC_DSEVENT)
//   DG_CONTROL/DAT_IDENTITY/MSG_GET        a full identity
//   DG_CONTROL/DAT_CAPABILITY/MSG_GET      ICAP_PIXELTYPE: an enumeration of ten TWTY_UINT16 items;
//                                          CAP_SUPPORTEDCAPS: an array of 400 TWTY_UINT16 items
//   DG_IMAGE/DAT_IMAGEINFO/MSG_GET         a 24-bit RGB image description
//   DG_IMAGE/DAT_CIECOLOR/MSG_GET          a CIE colour description
//   anything else                          TWRC_FAILURE, the block untouched
#include <CoreServices/CoreServices.h>

#include <cstring>

#include "ScannerInterface.h"
#include "TripletOperator.h"
#include "TwainTypes.h"

namespace {

TW_FIX32 Fix(int whole, unsigned frac = 0) { return TW_FIX32{static_cast<TW_INT16>(whole), static_cast<TW_UINT16>(frac)}; }

// A container in a memory handle: the fixed fields, then count TWTY_UINT16 items.
Handle MakeList(bool bEnumeration, TW_UINT32 count, TW_UINT16 (*item)(TW_UINT32)) {
    const size_t nFields = bEnumeration ? offsetof(TW_ENUMERATION, ItemList) : offsetof(TW_ARRAY, ItemList);
    Handle h = NewHandleClear(static_cast<Size>(nFields + count * sizeof(TW_UINT16)));
    if (h == nullptr) return nullptr;
    char* p = *h;
    const TW_UINT16 type = TWTY_UINT16;
    memcpy(p + offsetof(TW_ARRAY, ItemType), &type, sizeof type);
    memcpy(p + offsetof(TW_ARRAY, NumItems), &count, sizeof count);
    if (bEnumeration) {
        const TW_UINT32 current = 2;
        memcpy(p + offsetof(TW_ENUMERATION, CurrentIndex), &current, sizeof current);
        memcpy(p + offsetof(TW_ENUMERATION, DefaultIndex), &current, sizeof current);
    }
    for (TW_UINT32 i = 0; i < count; ++i) {
        const TW_UINT16 value = item(i);
        memcpy(p + nFields + i * sizeof value, &value, sizeof value);
    }
    return h;
}

class BenchOperator final : public TripletOperator {
public:
    BenchOperator() {
        m_identity = simscan::Identity(0x51, TW_VERSION{2, 1, 2, 1, "2.1.0 bench build"}, "ZORVA", "Zorva Scan",
                                       "Zorva Scan 2 Benchmark");

        m_imageInfo.XResolution = Fix(300);
        m_imageInfo.YResolution = Fix(300);
        m_imageInfo.ImageWidth = 2550;
        m_imageInfo.ImageLength = 3300;
        m_imageInfo.SamplesPerPixel = 3;
        m_imageInfo.BitsPerSample[0] = m_imageInfo.BitsPerSample[1] = m_imageInfo.BitsPerSample[2] = 8;
        m_imageInfo.BitsPerPixel = 24;
        m_imageInfo.PixelType = 2;

        m_cie.ColorSpace = 2;
        m_cie.VersionNumber = 1;
        for (int stage = 0; stage < 3; ++stage) {
            m_cie.StageABC.Decode[stage] =
                TW_DECODEFUNCTION{Fix(0), Fix(0, 0x8000), Fix(1), Fix(0), Fix(0, 0x8000), Fix(1), Fix(2, 0x3333), Fix(256)};
            m_cie.StageLMN.Decode[stage] = m_cie.StageABC.Decode[stage];
            m_cie.StageABC.Mix[stage][stage] = Fix(1);
            m_cie.StageLMN.Mix[stage][stage] = Fix(1);
        }
        m_cie.WhitePoint = TW_CIEPOINT{Fix(0, 0xF333), Fix(1), Fix(1, 0x1666)};
        m_cie.WhitePaper = m_cie.WhitePoint;
        m_cie.Samples[0] = Fix(1);

        m_hEnumeration = MakeList(true, 10, [](TW_UINT32 i) { return static_cast<TW_UINT16>(i); });
        // Supported capabilities: standard and image capabilities, as a scanner lists them.
        m_hSupportedCaps = MakeList(false, 400, [](TW_UINT32 i) {
            static const TW_UINT16 kCaps[] = {
                CAP_XFERCOUNT, ICAP_COMPRESSION, ICAP_PIXELTYPE, ICAP_UNITS, ICAP_XFERMECH, CAP_CAPTION,
                CAP_FEEDERENABLED, CAP_FEEDERLOADED, CAP_TIMEDATE, CAP_SUPPORTEDCAPS, CAP_EXTENDEDCAPS, CAP_AUTOFEED,
                CAP_UICONTROLLABLE, CAP_DEVICEONLINE, CAP_AUTOSCAN, CAP_DUPLEXENABLED, CAP_ENABLEDSUIONLY,
                CAP_TIMEBEFOREFIRSTCAPTURE, CAP_DEVICEEVENT, ICAP_AUTOBRIGHT, ICAP_BRIGHTNESS, ICAP_CONTRAST,
                ICAP_CUSTHALFTONE, ICAP_EXPOSURETIME, ICAP_FILTER, ICAP_GAMMA, ICAP_HALFTONES, ICAP_HIGHLIGHT,
                ICAP_ORIENTATION, ICAP_PHYSICALWIDTH, ICAP_PHYSICALHEIGHT, ICAP_SHADOW, ICAP_FRAMES,
                ICAP_XNATIVERESOLUTION, ICAP_XRESOLUTION, ICAP_YRESOLUTION, ICAP_MAXFRAMES, ICAP_TILES,
                ICAP_SUPPORTEDSIZES, ICAP_YSCALING, ICAP_BITORDERCODES, ICAP_BITDEPTH, ICAP_BITDEPTHREDUCTION,
                ICAP_UNDEFINEDIMAGESIZE, ICAP_MINIMUMHEIGHT, ICAP_MINIMUMWIDTH, ICAP_FLIPROTATION,
                ICAP_BARCODEDETECTIONENABLED};
            return kCaps[i % (sizeof kCaps / sizeof kCaps[0])];
        });
    }

    void Reserved1() override {}
    void Reserved2() override {}
    void Reserved4() override {}
    void Release() override { delete this; }

    TW_UINT16 OperateTriplet(pTW_IDENTITY, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData) override {
        if (pData == nullptr) return TWRC_FAILURE;
        if (DG == DG_CONTROL && DAT == DAT_EVENT && MSG == MSG_PROCESSEVENT) {
            TW_EVENT* pEvent = reinterpret_cast<TW_EVENT*>(pData);
            if (pEvent->pEvent == nullptr) {
                pEvent->TWMessage = MSG_NULL;
                return TWRC_NOTDSEVENT;
            }
            pEvent->TWMessage = MSG_XFERREADY;
            return TWRC_DSEVENT;
        }
        if (DG == DG_CONTROL && DAT == DAT_IDENTITY && MSG == MSG_GET) {
            memcpy(pData, &m_identity, sizeof m_identity);
            return TWRC_SUCCESS;
        }
        if (DG == DG_CONTROL && DAT == DAT_CAPABILITY && MSG == MSG_GET) {
            TW_CAPABILITY* pCap = reinterpret_cast<TW_CAPABILITY*>(pData);
            if (pCap->Cap == ICAP_PIXELTYPE) {
                pCap->ConType = TWON_ENUMERATION;
                pCap->hContainer = m_hEnumeration;
                return TWRC_SUCCESS;
            }
            if (pCap->Cap == CAP_SUPPORTEDCAPS) {
                pCap->ConType = TWON_ARRAY;
                pCap->hContainer = m_hSupportedCaps;
                return TWRC_SUCCESS;
            }
            return TWRC_FAILURE;
        }
        if (DG == DG_IMAGE && DAT == DAT_IMAGEINFO && MSG == MSG_GET) {
            memcpy(pData, &m_imageInfo, sizeof m_imageInfo);
            return TWRC_SUCCESS;
        }
        if (DG == DG_IMAGE && DAT == DAT_CIECOLOR && MSG == MSG_GET) {
            memcpy(pData, &m_cie, sizeof m_cie);
            return TWRC_SUCCESS;
        }
        return TWRC_FAILURE;
    }

private:
    ~BenchOperator() {
        DisposeHandle(m_hEnumeration);
        DisposeHandle(m_hSupportedCaps);
    }

    TW_IDENTITY m_identity{};
    TW_IMAGEINFO m_imageInfo{};
    TW_CIECOLOR m_cie{};
    Handle m_hEnumeration = nullptr;
    Handle m_hSupportedCaps = nullptr;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) long CreateTwainWrapper(CFStringRef /*name*/,
                                                                          TripletOperator** ppOperator) {
    if (ppOperator == nullptr) return -1;
    *ppOperator = new BenchOperator();
    return 0;
}
