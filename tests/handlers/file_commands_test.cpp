// File facts, writes, directories, free space, existence tests, the
// open-file dialog and path splitting, on files in a temporary directory.

#include "commands/command_table.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
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

std::vector<uint8_t> bytes(std::initializer_list<int> list) {
    std::vector<uint8_t> out;
    for (int b : list) out.push_back(uint8_t(b));
    return out;
}

// A machine working in a fresh directory, answering Continue to errors.
struct FileMachine : test::Machine {
    test::TempDir dir;
    test::CwdGuard cwd{dir.path()};
    FileMachine() { platform.stop_on_error = false; }

    // "NUMBER DETAIL" of the error reported since the last look, or "".
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
    void preset_results(int from, int to, int32_t value) {
        for (int n = from; n <= to; ++n) result_set(engine, n, value);
    }
};

// Local time, in a zone nine hours ahead of UTC, for as long as it lives.
struct JapanTime {
    std::string saved;
    bool had = false;
    JapanTime() {
        if (const char* tz = std::getenv("TZ")) saved = tz, had = true;
        setenv("TZ", "JST-9", 1);
        tzset();
    }
    ~JapanTime() {
        had ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
        tzset();
    }
};

TEST(FileInfo, GivesTheLocalTimeTheSizeAndTheHeaderAsBigEndianWords) {
    FileMachine m;
    JapanTime jst;
    const std::string path = m.dir.write("sub/Head.bin", bytes({0x12, 0x34, 0x56, 0x78, 0x9A}));
    // 1971-01-01 01:02:03 UTC is 10:02:03 in Japan.
    const utimbuf when{31536000 + 3723, 31536000 + 3723};
    ASSERT_EQ(utime(path.c_str(), &when), 0);
    sysstr_set(m.engine, 2, "sub\\");
    m.preset_results(1, 63, 77);
    ASSERT_EQ(cmd_file_info(m.engine, args_of("head.BIN", 2)), 0);
    const std::vector<int32_t> expected = {1971, 1, 1, 10, 2, 3, 5, 0x1234, 0x5678, 0x9A00, 0};
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(m.reg(i + 1), expected[i]) << i + 1;
    EXPECT_EQ(m.reg(39), 0);   // the 32nd word
    EXPECT_EQ(m.reg(40), 77);  // no 33rd

    m.preset_results(1, 3, 77);
    ASSERT_EQ(cmd_file_info(m.engine, args_of("missing.bin", -1)), 0);
    EXPECT_EQ(m.reg(1), -1);
    EXPECT_EQ(m.reg(2), 77);
    // A directory is no file.
    ASSERT_EQ(cmd_file_info(m.engine, args_of("sub", -1)), 0);
    EXPECT_EQ(m.reg(1), -1);
}

