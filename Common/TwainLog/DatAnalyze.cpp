// The per-DAT dispatchers: each hands the call's data block to the formatter of its structure.
#include "DataBlock.h"
#include "ParaAnalyze.h"

namespace {

template <typename T>
const T* As(const char* pData) {
    return reinterpret_cast<const T*>(pData);
}

}  // namespace

size_t DataBlockSize(TW_UINT16 DAT) {
    switch (DAT) {
        case DAT_CAPABILITY: return sizeof(TW_CAPABILITY);
        case DAT_EVENT: return sizeof(TW_EVENT);
        case DAT_IDENTITY: return sizeof(TW_IDENTITY);
        case DAT_PENDINGXFERS: return sizeof(TW_PENDINGXFERS);
        case DAT_SETUPMEMXFER: return sizeof(TW_SETUPMEMXFER);
        case DAT_SETUPFILEXFER: return sizeof(TW_SETUPFILEXFER);
        case DAT_STATUS: return sizeof(TW_STATUS);
        case DAT_USERINTERFACE: return sizeof(TW_USERINTERFACE);
        case DAT_XFERGROUP: return sizeof(TW_UINT32);
        case DAT_CUSTOMDSDATA: return sizeof(TW_CUSTOMDSDATA);
        case DAT_IMAGEINFO: return sizeof(TW_IMAGEINFO);
        case DAT_IMAGELAYOUT: return sizeof(TW_IMAGELAYOUT);
        case DAT_IMAGEMEMXFER: return sizeof(TW_IMAGEMEMXFER);
        case DAT_IMAGENATIVEXFER: return sizeof(TW_HANDLE);
        case DAT_CIECOLOR: return sizeof(TW_CIECOLOR);
        case DAT_GRAYRESPONSE: return sizeof(TW_GRAYRESPONSE);
        case DAT_RGBRESPONSE: return sizeof(TW_RGBRESPONSE);
        case DAT_JPEGCOMPRESSION: return sizeof(TW_JPEGCOMPRESSION);
        case DAT_PALETTE8: return sizeof(TW_PALETTE8);
        case DAT_EXTIMAGEINFO: return sizeof(TW_EXTIMAGEINFO);
        case DAT_ZV_AUTOEXPOSURE: return sizeof(TWZV_AUTOEXPOSURE);
        case DAT_ZV_RGBMATRIX: return sizeof(TWZV_RGBMATRIX);
        case DAT_ZV_COLORSMOOTHING: return sizeof(TWZV_COLORSMOOTHING);
        case DAT_ZV_HARDWAREINFO: return sizeof(TWZV_HARDWAREINFO);
        case DAT_ZV_SKEWINFO: return sizeof(TWZV_LOCATIONDATA);
        case DAT_ZV_UNSHARPMASKPARAM: return sizeof(TWZV_USMPARAM);
        case DAT_ZV_SETTINGFRAME: return sizeof(TWZV_SETTINGFRAME);
        case DAT_ZV_USMINFO: return sizeof(TWZV_USMINFO);
        default: return 0;
    }
}

