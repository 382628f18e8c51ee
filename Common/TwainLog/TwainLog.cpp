// Placeholder: the leveled logger is not written yet.
#include "TwainLog.h"
