// CD audio from track files: discovery over the names players use, and the
// drive's answers and playback in every time format on the virtual clock.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "sound/cd_tracks.h"
#include "sound/mci.h"
#include "sound/mixer.h"
#include "sound/sound_files.h"
#include "sound/wav_test_image.h"
#include "support/machine.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

using test::Machine;

std::vector<uint8_t> constant_wav(size_t frames, int16_t level) {
    return test::wav_image(1, 16, 44100, test::pcm16(std::vector<int16_t>(frames, level)));
}

TEST(CdTracks, AreFoundUnderThePlayersNames) {
    struct Case {
        const char* name;
        std::vector<const char*> files;
        std::vector<uint32_t> numbers;
    };
    const Case cases[] = {
        {"cd/trackNN", {"cd/track02.wav", "cd/track03.wav"}, {2, 3}},
        {"CD/TrackNN in any case", {"CD/Track02.WAV", "CD/TRACK04.Wav"}, {2, 4}},
        {"trackN in the game root", {"track2.wav", "track11.wav"}, {2, 11}},
        {"NN in bgm", {"bgm/02.wav", "bgm/05.wav"}, {2, 5}},
        {"cd comes before the root", {"cd/track02.wav", "track03.wav"}, {2}},
        {"other names are not tracks", {"cd/song.wav", "cd/track.wav", "cd/track02.txt"}, {}},
        {"a file that is no sound is no track", {"cd/track02.wav=broken"}, {}},
    };
    Engine engine;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        for (const char* f : c.files) {
            const std::string name(f);
            const size_t eq = name.find('=');
            dir.write(name.substr(0, eq),
                      eq == std::string::npos ? constant_wav(441, 100) : std::vector<uint8_t>{1});
        }
        test::CwdGuard cwd(dir.path());
        std::vector<uint32_t> found;
        for (const CdTrack& t : cd_tracks_find(engine, {"cd", "bgm", ""}))
            found.push_back(t.number);
        EXPECT_EQ(found, c.numbers);
    }
}

TEST(CdAudio, PlaysTracksInEveryTimeFormat) {
    test::TempDir dir;
    dir.write("cd/Track03.wav", constant_wav(22050, 3000));
    test::write_ogg(dir.str() + "/cd/track02.ogg", 1.0);
    test::CwdGuard cwd(dir.path());
    Machine m;
    m.engine.sound.capture = true;
    ASSERT_TRUE(mixer_open(m.engine));
    struct Step {
        uint32_t after_ms;
        const char* command;
        uint32_t error;
        const char* reply;
    };
    const Step steps[] = {
        {0, "status cdaudio media present", kMciOk, "true"},
        {0, "status cdaudio number of tracks", kMciOk, "3"},
        {0, "status cdaudio time format", kMciOk, "msf"},
        {0, "status cdaudio length track 2", kMciOk, "00:01:00"},
        {0, "status cdaudio length track 3", kMciOk, "00:00:37"},
        {0, "status cdaudio length track 4", kMciOutOfRange, ""},
        {0, "set cdaudio time format tmsf", kMciOk, ""},
        {0, "play cdaudio from 2 to 3", kMciOk, ""},
        {500, "status cdaudio position", kMciOk, "02:00:00:37"},
        {0, "status cdaudio current track", kMciOk, "2"},
        {0, "status cdaudio mode", kMciOk, "playing"},
        {600, "status cdaudio mode", kMciOk, "stopped"},
        {0, "status cdaudio position", kMciOk, "03:00:00:00"},
        {0, "play cdaudio from 3", kMciOk, ""},
        {100, "status cdaudio current track", kMciOk, "3"},
        {0, "set cdaudio time format ms", kMciOk, ""},
        {0, "status cdaudio length", kMciOk, "3500"},
        {0, "status cdaudio position", kMciOk, "3100"},
        {0, "set cdaudio time format msf", kMciOk, ""},
        {0, "seek cdaudio to 00:02:00", kMciOk, ""},
        {0, "status cdaudio position", kMciOk, "00:02:00"},
        {0, "set cdaudio time format tmsf", kMciOk, ""},
        {0, "play cdaudio from 5", kMciOutOfRange, ""},
        {0, "stop cdaudio", kMciOk, ""},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.command);
        m.platform.now += s.after_ms;
        const MciReply r = mci_send(m.engine, s.command);
        EXPECT_EQ(r.error, s.error);
        EXPECT_EQ(r.text, s.reply);
    }
    // The OGG track played from 0 ms to 1000 ms: a tone, not silence.
    const std::vector<int16_t>& played = m.engine.sound.captured;
    ASSERT_GE(played.size(), 44100u * 2);
    int peak = 0;
    for (size_t i = 0; i < 44100 * 2; ++i) peak = std::max(peak, std::abs(int(played[i])));
    EXPECT_GT(peak, 6000);
    EXPECT_EQ(played.at((48510 + 100) * 2), 3000);  // track 3, played from 1100 ms
}

TEST(CdAudio, AFadeOfTheCdLineToZeroSilencesTheTrack) {
    test::TempDir dir;
    dir.write("cd/track02.wav", constant_wav(44100, 4000));
    test::CwdGuard cwd(dir.path());
    Machine m;
    m.engine.sound.capture = true;
    ASSERT_TRUE(mixer_open(m.engine));
    ASSERT_TRUE(
        m.start(".code\n  mci_send \"set cdaudio time format tmsf\"\n  mci_send \"play cdaudio "
                "from 2\"\n  vol_fade 3, 0, 0, 200\n"
                "  wait 30, 0\n  end\n"));
    EXPECT_EQ(m.run(), kResultEndAll);
    const std::vector<int16_t>& played = m.engine.sound.captured;
    ASSERT_GE(played.size(), 44100u / 10 * 3 * 2);
    EXPECT_EQ(played.at(0), 4000);
    EXPECT_GT(played.at(4410 * 2), 0);
    EXPECT_LT(played.at(4410 * 2), 4000);
    EXPECT_EQ(played.at(11025 * 2), 0);  // after 250 ms
}

}  // namespace
}  // namespace qln
