// The dispatch: hands a call's data block to the formatter of its DAT's structure (kDataTypes).
#include "DataBlock.h"
#include "ParaAnalyze.h"

void CParaAnalyze::DispatchDat() {
    const DataType* type = FindDataType(m_DAT);
    if (type != nullptr) (this->*type->show)(m_pData);
}

bool CParaAnalyze::ShowParent(const char* /* pData */) {
    if (m_MSG == MSG_OPENDSM) TwIdentityAnalyze(m_pOrigin);
    return true;
}
