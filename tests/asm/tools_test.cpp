// qlnasm and qlndis as programs: exit statuses, messages, packed and raw outputs.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "asm/asm_test_util.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

std::string tool(const char* name) {
    return std::string(QUILLON_BIN_DIR) + "/" + name;
}

// Runs a shell command; returns its exit status and what it printed.
int run(const std::string& command, std::string& output) {
    output.clear();
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return -1;
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(Tools, AssembleToPackedAndRawThenDisassembleBoth) {
    test::TempDir dir;
    const std::string source = "    str_let 1, \"テスト テスト テスト\"\n    end\n";
    const std::string src = dir.write("game.qasm", test::Bytes(source.begin(), source.end()));
    std::string out;
    ASSERT_EQ(run(tool("qlnasm") + " " + src, out), 0) << out;
    const std::string packed = read_file(dir.str() + "/game.qln");
    ASSERT_EQ(run(tool("qlnasm") + " --raw -o " + dir.str() + "/game.raw " + src, out), 0) << out;
    const std::string raw = read_file(dir.str() + "/game.raw");
    EXPECT_EQ(test::Bytes(raw.begin(), raw.end()), test::assemble_ok(source));

    EXPECT_NE(packed, raw);
    std::string from_packed;
    std::string from_raw;
    ASSERT_EQ(run(tool("qlndis") + " " + dir.str() + "/game.qln", from_packed), 0);
    ASSERT_EQ(run(tool("qlndis") + " " + dir.str() + "/game.raw", from_raw), 0);
    EXPECT_EQ(from_packed, from_raw);  // the packed file unpacks to the same image
    EXPECT_NE(from_raw.find("str_let 1, \"テスト テスト テスト\""), std::string::npos) << from_raw;
}

TEST(Tools, ExitStatusesAndMessages) {
    test::TempDir dir;
    std::string out;
    EXPECT_EQ(run(tool("qlnasm"), out), 2);
    EXPECT_NE(out.find("usage: qlnasm"), std::string::npos);
    EXPECT_EQ(run(tool("qlnasm") + " --help", out), 0);
    EXPECT_EQ(run(tool("qlnasm") + " --bogus x.qasm", out), 2);
    EXPECT_EQ(run(tool("qlnasm") + " " + dir.str() + "/missing.qasm", out), 1);

    const std::string bad = dir.write("bad.qasm", {' ', 'j', 'u', 'm', 'p', ' ', 'x', '\n'});
    EXPECT_EQ(run(tool("qlnasm") + " " + bad, out), 1);
    EXPECT_EQ(out, bad + ":1:7: undefined label 'x'\n");

    EXPECT_EQ(run(tool("qlndis"), out), 2);
    EXPECT_EQ(run(tool("qlndis") + " --help", out), 0);
    EXPECT_NE(out.find("usage: qlndis"), std::string::npos);
    EXPECT_EQ(run(tool("qlndis") + " a b", out), 2);
    const std::string junk = dir.write("junk", {0x10, 0x00, 0x09, 0x00, 1, 2});
    EXPECT_EQ(run(tool("qlndis") + " " + junk, out), 1);
    EXPECT_NE(out.find("does not match"), std::string::npos) << out;
}

}  // namespace
}  // namespace qln
