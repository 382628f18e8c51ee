// Measures what the monitor costs a host, per call, against what the log writes cost by themselves.
//
// The program installs the benchmark's data source (BenchTarget.cpp) as the target bundle under
// this build's TWAINMON_ROOT, creates the log folder, loads the built TwainMonitor.ds as a host
// does and calls its DS_Entry. For every case it measures:
//   call    DS_Entry through the monitor: forwarding, both renderings and the log writes;
//   floor   the I/O floor: the same bytes written with the same fwrite + fflush calls (same number
//           and sizes) to a file in the same folder, without any rendering;
//   render  both renderings alone, by the analysis library linked into this program;
//   target  the data source called directly, without the monitor.
// It then prints one table and checks the targets the monitor must meet:
//   - a logged call costs at most 1.5 times its own I/O floor;
//   - rendering cost grows linearly: the 400-item list costs no more per byte than the ten-item
//     enumeration, within 1.5 times;
//   - an unclaimed window event adds at most 1% of the cost of a logged identity call, and makes
//     no system call;
//   - with logging off (a second copy of the monitor, loaded while the log folder did not exist) a
//     capability call adds at most 10 ns to the data source called directly.
//
//   twainmon_bench [--repetitions=N] [--min-time=SECONDS]   the measurements and the table
//   twainmon_bench --soak [CALLS]        a million (or CALLS) mixed calls, reporting the maximum RSS
//   twainmon_bench --syscall-probe [CALLS]  unclaimed events between two marker system calls, for
//                                        counting under strace (scripts/bench does)
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "CallRecord.h"
#include "MonitorPaths.h"
#include "ParaAnalyze.h"
#include "TextBuffer.h"
#include "TripletOperator.h"
#include "TwainTypes.h"

#ifndef TWAINMON_MODULE_PATH
#error "TWAINMON_MODULE_PATH must name the built TwainMonitor.ds"
#endif
#ifndef TWAINMON_BENCH_TARGET_PATH
#error "TWAINMON_BENCH_TARGET_PATH must name the built benchmark data source"
#endif

