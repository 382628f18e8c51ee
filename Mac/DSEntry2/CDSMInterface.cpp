// Placeholder: the memory services are not written yet.
#include "CDSMInterface.h"
