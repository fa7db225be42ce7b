// The hit test on snapshots: stacking, the input owner, raising, buttons,
// dragging and mask maps.

#include <gtest/gtest.h>

#include <vector>

#include "input/input_machine.h"

namespace qln::test {
namespace {

TEST(HitTest, TheTopmostWindowUnderThePointerWinsWithinTheInputOwnerAndTheScreen) {
    InputMachine m;
    ASSERT_TRUE(m.ready);
    m.open(1, 0, 0, 100, 100);
    m.open(2, 50, 50, 100, 100);
    EXPECT_EQ(m.hit(60, 60).window, 2);
    EXPECT_EQ(m.hit(49, 99).window, 1);
    EXPECT_EQ(m.hit(150, 150).window, 0);  // just past window 2: the screen
    m.engine.tracking.input_owner = 1;
    EXPECT_EQ(m.hit(60, 60).window, 1);
    // The owner is not under the pointer: nothing is hit, the fields stay 0.
    EXPECT_EQ(m.hit(120, 120).window, 0);
    m.engine.tracking.input_owner = 0;
    EXPECT_EQ(m.hit(640, 10).window, 0);
    EXPECT_EQ(m.hit(-1, 10).window, 0);
}

TEST(HitTest, ANewPressRaisesTheWindowUnlessAPinnedWindowAboveOverlapsIt) {
    InputMachine m;
    m.open(1, 0, 0, 100, 100);
    m.open(2, 50, 50, 100, 100);
    m.open(3, 300, 300, 10, 10);
    EXPECT_EQ(m.layers(), (std::vector<int32_t>{3, 2, 1, 0}));
    EXPECT_EQ(m.hit(10, 10, 1).window, 1);
    EXPECT_EQ(m.layers(), (std::vector<int32_t>{1, 3, 2, 0}));
    // Still held: not a new press, so clicking 2 while held does not raise it.
    EXPECT_EQ(m.hit(140, 140, 1).window, 2);
    EXPECT_EQ(m.layers(), (std::vector<int32_t>{1, 3, 2, 0}));
    m.hit(140, 140, 0);
    EXPECT_EQ(m.hit(140, 140, 1).window, 2);
    EXPECT_EQ(m.layers(), (std::vector<int32_t>{2, 1, 3, 0}));
    // Window 1 is under a pinned 2: it is hit but stays where it is.
    ASSERT_EQ(win_pin(m.engine, 2, true), 0);
    m.hit(10, 10, 0);
    EXPECT_EQ(m.hit(10, 10, 1).window, 1);
    EXPECT_EQ(m.layers(), (std::vector<int32_t>{2, 1, 3, 0}));
}

TEST(HitTest, ButtonsComeFromTheWindowsSliceOfTheRegionListAndDisabledOnesAreSkipped) {
    InputMachine m;
    m.open(1, 100, 100, 100, 100);
    std::vector<Region>& b = m.buttons(1, 7, 5, 1);
    b[0] = button(10, 0, 0, 0, 100, 100);  // before bt_bpos: never tested
    b[1] = button(11, 0x104, 0, 0, 20, 20);
    b[2] = button(12, 0xFFFF, 10, 10, 20, 20);
    b[3] = button(13, 4, 10, 10, 20, 20);
    b[4] = button(14, 4, 50, 50, 10, 10);
    const auto hit = [&m](int32_t x, int32_t y) {
        const InputState s = m.hit(x, y);
        return std::vector<int32_t>{s.window, s.button_id, int32_t(s.button_index)};
    };
    EXPECT_EQ(hit(105, 105), (std::vector<int32_t>{1, 0, 0}));   // only the disabled 11 covers it
    EXPECT_EQ(hit(115, 115), (std::vector<int32_t>{1, 12, 2}));  // the first in list order wins
    EXPECT_EQ(hit(159, 159), (std::vector<int32_t>{1, 14, 4}));
    EXPECT_EQ(m.hit(160, 159).button_id, 0);  // right edges are exclusive
    // A count past the list's end stops at the end.
    m.win(1).bt_num = 500;
    EXPECT_EQ(m.hit(159, 159).button_id, 14);
    // A region list freed behind the window's back gives no buttons.
    ASSERT_TRUE(buf_free(m.engine, 7));
    EXPECT_EQ(m.hit(159, 159).button_id, 0);
}

TEST(HitTest, APressInTheBorderBandDragsTheWindowUntilTheButtonIsReleased) {
    InputMachine m;
    Window& w = m.open(1, 100, 100, 50, 40);
    w.fwidth = 4;
    m.hit(120, 120, 1);  // inner area: no drag
    EXPECT_FALSE(drag_active(m.engine));
    m.hit(120, 120, 0);
    m.hit(103, 120, 1);  // left band, grab (3, 20)
    EXPECT_TRUE(drag_active(m.engine));
    EXPECT_EQ(m.engine.tracking.drag.grab_x, 3);
    EXPECT_EQ(m.engine.tracking.drag.grab_y, 20);
    m.hit(203, 320, 1);
    EXPECT_EQ((std::vector<int32_t>{w.px, w.py}), (std::vector<int32_t>{200, 300}));
    m.hit(700, 900, 1);  // kept on the screen
    EXPECT_EQ((std::vector<int32_t>{w.px, w.py}), (std::vector<int32_t>{590, 440}));
    m.hit(10, 10, 0);
    EXPECT_FALSE(drag_active(m.engine));
    EXPECT_EQ(w.px, 590);
    // A band wider than half the window leaves no inner area.
    w.fwidth = 30;
    m.hit(600, 460, 1);
    EXPECT_TRUE(drag_active(m.engine));
}

TEST(HitTest, MaskMapsGiveOneIdPerFourPixelBlockReadOnlyInsideTheirBuffer) {
    InputMachine m;
    m.open(1, 100, 100, 10, 6);  // mask rows of 3 bytes, 2 rows
    ASSERT_TRUE(buf_new_raw(m.engine, 9, 6));
    uint8_t* mask = buf_get_raw(m.engine, 9);
    for (uint8_t i = 0; i < 6; ++i) mask[i] = i;
    m.win(1).mask = 9;
    EXPECT_EQ(m.hit(100 + 8, 100 + 0).button_index, 2);
    EXPECT_EQ(m.hit(100 + 8, 100 + 0).button_id, 2);
    EXPECT_EQ(m.hit(100 + 9, 100 + 5).button_id, 5);
    EXPECT_EQ(m.hit(100 + 3, 100 + 4).button_id, 3);
    // A buffer that shrank since: blocks past its end are no region.
    ASSERT_TRUE(buf_new_raw(m.engine, 9, 4));
    buf_get_raw(m.engine, 9)[3] = 7;
    EXPECT_EQ(m.hit(100 + 3, 100 + 4).button_id, 7);
    EXPECT_EQ(m.hit(100 + 9, 100 + 5).button_id, 0);
    ASSERT_TRUE(buf_free(m.engine, 9));
    EXPECT_EQ(m.hit(100 + 3, 100 + 4).button_id, 0);
}

}  // namespace
}  // namespace qln::test
