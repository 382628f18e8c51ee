// The end-to-end harness: prepares the build's root (the real data source's bundle, the log
// folder), runs a scenario against the built TwainMonitor.ds in a child process as a host would,
// and reads back what the child reported, its standard error and the log files.
#ifndef TWAINMON_MODULEHARNESS_H
#define TWAINMON_MODULEHARNESS_H

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "TripletOperator.h"
#include "TwainTypes.h"

namespace harness {

// ---- The root ----------------------------------------------------------------------------------

// <root>/Library/Image Capture/Support/ZORVA/Zorva Scan 2/Core/TwainWrapper.bundle
std::string BundlePath();
// <root>/Users/Shared/ZORVA/ZorvaScan2/LOG/TWAIN
std::string LogFolder();

// Installs a shared object as the bundle's executable (TwainWrapper.bundle/Contents/MacOS/TwainWrapper):
// any one, the simulated scanner as built, or one that lacks the factory CreateTwainWrapper.
void InstallBundleExecutable(const std::string& sourcePath);
void InstallScanner();
void InstallBundleWithoutFactory();
void RemoveBundle();

// A fresh empty log folder, or none.
void MakeEmptyLogFolder();
void RemoveLogFolder();

// The names of the entries of the log folder, sorted (empty when there is no folder).
std::vector<std::string> LogFolderEntries();
using testsupport::ReadFile;
// The bytes of the one log file in the folder; "" (and a test failure) unless there is exactly one.
std::string ReadOnlyLog();

// ---- Running the module in a child process ------------------------------------------------------

typedef TW_UINT16 (*DSEntryProc)(pTW_IDENTITY, TW_UINT32, TW_UINT16, TW_UINT16, TW_MEMREF);

// What a scenario has inside the child: the loaded module's DS_Entry, called with an
// application identity as origin, and a channel back to the test.
class CChildSession {
public:
    CChildSession(DSEntryProc pfnEntry, int reportFd);

    TW_UINT16 Call(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, void* pData);
    // The same with any origin, or none.
    TW_UINT16 CallFrom(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, void* pData);
    TW_IDENTITY& Application() { return m_application; }

    // One "key=value" line to the test; a value of several lines, one such line for each.
    void Report(const std::string& key, const std::string& value);
    void Report(const std::string& key, unsigned long long value);

private:
    DSEntryProc m_pfnEntry;
    int m_reportFd;
    TW_IDENTITY m_application;
};

struct ChildOptions {
    // Environment variables set in the child before the module is loaded.
    std::vector<std::pair<std::string, std::string>> environment;
};

struct ChildResult {
    bool completed = false;
    std::string stderrText;
    std::multimap<std::string, std::string> reports;

    // The values reported under key, in order.
    std::vector<std::string> Values(const std::string& key) const;
    // The first value reported under key ("" when none).
    std::string Value(const std::string& key) const;
    // True when the child loaded the module, ran the scenario, unloaded the module and exited 0.
    bool Completed() const { return completed; }
};

// Forks; the child loads TWAINMON_MODULE_PATH (running its initialiser), runs the scenario,
// unloads the module (running its terminator) and exits. Standard error of the child is captured.
ChildResult RunInChild(const std::function<void(CChildSession&)>& scenario, const ChildOptions& options = {});

// ---- A scripted session ------------------------------------------------------------------------

// Plays a session of the session player (scan, error, all) through the built module with the
// simulated scanner installed, and returns the log it leaves (the player's errors go to this
// process's standard error; a failed player fails the test).
std::string PlaySession(const std::string& session);

// ---- The scanner loaded directly ---------------------------------------------------------------

// The simulated scanner as the monitor obtains it, loaded from its build location (a separate
// instance from the one the monitor loads from the root), for comparing what a host receives.
class CDirectScanner {
public:
    CDirectScanner();
    ~CDirectScanner();
    CDirectScanner(const CDirectScanner&) = delete;
    CDirectScanner& operator=(const CDirectScanner&) = delete;

    bool Loaded() const { return m_pOperator != nullptr; }
    TW_UINT16 Call(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, void* pData);

private:
    void* m_pModule = nullptr;
    TripletOperator* m_pOperator = nullptr;
};

// ---- Small helpers -----------------------------------------------------------------------------

// A pointer as the child reported it (in decimal), for the log's rendering of its low 32 bits.
const void* PointerFromReport(const std::string& value);
// The bytes of a memory handle's block ("" for null).
std::string HandleBytes(char** h);

}  // namespace harness

#endif  // TWAINMON_MODULEHARNESS_H
