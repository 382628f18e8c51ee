// Placeholder: the formatters of this family are not written yet.
#include "ParaAnalyze.h"

bool CParaAnalyze::TwSetupMemXferAnalyze(const TW_SETUPMEMXFER* /*pSetup*/) { return true; }
bool CParaAnalyze::TwSetupFileXferAnalyze(const TW_SETUPFILEXFER* /*pSetup*/) { return true; }
bool CParaAnalyze::TwImageMemXferAnalyze(const TW_IMAGEMEMXFER* /*pXfer*/) { return true; }
bool CParaAnalyze::TwMemoryAnalyze(const TW_MEMORY* /*pMemory*/) { return true; }
bool CParaAnalyze::TwJpegCompressionAnalyze(const TW_JPEGCOMPRESSION* /*pJpeg*/) { return true; }
bool CParaAnalyze::TwUint32(const void* /*pData*/) { return true; }
