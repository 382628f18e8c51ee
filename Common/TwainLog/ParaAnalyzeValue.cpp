// Placeholder: capability value formatting.
#include "ParaAnalyze.h"
