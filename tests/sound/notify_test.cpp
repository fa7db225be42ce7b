// How a notifying play ends, on the virtual clock: at its end, superseded by
// another request, aborted by a command that keeps it from its end, or
// failed because its file can no longer be read.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "sound/mci.h"
#include "sound/mixer.h"
#include "sound/sound_files.h"
#include "sound/wav_test_image.h"
#include "support/machine.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

struct Step {
    uint32_t after_ms;
    const char* command;  // "rm NAME" removes a file
};

TEST(MediaNotify, EachWayAPlayEndsPostsItsCode) {
    constexpr uint16_t kOk = kNotifySuccessful, kSup = kNotifySuperseded, kAbort = kNotifyAborted;
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::vector<uint16_t> codes;  // after the steps and 200 ms more
    };
    const Case cases[] = {
        {"it reaches its end", {{0, "play w notify"}}, {kOk}},
        {"a status that asks for notify supersedes it",
         {{0, "play w notify"}, {10, "status w mode notify"}},
         {kSup, kOk}},
        {"a play that keeps the end leaves it due",
         {{0, "play w notify"}, {10, "play w from 10"}},
         {kOk}},
        {"a play that moves the end aborts it, even one asking for its own",
         {{0, "play w notify"}, {10, "play w from 0 to 30 notify"}},
         {kAbort, kOk}},
        {"a pause and a resume go on to the end",
         {{0, "play w notify"}, {10, "pause w"}, {500, "resume w"}},
         {kOk}},
        {"a resume keeps the end the paused play had",
         {{0, "play w from 0 to 20 notify"},
          {5, "pause w"},
          {0, "resume w"},
          {2, "play w from 10 to 20 notify"}},
         {kSup, kOk}},
        {"stop aborts it", {{0, "play w notify"}, {10, "stop w"}}, {kAbort}},
        {"close aborts it", {{0, "play w notify"}, {10, "close w"}}, {kAbort}},
        {"a failed command asks for nothing", {{0, "play w from 999 notify"}}, {}},
        {"a track file that can no longer be read fails it",
         {{0, "rm t.ogg"}, {0, "play t notify"}},
         {kNotifyFailure}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::Machine m;
        test::TempDir dir;
        test::CwdGuard cwd(dir.path());
        ASSERT_TRUE(mixer_open(m.engine));
        dir.write("w.wav",
                  test::wav_image(1, 16, 44100, test::pcm16(std::vector<int16_t>(2205, 9))));
        test::write_ogg(dir.str() + "/t.ogg", 0.05);
        ASSERT_EQ(mci_send(m.engine, "open w.wav alias w").error, kMciOk);
        ASSERT_EQ(mci_send(m.engine, "open t.ogg alias t").error, kMciOk);
        for (const Step& s : c.steps) {
            m.platform.now += s.after_ms;
            const std::string command = s.command;
            if (command.rfind("rm ", 0) == 0) {
                std::filesystem::remove(dir.str() + "/" + command.substr(3));
            } else {
                (void)mci_send(m.engine, command);
            }
        }
        m.platform.now += 200;
        mci_poll(m.engine);
        std::vector<uint16_t> codes;
        for (const MediaNotification& n : m.engine.sound.notifications) codes.push_back(n.code);
        EXPECT_EQ(codes, c.codes);
    }
}

}  // namespace
}  // namespace qln
