// The wave commands run as scenarios: files by the "%s%s" rule, images in
// raw buffers, one wave at a time, nostop, waits on the virtual clock.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine.h"
#include "sound/mixer.h"
#include "sound/sound_graph.h"
#include "sound/wav_test_image.h"
#include "support/machine.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

using test::Machine;

// 100 ms of a level at 44,100 Hz mono.
std::vector<uint8_t> tone(int16_t level) {
    return test::wav_image(1, 16, 44100, test::pcm16(std::vector<int16_t>(4410, level)));
}

struct WaveMachine : Machine {
    test::TempDir dir;
    test::CwdGuard cwd{dir.path()};
    WaveMachine() {
        engine.sound.capture = true;
        EXPECT_TRUE(mixer_open(engine));
        dir.write("a.wav", tone(1000));
        dir.write("sub/b.wav", tone(2000));
        dir.write("bad.wav", {'R', 'I', 'F', 'F'});
        sysstr_set(engine, 2, "sub\\");
    }
    // The level the mixer played at ms after the start.
    int16_t level_at(uint32_t ms) { return engine.sound.captured.at(size_t(ms) * 441 / 10 * 2); }
};

TEST(WaveCommands, PlayFilesByNameAndDirectory) {
    struct Case {
        const char* name;
        const char* code;
        int32_t r1;
        int16_t level;  // playing 20 ms after the start
    };
    const Case cases[] = {
        {"the name alone", "wave_play \"a.wav\", 0, 0, 0, -1", 0, 1000},
        {"a system string in front", "wave_play \"b.wav\", 0, 0, 0, 2", 0, 2000},
        {"a directory without a system string", "wave_play \"a.wav\", 0, 0, 0, 7", 0, 1000},
        {"a missing file is refused", "wave_play \"none.wav\", 0, 0, 0, -1", 1, 0},
        {"a file that is no wave is refused", "wave_play \"bad.wav\", 0, 0, 0, -1", 1, 0},
        {"a new wave replaces the old one",
         "wave_play \"a.wav\", 0, 0, 0, -1\n  wave_play \"b.wav\", 0, 0, 0, 2", 0, 2000},
        {"nostop is refused while a wave plays",
         "wave_play \"a.wav\", 0, 0, 0, -1\n  wave_play \"b.wav\", 0, 0, 1, 2", 1, 1000},
        {"wave_stop stops it", "wave_play \"a.wav\", 0, 0, 0, -1\n  wave_stop", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WaveMachine m;
        ASSERT_TRUE(m.start(std::string(".code\n  ") + c.code +
                            "\n  eval v3[1] = r[1]\n  wait 3, 0\n  end\n"));
        EXPECT_EQ(m.run(), kResultEndAll);
        EXPECT_EQ(m.var(3, 1), c.r1);
        EXPECT_EQ(m.level_at(20), c.level);
    }
}

TEST(WaveCommands, AWaitLastsTheSoundAndALoopDoesNotWait) {
    struct Case {
        const char* code;
        int32_t end_ms;
        bool playing;
    };
    const Case cases[] = {
        {"wave_play \"a.wav\", 0, 1, 0, -1", 100, false},
        {"wave_play \"a.wav\", 1, 1, 0, -1", 0, true},
        {"wave_play \"a.wav\", 0, 0, 0, -1", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        WaveMachine m;
        ASSERT_TRUE(m.start(std::string(".code\n  clock_reset\n  ") + c.code +
                            "\n  clock_get\n  eval v3[1] = r[1]\n  end\n"));
        EXPECT_EQ(m.run(), kResultEndAll);
        EXPECT_GE(m.var(3, 1), c.end_ms);
        EXPECT_LE(m.var(3, 1), c.end_ms + 2);
        EXPECT_EQ(sound_waves_any(m.engine), c.playing);
    }
}

TEST(WaveCommands, ABufferImagePlaysOnAfterTheBufferIsFreed) {
    WaveMachine m;
    const std::vector<uint8_t> image = tone(-700);
    ASSERT_TRUE(buf_store_bytes(m.engine, 4, image.data(), image.size()));
    ASSERT_TRUE(m.start(".code\n  wave_play_buf 4, 0, 0, 0\n  eval v3[1] = r[1]\n  end\n"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.var(3, 1), 0);
    ASSERT_TRUE(buf_free(m.engine, 4));
    const std::vector<uint8_t> other(image.size(), 0x55);
    ASSERT_TRUE(buf_store_bytes(m.engine, 4, other.data(), other.size()));
    m.platform.now = 50;
    sound_catch_up(m.engine);
    EXPECT_EQ(m.level_at(40), -700);
}

TEST(WaveCommands, ABufferThatHoldsNoBytesIsAnError) {
    WaveMachine m;
    ASSERT_TRUE(m.start(".code\n  wave_play_buf 9, 0, 0, 0\n  end\n"));
    m.run();
    ASSERT_EQ(m.platform.errors.size(), 1u);
    EXPECT_EQ(m.platform.errors[0].error_number, 109u);
    EXPECT_STREQ(m.platform.errors[0].detail, "buf_no = 9");
}

}  // namespace
}  // namespace qln
