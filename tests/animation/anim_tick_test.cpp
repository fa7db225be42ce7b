// The scheduler called directly at chosen tick counts: late ticks, the wrap
// of the tick counter, and starts joining running animations.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "animation/anim_test_support.h"
#include "animation/animation.h"
#include "engine/tickers.h"
#include "support/machine.h"

namespace qln::test {
namespace {

char letter_at(AnimFixture& f, int32_t x, int32_t y) {
    return cell_letter(pixel(*f.window(), x, y));
}

TEST(AnimTick, ALateTickChangesOneFrameAndTheNextCountsFromIt) {
    for (const uint32_t base : {0u, 0xFFFFFF00u}) {
        SCOPED_TRACE(base);
        AnimFixture f;
        f.put_frames(AnimFixture::kScript, {{0, 0, 0, 10}, {1, 0, 0, 10}, {2, 0, 0, 10}});
        anim_define(f.m.engine, 0, 1, 0, 0, AnimFixture::kSheet, AnimFixture::kScript, 0);
        ASSERT_TRUE(anim_set_running(f.m.engine, 0, true));
        // (tick after base, letter shown, ms until the next change)
        const std::vector<std::pair<uint32_t, char>> ticks = {{0, 'A'},   {99, 'A'},  {350, 'B'},
                                                              {449, 'B'}, {450, 'C'}, {550, 'A'}};
        for (auto [at, shown] : ticks) {
            anim_tick(f.m.engine, base + at);
            EXPECT_EQ(letter_at(f, 0, 0), shown) << at;
        }
        EXPECT_EQ(tickers_quiet_ms(f.m.engine, base + 560, 1000), 90u);
    }
}

TEST(AnimTick, AStartBesideARunningAnimationWaitsForItsNextChange) {
    AnimFixture f;
    f.put_frames(AnimFixture::kScript, {{0, 0, 0, 10}, {1, 0, 0, 10}});
    f.put_frames(12, {{2, 0, 0, 20}, {3, 0, 0, 20}});
    anim_define(f.m.engine, 0, 1, 0, 0, AnimFixture::kSheet, AnimFixture::kScript, 0);
    anim_define(f.m.engine, 1, 1, 4, 0, AnimFixture::kSheet, 12, 0);
    ASSERT_TRUE(anim_set_running(f.m.engine, 0, true));
    anim_tick(f.m.engine, 0);
    anim_tick(f.m.engine, 30);
    ASSERT_TRUE(anim_set_running(f.m.engine, 1, true));
    std::string seen;
    for (const uint32_t at : {31u, 99u, 100u, 199u, 200u, 300u}) {
        anim_tick(f.m.engine, at);
        seen += std::to_string(at) + ":" + letter_at(f, 0, 0) + letter_at(f, 4, 0) + " ";
    }
    // Animation 1 starts at 100 and changes 200 ms later.
    EXPECT_EQ(seen, "31:A. 99:A. 100:BC 199:BC 200:AC 300:BD ");
    // Stopping one keeps the scheduler for the other; stopping both idles it.
    ASSERT_TRUE(anim_set_running(f.m.engine, 0, false));
    EXPECT_TRUE(tickers_active(f.m.engine));
    ASSERT_TRUE(anim_set_running(f.m.engine, 1, false));
    EXPECT_FALSE(tickers_active(f.m.engine));
    EXPECT_FALSE(anim_set_running(f.m.engine, 2, true));
}

}  // namespace
}  // namespace qln::test
