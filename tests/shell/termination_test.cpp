// A termination signal ends the program as a close does, even mid-fade.

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "asm/assembler.h"
#include "graphics/bmp_write.h"
#include "graphics/picture.h"
#include "support/temp_dir.h"

extern char** environ;

namespace qln {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How soon the program must be gone once it is told to end. The fault this
// guards against is a run that waits out its minute-long fade; a second is
// far from that and still holds on a machine loaded with parallel builds.
constexpr milliseconds kPrompt{1000};

// The runner on a game that fades a picture in for a minute on the real clock.
pid_t start_long_fade(const test::TempDir& dir, std::vector<std::string> extra = {}) {
    Picture* picture = picture_create(64, 64);
    BmpFile bmp;
    EXPECT_TRUE(picture && bmp_encode_24(*picture, bmp));
    picture_free(picture);
    dir.write("art.bmp", std::vector<uint8_t>(bmp.bytes.get(), bmp.bytes.get() + bmp.size));
    std::vector<uint8_t> scenario;
    AsmError error;
    EXPECT_TRUE(
        assemble_packed(".code\n  win_load \"art.bmp\", 0, 0, 0, 0, 60000, -1, 255, 0, 0\n  end\n",
                        scenario, error));
    dir.write("start_up.qln", scenario);
    std::vector<std::string> args = {std::string(QUILLON_BIN_DIR) + "/quillon", "--headless",
                                     "--real-clock", "--game", dir.str()};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    return pid;
}

// The exit status; -1 (and the process killed) when it still runs after limit.
int wait_for_exit(pid_t pid, milliseconds limit, bool kill_late = true) {
    for (const auto until = Clock::now() + limit; Clock::now() <= until;) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
        std::this_thread::sleep_for(milliseconds(5));
    }
    if (kill_late) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
    return -1;
}

TEST(Termination, EachSignalEndsALongFadeLikeAClose) {
    for (const int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal_number);
        test::TempDir dir;
        const pid_t pid = start_long_fade(dir);
        ASSERT_GT(pid, 0);
        // Well into the fade (the runner starts in a few tens of milliseconds).
        std::this_thread::sleep_for(milliseconds(400));
        ASSERT_EQ(wait_for_exit(pid, milliseconds(0), false), -1) << "ended before the signal";
        kill(pid, signal_number);
        // A close ends the run with status 0; the fade had a minute to go.
        EXPECT_EQ(wait_for_exit(pid, kPrompt), 0) << "not ended within " << kPrompt.count();
    }
}

TEST(Termination, TheTimeLimitEndsALongFade) {
    test::TempDir dir;
    const auto start = Clock::now();
    const pid_t pid = start_long_fade(dir, {"--max-ms", "300"});
    ASSERT_GT(pid, 0);
    // 3: the runner's status for a time limit.
    EXPECT_EQ(wait_for_exit(pid, milliseconds(300) + kPrompt + milliseconds(200)), 3);
    EXPECT_GE(Clock::now() - start, milliseconds(300));
}

}  // namespace
}  // namespace qln
