// Selects the Mac code path. TWAINMON_CHECK_APPLE lets the tests type-check that path here
// against declarations of the Apple calls.
#ifndef TWAINMON_TARGETPLATFORM_H
#define TWAINMON_TARGETPLATFORM_H

#if defined(__APPLE__) || defined(TWAINMON_CHECK_APPLE)
#define TWAINMON_MAC 1
#else
#define TWAINMON_MAC 0
#endif

#endif  // TWAINMON_TARGETPLATFORM_H
