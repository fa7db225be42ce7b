// pic_save_bmp: the file it writes, where, and what it reports.

#include "commands/command_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "graphics/bmp_write.h"
#include "platform/host_files.h"
#include "support/machine.h"
#include "support/temp_dir.h"
#include "windows/command_args.h"

namespace qln {
namespace {

using test::args_of;

class PicSaveBmp : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.stop_on_error = false;
        engine.platform = platform.services();
        ASSERT_TRUE(tables_init(engine));
        Picture* p = buf_new_picture(engine, 4, 3, 2);
        ASSERT_NE(p, nullptr);
        for (size_t i = 0; i < 6; ++i) {
            p->pixels[3 * i] = 0x44;
            p->pixels[3 * i + 1] = 0x88;
            p->pixels[3 * i + 2] = uint8_t(0xC0 + i);
        }
    }
    std::vector<uint8_t> read(const std::string& path) {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(host_file_read_all(path, bytes, 1 << 20)) << path;
        return bytes;
    }
    std::vector<uint8_t> expected(bool eight_bit) {
        BmpFile f;
        const Picture& p = *buf_get_picture(engine, 4);
        EXPECT_TRUE(eight_bit ? bmp_encode_8(p, engine.screen.palette, f) : bmp_encode_24(p, f));
        return std::vector<uint8_t>(f.bytes.get(), f.bytes.get() + f.size);
    }

    NullPlatform platform;
    Engine engine;
    test::TempDir dir;
};

TEST_F(PicSaveBmp, Mode0WritesTheTwentyFourBitFile) {
    const std::string path = dir.str() + "/shot.bmp";
    result_set(engine, 1, 7);
    EXPECT_EQ(cmd_pic_save_bmp(engine, args_of(path.c_str(), 4, 0)), 0);
    EXPECT_EQ(result_get(engine, 1), 0);
    const std::vector<uint8_t> file = read(path);
    ASSERT_EQ(file.size(), 78u);
    EXPECT_EQ(file, expected(false));
    // Bottom row first: the first pixel of the file is pixel (0, 1).
    EXPECT_EQ(file[54], 0x44);
    EXPECT_EQ(file[55], 0x88);
    EXPECT_EQ(file[56], 0xC3);
}

TEST_F(PicSaveBmp, OtherModesWriteEightBitsWithTheDisplayPalette) {
    for (int i = 0; i < 256; ++i) {
        engine.screen.palette[i][0] = uint8_t(i);
        engine.screen.palette[i][1] = uint8_t(2 * i);
        engine.screen.palette[i][2] = uint8_t(3 * i);
    }
    const std::string path = dir.str() + "/eight.bmp";
    EXPECT_EQ(cmd_pic_save_bmp(engine, args_of(path.c_str(), 4, -3)), 0);
    EXPECT_EQ(result_get(engine, 1), 0);
    const std::vector<uint8_t> file = read(path);
    ASSERT_EQ(file.size(), 1078u + 2 * 4);
    EXPECT_EQ(file, expected(true));
    EXPECT_EQ(file[28], 8);
    EXPECT_EQ(file[54 + 4 * 7 + 0], 21);  // blue of entry 7
    EXPECT_EQ(file[54 + 4 * 7 + 2], 7);   // red of entry 7
}

TEST_F(PicSaveBmp, ReplacesAnExistingFileAndFindsItsNameCaseInsensitively) {
    const std::string path = dir.write("Shot.BMP", std::vector<uint8_t>(500, 0xAB));
    const std::string scenario_name = dir.str() + "/shot.bmp";
    EXPECT_EQ(cmd_pic_save_bmp(engine, args_of(scenario_name.c_str(), 4, 0)), 0);
    EXPECT_EQ(result_get(engine, 1), 0);
    EXPECT_EQ(read(path), expected(false));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "shot.bmp"));
}

TEST_F(PicSaveBmp, UnwritablePlacesAndSandboxedRunsSetR1To1) {
    const std::string missing_dir = dir.str() + "/no/such/dir/x.bmp";
    result_set(engine, 1, 0);
    EXPECT_EQ(cmd_pic_save_bmp(engine, args_of(missing_dir.c_str(), 4, 0)), 0);
    EXPECT_EQ(result_get(engine, 1), 1);

    result_set(engine, 1, 0);
    EXPECT_EQ(cmd_pic_save_bmp(engine, args_of("", 4, 0)), 0);
    EXPECT_EQ(result_get(engine, 1), 1);

    engine.shell.host_effects_allowed = false;
    const std::string path = dir.str() + "/sandboxed.bmp";
    result_set(engine, 1, 0);
    EXPECT_EQ(cmd_pic_save_bmp(engine, args_of(path.c_str(), 4, 0)), 0);
    EXPECT_EQ(result_get(engine, 1), 1);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(PicSaveBmp, ABufferWithoutPictureIsError106NamingBuffNo) {
    ASSERT_TRUE(buf_new_raw(engine, 5, 16));
    const std::string path = dir.str() + "/x.bmp";
    result_set(engine, 1, 9);
    EXPECT_EQ(cmd_pic_save_bmp(engine, args_of(path.c_str(), 5, 0)), -106);
    EXPECT_STREQ(engine.interp.error.detail, "buff_no = 5");
    EXPECT_EQ(cmd_pic_save_bmp(engine, args_of(path.c_str(), -1, 0)), -106);
    EXPECT_STREQ(engine.interp.error.detail, "buff_no = -1");
    EXPECT_EQ(cmd_pic_save_bmp(engine, args_of(path.c_str(), 100000, 1)), -106);
    EXPECT_STREQ(engine.interp.error.detail, "buff_no = 100000");
    EXPECT_EQ(result_get(engine, 1), 9);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(PicSaveBmpScenario, SavesFromAScenarioAndLeavesR1) {
    test::TempDir dir;
    test::Machine m;
    Picture* p = buf_new_picture(m.engine, 2, 1, 1);
    ASSERT_NE(p, nullptr);
    p->pixels[0] = 0x44;
    p->pixels[1] = 0x88;
    p->pixels[2] = 0xCC;
    const std::string path = dir.str() + "/one.bmp";
    ASSERT_TRUE(m.start("    pic_save_bmp \"" + path + "\", 2, 0\n    end\n"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.reg(1), 0);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(host_file_read_all(path, bytes, 1000));
    ASSERT_EQ(bytes.size(), 58u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 54, bytes.end()),
              (std::vector<uint8_t>{0x44, 0x88, 0xCC, 0}));
}

}  // namespace
}  // namespace qln
