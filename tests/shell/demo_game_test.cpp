// The demo game, played headless from a copy of build/games/demo with
// scripted clicks: both branches of the choice, the volume screen, a save
// that the next start offers to continue. Screens are pinned by hash; they
// were checked by eye, and they depend on the IPA fonts that
// scripts/setup-deps.sh installs.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "graphics/picture.h"
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
constexpr Click kNewGame{320, 292, 1500};
constexpr Click kContinue{320, 342, 1500};
constexpr Click kVolume{320, 392, 1500};
constexpr Click kQuit{320, 442, 1200};
constexpr Click kNextPage{320, 400, 1200};  // the message window waits for any click
constexpr Click kWoods{320, 176, 1200};     // the two rows of the choice list
constexpr Click kHilltop{320, 212, 1200};
constexpr Click kCdDown{420, 160, 1500};  // the volume screen's minus of the CD line
constexpr Click kFade{225, 358, 1200};
constexpr Click kBack{415, 358, 2400};  // after the fade test's 1.8 s

const std::vector<Click> kToChoice = {kNewGame, kNextPage, kNextPage, kNextPage, kNextPage};
const std::vector<Click> kWoodsToTitle = {kWoods,    kNextPage, kNextPage,
                                          kNextPage, kNextPage, kNextPage};
const std::vector<Click> kHilltopToTitle = {kHilltop,  kNextPage, kNextPage,
                                            kNextPage, kNextPage, kNextPage};

std::vector<Click> operator+(std::vector<Click> a, const std::vector<Click>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class DemoGame : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* home = std::getenv("XDG_DATA_HOME");
        saved_home_ = home ? std::make_unique<std::string>(home) : nullptr;
        if (!std::filesystem::exists(std::string(QUILLON_BIN_DIR) + "/games/demo/start_up.qln"))
            GTEST_SKIP() << "the demo game is not built (it needs Python 3 and libpng)";
        std::filesystem::copy(std::string(QUILLON_BIN_DIR) + "/games/demo", dir_.path(),
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

    // Plays the clicks; the run ends settle_ms after the last (status 3)
    // unless the game ends first. The last screen goes to screen_hash.
    RunResult play(const std::vector<Click>& clicks, int settle_ms = 1200) {
        std::string script;
        int t = 0;
        for (const Click& c : clicks) {
            t += c.after_ms;
            script += std::to_string(t) + " click left " + std::to_string(c.x) + " " +
                      std::to_string(c.y) + "\n";
        }
        dir_.write("input.txt", std::vector<uint8_t>(script.begin(), script.end()));
        const std::string shot = dir_.str() + "/screen.bmp";
        std::filesystem::remove(shot);
        RunResult r =
            run_program("quillon",
                        {"--headless", "--game", dir_.str(), "--input", dir_.str() + "/input.txt",
                         "--max-ms", std::to_string(t + settle_ms), "--dump-screen", shot},
                        dir_);
        EXPECT_EQ(r.err.find("scenario error"), std::string::npos) << r.err;
        const std::string bmp = slurp(shot);
        const std::unique_ptr<Picture, void (*)(Picture*)> screen(
            picture_decode(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size()), picture_free);
        screen_hash = screen ? picture_hash(*screen) : 0;
        return r;
    }

    TempDir dir_;
    std::unique_ptr<std::string> saved_home_;
    uint64_t screen_hash = 0;
};

TEST_F(DemoGame, PlaysBothWaysThroughTheChoiceAndTheVolumeScreenThenQuits) {
    // After each ending the title is back: only its Quit ends the run early.
    const RunResult r = play(kToChoice + kWoodsToTitle + kToChoice + kHilltopToTitle +
                             std::vector<Click>{kVolume, kCdDown, kFade, kBack, kQuit});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(slurp(dir_.str() + "/Quillon.ini").find("chapter=1"), std::string::npos);
    // One step down on the CD line, which the fade test took to 0 and back;
    // the MIDI and wave lines untouched.
    std::string volumes;
    for (const auto& game : std::filesystem::directory_iterator(dir_.path() / "data/quillon"))
        volumes = slurp((game.path() / "volumes.txt").string());
    EXPECT_NE(volumes.find("\n1 65535 65535\n2 65535 65535\n3 "), std::string::npos) << volumes;
    EXPECT_EQ(volumes.find("\n3 65535"), std::string::npos) << volumes;
    EXPECT_EQ(volumes.find("\n3 0 "), std::string::npos) << volumes;
}

TEST_F(DemoGame, EachAnswerOfTheChoiceLeadsToItsOwnScene) {
    play(kToChoice + std::vector<Click>{kWoods});
    EXPECT_EQ(screen_hash, 0x1ED22626597B5150ull) << "the lantern woods";
    play(kToChoice + std::vector<Click>{kHilltop});
    EXPECT_EQ(screen_hash, 0xA9E016F14D4F4AD9ull) << "the starry hilltop";
}

TEST_F(DemoGame, ASecondStartOffersToContinueFromTheSave) {
    play({}, 1400);
    EXPECT_EQ(screen_hash, 0x73C275D25271A57Dull) << "the title with Continue faint";
    play(kToChoice);  // the walk saves before the choice
    const uint64_t choice = screen_hash;
    EXPECT_EQ(choice, 0x69A6C2C14A3FB2DAull) << "the hill path, its caption and the choice list";
    play({}, 1400);
    EXPECT_EQ(screen_hash, 0x2E66F604736B8DEFull) << "the title with Continue lit";
    play({kContinue});
    EXPECT_EQ(screen_hash, choice) << "Continue goes straight to the choice";
}

}  // namespace
}  // namespace qln::test
