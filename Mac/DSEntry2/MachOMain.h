// Load and unload of the monitor module: the real data source it forwards to.
//
// MachO_Initialization (the module's initialiser, run by the loader when the module is loaded)
// creates the target bundle, asks its factory for the TripletOperator and opens the log;
// MachO_Termination (its terminator, run once at unload) releases them again. Between the two, DS_Entry forwards every call to g_pcTripletOperator.
#ifndef TWAINMON_MACHOMAIN_H
#define TWAINMON_MACHOMAIN_H

#include <CoreFoundation/CoreFoundation.h>

#include "TripletOperator.h"

// The target bundle; null when it could not be created, and after unload.
extern CFBundleRef g_TwainWrapperBundleRef;
// The target bundle's factory CreateTwainWrapper; null when it was not found.
extern CreateTwainWrapperProc g_fnDsCreate;
// The real data source's object; null when none was made, and after unload.
extern TripletOperator* g_pcTripletOperator;

// True in the process that loaded the module; false in a child it forked (and before the load).
bool InLoadingProcess();

// The file URL of this module's own executable, or null; the caller releases it.
CFURLRef CreateMyMachOBundleURL();

extern "C" {
void MachO_Initialization();
void MachO_Termination();
}

#endif  // TWAINMON_MACHOMAIN_H