void CParaAnalyze::DispatchDat() {
    switch (m_DAT) {
        case DAT_NULL: DatNullAnalyze(); break;
        case DAT_CAPABILITY: DatCapabilityAnalyze(); break;
        case DAT_EVENT: DatEventAnalyze(); break;
        case DAT_IDENTITY: DatIdentityAnalyze(); break;
        case DAT_PARENT: DatParentAnalyze(); break;
        case DAT_PENDINGXFERS: DatPendingXfersAnalyze(); break;
        case DAT_SETUPMEMXFER: DatSetupMemXferAnalyze(); break;
        case DAT_SETUPFILEXFER: DatSetupFileXferAnalyze(); break;
        case DAT_STATUS: DatStatusAnalyze(); break;
        case DAT_USERINTERFACE: DatUserInterfaceAnalyze(); break;
        case DAT_XFERGROUP: DatXferGroupAnalyze(); break;
        case DAT_TWUNKIDENTITY: DatTwunkIdentityAnalyze(); break;
        case DAT_CUSTOMDSDATA: DatCustomDsDataAnalyze(); break;
        case DAT_IMAGEINFO: DatImageInfoAnalyze(); break;
        case DAT_IMAGELAYOUT: DatImageLayoutAnalyze(); break;
        case DAT_IMAGEMEMXFER: DatImageMemXferAnalyze(); break;
        case DAT_IMAGENATIVEXFER: DatImageNativeXferAnalyze(); break;
        case DAT_IMAGEFILEXFER: DatImageFileXferAnalyze(); break;
        case DAT_CIECOLOR: DatCieColorAnalyze(); break;
        case DAT_GRAYRESPONSE: DatGrayResponseAnalyze(); break;
        case DAT_RGBRESPONSE: DatRgbResponseAnalyze(); break;
        case DAT_JPEGCOMPRESSION: DatJpegCompressionAnalyze(); break;
        case DAT_PALETTE8: DatPalette8Analyze(); break;
        case DAT_EXTIMAGEINFO: DatExtImageInfoAnalyze(); break;
        case DAT_ZV_AUTOEXPOSURE: DatZvAutoExposureAnalyze(); break;
        case DAT_ZV_RGBMATRIX: DatZvRgbMatrixAnalyze(); break;
        case DAT_ZV_COLORSMOOTHING: DatZvColorSmoothingAnalyze(); break;
        case DAT_ZV_EVENT: DatZvEventAnalyze(); break;
        case DAT_ZV_HARDWAREINFO: DatHardwareInfoAnalyze(); break;
        case DAT_ZV_SKEWINFO: DatZvSkewInfoAnalyze(); break;
        case DAT_ZV_UNSHARPMASKPARAM: DatUnsharpMaskAnalyze(); break;
        case DAT_ZV_REDCORRECTIONMATRIX: DatZvRedCorrectionMatrixAnalyze(); break;
        case DAT_ZV_TWAINCALLBACKMSG: DatZvTwainCallbackMsgAnalyze(); break;
        case DAT_ZV_SETTINGFRAME: DatZvSettingFrameAnalyze(); break;
        case DAT_ZV_USMINFO: DatZvUsmInfoAnalyze(); break;
        default: break;  // no data block shown for other DATs
    }
}

