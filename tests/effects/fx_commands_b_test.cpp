// The spread, zoom, glow and scaled-copy commands as scenarios: operands cut
// to 16 bits, window 0's content offset, the areas shown, error -116.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "effects/letter_pictures.h"
#include "support/machine.h"
#include "windows/window_test_support.h"

namespace qln::test {
namespace {

// Records every screen area handed to the display.
struct ShownAreas : NullPlatform {
    std::vector<std::vector<int32_t>> shown;
    void display_invalidate(const Rect& r) override { shown.push_back(edges(r)); }
};
using Areas = std::vector<std::vector<int32_t>>;

// Content offset (20, 20), window 0 black, buffer 1 "abc/def", 2 "abcd/../mnop",
// 3 one light pixel of green 0x88, 4 a black 3 x 3; colour 5 is kFill.
struct FxMachine : CommandMachine {
    ShownAreas watch;
    FxMachine() : CommandMachine([](Settings& s) { s.view_width = 600, s.view_height = 440; }) {
        watch.stop_on_error = false;
        engine.platform = watch.services();
        std::memset(window_picture(0)->pixels.get(), 0, window_picture(0)->pixel_bytes());
        const char* arts[] = {"abc\ndef\n", "abcd\nefgh\nijkl\nmnop\n", "a\n", "...\n...\n...\n"};
        for (int32_t n = 1; n <= 4; ++n) {
            const PicturePtr p = from_letters(arts[n - 1]);
            Picture* b = buf_new_picture(engine, n, p->width, p->height);
            std::memcpy(b->pixels.get(), p->pixels.get(), p->pixel_bytes());
        }
        colour_set(engine, 5, 0x30, 0x20, 0x10);
        screen_update(engine);  // the whole screen of the start
        watch.shown.clear();
    }
    std::string errors_seen() const {  // "command:error" of each error
        std::string all;
        for (const auto& e : watch.errors)
            all +=
                std::to_string(e.command) + ":" + std::to_string(e.error_number) + e.detail + " ";
        return all;
    }
};

TEST(FxCommands, CutTheirOperandsShowTheirAreaAndFailAlike) {
    FxMachine m;
    // Zoom: 50 percent and colour 5 cut from 17 bits; 0 percent still shows
    // its area. Spread: area 6 x 6, 200 percent, blocks of 2; its colour number
    // is not cut, so 65541 is no colour and fills black. Glow: window 65536 is
    // window 0; radius 1 and divisor 9 give a normaliser of 1. Scaled copy:
    // 200 percent, one column left of window 0, its sixth operand evaluated.
    ASSERT_TRUE(m.go(R"(
    fx_scale 1, 0, -21, 10, 65736, v3[0] = 7
    eval v3[1] = 8
    fx_zoom 2, 0, 1, 1, 65586, 65541
    fx_zoom 2, 0, 0, 0, 0, 5
    fx_scatter 2, 0, 6, 0, 65542, 65542, 65736, 65538, 65541
    fx_glow 3, 4, 65536, 14, 2, 65537, 65545
    fx_zoom 9, 0, 0, 0, 50, 5
    fx_scatter 2, 7, 0, 0, 6, 6, 100, 2, 5
    fx_glow 3, 9, 0, 2, 2, 1, 9
    fx_glow 9, 4, 0, 2, 2, 1, 9
    fx_scale 9, 0, 0, 0, 100, 0
    fx_scale 1, 7, 0, 0, 100, 0
    end
)"));
    const Picture& w0 = *m.window_picture(0);
    EXPECT_EQ(letters(w0, 20, 20, 12, 6),
              "......ab..cd\n.####.ef..gh\n.#ac#.......\n.#ik#.......\n.####.ij..kl\n"
              "......mn..op\n");
    EXPECT_EQ(picture_art(w0, {{0, '.'}, {0x888888, '*'}}, 32, 20, 5, 5),
              ".....\n.***.\n.***.\n.***.\n.....\n");
    EXPECT_EQ(letters(w0, 0, 30, 6, 4), "abbcc.\nabbcc.\ndeeff.\ndeeff.\n");
    EXPECT_EQ(m.regs(1, 4), (std::vector<int32_t>{6, 4, 5, 4}));  // untouched by the failures
    EXPECT_EQ(m.vars(3, 0, 1), (std::vector<int32_t>{7, 8}));
    EXPECT_EQ(m.watch.shown, (Areas{{0, 30, 5, 34},
                                    {21, 21, 25, 25},
                                    {20, 20, 24, 24},
                                    {26, 20, 32, 26},
                                    {33, 21, 36, 24}}));
    EXPECT_EQ(m.errors_seen(), "214:116 213:116 215:116 215:116 216:116 216:116 ");
}

}  // namespace
}  // namespace qln::test