namespace {

typedef TW_UINT16 (*DSEntryProc)(pTW_IDENTITY, TW_UINT32, TW_UINT16, TW_UINT16, TW_MEMREF);


// ---- One measured call ---------------------------------------------------------------------------

struct Case {
    const char* name;
    TW_UINT32 DG;
    TW_UINT16 DAT;
    TW_UINT16 MSG;
    TW_UINT16 Cap;      // DAT_CAPABILITY: the capability asked for
    bool bClaimEvent;   // DAT_EVENT: whether the data source claims it
    bool bLoggingOff;   // made through the copy of the monitor that logs nothing
    // The writes the monitor makes for one call, worked out by Plan().
    std::vector<std::string> writes;
    size_t nBytes = 0;
};

// The data block of a call: large enough and aligned for every structure the cases use.
union Block {
    TW_EVENT event;
    TW_IDENTITY identity;
    TW_CAPABILITY capability;
    TW_IMAGEINFO imageInfo;
    TW_CIECOLOR cie;
    TW_USERINTERFACE ui;
    TW_STATUS status;
};

char g_eventRecord[32];  // the host's window event a claimed TW_EVENT points at

void PrepareBlock(const Case& c, Block* pBlock) {
    memset(pBlock, 0, sizeof *pBlock);
    if (c.DAT == DAT_CAPABILITY) pBlock->capability.Cap = c.Cap;
    if (c.DAT == DAT_EVENT) pBlock->event.pEvent = c.bClaimEvent ? g_eventRecord : nullptr;
}

std::vector<Case> MakeCases() {
    return {
        {"logging off", DG_CONTROL, DAT_CAPABILITY, MSG_GET, ICAP_PIXELTYPE, false, true, {}, 0},
        {"unclaimed event", DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, 0, false, false, {}, 0},
        {"claimed event", DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, 0, true, false, {}, 0},
        {"identity", DG_CONTROL, DAT_IDENTITY, MSG_GET, 0, false, false, {}, 0},
        {"capability enum 10", DG_CONTROL, DAT_CAPABILITY, MSG_GET, ICAP_PIXELTYPE, false, false, {}, 0},
        {"image info", DG_IMAGE, DAT_IMAGEINFO, MSG_GET, 0, false, false, {}, 0},
        {"cie color", DG_IMAGE, DAT_CIECOLOR, MSG_GET, 0, false, false, {}, 0},
        {"supportedcaps 400", DG_CONTROL, DAT_CAPABILITY, MSG_GET, CAP_SUPPORTEDCAPS, false, false, {}, 0},
    };
}

// ---- The installed monitor -------------------------------------------------------------------

struct Monitor {
    void* hModule = nullptr;
    DSEntryProc DS_Entry = nullptr;
    DSEntryProc DS_EntryLoggingOff = nullptr;  // of a copy loaded without a log folder
    TripletOperator* pDirect = nullptr;  // a second object of the data source, called directly
    std::string logPath;
    FILE* pFloor = nullptr;
    std::string floorPath;
};

Monitor g_monitor;
TW_IDENTITY g_origin;

// The entry a case calls.
DSEntryProc EntryOf(const Case& c) { return c.bLoggingOff ? g_monitor.DS_EntryLoggingOff : g_monitor.DS_Entry; }

const Case& FindCase(const std::vector<Case>& cases, const char* name) {
    for (const Case& c : cases) {
        if (strcmp(c.name, name) == 0) return c;
    }
    abort();
}

bool MakeDirs(const std::string& path) {
    for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

bool CopyFile(const std::string& from, const std::string& to) {
    FILE* in = fopen(from.c_str(), "rb");
    if (in == nullptr) return false;
    const std::string temp = to + ".new";
    FILE* out = fopen(temp.c_str(), "wb");
    if (out == nullptr) {
        fclose(in);
        return false;
    }
    char buffer[65536];
    size_t n;
    bool bOk = true;
    while ((n = fread(buffer, 1, sizeof buffer, in)) > 0) bOk = bOk && fwrite(buffer, 1, n, out) == n;
    fclose(in);
    bOk = fclose(out) == 0 && bOk;
    // A new file replaces the old one, so a copy mapped by an earlier run is never rewritten.
    return bOk && chmod(temp.c_str(), 0755) == 0 && rename(temp.c_str(), to.c_str()) == 0;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] != '.') names.push_back(entry->d_name);
        }
        closedir(dir);
    }
    return names;
}

off_t FileSize(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? info.st_size : -1;
}

// The process's read and write system call counts (/proc/self/io).
struct IoCounts {
    long long syscr = 0;
    long long syscw = 0;
};

IoCounts ReadIoCounts() {
    IoCounts counts;
    if (FILE* f = fopen("/proc/self/io", "r")) {
        char line[128];
        while (fgets(line, sizeof line, f) != nullptr) {
            sscanf(line, "syscr: %lld", &counts.syscr);
            sscanf(line, "syscw: %lld", &counts.syscw);
        }
        fclose(f);
    }
    return counts;
}

