// What a start-up failure, an error without names files, a missing font and
// a tool's failed write tell the author, in English on standard error.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asm/assembler.h"
#include "files/pack.h"
#include "support/run_program.h"

namespace qln {
namespace {

std::vector<uint8_t> packed(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out;
    EXPECT_TRUE(pack_layout(raw.data(), raw.size(), out));
    return out;
}

TEST(StartupWhy, EachCandidateIsNamedWithWhyItWasRefused) {
    std::vector<uint8_t> raw, file;
    AsmError error;
    ASSERT_TRUE(assemble(".code\n  win_close 7\n  end\n", raw, error));
    ASSERT_TRUE(assemble_packed(".code\n  win_close 7\n  end\n", file, error));
    // Header word 12; a "B" record at 5 whose next-record offset is wrong.
    const std::vector<uint8_t> bad_record = {'Q', 'L', 'N', 12, 0, 'B', 99, 0, 1, 0, 0, 0, 14, 0};
    const std::pair<std::vector<uint8_t>, const char*> cases[] = {
        {{}, "candidate start_up.qln: not found"},
        {{1, 2, 3, 4, 5}, "start_up.qln: not packed: its packed layout states 1027 bytes"},
        {raw, "start_up.qln: not packed: a raw scenario image"},
        {packed({'X', 'Y', 'Z', 1, 2, 3, 4, 5}), "start_up.qln: not a scenario image"},
        {packed(bad_record), "start_up.qln: a bad settings record at offset 5"},
        // Runs: without names files the error line ends with a hint.
        {file,
         "answer=stop hint=\"command win_close (no line 95 in QLN_CMDN.TXT); error 106: "
         "no such window"},
    };
    for (const auto& [start_up, line] : cases) {
        test::TempDir dir;
        if (!start_up.empty()) dir.write("start_up.qln", start_up);
        const test::RunResult r =
            test::run_program("quillon", {"--headless", "--game", dir.str()}, dir);
        EXPECT_NE(r.err.find(line), std::string::npos) << r.err;
    }
}

// Nothing to start (also once a refused start-up file is ignored): the last
// line says where nothing was found and what to do.
TEST(StartupWhy, TheLastLineSaysWhatToDo) {
    const bool demo_built =
        test::slurp(std::string(QUILLON_BIN_DIR) + "/games/demo/start_up.qln").size() > 0;
    const std::string demo =
        demo_built ? std::string(QUILLON_BIN_DIR) + "/games/demo" : "build/games/demo once built";
    for (const std::vector<std::string>& extra :
         {std::vector<std::string>{}, std::vector<std::string>{"--answer", "yes", "missing.qln"}}) {
        test::TempDir dir;
        std::vector<std::string> args{"--headless", "--game", dir.str()};
        args.insert(args.end(), extra.begin(), extra.end());
        const test::RunResult r = test::run_program("quillon", args, dir);
        EXPECT_EQ(r.status, 1);
        const size_t last = r.err.rfind('\n', r.err.size() - 2);
        EXPECT_EQ(r.err.substr(last + 1),
                  "quillon: no start-up scenario in " + dir.str() +
                      ": pass a game folder with --game DIR (the demo game: --game " + demo +
                      "), or assemble one there with qlnasm -o start_up.qln start_up.qasm\n");
    }
}

TEST(StartupWhy, WithoutAnyFontThePlayerIsToldWhatToInstall) {
    test::TempDir dir;
    std::vector<uint8_t> file;
    AsmError error;
    ASSERT_TRUE(assemble_packed(".code\n  end\n", file, error));
    dir.write("start_up.qln", file);
    const std::string conf = dir.write(
        "fc.conf",
        std::vector<uint8_t>{'<', 'f', 'o', 'n', 't', 'c', 'o', 'n', 'f', 'i', 'g', '/', '>'});
    const std::string cmd = "FONTCONFIG_FILE=" + test::shell_quote(conf) + " " +
                            test::shell_quote(std::string(QUILLON_BIN_DIR) + "/quillon") +
                            " --headless --game " + test::shell_quote(dir.str()) + " 2>" +
                            test::shell_quote(dir.str() + "/err.txt");
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    const std::string err = test::slurp(dir.str() + "/err.txt");
    EXPECT_NE(err.find("message box: No font was found, so no text can be shown.\\nInstall the "
                       "packages fonts-ipafont-gothic"),
              std::string::npos)
        << err;
}

TEST(ToolErrors, AFileThatCannotBeWrittenIsNamedWithTheCause) {
    test::TempDir dir;
    const std::string out = dir.str() + "/missing/a.qln";
    const std::string source =
        dir.write("a.q", std::vector<uint8_t>{'.', 'c', 'o', 'd', 'e', '\n'});
    const test::RunResult r = test::run_program("qlnasm", {source, "-o", out}, dir);
    EXPECT_NE(r.err.find("qlnasm: cannot write " + out + ": No such file or directory"),
              std::string::npos)
        << r.err;
}

}  // namespace
}  // namespace qln
