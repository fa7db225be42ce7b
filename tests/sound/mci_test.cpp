// Media command strings: the word splitter over hostile strings, and the
// device models stepped on the virtual clock, each step's error number and
// reply checked.

#include "sound/mci.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine.h"
#include "sound/mixer.h"
#include "sound/wav_test_image.h"
#include "support/machine.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

using test::Machine;

TEST(MciSplit, SplitsWordsAndRefusesBrokenQuotes) {
    struct Case {
        const char* command;
        uint32_t error;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"play cdaudio from 2 to 3", kMciOk, {"play", "cdaudio", "from", "2", "to", "3"}},
        {"  open\t\"my file.wav\"  alias  m ", kMciOk, {"open", "my file.wav", "alias", "m"}},
        {"open \"\" alias x", kMciOk, {"open", "", "alias", "x"}},
        {"", kMciOk, {}},
        {"open \"a.wav", kMciNoClosingQuote, {}},
        {"open \"a.wav\"x", kMciExtraCharacters, {}},
        {"\"", kMciNoClosingQuote, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        std::vector<std::string> words;
        EXPECT_EQ(mci_split(c.command, words), c.error);
        if (c.error == kMciOk) {
            EXPECT_EQ(words, c.words);
        }
    }
    std::vector<std::string> words;
    EXPECT_EQ(mci_split(std::string(1025, 'a'), words), kMciParamOverflow);
    // Bytes that are no text at all are only words.
    const std::string binary("\x01\xff\x80 \x00z", 6);
    EXPECT_EQ(mci_split(binary, words), kMciOk);
    EXPECT_EQ(words.size(), 2u);
}

// One command and what it must answer; after runs the clock on first.
struct Step {
    uint32_t after_ms;
    const char* command;
    uint32_t error;
    const char* reply;
};

struct MediaMachine : Machine {
    test::TempDir dir;
    test::CwdGuard cwd{dir.path()};
    MediaMachine() {
        EXPECT_TRUE(mixer_open(engine));
        // One second of sound at 22,050 Hz.
        dir.write("one.wav",
                  test::wav_image(1, 16, 22050, test::pcm16(std::vector<int16_t>(22050, 500))));
        dir.write("song.mid", {'M', 'T', 'h', 'd'});
        dir.write("bad.wav", {'R', 'I', 'F', 'F', 0});
    }
    void run_steps(const std::vector<Step>& steps) {
        for (const Step& s : steps) {
            SCOPED_TRACE(s.command);
            platform.now += s.after_ms;
            const MciReply r = mci_send(engine, s.command);
            EXPECT_EQ(r.error, s.error);
            EXPECT_EQ(r.text, s.reply);
            EXPECT_EQ(std::string(mci_error_text(r.error)).empty(), s.error == kMciOk);
        }
    }
};

TEST(MciDevices, AWaveDevicePlaysPausesSeeksAndStopsOnTheClock) {
    MediaMachine m;
    m.run_steps({
        {0, "open one.wav alias w", kMciOk, "1"},
        {0, "status w mode", kMciOk, "stopped"},
        {0, "status w length", kMciOk, "1000"},
        {0, "play w", kMciOk, ""},
        {250, "status w position", kMciOk, "250"},
        {0, "status w mode", kMciOk, "playing"},
        {0, "pause w", kMciOk, ""},
        {500, "status w position", kMciOk, "250"},
        {0, "status w mode", kMciOk, "paused"},
        {0, "resume w", kMciOk, ""},
        {100, "status w position", kMciOk, "350"},
        {0, "seek w to 900", kMciOk, ""},
        {0, "status w mode", kMciOk, "stopped"},
        {0, "play w", kMciOk, ""},
        {200, "status w mode", kMciOk, "stopped"},
        {0, "status w position", kMciOk, "1000"},
        {0, "seek w to start", kMciOk, ""},
        {0, "play w from 100 to 200", kMciOk, ""},
        {150, "status w mode", kMciOk, "stopped"},
        {0, "status w position", kMciOk, "200"},
        {0, "set w time format samples", kMciOk, ""},
        {0, "status w length", kMciOk, "44100"},
        {0, "status w time format", kMciOk, "samples"},
        {0, "seek w to end", kMciOk, ""},
        {0, "status w position", kMciOk, "44100"},
        {0, "play w from 5 to 2", kMciOutOfRange, ""},
        {0, "play w from 50000", kMciOutOfRange, ""},
        {0, "set w time format tmsf", kMciBadTimeFormat, ""},
        {0, "close w", kMciOk, ""},
        {0, "status w mode", kMciInvalidDeviceName, ""},
    });
}