long MaxRssKb() {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long CurrentRssKb() {
    long kb = -1;
    if (FILE* f = fopen("/proc/self/status", "r")) {
        char line[256];
        while (fgets(line, sizeof line, f) != nullptr) sscanf(line, "VmRSS: %ld", &kb);
        fclose(f);
    }
    return kb;
}

// Installs the data source and the log folder under this build's root and loads the monitor.
bool LoadMonitor() {
    static_assert(sizeof(TWAINMON_ROOT) > 1, "the benchmark installs under TWAINMON_ROOT, which must not be empty");
    const std::string bundleExecutable = TWAINMON_TARGET_BUNDLE_PATH "/Contents/MacOS/TwainWrapper";
    const std::string folder = TWAINMON_LOG_FOLDER;
    if (!MakeDirs(TWAINMON_TARGET_BUNDLE_PATH "/Contents/MacOS") || !CopyFile(TWAINMON_BENCH_TARGET_PATH, bundleExecutable)) {
        fprintf(stderr, "cannot install the data source at %s\n", bundleExecutable.c_str());
        return false;
    }
    // The copy that logs nothing, loaded (a file of its own, so a load of its own) while there is no
    // log folder; it stays loaded, with logging off, after the folder is made.
    for (const std::string& name : FilesIn(folder)) unlink((folder + "/" + name).c_str());
    rmdir(folder.c_str());
    const std::string modulePath = TWAINMON_MODULE_PATH;
    const std::string loggingOffPath = modulePath.substr(0, modulePath.rfind('/') + 1) + "TwainMonitorLoggingOff.ds";
    void* hLoggingOff = CopyFile(modulePath, loggingOffPath) ? dlopen(loggingOffPath.c_str(), RTLD_NOW | RTLD_LOCAL) : nullptr;
    g_monitor.DS_EntryLoggingOff =
        hLoggingOff != nullptr ? reinterpret_cast<DSEntryProc>(dlsym(hLoggingOff, "DS_Entry")) : nullptr;
    if (g_monitor.DS_EntryLoggingOff == nullptr || !FilesIn(folder).empty()) {
        fprintf(stderr, "cannot load a copy of the monitor with logging off at %s\n", loggingOffPath.c_str());
        return false;
    }

    if (!MakeDirs(folder)) {
        fprintf(stderr, "cannot create the log folder %s\n", folder.c_str());
        return false;
    }

    g_monitor.hModule = dlopen(TWAINMON_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    if (g_monitor.hModule == nullptr) {
        fprintf(stderr, "cannot load %s: %s\n", TWAINMON_MODULE_PATH, dlerror());
        return false;
    }
    g_monitor.DS_Entry = reinterpret_cast<DSEntryProc>(dlsym(g_monitor.hModule, "DS_Entry"));
    const std::vector<std::string> logs = FilesIn(folder);
    if (g_monitor.DS_Entry == nullptr || logs.size() != 1) {
        fprintf(stderr, "the monitor did not load as expected (DS_Entry %s, %zu log files)\n",
                g_monitor.DS_Entry != nullptr ? "found" : "missing", logs.size());
        return false;
    }
    g_monitor.logPath = folder + "/" + logs[0];

    void* hTarget = dlopen(bundleExecutable.c_str(), RTLD_NOW | RTLD_LOCAL);
    auto create = hTarget != nullptr ? reinterpret_cast<CreateTwainWrapperProc>(dlsym(hTarget, "CreateTwainWrapper")) : nullptr;
    if (create == nullptr) {
        fprintf(stderr, "cannot load the data source's factory\n");
        return false;
    }
    create(nullptr, &g_monitor.pDirect);

    // The floor's file: opened the way the log file is, in the same folder.
    g_monitor.floorPath = folder + "/iofloor.txt";
    const int fd = open(g_monitor.floorPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    g_monitor.pFloor = fd >= 0 ? fdopen(fd, "a") : nullptr;
    if (g_monitor.pFloor == nullptr || g_monitor.pDirect == nullptr) return false;

    memset(&g_origin, 0, sizeof g_origin);
    g_origin.Id = reinterpret_cast<TW_MEMREF>(static_cast<uintptr_t>(7));
    strcpy(g_origin.ProductName, "Benchmark host");
    return true;
}

// Works out, by rendering the call with a separate analyser, the writes the monitor makes for it:
// the triplet line, the result report (cut at the buffer's room and followed by the overflow
// message when it did not fit) and, for a failed call, the two failure lines.
void Plan(Case& c) {
    if (c.bLoggingOff) return;  // nothing is written
    Block block;
    PrepareBlock(c, &block);
    char* pData = reinterpret_cast<char*>(&block);
    const TW_UINT16 rc = g_monitor.pDirect->OperateTriplet(&g_origin, c.DG, c.DAT, c.MSG, pData);
    CParaAnalyze analyser;
    analyser.SetTwainStatus(3);
    CTextBuffer text;
    record::WriteRecord(analyser, text, &g_origin, c.DG, c.DAT, c.MSG, pData, rc, true,
                        [&c](const char* p, size_t n) { c.writes.emplace_back(p, n); });
    c.nBytes = 0;
    for (const std::string& w : c.writes) c.nBytes += w.size();
}

// ---- The measurements ------------------------------------------------------------------------

void SetWriteCounters(benchmark::State& state, const std::string& path, const IoCounts& before) {
    const IoCounts after = ReadIoCounts();
    const double n = static_cast<double>(state.iterations());
    state.counters["bytes"] = static_cast<double>(FileSize(path)) / n;
    state.counters["writes"] = static_cast<double>(after.syscw - before.syscw) / n;
}

void BM_Call(benchmark::State& state, const Case* c) {
    Block block;
    PrepareBlock(*c, &block);
    if (truncate(g_monitor.logPath.c_str(), 0) != 0) state.SkipWithError("cannot empty the log");
    const IoCounts before = ReadIoCounts();
    for (auto _ : state) {
        benchmark::DoNotOptimize(EntryOf(*c)(&g_origin, c->DG, c->DAT, c->MSG, reinterpret_cast<TW_MEMREF>(&block)));
    }
    SetWriteCounters(state, g_monitor.logPath, before);
}

void BM_Floor(benchmark::State& state, const Case* c) {
    if (truncate(g_monitor.floorPath.c_str(), 0) != 0) state.SkipWithError("cannot empty the floor file");
    const IoCounts before = ReadIoCounts();
    FILE* pFile = g_monitor.pFloor;
    for (auto _ : state) {
        for (const std::string& w : c->writes) {
            fwrite(w.data(), 1, w.size(), pFile);
            fflush(pFile);
        }
    }
    SetWriteCounters(state, g_monitor.floorPath, before);
}

void BM_Render(benchmark::State& state, const Case* c) {
    Block block;
    PrepareBlock(*c, &block);
    char* pData = reinterpret_cast<char*>(&block);
    const TW_UINT16 rc = g_monitor.pDirect->OperateTriplet(&g_origin, c->DG, c->DAT, c->MSG, pData);
    CParaAnalyze analyser;
    analyser.SetTwainStatus(3);
    CTextBuffer text;
    for (auto _ : state) {
        record::WriteRecord(analyser, text, &g_origin, c->DG, c->DAT, c->MSG, pData, rc, true,
                            [](const char* p, size_t n) {
                                benchmark::DoNotOptimize(p);
                                benchmark::DoNotOptimize(n);
                            });
        benchmark::ClobberMemory();
    }
    state.counters["bytes"] = static_cast<double>(c->nBytes);
}

void BM_Target(benchmark::State& state, const Case* c) {
    Block block;
    PrepareBlock(*c, &block);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            g_monitor.pDirect->OperateTriplet(&g_origin, c->DG, c->DAT, c->MSG, reinterpret_cast<TW_MEMREF>(&block)));
        benchmark::ClobberMemory();
    }
}

struct Result {
    double ns = 0;
    double bytes = 0;
    double writes = 0;
};

// Prints the usual console output and keeps the fastest of each benchmark's repetitions. Times are
// the thread's CPU time, user and system (the writes' work in the kernel included), which other
// programs on a shared machine inflate less than wall time; other load only ever adds time, so of
// the repetitions the fastest is the steadiest estimate.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) m_bError = true;
            const bool bMin = run.run_type == Run::RT_Aggregate && run.aggregate_name == "min";
            const bool bSingle = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (!bMin && !bSingle) continue;
            Result& r = m_results[run.run_name.function_name];
            r.ns = run.GetAdjustedCPUTime();
            auto counter = [&](const char* name) {
                auto it = run.counters.find(name);
                return it != run.counters.end() ? it->second.value : 0.0;
            };
            r.bytes = counter("bytes");
            r.writes = counter("writes");
        }
        ConsoleReporter::ReportRuns(runs);
    }
    const Result& Get(const std::string& name) { return m_results[name]; }
    bool Error() const { return m_bError; }

