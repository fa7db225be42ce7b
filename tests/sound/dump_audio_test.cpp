// --dump-audio: a headless run writes what its mixer played, from start to
// exit, as a 44,100 Hz stereo 16-bit WAV.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "asm/assembler.h"
#include "platform/host_files.h"
#include "sound/sound_files.h"
#include "sound/wav_test_image.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

int16_t left_at(const std::vector<uint8_t>& wav, size_t frame) {
    const size_t at = 44 + frame * 4;
    return int16_t(wav.at(at) | wav.at(at + 1) << 8);
}

// The volumes a run sets are kept in the test's folder, not the user's.
class DataHomeIn {
  public:
    explicit DataHomeIn(const std::string& dir) : saved_(std::getenv("XDG_DATA_HOME")) {
        if (saved_) value_ = saved_;
        setenv("XDG_DATA_HOME", dir.c_str(), 1);
    }
    ~DataHomeIn() {
        if (saved_) {
            setenv("XDG_DATA_HOME", value_.c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
    }

  private:
    const char* saved_;
    std::string value_;
};

// The loudest left sample of a dump from ms from to ms to.
int peak(const std::vector<uint8_t>& wav, uint32_t from, uint32_t to) {
    int loudest = 0;
    for (size_t f = size_t(from) * 441 / 10; f < size_t(to) * 441 / 10; ++f) {
        loudest = std::max(loudest, std::abs(int(left_at(wav, f))));
    }
    return loudest;
}

TEST(DumpAudio, AWaveLandsAtTheSampleOfItsVirtualTimeAndTheMasterScalesIt) {
    test::TempDir dir;
    dir.write("a.wav",
              test::wav_image(1, 16, 22050, test::pcm16(std::vector<int16_t>(2205, 1200))));
    std::vector<uint8_t> game;
    AsmError error;
    ASSERT_TRUE(assemble_packed(R"(
.code
    wait 10, 0
    wave_play "a.wav", 0, 1, 0, -1
    vol_set 0, 500, 250
    wave_play "a.wav", 0, 1, 0, -1
    end
)",
                                game, error))
        << error.message;
    dir.write("start_up.qln", game);
    const std::string dump = dir.str() + "/run.wav";
    test::RunResult r;
    {
        DataHomeIn data(dir.str() + "/data");
        r = test::run_program("quillon", {"--headless", "--game", dir.str(), "--dump-audio", dump},
                              dir);
    }
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    std::vector<uint8_t> wav;
    ASSERT_TRUE(host_file_read_all(dump, wav, 1 << 24));
    ASSERT_GE(wav.size(), 44u + 300 * 441 / 10 * 4);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(wav[22], 2);                                     // channels
    EXPECT_EQ(wav[24] | wav[25] << 8 | wav[26] << 16, 44100);  // rate
    EXPECT_EQ(wav[34], 16);                                    // bits
    EXPECT_EQ(left_at(wav, 4409), 0);
    EXPECT_EQ(left_at(wav, 4410), 1200);  // the wave starts at 100 ms
    EXPECT_EQ(left_at(wav, 8819), 1200);
    // The second play, after the master went to 500 / 250: raw values a
    // hair below a half and a quarter.
    EXPECT_EQ(left_at(wav, 8820 + 100), 599);
    EXPECT_EQ(int16_t(wav.at(44 + (8820 + 100) * 4 + 2) | wav.at(44 + (8820 + 100) * 4 + 3) << 8),
              299);
    // The run's volumes were kept in the game's data folder.
    std::string kept;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.path() / "data")) {
        if (e.path().filename() == "volumes.txt") kept = e.path().string();
    }
    std::vector<uint8_t> text;
    ASSERT_TRUE(host_file_read_all(kept, text, 4096)) << "no volumes.txt";
    EXPECT_NE(std::string(text.begin(), text.end()).find("\n0 32767 16383\n"), std::string::npos);
}

TEST(DumpAudio, AnOggTrackAndAMidiFileAreHeard) {
    test::TempDir dir;
    test::write_ogg(dir.str() + "/cd/track02.ogg", 0.5);
    dir.write("song.mid", test::midi_two_tempos());
    std::vector<uint8_t> game;
    AsmError error;
    ASSERT_TRUE(assemble_packed(R"(
.code
    mci_send "set cdaudio time format tmsf"
    mci_send "play cdaudio from 2"
    wait 30, 0
    mci_send "stop cdaudio"
    mci_send "play song.mid"
    wait 50, 0
    end
)",
                                game, error))
        << error.message;
    dir.write("start_up.qln", game);
    const std::string dump = dir.str() + "/run.wav";
    DataHomeIn data(dir.str() + "/data");
    const test::RunResult r = test::run_program(
        "quillon", {"--headless", "--game", dir.str(), "--dump-audio", dump}, dir);
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    std::vector<uint8_t> wav;
    ASSERT_TRUE(host_file_read_all(dump, wav, 1 << 24));
    ASSERT_GE(wav.size(), 44u + 800 * 441 / 10 * 4);
    EXPECT_GT(peak(wav, 0, 290), 6000);    // the track
    EXPECT_GT(peak(wav, 310, 800), 1000);  // the sequencer
}

}  // namespace
}  // namespace qln
