// Files opened by name as the device of their extension, streamed tracks,
// MIDI through the SoundFont, notifications and CD images of a cue sheet,
// all on the virtual clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "platform/host_files.h"
#include "platform/host_input.h"
#include "sound/mci.h"
#include "sound/mixer.h"
#include "sound/sound_files.h"
#include "sound/wav_test_image.h"
#include "support/machine.h"
#include "support/temp_dir.h"
#include "tables/tables.h"

namespace qln {
namespace {

struct Step {
    uint32_t after_ms;
    const char* command;
    uint32_t error;
    const char* reply;
};

struct FileMachine : test::Machine {
    test::TempDir dir;
    test::CwdGuard cwd{dir.path()};
    FileMachine() {
        engine.sound.capture = true;
        EXPECT_TRUE(mixer_open(engine));
    }
    void run_steps(const std::vector<Step>& steps) {
        for (const Step& s : steps) {
            SCOPED_TRACE(s.command);
            platform.now += s.after_ms;
            const MciReply r = mci_send(engine, s.command);
            EXPECT_EQ(r.error, s.error);
            EXPECT_EQ(r.text, s.reply);
        }
    }
    // The loudest sample played from ms from to ms to.
    int peak(uint32_t from, uint32_t to) const {
        const std::vector<int16_t>& played = engine.sound.captured;
        int loudest = 0;
        for (size_t i = size_t(from) * 441 / 10 * 2; i < size_t(to) * 441 / 10 * 2; ++i) {
            loudest = std::max(loudest, std::abs(int(played.at(i))));
        }
        return loudest;
    }
};

TEST(MediaFiles, OpenAsTheDeviceOfTheirExtension) {
    FileMachine m;
    test::write_ogg(m.dir.str() + "/tone.OGG", 0.1);
    m.dir.write("song.mid", test::midi_two_tempos());
    m.dir.write("beep.wav", test::wav_image(1, 16, 44100, test::pcm16({1, 2, 3})));
    m.dir.write("noise.flac", {'f', 'L', 'a', 'C', 0, 0});
    m.dir.write("broken.mid", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 0, 1, 0});
    m.run_steps({
        {0, "open tone.ogg alias t", kMciOk, "1"},
        {0, "capability t device type", kMciOk, "mpegvideo"},
        {0, "status t length", kMciOk, "100"},
        {0, "open song.mid", kMciOk, "2"},
        {0, "capability song.mid device type", kMciOk, "sequencer"},
        {0, "status song.mid length", kMciOk, "1500"},
        {0, "open beep.wav alias b", kMciOk, "3"},
        {0, "capability b device type", kMciOk, "waveaudio"},
        {0, "open tone.ogg type waveaudio alias w", kMciInvalidFile, ""},
        {0, "open noise.flac", kMciInvalidFile, ""},
        {0, "open broken.mid", kMciInvalidFile, ""},
        {0, "open gone.mp3", kMciFileNotFound, ""},
        {0, "open gone.mid", kMciFileNotFound, ""},
    });
}

TEST(MediaFiles, ATrackStreamsPastItsFirstBlocksAndStopsAtItsEnd) {
    FileMachine m;
    // Three seconds: twice what is decoded ahead.
    test::write_ogg(m.dir.str() + "/long.ogg", 3.0);
    m.run_steps({
        {0, "open long.ogg alias bgm", kMciOk, "1"},
        {0, "play bgm from 500", kMciOk, ""},
        {2000, "status bgm position", kMciOk, "2500"},
        {0, "status bgm mode", kMciOk, "playing"},
        {600, "status bgm mode", kMciOk, "stopped"},
        {0, "status bgm position", kMciOk, "3000"},
        {0, "play bgm from 1000 to 1100", kMciOk, ""},
        {200, "status bgm position", kMciOk, "1100"},
        {0, "play bgm from 2900 repeat", kMciOk, ""},
        {250, "status bgm mode", kMciOk, "playing"},
    });
    EXPECT_GT(m.peak(1, 2499), 6000);
    EXPECT_GT(m.peak(2000, 2499), 6000);  // the stream was still decoding
    EXPECT_EQ(m.peak(2501, 2600), 0);     // ended with the file
    EXPECT_GT(m.peak(2601, 2699), 6000);  // from 1000 to 1100
    EXPECT_EQ(m.peak(2702, 2800), 0);
    EXPECT_GT(m.peak(2950, 3050), 6000);  // repeat: the last 100 ms, then again from 0
}

TEST(MediaFiles, TheSequencerPlaysMidiThroughTheSoundFontTheSameEveryRun) {
    ASSERT_EQ(host_path_kind(SoundState{}.soundfont), HostPathKind::File)
        << "the General MIDI SoundFont of scripts/setup-deps.sh is missing";
    std::vector<int16_t> first;
    for (int run = 0; run < 2; ++run) {
        FileMachine m;
        m.dir.write("song.mid", test::midi_two_tempos());
        m.run_steps({
            {0, "open song.mid alias s", kMciOk, "1"},
            {0, "play s", kMciOk, ""},
            {500, "status s position", kMciOk, "500"},
            {1100, "status s mode", kMciOk, "stopped"},
            {0, "status s position", kMciOk, "1500"},
            {0, "play s from 1000", kMciOk, ""},
            {200, "status s position", kMciOk, "1200"},
            {0, "play s from 0", kMciOk, ""},
            {200, "status s position", kMciOk, "200"},
        });
        EXPECT_GT(m.peak(0, 1400), 1000);
        EXPECT_GT(m.peak(1800, 2000), 1000);  // played again from the start
        if (run == 0) {
            first = m.engine.sound.captured;
        } else {
            EXPECT_TRUE(first == m.engine.sound.captured);
        }
    }
}

TEST(MediaFiles, WithoutASoundFontTheSequencerKeepsTimeInSilence) {
    FileMachine m;
    m.engine.sound.soundfont = m.dir.str() + "/none.sf2";
    m.dir.write("song.mid", test::midi_two_tempos());
    testing::internal::CaptureStderr();
    m.run_steps({
        {0, "open song.mid alias s", kMciOk, "1"},
        {0, "play s", kMciOk, ""},
        {700, "status s position", kMciOk, "700"},
        {0, "play s from 0", kMciOk, ""},
        {1600, "status s mode", kMciOk, "stopped"},
    });
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("none.sf2"), std::string::npos);
    EXPECT_EQ(m.peak(0, 2300), 0);
}

