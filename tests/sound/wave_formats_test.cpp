// Waves in the compressed formats from files and raw buffers, and the sound
// files a scenario names seen through the save folder and the sandbox.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "sound/mci.h"
#include "sound/mixer.h"
#include "sound/sound_files.h"
#include "sound/wav_test_image.h"
#include "support/machine.h"
#include "support/temp_dir.h"
#include "tables/tables.h"

namespace qln {
namespace {

struct WaveMachine : test::Machine {
    test::TempDir dir;
    test::CwdGuard cwd{dir.path()};
    WaveMachine() {
        engine.sound.capture = true;
        EXPECT_TRUE(mixer_open(engine));
    }
    // R1 of the wave command and the virtual ms it waited.
    std::pair<int32_t, int32_t> play(const std::string& command) {
        EXPECT_TRUE(start(".code\n  clock_reset\n  " + command +
                          "\n  eval v3[1] = r[1]\n  clock_get\n  eval v3[2] = r[1]\n  end\n"));
        EXPECT_EQ(run(), kResultEndAll);
        return {var(3, 1), var(3, 2)};
    }
    int16_t level_at(uint32_t ms) const { return engine.sound.captured.at(ms * 441 / 10 * 2); }
};

TEST(WaveFormats, CompressedFilesAndBuffersPlayForTheirLength) {
    const std::pair<const char*, int> cases[] = {
        {"t.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"t.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"t.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},  // the encoder pads the end
    };
    for (const auto& [name, format] : cases) {
        WaveMachine m;
        test::write_ogg(m.dir.str() + "/" + name, 0.2, 8000, format);
        std::ifstream in(m.dir.str() + "/" + name, std::ios::binary);
        const std::vector<uint8_t> image{std::istreambuf_iterator<char>(in), {}};
        ASSERT_TRUE(buf_store_bytes(m.engine, 4, image.data(), image.size()));
        for (const std::string& play : {"wave_play \"" + std::string(name) + "\", 0, 1, 0, -1",
                                        std::string("wave_play_buf 4, 0, 1, 0")}) {
            SCOPED_TRACE(play);
            const auto [r1, waited] = m.play(play);
            EXPECT_EQ(r1, 0);
            EXPECT_GE(waited, 199);
            EXPECT_LE(waited, 240);
        }
        const std::vector<int16_t>& played = m.engine.sound.captured;
        EXPECT_GT(*std::max_element(played.end() - 8820, played.end() - 1000), 7000);
    }
    WaveMachine m;
    const std::vector<uint8_t> junk = {'O', 'g', 'g', 'S', 0, 2, 0, 0, 1, 2, 3};
    ASSERT_TRUE(buf_store_bytes(m.engine, 4, junk.data(), junk.size()));
    EXPECT_EQ(m.play("wave_play_buf 4, 0, 1, 0").first, 1);
}

std::vector<uint8_t> level_wav(int16_t level) {
    return test::wav_image(1, 16, 44100, test::pcm16(std::vector<int16_t>(4410, level)));
}

TEST(WaveFormats, SoundFilesGoThroughTheSaveFolderAndTheSandbox) {
    WaveMachine m;
    const std::string game = m.dir.str() + "/game", out = m.dir.str() + "/outside.wav";
    m.dir.write("game/a.wav", level_wav(1000));
    m.dir.write("save/a.wav", level_wav(2000));
    m.dir.write("save/cd/track02.wav", level_wav(3000));
    m.dir.write("outside.wav", level_wav(4000));
    const std::string sheet =
        "FILE \"..\\..\\outside.wav\" WAVE\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n";
    m.dir.write("game/bgm/cd.cue", std::vector<uint8_t>(sheet.begin(), sheet.end()));
    std::filesystem::current_path(game);
    m.engine.files.game_dir = game;
    m.engine.files.save_dir = m.dir.str() + "/save";
    m.engine.files.sandbox = true;
    testing::internal::CaptureStderr();
    EXPECT_EQ(m.play("wave_play \"..\\\\outside.wav\", 0, 0, 0, -1").first, 1);
    EXPECT_EQ(m.play("wave_play \"a.wav\", 0, 1, 0, -1").first, 0);
    EXPECT_EQ(m.level_at(50), 2000);  // the save folder's copy
    EXPECT_EQ(mci_send(m.engine, "open ..\\outside.wav").error, kMciFileNotFound);
    EXPECT_EQ(mci_send(m.engine, "status cdaudio number of tracks").text, "2");  // save/cd
    mci_close_all(m.engine);
    m.engine.sound.cd_scanned = false;
    std::filesystem::remove_all(m.dir.str() + "/save/cd");
    EXPECT_EQ(mci_send(m.engine, "status cdaudio media present").text, "false");  // bgm/cd.cue
    const std::string said = testing::internal::GetCapturedStderr();
    const std::string refusal = "sandbox: refused the read of \"" + out + "\"\n";
    size_t count = 0;
    for (size_t at = said.find(refusal); at != std::string::npos; at = said.find(refusal, at + 1))
        ++count;
    EXPECT_EQ(count, 3u) << said;
}

}  // namespace
}  // namespace qln