TEST(MciDevices, PlayRepeatLoopsAndPlayWaitTakesItsTime) {
    MediaMachine m;
    m.run_steps({
        {0, "open one.wav alias w", kMciOk, "1"},
        {0, "play w repeat", kMciOk, ""},
        {2500, "status w mode", kMciOk, "playing"},
        {0, "stop w", kMciOk, ""},
        {0, "seek w to 600", kMciOk, ""},
    });
    const uint32_t before = m.platform.now;
    m.run_steps({{0, "play w wait", kMciOk, ""}, {0, "status w mode", kMciOk, "stopped"}});
    EXPECT_GE(m.platform.now - before, 400u);
    EXPECT_LE(m.platform.now - before, 402u);
}

TEST(MciDevices, ACdDriveWithoutTracksAnswersAsOneWithoutADisc) {
    MediaMachine m;
    m.run_steps({
        {0, "status cdaudio media present", kMciOk, "false"},
        {0, "status cdaudio mode", kMciOk, "not ready"},
        {0, "status cdaudio ready", kMciOk, "false"},
        {0, "play cdaudio from 2 to 3", kMciHardware, ""},
        {0, "status cdaudio number of tracks", kMciHardware, ""},
        {0, "set cdaudio time format tmsf", kMciOk, ""},
        {0, "set cdaudio door open", kMciOk, ""},
        {0, "set cdaudio audio all off", kMciOk, ""},
        {0, "capability cdaudio can eject", kMciOk, "true"},
        {0, "capability cdaudio device type", kMciOk, "cdaudio"},
        {0, "open cdaudio", kMciDeviceOpen, ""},
        {0, "close all", kMciOk, ""},
        {0, "open cdaudio alias cd wait", kMciOk, "2"},
        {0, "status cd media present", kMciOk, "false"},
    });
}

TEST(MciDevices, MalformedAndUnknownCommandsHaveTheirErrors) {
    MediaMachine m;
    m.run_steps({
        {0, "", kMciMissingCommandString, ""},
        {0, "   ", kMciMissingCommandString, ""},
        {0, "dance cdaudio", kMciUnrecognizedCommand, ""},
        {0, "play", kMciMissingDeviceName, ""},
        {0, "play nothing", kMciInvalidDeviceName, ""},
        {0, "open missing.wav", kMciFileNotFound, ""},
        {0, "open bad.wav", kMciInvalidFile, ""},
        {0, "open readme.txt", kMciExtensionNotFound, ""},
        {0, "open all", kMciCannotUseAll, ""},
        {0, "open one.wav alias", kMciMissingStringArgument, ""},
        {0, "open one.wav sideways", kMciUnrecognizedKeyword, ""},
        {0, "open one.wav alias a", kMciOk, "1"},
        {0, "open one.wav alias A", kMciDuplicateAlias, ""},
        {0, "play a from", kMciMissingParameter, ""},
        {0, "play a from x1", kMciBadInteger, ""},
        {0, "play a from 99999999999", kMciBadInteger, ""},
        {0, "play a backwards", kMciUnrecognizedKeyword, ""},
        {0, "status a", kMciMissingParameter, ""},
        {0, "status a colour", kMciUnrecognizedKeyword, ""},
        {0, "status a mode extra", kMciUnrecognizedKeyword, ""},
        {0, "seek a", kMciMissingParameter, ""},
        {0, "set a time format fortnights", kMciBadTimeFormat, ""},
        {0, "stop all", kMciCannotUseAll, ""},
        {0, "open \"one.wav", kMciNoClosingQuote, ""},
    });
}

TEST(MciSendCommand, PutsTheReplyAndTheErrorTextInStringRegisterZero) {
    MediaMachine m;
    ASSERT_TRUE(
        m.start(".code\n  mci_send \"open one.wav alias w\"\n  eval v3[1] = r[1]\n"
                "  mci_send \"fly w\"\n  eval v3[2] = r[1]\n  end\n"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.var(3, 1), 0);
    ASSERT_EQ(m.engine.sound.media.size(), 1u);
    EXPECT_EQ(m.var(3, 2), int32_t(kMciUnrecognizedCommand));
    EXPECT_EQ(m.str(0), std::string("(") + mci_error_text(kMciUnrecognizedCommand) + ")");
}

}  // namespace
}  // namespace qln