private:
    std::map<std::string, Result> m_results;
    bool m_bError = false;
};

// Unclaimed events between two readings of the process's system call counters, and the log's size.
bool UnclaimedEventsMakeNoSystemCall(const Case& unclaimed, long calls) {
    Block block;
    PrepareBlock(unclaimed, &block);
    // Reading the counters costs read calls of its own: measure that first, with nothing between.
    const IoCounts idle0 = ReadIoCounts();
    const IoCounts idle1 = ReadIoCounts();
    const off_t size0 = FileSize(g_monitor.logPath);
    const IoCounts before = ReadIoCounts();
    for (long i = 0; i < calls; ++i) {
        g_monitor.DS_Entry(&g_origin, unclaimed.DG, unclaimed.DAT, unclaimed.MSG, reinterpret_cast<TW_MEMREF>(&block));
    }
    const IoCounts after = ReadIoCounts();
    const long long reads = (after.syscr - before.syscr) - (idle1.syscr - idle0.syscr);
    const long long writes = (after.syscw - before.syscw) - (idle1.syscw - idle0.syscw);
    const off_t grown = FileSize(g_monitor.logPath) - size0;
    printf("  %ld unclaimed events: %lld read and %lld write system calls, log grew by %lld bytes\n", calls, reads,
           writes, static_cast<long long>(grown));
    return reads == 0 && writes == 0 && grown == 0;
}

