// The block spread, zoom, glow and scaled-copy commands as scenarios: operands
// cut to 16 bits, window 0's content offset, the areas shown, error -116.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "effects/letter_pictures.h"
#include "support/machine.h"
#include "tables/tables.h"
#include "windows/window_test_support.h"

namespace qln::test {
namespace {

// Records every screen area handed to the display.
class ShownAreas : public NullPlatform {
  public:
    std::vector<std::vector<int32_t>> shown;
    void display_invalidate(const Rect& r) override { shown.push_back(edges(r)); }
};

void offset_view(Settings& s) {  // content offset (20, 20)
    s.view_width = 600;
    s.view_height = 440;
}

// Window 0 black; buffer 1 "abc/def", buffer 2 "abcd/.../mnop"; colour 5 is kFill.
struct FxMachine : CommandMachine {
    ShownAreas watch;
    FxMachine() : CommandMachine(offset_view) {
        watch.stop_on_error = false;
        engine.platform = watch.services();
        Picture& w0 = *window_picture(0);
        std::memset(w0.pixels.get(), 0, w0.pixel_bytes());
        put(1, "abc\ndef\n");
        put(2, "abcd\nefgh\nijkl\nmnop\n");
        colour_set(engine, 5, 0x30, 0x20, 0x10);
        screen_update(engine);  // the whole screen of the start
        watch.shown.clear();
    }
    void put(int32_t buf_no, const char* art) {
        const PicturePtr p = from_letters(art);
        Picture* b = buf_new_picture(engine, buf_no, p->width, p->height);
        ASSERT_NE(b, nullptr);
        std::memcpy(b->pixels.get(), p->pixels.get(), p->pixel_bytes());
    }
    // "command error[detail]" of every error reported.
    std::string errors_seen() const {
        std::string all;
        for (const ScenarioErrorRecord& e : watch.errors) {
            all += std::to_string(e.command) + " " + std::to_string(e.error_number) + "[" +
                   e.detail + "] ";
        }
        return all;
    }
};

using Areas = std::vector<std::vector<int32_t>>;

TEST(FxScaleCommand, ReportsSizesAtTheContentOffsetAndReadsItsSixthOperand) {
    FxMachine m;
    // 65736 keeps its low 16 bits: 200 percent; x -21 is one column left of window 0.
    ASSERT_TRUE(m.go(R"(
    fx_scale 1, 0, -21, 0, 65736, v3[0] = 7
    eval v3[1] = 8
    fx_scale 9, 0, 0, 0, 100, 0
    fx_scale 1, 7, 0, 0, 100, 0
    end
)"));
    EXPECT_EQ(m.regs(1, 4), (std::vector<int32_t>{6, 4, 5, 4}));  // untouched by the failures
    EXPECT_EQ(m.vars(3, 0, 1), (std::vector<int32_t>{7, 8}));
    EXPECT_EQ(letters(*m.window_picture(0), 0, 19, 7, 6),
              ".......\nabbcc..\nabbcc..\ndeeff..\ndeeff..\n.......\n");
    EXPECT_EQ(m.watch.shown, (Areas{{0, 20, 5, 24}}));
    EXPECT_EQ(m.errors_seen(), "216 116[] 216 116[] ");
}

TEST(FxZoomAndScatterCommands, CutTheirOperandsAndShowTheirArea) {
    FxMachine m;
    // Zoom: 50 percent and colour 5, cut from 17 bits; 0 percent shows its
    // area unchanged. Scatter: area 6 x 6, 200 percent, blocks of 2; its
    // colour number is not cut, so 65541 is no colour and fills black.
    ASSERT_TRUE(m.go(R"(
    fx_zoom 2, 0, 1, 1, 65586, 65541
    fx_zoom 2, 0, 0, 0, 0, 5
    fx_scatter 2, 0, 6, 0, 65542, 65542, 65736, 65538, 65541
    fx_zoom 9, 0, 0, 0, 50, 5
    fx_scatter 2, 7, 0, 0, 6, 6, 100, 2, 5
    end
)"));
    EXPECT_EQ(letters(*m.window_picture(0), 20, 20, 12, 6),
              "......ab..cd\n.####.ef..gh\n.#ac#.......\n.#ik#.......\n.####.ij..kl\n"
              "......mn..op\n");
    EXPECT_EQ(m.watch.shown, (Areas{{21, 21, 25, 25}, {20, 20, 24, 24}, {26, 20, 32, 26}}));
    EXPECT_EQ(m.errors_seen(), "214 116[] 213 116[] ");
}

TEST(FxGlowCommand, CutsItsWindowNumberRadiusAndDivisor) {
    FxMachine m;
    m.put(3, "a\n");  // green 0x88
    m.put(4, "...\n...\n...\n");
    // Window 65536 is window 0; radius 1 and divisor 9 give a normaliser of 1,
    // so all nine base pixels gain the light's 0x88.
    ASSERT_TRUE(m.go(R"(
    fx_glow 3, 4, 65536, 2, 2, 65537, 65545
    fx_glow 9, 4, 0, 2, 2, 1, 9
    fx_glow 3, 9, 0, 2, 2, 1, 9
    fx_glow 3, 4, 7, 2, 2, 1, 9
    end
)"));
    EXPECT_EQ(picture_art(*m.window_picture(0), {{0, '.'}, {0x888888, '*'}}, 20, 20, 5, 5),
              ".....\n.***.\n.***.\n.***.\n.....\n");
    EXPECT_EQ(m.watch.shown, (Areas{{21, 21, 24, 24}}));
    EXPECT_EQ(m.errors_seen(), "215 116[] 215 116[] 215 116[] ");
}

}  // namespace
}  // namespace qln::test
