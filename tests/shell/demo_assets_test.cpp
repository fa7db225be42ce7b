// The demo game's generated files where a fault would not show on the
// screens tests/shell/demo_game_test.cpp pins: the animation's frame script
// against its sheet, the sequencer tune's notes, the CD track's length.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "graphics/picture.h"
#include "sound/audio_file.h"
#include "support/run_program.h"

namespace qln::test {
namespace {

const std::string demo = std::string(QUILLON_BIN_DIR) + "/games/demo/";

using PicturePtr = std::unique_ptr<Picture, void (*)(Picture*)>;

PicturePtr load_picture(const std::string& name) {
    const std::string bytes = slurp(demo + name);
    return PicturePtr(picture_decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
                      picture_free);
}

uint32_t le16(const std::string& s, size_t at) {
    return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8;
}

uint32_t be32(const std::string& s, size_t at) {
    return uint32_t(uint8_t(s[at])) << 24 | uint32_t(uint8_t(s[at + 1])) << 16 |
           uint32_t(uint8_t(s[at + 2])) << 8 | uint32_t(uint8_t(s[at + 3]));
}

class DemoAssets : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(demo + "start_up.qln")) GTEST_SKIP() << "demo not built";
    }
};

TEST_F(DemoAssets, EveryFrameOfTheTitleAnimationLiesOnItsSheet) {
    const std::string script = slurp(demo + "twinkle.anm");
    const PicturePtr sheet = load_picture("twinkle.tga");
    ASSERT_TRUE(sheet && sheet->alpha);
    ASSERT_GE(script.size(), 18u);
    const uint32_t w = le16(script, 0), h = le16(script, 2), per_row = le16(script, 4);
    ASSERT_GT(per_row, 0u);
    EXPECT_LE(w * per_row, sheet->width);
    EXPECT_EQ(le16(script, 8), 0u) << "place mode";
    size_t at = 10;
    for (; at + 8 <= script.size() && le16(script, at) != 0xFFFF; at += 8) {
        const uint32_t cell = le16(script, at);
        EXPECT_LE((cell / per_row + 1) * h, sheet->height) << "cell " << cell;
        EXPECT_GT(le16(script, at + 6), 0u) << "a zero duration would stop the loop";
    }
    EXPECT_EQ(at + 8, script.size()) << "one end marker, last";
}

TEST_F(DemoAssets, TheTuneIsOneTrackWhoseEveryNoteEnds) {
    const std::string mid = slurp(demo + "tune.mid");
    ASSERT_GE(mid.size(), 22u);
    ASSERT_EQ(mid.substr(0, 4), "MThd");
    EXPECT_EQ(be32(mid, 4), 6u);
    EXPECT_EQ(mid.substr(8, 4), std::string("\0\0\0\1", 4)) << "format 0, one track";
    ASSERT_EQ(mid.substr(14, 4), "MTrk");
    ASSERT_EQ(be32(mid, 18), mid.size() - 22) << "the track runs to the end of the file";
    std::map<int, int> sounding;  // channel * 128 + key -> notes on
    size_t at = 22;
    bool ended = false;
    while (at < mid.size() && !ended) {
        while (uint8_t(mid[at]) & 0x80) ++at;  // the delta time
        ++at;
        const uint8_t status = uint8_t(mid[at]);
        ASSERT_TRUE(status & 0x80) << "no running status is written, at " << at;
        if (status == 0xFF) {
            ended = uint8_t(mid[at + 1]) == 0x2F;
            at += 3 + uint8_t(mid[at + 2]);
        } else if ((status & 0xE0) == 0x80) {  // note off, note on
            const int key = (status & 0x0F) * 128 + uint8_t(mid[at + 1]);
            const bool on = (status & 0xF0) == 0x90 && mid[at + 2] != 0;
            sounding[key] += on ? 1 : -1;
            EXPECT_GE(sounding[key], 0) << "a note ended that never began, at " << at;
            at += 3;
        } else {
            ASSERT_EQ(status & 0xF0, 0xC0) << "only programs besides notes, at " << at;
            at += 2;
        }
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(at, mid.size());
    for (const auto& [key, count] : sounding) EXPECT_EQ(count, 0) << "key " << key;
}

TEST_F(DemoAssets, TheCdTrackDecodesToAShortPieceOfMusic) {
    Pcm pcm;
    ASSERT_TRUE(audio_file_decode(demo + "cd/track02.ogg", pcm));
    EXPECT_GT(pcm.frames(), uint64_t(kSoundRate) * 15);
    EXPECT_LT(pcm.frames(), uint64_t(kSoundRate) * 60);
    int peak = 0;
    for (const int16_t s : pcm.samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_GT(peak, 8000) << "not silence";
}

}  // namespace
}  // namespace qln::test