const char* Verdict(bool bPass) { return bPass ? "PASS" : "FAIL"; }

int RunBenchmarks(int argc, char** argv, int repetitions, double minTime) {
    static std::vector<Case> cases = MakeCases();
    for (Case& c : cases) Plan(c);

    for (const Case& c : cases) {
        const struct {
            const char* kind;
            void (*fn)(benchmark::State&, const Case*);
        } kinds[] = {{"call", BM_Call}, {"floor", BM_Floor}, {"render", BM_Render}, {"target", BM_Target}};
        for (const auto& k : kinds) {
            // A call with logging off writes and renders nothing: only the call and its target.
            if (c.bLoggingOff && (k.fn == BM_Floor || k.fn == BM_Render)) continue;
            benchmark::RegisterBenchmark((std::string(k.kind) + "/" + c.name).c_str(), k.fn, &c)
                ->Unit(benchmark::kNanosecond)
                ->MinTime(minTime)
                ->Repetitions(repetitions)
                ->ComputeStatistics("min",
                                    [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
                ->ReportAggregatesOnly(true);
        }
    }
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (reporter.Error()) return 1;

    printf("\nPer call (fastest of %d repetitions, CPU time). floor: the same fwrite+fflush calls and bytes, no "
           "rendering.\n",
           repetitions);
    printf("%-20s %10s %10s %8s %6s %11s %8s %10s %10s %9s\n", "case", "call ns", "floor ns", "ratio", "<=1.5x",
           "bytes/call", "writes", "render ns", "render/B", "target ns");
    bool bAllPass = true;
    for (const Case& c : cases) {
        const Result& call = reporter.Get(std::string("call/") + c.name);
        const Result& floor = reporter.Get(std::string("floor/") + c.name);
        const Result& render = reporter.Get(std::string("render/") + c.name);
        const Result& target = reporter.Get(std::string("target/") + c.name);
        const bool bLogged = !c.writes.empty();
        char ratio[32] = "-";
        const char* verdict = "-";
        if (bLogged) {
            snprintf(ratio, sizeof ratio, "%.2fx", call.ns / floor.ns);
            const bool bPass = call.ns <= 1.5 * floor.ns;
            verdict = Verdict(bPass);
            bAllPass = bAllPass && bPass;
        }
        char perByte[32] = "-";
        if (c.nBytes != 0) snprintf(perByte, sizeof perByte, "%.3f", render.ns / static_cast<double>(c.nBytes));
        printf("%-20s %10.1f %10.1f %8s %6s %11.1f %8.2f %10.1f %10s %9.1f\n", c.name, call.ns, bLogged ? floor.ns : 0.0,
               ratio, verdict, call.bytes, call.writes, render.ns, perByte, target.ns);
        // The floor must repeat the monitor's writes: same count, same bytes (the triplet counter
        // may have gained a digit or two over the run).
        if (bLogged && (std::abs(call.writes - floor.writes) > 0.01 || std::abs(call.bytes - floor.bytes) > 2.5)) {
            printf("  ** the floor does not match the monitor's writes: %.2f writes / %.1f bytes vs %.2f / %.1f\n",
                   floor.writes, floor.bytes, call.writes, call.bytes);
            bAllPass = false;
        }
    }

    const Case& enumeration = FindCase(cases, "capability enum 10");
    const Case& list = FindCase(cases, "supportedcaps 400");
    const Case& unclaimed = FindCase(cases, "unclaimed event");
    const double enumPerByte = reporter.Get("render/capability enum 10").ns / static_cast<double>(enumeration.nBytes);
    const double listPerByte = reporter.Get("render/supportedcaps 400").ns / static_cast<double>(list.nBytes);
    const bool bLinear = listPerByte <= 1.5 * enumPerByte;
    const double added = reporter.Get("call/unclaimed event").ns - reporter.Get("target/unclaimed event").ns;
    const double identity = reporter.Get("call/identity").ns;
    const bool bCheap = added <= 0.01 * identity;
    const double addedOff = reporter.Get("call/logging off").ns - reporter.Get("target/logging off").ns;
    const bool bOffFree = addedOff <= 10.0;

    printf("\nTargets:\n");
    printf("  %s  every logged call within 1.5x its I/O floor (table above)\n", Verdict(bAllPass));
    printf("  %s  rendering grows linearly: supportedcaps 400 %.3f ns/byte (%zu bytes) vs enum 10 %.3f ns/byte (%zu "
           "bytes): %.2fx (<= 1.5x)\n",
           Verdict(bLinear), listPerByte, list.nBytes, enumPerByte, enumeration.nBytes, listPerByte / enumPerByte);
    printf("  %s  an unclaimed event adds %.1f ns to the call, %.3f%% of a logged identity call (%.1f ns; <= 1%%)\n",
           Verdict(bCheap), added, 100.0 * added / identity, identity);
    const bool bQuiet = UnclaimedEventsMakeNoSystemCall(unclaimed, 1000000);
    printf("  %s  an unclaimed event makes no read or write system call and writes nothing\n", Verdict(bQuiet));
    printf("  %s  with logging off a capability call adds %.1f ns to the data source called directly (<= 10 ns)\n",
           Verdict(bOffFree), addedOff);
    return bAllPass && bLinear && bCheap && bQuiet && bOffFree ? 0 : 1;
}

// A million mixed calls; the log is emptied now and then so that the disk does not fill.
int Soak(long calls) {
    std::vector<Case> mix = MakeCases();
    mix.push_back({"failed enable", DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, 0, false, false, {}, 0});
    mix.push_back({"failed status", DG_CONTROL, DAT_STATUS, MSG_GET, 0, false, false, {}, 0});
    std::vector<Block> blocks(mix.size());
    const long rssLoaded = MaxRssKb();
    const long warmUp = calls / 100;
    long rssWarm = rssLoaded;
    long currentWarm = CurrentRssKb();
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < calls; ++i) {
        const size_t k = static_cast<size_t>(i) % mix.size();
        const Case& c = mix[k];
        PrepareBlock(c, &blocks[k]);
        EntryOf(c)(&g_origin, c.DG, c.DAT, c.MSG, reinterpret_cast<TW_MEMREF>(&blocks[k]));
        if (i % 20000 == 0 && truncate(g_monitor.logPath.c_str(), 0) != 0) return 1;
        if (i == warmUp) {
            rssWarm = MaxRssKb();
            currentWarm = CurrentRssKb();
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long rssEnd = MaxRssKb();
    const long currentEnd = CurrentRssKb();
    printf("Soak: %ld mixed calls (%zu kinds, failures included) in %.1f s, %.2f us per call\n", calls, mix.size(),
           seconds, 1e6 * seconds / static_cast<double>(calls));
    printf("  maximum RSS: %ld KB after load, %ld KB after %ld calls, %ld KB at the end\n", rssLoaded, rssWarm, warmUp,
           rssEnd);
    printf("  current RSS: %ld KB after %ld calls, %ld KB at the end\n", currentWarm, warmUp, currentEnd);
    const bool bFlat = rssEnd - rssWarm <= 256;
    printf("  %s  memory stays flat (maximum RSS grew by %ld KB after the warm-up; <= 256 KB)\n", Verdict(bFlat),
           rssEnd - rssWarm);
    return bFlat ? 0 : 1;
}

// Unclaimed events between two marker system calls (a write to descriptor -1, which fails), so
// that a trace shows every system call the events make.
int SyscallProbe(long calls) {
    const std::vector<Case> cases = MakeCases();
    const Case& unclaimed = FindCase(cases, "unclaimed event");
    Block block;
    PrepareBlock(unclaimed, &block);
    for (int i = 0; i < 1000; ++i) {  // warm up: lazy binding and first-touch faults happen here
        g_monitor.DS_Entry(&g_origin, unclaimed.DG, unclaimed.DAT, unclaimed.MSG, reinterpret_cast<TW_MEMREF>(&block));
    }
    static const char kBegin[] = "twainmon-probe-begin";
    static const char kEnd[] = "twainmon-probe-end";
    if (write(-1, kBegin, sizeof kBegin - 1) != -1) return 1;
    for (long i = 0; i < calls; ++i) {
        g_monitor.DS_Entry(&g_origin, unclaimed.DG, unclaimed.DAT, unclaimed.MSG, reinterpret_cast<TW_MEMREF>(&block));
    }
    if (write(-1, kEnd, sizeof kEnd - 1) != -1) return 1;
    return 0;
}

long CountArgument(int& i, int argc, char** argv, long fallback) {
    if (i + 1 < argc && argv[i + 1][0] != '-') return strtol(argv[++i], nullptr, 10);
    return fallback;
}

}  // namespace

int main(int argc, char** argv) {
    enum { kMeasure, kSoak, kProbe } mode = kMeasure;
    long calls = 0;
    int repetitions = 7;
    double minTime = 0.2;
    // The repetitions of all the benchmarks run interleaved at random, so that a call and its floor
    // are measured under the same conditions on a machine whose speed drifts over minutes (a flag
    // given on the command line comes later and wins).
    static char kInterleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> rest{argv[0], kInterleave};
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--soak") == 0) {
            mode = kSoak;
            calls = CountArgument(i, argc, argv, 1000000);
        } else if (strcmp(argv[i], "--syscall-probe") == 0) {
            mode = kProbe;
            calls = CountArgument(i, argc, argv, 100000);
        } else if (strncmp(argv[i], "--repetitions=", 14) == 0) {
            repetitions = atoi(argv[i] + 14);
        } else if (strncmp(argv[i], "--min-time=", 11) == 0) {
            minTime = atof(argv[i] + 11);
        } else {
            rest.push_back(argv[i]);
        }
    }
    if (!LoadMonitor()) return 2;
    switch (mode) {
        case kSoak: return Soak(calls);
        case kProbe: return SyscallProbe(calls);
        default: {
            int n = static_cast<int>(rest.size());
            rest.push_back(nullptr);
            return RunBenchmarks(n, rest.data(), repetitions, minTime);
        }
    }
}
