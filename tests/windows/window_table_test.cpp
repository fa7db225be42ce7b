// The window table and the layer list.

#include <gtest/gtest.h>

#include <vector>

#include "windows/window_test_support.h"

namespace qln::test {
namespace {

// The layer list from window 0 upwards.
std::vector<int32_t> layers(ScreenMachine& m) {
    std::vector<int32_t> out;
    for (int32_t k = 0; k >= 0 && out.size() < 100; k = m.win(k).next) out.push_back(k);
    return out;
}

// Where window n stands and how large it is.
std::vector<int32_t> place(ScreenMachine& m, int32_t n) {
    const Window& w = m.win(n);
    return {w.px, w.py, w.sx(), w.sy()};
}

TEST(WindowTable, GrowingKeepsLayerOrderAndState) {
    ScreenMachine m;
    for (int32_t n : {3, 1, 5, 15}) {
        ASSERT_TRUE(m.open(n, 30, 20, 10 * n, 5 * n));
        ASSERT_TRUE(win_show(m.engine, n, true));
    }
    ASSERT_EQ(win_pin(m.engine, 5, true), 0);
    m.win(1).tx_ccol = 77;
    ASSERT_TRUE(m.open(20, 8, 8));
    EXPECT_EQ(m.engine.windows.records.size(), 28u);
    EXPECT_EQ(layers(m), (std::vector<int32_t>{0, 3, 1, 5, 15}));
    EXPECT_EQ(m.win(15).previous, 5);
    EXPECT_EQ(m.win(1).tx_ccol, 77);
    EXPECT_EQ(m.win(5).pinned, 1);
    EXPECT_EQ(place(m, 3), (std::vector<int32_t>{30, 15, 30, 20}));
    EXPECT_EQ(m.win(20).Visible, 0);
    EXPECT_EQ(win_get(m.engine, 27, false), &m.win(27));
    EXPECT_EQ(win_get(m.engine, 28, false), nullptr);
    ASSERT_TRUE(win_show(m.engine, 20, true));
    EXPECT_EQ(layers(m), (std::vector<int32_t>{0, 3, 1, 5, 15, 20}));
}

TEST(WindowTable, OpenTakesTheTemplateAndClampsItsPlace) {
    ScreenMachine m;
    Window templ;
    templ.px = -5;
    templ.py = 470;
    templ.tx_ccol = 9;
    templ.Visible = 1;
    templ.pinned = 1;
    templ.next = 4;
    ASSERT_TRUE(win_open(m.engine, 1, 100, 50, templ));
    EXPECT_EQ(place(m, 1), (std::vector<int32_t>{0, 430, 100, 50}));
    EXPECT_EQ(m.win(1).tx_ccol, 9);
    EXPECT_EQ(m.win(1).Visible, 0);
    EXPECT_EQ(m.win(1).pinned, 0);
    EXPECT_EQ(m.win(1).next, kNoWindow);
    // Wider than the screen: the right-edge clamp comes last.
    templ.px = 10;
    ASSERT_TRUE(win_open(m.engine, 2, 700, 10, templ));
    EXPECT_EQ(m.win(2).px, -60);
    // Reopening with a copy of its own record as template.
    ASSERT_TRUE(win_open(m.engine, 2, 5, 5, m.win(2)));
    EXPECT_EQ(m.win(2).sx(), 5);
    EXPECT_FALSE(m.open(70000, 5, 5));
}

TEST(WindowTable, ShowRaisesHideUnlinksAndUnpins) {
    ScreenMachine m;
    for (int32_t n : {1, 2, 3}) {
        ASSERT_TRUE(m.open(n, 10, 10));
        ASSERT_TRUE(win_show(m.engine, n, true));
    }
    ASSERT_TRUE(win_show(m.engine, 1, true));
    EXPECT_EQ(layers(m), (std::vector<int32_t>{0, 2, 3, 1}));
    EXPECT_EQ(m.win(2).previous, 0);
    EXPECT_EQ(m.win(1).previous, 3);

    EXPECT_EQ(win_pin(m.engine, 3, true), 0);
    ASSERT_TRUE(win_show(m.engine, 3, false));
    EXPECT_EQ(layers(m), (std::vector<int32_t>{0, 2, 1}));
    EXPECT_EQ(m.win(1).previous, 2);
    EXPECT_EQ(m.win(3).pinned, 0);
    EXPECT_EQ(m.win(3).previous, kNoWindow);
    EXPECT_EQ(m.win(3).next, kNoWindow);
    EXPECT_EQ(win_pin(m.engine, 3, true), 2);  // hidden windows are not pinned
    EXPECT_EQ(m.win(3).pinned, 0);
    EXPECT_EQ(win_pin(m.engine, 9, true), 1);
    EXPECT_FALSE(win_show(m.engine, 9, true));

    ASSERT_TRUE(win_close(m.engine, 2));
    EXPECT_EQ(m.win(2).picture, nullptr);
    EXPECT_EQ(layers(m), (std::vector<int32_t>{0, 1}));
    EXPECT_FALSE(win_close(m.engine, 2));
    EXPECT_FALSE(win_close(m.engine, 40));
}

TEST(WindowTable, ResizeMovesOrCuts) {
    ScreenMachine m;
    ASSERT_TRUE(m.open(1, 30, 30, 600, 100));
    ASSERT_TRUE(win_resize(m.engine, m.win(1), 100, 0, false));
    EXPECT_EQ(place(m, 1), (std::vector<int32_t>{540, 100, 100, 30}));
    ASSERT_TRUE(win_move(m.engine, 1, 600, 450));
    ASSERT_EQ(m.win(1).px, 540);  // a 100-wide window cannot stand at 600
    ASSERT_TRUE(win_resize(m.engine, m.win(1), 30, 30, false));
    ASSERT_TRUE(win_move(m.engine, 1, 600, 450));
    ASSERT_TRUE(win_resize(m.engine, m.win(1), 100, 100, true));
    EXPECT_EQ(place(m, 1), (std::vector<int32_t>{600, 450, 40, 30}));
    EXPECT_EQ(pixel(*m.win(1).picture, 39, 29), 0u);
}

TEST(WindowTable, OverlapLooksAtWindowsAbove) {
    ScreenMachine m;
    ASSERT_TRUE(m.open(1, 100, 100, 0, 0));
    ASSERT_TRUE(m.open(2, 50, 50, 200, 200));  // apart from 1
    ASSERT_TRUE(m.open(3, 50, 50, 90, 90));    // touches 1
    for (int32_t n : {1, 2, 3}) {
        ASSERT_TRUE(win_show(m.engine, n, true));
    }
    EXPECT_EQ(win_overlap(m.engine, m.win(1)), 1);
    EXPECT_EQ(win_overlap(m.engine, m.win(2)), 0);
    EXPECT_EQ(win_pin(m.engine, 3, true), 0);
    EXPECT_EQ(win_overlap(m.engine, m.win(1)), 2);
    EXPECT_EQ(win_overlap(m.engine, m.win(3)), 3);
    ASSERT_TRUE(win_move(m.engine, 3, 100, 0));  // edge to edge: no overlap
    EXPECT_EQ(win_overlap(m.engine, m.win(1)), 0);
}

TEST(WindowTable, HostileNumbersStayInsideTheTable) {
    ScreenMachine m;
    EXPECT_FALSE(m.open(1, -1, 10));
    EXPECT_FALSE(m.open(1, 10, 70000));
    EXPECT_FALSE(m.open(-3, 10, 10));
    ASSERT_TRUE(m.open(1, 0, 0, 2147483647, -2147483647 - 1));
    EXPECT_EQ(place(m, 1), (std::vector<int32_t>{640, 0, 0, 0}));
    ASSERT_TRUE(win_show(m.engine, 1, true));
    EXPECT_TRUE(win_move(m.engine, 1, -2147483647 - 1, 2147483647));
    EXPECT_EQ(place(m, 1), (std::vector<int32_t>{0, 480, 0, 0}));
    // py 480: nothing left below, one row kept.
    ASSERT_TRUE(win_resize(m.engine, m.win(1), 2147483647, 2147483647, true));
    EXPECT_EQ(place(m, 1), (std::vector<int32_t>{0, 480, 640, 1}));
    ASSERT_TRUE(win_resize(m.engine, m.win(1), 100000, 5, false));
    EXPECT_EQ(m.win(1).sx(), 65535);
    EXPECT_EQ(m.win(1).px, 640 - 65535);
    screen_update(m.engine);
    EXPECT_TRUE(m.engine.screen.dirty.empty());
    // A broken layer list (a cycle) ends the walks instead of hanging them.
    m.win(1).next = 1;
    mark_dirty(m.engine, nullptr);
    screen_update(m.engine);
    EXPECT_EQ(win_overlap(m.engine, m.win(1)), 1);
}

}  // namespace
}  // namespace qln::test
