// Placeholder: the formatters of this family are not written yet.
#include "ParaAnalyze.h"

bool CParaAnalyze::TwImageInfoAnalyze(const TW_IMAGEINFO* /*pInfo*/) { return true; }
bool CParaAnalyze::TwImageLayoutAnalyze(const TW_IMAGELAYOUT* /*pLayout*/) { return true; }
bool CParaAnalyze::TwFrameAnalyze(const TW_FRAME* /*pFrame*/) { return true; }
bool CParaAnalyze::TwExtImageInfoAnalyze(const TW_EXTIMAGEINFO* /*pExtInfo*/) { return true; }
bool CParaAnalyze::TwInfoAnalyze(const TW_INFO* /*pInfo*/) { return true; }
