// The demo game's whole route, played headless from a copy of build/games/demo
// with scripted clicks and a save folder of the test's own: a new game through
// the walk (saved) and the lantern woods to the ending and back to the title,
// then a second start that continues from the save through the starry top,
// the ending, the volume screen's fade test and Quit. Screens are pinned by
// hash (each one looked at; they depend on the IPA fonts that
// scripts/setup-deps.sh installs), the music by its loudness, the save by
// its bytes. tests/e2e/demo_test.sh plays the same route in the window.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "graphics/picture.h"
#include "sound/audio_file.h"
#include "support/pixels.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qln::test {
namespace {

struct Click {
    int x, y;
    int after_ms;  // time since the click before (the first: since the start)
};

// Where the scenario puts things (games/demo/start_up.qasm).
constexpr Click kNewGame{320, 292, 1500}, kContinue{320, 342, 1500}, kVolume{320, 392, 1500};
constexpr Click kQuit{320, 442, 1500};
constexpr Click kPage{320, 400, 1200};  // the message window waits for any click
constexpr Click kWoods{320, 176, 1200}, kHilltop{320, 212, 1200};  // the choice's two rows
constexpr Click kCdDown{420, 160, 1500}, kFade{225, 358, 1200};
constexpr Click kBack{415, 358, 4200};  // after the fade test's 3.8 s

const std::vector<Click> kFirstStart = {kNewGame, kPage, kPage, kPage, kPage, kWoods,
                                        kPage,    kPage, kPage, kPage, kPage, kQuit};
const std::vector<Click> kSecondStart = {kContinue, kHilltop, kPage,   kPage, kPage, kPage,
                                         kPage,     kVolume,  kCdDown, kFade, kBack, kQuit};

// "STARWATCH", the place (the path's choice), the endings found (bits).
std::string save_with_endings(char endings) {
    return std::string("STARWATCH\0\1", 11) + endings;
}

class DemoGame : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* home = std::getenv("XDG_DATA_HOME");
        saved_home_ = home ? std::make_unique<std::string>(home) : nullptr;
        if (!std::filesystem::exists(std::string(QUILLON_BIN_DIR) + "/games/demo/start_up.qln"))
            GTEST_SKIP() << "the demo game is not built (it needs Python 3 and libpng)";
        std::filesystem::copy(std::string(QUILLON_BIN_DIR) + "/games/demo", game_,
                              std::filesystem::copy_options::recursive);
        // Mixer volumes are kept between runs under the data home: keep them here.
        setenv("XDG_DATA_HOME", (dir_.str() + "/data").c_str(), 1);
    }
    void TearDown() override {
        if (saved_home_)
            setenv("XDG_DATA_HOME", saved_home_->c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
    }

    // Plays the first `count` clicks of route. The run ends by itself or at
    // max_ms (status 3); its last screen goes to screen_hash, its sound to audio.
    RunResult play(const std::vector<Click>& route, size_t count, int max_ms) {
        std::string script;
        int t = 0;
        for (size_t i = 0; i < count; ++i) {
            t += route[i].after_ms;
            script += std::to_string(t) + " click left " + std::to_string(route[i].x) + " " +
                      std::to_string(route[i].y) + "\n";
        }
        dir_.write("input.txt", std::vector<uint8_t>(script.begin(), script.end()));
        const std::string shot = dir_.str() + "/screen.bmp", sound = dir_.str() + "/audio.wav";
        std::filesystem::remove(shot);
        RunResult r =
            run_program("quillon",
                        {"--headless", "--game", game_.string(), "--save-dir", save_.string(),
                         "--input", dir_.str() + "/input.txt", "--max-ms", std::to_string(max_ms),
                         "--dump-screen", shot, "--dump-audio", sound},
                        dir_);
        EXPECT_EQ(r.err.find("scenario error"), std::string::npos) << r.err;
        const std::string bmp = slurp(shot);
        const std::unique_ptr<Picture, void (*)(Picture*)> screen(
            picture_decode(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size()), picture_free);
        screen_hash = screen ? picture_hash(*screen) : 0;
        audio = Pcm{};
        EXPECT_TRUE(audio_file_decode(sound, audio));
        return r;
    }
    // The whole route, with time to end after its last click.
    RunResult play(const std::vector<Click>& route) { return play(route, route.size(), 60000); }

    // The loudest sample from ms `from` to `to` of the last run's sound.
    int peak(int from, int to) const {
        int loudest = 0;
        for (size_t i = size_t(from) * 441 / 10 * 2; i < size_t(to) * 441 / 10 * 2; ++i)
            if (i < audio.samples.size()) loudest = std::max(loudest, std::abs(audio.samples[i]));
        return loudest;
    }

    std::string save() const { return slurp((save_ / "starwatch.sav").string()); }

    TempDir dir_;
    const std::filesystem::path game_ = dir_.path() / "game", save_ = dir_.path() / "save";
    std::unique_ptr<std::string> saved_home_;
    uint64_t screen_hash = 0;
    Pcm audio;
};

