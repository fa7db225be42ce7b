// The example plug-in as the progress callback of a real file_copy, and
// what the player is told when the dynamic linker refuses a library.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/host_files.h"
#include "platform/host_libraries.h"
#include "support/machine.h"
#include "support/temp_dir.h"

namespace qln::test {
namespace {

// Declared first, so the service outlives the engine that unloads through it.
struct HostLibraries {
    DynamicLibraries libraries;
};

struct PluginMachine : HostLibraries, Machine {
    TempDir dir;
    CwdGuard cwd{dir.path()};
    PluginMachine() {
        engine.platform.libraries = &libraries;
        platform.stop_on_error = false;
    }
    void go(const std::string& body) {
        ASSERT_TRUE(start(".code\n" + body + "    end\n"));
        EXPECT_EQ(run(), kResultEndAll);
    }
};

TEST(PluginCallback, TheExampleRecordsTheProgressOfAFileCopy) {
    PluginMachine m;
    std::vector<uint8_t> bytes(100000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 13);
    m.dir.write("src/big.dat", bytes);
    m.go("    plugin_load \"" + std::string(QUILLON_EXAMPLE_PLUGIN) +
         "\", 1, -1\n"
         "    path_set 1, \"src\\\\\"\n    path_set 2, \"dst\\\\\"\n"
         "    file_copy \"BIG.DAT\", 1, 2, 1, 1, 4\n");
    EXPECT_TRUE(m.platform.errors.empty());
    std::vector<uint8_t> copied;
    ASSERT_TRUE(host_file_read_all(m.dir.str() + "/dst/big.dat", copied, 1 << 20));
    EXPECT_EQ(copied, bytes);
    // A start, 25 chunks of 4096 bytes (a fiftieth, in whole blocks), an end.
    EXPECT_EQ(m.var(3, 10), 27);
    EXPECT_EQ(m.var(3, 11), 1);
    EXPECT_EQ(m.var(3, 12), 25);
    EXPECT_EQ(m.var(3, 13), 1);
    EXPECT_EQ(m.var(3, 14), 100000);
    EXPECT_EQ(m.var(3, 15), 100000);
    EXPECT_EQ(m.str(2), "src\\big.dat");  // the last call with a current file
}

TEST(PluginCallback, ALibraryTheLinkerRefusesIsNamedWithItsReasonOnce) {
    for (const bool library : {false, true}) {
        PluginMachine m;
        m.dir.write("junk.dll", {'n', 'o', 't', ' ', 'E', 'L', 'F'});
        m.dir.write("junk.so", {'n', 'o', 't', ' ', 'E', 'L', 'F'});
        testing::internal::CaptureStderr();
        // A library without export 1 loads and is refused by this engine.
        m.go(std::string("    plugin_load \"") + (library ? QUILLON_PLUGIN_NO_INIT : "junk.dll") +
             "\", 1, -1\n");
        const std::string said = testing::internal::GetCapturedStderr();
        ASSERT_EQ(m.platform.errors.size(), 1u);  // as the scenario always saw it
        EXPECT_EQ(m.platform.errors[0].error_number, 120u);
        if (library) {
            EXPECT_EQ(said, "");
        } else {
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
            EXPECT_EQ(said.rfind("quillon: plugin \"./junk.so\": ", 0), 0u) << said;
        }
    }
}

}  // namespace
}  // namespace qln::test
