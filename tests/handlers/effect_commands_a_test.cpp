// The mosaic, wave, jitter, dissolve and pattern commands in a scenario.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "effects/fx_pictures.h"
#include "tables/tables.h"
#include "windows/window_test_support.h"

namespace qln::test {
namespace {

void offset_view(Settings& s) {  // content offset (20, 20)
    s.view_width = 600;
    s.view_height = 440;
}

// Buffer 1: a 5 x 2 source; buffer 2: two 1 x 1 tiles, white then black.
void load_buffers(CommandMachine& m) {
    fill_sources(*buf_new_picture(m.engine, 1, 5, 2));
    Picture* pattern = buf_new_picture(m.engine, 2, 1, 2);
    set_pixel(*pattern, 0, 0, 0xFFFFFF);
    set_pixel(*pattern, 0, 1, 0);
}

TEST(EffectCommandsA, OperandsReachTheEffectsAndAMissingPictureOrWindowIsError116) {
    CommandMachine m(offset_view);
    load_buffers(m);
    for (uint32_t r = 1; r <= 4; ++r) result_set(m.engine, r, 70 + int32_t(r));
    // Phase 0x10100 is 256, where the sine is 10000: shifts of the amplitude
    // 0x10002 = 2. The jitter's amplitude 0x10000 is 0.
    ASSERT_TRUE(m.go(R"(
    col_set 5, 0x77, 0x33, 0xAA
    win_open 1, 0, width: 5, height: 2
    win_open 2, 0, width: 5, height: 2
    win_open 3, 0, width: 5, height: 2
    win_open 4, 0, width: 6, height: 2
    win_open 5, 0, width: 5, height: 2
    fx_mosaic 9, 3, 0, 0, 1, 1
    fx_mosaic 1, 7, 0, 0, 1, 1
    fx_wave 9, 3, 0, 0, 0, 0, 0, -1
    fx_jitter 1, 8, 0, 0, 0, 0
    fx_dissolve 9, 3, 0, 0, 0, 0, 100
    fx_dissolve 1, 9, 0, 0, 0, 0, 100
    fx_pattern 9, 1, 3, 0, 0, 0, 0
    fx_pattern 2, 3, 3, 0, 0, 0, 0
    fx_pattern 2, 8, 3, 0, 0, 0, 1
    fx_pattern 2, 1, 8, 0, 0, 0, 0
    fx_jitter 1, 1, 0, 0, 0x10000, 777
    fx_wave 1, 2, 0, 0, 0x10100, 0x10000, 0x10002, 5
    fx_pattern 2, 1, 4, 1, 0, 0x10001, 1
    fx_wave 1, 5, 0, 0, 256, 0, 2, -1
    fx_mosaic 1, 0, 0, 0, 1, 1
    fx_dissolve 1, 1, 0, 0, 0, 0x10000, 0x10001
    end
)"));
    EXPECT_EQ(m.errors(), std::vector<std::string>(10, "116 "));
    EXPECT_EQ(m.regs(1, 4), (std::vector<int32_t>{71, 72, 73, 74}));
    EXPECT_EQ(all_xs(*m.window_picture(3)), "_____/_____/");
    EXPECT_EQ(all_xs(*m.window_picture(2)), "**012/**567/");
    EXPECT_EQ(all_xs(*m.window_picture(5)), "34012/89567/");    // colour -1 wraps
    EXPECT_EQ(all_xs(*m.window_picture(4)), "_01234/_56789/");  // window 1 after the jitter
    EXPECT_EQ(all_xs(*m.window_picture(1)), "01234/56789/");
    EXPECT_EQ(m.platform.now, 20u);  // two passes of 10 ms, no wait for the failures
    EXPECT_EQ(pixel(*m.window_picture(0), 20, 20), 0xCC0000u);
    EXPECT_EQ(pixel(*m.window_picture(0), 24, 21), 0xCC0009u);
    EXPECT_EQ(pixel(*m.window_picture(0), 19, 20), 0u);
}

}  // namespace
}  // namespace qln::test
