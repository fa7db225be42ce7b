// A streamed track whose engine stops decoding for longer than its ring
// holds: silence without a click or stale samples, then the track again
// from where it stopped.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "engine/sound_state.h"
#include "sound/sound_graph.h"
#include "sound/track_stream.h"
#include "sound/wav_test_image.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

TEST(TrackStream, ARingThatRunsDryFadesToSilenceAndTheTrackGoesOnWhereItStopped) {
    constexpr size_t kFrames = 44100 * 3;
    std::vector<int16_t> tone(kFrames);  // 441 Hz: at most 629 from one frame to the next
    for (size_t i = 0; i < kFrames; ++i) tone[i] = int16_t(10000 * std::sin(i * 2 * M_PI / 100));
    test::TempDir dir;
    const std::string path = dir.write("t.wav", test::wav_image(1, 16, 44100, test::pcm16(tone)));

    std::shared_ptr<TrackStream> stream =
        track_stream_open({TrackPiece{path, false, 0, kFrames}}, false);
    track_stream_fill(*stream, 100);  // the ring full, then nothing for 2 s
    SoundState sound;
    WaveVoice voice;
    voice.ring = track_stream_ring(*stream);
    voice.end_frame = kFrames;
    voice.owner = 1;
    sound.waves.push_back(voice);
    std::vector<int16_t> out(size_t(44100 * 2 + 2000) * 2);
    sound_render(sound, out.data(), 44100 * 2);
    EXPECT_EQ(sound.waves[0].frame, kStreamRingFrames);  // stopped where the ring did
    track_stream_fill(*stream, 100);
    sound_render(sound, out.data() + 44100 * 2 * 2, 2000);
    EXPECT_FALSE(sound.waves[0].done);

    int largest_step = 0;
    for (size_t i = 1; i < out.size() / 2; ++i) {
        largest_step = std::max(largest_step, std::abs(out[2 * i] - out[2 * i - 2]));
    }
    EXPECT_LE(largest_step, 640);
    EXPECT_EQ(out[2 * (kStreamRingFrames - kStreamRampFrames - 1)],
              tone[kStreamRingFrames - kStreamRampFrames - 1]);
    for (size_t i = kStreamRingFrames - 1; i < 44100 * 2; ++i) ASSERT_EQ(out[2 * i], 0) << i;
    // After the fade in, the frames after the last one played.
    for (size_t i = 0; i < 2000 - kStreamRampFrames; i += 97) {
        const size_t played = 44100 * 2 + kStreamRampFrames + i;
        EXPECT_EQ(out[2 * played], tone[kStreamRingFrames + kStreamRampFrames + i]) << i;
    }
}

}  // namespace
}  // namespace qln
