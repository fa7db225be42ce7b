// Waves in the compressed formats, from files and from raw buffers, and the
// sound files a scenario names seen through the save folder overlay and the
// sandbox.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "sound/mci.h"
#include "sound/mixer.h"
#include "sound/sound_files.h"
#include "sound/sound_graph.h"
#include "sound/wav_test_image.h"
#include "support/machine.h"
#include "support/temp_dir.h"
#include "tables/tables.h"

namespace qln {
namespace {

std::vector<uint8_t> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct WaveMachine : test::Machine {
    test::TempDir dir;
    test::CwdGuard cwd{dir.path()};
    WaveMachine() {
        engine.sound.capture = true;
        EXPECT_TRUE(mixer_open(engine));
    }
    const std::vector<int16_t>& played() const { return engine.sound.captured; }
    int peak(uint32_t from_ms, uint32_t to_ms) const {
        int loudest = 0;
        for (size_t i = size_t(from_ms) * 441 / 10 * 2; i < size_t(to_ms) * 441 / 10 * 2; ++i)
            loudest = std::max(loudest, std::abs(int(played().at(i))));
        return loudest;
    }
};

TEST(WaveFormats, CompressedFilesAndBuffersPlayForTheirLength) {
    struct Case {
        const char* name;
        int format;
        uint32_t max_ms;  // the encoder may pad the end
    };
    const Case cases[] = {
        {"t.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 210},
        {"t.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 201},
        {"t.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 240},
    };
    for (const Case& c : cases) {
        for (const bool from_buffer : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (from_buffer ? " in a buffer" : " as a file"));
            WaveMachine m;
            test::write_sound(m.dir.str() + "/" + c.name, c.format, 0.2);
            const std::vector<uint8_t> image = file_bytes(m.dir.str() + "/" + c.name);
            ASSERT_TRUE(buf_store_bytes(m.engine, 4, image.data(), image.size()));
            const std::string play = from_buffer
                                         ? "wave_play_buf 4, 0, 1, 0"
                                         : "wave_play \"" + std::string(c.name) + "\", 0, 1, 0, -1";
            ASSERT_TRUE(
                m.start(".code\n  clock_reset\n  " + play +
                        "\n  eval v3[1] = r[1]\n  clock_get\n  eval v3[2] = r[1]\n  end\n"));
            EXPECT_EQ(m.run(), kResultEndAll);
            EXPECT_EQ(m.var(3, 1), 0);
            EXPECT_GE(m.var(3, 2), 199);
            EXPECT_LE(m.var(3, 2), int32_t(c.max_ms));
            EXPECT_GT(m.peak(20, 180), 7000);
        }
    }
}

TEST(WaveFormats, AFlacBufferPlaysItsExactSamplesAfterTheBufferIsReplaced) {
    WaveMachine m;
    test::write_sound(m.dir.str() + "/t.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 0.1);
    const std::vector<uint8_t> image = file_bytes(m.dir.str() + "/t.flac");
    ASSERT_TRUE(buf_store_bytes(m.engine, 4, image.data(), image.size()));
    ASSERT_TRUE(m.start(".code\n  wave_play_buf 4, 0, 0, 0\n  end\n"));
    EXPECT_EQ(m.run(), kResultEndAll);
    ASSERT_TRUE(buf_free(m.engine, 4));
    const std::vector<uint8_t> other(image.size(), 0x55);
    ASSERT_TRUE(buf_store_bytes(m.engine, 4, other.data(), other.size()));
    m.platform.now += 200;
    sound_catch_up(m.engine);
    const std::vector<short> tone = test::tone_frames(4410, 8000);
    const size_t start = m.played().size() / 2 - 200 * 441 / 10;
    for (size_t i : {size_t(0), size_t(7), size_t(1234), size_t(4409)}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m.played().at((start + i) * 2), tone[i * 2]);
        EXPECT_EQ(m.played().at((start + i) * 2 + 1), tone[i * 2 + 1]);
    }
    EXPECT_EQ(m.played().at((start + 4410) * 2), 0);  // ended with its samples
}

TEST(WaveFormats, BuffersThatHoldNoSoundAreRefused) {
    std::vector<uint8_t> flac_head;
    {
        test::TempDir dir;
        test::write_sound(dir.str() + "/t.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 0.1);
        flac_head = file_bytes(dir.str() + "/t.flac");
        flac_head.resize(20);  // the stream header cut short
    }
    const std::vector<std::vector<uint8_t>> images = {
        {1, 2, 3, 4, 5, 6, 7, 8},
        {'O', 'g', 'g', 'S', 0, 2, 0, 0},
        flac_head,
        {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'},
    };
    for (const std::vector<uint8_t>& image : images) {
        SCOPED_TRACE(image.size());
        WaveMachine m;
        ASSERT_TRUE(buf_store_bytes(m.engine, 4, image.data(), image.size()));
        ASSERT_TRUE(m.start(".code\n  wave_play_buf 4, 0, 0, 0\n  eval v3[1] = r[1]\n  end\n"));
        EXPECT_EQ(m.run(), kResultEndAll);
        EXPECT_EQ(m.var(3, 1), 1);
        EXPECT_FALSE(sound_waves_any(m.engine));
    }
}

// A game folder (the current directory) with its save folder beside it, in
// a sandbox; "outside" lies in neither.
struct SandboxMachine : WaveMachine {
    std::string game = dir.str() + "/game", save = dir.str() + "/save";
    SandboxMachine() {
        std::filesystem::create_directories(game);
        std::filesystem::create_directories(save);
        std::filesystem::current_path(game);
        engine.files.game_dir = game;
        engine.files.save_dir = save;
        engine.files.sandbox = true;
    }
};

std::vector<uint8_t> level_wav(int16_t level) {
    return test::wav_image(1, 16, 44100, test::pcm16(std::vector<int16_t>(4410, level)));
}

TEST(WaveFormats, SoundFilesGoThroughTheSaveFolderAndTheSandbox) {
    SandboxMachine m;
    m.dir.write("game/a.wav", level_wav(1000));
    m.dir.write("save/a.wav", level_wav(2000));
    m.dir.write("outside.wav", level_wav(3000));
    m.dir.write("save/cd/track02.wav", level_wav(4000));
    testing::internal::CaptureStderr();
    ASSERT_TRUE(
        m.start(".code\n  wave_play \"a.wav\", 0, 0, 0, -1\n  eval v3[1] = r[1]\n"
                "  wave_play \"..\\\\outside.wav\", 0, 0, 0, -1\n  eval v3[2] = r[1]\n  end\n"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.var(3, 1), 0);
    EXPECT_EQ(m.var(3, 2), 1);
    m.platform.now += 20;
    sound_catch_up(m.engine);
    EXPECT_EQ(m.played().at(10 * 441 / 10 * 2), 2000);  // the save folder's copy
    const MciReply outside = mci_send(m.engine, "open ..\\outside.wav alias o");
    EXPECT_EQ(outside.error, kMciFileNotFound);
    EXPECT_EQ(mci_send(m.engine, "status cdaudio number of tracks").text, "2");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
    EXPECT_NE(said.find("refused the read of \"" + m.dir.str() + "/outside.wav\""),
              std::string::npos)
        << said;
}

TEST(WaveFormats, ACueSheetCannotNameAnImageOutsideTheGamesFolders) {
    SandboxMachine m;
    std::vector<uint8_t> image(44100 * 4, 0x11);
    m.dir.write("image.bin", image);
    const std::string sheet =
        "FILE \"..\\..\\image.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n";
    m.dir.write("game/cd/cd.cue", std::vector<uint8_t>(sheet.begin(), sheet.end()));
    testing::internal::CaptureStderr();
    EXPECT_EQ(mci_send(m.engine, "status cdaudio media present").text, "false");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("sandbox: refused the read of \"" + m.dir.str() + "/image.bin\""),
              std::string::npos)
        << said;
}

}  // namespace
}  // namespace qln
