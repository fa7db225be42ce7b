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

using Bytes = std::vector<uint8_t>;
using qln::test::RunResult;
using qln::test::slurp;

class QlnpackTest : public ::testing::Test {
  protected:
    qln::test::TempDir dir;

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

TEST_F(QlnpackTest, FailuresNameTheFileAndExitWithOne) {
    dir.write("big.bin", Bytes(70000, 1));
    RunResult r = run({"pack", path("big.cmp"), path("big.bin")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("big.bin"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("65,535"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(path("big.cmp")));

    r = run({"gpc7", path("c.gpc"), path("nope.bin")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("nope.bin"), std::string::npos) << r.err;

    dir.write("junk.bin", {'J', 'U', 'N', 'K', 0, 0, 0, 0});
    r = run({"list", path("junk.bin")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not an archive"), std::string::npos) << r.err;

    dir.write("bad.cmp", {6, 0, 5, 0, 0x10, 'a', 'b', 'c', 0x20, 0x00});
    r = run({"unpack", path("bad.out"), path("bad.cmp")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("bad.cmp"), std::string::npos) << r.err;

    // A damaged entry in a listing.
    Bytes gpc = {'G',  'p', 'c', '7', 2, 0, 0, 0, 16, 0, 0, 0,
                 0xFF, 0,   0,   0,   0, 0, 0, 0, 0,  0, 0, 0};
    dir.write("dmg.gpc", gpc);
    r = run({"list", path("dmg.gpc")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "1 0 0\n");
    EXPECT_NE(r.err.find("entry 2"), std::string::npos) << r.err;
}

TEST_F(QlnpackTest, UsageErrorsExitWithTwo) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"frobnicate"},
                                               {"gpc7", "x.gpc"},
                                               {"pack", "x"},
                                               {"extract", "x", "0", "y"},
                                               {"extract", "x", "65536", "y"},
                                               {"extract", "x", "-1", "y"}})
        EXPECT_EQ(run(args).status, 2) << (args.empty() ? "" : args[0]);
    const RunResult help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"gpc7", "qscf", "pack", "unpack", "list", "extract"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
}

}  // namespace
