// The host-safety test's real data source. It has no state of its own, so any number of threads
// may call it at once, and each kind of call always gets the same answer. Some triplets do what a
// troublesome data source does:
//   DAT_XFERGROUP / MSG_GET        blocks in a cancellation point until the thread is cancelled;
//   DAT_CUSTOMDSDATA / MSG_GET     calls back into the monitor's DS_Entry (module named by
//                                  TWAINMON_PROBE_MONITOR) for an identity, then succeeds;
//   DAT_SETUPFILEXFER / MSG_GET    throws;
//   DAT_PENDINGXFERS / MSG_GET     fails.
// Its factory and Release each append a line with the process id to the file named by
// TWAINMON_PROBE_EVENTS ("create <pid>", "release <pid>").
#include <CoreServices/CoreServices.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "HostMemory.h"
#include "ScannerInterface.h"
#include "TripletOperator.h"
#include "TwainTypes.h"

namespace {

void RecordEvent(const char* pszEvent) {
    const char* pszPath = getenv("TWAINMON_PROBE_EVENTS");
    if (pszPath == nullptr) return;
    const std::string line = std::string(pszEvent) + " " + std::to_string(getpid()) + "\n";
    const int fd = open(pszPath, O_WRONLY | O_APPEND | O_CREAT, 0600);
    if (fd < 0) return;
    if (write(fd, line.data(), line.size()) < 0) perror("probe events");
    close(fd);
}

typedef TW_UINT16 (*DSEntryProc)(pTW_IDENTITY, TW_UINT32, TW_UINT16, TW_UINT16, TW_MEMREF);

void FillIdentity(TW_IDENTITY* pIdentity) {
    const TW_VERSION version = {1, 0, TWLG_ENGLISH_USA, TWCY_USA, "probe"};
    *pIdentity = simscan::Identity(7, version, "Probe", "Probe", "Probe");
}

// A TW_ENUMERATION of three TWTY_UINT16 pixel types, in a new handle of the probe's own making
// (22 bytes flush against a guard page, at an address aligned for 2 bytes only); the host frees it.
Handle NewPixelTypes() {
    const TW_UINT16 kItems[] = {TWPT_BW, TWPT_GRAY, TWPT_RGB};
    Handle h = hostmem::NewHandle(offsetof(TW_ENUMERATION, ItemList) + sizeof kItems);
    if (h == nullptr) return nullptr;
    hostmem::Put(h, offsetof(TW_ENUMERATION, ItemType), TW_UINT16{TWTY_UINT16});
    hostmem::Put(h, offsetof(TW_ENUMERATION, NumItems), TW_UINT32{3});
    hostmem::Put(h, offsetof(TW_ENUMERATION, CurrentIndex), TW_UINT32{2});
    hostmem::Put(h, offsetof(TW_ENUMERATION, ItemList), kItems);
    return h;
}

class ProbeOperator final : public TripletOperator {
public:
    void Reserved1() override {}
    void Reserved2() override {}
    void Reserved4() override {}
    void Release() override {
        RecordEvent("release");
        delete this;
    }

    TW_UINT16 OperateTriplet(pTW_IDENTITY, TW_UINT32, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData) override {
        switch (DAT) {
            case DAT_IDENTITY:
                if (pData != nullptr) FillIdentity(reinterpret_cast<TW_IDENTITY*>(pData));
                return TWRC_SUCCESS;
            case DAT_STATUS:
                if (pData != nullptr) *reinterpret_cast<TW_STATUS*>(pData) = TW_STATUS{TWCC_BUMMER, 0};
                return TWRC_SUCCESS;
            case DAT_CAPABILITY:
                if (pData != nullptr && MSG == MSG_GET) {
                    TW_CAPABILITY* pCap = reinterpret_cast<TW_CAPABILITY*>(pData);
                    pCap->ConType = TWON_ENUMERATION;
                    pCap->hContainer = NewPixelTypes();
                }
                return TWRC_SUCCESS;
            case DAT_EVENT:
                // A host event that carries a message of its own is claimed as a transfer request.
                if (pData == nullptr || reinterpret_cast<TW_EVENT*>(pData)->pEvent == nullptr) return TWRC_NOTDSEVENT;
                reinterpret_cast<TW_EVENT*>(pData)->TWMessage = MSG_XFERREADY;
                return TWRC_DSEVENT;
            case DAT_XFERGROUP:
                for (;;) sleep(60);
            case DAT_CUSTOMDSDATA:
                return CallBackIntoMonitor();
            case DAT_SETUPFILEXFER:
                throw std::runtime_error("probe");
            case DAT_PENDINGXFERS:
                return TWRC_FAILURE;
            default:
                return TWRC_SUCCESS;
        }
    }

private:
    static TW_UINT16 CallBackIntoMonitor() {
        const char* pszMonitor = getenv("TWAINMON_PROBE_MONITOR");
        void* pModule = pszMonitor != nullptr ? dlopen(pszMonitor, RTLD_NOW | RTLD_NOLOAD) : nullptr;
        if (pModule == nullptr) return TWRC_FAILURE;
        const DSEntryProc pfnEntry = reinterpret_cast<DSEntryProc>(dlsym(pModule, "DS_Entry"));
        TW_IDENTITY identity = TW_IDENTITY();
        TW_UINT16 rc = TWRC_FAILURE;
        if (pfnEntry != nullptr) rc = pfnEntry(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GET, reinterpret_cast<TW_MEMREF>(&identity));
        dlclose(pModule);
        return rc;
    }
};

}  // namespace

extern "C" __attribute__((visibility("default"))) long CreateTwainWrapper(CFStringRef, TripletOperator** ppOperator) {
    RecordEvent("create");
    *ppOperator = new ProbeOperator();
    return 0;
}
