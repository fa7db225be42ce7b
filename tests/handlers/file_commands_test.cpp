// File facts, writes, directories, free space, existence tests, the
// open-file dialog and path splitting, on files in a temporary directory.

#include "commands/command_table.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
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

// A machine working in a fresh directory.
struct FileMachine : test::Machine {
    test::TempDir dir;
    test::CwdGuard cwd{dir.path()};
    // "NUMBER DETAIL" of the error reported since the last look, or "".
    std::string last_error() {
        ScenarioErrorRecord& e = engine.interp.error;
        const std::string said =
            e.error_number ? std::to_string(e.error_number) + " " + e.detail : "";
        e.error_number = 0;
        return said;
    }
    std::string file(const std::string& relative) {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(host_file_read_all(dir.str() + "/" + relative, bytes, 1 << 20));
        return std::string(bytes.begin(), bytes.end());
    }
    std::vector<int32_t> regs(int from, int to) {
        std::vector<int32_t> out;
        for (int n = from; n <= to; ++n) out.push_back(reg(n));
        return out;
    }
    void preset(int from, int to) {
        for (int n = from; n <= to; ++n) result_set(engine, n, 77);
    }
};

TEST(FileInfo, GivesTheLocalTimeTheSizeAndTheHeaderAsBigEndianWords) {
    FileMachine m;
    const char* tz = std::getenv("TZ");
    const std::string saved_tz = tz ? tz : "";
    setenv("TZ", "JST-9", 1);  // nine hours ahead of UTC
    tzset();
    const std::string path = m.dir.write("sub/Head.bin", {0x12, 0x34, 0x56, 0x78, 0x9A});
    const utimbuf when{31536000 + 3723, 31536000 + 3723};  // 1971-01-01 01:02:03 UTC
    ASSERT_EQ(utime(path.c_str(), &when), 0);
    sysstr_set(m.engine, 2, "sub\\");
    m.preset(1, 63);
    ASSERT_EQ(cmd_file_info(m.engine, args_of("head.BIN", 2)), 0);
    tz ? setenv("TZ", saved_tz.c_str(), 1) : unsetenv("TZ");
    tzset();
    EXPECT_EQ(m.regs(1, 11),
              (std::vector<int32_t>{1971, 1, 1, 10, 2, 3, 5, 0x1234, 0x5678, 0x9A00, 0}));
    EXPECT_EQ(m.regs(39, 40), (std::vector<int32_t>{0, 77}));  // 32 words, no more

    for (const char* missing : {"missing.bin", "sub"}) {  // a directory is no file
        m.preset(1, 2);
        ASSERT_EQ(cmd_file_info(m.engine, args_of(missing, -1)), 0);
        EXPECT_EQ(m.regs(1, 2), (std::vector<int32_t>{-1, 77})) << missing;
    }
}

TEST(FileWrite, WritesTheFirstSizeBytesOverTheOldFileOrReportsWhy) {
    FileMachine m;
    ASSERT_TRUE(buf_new_raw(m.engine, 5, 6));
    for (int i = 0; i < 6; ++i) buf_get_raw(m.engine, 5)[i] = uint8_t('a' + i);
    m.dir.write("save/S1.DAT", std::vector<uint8_t>(100, 0xEE));
    sysstr_set(m.engine, 1, "save\\");
    ASSERT_EQ(cmd_file_write(m.engine, args_of("s1.dat", 5, 4, 1, 0)), 0);
    EXPECT_EQ(m.last_error(), "");
    EXPECT_EQ(m.file("save/S1.DAT"), "abcd");
    EXPECT_FALSE(fs::exists(m.dir.path() / "save/s1.dat"));

    ASSERT_TRUE(buf_new_picture(m.engine, 6, 2, 2));
    const struct {
        int32_t buf_no, size;
        const char* name;
        std::string error;
    } cases[] = {
        {5, 0, "empty.dat", ""},
        {6, 1, "p.dat", "109 buf_no = 6"},
        {7, 1, "p.dat", "109 buf_no = 7"},
        {5, 7, "p.dat", "110 buf_no = 5"},
        {5, -1, "p.dat", "110 buf_no = 5"},
        {5, 2, "nodir\\p.dat", "111 File:nodir\\p.dat"},
    };
    for (const auto& c : cases) {
        (void)cmd_file_write(m.engine, args_of(c.name, c.buf_no, c.size, -1, 0));
        EXPECT_EQ(m.last_error(), c.error);
    }
    EXPECT_TRUE(fs::exists(m.dir.path() / "empty.dat"));
    EXPECT_FALSE(fs::exists(m.dir.path() / "p.dat"));
}

