// The simulated scanner: its factory, the dispatch of triplets to the DAT handlers, and the
// control DATs.
#include "SimScanner.h"

#include <CoreFoundation/CoreFoundation.h>
#include <CoreServices/CoreServices.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "HostMemory.h"

namespace simscan {

namespace {

// Which handler serves a DAT, in which data group, and whether the source must be open.
struct DatRoute {
    TW_UINT32 dg;
    TW_UINT16 dat;
    bool needsOpen;
    CSimScanner::Handler handler;
};

const DatRoute kRoutes[] = {
    {DG_CONTROL, DAT_PARENT, false, &CSimScanner::DatParent},
    {DG_CONTROL, DAT_IDENTITY, false, &CSimScanner::DatIdentity},
    {DG_CONTROL, DAT_STATUS, false, &CSimScanner::DatStatus},
    {DG_CONTROL, DAT_EVENT, false, &CSimScanner::DatEvent},
    {DG_CONTROL, DAT_CAPABILITY, true, &CSimScanner::DatCapability},
    {DG_CONTROL, DAT_USERINTERFACE, true, &CSimScanner::DatUserInterface},
    {DG_CONTROL, DAT_PENDINGXFERS, true, &CSimScanner::DatPendingXfers},
    {DG_CONTROL, DAT_SETUPMEMXFER, true, &CSimScanner::DatSetupMemXfer},
    {DG_CONTROL, DAT_SETUPFILEXFER, true, &CSimScanner::DatSetupFileXfer},
    {DG_CONTROL, DAT_XFERGROUP, true, &CSimScanner::DatXferGroup},
    {DG_CONTROL, DAT_CUSTOMDSDATA, true, &CSimScanner::DatCustomDsData},
    {DG_IMAGE, DAT_IMAGEINFO, true, &CSimScanner::DatImageInfo},
    {DG_IMAGE, DAT_IMAGELAYOUT, true, &CSimScanner::DatImageLayout},
    {DG_IMAGE, DAT_IMAGEMEMXFER, true, &CSimScanner::DatImageMemXfer},
    {DG_IMAGE, DAT_IMAGENATIVEXFER, true, &CSimScanner::DatImageNativeXfer},
    {DG_IMAGE, DAT_IMAGEFILEXFER, true, &CSimScanner::DatImageFileXfer},
    {DG_IMAGE, DAT_JPEGCOMPRESSION, true, &CSimScanner::DatJpegCompression},
    {DG_IMAGE, DAT_CIECOLOR, true, &CSimScanner::DatCieColor},
    {DG_IMAGE, DAT_GRAYRESPONSE, true, &CSimScanner::DatGrayResponse},
    {DG_IMAGE, DAT_RGBRESPONSE, true, &CSimScanner::DatRgbResponse},
    {DG_IMAGE, DAT_PALETTE8, true, &CSimScanner::DatPalette8},
    {DG_IMAGE, DAT_EXTIMAGEINFO, true, &CSimScanner::DatExtImageInfo},
    {DG_CONTROL, DAT_ZV_HARDWAREINFO, true, &CSimScanner::DatZvHardwareInfo},
    {DG_CONTROL, DAT_ZV_SETTINGFRAME, true, &CSimScanner::DatZvSettingFrame},
    {DG_IMAGE, DAT_ZV_AUTOEXPOSURE, true, &CSimScanner::DatZvAutoExposure},
    {DG_IMAGE, DAT_ZV_RGBMATRIX, true, &CSimScanner::DatZvRgbMatrix},
    {DG_IMAGE, DAT_ZV_COLORSMOOTHING, true, &CSimScanner::DatZvColorSmoothing},
    {DG_IMAGE, DAT_ZV_UNSHARPMASKPARAM, true, &CSimScanner::DatZvUnsharpMaskParam},
    {DG_IMAGE, DAT_ZV_USMINFO, true, &CSimScanner::DatZvUsmInfo},
    {DG_IMAGE, DAT_ZV_SKEWINFO, true, &CSimScanner::DatZvSkewInfo},
};

// The custom data block: a tag, then (capability, size, value bytes) records.
const char kCustomDataTag[8] = {'Z', 'V', 'S', 'I', 'M', 'D', 'S', '1'};
const TW_UINT16 kCustomDataCaps[] = {ICAP_PIXELTYPE, ICAP_XRESOLUTION, ICAP_YRESOLUTION, ICAP_FRAMES,
                                     ICAP_BRIGHTNESS, ICAP_CONTRAST, ICAP_XFERMECH};

}  // namespace

CSimScanner::CSimScanner() : m_identity(ScannerIdentity()), m_application() { ResetSettings(); }

// Pages go to TWAIN.TMP, as a Windows bitmap, until the application names another file.
TW_SETUPFILEXFER DefaultSetupFileXfer() {
    TW_SETUPFILEXFER setup = {};
    strcpy(setup.FileName, "TWAIN.TMP");
    setup.Format = TWFF_BMP;
    setup.VRefNum = 0;
    return setup;
}

void CSimScanner::ResetSettings() {
    m_caps = CCapabilityTable();
    m_xferGroup = DG_IMAGE;
    m_setupFile = DefaultSetupFileXfer();
    m_jpeg = DefaultJpegCompression();
    m_palette = DefaultPalette();
    m_grayResponse.clear();
    m_rgbResponse.clear();
    m_autoExposure = DefaultAutoExposure();
    m_rgbMatrix = DefaultRgbMatrix();
    m_colorSmoothing = DefaultColorSmoothing();
    m_unsharpMask = DefaultUnsharpMask();
    m_settingFrame = TWZV_SETTINGFRAME{1, 1};
    m_bHaveScanned = false;
}

TW_UINT16 CSimScanner::OperateTriplet(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                                      TW_MEMREF pData) {
    try {
        for (const DatRoute& route : kRoutes) {
            if (route.dat != DAT) continue;
            if (route.dg != DG) return Fail(TWCC_BADPROTOCOL);
            if (route.needsOpen && m_session == Session::Closed) return Fail(TWCC_SEQERROR);
            return (this->*route.handler)(pOrigin, MSG, pData);
        }
        return Fail(TWCC_BADPROTOCOL);
    } catch (const std::bad_alloc&) {
        return Fail(TWCC_LOWMEMORY);
    } catch (...) {
        return Fail(TWCC_BUMMER);
    }
}

TW_UINT16 CSimScanner::Fail(TW_UINT16 condition) {
    m_conditionCode = condition;
    return TWRC_FAILURE;
}

void CSimScanner::EndPage() {
    m_nPendingXfers = 0;  // a flatbed holds one page
    m_nNextRow = 0;
    m_bPageDone = false;
    ++m_nPageNumber;
    m_session = Session::Enabled;
}

// ---- Control ---------------------------------------------------------------------------------

// The manager's own triplets reach the source too; it acknowledges them.
TW_UINT16 CSimScanner::DatParent(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF) {
    if (MSG != MSG_OPENDSM && MSG != MSG_CLOSEDSM) return Fail(TWCC_BADPROTOCOL);
    return TWRC_SUCCESS;
}

TW_UINT16 CSimScanner::DatIdentity(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData) {
    TW_IDENTITY* pIdentity = reinterpret_cast<TW_IDENTITY*>(pData);
    switch (MSG) {
        case MSG_GET:
            if (pIdentity == nullptr) return Fail(TWCC_BADVALUE);
            *pIdentity = m_identity;
            return TWRC_SUCCESS;
        case MSG_OPENDS:
            if (pIdentity == nullptr) return Fail(TWCC_BADVALUE);
            if (m_session != Session::Closed) return Fail(TWCC_SEQERROR);
            // The manager has given the source its Id; the source fills in the rest.
            m_identity.Id = pIdentity->Id;
            *pIdentity = m_identity;
            m_application = pOrigin != nullptr ? *pOrigin : TW_IDENTITY();
            ResetSettings();
            m_session = Session::Open;
            return TWRC_SUCCESS;
        case MSG_CLOSEDS:
            if (m_session != Session::Open) return Fail(TWCC_SEQERROR);
            m_session = Session::Closed;
            return TWRC_SUCCESS;
        default:
            return Fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 CSimScanner::DatCapability(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    const CapResult result = m_caps.Negotiate(MSG, reinterpret_cast<TW_CAPABILITY*>(pData), Negotiable());
    if (result.rc == TWRC_FAILURE) return Fail(result.condition);
    return result.rc;
}

TW_UINT16 CSimScanner::DatUserInterface(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    const TW_USERINTERFACE* pUI = reinterpret_cast<const TW_USERINTERFACE*>(pData);
    switch (MSG) {
        case MSG_ENABLEDS:
            if (pUI == nullptr) return Fail(TWCC_BADVALUE);
            if (m_session != Session::Open) return Fail(TWCC_SEQERROR);
            m_bShowUI = pUI->ShowUI != 0;
            m_nWarmUp = kWarmUpIdleEvents;
            m_page = DescribePage(m_caps);
            m_nPendingXfers = 1;
            m_nNextRow = 0;
            m_bPageDone = false;
            m_session = Session::Enabled;
            return TWRC_SUCCESS;
        case MSG_DISABLEDS:
            if (m_session != Session::Enabled) return Fail(TWCC_SEQERROR);
            m_nPendingXfers = 0;
            m_session = Session::Open;
            return TWRC_SUCCESS;
        default:
            return Fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 CSimScanner::DatEvent(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    if (MSG != MSG_PROCESSEVENT) return Fail(TWCC_BADPROTOCOL);
    TW_EVENT* pEvent = reinterpret_cast<TW_EVENT*>(pData);
    if (pEvent == nullptr) return Fail(TWCC_BADVALUE);
    pEvent->TWMessage = MSG_NULL;
    if (m_session != Session::Enabled) return TWRC_NOTDSEVENT;

    const SimEventRecord* pRecord = reinterpret_cast<const SimEventRecord*>(pEvent->pEvent);
    const TW_UINT16 what = pRecord != nullptr ? pRecord->what : static_cast<TW_UINT16>(kNullEvent);
    if (what == kNullEvent) {
        // Idle time: the lamp warms up, then the page is scanned and announced.
        if (m_nWarmUp > 0) {
            --m_nWarmUp;
            return TWRC_NOTDSEVENT;
        }
        pEvent->TWMessage = MSG_XFERREADY;
        m_session = Session::PageReady;
        return TWRC_DSEVENT;
    }
    // A click lands on the scanner's own dialog when it shows one.
    if (what == kMouseDown && m_bShowUI) return TWRC_DSEVENT;
    return TWRC_NOTDSEVENT;
}

TW_UINT16 CSimScanner::DatPendingXfers(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    TW_PENDINGXFERS* pPending = reinterpret_cast<TW_PENDINGXFERS*>(pData);
    if (pPending == nullptr) return Fail(TWCC_BADVALUE);
    switch (MSG) {
        case MSG_GET:
            pPending->Count = m_session >= Session::PageReady ? m_nPendingXfers : 0;
            pPending->EOJ = 0;
            return TWRC_SUCCESS;
        case MSG_ENDXFER:
            // Ends the page, whether it was transferred whole or not.
            if (m_session < Session::PageReady) return Fail(TWCC_SEQERROR);
            EndPage();
            pPending->Count = m_nPendingXfers;
            pPending->EOJ = 0;
            return TWRC_SUCCESS;
        case MSG_RESET:
            if (m_session != Session::PageReady) return Fail(TWCC_SEQERROR);
            EndPage();
            pPending->Count = 0;
            pPending->EOJ = 0;
            return TWRC_SUCCESS;
        default:
            return Fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 CSimScanner::DatSetupMemXfer(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    if (MSG != MSG_GET) return Fail(TWCC_BADPROTOCOL);
    TW_SETUPMEMXFER* pSetup = reinterpret_cast<TW_SETUPMEMXFER*>(pData);
    if (pSetup == nullptr) return Fail(TWCC_BADVALUE);
    // At least one row; strips of 32 KB suit the scanner's USB transfers best.
    const PageGeometry page = m_session >= Session::Enabled ? m_page : DescribePage(m_caps);
    pSetup->MinBufSize = page.bytesPerRow;
    pSetup->MaxBufSize = 1024 * 1024;
    pSetup->Preferred = page.bytesPerRow > 32768 ? page.bytesPerRow : 32768;
    return TWRC_SUCCESS;
}

TW_UINT16 CSimScanner::DatSetupFileXfer(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    TW_SETUPFILEXFER* pSetup = reinterpret_cast<TW_SETUPFILEXFER*>(pData);
    if (pSetup == nullptr) return Fail(TWCC_BADVALUE);
    switch (MSG) {
        case MSG_GET:
            *pSetup = m_setupFile;
            return TWRC_SUCCESS;
        case MSG_GETDEFAULT:
        case MSG_RESET:
            if (MSG == MSG_RESET) {
                if (m_session != Session::Open) return Fail(TWCC_SEQERROR);
                m_setupFile = DefaultSetupFileXfer();
            }
            *pSetup = DefaultSetupFileXfer();
            return TWRC_SUCCESS;
        case MSG_SET: {
            if (m_session < Session::Open || m_session > Session::PageReady) return Fail(TWCC_SEQERROR);
            // The scanner writes Windows bitmaps only; the name must fit its field.
            if (pSetup->Format != TWFF_BMP || memchr(pSetup->FileName, '\0', sizeof pSetup->FileName) == nullptr ||
                pSetup->FileName[0] == '\0') {
                return Fail(TWCC_BADVALUE);
            }
            m_setupFile = *pSetup;
            return TWRC_SUCCESS;
        }
        default:
            return Fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 CSimScanner::DatStatus(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    if (MSG != MSG_GET) return Fail(TWCC_BADPROTOCOL);
    TW_STATUS* pStatus = reinterpret_cast<TW_STATUS*>(pData);
    if (pStatus == nullptr) return Fail(TWCC_BADVALUE);
    // Reports the condition of the last failure once, then starts afresh.
    pStatus->ConditionCode = m_conditionCode;
    pStatus->Reserved = 0;
    m_conditionCode = TWCC_SUCCESS;
    return TWRC_SUCCESS;
}

TW_UINT16 CSimScanner::DatXferGroup(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    TW_UINT32* pGroup = reinterpret_cast<TW_UINT32*>(pData);
    if (pGroup == nullptr) return Fail(TWCC_BADVALUE);
    switch (MSG) {
        case MSG_GET:
            *pGroup = m_xferGroup;
            return TWRC_SUCCESS;
        case MSG_SET:
            // Images are all this scanner transfers.
            if (*pGroup != DG_IMAGE) return Fail(TWCC_BADVALUE);
            m_xferGroup = *pGroup;
            return TWRC_SUCCESS;
        default:
            return Fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 CSimScanner::DatCustomDsData(pTW_IDENTITY, TW_UINT16 MSG, TW_MEMREF pData) {
    TW_CUSTOMDSDATA* pCustom = reinterpret_cast<TW_CUSTOMDSDATA*>(pData);
    if (pCustom == nullptr) return Fail(TWCC_BADVALUE);
    switch (MSG) {
        case MSG_GET: {
            // The settings the application may store and hand back later.
            std::string blob(kCustomDataTag, sizeof kCustomDataTag);
            for (TW_UINT16 cap : kCustomDataCaps) {
                const CapValue value = m_caps.CurrentValue(cap);
                const TW_UINT16 size = static_cast<TW_UINT16>(value.bytes.size());
                blob.append(reinterpret_cast<const char*>(&cap), sizeof cap);
                blob.append(reinterpret_cast<const char*>(&size), sizeof size);
                blob += value.bytes;
            }
            Handle h = hostmem::NewHandle(blob.size());
            if (h == nullptr) return Fail(TWCC_LOWMEMORY);
            HLock(h);
            memcpy(*h, blob.data(), blob.size());
            HUnlock(h);
            pCustom->InfoLength = static_cast<TW_UINT32>(blob.size());
            pCustom->hData = h;
            return TWRC_SUCCESS;
        }
        case MSG_SET: {
            if (!Negotiable()) return Fail(TWCC_SEQERROR);
            if (pCustom->hData == nullptr) return Fail(TWCC_BADVALUE);
            Handle h = pCustom->hData;
            HLock(h);
            const size_t nSize = static_cast<size_t>(GetHandleSize(h)) < pCustom->InfoLength
                                     ? static_cast<size_t>(GetHandleSize(h))
                                     : pCustom->InfoLength;
            const std::string blob(*h, nSize);
            HUnlock(h);
            if (blob.compare(0, sizeof kCustomDataTag, kCustomDataTag, sizeof kCustomDataTag) != 0) {
                return Fail(TWCC_BADVALUE);
            }
            // Every record is checked before any is taken.
            CCapabilityTable restored = m_caps;
            size_t at = sizeof kCustomDataTag;
            while (at < blob.size()) {
                TW_UINT16 cap = 0, size = 0;
                if (blob.size() - at < 4) return Fail(TWCC_BADVALUE);
                memcpy(&cap, blob.data() + at, 2);
                memcpy(&size, blob.data() + at + 2, 2);
                at += 4;
                if (blob.size() - at < size) return Fail(TWCC_BADVALUE);
                if (!restored.SetCurrentValue(cap, CapValue{blob.substr(at, size)})) return Fail(TWCC_BADVALUE);
                at += size;
            }
            m_caps = restored;
            return TWRC_SUCCESS;
        }
        default:
            return Fail(TWCC_BADPROTOCOL);
    }
}

}  // namespace simscan

// The factory the monitor looks up by name: makes one scanner for the program named.
extern "C" __attribute__((visibility("default"))) long CreateTwainWrapper(CFStringRef name,
                                                                          TripletOperator** ppOperator) {
    if (ppOperator == nullptr) return -1;
    if (getenv(simscan::kDebugVariable) != nullptr) {
        char szName[256] = {};
        if (name == nullptr || !CFStringGetCString(name, szName, sizeof szName, kCFStringEncodingUTF8)) {
            szName[0] = '\0';
        }
        fprintf(stderr, "SimScanner: created for %s\n", szName);
    }
    try {
        *ppOperator = new simscan::CSimScanner();
    } catch (...) {
        return -1;
    }
    return 0;
}
