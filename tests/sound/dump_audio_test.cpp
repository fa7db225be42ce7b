// --dump-audio: a headless run writes what its mixer played, from start to
// exit, as a 44,100 Hz stereo 16-bit WAV.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "asm/assembler.h"
#include "platform/host_files.h"
#include "sound/wav_test_image.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

int16_t left_at(const std::vector<uint8_t>& wav, size_t frame) {
    const size_t at = 44 + frame * 4;
    return int16_t(wav.at(at) | wav.at(at + 1) << 8);
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
    // The volumes the run sets are kept in the test's folder, not the user's.
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string saved_value = saved ? saved : "";
    setenv("XDG_DATA_HOME", (dir.str() + "/data").c_str(), 1);
    const test::RunResult r = test::run_program(
        "quillon", {"--headless", "--game", dir.str(), "--dump-audio", dump}, dir);
    if (saved) {
        setenv("XDG_DATA_HOME", saved_value.c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
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

}  // namespace
}  // namespace qln
