#include "ModuleHarness.h"

#include <CoreFoundation/CoreFoundation.h>
#include <CoreServices/CoreServices.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "MonitorPaths.h"

namespace fs = std::filesystem;

namespace harness {

std::string BundlePath() { return TWAINMON_TARGET_BUNDLE_PATH; }

std::string LogFolder() { return TWAINMON_LOG_FOLDER; }

void InstallBundleExecutable(const std::string& sourcePath) {
    const fs::path executable = BundlePath() + "/Contents/MacOS/TwainWrapper";
    RemoveBundle();
    fs::create_directories(executable.parent_path());
    fs::copy_file(sourcePath, executable);
}

void InstallScanner() { InstallBundleExecutable(TWAINMON_SIMSCANNER_PATH); }

void InstallBundleWithoutFactory() { InstallBundleExecutable(TWAINMON_NOFACTORY_PATH); }

void RemoveBundle() { fs::remove_all(BundlePath()); }

void MakeEmptyLogFolder() {
    RemoveLogFolder();
    fs::create_directories(LogFolder());
}

void RemoveLogFolder() { fs::remove_all(LogFolder()); }

std::vector<std::string> LogFolderEntries() {
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(LogFolder(), error)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadOnlyLog() {
    const std::vector<std::string> names = LogFolderEntries();
    EXPECT_EQ(names.size(), 1u) << "expected exactly one log file";
    return names.size() == 1 ? ReadFile(LogFolder() + "/" + names[0]) : "";
}

std::string PlaySession(const std::string& session) {
    InstallScanner();
    MakeEmptyLogFolder();
    const std::string command = std::string("'") + TWAINMON_SESSIONPLAYER_PATH + "' '" + TWAINMON_MODULE_PATH + "' " +
                                session + " >/dev/null";
    const int status = std::system(command.c_str());
    std::string log = ReadOnlyLog();
    RemoveLogFolder();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the session player failed: status " << status;
    return log;
}

CChildSession::CChildSession(DSEntryProc pfnEntry, int reportFd)
    : m_pfnEntry(pfnEntry), m_reportFd(reportFd), m_application() {
    m_application.Id = reinterpret_cast<TW_MEMREF>(static_cast<uintptr_t>(1));
}

TW_UINT16 CChildSession::Call(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, void* pData) {
    return CallFrom(&m_application, DG, DAT, MSG, pData);
}

TW_UINT16 CChildSession::CallFrom(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, void* pData) {
    return m_pfnEntry(pOrigin, DG, DAT, MSG, static_cast<TW_MEMREF>(pData));
}

void CChildSession::Report(const std::string& key, const std::string& value) {
    std::string lines;
    for (size_t start = 0, end; start <= value.size(); start = end + 1) {
        end = std::min(value.find('\n', start), value.size());
        lines += key + "=" + value.substr(start, end - start) + "\n";
    }
    if (write(m_reportFd, lines.data(), lines.size()) != static_cast<ssize_t>(lines.size())) _exit(7);
}

void CChildSession::Report(const std::string& key, unsigned long long value) { Report(key, std::to_string(value)); }

std::vector<std::string> ChildResult::Values(const std::string& key) const {
    std::vector<std::string> values;
    const auto range = reports.equal_range(key);
    for (auto it = range.first; it != range.second; ++it) values.push_back(it->second);
    return values;
}

std::string ChildResult::Value(const std::string& key) const {
    const auto it = reports.find(key);
    return it != reports.end() ? it->second : "";
}

namespace {

// Exits 0 only when the module loaded, the scenario ran and the module unloaded; why the module
// could not be loaded goes to the captured standard error.
[[noreturn]] void RunChild(const std::function<void(CChildSession&)>& scenario, const ChildOptions& options,
                           const std::string& stderrPath, const std::string& reportPath) {
    const int errFd = open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (errFd >= 0 && dup2(errFd, STDERR_FILENO) >= 0) close(errFd);
    const int reportFd = open(reportPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    for (const auto& variable : options.environment) setenv(variable.first.c_str(), variable.second.c_str(), 1);

    void* pModule = dlopen(TWAINMON_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    const DSEntryProc pfnEntry = pModule != nullptr ? reinterpret_cast<DSEntryProc>(dlsym(pModule, "DS_Entry")) : nullptr;
    if (pfnEntry == nullptr) {
        const char* pszError = dlerror();
        fprintf(stderr, "cannot load the module: %s\n", pszError != nullptr ? pszError : "no DS_Entry");
        _exit(3);
    }
    CChildSession session(pfnEntry, reportFd);
    scenario(session);
    if (dlclose(pModule) != 0) _exit(5);
    fflush(stderr);
    _exit(0);
}

}  // namespace

ChildResult RunInChild(const std::function<void(CChildSession&)>& scenario, const ChildOptions& options) {
    ChildResult result;
    char szDir[] = "/tmp/twainmon-e2e.XXXXXX";
    if (mkdtemp(szDir) == nullptr) {
        ADD_FAILURE() << "no temporary folder";
        return result;
    }
    const std::string stderrPath = std::string(szDir) + "/stderr", reportPath = std::string(szDir) + "/report";
    fflush(stdout);
    fflush(stderr);
    const pid_t pid = fork();
    if (pid == 0) RunChild(scenario, options, stderrPath, reportPath);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) ADD_FAILURE() << "the child did not run";
    result.completed = pid > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;

    result.stderrText = ReadFile(stderrPath);
    std::istringstream report(ReadFile(reportPath));
    for (std::string line; std::getline(report, line);) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos) result.reports.emplace(line.substr(0, eq), line.substr(eq + 1));
    }
    fs::remove_all(szDir);
    return result;
}

CDirectScanner::CDirectScanner() {
    m_pModule = dlopen(TWAINMON_SIMSCANNER_PATH, RTLD_NOW | RTLD_LOCAL);
    if (m_pModule == nullptr) return;
    CreateTwainWrapperProc pfnCreate = reinterpret_cast<CreateTwainWrapperProc>(dlsym(m_pModule, "CreateTwainWrapper"));
    if (pfnCreate == nullptr) return;
    CFStringRef name = CFStringCreateWithCString(kCFAllocatorDefault, "DirectHost", kCFStringEncodingUTF8);
    pfnCreate(name, &m_pOperator);
    CFRelease(name);
}

CDirectScanner::~CDirectScanner() {
    if (m_pOperator != nullptr) m_pOperator->Release();
    if (m_pModule != nullptr) dlclose(m_pModule);
}

TW_UINT16 CDirectScanner::Call(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, void* pData) {
    return m_pOperator->OperateTriplet(pOrigin, DG, DAT, MSG, static_cast<TW_MEMREF>(pData));
}

const void* PointerFromReport(const std::string& value) {
    return reinterpret_cast<const void*>(static_cast<uintptr_t>(strtoull(value.c_str(), nullptr, 10)));
}

std::string HandleBytes(char** h) {
    if (h == nullptr) return "";
    HLock(h);
    const std::string bytes(*h, static_cast<size_t>(GetHandleSize(h)));
    HUnlock(h);
    return bytes;
}

}  // namespace harness