TEST_F(DemoGame, TheWholeRouteThroughASaveAndARestartThatContinues) {
    const RunResult first = play(kFirstStart);
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(save(), save_with_endings(1)) << "saved at the walk, the woods' ending found";
    EXPECT_GT(peak(300, 1400), 4000) << "the CD track on the title";
    EXPECT_GT(peak(2500, 7000), 4000) << "the MIDI tune on the walk (the CD stopped)";
    EXPECT_EQ(screen_hash, 0x580D241BE91D4D43ull) << "the title after Quit, Continue lit";

    const RunResult second = play(kSecondStart);
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(save(), save_with_endings(3)) << "both endings found";
    // The fade test starts at the click at 12.9 s: 0.8 s out, 1.3 s held, 0.8 s in.
    EXPECT_GT(peak(12000, 12900), 4000) << "the CD track on the volume screen";
    EXPECT_EQ(peak(13800, 14150), 0) << "silence once the CD line has faded out";
    EXPECT_GT(peak(15000, 16000), 4000) << "the CD line back";
}

TEST_F(DemoGame, ScreensAlongTheRoute) {
    struct Cut {
        const std::vector<Click>& route;
        size_t clicks;  // the run ends 100 ms before the next one
        bool plugin;
        uint64_t hash;
        const char* what;
    };
    const Cut cuts[] = {
        {kFirstStart, 0, true, 0x73C275D25271A57Dull, "the title, Continue faint without a save"},
        {kFirstStart, 6, true, 0x1ED22626597B5150ull, "the lantern woods after the pattern wipe"},
        {kFirstStart, 10, true, 0x1C8967C4A1DA906Dull,
         "the ending, its last line from the plug-in"},
        {kSecondStart, 1, true, 0x69A6C2C14A3FB2DAull, "Continue: the hill path and the choice"},
        {kSecondStart, 2, true, 0xA9E016F14D4F4AD9ull, "the starry top after the mosaic"},
        {kSecondStart, 10, true, 0x6A0899ECDD8238D4ull,
         "the volume screen after the fade test, CD at 90%"},
        {kSecondStart, 6, false, 0x230A611E3D2BB2BFull,
         "the ending without the plug-in: the game's own line"},
    };
    for (const Cut& cut : cuts) {
        std::filesystem::remove_all(save_);
        if (&cut.route == &kSecondStart) {
            const std::string bytes = save_with_endings(1);
            dir_.write("save/starwatch.sav", std::vector<uint8_t>(bytes.begin(), bytes.end()));
        }
        if (!cut.plugin) std::filesystem::remove(game_ / "example_plugin.so");
        int end = -100;
        for (size_t i = 0; i <= cut.clicks; ++i) end += cut.route[i].after_ms;
        play(cut.route, cut.clicks, end);
        EXPECT_EQ(screen_hash, cut.hash) << cut.what;
    }
}

}  // namespace
}  // namespace qln::test
