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

// A machine whose buffer 4 holds a 3 x 2 picture with red 0xC0 + its index.
struct SaveMachine : test::Machine {
    SaveMachine() {
        platform.stop_on_error = false;
        Picture* p = buf_new_picture(engine, 4, 3, 2);
        EXPECT_NE(p, nullptr);
        for (size_t i = 0; p && i < 6; ++i) {
            p->pixels[3 * i] = 0x44;
            p->pixels[3 * i + 1] = 0x88;
            p->pixels[3 * i + 2] = uint8_t(0xC0 + i);
        }
    }
    // R1 after saving buffer buf_no to path in mode.
    int32_t save(const std::string& path, int32_t buf_no = 4, int32_t mode = 0) {
        result_set(engine, 1, 7);
        EXPECT_EQ(cmd_pic_save_bmp(engine, args_of(path.c_str(), buf_no, mode)), 0);
        return reg(1);
    }
    std::vector<uint8_t> encoded(bool eight_bit) {
        BmpFile f;
        const Picture& p = *buf_get_picture(engine, 4);
        EXPECT_TRUE(eight_bit ? bmp_encode_8(p, engine.screen.palette, f) : bmp_encode_24(p, f));
        return std::vector<uint8_t>(f.bytes.get(), f.bytes.get() + f.size);
    }
};

std::vector<uint8_t> read(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(host_file_read_all(path, bytes, 1 << 20)) << path;
    return bytes;
}

TEST(PicSaveBmp, WritesTwentyFourBitsInMode0AndEightWithTheDisplayPaletteOtherwise) {
    test::TempDir dir;
    SaveMachine m;
    // From a scenario, over an existing file found case-insensitively.
    const std::string existing = dir.write("Shot.BMP", std::vector<uint8_t>(500, 0xAB));
    ASSERT_TRUE(m.start("    pic_save_bmp \"" + dir.str() + "/shot.bmp\", 4, 0\n    end\n"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.reg(1), 0);
    const std::vector<uint8_t> file = read(existing);
    ASSERT_EQ(file.size(), 78u);
    EXPECT_EQ(file, m.encoded(false));
    // Bottom row first: the first pixel of the file is pixel (0, 1).
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54, file.begin() + 57),
              (std::vector<uint8_t>{0x44, 0x88, 0xC3}));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "shot.bmp"));

    for (int i = 0; i < 256; ++i) {
        for (int c = 0; c < 3; ++c) m.engine.screen.palette[i][c] = uint8_t((c + 1) * i);
    }
    EXPECT_EQ(m.save(dir.str() + "/eight.bmp", 4, -3), 0);
    const std::vector<uint8_t> eight = read(dir.str() + "/eight.bmp");
    ASSERT_EQ(eight.size(), 1078u + 2 * 4);
    EXPECT_EQ(eight, m.encoded(true));
    EXPECT_EQ(eight[28], 8);
    EXPECT_EQ(eight[54 + 4 * 7 + 0], 21);  // blue of entry 7
    EXPECT_EQ(eight[54 + 4 * 7 + 2], 7);   // red of entry 7
}

TEST(PicSaveBmp, UnwritablePlacesAndSandboxedRunsSetR1To1AndMissingPicturesAre106) {
    test::TempDir dir;
    SaveMachine m;
    EXPECT_EQ(m.save(dir.str() + "/no/such/dir/x.bmp"), 1);
    EXPECT_EQ(m.save(""), 1);
    const std::string path = dir.str() + "/x.bmp";
    m.engine.shell.host_effects_allowed = false;
    EXPECT_EQ(m.save(path), 1);
    EXPECT_TRUE(m.platform.errors.empty());
    m.engine.shell.host_effects_allowed = true;

    ASSERT_TRUE(buf_new_raw(m.engine, 5, 16));
    result_set(m.engine, 1, 9);
    for (int32_t buf_no : {5, -1, 100000}) {
        EXPECT_EQ(cmd_pic_save_bmp(m.engine, args_of(path.c_str(), buf_no, 1)), -106);
        EXPECT_EQ(m.engine.interp.error.detail, "buff_no = " + std::to_string(buf_no));
    }
    EXPECT_EQ(m.reg(1), 9);
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace qln
