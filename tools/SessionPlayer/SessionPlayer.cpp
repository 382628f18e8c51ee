// The session player: a host that loads a TWAIN data source module and plays a scripted session
// through its DS_Entry, as an application and its data-source manager would.
//
//   SessionPlayer [-v] <path to TwainMonitor.ds> <session>
//
// With -v it prints one line per call to standard output. It exits 0 when the session was
// played (whatever the data source answered), 1 when the module or the session cannot be
// found, 2 for a wrong command line.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Sessions.h"

namespace {

void PrintUsage(const char* program) {
    fprintf(stderr, "usage: %s [-v] <path to TwainMonitor.ds> <session>\nsessions:\n", program);
    for (const player::SessionInfo& session : player::Sessions()) {
        fprintf(stderr, "  %-6s %s\n", session.name, session.description);
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool bVerbose = false;
    const char* pszModule = nullptr;
    const char* pszSession = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "-v") == 0) {
            bVerbose = true;
        } else if (pszModule == nullptr) {
            pszModule = argv[i];
        } else if (pszSession == nullptr) {
            pszSession = argv[i];
        } else {
            PrintUsage(argv[0]);
            return 2;
        }
    }
    if (pszModule == nullptr || pszSession == nullptr) {
        PrintUsage(argv[0]);
        return 2;
    }

    bool bKnown = false;
    for (const player::SessionInfo& session : player::Sessions()) bKnown = bKnown || session.name == std::string(pszSession);
    if (!bKnown) {
        fprintf(stderr, "%s: no session \"%s\"\n", argv[0], pszSession);
        PrintUsage(argv[0]);
        return 1;
    }

    void* pModule = dlopen(pszModule, RTLD_NOW | RTLD_LOCAL);
    if (pModule == nullptr) {
        fprintf(stderr, "%s: cannot load %s: %s\n", argv[0], pszModule, dlerror());
        return 1;
    }
    player::DSEntryProc pfnEntry = reinterpret_cast<player::DSEntryProc>(dlsym(pModule, "DS_Entry"));
    if (pfnEntry == nullptr) {
        fprintf(stderr, "%s: %s exports no DS_Entry\n", argv[0], pszModule);
        dlclose(pModule);
        return 1;
    }

    player::CHost host(pfnEntry, bVerbose);
    player::PlaySession(pszSession, host);
    fflush(stdout);

    dlclose(pModule);
    return 0;
}
