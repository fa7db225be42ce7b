// The runner as a program: exit statuses and the lines it prints.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "asm/assembler.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

class Runner : public ::testing::Test {
  protected:
    // Runs quillon in the game directory; out holds standard output and error together.
    test::RunResult run(const std::vector<std::string>& args) {
        test::CwdGuard cwd(dir.path());
        test::RunResult r = test::run_program("quillon", args, dir);
        r.out += r.err;
        return r;
    }

    void game(const char* source, const std::string& name = "start_up.qln") {
        std::vector<uint8_t> file;
        AsmError error;
        ASSERT_TRUE(assemble_packed(source, file, error)) << error.message;
        dir.write(name, file);
    }

    void text(const std::string& name, const std::string& s) {
        dir.write(name, std::vector<uint8_t>(s.begin(), s.end()));
    }

    test::TempDir dir;
};

TEST_F(Runner, HelpAndUsageErrors) {
    const test::RunResult help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word :
         {"--game", "--headless", "--virtual-clock", "--clock-start", "--real-clock", "--input",
          "--on-error", "--answer", "--file-dialog", "--dump-screen", "--max-ms", "--display-bpp",
          "--display-size", "24-bit BMP", "Exit status"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;

    text("bad.txt", "0 close\n10 fly away\n");
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--bogus"}, "quillon: unknown option \"--bogus\""},
        {{"--input"}, "quillon: --input needs a value"},
        {{"--input", "missing.txt"}, "--input: cannot read the file"},
        {{"--input", "bad.txt"}, "bad.txt:2: unknown event \"fly\""},
        {{"--game", "none"}, "--game: no directory"},
        {{"--on-error", "maybe"}, "--on-error: \"maybe\" is neither stop nor continue"},
        {{"--display-size", "640"}, "--display-size: \"640\" is not WIDTHxHEIGHT"},
        {{"--max-ms", "-1"}, "--max-ms: \"-1\" is not a tick count"},
        {{"--virtual-clock", "--real-clock"}, "exclude each other"},
        {{"a.qln", "b.qln"}, "more than one start-up file"},
        {{"--dump-screen", "no/dir/x.bmp"}, "--dump-screen: no directory"},
    };
    for (const auto& c : cases) {
        const test::RunResult r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
    }
}

TEST_F(Runner, NoStartUpScenarioExitsWithOneAndNamesTheCandidates) {
    const test::RunResult r = run({"--headless"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("message box: 有効なスタートアップシナリオが見つかりません。"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("start_up.gpc（エントリ1）"), std::string::npos);
}

TEST_F(Runner, AStartUpFileThatIsNoScenarioAsksAndNoEndsTheRun) {
    game(".code\n  end\n");
    test::RunResult r = run({"--headless", "missing.qln"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(
        r.out.substr(r.out.find("question: ")),
        "question: 指定されたスタートアップシナリオが有効ではない。\\nFILE:[missing.qln]\\n\\n"
        "ファイル指定を無視して続行しますか？ answer=no\n");
    EXPECT_EQ(run({"--headless", "--answer", "yes", "missing.qln"}).status, 0);
}

TEST_F(Runner, StopAtAScenarioErrorExitsWithFourAndContinueGoesOn) {
    game(".code\n  .bytes 0x2A\n  end\n");  // 0x2A is no command: error 100
    test::RunResult r = run({"--headless"});
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.out.find("scenario error: command=0x2a error=100 name=\"\" text=\"\" detail=\"\" "
                         "answer=stop hint=\""),
              std::string::npos)
        << r.out;
    r = run({"--headless", "--on-error", "continue"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("answer=continue"), std::string::npos) << r.out;
}

TEST_F(Runner, TheTimeLimitOrACloseEndsARunThatWaitsForever) {
    game(".code\nloop:\n  jump loop\n");
    // Minimised for good: the virtual clock moves on to the limit by itself.
    text("minimize.txt", "0 minimize\n");
    test::RunResult r = run({"--headless", "--input", "minimize.txt", "--max-ms", "5000"});
    EXPECT_EQ(r.status, 3) << r.out;
    EXPECT_NE(r.out.find("quillon: --max-ms 5000 reached"), std::string::npos) << r.out;
    // A busy loop never moves the virtual clock; the real one ends it.
    EXPECT_EQ(run({"--headless", "--real-clock", "--max-ms", "50"}).status, 3);
    text("close.txt", "0 close\n");
    EXPECT_EQ(run({"--headless", "--input", "close.txt"}).status, 0);
}

TEST_F(Runner, WithoutADisplayItRunsHeadlessAndSaysSo) {
    game(".code\n  end\n");
    // The desktop hidden from the program, as on a server.
    std::vector<std::pair<const char*, std::string>> saved;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
        if (const char* value = std::getenv(name)) saved.emplace_back(name, value);
        unsetenv(name);
    }
    const test::RunResult r = run({"--game", dir.str()});
    for (const auto& [name, value] : saved) setenv(name, value.c_str(), 1);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("running headless"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace qln
