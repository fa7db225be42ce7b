// The built qlnpack program, read back with the engine's own reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "files/file_read.h"
#include "files/pack.h"
#include "support/packing_data.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

namespace test = qln::test;
using Bytes = std::vector<uint8_t>;
using qln::test::RunResult;
using qln::test::slurp;

class QlnpackTest : public ::testing::Test {
  protected:
    test::TempDir dir;

    std::string path(const std::string& name) const { return dir.str() + "/" + name; }
    RunResult run(const std::vector<std::string>& args) const {
        return qln::test::run_program("qlnpack", args, dir);
    }

    Bytes read_entry(const std::string& file, uint16_t entry, bool compressed = false) const {
        Bytes out;
        EXPECT_TRUE(qln::file_read_path(file.c_str(), entry, compressed, out)) << file;
        return out;
    }
};

TEST_F(QlnpackTest, Gpc7ArchiveReadsBackThroughTheEngine) {
    const Bytes picture = qln::test::picture_like(64, 48, 1);
    const Bytes noise = qln::test::matchless_bytes(300, 2);
    dir.write("pic.bin", picture);
    dir.write("noise.bin", noise);
    dir.write("empty.bin", {});
    const RunResult r =
        run({"gpc7", path("a.gpc"), path("pic.bin"), path("noise.bin"), path("empty.bin")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read_entry(path("a.gpc"), 1), picture);
    EXPECT_EQ(read_entry(path("a.gpc"), 2), noise);
    EXPECT_EQ(read_entry(path("a.gpc"), 3), Bytes{});

    // The picture shrinks; the noise stays as it is (stored = unpacked).
    const RunResult list = run({"list", path("a.gpc")});
    ASSERT_EQ(list.status, 0) << list.err;
    unsigned stored = 0;
    ASSERT_EQ(std::sscanf(list.out.c_str(), "1 %u 9216\n", &stored), 1) << list.out;
    EXPECT_LT(stored, 9216u);
    EXPECT_EQ(list.out, "1 " + std::to_string(stored) + " 9216\n2 300 300\n3 0 0\n");
}

TEST_F(QlnpackTest, QscfArchiveListAndExtract) {
    dir.write("one.txt", {'o', 'n', 'e'});
    dir.write("two.txt", {'t', 'w', 'o', '!'});
    ASSERT_EQ(run({"qscf", path("b.qsc"), path("one.txt"), path("two.txt")}).status, 0);
    EXPECT_EQ(read_entry(path("b.qsc"), 2), (Bytes{'t', 'w', 'o', '!'}));
    const RunResult list = run({"list", path("b.qsc")});
    ASSERT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "1 3 3\n2 4 4\n");

    ASSERT_EQ(run({"extract", path("b.qsc"), "1", path("x.txt")}).status, 0);
    EXPECT_EQ(slurp(path("x.txt")), "one");
    const RunResult missing = run({"extract", path("b.qsc"), "3", path("x.txt")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("b.qsc"), std::string::npos) << missing.err;
    EXPECT_EQ(slurp(path("x.txt")), "one");  // the old output is untouched
}

TEST_F(QlnpackTest, PackAndUnpackTheLayout) {
    const Bytes picture = qln::test::picture_like(80, 60, 5);
    dir.write("scene.bin", picture);
    ASSERT_EQ(run({"pack", path("scene.cmp"), path("scene.bin")}).status, 0);
    EXPECT_EQ(read_entry(path("scene.cmp"), 0, true), picture);
    ASSERT_EQ(run({"unpack", path("scene.out"), path("scene.cmp")}).status, 0);
    EXPECT_EQ(slurp(path("scene.out")), std::string(picture.begin(), picture.end()));
    // A packed file inside an archive, as scenarios ship.
    ASSERT_EQ(run({"gpc7", path("s.gpc"), path("scene.cmp")}).status, 0);
    EXPECT_EQ(read_entry(path("s.gpc"), 1, true), picture);
}

// Failures exit with 1 and name the file, usage errors exit with 2.
TEST_F(QlnpackTest, FailuresAndUsageErrors) {
    dir.write("big.bin", Bytes(70000, 1));
    dir.write("junk.bin", {'J', 'U', 'N', 'K', 0, 0, 0, 0});
    dir.write("bad.cmp", {6, 0, 5, 0, 0x10, 'a', 'b', 'c', 0x20, 0x00});
    // Two entries, the second one damaged.
    dir.write("dmg.gpc", {'G',  'p', 'c', '7', 2, 0, 0, 0, 16, 0, 0, 0,  //
                          0xFF, 0,   0,   0,   0, 0, 0, 0, 0,  0, 0, 0});
    const struct {
        std::vector<std::string> args;
        int status;
        std::vector<const char*> err;
        const char* out = "";
    } cases[] = {
        {{"pack", "big.cmp", "big.bin"}, 1, {"big.bin", "65,535"}},
        {{"gpc7", "c.gpc", "nope.bin"}, 1, {"nope.bin"}},
        {{"list", "junk.bin"}, 1, {"not an archive"}},
        {{"unpack", "bad.out", "bad.cmp"}, 1, {"bad.cmp"}},
        {{"list", "dmg.gpc"}, 1, {"entry 2"}, "1 0 0\n"},
        {{}, 2, {}},
        {{"frobnicate"}, 2, {}},
        {{"gpc7", "x.gpc"}, 2, {}},
        {{"pack", "x"}, 2, {}},
        {{"extract", "x", "0", "y"}, 2, {}},
        {{"extract", "x", "65536", "y"}, 2, {}},
        {{"extract", "x", "-1", "y"}, 2, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "" : c.args[0] + " " + c.args.back());
        test::CwdGuard cwd(dir.path());
        const RunResult r = run(c.args);
        EXPECT_EQ(r.status, c.status);
        for (const char* text : c.err) EXPECT_NE(r.err.find(text), std::string::npos) << r.err;
        EXPECT_EQ(r.out, c.out);
    }
    EXPECT_FALSE(std::filesystem::exists(path("big.cmp")));
    const RunResult help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"gpc7", "qscf", "pack", "unpack", "list", "extract"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
}

}  // namespace
