// Placeholder: the formatters of this family are not written yet.
#include "ParaAnalyze.h"

bool CParaAnalyze::TwCapabilityAnalyze(const TW_CAPABILITY* /*pCap*/) { return true; }
bool CParaAnalyze::TwContainerAnalyaze(const TW_CAPABILITY* /*pCap*/) { return true; }
