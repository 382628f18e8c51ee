#include "ModuleHarness.h"

#include <CoreFoundation/CoreFoundation.h>
#include <CoreServices/CoreServices.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "MonitorPaths.h"

namespace fs = std::filesystem;

namespace harness {

// ---- The root ----------------------------------------------------------------------------------

std::string BundlePath() { return TWAINMON_TARGET_BUNDLE_PATH; }

std::string LogFolder() { return TWAINMON_LOG_FOLDER; }

namespace {

std::string BundleExecutablePath() { return BundlePath() + "/Contents/MacOS/TwainWrapper"; }

}  // namespace

void InstallBundleExecutable(const std::string& sourcePath) {
    RemoveBundle();
    fs::create_directories(fs::path(BundleExecutablePath()).parent_path());
    fs::copy_file(sourcePath, BundleExecutablePath());
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

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string ReadOnlyLog() {
    const std::vector<std::string> names = LogFolderEntries();
    EXPECT_EQ(names.size(), 1u) << "expected exactly one log file";
    if (names.size() != 1) return "";
    return ReadFile(LogFolder() + "/" + names[0]);
}

// ---- The child ---------------------------------------------------------------------------------

CChildSession::CChildSession(DSEntryProc pfnEntry, int reportFd)
    : m_pfnEntry(pfnEntry), m_reportFd(reportFd), m_application() {
    m_application.Id = reinterpret_cast<TW_MEMREF>(static_cast<uintptr_t>(1));
    m_application.Version.MajorNum = 3;
    m_application.Version.MinorNum = 1;
    m_application.Version.Language = 13;
    m_application.Version.Country = 1;
    strcpy(m_application.Version.Info, "3.1 test host");
    m_application.ProtocolMajor = 1;
    m_application.ProtocolMinor = 9;
    m_application.SupportedGroups = DG_CONTROL | DG_IMAGE;
    strcpy(m_application.Manufacturer, "Test Bench");
    strcpy(m_application.ProductFamily, "Hosts");
    strcpy(m_application.ProductName, "E2E Host");
}

TW_UINT16 CChildSession::Call(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, void* pData) {
    return m_pfnEntry(&m_application, DG, DAT, MSG, static_cast<TW_MEMREF>(pData));
}

void CChildSession::Report(const std::string& key, const std::string& value) {
    const std::string line = key + "=" + value + "\n";
    if (write(m_reportFd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) _exit(7);
}

void CChildSession::Report(const std::string& key, unsigned long long value) { Report(key, std::to_string(value)); }

long CChildSession::LogSize() const {
    for (const std::string& name : LogFolderEntries()) {
        struct stat info;
        const std::string path = LogFolder() + "/" + name;
        if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return static_cast<long>(info.st_size);
    }
    return -1;
}

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

// Exit codes of the child that tell where it stopped.
enum { kChildLoadFailed = 3, kChildNoEntry = 4, kChildUnloadFailed = 5, kChildThrew = 6 };

[[noreturn]] void RunChild(const std::function<void(CChildSession&)>& scenario, const ChildOptions& options,
                           const std::string& stderrPath, const std::string& reportPath) {
    const int errFd = open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (errFd >= 0) {
        dup2(errFd, STDERR_FILENO);
        close(errFd);
    }
    const int reportFd = open(reportPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    for (const auto& variable : options.environment) setenv(variable.first.c_str(), variable.second.c_str(), 1);

    void* pModule = dlopen(TWAINMON_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    if (pModule == nullptr) {
        dprintf(reportFd, "dlopen=%s\n", dlerror());
        _exit(kChildLoadFailed);
    }
    DSEntryProc pfnEntry = reinterpret_cast<DSEntryProc>(dlsym(pModule, "DS_Entry"));
    if (pfnEntry == nullptr) _exit(kChildNoEntry);
    try {
        CChildSession session(pfnEntry, reportFd);
        scenario(session);
    } catch (const std::exception& e) {
        dprintf(reportFd, "exception=%s\n", e.what());
        _exit(kChildThrew);
    }
    if (dlclose(pModule) != 0) _exit(kChildUnloadFailed);
    fflush(stderr);
    close(reportFd);
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
    const std::string stderrPath = std::string(szDir) + "/stderr";
    const std::string reportPath = std::string(szDir) + "/report";

    fflush(stdout);
    fflush(stderr);
    const pid_t pid = fork();
    if (pid == 0) RunChild(scenario, options, stderrPath, reportPath);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) {
        ADD_FAILURE() << "the child did not run";
    } else if (WIFEXITED(status)) {
        result.exitedNormally = true;
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }

    result.stderrText = ReadFile(stderrPath);
    std::istringstream report(ReadFile(reportPath));
    for (std::string line; std::getline(report, line);) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos) result.reports.emplace(line.substr(0, eq), line.substr(eq + 1));
    }
    fs::remove_all(szDir);
    return result;
}

// ---- The scanner loaded directly ---------------------------------------------------------------

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

// ---- Small helpers -----------------------------------------------------------------------------

const void* PointerFromReport(const std::string& value) {
    return reinterpret_cast<const void*>(static_cast<uintptr_t>(strtoull(value.c_str(), nullptr, 10)));
}

std::string Hex(const void* pData, size_t nSize) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    const unsigned char* p = static_cast<const unsigned char*>(pData);
    for (size_t i = 0; i < nSize; ++i) {
        text += kDigits[p[i] >> 4];
        text += kDigits[p[i] & 0xF];
    }
    return text;
}

std::string HandleBytes(char** h) {
    if (h == nullptr) return "";
    HLock(h);
    const std::string bytes(*h, static_cast<size_t>(GetHandleSize(h)));
    HUnlock(h);
    return bytes;
}

size_t Occurrences(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

}  // namespace harness
