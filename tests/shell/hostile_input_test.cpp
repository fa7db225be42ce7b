// Hostile input run as the programs under a 2 GiB address-space limit: each
// is refused quickly, with the command's documented failure or the tool's reason, and
// a run that fails at every command ends at its error limit.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <string>
#include <vector>

#include "asm/assembler.h"
#include "support/hostile_pictures.h"
#include "support/run_program.h"

namespace qln {
namespace {

// Sanitizers reserve terabytes of address space: they run without the limit.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr const char* kLimit = "";
#else
constexpr const char* kLimit = "ulimit -v 2097152 && exec ";
#endif

// A refusal is quick: the whole program, start and exit included, takes
// less processor time than this (sanitizer builds run several times slower).
// Processor time rather than wall time, so a busy machine does not fail it;
// blanking a picture of gigabytes takes seconds of it.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int64_t kQuickMs = 500;
#else
constexpr int64_t kQuickMs = 100;
#endif

struct LimitedRun : test::RunResult {
    int64_t ms = 0;
};

// User and system time of the waited-for children so far.
int64_t children_cpu_ms() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) { return int64_t(t.tv_sec) * 1000 + t.tv_usec / 1000; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

LimitedRun run_limited(const std::string& program, const std::vector<std::string>& args,
                       const test::TempDir& dir) {
    std::string cmd = kLimit + test::shell_quote(std::string(QUILLON_BIN_DIR) + "/" + program);
    for (const std::string& a : args) cmd += " " + test::shell_quote(a);
    const std::string out = dir.str() + "/err.txt";
    const int64_t before = children_cpu_ms();
    const int raw = std::system(("sh -c " + test::shell_quote(cmd + " 2>" + out)).c_str());
    LimitedRun r;
    r.ms = children_cpu_ms() - before;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.err = test::slurp(out);
    return r;
}

// Runs source (one hostile command, then end) as a game.
LimitedRun run_game(const std::string& source, const test::TempDir& dir,
                    std::vector<std::string> extra = {}) {
    std::vector<uint8_t> file;
    AsmError error;
    EXPECT_TRUE(assemble_packed(".code\n" + source, file, error)) << error.message;
    dir.write("start_up.qln", file);
    std::vector<std::string> args = {"--headless", "--game", dir.str(), "--on-error=continue"};
    args.insert(args.end(), extra.begin(), extra.end());
    return run_limited("quillon", args, dir);
}

TEST(HostileInput, PicturesBuffersAndWindowsBeyondTheCapsAreRefusedQuickly) {
    test::TempDir dir;
    struct Refusal {
        std::string command;
        const char* error;
    };
    std::vector<Refusal> refusals;
    for (const test::HostilePicture& h : test::hostile_pictures()) {
        const std::string path = dir.write(h.name, h.bytes);
        const LimitedRun r = run_limited("qlnpic", {"--info", path}, dir);
        EXPECT_EQ(r.status, 1) << h.name;
        EXPECT_NE(r.err.find(h.why), std::string::npos) << r.err;
        EXPECT_LT(r.ms, kQuickMs) << h.name;
        refusals.push_back(
            {std::string("  win_load \"") + h.name + "\", 0, 0, 0, 0, 0, -1, 255, 0, 0\n",
             "error=112"});
    }
    // Sizes that fit under the address-space limit but not under the caps.
    refusals.push_back({"  win_open 2, 1, width: 20000, height: 20000\n", "error=106"});
    refusals.push_back({"  buf_alloc 4, 1073741824\n", "error=107"});
    for (const Refusal& refusal : refusals) {
        const LimitedRun r = run_game(refusal.command + "  end\n", dir);
        EXPECT_EQ(r.status, 0) << refusal.command << r.err;
        EXPECT_NE(r.err.find(refusal.error), std::string::npos) << refusal.command << r.err;
        EXPECT_LT(r.ms, kQuickMs) << refusal.command;
    }
    // A run failing at every command ends at its error limit.
    const LimitedRun r =
        run_game("loop:\n  .bytes 0x2A\n  jump loop\n", dir, {"--max-errors", "20"});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("error=100"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("quillon: --max-errors 20 reached"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace qln
