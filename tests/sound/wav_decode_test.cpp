// WAV images: the layouts that play and the broken ones refused, with what
// each converts to on the mixer's 44,100 Hz stereo frames.

#include "sound/wav_decode.h"

#include <gtest/gtest.h>

#include <vector>

#include "sound/wav_test_image.h"

namespace qln {
namespace {

using test::pcm16;
using test::wav_image;

TEST(WavDecode, ConvertsEachLayoutToStereoFrames) {
    struct Case {
        const char* name;
        std::vector<uint8_t> image;
        size_t frames;
        std::vector<int16_t> first;  // the first frames, left and right
    };
    const std::vector<uint8_t> list_chunk = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    const Case cases[] = {
        {"16-bit stereo at the mixer's rate",
         wav_image(2, 16, 44100, pcm16({100, -100, 7, 8})),
         2,
         {100, -100, 7, 8}},
        {"16-bit mono goes to both sides",
         wav_image(1, 16, 44100, pcm16({-300, 300})),
         2,
         {-300, -300, 300, 300}},
        {"8-bit is unsigned around 128",
         wav_image(1, 8, 44100, {128, 255, 0}),
         3,
         {0, 0, 127 << 8, 127 << 8, -32768, -32768}},
        {"22,050 Hz doubles, halfway between",
         wav_image(1, 16, 22050, pcm16({0, 1000})),
         4,
         {0, 0, 500, 500, 1000, 1000, 1000, 1000}},
        {"an odd chunk before the data is padded",
         wav_image(1, 16, 44100, pcm16({5}), list_chunk),
         1,
         {5, 5}},
        {"a cut frame at the end is dropped", wav_image(2, 16, 44100, {1, 0, 2, 0, 3}), 1, {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pcm pcm;
        ASSERT_EQ(wav_decode(c.image.data(), c.image.size(), pcm), WavError::None);
        EXPECT_EQ(pcm.frames(), c.frames);
        for (size_t i = 0; i < c.first.size(); ++i) EXPECT_EQ(pcm.samples.at(i), c.first[i]) << i;
    }
}

TEST(WavDecode, RefusesBrokenImagesWithTheirReason) {
    std::vector<uint8_t> no_data = wav_image(1, 16, 44100, {});
    no_data.resize(no_data.size() - 8);
    std::vector<uint8_t> short_fmt = wav_image(1, 16, 44100, pcm16({1}));
    short_fmt[16] = 8;  // format chunk of 8 bytes
    std::vector<uint8_t> long_data = wav_image(1, 16, 44100, pcm16({1, 2}));
    long_data[40] = 0xFF;  // a data length far past the end is cut to the image
    struct Case {
        const char* name;
        std::vector<uint8_t> image;
        WavError error;
    };
    const Case cases[] = {
        {"empty", {}, WavError::NotRiff},
        {"not RIFF", {'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, WavError::NotRiff},
        {"no chunks", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}, WavError::NoFormat},
        {"compressed", wav_image(1, 4, 44100, {1, 2}, {}, 2), WavError::NotPcm},
        {"floating point", wav_image(1, 32, 44100, {1, 2, 3, 4}, {}, 3), WavError::NotPcm},
        {"three channels", wav_image(3, 16, 44100, pcm16({1, 2, 3})), WavError::Unsupported},
        {"24 bits", wav_image(1, 24, 44100, {1, 2, 3}), WavError::Unsupported},
        {"a rate of 0", wav_image(1, 16, 0, pcm16({1})), WavError::Unsupported},
        {"no data chunk", no_data, WavError::NoData},
        {"a format chunk too short", short_fmt, WavError::BadFormat},
        // Ten minutes and a frame at 1,000 Hz: more than a sound held whole may last.
        {"too long", wav_image(1, 8, 1000, std::vector<uint8_t>(600001, 128)), WavError::TooLong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pcm pcm;
        EXPECT_EQ(wav_decode(c.image.data(), c.image.size(), pcm), c.error);
        EXPECT_STRNE(wav_error_text(c.error), "");
    }
    Pcm pcm;
    ASSERT_EQ(wav_decode(long_data.data(), long_data.size(), pcm), WavError::None);
    EXPECT_EQ(pcm.frames(), 2u);
    const std::vector<uint8_t> ten_minutes =
        wav_image(1, 8, 1000, std::vector<uint8_t>(600000, 128));
    ASSERT_EQ(wav_decode(ten_minutes.data(), ten_minutes.size(), pcm), WavError::None);
    EXPECT_EQ(pcm.frames(), 44100u * 600);
}

TEST(WavDecode, EveryCutOfAnImageIsRefusedOrReadWithinIt) {
    const std::vector<uint8_t> image = wav_image(2, 16, 11025, pcm16({1, 2, 3, 4, 5, 6}));
    for (size_t cut = 0; cut < image.size(); ++cut) {
        const std::vector<uint8_t> part(image.begin(), image.begin() + cut);
        Pcm pcm;
        const WavError error = wav_decode(part.data(), part.size(), pcm);
        if (error == WavError::None) {
            EXPECT_LE(pcm.frames(), 12u) << cut;
        }
    }
}

}  // namespace
}  // namespace qln
