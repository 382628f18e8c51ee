// The simulated scanner: a small flatbed data source behind the TripletOperator interface.
//
// It follows a TWAIN session from its own side: opened (MSG_OPENDS), enabled (MSG_ENABLEDS),
// page ready (announced through DAT_EVENT once the lamp has warmed up), transferring, and back.
// Each DAT has one handler. A failed call leaves its condition code for DAT_STATUS.
#ifndef TWAINMON_SIMSCANNER_SIMSCANNER_H
#define TWAINMON_SIMSCANNER_SIMSCANNER_H

#include <vector>

#include "Capabilities.h"
#include "ScannerImage.h"
#include "ScannerInterface.h"
#include "TripletOperator.h"
#include "TwainTypes.h"

namespace simscan {

// The scanner's side of the session, numbered as the TWAIN states.
enum class Session { Closed = 3, Open = 4, Enabled = 5, PageReady = 6, Transferring = 7 };

class CSimScanner final : public TripletOperator {
public:
    CSimScanner();

    void Reserved1() override {}
    void Reserved2() override {}
    TW_UINT16 OperateTriplet(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                             TW_MEMREF pData) override;
    void Reserved4() override {}
    void Release() override { delete this; }

    // One handler per DAT: the message and the application's data block.
    typedef TW_UINT16 (CSimScanner::*Handler)(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);

    // Control (SimScanner.cpp).
    TW_UINT16 DatParent(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatIdentity(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatCapability(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatUserInterface(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatEvent(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatPendingXfers(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatSetupMemXfer(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatSetupFileXfer(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatStatus(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatXferGroup(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatCustomDsData(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);

    // Image (ScannerImageDats.cpp).
    TW_UINT16 DatImageInfo(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatImageLayout(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatImageMemXfer(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatImageNativeXfer(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatImageFileXfer(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatJpegCompression(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatCieColor(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatGrayResponse(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatRgbResponse(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatPalette8(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatExtImageInfo(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);

    // The maker's extension (ScannerZvDats.cpp).
    TW_UINT16 DatZvHardwareInfo(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatZvAutoExposure(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatZvRgbMatrix(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatZvColorSmoothing(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatZvUnsharpMaskParam(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatZvUsmInfo(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatZvSkewInfo(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);
    TW_UINT16 DatZvSettingFrame(pTW_IDENTITY pOrigin, TW_UINT16 MSG, TW_MEMREF pData);

private:
    ~CSimScanner() {}

    // Ends a call with TWRC_FAILURE and keeps the condition for DAT_STATUS.
    TW_UINT16 Fail(TW_UINT16 condition);
    // Whether the session allows negotiation (MSG_SET, MSG_RESET): open and not enabled.
    bool Negotiable() const { return m_session == Session::Open; }
    // A setting that a DAT carries whole: MSG_GET, MSG_GETDEFAULT, MSG_SET and MSG_RESET. A MSG_SET
    // is taken by accept(proposed, pCurrent), which returns false for a value the scanner refuses;
    // by default the whole structure is taken as it is.
    template <typename T>
    TW_UINT16 WholeSetting(TW_UINT16 MSG, TW_MEMREF pData, T* pCurrent, const T& defaults) {
        return WholeSetting(MSG, pData, pCurrent, defaults, [](const T& proposed, T* pTaken) {
            *pTaken = proposed;
            return true;
        });
    }
    template <typename T, typename Accept>
    TW_UINT16 WholeSetting(TW_UINT16 MSG, TW_MEMREF pData, T* pCurrent, const T& defaults, Accept accept) {
        T* pSetting = reinterpret_cast<T*>(pData);
        if (pSetting == nullptr) return Fail(TWCC_BADVALUE);
        switch (MSG) {
            case MSG_GET:
                *pSetting = *pCurrent;
                return TWRC_SUCCESS;
            case MSG_GETDEFAULT:
                *pSetting = defaults;
                return TWRC_SUCCESS;
            case MSG_SET:
                if (!Negotiable()) return Fail(TWCC_SEQERROR);
                if (!accept(static_cast<const T&>(*pSetting), pCurrent)) return Fail(TWCC_BADVALUE);
                return TWRC_SUCCESS;
            case MSG_RESET:
                if (!Negotiable()) return Fail(TWCC_SEQERROR);
                *pCurrent = defaults;
                *pSetting = defaults;
                return TWRC_SUCCESS;
            default:
                return Fail(TWCC_BADPROTOCOL);
        }
    }
    // Ends the transfer of the current page.
    void EndPage();
    // Resets what each new opening of the source starts from.
    void ResetSettings();

    TW_IDENTITY m_identity;
    TW_IDENTITY m_application;
    Session m_session = Session::Closed;
    TW_UINT16 m_conditionCode = TWCC_SUCCESS;

    CCapabilityTable m_caps;
    TW_UINT32 m_xferGroup = DG_IMAGE;

    // The page of the current enabling, frozen at MSG_ENABLEDS.
    bool m_bShowUI = false;
    int m_nWarmUp = 0;
    PageGeometry m_page;
    TW_UINT16 m_nPendingXfers = 0;
    TW_UINT32 m_nNextRow = 0;
    bool m_bPageDone = false;     // the current page has been transferred whole
    bool m_bHaveScanned = false;  // a page has been transferred since the source was opened
    TW_UINT32 m_nDocumentNumber = 1;
    TW_UINT32 m_nPageNumber = 1;

    // Settings of the DATs that have their own structure.
    TW_SETUPFILEXFER m_setupFile;
    TW_JPEGCOMPRESSION m_jpeg;
    TW_PALETTE8 m_palette;
    std::vector<TW_ELEMENT8> m_grayResponse;
    std::vector<TW_ELEMENT8> m_rgbResponse;
    TWZV_AUTOEXPOSURE m_autoExposure;
    TWZV_RGBMATRIX m_rgbMatrix;
    TWZV_COLORSMOOTHING m_colorSmoothing;
    TWZV_USMPARAM m_unsharpMask;
    TWZV_SETTINGFRAME m_settingFrame;
};

// The fixed descriptions the scanner reports (ScannerZvDats.cpp, ScannerImageDats.cpp).
TW_IDENTITY ScannerIdentity();
TWZV_HARDWAREINFO ScannerHardwareInfo();
TW_CIECOLOR ScannerCieColor();
TW_SETUPFILEXFER DefaultSetupFileXfer();
TW_JPEGCOMPRESSION DefaultJpegCompression();
TW_PALETTE8 DefaultPalette();
TWZV_AUTOEXPOSURE DefaultAutoExposure();
TWZV_RGBMATRIX DefaultRgbMatrix();
TWZV_COLORSMOOTHING DefaultColorSmoothing();
TWZV_USMPARAM DefaultUnsharpMask();

// The number of entries in a response curve: one per level of an 8-bit sample.
constexpr size_t kResponseEntries = 256;

}  // namespace simscan

#endif  // TWAINMON_SIMSCANNER_SIMSCANNER_H
