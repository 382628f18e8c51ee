// Placeholder: the formatters of this family are not written yet.
#include "ParaAnalyze.h"

bool CParaAnalyze::TwHardwareInfoAnalyze(const TWZV_HARDWAREINFO* /*pInfo*/) { return true; }
void CParaAnalyze::SetColorCoeffData(const TW_FIX32* /*pCoeff*/) { }
bool CParaAnalyze::TwZvAutoExposureAnalyze(const TWZV_AUTOEXPOSURE* /*pExposure*/) { return true; }
bool CParaAnalyze::TwZvRgbMatrixAnalyze(const TWZV_RGBMATRIX* /*pMatrix*/) { return true; }
bool CParaAnalyze::TwZvColorSmoothingAnalyze(const TWZV_COLORSMOOTHING* /*pSmoothing*/) { return true; }
bool CParaAnalyze::TwUnsharpMaskAnalyze(const TWZV_USMPARAM* /*pParam*/) { return true; }
bool CParaAnalyze::TwZvUsmInfoAnalyze(const TWZV_USMINFO* /*pInfo*/) { return true; }
bool CParaAnalyze::TwZvReviseBaseParamAnalyze(const TWZV_REVISEBASEPARM* /*pParam*/) { return true; }
bool CParaAnalyze::TwZvThresholdInfoAnalyze(const TWZV_THRESHOLDINFO* /*pInfo*/) { return true; }
bool CParaAnalyze::TwZvSkewInfoAnalyze(const TWZV_LOCATIONDATA* /*pLocation*/) { return true; }
bool CParaAnalyze::TwZvSettingFrameAnalyze(const TWZV_SETTINGFRAME* /*pFrame*/) { return true; }
bool CParaAnalyze::TwZvEventAnalyze() { return true; }
bool CParaAnalyze::TwZvRedCorrectionMatrixAnalyze() { return true; }
bool CParaAnalyze::TwZvTwainCallbackMsgAnalyze() { return true; }