bool CParaAnalyze::DatNullAnalyze() { return true; }
bool CParaAnalyze::DatCapabilityAnalyze() { return TwCapabilityAnalyze(As<TW_CAPABILITY>(m_pData)); }
bool CParaAnalyze::DatEventAnalyze() { return TwEventAnalyze(As<TW_EVENT>(m_pData)); }
bool CParaAnalyze::DatIdentityAnalyze() { return TwIdentityAnalyze(As<TW_IDENTITY>(m_pData)); }
bool CParaAnalyze::DatParentAnalyze() {
    // The application identity the data-source manager was opened for.
    if (m_MSG == MSG_OPENDSM) TwIdentityAnalyze(m_pOrigin);
    return true;
}
bool CParaAnalyze::DatPendingXfersAnalyze() { return TwPendingXfersAnalyze(As<TW_PENDINGXFERS>(m_pData)); }
bool CParaAnalyze::DatSetupMemXferAnalyze() { return TwSetupMemXferAnalyze(As<TW_SETUPMEMXFER>(m_pData)); }
bool CParaAnalyze::DatSetupFileXferAnalyze() { return TwSetupFileXferAnalyze(As<TW_SETUPFILEXFER>(m_pData)); }
bool CParaAnalyze::DatStatusAnalyze() { return TwStatusAnalyze(As<TW_STATUS>(m_pData)); }
bool CParaAnalyze::DatUserInterfaceAnalyze() { return TwUserInterfaceAnalyze(As<TW_USERINTERFACE>(m_pData)); }
bool CParaAnalyze::DatXferGroupAnalyze() { return TwUint32(m_pData); }
bool CParaAnalyze::DatTwunkIdentityAnalyze() { return true; }
bool CParaAnalyze::DatCustomDsDataAnalyze() { return TwCustomDsDataAnalyze(As<TW_CUSTOMDSDATA>(m_pData)); }
bool CParaAnalyze::DatImageInfoAnalyze() { return TwImageInfoAnalyze(As<TW_IMAGEINFO>(m_pData)); }
bool CParaAnalyze::DatImageLayoutAnalyze() { return TwImageLayoutAnalyze(As<TW_IMAGELAYOUT>(m_pData)); }
bool CParaAnalyze::DatImageMemXferAnalyze() { return TwImageMemXferAnalyze(As<TW_IMAGEMEMXFER>(m_pData)); }
bool CParaAnalyze::DatImageNativeXferAnalyze() { return TwUint32(m_pData); }
bool CParaAnalyze::DatImageFileXferAnalyze() { return true; }
bool CParaAnalyze::DatCieColorAnalyze() { return TwCieColorAnalyze(As<TW_CIECOLOR>(m_pData)); }
bool CParaAnalyze::DatGrayResponseAnalyze() { return TwGrayResponseAnalyze(As<TW_GRAYRESPONSE>(m_pData)); }
bool CParaAnalyze::DatRgbResponseAnalyze() { return TwRgbResponseAnalyze(As<TW_RGBRESPONSE>(m_pData)); }
bool CParaAnalyze::DatJpegCompressionAnalyze() {
    return TwJpegCompressionAnalyze(As<TW_JPEGCOMPRESSION>(m_pData));
}
bool CParaAnalyze::DatPalette8Analyze() { return TwPalette8Analyze(As<TW_PALETTE8>(m_pData)); }
bool CParaAnalyze::DatExtImageInfoAnalyze() { return TwExtImageInfoAnalyze(As<TW_EXTIMAGEINFO>(m_pData)); }
bool CParaAnalyze::DatZvAutoExposureAnalyze() { return TwZvAutoExposureAnalyze(As<TWZV_AUTOEXPOSURE>(m_pData)); }
bool CParaAnalyze::DatZvRgbMatrixAnalyze() { return TwZvRgbMatrixAnalyze(As<TWZV_RGBMATRIX>(m_pData)); }
bool CParaAnalyze::DatZvColorSmoothingAnalyze() {
    return TwZvColorSmoothingAnalyze(As<TWZV_COLORSMOOTHING>(m_pData));
}
bool CParaAnalyze::DatZvEventAnalyze() { return TwZvEventAnalyze(); }
bool CParaAnalyze::DatHardwareInfoAnalyze() { return TwHardwareInfoAnalyze(As<TWZV_HARDWAREINFO>(m_pData)); }
bool CParaAnalyze::DatZvSkewInfoAnalyze() { return TwZvSkewInfoAnalyze(As<TWZV_LOCATIONDATA>(m_pData)); }
bool CParaAnalyze::DatUnsharpMaskAnalyze() { return TwUnsharpMaskAnalyze(As<TWZV_USMPARAM>(m_pData)); }
bool CParaAnalyze::DatZvRedCorrectionMatrixAnalyze() { return TwZvRedCorrectionMatrixAnalyze(); }
bool CParaAnalyze::DatZvTwainCallbackMsgAnalyze() { return TwZvTwainCallbackMsgAnalyze(); }
bool CParaAnalyze::DatZvSettingFrameAnalyze() { return TwZvSettingFrameAnalyze(As<TWZV_SETTINGFRAME>(m_pData)); }
bool CParaAnalyze::DatZvUsmInfoAnalyze() { return TwZvUsmInfoAnalyze(As<TWZV_USMINFO>(m_pData)); }
