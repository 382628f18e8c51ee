// Placeholder: the formatters of this family are not written yet.
#include "ParaAnalyze.h"

bool CParaAnalyze::TwCieColorAnalyze(const TW_CIECOLOR* /*pCie*/) { return true; }
bool CParaAnalyze::TwTransformStageAnalyze(const TW_TRANSFORMSTAGE* /*pStage*/) { return true; }
bool CParaAnalyze::TwDecodeFunctionAnalyze(const TW_DECODEFUNCTION* /*pDecode*/) { return true; }
bool CParaAnalyze::TwCiePointAnalyze(const TW_CIEPOINT* /*pPoint*/) { return true; }
bool CParaAnalyze::TwGrayResponseAnalyze(const TW_GRAYRESPONSE* /*pResponse*/) { return true; }
bool CParaAnalyze::TwRgbResponseAnalyze(const TW_RGBRESPONSE* /*pResponse*/) { return true; }
bool CParaAnalyze::TwElement8Analyze(const TW_ELEMENT8* /*pElement*/) { return true; }
bool CParaAnalyze::TwPalette8Analyze(const TW_PALETTE8* /*pPalette*/) { return true; }
