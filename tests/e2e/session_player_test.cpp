// The session player driving the built module and the simulated scanner: every call of a
// session reaches the log in order, with the states of a real scan, the failures marked, and
// nothing on standard output unless asked for.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ModuleHarness.h"

using harness::Occurrences;

namespace {

struct PlayerRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the session player with the arguments, capturing its output.
PlayerRun RunPlayer(const std::vector<std::string>& arguments) {
    PlayerRun run;
    char szDir[] = "/tmp/twainmon-player.XXXXXX";
    if (mkdtemp(szDir) == nullptr) return run;
    const std::string outPath = std::string(szDir) + "/out", errPath = std::string(szDir) + "/err";
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        std::vector<char*> argv = {const_cast<char*>(TWAINMON_SESSIONPLAYER_PATH)};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    run.out = harness::ReadFile(outPath);
    run.err = harness::ReadFile(errPath);
    unlink(outPath.c_str());
    unlink(errPath.c_str());
    rmdir(szDir);
    return run;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The calls the player reports with -v: "   n DG/DAT/MSG[ (cap)] -> TWRC_x".
struct PlayedCall {
    std::string triplet;
    std::string rc;
};

std::vector<PlayedCall> PlayedCalls(const std::string& out) {
    static const std::regex kLine(" *(\\d+) (.+) -> (\\S+)");
    std::vector<PlayedCall> calls;
    for (const std::string& line : SplitLines(out)) {
        std::smatch m;
        EXPECT_TRUE(std::regex_match(line, m, kLine)) << line;
        EXPECT_EQ(std::stoul(m[1]), calls.size() + 1) << line;
        calls.push_back(PlayedCall{m[2], m[3]});
    }
    return calls;
}

// The triplet lines of a log, in order, checking their numbering.
std::vector<std::string> LoggedTriplets(const std::string& log) {
    static const std::regex kTriplet("\\[(\\d{5,})\\] \\[APP\\] ([^\r\n]*)\r\n");
    std::vector<std::string> triplets;
    for (std::sregex_iterator it(log.begin(), log.end(), kTriplet), end; it != end; ++it) {
        EXPECT_EQ(std::stoul((*it)[1]), triplets.size() + 1);
        triplets.push_back((*it)[2]);
    }
    return triplets;
}

// The tracked states of a log, with repeats of the same state folded.
std::vector<int> StateChanges(const std::string& log) {
    static const std::regex kState("\r\nTWAIN Status = \\[(\\d+)\\]\r\n");
    std::vector<int> states;
    for (std::sregex_iterator it(log.begin(), log.end(), kState), end; it != end; ++it) {
        const int state = std::stoi((*it)[1]);
        if (states.empty() || states.back() != state) states.push_back(state);
    }
    return states;
}

class SessionPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness::InstallScanner();
        harness::MakeEmptyLogFolder();
    }
    void TearDown() override { harness::RemoveLogFolder(); }

    // Plays a session with -v and checks that every call but the unclaimed events is in the
    // log, in the order played.
    std::vector<PlayedCall> PlayAndCompare(const std::string& session, std::string* pLog) {
        const PlayerRun run = RunPlayer({"-v", TWAINMON_MODULE_PATH, session});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "Close Log File.\n");
        const std::vector<PlayedCall> calls = PlayedCalls(run.out);
        *pLog = harness::ReadOnlyLog();
        std::vector<std::string> shown;
        for (const PlayedCall& call : calls) {
            if (call.triplet.find("MSG_PROCESSEVENT") == std::string::npos) shown.push_back(call.triplet);
        }
        EXPECT_EQ(LoggedTriplets(*pLog), shown);
        EXPECT_EQ(Occurrences(*pLog, "Size of CAP_xxx too long"), 0u);
        return calls;
    }
};

}  // namespace

TEST_F(SessionPlayerTest, ScanSessionPassesThroughTheStatesOfAScan) {
    std::string log;
    const std::vector<PlayedCall> calls = PlayAndCompare("scan", &log);
    ASSERT_EQ(calls.size(), 49u);
    for (const PlayedCall& call : calls) {
        const bool bEvent = call.triplet.find("MSG_PROCESSEVENT") != std::string::npos;
        const bool bStrip = call.triplet == "DG_IMAGE/DAT_IMAGEMEMXFER/MSG_GET";
        if (!bEvent && !bStrip) {
            EXPECT_EQ(call.rc, "TWRC_SUCCESS") << call.triplet;
        }
    }
    EXPECT_EQ(calls[36].rc, "TWRC_DSEVENT");  // the page, after five of the host's own events
    EXPECT_EQ(calls[44].rc, "TWRC_XFERDONE");  // the fifth strip is the last
    // Opened from 3, enabled, page ready, transferring, ended with no more pages, disabled,
    // closed, the manager closed.
    EXPECT_EQ(StateChanges(log), (std::vector<int>{3, 4, 5, 6, 7, 5, 4, 3, 2}));
    EXPECT_EQ(Occurrences(log, "*** Inspect Error Status Start ***"), 0u);
}

