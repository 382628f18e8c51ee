// Bundles of our CoreFoundation stand-in: a directory X.bundle whose executable is the shared
// object X.bundle/Contents/MacOS/X, loaded when the first function is looked up.
#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "CFObjects.h"

void ReleaseCFBundle(__CFBundle* bundle) {
    if (bundle->module != nullptr) dlclose(bundle->module);
    free(bundle->path);
    free(bundle);
}

CFBundleRef CFBundleCreate(CFAllocatorRef /*allocator*/, CFURLRef bundleURL) {
    if (bundleURL == nullptr) return nullptr;
    struct stat info;
    if (stat(bundleURL->path, &info) != 0 || !S_ISDIR(info.st_mode)) return nullptr;

    __CFBundle* bundle = static_cast<__CFBundle*>(malloc(sizeof(__CFBundle)));
    char* path = strdup(bundleURL->path);
    if (bundle == nullptr || path == nullptr) {
        free(bundle);
        free(path);
        return nullptr;
    }
    bundle->base = CFObjectBase{kCFObjectBundle, false};
    bundle->path = path;
    bundle->module = nullptr;
    return bundle;
}

namespace {

// X.bundle/Contents/MacOS/X for the bundle directory X.bundle.
std::string ExecutablePath(const char* bundlePath) {
    std::string directory(bundlePath);
    while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
    std::string name = directory.substr(directory.find_last_of('/') + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return directory + "/Contents/MacOS/" + name;
}

}  // namespace

void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef functionName) {
    if (bundle == nullptr || functionName == nullptr) return nullptr;
    if (bundle->module == nullptr) {
        bundle->module = dlopen(ExecutablePath(bundle->path).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (bundle->module == nullptr) return nullptr;
    }
    return dlsym(bundle->module, functionName->bytes);
}
