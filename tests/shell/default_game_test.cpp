// The bundled game: its command-names file follows the command table, and it
// runs to its end headless.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asm/command_doc.h"
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

TEST(DefaultGame, RunsToItsEndHeadless) {
    TempDir dir;
    for (const char* name : {"start_up.qln", "QLN_CMDN.TXT", "QLN_ERRM.TXT"}) {
        const std::string bytes = slurp(game + name);
        dir.write(name, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }
    const std::vector<std::string> args = {"--headless", "--game", dir.str(), "--dump-screen",
                                           dir.str() + "/screen.bmp"};
    RunResult r = run_program("quillon", args, dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("message box: The sum of 1 to 100 is 5050."), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("started 1 time(s)"), std::string::npos) << r.err;
    // The frame of colour 7 and window 3 (colour 9, red) over the background.
    const std::string bmp = slurp(dir.str() + "/screen.bmp");
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
    r = run_program("quillon", args, dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("started 2 time(s)"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace qln::test
