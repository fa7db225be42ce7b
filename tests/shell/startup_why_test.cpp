// A start-up failure says, in English on standard error, which candidates
// were tried and why each was refused; the message box stays as it was.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asm/assembler.h"
#include "files/pack.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

std::vector<uint8_t> packed(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out;
    EXPECT_TRUE(pack_layout(raw.data(), raw.size(), out));
    return out;
}

TEST(StartupWhy, EveryCandidateIsNamedWithTheReasonItWasRefused) {
    std::vector<uint8_t> raw;
    AsmError error;
    ASSERT_TRUE(assemble(".code\n  end\n", raw, error)) << error.message;
    // Header word 12; a "B" record at 5 whose next-record offset is wrong.
    const std::vector<uint8_t> bad_record = {'Q', 'L', 'N', 12, 0, 'B', 99, 0, 1, 0, 0, 0, 14, 0};
    std::vector<uint8_t> random(100);
    for (size_t i = 0; i < random.size(); ++i) random[i] = uint8_t(i * 37 + 11);
    struct Case {
        std::vector<uint8_t> start_up;  // empty: no file
        const char* line;
    };
    const Case cases[] = {
        {{}, "start-up candidate start_up.qln: not found"},
        {random, "start_up.qln: not packed: its packed layout states"},
        {raw, "start_up.qln: not packed: a raw scenario image"},
        {packed({'X', 'Y', 'Z', 1, 2, 3, 4, 5}), "start_up.qln: not a scenario image"},
        {packed(bad_record), "start_up.qln: a bad settings record at offset 5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        test::TempDir dir;
        if (!c.start_up.empty()) dir.write("start_up.qln", c.start_up);
        const test::RunResult r =
            test::run_program("quillon", {"--headless", "--game", dir.str()}, dir);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.line), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("start_up.gpc (entry 1): not found"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("message box: "), std::string::npos) << r.err;
    }
}

TEST(StartupWhy, AnErrorWithoutNamesFilesHintsAtTheCommandAndTheError) {
    test::TempDir dir;
    std::vector<uint8_t> file;
    AsmError error;
    ASSERT_TRUE(assemble_packed(".code\n  win_close 7\n  end\n", file, error)) << error.message;
    dir.write("start_up.qln", file);
    test::RunResult r = test::run_program("quillon", {"--headless", "--game", dir.str()}, dir);
    EXPECT_NE(r.err.find("detail=\"win_no = 7\" answer=stop hint=\"command win_close (no line 95 "
                         "in QLN_CMDN.TXT); error 106: no such window"),
              std::string::npos)
        << r.err;
    // With both lines present there is nothing to hint at.
    dir.write("QLN_CMDN.TXT", {'9', '5', ' ', 'c', '\r', '\n'});
    dir.write("QLN_ERRM.TXT", {'1', '0', '6', ' ', 'e', '\r', '\n'});
    r = test::run_program("quillon", {"--headless", "--game", dir.str()}, dir);
    EXPECT_NE(r.err.find("name=\"c\" text=\"e\" detail=\"win_no = 7\" answer=stop\n"),
              std::string::npos)
        << r.err;
    dir.write("QLN_ERRM.TXT", {'1', '0', '7', ' ', 'e', '\r', '\n'});
    r = test::run_program("quillon", {"--headless", "--game", dir.str()}, dir);
    EXPECT_NE(r.err.find("answer=stop hint=\"error 106: no such window"), std::string::npos)
        << r.err;
}

TEST(StartupWhy, WithoutAnyFontThePlayerIsToldOnceWhatToInstall) {
    test::TempDir dir;
    std::vector<uint8_t> file;
    AsmError error;
    ASSERT_TRUE(assemble_packed(".code\n  end\n", file, error)) << error.message;
    dir.write("start_up.qln", file);
    const std::string conf = "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" + dir.str() +
                             "/fc</cachedir></fontconfig>\n";
    dir.write("empty.conf", std::vector<uint8_t>(conf.begin(), conf.end()));
    const std::string cmd = "FONTCONFIG_FILE=" + test::shell_quote(dir.str() + "/empty.conf") +
                            " " + test::shell_quote(std::string(QUILLON_BIN_DIR) + "/quillon") +
                            " --headless --game " + test::shell_quote(dir.str()) + " 2>" +
                            test::shell_quote(dir.str() + "/err.txt");
    const int raw = std::system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
    const std::string err = test::slurp(dir.str() + "/err.txt");
    EXPECT_NE(err.find("quillon: No font was found"), std::string::npos) << err;
    EXPECT_NE(err.find("message box: No font was found, so no text can be shown.\\nInstall the "
                       "packages fonts-ipafont-gothic"),
              std::string::npos)
        << err;
}

TEST(ToolErrors, AFileThatCannotBeWrittenIsNamedWithTheCause) {
    test::TempDir dir;
    const std::string source =
        dir.write("a.qsrc", {'.', 'c', 'o', 'd', 'e', '\n', ' ', 'e', 'n', 'd', '\n'});
    const test::RunResult r =
        test::run_program("qlnasm", {source, "-o", dir.str() + "/missing/a.qln"}, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("qlnasm: cannot write " + dir.str() +
                         "/missing/a.qln: No such file or directory"),
              std::string::npos)
        << r.err;
}

}  // namespace
}  // namespace qln
