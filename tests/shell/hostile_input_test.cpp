// Hostile input run as the programs under a 2 GiB address-space limit: each
// is refused with the command's documented failure or the tool's reason, and
// a run that fails at every command ends at its error limit.

#include <gtest/gtest.h>

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

test::RunResult run_limited(const std::string& program, const std::vector<std::string>& args,
                            const test::TempDir& dir) {
    std::string cmd = kLimit + test::shell_quote(std::string(QUILLON_BIN_DIR) + "/" + program);
    for (const std::string& a : args) cmd += " " + test::shell_quote(a);
    const std::string out = dir.str() + "/err.txt";
    const int raw = std::system(("sh -c " + test::shell_quote(cmd + " 2>" + out)).c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, "", test::slurp(out)};
}

TEST(HostileInput, PicturesBuffersAndWindowsBeyondTheCapsAreRefused) {
    test::TempDir dir;
    std::string source = ".code\n";
    for (const test::HostilePicture& h : test::hostile_pictures()) {
        const std::string path = dir.write(h.name, h.bytes);
        const test::RunResult r = run_limited("qlnpic", {"--info", path}, dir);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(h.why), std::string::npos) << r.err;
        source += std::string("  win_load \"") + h.name + "\", 0, 0, 0, 0, 0, -1, 255, 0, 0\n";
    }
    // Sizes that fit under the address-space limit but not under the caps.
    source += "  win_open 2, 1, width: 20000, height: 20000\n  buf_alloc 4, 1073741824\n";
    std::vector<uint8_t> file;
    AsmError error;
    ASSERT_TRUE(assemble_packed(source + "loop:\n  .bytes 0x2A\n  jump loop\n", file, error));
    dir.write("start_up.qln", file);
    const test::RunResult r = run_limited(
        "quillon", {"--headless", "--game", dir.str(), "--on-error=continue", "--max-errors", "20"},
        dir);
    EXPECT_EQ(r.status, 3);
    size_t at = 0;
    for (const char* e :
         {"error=112", "error=112", "error=112", "error=112", "error=112", "error=112", "error=106",
          "error=107", "error=100", "quillon: --max-errors 20 reached"}) {
        at = r.err.find(e, at);
        ASSERT_NE(at, std::string::npos) << e << "\n" << r.err;
    }
}

}  // namespace
}  // namespace qln
