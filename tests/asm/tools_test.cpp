// qlnasm and qlndis as programs: exit statuses, messages, packed and raw outputs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asm/asm_test_util.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

class Tools : public ::testing::Test {
  protected:
    // Exit status; out gets standard output and error together.
    int run(const char* tool, const std::vector<std::string>& args) {
        const test::RunResult r = test::run_program(tool, args, dir);
        out = r.out + r.err;
        return r.status;
    }

    test::TempDir dir;
    std::string out;
};

TEST_F(Tools, AssembleToPackedAndRawThenDisassembleBoth) {
    const std::string source = "    str_let 1, \"テスト テスト テスト\"\n    end\n";
    const std::string src = dir.write("game.qasm", test::Bytes(source.begin(), source.end()));
    const std::string packed = dir.str() + "/game.qln", raw = dir.str() + "/game.raw";
    ASSERT_EQ(run("qlnasm", {src}), 0) << out;
    ASSERT_EQ(run("qlnasm", {"--raw", "-o", raw, src}), 0) << out;
    const std::string image = test::slurp(raw);
    EXPECT_EQ(test::Bytes(image.begin(), image.end()), test::assemble_ok(source));
    EXPECT_NE(test::slurp(packed), image);

    ASSERT_EQ(run("qlndis", {packed}), 0) << out;
    const std::string from_packed = out;
    ASSERT_EQ(run("qlndis", {raw}), 0) << out;
    EXPECT_EQ(from_packed, out);  // the packed file unpacks to the same image
    EXPECT_NE(out.find("str_let 1, \"テスト テスト テスト\""), std::string::npos) << out;
}

TEST_F(Tools, ExitStatusesAndMessages) {
    EXPECT_EQ(run("qlnasm", {}), 2);
    EXPECT_NE(out.find("usage: qlnasm"), std::string::npos);
    EXPECT_EQ(run("qlnasm", {"--help"}), 0);
    EXPECT_EQ(run("qlnasm", {"--bogus", "x.qasm"}), 2);
    EXPECT_EQ(run("qlnasm", {dir.str() + "/missing.qasm"}), 1);
    const std::string bad = dir.write("bad.qasm", {' ', 'j', 'u', 'm', 'p', ' ', 'x', '\n'});
    EXPECT_EQ(run("qlnasm", {bad}), 1);
    EXPECT_EQ(out, bad + ":1:7: undefined label 'x'\n");

    EXPECT_EQ(run("qlndis", {}), 2);
    EXPECT_EQ(run("qlndis", {"--help"}), 0);
    EXPECT_NE(out.find("usage: qlndis"), std::string::npos);
    EXPECT_EQ(run("qlndis", {"a", "b"}), 2);
    EXPECT_EQ(run("qlndis", {dir.write("junk", {0x10, 0x00, 0x09, 0x00, 1, 2})}), 1);
    EXPECT_NE(out.find("does not match"), std::string::npos) << out;
}

}  // namespace
}  // namespace qln