TEST_F(SessionPlayerTest, ErrorSessionMarksEachFailureAndReportsItsCondition) {
    std::string log;
    const std::vector<PlayedCall> calls = PlayAndCompare("error", &log);
    size_t nFailures = 0;
    for (const PlayedCall& call : calls) nFailures += call.rc == "TWRC_FAILURE" ? 1 : 0;
    EXPECT_EQ(nFailures, 6u);
    EXPECT_EQ(Occurrences(log, "*** Inspect Error Status Start ***\r\n*** Inspect Error Status End   ***\r\n"), 6u);

    static const std::regex kCondition("    ConditionCode = \\[(\\w+)\\]\r\n");
    std::vector<std::string> conditions;
    for (std::sregex_iterator it(log.begin(), log.end(), kCondition), end; it != end; ++it) {
        conditions.push_back((*it)[1]);
    }
    EXPECT_EQ(conditions, (std::vector<std::string>{"TWCC_CAPUNSUPPORTED", "TWCC_SUCCESS", "TWCC_BADVALUE",
                                                     "TWCC_CAPBADOPERATION", "TWCC_SEQERROR", "TWCC_SEQERROR",
                                                     "TWCC_SEQERROR"}));
}

TEST_F(SessionPlayerTest, AllSessionReachesEveryDatTheScannerAnswers) {
    std::string log;
    const std::vector<PlayedCall> calls = PlayAndCompare("all", &log);
    for (const PlayedCall& call : calls) {
        EXPECT_NE(call.rc, "TWRC_FAILURE") << call.triplet;
    }
    for (const char* dat : {"DAT_CAPABILITY", "DAT_IDENTITY", "DAT_PARENT", "DAT_PENDINGXFERS",
                            "DAT_SETUPMEMXFER", "DAT_SETUPFILEXFER", "DAT_USERINTERFACE",
                            "DAT_XFERGROUP", "DAT_CUSTOMDSDATA", "DAT_IMAGEINFO", "DAT_IMAGELAYOUT",
                            "DAT_IMAGEMEMXFER", "DAT_IMAGENATIVEXFER", "DAT_IMAGEFILEXFER", "DAT_CIECOLOR",
                            "DAT_GRAYRESPONSE", "DAT_RGBRESPONSE", "DAT_JPEGCOMPRESSION", "DAT_PALETTE8",
                            "DAT_EXTIMAGEINFO", "DAT_ZV_AUTOEXPOSURE", "DAT_ZV_RGBMATRIX", "DAT_ZV_COLORSMOOTHING",
                            "DAT_ZV_HARDWAREINFO", "DAT_ZV_SKEWINFO", "DAT_ZV_UNSHARPMASKPARAM",
                            "DAT_ZV_SETTINGFRAME", "DAT_ZV_USMINFO"}) {
        EXPECT_NE(log.find(std::string("/") + dat + "/"), std::string::npos) << dat;
    }
    // Four pages announced (the click on the scanner's dialog is claimed but not shown), three
    // transferred (memory, native, file) and one refused.
    EXPECT_EQ(Occurrences(log, "        Return Code = [TWRC_DSEVENT]\r\n"), 4u);
    EXPECT_EQ(Occurrences(log, "        Return Code = [TWRC_XFERDONE]\r\n"), 3u);
    EXPECT_EQ(Occurrences(log, "[APP] DG_CONTROL/DAT_PENDINGXFERS/MSG_RESET\r\n"), 1u);
}

TEST_F(SessionPlayerTest, PrintsNothingWithoutVerboseAndRefusesBadCommandLines) {
    const PlayerRun quiet = RunPlayer({TWAINMON_MODULE_PATH, "scan"});
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(quiet.err, "Close Log File.\n");

    const PlayerRun noArguments = RunPlayer({});
    EXPECT_EQ(noArguments.exitCode, 2);
    EXPECT_NE(noArguments.err.find("usage:"), std::string::npos);
    EXPECT_EQ(RunPlayer({TWAINMON_MODULE_PATH, "scan", "extra"}).exitCode, 2);
    EXPECT_EQ(RunPlayer({TWAINMON_MODULE_PATH, "dance"}).exitCode, 1);
    const PlayerRun noModule = RunPlayer({"/nonexistent/TwainMonitor.ds", "scan"});
    EXPECT_EQ(noModule.exitCode, 1);
    EXPECT_NE(noModule.err.find("cannot load"), std::string::npos);
}
