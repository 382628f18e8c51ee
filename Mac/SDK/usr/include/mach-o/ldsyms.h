/* The Mach-O header of the image being linked, as the static linker defines it: declarations for
 * building the Mac bundle without Apple's SDK. */
#ifndef TWAINMON_SDK_MACHO_LDSYMS_H
#define TWAINMON_SDK_MACHO_LDSYMS_H

#include <mach-o/loader.h>

#ifdef __cplusplus
extern "C" {
#endif

/* In a bundle (MH_BUNDLE): the image's own Mach-O header. */
#if defined(__LP64__)
extern const struct mach_header_64 _mh_bundle_header;
#else
extern const struct mach_header _mh_bundle_header;
#endif

#ifdef __cplusplus
}
#endif

#endif
