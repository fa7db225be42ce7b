// The mixer graph rendered on the virtual clock: where a voice lands, and
// how the wave and master lines scale it.

#include <gtest/gtest.h>

#include <memory>

#include "engine/engine.h"
#include "sound/mixer.h"
#include "sound/sound_graph.h"

namespace qln {
namespace {

// A constant level on both sides for frames frames.
std::shared_ptr<const Pcm> level(int16_t left, int16_t right, size_t frames) {
    auto pcm = std::make_shared<Pcm>();
    for (size_t i = 0; i < frames; ++i) {
        pcm->samples.push_back(left);
        pcm->samples.push_back(right);
    }
    return pcm;
}

struct Capture {
    Engine engine;
    Capture() {
        engine.sound.capture = true;
        EXPECT_TRUE(mixer_open(engine));
    }
    void to(uint32_t tick) {
        engine.null_platform.now = tick;
        sound_catch_up(engine);
    }
    int16_t left(size_t frame) const { return engine.sound.captured.at(frame * 2); }
    int16_t right(size_t frame) const { return engine.sound.captured.at(frame * 2 + 1); }
};

TEST(SoundGraph, AVoiceStartsAtTheSampleOfItsTick) {
    Capture c;
    c.to(100);
    ASSERT_NE(sound_wave_start(c.engine, level(1000, -2000, 441), false), 0u);
    c.to(200);
    ASSERT_EQ(c.engine.sound.captured.size(), 2 * 8820u);  // 200 ms of stereo
    EXPECT_EQ(c.left(4409), 0);
    EXPECT_EQ(c.left(4410), 1000);
    EXPECT_EQ(c.right(4410), -2000);
    EXPECT_EQ(c.left(4850), 1000);
    EXPECT_EQ(c.left(4851), 0);  // 441 frames later it has ended
    EXPECT_FALSE(sound_wave_playing(c.engine, 1));
}

TEST(SoundGraph, ALoopingVoicePlaysUntilStopped) {
    Capture c;
    const uint32_t id = sound_wave_start(c.engine, level(300, 300, 10), true);
    c.to(50);
    EXPECT_TRUE(sound_wave_playing(c.engine, id));
    EXPECT_EQ(c.left(2204), 300);
    sound_waves_stop(c.engine);
    c.to(60);
    EXPECT_EQ(c.left(2205), 0);
    EXPECT_FALSE(sound_waves_any(c.engine));
}

TEST(SoundGraph, TheLinesScaleTheirSourcesAndTheMasterScalesAll) {
    struct Case {
        const char* name;
        int32_t master_l, master_r, wave_l, wave_r;
        int16_t left, right;  // of a 20000 / -20000 voice
    };
    const Case cases[] = {
        {"full volume is unity", 1000, 1000, 1000, 1000, 20000, -20000},
        {"the master halves", 500, 500, 1000, 1000, 10000, -10000},
        {"the wave line halves", 1000, 1000, 500, 500, 10000, -10000},
        {"the sides are apart", 1000, 0, 1000, 1000, 20000, 0},
        {"both lines multiply", 500, 500, 500, 1000, 5000, -10000},
        {"the wave line at 0 is silence", 1000, 1000, 0, 0, 0, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Capture c;
        mixer_line_configure(c.engine, kLineMaster, 2, 1000);
        mixer_line_configure(c.engine, kLineWave, 2, 1000);
        ASSERT_TRUE(vol_write(c.engine, kLineMaster, k.master_l, k.master_r));
        ASSERT_TRUE(vol_write(c.engine, kLineWave, k.wave_l, k.wave_r));
        sound_wave_start(c.engine, level(20000, -20000, 1000), false);
        c.to(10);
        EXPECT_EQ(c.left(100), k.left);
        EXPECT_EQ(c.right(100), k.right);
    }
}

TEST(SoundGraph, SourcesAddAndClipAtTheSampleRange) {
    Capture c;
    sound_wave_start(c.engine, level(30000, -30000, 100), false);
    sound_wave_start(c.engine, level(10000, -10000, 50), false);
    c.to(10);
    EXPECT_EQ(c.left(10), 32767);
    EXPECT_EQ(c.right(10), -32768);
    EXPECT_EQ(c.left(60), 30000);
}

TEST(SoundGraph, AVolumeChangeTakesEffectAtItsTick) {
    Capture c;
    mixer_line_configure(c.engine, kLineMaster, 2, 1000);
    sound_wave_start(c.engine, level(8000, 8000, 44100), false);
    c.to(100);
    ASSERT_TRUE(vol_write(c.engine, kLineMaster, 250, 250));
    c.to(200);
    EXPECT_EQ(c.left(4409), 8000);
    EXPECT_EQ(c.left(4410), 2000);
}

}  // namespace
}  // namespace qln