TEST(DirCommands, CurrentDirectoryRemovalSystemStringsAndSplitting) {
    FileMachine m;
    fs::create_directories(m.dir.path() / "Sub/full");
    std::string here;
    ASSERT_TRUE(host_path_to_scenario(fs::current_path().string(), here));
    ASSERT_EQ(cmd_dir_set(m.engine, args_of("sub")), 0);
    ASSERT_EQ(cmd_dir_get(m.engine, args_of()), 0);
    EXPECT_EQ(m.str(0), here + "\\Sub\\");
    EXPECT_EQ(here.rfind("C:\\", 0), 0u);
    EXPECT_LE(cmd_dir_set(m.engine, args_of("nowhere")), -100);
    EXPECT_EQ(m.last_error(), "107 ");
    ASSERT_EQ(cmd_dir_set(m.engine, args_of("..")), 0);

    // Not empty, then empty, then gone: strict reports only the failure.
    const struct {
        const char* path;
        int32_t strict, r1;
        std::string error;
    } cases[] = {{"SUB", 0, 0, ""},
                 {"sub\\FULL", 0, 1, ""},
                 {"sub", 1, 77, ""},
                 {"sub", 1, 77, "107 Dir:sub"}};
    for (const auto& c : cases) {
        m.preset(1, 1);
        (void)cmd_dir_remove(m.engine, args_of(c.path, c.strict));
        EXPECT_EQ(m.reg(1), c.r1) << c.path;
        EXPECT_EQ(m.last_error(), c.error) << c.path;
    }
    EXPECT_FALSE(fs::exists(m.dir.path() / "Sub"));

    ASSERT_EQ(cmd_path_set(m.engine, args_of(3, "C:\\GAME\\")), 0);
    EXPECT_STREQ(sysstr_get(m.engine, 3), "C:\\GAME\\");
    ASSERT_EQ(cmd_path_split(m.engine, args_of("c:\\\x95\x5C\\s.dat")), 0);
    EXPECT_EQ(m.str(0) + "|" + m.str(1), "c:\\\x95\x5C\\|s.dat");
    EXPECT_EQ(m.reg(1), 3);
}

TEST(DiskFree, QueriesTheCurrentDriveOrALetterAndFailsForNoDrive) {
    FileMachine m;
    for (int32_t drive : {0, 3, -3, 27}) {
        m.preset(1, 3);
        ASSERT_EQ(cmd_disk_free(m.engine, args_of(drive)), 0);
        if (drive == 0 || drive == 3) {
            EXPECT_EQ(m.reg(2), 0) << drive;
            EXPECT_NE(m.reg(3), 77) << drive;
        } else {
            EXPECT_EQ(m.regs(1, 3), (std::vector<int32_t>{0, 1, 0})) << drive;
        }
    }
}

TEST(FileExists, FindsFilesAndDirectoriesByNameOrPattern) {
    FileMachine m;
    m.dir.write("data/Save1.DAT", {1});
    const std::pair<const char*, int32_t> cases[] = {
        {"data\\save1.dat", 1},
        {"DATA\\SAVE?.DAT", 1},
        {"data\\*.bmp", 0},
        {"data\\", 1},
        {"data\\save2.dat", 0},
        {"*", 1},
        {"", 0},
    };
    for (const auto& [path, found] : cases) {
        ASSERT_EQ(cmd_file_exists(m.engine, args_of(path)), 0);
        EXPECT_EQ(m.reg(1), found) << path;
    }
}

// "ポ" (0x83 0x7C) ends with the byte of "|": it is no separator.
TEST(FileDialog, PassesFilterPairsAndTheFileAndAcceptsOnlyWhatMayBeOpened) {
    FileMachine m;
    m.dir.write("saves/s1.sav", {1});
    std::string saves;
    ASSERT_TRUE(host_path_to_scenario(m.dir.str() + "/saves", saves));
    const struct {
        std::optional<std::string> answer;
        int32_t flags, chosen;
    } cases[] = {
        {saves + "\\s1.sav", 0, 1},        {saves + "\\new.sav", 0, 0},  // must exist
        {saves + "\\new.sav", 1, 1},  // may be new, in an existing directory
        {saves + "\\none\\new.sav", 1, 0}, {std::nullopt, 0, 0},  // Cancel
    };
    for (const auto& c : cases) {
        m.platform.file_dialog_answer = c.answer;
        str_set(m.engine, 0, "before");
        ASSERT_EQ(cmd_file_dialog(m.engine, args_of("Load", "Saves\x83\x7C|*.sav|All|*.*||",
                                                    "s1.sav", "sav", c.flags)),
                  0);
        EXPECT_EQ(m.reg(1), c.chosen) << c.answer.value_or("cancel");
        EXPECT_EQ(m.str(0), c.chosen ? *c.answer : "before");
    }
    EXPECT_EQ(m.platform.file_dialogs[0],
              std::make_pair(std::string("Saves\x83\x7C|*.sav|All|*.*|"), std::string("s1.sav")));
    // The 256-byte buffer takes 254 bytes; the double-byte character after
    // them would not fit whole.
    const std::string file = std::string(254, 'a') + "\x95\x5C" + "b";
    ASSERT_EQ(cmd_file_dialog(m.engine, args_of("", "", file.c_str(), "", 0)), 0);
    EXPECT_EQ(m.platform.file_dialogs.back().second, std::string(254, 'a'));
}

}  // namespace
}  // namespace qln
