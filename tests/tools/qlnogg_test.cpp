// The built qlnogg program: what it refuses, and a sine that comes back
// through the engine's track decoder.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "sound/audio_file.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qln::test {
namespace {

// A mono 16-bit WAV of a 441 Hz sine at the given rate, half a second.
std::vector<uint8_t> sine_wav(uint32_t rate) {
    const uint32_t frames = rate / 2;
    std::vector<uint8_t> w;
    const auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) w.push_back(uint8_t(v >> (8 * i)));
    };
    const auto u16 = [&](uint16_t v) {
        w.push_back(uint8_t(v));
        w.push_back(uint8_t(v >> 8));
    };
    w.insert(w.end(), {'R', 'I', 'F', 'F'});
    u32(36 + frames * 2);
    w.insert(w.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    w.insert(w.end(), {'d', 'a', 't', 'a'});
    u32(frames * 2);
    for (uint32_t i = 0; i < frames; ++i)
        u16(uint16_t(int16_t(20000 * std::sin(2 * M_PI * 441.0 * i / rate))));
    return w;
}

TEST(Qlnogg, EncodesASineThatDecodesAtTheMixerRate) {
    TempDir dir;
    const std::string in = dir.write("in.wav", sine_wav(22050));
    const std::string out = dir.str() + "/out.ogg";
    const RunResult r = run_program("qlnogg", {in, out}, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(slurp(out).substr(0, 4), "OggS");
    Pcm pcm;
    ASSERT_TRUE(audio_file_decode(out, pcm));
    EXPECT_NEAR(double(pcm.frames()), 44100 / 2, 100);
    // 441 Hz at 44,100 frames a second: the wave rises through zero every 100 frames.
    int rising = 0;
    for (size_t f = 2000; f < 20000; ++f)
        rising += pcm.samples[2 * f - 2] < 0 && pcm.samples[2 * f] >= 0;
    EXPECT_NEAR(rising, 180, 2);
}

TEST(Qlnogg, RefusesBadCommandLinesAndLeavesNoFileOnFailure) {
    TempDir dir;
    const std::string out = dir.str() + "/out.ogg";
    const std::string in = dir.write("in.wav", sine_wav(8000));
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {{in}, 2},
        {{"--quality", "1.5", in, out}, 2},
        {{"--quality", "x", in, out}, 2},
        {{"--loud", in, out}, 2},
        {{dir.str() + "/missing.wav", out}, 1},
        {{dir.write("text.wav", {'h', 'i'}), out}, 1},
        {{in, dir.str() + "/no/such/dir/out.ogg"}, 1},
    };
    for (const Case& c : cases) {
        const RunResult r = run_program("qlnogg", c.args, dir);
        EXPECT_EQ(r.status, c.status) << c.args.front() << ": " << r.err;
        EXPECT_NE(r.err.find("qlnogg: "), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(out)) << c.args.front();
    }
}

}  // namespace
}  // namespace qln::test
