// Hostile inputs as a player or an attacker would bring them, run as the
// programs under a 2 GiB address-space limit: each is refused with the
// command's documented failure (or the tool's reason), and nothing is
// allocated for it.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "asm/assembler.h"
#include "support/hostile_pictures.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QLN_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define QLN_SANITIZED 1
#endif
#endif

namespace qln {
namespace {

// Sanitizers reserve terabytes of address space, so they run without the
// limit; the results are checked all the same.
#ifdef QLN_SANITIZED
constexpr const char* kLimit = "";
#else
constexpr const char* kLimit = "ulimit -v 2097152 && ";
#endif

struct Timed {
    test::RunResult result;
    long long ms = 0;
};

Timed run_limited(const std::string& program, const std::vector<std::string>& args,
                  const test::TempDir& dir) {
    std::string cmd =
        std::string(kLimit) + test::shell_quote(std::string(QUILLON_BIN_DIR) + "/" + program);
    for (const std::string& a : args) cmd += " " + test::shell_quote(a);
    cmd += " >" + test::shell_quote(dir.str() + "/out.txt") + " 2>" +
           test::shell_quote(dir.str() + "/err.txt");
    Timed t;
    const auto start = std::chrono::steady_clock::now();
    const int raw = std::system(("sh -c " + test::shell_quote(cmd)).c_str());
    t.ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
               .count();
    t.result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    t.result.out = test::slurp(dir.str() + "/out.txt");
    t.result.err = test::slurp(dir.str() + "/err.txt");
    return t;
}

// A process start of a Debug build on a busy machine takes far longer than
// the refusal itself (which the decoder test times at under 100 ms); this
// bound only catches a reader that fills gigabytes.
constexpr long long kProcessBoundMs = 3000;

TEST(HostileInput, TheToolNamesWhyAPictureIsRefused) {
    test::TempDir dir;
    for (const test::HostilePicture& h : test::hostile_pictures()) {
        SCOPED_TRACE(h.name);
        const std::string path = dir.write(h.name, h.bytes);
        const Timed t = run_limited("qlnpic", {"--info", path}, dir);
        EXPECT_EQ(t.result.status, 1) << t.result.err;
        EXPECT_NE(t.result.err.find(h.why), std::string::npos) << t.result.err;
        EXPECT_LT(t.ms, kProcessBoundMs);
    }
}

TEST(HostileInput, AScenarioAskingForHugePicturesAndBuffersGetsItsErrors) {
    test::TempDir dir;
    std::string source = ".code\n";
    std::vector<std::string> expected;
    for (const test::HostilePicture& h : test::hostile_pictures()) {
        dir.write(h.name, h.bytes);
        source += std::string("  win_load \"") + h.name + "\", 0, 0, 0, 0, 0, -1, 255, 0, 0\n";
        expected.push_back("error=112");
        // Not a picture, not a scenario: the bytes as they are.
        source += std::string("  buf_read \"") + h.name + "\", 0, 1, 0, -1\n";
    }
    // Sizes that would fit under the address-space limit but not the caps.
    source +=
        "  win_open 2, 1, width: 20000, height: 20000\n"
        "  win_open 3, 1, width: 64, height: 64\n"
        "  win_resize 3, 20000, 20000\n"
        "  buf_alloc 4, 1073741824\n"
        "  end\n";
    expected.insert(expected.end(), {"error=106", "error=106", "error=107"});
    std::vector<uint8_t> file;
    AsmError error;
    ASSERT_TRUE(assemble_packed(source, file, error)) << error.message;
    dir.write("start_up.qln", file);
    const Timed t =
        run_limited("quillon", {"--headless", "--game", dir.str(), "--on-error", "continue"}, dir);
    EXPECT_EQ(t.result.status, 0) << t.result.err;
    size_t at = 0;
    for (const std::string& e : expected) {
        at = t.result.err.find(e, at);
        ASSERT_NE(at, std::string::npos) << e << "\n" << t.result.err;
        ++at;
    }
    EXPECT_LT(t.ms, kProcessBoundMs);
}

}  // namespace
}  // namespace qln