TEST(MediaFiles, NotifyPostsHowAPlayEndedAndWakesAKeyWait) {
    FileMachine m;
    m.dir.write("short.wav",
                test::wav_image(1, 16, 44100, test::pcm16(std::vector<int16_t>(2205, 9))));
    m.run_steps({
        {0, "open short.wav alias w", kMciOk, "1"},
        {0, "play w notify", kMciOk, ""},
        {10, "play w from 0 notify", kMciOk, ""},   // supersedes the first
        {10, "stop w", kMciOk, ""},                 // aborts the second
        {0, "seek w to start notify", kMciOk, ""},  // done at once
        {0, "play w from 0 to 10", kMciOk, ""},     // asks for nothing
    });
    std::vector<uint16_t> codes;
    for (const MediaNotification& n : m.engine.sound.notifications) codes.push_back(n.code);
    EXPECT_EQ(codes, (std::vector<uint16_t>{kNotifySuperseded, kNotifyAborted, kNotifySuccessful}));
    // A play of 50 ms with notify, then a key wait: the wait sleeps no
    // longer than the play and the notification is posted at its end.
    const uint32_t start = m.platform.now;
    uint32_t posted_before = 0, posted_after = 0;
    m.platform.at(start + 45, [&] { posted_before = m.engine.sound.notifications_posted; });
    m.platform.at(start + 55, [&] { posted_after = m.engine.sound.notifications_posted; });
    m.platform.at(start + 80, [&] {
        LockHold hold(m.engine.shared.input.lock);
        input_char_push(m.engine.shared.input, 'k');
    });
    m.platform.idle_waits.clear();
    ASSERT_TRUE(m.start(".code\n  mci_send \"play w from 0 notify\"\n  key_wait\n  end\n"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(posted_before, 3u);
    EXPECT_EQ(posted_after, 4u);
    EXPECT_EQ(m.engine.sound.notifications.back().code, kNotifySuccessful);
    ASSERT_FALSE(m.platform.idle_waits.empty());
    EXPECT_LE(m.platform.idle_waits.front(), 51u);
}

// A raw image of 16-bit stereo frames: each of levels for its many ms.
std::vector<uint8_t> raw_image(const std::vector<std::pair<int16_t, uint32_t>>& levels) {
    std::vector<uint8_t> out;
    for (const auto& [level, ms] : levels)
        for (uint32_t i = 0; i < ms * 441 / 10 * 2; ++i) test::put_le(out, uint16_t(level), 2);
    return out;
}

TEST(CueImages, TheTracksOfOneImagePlayFromTheirIndexes) {
    FileMachine m;
    m.dir.write("image.bin", raw_image({{0x5555, 2000}, {1000, 1000}, {2000, 500}}));
    const std::string sheet =
        "FILE \"IMAGE.BIN\" BINARY\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n"
        "TRACK 02 AUDIO\nINDEX 01 00:02:00\nTRACK 03 AUDIO\nINDEX 01 00:03:00\n";
    m.dir.write("game.cue", std::vector<uint8_t>(sheet.begin(), sheet.end()));
    m.run_steps({
        {0, "status cdaudio number of tracks", kMciOk, "3"},
        {0, "status cdaudio length track 2", kMciOk, "00:01:00"},
        {0, "status cdaudio length track 3", kMciOk, "00:00:37"},
        {0, "set cdaudio time format tmsf", kMciOk, ""},
        {0, "play cdaudio from 3", kMciOk, ""},
        {100, "play cdaudio from 1 to 2", kMciOk, ""},
        {100, "play cdaudio from 2", kMciOk, ""},
        {100, "status cdaudio position", kMciOk, "02:00:00:07"},
    });
    const std::vector<int16_t>& played = m.engine.sound.captured;
    EXPECT_EQ(played.at(10 * 441 / 10 * 2), 2000);
    EXPECT_EQ(m.peak(101, 199), 0);  // the data track plays as silence
    EXPECT_EQ(played.at(250 * 441 / 10 * 2 + 1), 1000);
}

TEST(CueImages, ABrokenSheetIsNamedAndTheDriveHasNoDisc) {
    FileMachine m;
    m.dir.write("cd/image.bin", raw_image({{1000, 100}}));
    const std::string sheet = "TRACK 02 AUDIO\nFILE image.bin BINARY\nINDEX 01 00:00:00\n";
    m.dir.write("cd/cd.cue", std::vector<uint8_t>(sheet.begin(), sheet.end()));
    testing::internal::CaptureStderr();
    m.run_steps({{0, "status cdaudio media present", kMciOk, "false"}});
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("cd.cue\": line 1: TRACK before FILE"), std::string::npos) << said;
}

}  // namespace
}  // namespace qln
