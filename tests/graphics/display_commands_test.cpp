// 0x27 sys_display: window and full screen through the platform's display
// answers, with results 0, 1 and 2 and the window style following the mode.

#include "screen/display_commands.h"

#include <gtest/gtest.h>

#include <array>

#include "screen/screen.h"
#include "support/machine.h"

namespace qln {
namespace {

// A host whose display takes the sizes it is asked for (or refuses them).
struct DisplayPlatform : test::FakePlatform {
    int width = 1920, height = 1080;
    bool refuse = false;
    int changes = 0;
    void display_query(int& w, int& h, int& bpp) override {
        w = width;
        h = height;
        bpp = 24;
    }
    bool display_mode_change(bool, int w, int h, int) override {
        ++changes;
        if (refuse) return false;
        width = w;
        height = h;
        return true;
    }
};

TEST(SysDisplay, SwitchesToFullScreenAndBackAnsweringWhatHappened) {
    test::Machine m;
    DisplayPlatform host;
    m.engine.platform = &host;
    ASSERT_TRUE(screen_init(m.engine));
    display_setup(m.engine, 24, 1920, 1080);
    ASSERT_TRUE(
        m.start("    sys_display 1\n    eval v0[0] = r[1]\n"
                "    sys_display 7\n    eval v0[1] = r[1]\n"
                "    sys_display 0\n    eval v0[2] = r[1]\n"
                "    sys_display 0\n    eval v0[3] = r[1]\n"
                "    end\n"));
    // Two steps a command: the full-screen request, then its result kept.
    EXPECT_EQ(m.run(2), 1);
    EXPECT_EQ(m.var(0, 0), 0);
    EXPECT_EQ(m.engine.screen.window_style, WindowStyle::Popup);
    EXPECT_EQ((std::array{host.width, host.height}), (std::array{640, 480}));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.var(0, 1), 1);  // any non-zero asks for full screen: there already
    EXPECT_EQ(m.var(0, 2), 0);  // back to the start-up size
    EXPECT_EQ(m.var(0, 3), 1);  // windowed already
    EXPECT_EQ(host.changes, 2);
    EXPECT_EQ(m.engine.screen.window_style, WindowStyle::Framed);
    EXPECT_EQ((std::array{host.width, host.height}), (std::array{1920, 1080}));
}

TEST(SysDisplay, ARefusedChangeAnswersTwoAndLeavesTheDisplay) {
    test::Machine m;
    DisplayPlatform host;
    host.refuse = true;
    m.engine.platform = &host;
    ASSERT_TRUE(screen_init(m.engine));
    display_setup(m.engine, 24, 1920, 1080);
    ASSERT_TRUE(m.start("    sys_display 1\n    end\n"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.reg(1), 2);
    EXPECT_EQ(host.changes, 1);
    EXPECT_EQ(m.engine.screen.window_style, WindowStyle::Framed);
}

}  // namespace
}  // namespace qln
