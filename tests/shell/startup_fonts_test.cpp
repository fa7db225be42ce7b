// Start-up without the Japanese fonts: one message naming the packages to
// install (standard error and a message box), then the text drawn with the
// stand-in fontconfig finds, or no text when there is no font at all. The
// runs use a fontconfig setup of their own that lists one font folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "asm/assembler.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

// White pixels of a 24-bit bitmap file.
size_t white_pixels(const std::string& bmp) {
    size_t count = 0;
    for (size_t at = 54; at + 2 < bmp.size(); at += 3) {
        count += bmp.compare(at, 3, "\xFF\xFF\xFF") == 0;
    }
    return count;
}

TEST(StartupFonts, AStandInDrawsTheTextAndNoFontDrawsNoneBothSaidOnce) {
    struct Case {
        const char* font_dir;
        const char* message;
        bool ink;
    };
    const Case cases[] = {
        {"/usr/share/fonts/truetype/dejavu", "text is drawn with \"DejaVu", true},
        {"", "No font was found", false},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        const std::string fonts = *c.font_dir ? c.font_dir : dir.str() + "/none";
        const std::string conf = "<?xml version=\"1.0\"?><fontconfig><dir>" + fonts +
                                 "</dir><cachedir>" + dir.str() + "/cache</cachedir></fontconfig>";
        dir.write("fonts.conf", std::vector<uint8_t>(conf.begin(), conf.end()));
        std::vector<uint8_t> game;
        AsmError error;
        ASSERT_TRUE(assemble_packed(R"(
.settings
    screen 160, 120
    view 160, 120
    end
.code
    pic_fill 0, 0, 0, 159, 119, 0, 0, -1
    text_put "WW", 0, 8, 8, 16, 0, 15, -1, 0, 0, 0, 0, -1
    end
)",
                                    game, error))
            << error.message;
        dir.write("start_up.qln", game);
        setenv("FONTCONFIG_FILE", (dir.str() + "/fonts.conf").c_str(), 1);
        const test::RunResult r = test::run_program(
            "quillon", {"--headless", "--game", dir.str(), "--dump-screen", dir.str() + "/s.bmp"},
            dir);
        unsetenv("FONTCONFIG_FILE");
        EXPECT_EQ(r.status, 0) << r.err;
        // On standard error at start, then in the message box (its log line).
        const size_t said = r.err.find(c.message);
        const size_t box = r.err.find("message box: ");
        ASSERT_NE(said, std::string::npos) << r.err;
        ASSERT_NE(box, std::string::npos) << r.err;
        EXPECT_LT(said, box);
        EXPECT_NE(r.err.find(c.message, box), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("fonts-ipafont-gothic", box), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("message box: ", box + 1), std::string::npos) << "said once";
        EXPECT_EQ(white_pixels(test::slurp(dir.str() + "/s.bmp")) > 0, c.ink) << c.font_dir;
    }
}

}  // namespace
}  // namespace qln
