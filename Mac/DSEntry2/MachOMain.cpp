// Load and unload of the monitor module.
//
// MachO_Initialization is the module's initialiser and MachO_Termination its terminator: the
// loader runs the one when it loads the module and the other once when it unloads it (or at
// exit). The initialiser is not guaranteed to run after the module's own C++ dynamic
// initialisers, so nothing here may rely on a global that a dynamic constructor sets up. The
// analyser g_cParaAnalyze is constant-initialised and the globals below are plain pointers, so
// they are ready before any code of the module runs.
#include "MachOMain.h"

#include <CoreFoundation/CoreFoundation.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

#include "LogFile.h"
#include "MonitorPaths.h"
#include "TargetPlatform.h"

#if TWAINMON_MAC
#include <mach-o/dyld.h>
#include <mach-o/ldsyms.h>
#else
#include <dlfcn.h>
#endif

CFBundleRef g_TwainWrapperBundleRef = nullptr;
CreateTwainWrapperProc g_fnDsCreate = nullptr;
TripletOperator* g_pcTripletOperator = nullptr;

namespace {

// The process that loaded the module, and so owns the real data source's object and the log file.
// A child the host forks without exec has copies of both that are not its own.
pid_t g_nLoadingProcess = 0;

// Telling the loading process from a forked child costs a system call (getpid) on every logged
// call. Where the system can hand a child a page of its own zero-filled (Linux's
// MADV_WIPEONFORK), a mark set in that page at load tells the two apart by a plain read instead.
volatile unsigned char* g_pLoadMark = nullptr;
size_t g_nLoadMarkSize = 0;

void RememberLoadingProcess() {
    g_nLoadingProcess = getpid();
#if defined(MADV_WIPEONFORK)
    const size_t nPage = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    void* pPage = mmap(nullptr, nPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pPage == MAP_FAILED) return;
    if (madvise(pPage, nPage, MADV_WIPEONFORK) != 0) {
        munmap(pPage, nPage);
        return;
    }
    g_pLoadMark = static_cast<volatile unsigned char*>(pPage);
    g_nLoadMarkSize = nPage;
    *g_pLoadMark = 1;
#endif
}

void ForgetLoadingProcess() {
    if (g_pLoadMark != nullptr) munmap(const_cast<unsigned char*>(g_pLoadMark), g_nLoadMarkSize);
    g_pLoadMark = nullptr;
    g_nLoadingProcess = 0;
}

}  // namespace

bool InLoadingProcess() {
    if (g_pLoadMark != nullptr) return *g_pLoadMark != 0;
    return g_nLoadingProcess != 0 && getpid() == g_nLoadingProcess;
}

#if TWAINMON_MAC

// Looks for this bundle's own Mach-O header among the loaded images. Index 0 is the main
// program, which is never this bundle.
CFURLRef CreateMyMachOBundleURL() {
    const uint32_t nImages = _dyld_image_count();
    const struct mach_header* pOwnHeader = reinterpret_cast<const struct mach_header*>(&_mh_bundle_header);
    for (uint32_t i = 1; i < nImages; ++i) {
        if (_dyld_get_image_header(i) != pOwnHeader) continue;
        const char* pszPath = _dyld_get_image_name(i);
        if (pszPath == nullptr) return nullptr;
        return CFURLCreateFromFileSystemRepresentation(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(pszPath),
                                                       static_cast<CFIndex>(strlen(pszPath)), false);
    }
    return nullptr;
}

#else

namespace {
// An object inside this module: the loader tells which file holds it.
const char kModuleAnchor = 0;
}  // namespace

// Without the dyld image list, the loader names the file of the module that holds an address.
CFURLRef CreateMyMachOBundleURL() {
    Dl_info info;
    if (dladdr(&kModuleAnchor, &info) == 0 || info.dli_fname == nullptr) return nullptr;
    return CFURLCreateFromFileSystemRepresentation(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(info.dli_fname),
                                                   static_cast<CFIndex>(strlen(info.dli_fname)), false);
}

#endif  // TWAINMON_MAC

extern "C" __attribute__((constructor)) void MachO_Initialization() {
    RememberLoadingProcess();

    // The factory is told the file name of this module's executable.
    CFStringRef name = nullptr;
    CFURLRef ownURL = CreateMyMachOBundleURL();
    if (ownURL != nullptr) {
        name = CFURLCopyLastPathComponent(ownURL);
        CFRelease(ownURL);
    }

    CFURLRef targetURL = CFURLCreateWithFileSystemPath(kCFAllocatorDefault, CFSTR(TWAINMON_TARGET_BUNDLE_PATH),
                                                       kCFURLPOSIXPathStyle, true);
    if (targetURL != nullptr) {
        g_TwainWrapperBundleRef = CFBundleCreate(kCFAllocatorDefault, targetURL);
        CFRelease(targetURL);
    }

    if (name != nullptr && g_TwainWrapperBundleRef != nullptr) {
        g_fnDsCreate = reinterpret_cast<CreateTwainWrapperProc>(
            CFBundleGetFunctionPointerForName(g_TwainWrapperBundleRef, CFSTR("CreateTwainWrapper")));
        if (g_fnDsCreate != nullptr) {
            // The factory is foreign code run under the loader: nothing it throws may escape.
            try {
                g_fnDsCreate(name, &g_pcTripletOperator);
            } catch (...) {
            }
        }
    }

    if (name != nullptr) CFRelease(name);

    setupTwainLog();
}

extern "C" __attribute__((destructor)) void MachO_Termination() {
    // A forked child that exits unloads the module too: what it would release, close or write
    // belongs to the parent, which goes on using it.
    if (!InLoadingProcess()) {
        detachTwainLogInChild();
        return;
    }

    if (g_pcTripletOperator != nullptr) {
        TripletOperator* pcOperator = g_pcTripletOperator;
        g_pcTripletOperator = nullptr;
        try {
            pcOperator->Release();
        } catch (...) {
        }
    }
    if (g_TwainWrapperBundleRef != nullptr) {
        CFRelease(g_TwainWrapperBundleRef);
        g_TwainWrapperBundleRef = nullptr;
    }
    cleanupTwainLog();
    ForgetLoadingProcess();
}
