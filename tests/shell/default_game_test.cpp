// The bundled game: its command-names file follows the command table, and it
// runs to its end headless.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "asm/command_doc.h"
#include "support/temp_dir.h"

namespace qln::test {
namespace {

std::string read_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

TEST(DefaultGame, CommandNamesFileIsMadeFromTheCommandTable) {
    const std::string file = read_file(std::string(QUILLON_BIN_DIR) + "/game/QLN_CMDN.TXT");
    EXPECT_EQ(file, command_names_text());
    EXPECT_EQ(file.rfind("00 eval\r\n01 jump\r\n", 0), 0u);
    EXPECT_NE(file.find("\r\n51 btn_wait\r\n"), std::string::npos);
}

TEST(DefaultGame, RunsToItsEndHeadless) {
    TempDir dir;
    const std::string game = std::string(QUILLON_BIN_DIR) + "/game";
    for (const char* name : {"start_up.qln", "QLN_CMDN.TXT", "QLN_ERRM.TXT"}) {
        const std::string bytes = read_file(game + "/" + name);
        dir.write(name, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }
    const std::string command = std::string(QUILLON_BIN_DIR) + "/quillon --headless --game " +
                                dir.str() + " --dump-screen " + dir.str() + "/screen.bmp 2>" +
                                dir.str() + "/stderr.txt";
    EXPECT_EQ(std::system(command.c_str()), 0);
    const std::string out = read_file(dir.str() + "/stderr.txt");
    EXPECT_NE(out.find("message box: The sum of 1 to 100 is 5050."), std::string::npos) << out;
    EXPECT_NE(out.find("started 1 time(s)"), std::string::npos) << out;
    // The drawn screen: the frame of colour 7 and window 3 (colour 9, red) over the background.
    const std::string bmp = read_file(dir.str() + "/screen.bmp");
    ASSERT_EQ(bmp.size(), 54u + 640u * 480u * 3u);
    auto pixel = [&](int x, int y) {
        const size_t at = 54 + (size_t(479 - y) * 640 + size_t(x)) * 3;
        return std::array<uint8_t, 3>{uint8_t(bmp[at]), uint8_t(bmp[at + 1]), uint8_t(bmp[at + 2])};
    };
    EXPECT_EQ(pixel(9, 9), (std::array<uint8_t, 3>{191, 191, 191}));
    EXPECT_EQ(pixel(2, 2), (std::array<uint8_t, 3>{127, 0, 0}));
    // The title is drawn in white over the background, which has no white.
    int white = 0;
    for (int y = 24; y < 42; ++y) {
        for (int x = 24; x < 180; ++x)
            white += pixel(x, y) == std::array<uint8_t, 3>{255, 255, 255};
    }
    EXPECT_GT(white, 100);
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_NE(read_file(dir.str() + "/stderr.txt").find("started 2 time(s)"), std::string::npos);
}

}  // namespace
}  // namespace qln::test
