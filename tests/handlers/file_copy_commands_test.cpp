// Copying and deleting groups of files: what lands on disk, the chunks and
// phases a progress callback sees, and the failures.

#include "commands/command_table.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/host_files.h"
#include "support/machine.h"
#include "support/temp_dir.h"
#include "windows/command_args.h"

namespace qln {
namespace {

using test::args_of;
namespace fs = std::filesystem;
using Ints = std::vector<int32_t>;

// The callback in buffer 6 counts its calls in v3[0] and keeps call n's
// done count in v3[n], its phase in v3[100 + n] and the total in v3[200];
// the last paths in s10 and s11.
constexpr char kRecorder[] =
    ".code\n  eval v3[0] += 1\n  eval v3[100 + v3[0]] = r[1]\n  eval v3[v3[0]] = r[3]\n"
    "  eval v3[200] = r[2]\n  str_let 10, s[0]\n  str_let 11, s[1]\n  end\n";

struct CopyMachine : test::ScriptedMachine {
    test::TempDir dir;
    test::CwdGuard cwd{dir.path()};
    CopyMachine() {
        EXPECT_TRUE(load_buffer(6, kRecorder));
        sysstr_set(engine, 1, "src\\");
        sysstr_set(engine, 2, "dst\\");
    }
    // Runs one command line as a scenario, so that callbacks can run in it.
    void run_line(const std::string& line) {
        ASSERT_TRUE(start(".code\n  " + line + "\n  end\n"));
        EXPECT_EQ(run(), kResultEndAll);
    }
    std::string last_error() {
        ScenarioErrorRecord& e = engine.interp.error;
        const std::string said =
            e.error_number ? std::to_string(e.error_number) + " " + e.detail : "";
        e.error_number = 0;
        return said;
    }
    std::vector<uint8_t> file(const std::string& relative) const {
        std::vector<uint8_t> out;
        EXPECT_TRUE(host_file_read_all(dir.str() + "/" + relative, out, 1 << 26)) << relative;
        return out;
    }
    // Phase and done count of the given calls of the callback (1 = first).
    Ints phases(std::initializer_list<int> calls) {
        Ints out;
        for (int n : calls) out.push_back(var(3, 100 + n));
        return out;
    }
    Ints dones(std::initializer_list<int> calls) {
        Ints out;
        for (int n : calls) out.push_back(var(3, n));
        return out;
    }
};

std::vector<uint8_t> pattern_bytes(size_t n) {
    std::vector<uint8_t> out(n);
    for (size_t i = 0; i < n; ++i) out[i] = uint8_t(i * 7 + (i >> 9));
    return out;
}

TEST(FileCopy, CopiesEveryMatchingFileIntoTheCreatedDirectoryWritable) {
    CopyMachine m;
    m.dir.write("src/A.dat", pattern_bytes(5000));
    const std::string ro = m.dir.write("src/b.DAT", {3, 4});
    m.dir.write("src/c.txt", {1});
    fs::create_directories(m.dir.path() / "src/d.dat");
    ASSERT_EQ(chmod(ro.c_str(), 0444), 0);
    ASSERT_EQ(cmd_file_copy(m.engine, args_of("*.dat", 1, 2, 0, -1, 0)), 0);
    EXPECT_EQ(m.reg(1), 0);
    EXPECT_EQ(m.file("dst/A.dat"), pattern_bytes(5000));
    EXPECT_EQ(m.file("dst/b.DAT"), (std::vector<uint8_t>{3, 4}));
    EXPECT_FALSE(fs::exists(m.dir.path() / "dst/c.txt"));
    EXPECT_FALSE(fs::exists(m.dir.path() / "dst/d.dat"));
    EXPECT_NE(fs::status(m.dir.path() / "dst/b.DAT").permissions() & fs::perms::owner_write,
              fs::perms::none);
}

TEST(FileCopy, ACallbackSeesChunksOfAFiftiethInWholeBlocks) {
    const struct {
        int32_t size, chunks, chunk;
    } cases[] = {
        {100000, 25, 4096},      // 2,000 bytes round up to one block
        {10000000, 50, 200704},  // 200,000 bytes round up to 49 blocks
    };
    for (const auto& c : cases) {
        CopyMachine m;
        m.dir.write("src/big.dat", pattern_bytes(c.size));
        m.run_line("file_copy \"BIG.DAT\", 1, 2, 1, 6, 0");
        EXPECT_EQ(m.last_error(), "");
        EXPECT_EQ(m.file("dst/big.dat"), pattern_bytes(c.size));
        const int last = c.chunks + 2;
        ASSERT_EQ(m.var(3, 0), last) << c.size;
        EXPECT_EQ(m.var(3, 200), c.size);  // the total
        EXPECT_EQ(m.phases({1, 2, last - 1, last}), (Ints{0, 1, 1, 2}));
        // The last chunk is what was left, not a whole chunk.
        EXPECT_EQ(m.dones({1, 2, 3, last - 1, last}),
                  (Ints{0, c.chunk, 2 * c.chunk, c.size, c.size}));
        EXPECT_EQ(m.str(10), "");  // no current file at the end
        EXPECT_EQ(m.str(11), "dst\\");
    }
}

TEST(FileCopy, FailuresStopTheCopyAndAreReportedByStrictness) {
    CopyMachine m;
    m.dir.write("src/a.dat", {1, 2});
    m.dir.write("src/b.dat", {3});
    // A directory where the first copy should go cannot be replaced.
    fs::create_directories(m.dir.path() / "dst/a.dat");
    ASSERT_EQ(cmd_file_copy(m.engine, args_of("*.dat", 1, 2, 0, -1, 0)), 0);
    EXPECT_EQ(m.reg(1), 1);
    EXPECT_FALSE(fs::exists(m.dir.path() / "dst/b.dat"));
    EXPECT_LE(cmd_file_copy(m.engine, args_of("*.dat", 1, 2, 1, -1, 0)), -100);
    EXPECT_EQ(m.last_error(), "111 File:dst\\a.dat");
    // A callback that cannot run: error -108 before anything is copied.
    EXPECT_LE(cmd_file_copy(m.engine, args_of("*.dat", 1, 2, 0, 9, 0)), -100);
    EXPECT_EQ(m.last_error(), "108 sub_buff = 9, entry = 0");
    EXPECT_FALSE(fs::exists(m.dir.path() / "dst/b.dat"));
    // With a callback the file that cannot be copied is passed over.
    m.run_line("file_copy \"*.dat\", 1, 2, 0, 6, 0");
    EXPECT_EQ(m.reg(1), 0);
    EXPECT_EQ(m.file("dst/b.dat"), std::vector<uint8_t>{3});
}

TEST(FileDelete, DeletesMatchingFilesWithProgressAndLeavesDirectories) {
    CopyMachine m;
    m.dir.write("src/1.sav", {1});
    const std::string ro = m.dir.write("src/2.SAV", {2});
    ASSERT_EQ(chmod(ro.c_str(), 0444), 0);
    m.dir.write("src/keep.txt", {3});
    fs::create_directories(m.dir.path() / "src/dir.sav");
    m.run_line("file_delete \"*.sav\", 1, 1, 6, 0");
    EXPECT_EQ(m.last_error(), "");
    EXPECT_FALSE(fs::exists(m.dir.path() / "src/1.sav"));
    EXPECT_FALSE(fs::exists(m.dir.path() / "src/2.SAV"));
    EXPECT_TRUE(fs::exists(m.dir.path() / "src/keep.txt"));
    EXPECT_TRUE(fs::exists(m.dir.path() / "src/dir.sav"));
    ASSERT_EQ(m.var(3, 0), 4);
    EXPECT_EQ(m.var(3, 200), 2);  // the total: files, not bytes
    EXPECT_EQ(m.phases({1, 2, 3, 4}), (Ints{0, 1, 1, 2}));
    EXPECT_EQ(m.dones({1, 2, 3, 4}), (Ints{0, 1, 2, 2}));
}

}  // namespace
}  // namespace qln
