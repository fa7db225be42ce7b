// The bundled game: its command-names file follows the command table, and it
// runs headless through its screens, the dissolve and the animation.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "asm/command_doc.h"
#include "support/pixels.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qln::test {
namespace {

const std::string game = std::string(QUILLON_BIN_DIR) + "/game/";

TEST(DefaultGame, CommandNamesFileIsMadeFromTheCommandTable) {
    const std::string file = slurp(game + "QLN_CMDN.TXT");
    EXPECT_EQ(file, command_names_text());
    EXPECT_EQ(file.rfind("00 eval\r\n01 jump\r\n", 0), 0u);
    EXPECT_NE(file.find("\r\n51 btn_wait\r\n"), std::string::npos);
}

// Runs the game in dir headless until the virtual clock passes max_ms (0: to
// its end) and returns what it printed; the last screen goes to screen.bmp.
RunResult run_game(const TempDir& dir, uint32_t max_ms) {
    std::vector<std::string> args = {"--headless", "--game", dir.str(), "--dump-screen",
                                     dir.str() + "/screen.bmp"};
    if (max_ms) args.push_back("--max-ms=" + std::to_string(max_ms));
    return run_program("quillon", args, dir);
}

TEST(DefaultGame, RunsItsScreensHeadless) {
    TempDir dir;
    for (const char* name :
         {"start_up.qln", "QLN_CMDN.TXT", "QLN_ERRM.TXT", "night.bmp", "star.bmp", "star.anm"}) {
        const std::string bytes = slurp(game + name);
        dir.write(name, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }
    // The first screen, before the dissolve starts at 3000 ms.
    RunResult r = run_game(dir, 2990);
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("message box: The sum of 1 to 100 is 5050."), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("started 1 time(s)"), std::string::npos) << r.err;
    // The frame of colour 7 and window 3 (colour 9, red) over the background.
    std::string bmp = slurp(dir.str() + "/screen.bmp");
    ASSERT_EQ(bmp.size(), 54u + 640u * 480u * 3u);
    const auto bgr = [&](int x, int y) {
        return bmp.substr(54 + (size_t(479 - y) * 640 + x) * 3, 3);
    };
    EXPECT_EQ(bgr(9, 9), "\xBF\xBF\xBF");
    EXPECT_EQ(bgr(2, 2), std::string("\x7F\0\0", 3));
    // The title is drawn in white over the background, which has no white.
    int white = 0;
    for (int y = 24; y < 42; ++y) {
        for (int x = 24; x < 180; ++x) white += bgr(x, y) == "\xFF\xFF\xFF";
    }
    EXPECT_GT(white, 100);

    // The night has no text, so its screens are exact. The dissolve ends at
    // 3750 ms and the star starts its cells 1, 2, 3, 4, 3, 2, 1 (60 ms each)
    // and its rest every second from then on. Checked against the generated
    // files: at 5960 and 5990 the screen is night.bmp but for the star's
    // 32 x 32 at (456, 64), which is cell 4, then 3, of star.bmp; at the end
    // (8250 ms, the star at rest) it is night.bmp.
    const struct {
        uint32_t max_ms;
        int status;
        uint64_t screen_hash;
    } moments[] = {
        {5960, 3, 0x3fd82f925def0870},
        {5990, 3, 0x0799f2b8c53b53b1},
        {0, 0, 0x1a68287b85b1fb62},
    };
    int runs = 1;
    for (const auto& m : moments) {
        SCOPED_TRACE(m.max_ms);
        r = run_game(dir, m.max_ms);
        EXPECT_EQ(r.status, m.status);
        EXPECT_NE(r.err.find("started " + std::to_string(++runs) + " time(s)"), std::string::npos)
            << r.err;
        bmp = slurp(dir.str() + "/screen.bmp");
        EXPECT_EQ(bytes_hash(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size()),
                  m.screen_hash);
    }
}

}  // namespace
}  // namespace qln::test
