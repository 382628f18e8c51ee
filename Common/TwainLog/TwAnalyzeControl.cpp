// Placeholder: the formatters of this family are not written yet.
#include "ParaAnalyze.h"

bool CParaAnalyze::TwIdentityAnalyze(const TW_IDENTITY* /*pIdentity*/) { return true; }
bool CParaAnalyze::TwVersionAnalyze(const TW_VERSION* /*pVersion*/) { return true; }
bool CParaAnalyze::TwStatusAnalyze(const TW_STATUS* /*pStatus*/) { return true; }
bool CParaAnalyze::TwUserInterfaceAnalyze(const TW_USERINTERFACE* /*pUI*/) { return true; }
bool CParaAnalyze::TwPendingXfersAnalyze(const TW_PENDINGXFERS* /*pPending*/) { return true; }
bool CParaAnalyze::TwEventAnalyze(const TW_EVENT* /*pEvent*/) { return true; }
bool CParaAnalyze::TwCustomDsDataAnalyze(const TW_CUSTOMDSDATA* /*pCustom*/) { return true; }
bool CParaAnalyze::TwTwunkIdentityAnalyze() { return true; }
bool CParaAnalyze::TwTwunkDsentryParamsAnalyze() { return true; }
bool CParaAnalyze::TwTwunkDsentryReturnAnalyze() { return true; }