TEST(FileInfo, SetsOnlyTheWordsThereAreRegistersFor) {
    test::TempDir dir;
    test::CwdGuard cwd(dir.path());
    test::Machine m([](Settings& s) { s.result_register_count = 10; });
    dir.write("h.bin", bytes({1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(cmd_file_info(m.engine, args_of("h.bin", -1)), 0);
    EXPECT_EQ(m.reg(8), 0x0102);
    EXPECT_EQ(m.reg(9), 0x0304);
    EXPECT_EQ(m.reg(7), 6);
}

TEST(FileWrite, WritesTheFirstSizeBytesOverTheOldFileOrReportsWhy) {
    FileMachine m;
    ASSERT_TRUE(buf_new_raw(m.engine, 5, 6));
    uint8_t* raw = buf_get_raw(m.engine, 5);
    for (int i = 0; i < 6; ++i) raw[i] = uint8_t(0xA0 + i);
    m.dir.write("save/S1.DAT", std::vector<uint8_t>(100, 0xEE));
    sysstr_set(m.engine, 1, "save\\");
    ASSERT_EQ(cmd_file_write(m.engine, args_of("s1.dat", 5, 4, 1, 0)), 0);
    EXPECT_EQ(m.last_error(), "");
    EXPECT_EQ(m.file("save/S1.DAT"), bytes({0xA0, 0xA1, 0xA2, 0xA3}));
    EXPECT_FALSE(fs::exists(m.dir.path() / "save/s1.dat"));
    ASSERT_EQ(cmd_file_write(m.engine, args_of("empty.dat", 5, 0, -1, 0)), 0);
    EXPECT_EQ(m.file("empty.dat"), bytes({}));

    ASSERT_TRUE(buf_new_picture(m.engine, 6, 2, 2));
    const struct {
        int32_t buf_no, size;
        const char* name;
        std::string error;
    } failures[] = {
        {6, 1, "p.dat", "109 buf_no = 6"},
        {7, 1, "p.dat", "109 buf_no = 7"},
        {5, 7, "p.dat", "110 buf_no = 5"},
        {5, -1, "p.dat", "110 buf_no = 5"},
        {5, 2, "nodir\\p.dat", "111 File:nodir\\p.dat"},
    };
    for (const auto& f : failures) {
        EXPECT_LE(cmd_file_write(m.engine, args_of(f.name, f.buf_no, f.size, -1, 0)), -100);
        EXPECT_EQ(m.last_error(), f.error);
    }
    EXPECT_FALSE(fs::exists(m.dir.path() / "p.dat"));
}

TEST(DirCommands, CurrentDirectoryRemovalAndSystemStrings) {
    FileMachine m;
    fs::create_directories(m.dir.path() / "Sub/full");
    std::string here;
    ASSERT_TRUE(host_path_to_scenario(fs::current_path().string(), here));
    ASSERT_EQ(cmd_dir_get(m.engine, args_of()), 0);
    EXPECT_EQ(m.str(0), here + "\\");
    EXPECT_EQ(here.rfind("C:\\", 0), 0u);

    ASSERT_EQ(cmd_dir_set(m.engine, args_of("sub")), 0);
    ASSERT_EQ(cmd_dir_get(m.engine, args_of()), 0);
    EXPECT_EQ(m.str(0), here + "\\Sub\\");
    EXPECT_LE(cmd_dir_set(m.engine, args_of("nowhere")), -100);
    EXPECT_EQ(m.last_error(), "107 ");
    ASSERT_EQ(cmd_dir_set(m.engine, args_of("..")), 0);

    // Not empty, then empty, then gone: strict only reports the failure.
    ASSERT_EQ(cmd_dir_remove(m.engine, args_of("SUB", 0)), 0);
    EXPECT_EQ(m.reg(1), 0);
    ASSERT_EQ(cmd_dir_remove(m.engine, args_of("sub\\FULL", 0)), 0);
    EXPECT_EQ(m.reg(1), 1);
    EXPECT_FALSE(fs::exists(m.dir.path() / "Sub/full"));
    result_set(m.engine, 1, 9);
    ASSERT_EQ(cmd_dir_remove(m.engine, args_of("sub", 1)), 0);
    EXPECT_EQ(m.reg(1), 9);
    EXPECT_LE(cmd_dir_remove(m.engine, args_of("sub", 1)), -100);
    EXPECT_EQ(m.last_error(), "107 Dir:sub");

    ASSERT_EQ(cmd_path_set(m.engine, args_of(3, "C:\\GAME\\")), 0);
    EXPECT_STREQ(sysstr_get(m.engine, 3), "C:\\GAME\\");
    ASSERT_EQ(cmd_path_set(m.engine, args_of(m.engine.settings.system_string_count, "x")), 0);
}

TEST(DiskFree, QueriesTheCurrentDriveOrALetterAndFailsForNoDrive) {
    FileMachine m;
    for (int32_t drive : {0, 3}) {
        m.preset_results(1, 3, 77);
        ASSERT_EQ(cmd_disk_free(m.engine, args_of(drive)), 0);
        EXPECT_EQ(m.reg(2), 0) << drive;
        EXPECT_NE(m.reg(3), 77) << drive;
    }
    for (int32_t drive : {-3, 27, 1000}) {
        ASSERT_EQ(cmd_disk_free(m.engine, args_of(drive)), 0);
        EXPECT_EQ(std::vector<int32_t>({m.reg(1), m.reg(2), m.reg(3)}),
                  std::vector<int32_t>({0, 1, 0}))
            << drive;
    }
}

TEST(FileExists, FindsFilesAndDirectoriesByNameOrPattern) {
    FileMachine m;
    m.dir.write("data/Save1.DAT", bytes({1}));
    m.dir.write("data/notes.txt", bytes({1}));
    const struct {
        const char* path;
        int32_t found;
    } cases[] = {
        {"data\\save1.dat", 1},
        {"DATA\\SAVE?.DAT", 1},
        {"data\\*.dat", 1},
        {"data\\*.bmp", 0},
        {"data", 1},
        {"data\\", 1},
        {"data\\save2.dat", 0},
        {"*", 1},
        {"", 0},
    };
    for (const auto& c : cases) {
        result_set(m.engine, 1, 7);
        ASSERT_EQ(cmd_file_exists(m.engine, args_of(c.path)), 0);
        EXPECT_EQ(m.reg(1), c.found) << c.path;
    }
}

TEST(PathSplit, SetsBothPartsAndTheDriveNumber) {
    FileMachine m;
    // "表" (0x95 0x5C) ends with the byte of a backslash.
    ASSERT_EQ(cmd_path_split(m.engine, args_of("c:\\\x95\x5C\\\x95\x5C.dat")), 0);
    EXPECT_EQ(m.str(0), "c:\\\x95\x5C\\");
    EXPECT_EQ(m.str(1), "\x95\x5C.dat");
    EXPECT_EQ(m.reg(1), 3);
}

TEST(FileDialog, PassesFilterPairsAndTheFileAndAcceptsOnlyWhatMayBeOpened) {
    FileMachine m;
    m.dir.write("saves/s1.sav", bytes({1}));
    std::string saves;
    ASSERT_TRUE(host_path_to_scenario(m.dir.str() + "/saves", saves));
    const struct {
        std::optional<std::string> answer;
        int32_t flags;
        int32_t chosen;
    } cases[] = {
        {saves + "\\s1.sav", 0, 1},        {saves + "\\new.sav", 0, 0},  // must exist
        {saves + "\\new.sav", 1, 1},  // may be new, in an existing directory
        {saves + "\\none\\new.sav", 1, 0}, {std::nullopt, 0, 0},  // Cancel
    };
    for (const auto& c : cases) {
        m.platform.file_dialog_answer = c.answer;
        str_set(m.engine, 0, "before");
        ASSERT_EQ(cmd_file_dialog(
                      m.engine, args_of("Load", "Saves|*.sav|All|*.*||", "s1.sav", "sav", c.flags)),
                  0);
        EXPECT_EQ(m.reg(1), c.chosen) << c.answer.value_or("cancel");
        EXPECT_EQ(m.str(0), c.chosen ? *c.answer : "before");
    }
    ASSERT_FALSE(m.platform.file_dialogs.empty());
    EXPECT_EQ(m.platform.file_dialogs[0].first, "Saves|*.sav|All|*.*|");
    EXPECT_EQ(m.platform.file_dialogs[0].second, "s1.sav");

    // The file to start with fits the 256-byte buffer whole: 254 bytes and a
    // double-byte character that would not fit are cut before it.
    const std::string file = std::string(254, 'a') + "\x95\x5C" + "b";
    ASSERT_EQ(cmd_file_dialog(m.engine, args_of("", "", file.c_str(), "", 0)), 0);
    EXPECT_EQ(m.platform.file_dialogs.back().second, std::string(254, 'a'));
}

}  // namespace
}  // namespace qln
