// The animation commands as scenarios on a virtual clock: when frames
// change, how plays end, groups against single animations, what a waiting
// play sleeps, redefinition, buffers that go away, and the errors.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "animation/anim_test_support.h"
#include "engine/tickers.h"
#include "support/machine.h"

namespace qln::test {
namespace {

const char* const kDefine1 = "  anim_def 1, 1, 0, 0, 10, 11, 0\n";

TEST(AnimPlay, FramesChangeOnTimeAndThePlayEndsOnItsLastFrame) {
    const struct {
        const char* name;
        std::initializer_list<Frame> frames;
        const char* loops;
        const char* changes;
        uint32_t end_ms;
    } cases[] = {
        // clang-format off
        {"two plays", {{0, 0, 0, 10}, {1, 0, 0, 20}, {2, 0, 0, 5}}, "2",
         "0:A 100:B 300:C 350:A 450:B 650:C ", 700},
        {"three plays of three frames show nine", {{0, 0, 0, 1}, {1, 0, 0, 1}, {2, 0, 0, 1}}, "3",
         "0:A 10:B 20:C 30:A 40:B 50:C 60:A 70:B 80:C ", 90},
        {"a first frame of no duration shows once", {{0, 0, 0, 0}, {1, 0, 0, 1}}, "0", "0:A ", 0},
        // The next play shows its first frame a tick later: one change a tick.
        {"a frame of no duration ends each play", {{0, 0, 0, 5}, {1, 0, 0, 0}}, "2",
         "0:A 50:B 51:A 101:B ", 101},
        {"no frames", {}, "0", "", 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AnimFixture f;
        f.put_frames(AnimFixture::kScript, c.frames);
        EXPECT_EQ(f.run(std::string(kDefine1) + "  anim_play 1, 1, " + c.loops + "\n"),
                  kResultEndAll);
        EXPECT_EQ(f.watch.changes, c.changes);
        EXPECT_EQ(f.watch.now, c.end_ms);
        EXPECT_TRUE(f.watch.errors.empty());
        EXPECT_FALSE(tickers_active(f.m.engine));
    }
}

TEST(AnimPlay, TheWaitSleepsUntilTheNextFrameChangeAndEndsWithTheProgram) {
    AnimFixture f;
    f.put_frames(AnimFixture::kScript, {{0, 0, 0, 5}, {1, 0, 0, 5}});
    EXPECT_EQ(f.run(std::string(kDefine1) + "  anim_play 1, 1, 1\n"), kResultEndAll);
    // 50 ms down to 2 before each change; the last millisecond is a plain pass.
    EXPECT_EQ(f.watch.idle_waits.size(), 98u);
    EXPECT_EQ(f.watch.idle_waits[0], 50u);
    EXPECT_EQ(f.watch.idle_waits[48], 2u);

    AnimFixture forever;
    forever.put_frames(AnimFixture::kScript, {{0, 0, 0, 1}, {1, 0, 0, 1}});
    forever.watch.at(50, [&forever] { forever.watch.quit = true; });
    EXPECT_LT(forever.run(std::string(kDefine1) + "  anim_play 1, 1, 0\n"), 0);
    EXPECT_EQ(forever.watch.now, 50u);
}

// 1 (A, B, 100 ms each) at (0, 0) and 2 (C, 300 ms) at (1, 1) overlap in (1, 1).
TEST(AnimPlay, AGroupRedrawsInNumberOrderWhereSinglesOverlapAsTheyChange) {
    const struct {
        const char* code;
        const char* changes;
    } cases[] = {
        {"  anim_play 1, 2, 1\n", "0:C "},
        // The second start waits for the first's next frame change.
        {"  anim_start 1\n  anim_start 2\n  wait 25, 0\n", "0:A 100:C 200:A "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        AnimFixture f;
        f.watch.spots = {{1, 1}};
        f.put_frames(AnimFixture::kScript, {{0, 0, 0, 10}, {1, 0, 0, 10}});
        f.put_frames(12, {{2, 0, 0, 30}});
        EXPECT_EQ(f.run(std::string(kDefine1) + "  anim_def 2, 1, 1, 1, 10, 12, 0\n" + c.code),
                  kResultEndAll);
        EXPECT_EQ(f.watch.changes, c.changes);
    }
}

TEST(AnimCommands, ErrorsNameTheOperandsAndARefusedPlayStartsNothing) {
    const struct {
        const char* code;
        const char* error;
    } cases[] = {
        {"  anim_def 1, 7, 0, 0, 10, 11, 0\n", "106 win_no = 7"},
        {"  anim_def 1, 1, 0, 0, 11, 11, 0\n", "112 buf_no = 11"},
        {"  anim_def 1, 1, 0, 0, 10, 10, 0\n", "109 buf_no = 10"},
        {"  anim_start 2\n", "107 anime_no = 2"},
        {"  anim_stop 8\n", "107 anime_no = 8"},
        {"  anim_play 1, 3, 2\n", "107 from = 1, to = 3, loop = 2"},
        {"  anim_play 5, 9, 0\n", "107 from = 5, to = 9, loop = 0"},
        {"  anim_play 2, 1, 0\n", ""},  // an empty range ends at once
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        AnimFixture f;
        f.put_frames(AnimFixture::kScript, {{0, 0, 0, 10}});
        // 1 and 3 defined, 2 not, the table 9 long.
        EXPECT_EQ(f.run(std::string(kDefine1) + "  anim_def 3, 1, 0, 0, 10, 11, 0\n" + c.code),
                  kResultEndAll);
        std::string got;
        for (const ScenarioErrorRecord& e : f.watch.errors)
            got += std::to_string(e.error_number) + " " + e.detail;
        EXPECT_EQ(got, c.error);
        EXPECT_EQ(f.watch.changes, "");
        EXPECT_FALSE(f.m.engine.animations.records[1].running);
    }
}

TEST(AnimCommands, ADefinitionGrowsTheTableAndARedefinitionStops) {
    AnimFixture f;
    f.watch.spots = {{0, 0}, {4, 4}};
    f.put_frames(AnimFixture::kScript, {{0, 0, 0, 10}, {1, 0, 0, 10}});
    EXPECT_EQ(f.run("  anim_def 20, 1, 0, 0, 10, 11, 0\n  anim_start 20\n  wait 15, 0\n"
                    "  anim_def 20, 1, 4, 4, 10, 11, 0\n  wait 20, 0\n  anim_start 20\n"),
              kResultEndAll);
    // Stopped on B at 150 ms, started anew at the new place at 350.
    EXPECT_EQ(f.watch.changes, "0:A. 100:B. 350:BA ");
    const std::vector<AnimRecord>& records = f.m.engine.animations.records;
    EXPECT_EQ(records.size(), 28u);
    EXPECT_EQ(std::count_if(records.begin(), records.end(), [](auto& r) { return r.defined; }), 1);
}

TEST(AnimCommands, AFreedOrReplacedSheetIsNeverReadAndAFreedScriptEndsThePlay) {
    const struct {
        const char* name;
        int32_t freed;
        bool replaced, running;
        const char* changes;
    } cases[] = {
        // Frame A at 200 finds no sheet; the new one draws B as G, A as H.
        {"sheet replaced", AnimFixture::kSheet, true, true, "0:A 100:B 300:G 400:H 500:G "},
        {"sheet freed", AnimFixture::kSheet, false, true, "0:A 100:B "},
        {"script freed", AnimFixture::kScript, false, false, "0:A 100:B "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AnimFixture f;
        f.put_frames(AnimFixture::kScript, {{0, 0, 0, 10}, {1, 0, 0, 10}});
        f.watch.at(150, [&f, &c] { buf_free(f.m.engine, c.freed); });
        if (c.replaced) f.watch.at(250, [&f] { f.put_sheet(true); });
        EXPECT_EQ(f.run(std::string(kDefine1) + "  anim_start 1\n  wait 50, 0\n"), kResultEndAll);
        EXPECT_EQ(f.watch.changes, c.changes);
        EXPECT_EQ(f.m.engine.animations.records[1].running, c.running);
    }
}

}  // namespace
}  // namespace qln::test
