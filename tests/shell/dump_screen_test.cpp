// --dump-screen: the screen as the last scenario left it, written by the
// runner at exit as a 24-bit bitmap.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "asm/assembler.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

test::RunResult run_game(const test::TempDir& dir, const char* source, const std::string& shot) {
    std::vector<uint8_t> file;
    AsmError error;
    EXPECT_TRUE(assemble_packed(source, file, error)) << error.message;
    dir.write("start_up.qln", file);
    return test::run_program("quillon", {"--headless", "--game", dir.str(), "--dump-screen", shot},
                             dir);
}

TEST(DumpScreen, WritesTheComposedScreenAfterTheLastScenario) {
    test::TempDir dir;
    const std::string shot = dir.str() + "/shot.bmp";
    const test::RunResult r = run_game(dir, R"(
.settings
    screen 6, 4
    view 6, 4
.code
    col_set 20, 0x44, 0xCC, 0x88
    col_set 21, 0x11, 0x33, 0x22
    pic_fill 0, 0, 0, 5, 3, 21, 0, -1
    win_open 1, 1, px: 1, py: 2, width: 2, height: 1, type: 0x0314
    end
)",
                                       shot);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string f = test::slurp(shot);
    ASSERT_EQ(f.size(), 54u + 4 * 20);  // rows of 18 bytes padded to 20
    EXPECT_EQ(f.substr(0, 2), "BM");
    EXPECT_EQ(f.substr(18, 8), std::string("\6\0\0\0\4\0\0\0", 8));  // width, height
    EXPECT_EQ(f[28], 24);
    // Bottom-up rows of B, G, R: # the window (0xCC8844), . the fill (0x332211).
    std::string art;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            const std::string bgr = f.substr(54 + size_t(3 - y) * 20 + size_t(x) * 3, 3);
            art += bgr == "\x44\x88\xCC" ? '#' : bgr == "\x11\x22\x33" ? '.' : '?';
        }
        art += '\n';
    }
    EXPECT_EQ(art, "......\n......\n.##...\n......\n");
}

TEST(DumpScreen, AnUnwritableFileIsNamedOnStandardError) {
    test::TempDir dir;
    const std::string shot = dir.str() + "/sub/shot.bmp";
    std::filesystem::create_directories(shot);  // a directory where the file should go
    const test::RunResult r = run_game(dir, ".code\n    end\n", shot);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("quillon: --dump-screen: cannot write \"" + shot + "\""),
              std::string::npos)
        << r.err;
}

}  // namespace
}  // namespace qln
