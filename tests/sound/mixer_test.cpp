// The mixer lines: the volume commands run as scenarios, the fades on the
// virtual clock, the one-channel rule, and the volumes kept between runs.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/engine.h"
#include "sound/mixer.h"
#include "support/machine.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

using test::Machine;

// Runs code (then vol_get of line) and gives R1, R2, R3 of that read.
struct Read {
    int32_t r1, r2, r3;
};

Read run_and_read(Machine& m, const std::string& code, int line) {
    const std::string source = ".code\n" + code + "\n  vol_get " + std::to_string(line) +
                               "\n  eval v3[1] = r[1]\n  eval v3[2] = r[2]\n"
                               "  eval v3[3] = r[3]\n  end\n";
    EXPECT_TRUE(m.start(source));
    EXPECT_EQ(m.run(), kResultEndAll);
    return Read{m.var(3, 1), m.var(3, 2), m.var(3, 3)};
}

TEST(VolumeCommands, ReadAndWriteTheLinesInTheirOperandOrders) {
    struct Case {
        const char* name;
        const char* code;
        int line;
        Read expected;  // R1 = second value, R2 = first value, R3 = fading
    };
    const Case cases[] = {
        {"a fresh line is at full volume", "", 0, {1000, 1000, 0}},
        {"first -1 keeps the first value", "  vol_set 0, -1, 500", 0, {500, 1000, 0}},
        {"second -1 keeps the second value", "  vol_set 1, 250, -1", 1, {1000, 250, 0}},
        {"values above 1000 count as 1000",
         "  vol_set 2, 0, 5000\n  vol_set 2, -1, -1",
         2,
         {1000, 0, 0}},
        {"a line of 5 cannot be read", "", 5, {-1, -1, 0}},
        {"a negative line cannot be read", "", -1, {-1, -1, 0}},
        {"a line of 7 is not touched", "  vol_set 7, 0, 0", 4, {1000, 1000, 0}},
        {"a running fade shows", "  vol_fade 3, 0, 0, 1000", 3, {1000, 1000, 1}},
        {"vol_set ends a fade",
         "  vol_fade 3, 0, 0, 1000\n  vol_set 3, 300, 400",
         3,
         {400, 300, 0}},
        {"vol_fade takes the second value's target first",
         "  vol_fade 4, 200, 800, 0\n  eval 0",
         4,
         {200, 800, 0}},
        {"a target of -1 fades to 1000",
         "  vol_set 1, 0, 0\n  vol_fade 1, -1, -1, 0\n  eval 0",
         1,
         {1000, 1000, 0}},
        {"vol_fade_end writes the targets and ends the fade",
         "  vol_fade 2, 100, 600, 5000\n  vol_fade_end 2",
         2,
         {100, 600, 0}},
        {"vol_fade_end without a fade does nothing",
         "  vol_set 2, 10, 20\n  vol_fade_end 2",
         2,
         {20, 10, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Machine m;
        ASSERT_TRUE(mixer_open(m.engine));
        // Raw steps of one: what is written reads back unchanged.
        for (uint32_t line = 0; line < kMixerLines; ++line)
            mixer_line_configure(m.engine, line, 2, 1000);
        const Read r = run_and_read(m, c.code, c.line);
        EXPECT_EQ(r.r1, c.expected.r1);
        EXPECT_EQ(r.r2, c.expected.r2);
        EXPECT_EQ(r.r3, c.expected.r3);
    }
}

TEST(VolumeCommands, WithoutAMixerNothingIsReadOrWritten) {
    Machine m;
    const Read r = run_and_read(m, "  vol_set 0, 10, 10\n  vol_fade 0, 0, 0, 10", 0);
    EXPECT_EQ(r.r1, -1);
    EXPECT_EQ(r.r2, -1);
    EXPECT_EQ(r.r3, 0);
    EXPECT_TRUE(m.platform.errors.empty());
}

TEST(VolumeCommands, KeepingASideNeverLosesAStepOfIt) {
    // 333 is not a whole raw step: read back it is 332, and writing the
    // read value back would lose one step each round.
    Machine m;
    ASSERT_TRUE(mixer_open(m.engine));
    const Read r = run_and_read(m,
                                "  vol_set 1, 333, 333\n  eval v3[5] = 0\n"
                                "loop:\n  vol_set 1, -1, v3[5]\n  eval v3[5] = v3[5] + 100\n"
                                "  jump_if v3[5] < 1000, loop",
                                1);
    EXPECT_EQ(r.r2, 332);
    EXPECT_EQ(r.r1, 899);  // the last write, 900, truncated once
}

TEST(Mixer, ReadingTruncatesOnTheFullRawScale) {
    Machine m;
    ASSERT_TRUE(mixer_open(m.engine));
    const Read r = run_and_read(m, "  vol_set 0, 500, 250", 0);
    EXPECT_EQ(r.r1, 249);
    EXPECT_EQ(r.r2, 499);
    EXPECT_EQ(m.engine.sound.lines[0].raw[0], 32767u);
}

TEST(Mixer, AOneChannelLineStoresTheAverageAndReadsItOnBothSides) {
    Machine m;
    ASSERT_TRUE(mixer_open(m.engine));
    mixer_line_configure(m.engine, 2, 1, 65535);
    const Read r = run_and_read(m, "  vol_set 2, 200, 400", 2);
    EXPECT_EQ(r.r1, 299);  // 300 less the rounding of the raw step
    EXPECT_EQ(r.r2, 299);
    EXPECT_EQ(m.engine.sound.lines[2].raw[0], 19660u);
    // Keeping one side counts its raw value into the average.
    ASSERT_TRUE(vol_write(m.engine, 2, -1, 1000));
    EXPECT_EQ(m.engine.sound.lines[2].raw[0], (19660u + 65535u) / 2);
    ASSERT_TRUE(vol_write(m.engine, 2, -1, -1));
    EXPECT_EQ(m.engine.sound.lines[2].raw[0], (19660u + 65535u) / 2);
}

TEST(Mixer, AFadeMovesWithTheClockAndEndsOnItsTargets) {
    struct Step {
        uint32_t at;
        uint32_t first, second;
        bool fading;
    };
    struct Case {
        const char* name;
        uint32_t start;  // tick of the fade's start
        int32_t from;    // both values before it
        int32_t t0, t1, duration;
        Step steps[3];
    };
    const Case cases[] = {
        {"up, truncating",
         0,
         0,
         1000,
         0,
         1000,
         {{250, 250, 0, true}, {999, 999, 0, true}, {1000, 1000, 0, false}}},
        {"down on both sides",
         10,
         1000,
         0,
         500,
         200,
         {{60, 750, 875, true}, {110, 500, 750, true}, {5000, 0, 500, false}}},
        {"across the wrap of the tick counter",
         0xFFFFFF9Cu,
         0,
         1000,
         1000,
         1000,
         {{150, 250, 250, true}, {899, 999, 999, true}, {900, 1000, 1000, false}}},
        {"0 ms sets the targets at the next tick",
         50,
         0,
         400,
         600,
         0,
         {{50, 400, 600, false}, {51, 400, 600, false}, {52, 400, 600, false}}},
        {"the duration keeps its low 16 bits",
         0,
         0,
         1000,
         1000,
         65536 + 100,
         {{50, 500, 500, true}, {100, 1000, 1000, false}, {200, 1000, 1000, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Machine m;
        ASSERT_TRUE(mixer_open(m.engine));
        mixer_line_configure(m.engine, 1, 2, 1000);
        ASSERT_TRUE(vol_write(m.engine, 1, c.from, c.from));
        m.platform.now = c.start;
        ASSERT_TRUE(vol_fade_start(m.engine, 1, c.t0, c.t1, c.duration));
        for (const Step& s : c.steps) {
            vol_fade_tick(m.engine, s.at);
            VolumeReading v;
            ASSERT_TRUE(vol_read(m.engine, 1, v));
            EXPECT_EQ(v.first, s.first) << "at " << s.at;
            EXPECT_EQ(v.second, s.second) << "at " << s.at;
            EXPECT_EQ(v.fading, s.fading) << "at " << s.at;
        }
    }
}

TEST(Mixer, AFinishedFadeIsNotResumedByTheNextTick) {
    Machine m;
    ASSERT_TRUE(mixer_open(m.engine));
    ASSERT_TRUE(vol_write(m.engine, 0, 0, 0));
    ASSERT_TRUE(vol_fade_start(m.engine, 0, 1000, 1000, 1000));
    vol_fade_tick(m.engine, 100);
    ASSERT_TRUE(vol_fade_finish(m.engine, 0));
    vol_fade_tick(m.engine, 300);
    VolumeReading v;
    ASSERT_TRUE(vol_read(m.engine, 0, v));
    EXPECT_EQ(v.first, 1000u);
    EXPECT_FALSE(v.fading);
}

TEST(Mixer, AFadeRunsInThePollStepOfAWaitingScenario) {
    Machine m;
    ASSERT_TRUE(mixer_open(m.engine));
    const Read r =
        run_and_read(m, "  vol_set 3, 1000, 1000\n  vol_fade 3, 0, 0, 400\n  wait 50, 0", 3);
    EXPECT_EQ(r.r1, 0);
    EXPECT_EQ(r.r3, 0);
}

TEST(VolumeStore, TheVolumesOfOneRunAreThoseOfTheNext) {
    test::TempDir dir;
    const std::string path = dir.str() + "/volumes.txt";
    {
        Machine m;
        m.engine.sound.volume_path = path;
        ASSERT_TRUE(mixer_open(m.engine));
        ASSERT_TRUE(vol_write(m.engine, 3, 200, 600));
        mixer_close(m.engine);
    }
    Machine m;
    m.engine.sound.volume_path = path;
    ASSERT_TRUE(mixer_open(m.engine));
    VolumeReading v;
    ASSERT_TRUE(vol_read(m.engine, 3, v));
    EXPECT_EQ(v.first, 200u);
    EXPECT_EQ(v.second, 600u);
    ASSERT_TRUE(vol_read(m.engine, 0, v));
    EXPECT_EQ(v.first, 1000u);
}

TEST(VolumeStore, ABrokenFileLeavesEveryLineAtFullVolume) {
    const char* files[] = {"", "quillon mixer volumes 1\n3 70000 0\n", "something else\n3 0 0\n",
                           "quillon mixer volumes 1\n9 0 0\n3 x y\n",
                           "quillon mixer volumes 1\n3 1 2 3\n"};
    for (const char* text : files) {
        SCOPED_TRACE(text);
        test::TempDir dir;
        dir.write("volumes.txt",
                  std::vector<uint8_t>(text, text + std::char_traits<char>::length(text)));
        Machine m;
        m.engine.sound.volume_path = dir.str() + "/volumes.txt";
        ASSERT_TRUE(mixer_open(m.engine));
        for (uint32_t line = 0; line < kMixerLines; ++line) {
            VolumeReading v;
            ASSERT_TRUE(vol_read(m.engine, line, v));
            EXPECT_EQ(v.first + v.second, 2000u) << line;
        }
    }
}

}  // namespace
}  // namespace qln
