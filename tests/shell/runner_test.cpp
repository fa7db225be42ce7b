// The runner as a program: exit statuses and the lines it prints.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "asm/assembler.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

struct RunResult {
    int status = -1;
    std::string out;  // standard output and standard error together
};

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// without_display hides the desktop from the program, as on a server.
RunResult run(const std::vector<std::string>& args, const std::string& cwd = "",
              bool without_display = false) {
    std::string cmd = quote(std::string(QUILLON_BIN_DIR) + "/quillon");
    if (without_display) cmd = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " + cmd;
    for (const std::string& a : args) cmd += " " + quote(a);
    cmd += " 2>&1";
    if (!cwd.empty()) cmd = "cd " + quote(cwd) + " && " + cmd;
    RunResult r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

void write_scenario(const test::TempDir& dir, const std::string& name, const char* source) {
    std::vector<uint8_t> file;
    AsmError error;
    ASSERT_TRUE(assemble_packed(source, file, error)) << error.message;
    dir.write(name, file);
}

void write_text(const test::TempDir& dir, const std::string& name, const std::string& text) {
    dir.write(name, std::vector<uint8_t>(text.begin(), text.end()));
}

TEST(Runner, HelpDocumentsTheOptionsAndExitStatuses) {
    const RunResult r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* word :
         {"--game", "--headless", "--virtual-clock", "--clock-start", "--real-clock", "--input",
          "--on-error", "--answer", "--file-dialog", "--dump-screen", "--max-ms", "--display-bpp",
          "--display-size", "24-bit BMP", "Exit status"}) {
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
    }
}

TEST(Runner, UsageErrorsExitWithTwoAndSayWhatIsWrong) {
    test::TempDir dir;
    write_text(dir, "bad.txt", "0 close\n10 fly away\n");
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--bogus"}, "quillon: unknown option \"--bogus\""},
        {{"--input"}, "quillon: --input needs a value"},
        {{"--input", dir.str() + "/missing.txt"}, "--input: cannot read the file"},
        {{"--input", dir.str() + "/bad.txt"}, "bad.txt:2: unknown event \"fly\""},
        {{"--game", dir.str() + "/none"}, "--game: no directory"},
        {{"--on-error", "maybe"}, "--on-error: \"maybe\" is neither stop nor continue"},
        {{"--display-size", "640"}, "--display-size: \"640\" is not WIDTHxHEIGHT"},
        {{"--max-ms", "-1"}, "--max-ms: \"-1\" is not a tick count"},
        {{"--virtual-clock", "--real-clock"}, "exclude each other"},
        {{"a.qln", "b.qln"}, "more than one start-up file"},
        {{"--dump-screen", dir.str() + "/no/dir/x.bmp"}, "--dump-screen: no directory"},
    };
    for (const Case& c : cases) {
        const RunResult r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
    }
}

TEST(Runner, NoStartUpScenarioExitsWithOneAndNamesTheCandidates) {
    test::TempDir dir;
    const RunResult r = run({"--headless", "--game", dir.str()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("message box: 有効なスタートアップシナリオが見つかりません。"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("start_up.gpc（エントリ1）"), std::string::npos);
}

TEST(Runner, AStartUpFileThatIsNoScenarioAsksAndNoEndsTheRun) {
    test::TempDir dir;
    write_scenario(dir, "start_up.qln", ".code\n  end\n");
    RunResult r = run({"--headless", "--game", dir.str(), "missing.qln"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(
        r.out.substr(r.out.find("question: ")),
        "question: 指定されたスタートアップシナリオが有効ではない。\\nFILE:[missing.qln]\\n\\n"
        "ファイル指定を無視して続行しますか？ answer=no\n");
    // Yes goes on with the candidates.
    r = run({"--headless", "--game", dir.str(), "--answer", "yes", "missing.qln"});
    EXPECT_EQ(r.status, 0) << r.out;
}

TEST(Runner, StopAtAScenarioErrorExitsWithFourAndContinueGoesOn) {
    test::TempDir dir;
    // 0x2A is no command: error 100.
    write_scenario(dir, "start_up.qln", ".code\n  .bytes 0x2A\n  end\n");
    RunResult r = run({"--headless", "--game", dir.str()});
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.out.find("scenario error: command=0x2a error=100 name=\"\" text=\"\" detail=\"\" "
                         "answer=stop hint=\""),
              std::string::npos)
        << r.out;
    r = run({"--headless", "--game", dir.str(), "--on-error", "continue"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("answer=continue"), std::string::npos) << r.out;
}

TEST(Runner, TheTimeLimitEndsARunThatWaitsForever) {
    test::TempDir dir;
    write_scenario(dir, "start_up.qln", ".code\nloop:\n  jump loop\n");
    // Minimised for good: the virtual clock moves on to the limit by itself.
    write_text(dir, "input.txt", "0 minimize\n");
    RunResult r = run({"--headless", "--game", dir.str(), "--input", dir.str() + "/input.txt",
                       "--max-ms", "5000"});
    EXPECT_EQ(r.status, 3) << r.out;
    EXPECT_NE(r.out.find("quillon: --max-ms 5000 reached"), std::string::npos) << r.out;
    // A busy loop never moves the virtual clock; the real one ends it.
    r = run({"--headless", "--real-clock", "--game", dir.str(), "--max-ms", "50"});
    EXPECT_EQ(r.status, 3) << r.out;
}

TEST(Runner, ClosingTheWindowEndsTheRunWithZero) {
    test::TempDir dir;
    write_scenario(dir, "start_up.qln", ".code\nloop:\n  jump loop\n");
    write_text(dir, "input.txt", "0 close\n");
    const RunResult r = run({"--headless", "--game", dir.str(), "--input", "input.txt"}, dir.str());
    EXPECT_EQ(r.status, 0) << r.out;
}

TEST(Runner, WithoutHeadlessItRunsHeadlessAndSaysSo) {
    test::TempDir dir;
    write_scenario(dir, "start_up.qln", ".code\n  end\n");
    const RunResult r = run({"--game", dir.str()}, "", true);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("running headless"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace qln
