// --dump-screen: the screen picture as the last scenario left it, written as
// a 24-bit bitmap by the runner at exit.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "asm/assembler.h"
#include "platform/host_files.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

int run_quillon(const std::vector<std::string>& args, const test::TempDir& dir, std::string& out) {
    const test::RunResult r = test::run_program("quillon", args, dir);
    out = r.out + r.err;
    return r.status;
}

void write_game(const test::TempDir& dir, const char* source) {
    std::vector<uint8_t> file;
    AsmError error;
    ASSERT_TRUE(assemble_packed(source, file, error)) << error.message;
    dir.write("start_up.qln", file);
}

// Pixel (x, y) of a bottom-up 24-bit bitmap as 0xRRGGBB.
uint32_t bmp_pixel(const std::vector<uint8_t>& f, int width, int height, int x, int y) {
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    const size_t at = 54 + size_t(height - 1 - y) * stride + size_t(x) * 3;
    return uint32_t(f[at + 2]) << 16 | uint32_t(f[at + 1]) << 8 | f[at];
}

TEST(DumpScreen, WritesTheComposedScreenAfterTheLastScenario) {
    test::TempDir dir;
    write_game(dir, R"(
.settings
    screen 6, 4
    view 6, 4
.code
    col_set 20, 0x44, 0xCC, 0x88
    col_set 21, 0x11, 0x33, 0x22
    pic_fill 0, 0, 0, 5, 3, 21, 0, -1
    win_open 1, 1, px: 1, py: 2, width: 2, height: 1, type: 0x0314
    end
)");
    const std::string shot = dir.str() + "/shot.bmp";
    std::string out;
    EXPECT_EQ(run_quillon({"--headless", "--game", dir.str(), "--dump-screen", shot}, dir, out), 0)
        << out;
    std::vector<uint8_t> f;
    ASSERT_TRUE(host_file_read_all(shot, f, 1 << 20)) << out;
    ASSERT_EQ(f.size(), 54u + 4 * 20);  // rows of 18 bytes padded to 20
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(f[18], 6);
    EXPECT_EQ(f[22], 4);
    EXPECT_EQ(f[28], 24);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool window = y == 2 && (x == 1 || x == 2);
            EXPECT_EQ(bmp_pixel(f, 6, 4, x, y), window ? 0xCC8844u : 0x332211u) << x << "," << y;
        }
    }
}

TEST(DumpScreen, AnUnwritableFileIsNamedOnStandardError) {
    test::TempDir dir;
    write_game(dir, ".code\n    end\n");
    const std::string shot = dir.str() + "/sub/shot.bmp";
    std::filesystem::create_directory(dir.path() / "sub");
    std::filesystem::create_directory(shot);  // a directory where the file should go
    std::string out;
    EXPECT_EQ(run_quillon({"--headless", "--game", dir.str(), "--dump-screen", shot}, dir, out), 0);
    EXPECT_NE(out.find("quillon: --dump-screen: cannot write \"" + shot + "\""), std::string::npos)
        << out;
}

}  // namespace
}  // namespace qln
