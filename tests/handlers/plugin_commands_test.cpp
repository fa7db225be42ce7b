// plugin_load and plugin_call with real libraries: the example plug-in and
// two that must not load.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/host_libraries.h"
#include "screen/screen.h"
#include "support/machine.h"
#include "support/temp_dir.h"

namespace qln::test {
namespace {

const std::string kExample = QUILLON_EXAMPLE_PLUGIN;

std::vector<uint8_t> file_bytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// Declared first, so the service outlives the engine that unloads through it.
struct HostLibraries {
    DynamicLibraries libraries;
};

class PluginMachine : public HostLibraries, public Machine {
  public:
    PluginMachine() {
        engine.platform.libraries = &libraries;
        platform.stop_on_error = false;
        platform.quit_after = 1000;  // a wait that never ends fails instead
    }
    // Runs source to its end; the errors it reported as "number detail".
    std::vector<std::string> go(const std::string& source) {
        platform.errors.clear();
        EXPECT_TRUE(start(source));
        EXPECT_EQ(run(), kResultEndAll);
        std::vector<std::string> errors;
        for (const ScenarioErrorRecord& e : platform.errors) {
            errors.push_back(std::to_string(e.error_number) + " " + e.detail);
        }
        return errors;
    }
    // The example in buffer 1, then body.
    std::vector<std::string> with_example(const std::string& body) {
        return go("    plugin_load \"" + kExample + "\", 1, -1\n" + body + "    end\n");
    }
    BufType type(int32_t buf_no) { return buf_entry(engine, buf_no)->type; }
};

using Errors = std::vector<std::string>;

TEST(PluginCall, ArgumentsArriveAsTheScenarioWroteThem) {
    struct Case {
        const char* arguments;
        const char* text;
    };
    const Case cases[] = {
        {"\"%d %d\", -5, 2147483647", "-5 2147483647"},
        {"\"%d\", 0x80000000", "-2147483648"},
        {"\"%d|%d\", [1: 200], [1: 255, 9]", "200|255"},  // bytes never sign-extend
        {"\"<%s>\", \"text\"", "<text>"},
        {"\"%d,%d\", [5:], 7", "0,7"},  // an unknown type is 0 and reads nothing
        {"\"%s!\", s[9999]", "!"},      // a string register that does not exist
        {"\"%d %%\"", "? %"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        PluginMachine m;
        EXPECT_EQ(m.with_example(std::string("    plugin_call 1, 2, ") + c.arguments + "\n"),
                  Errors{});
        EXPECT_EQ(m.str(0), c.text);
        EXPECT_EQ(m.reg(1), int32_t(std::string(c.text).size()));
    }
}

TEST(PluginCall, ATextIsPassedAsTheRegistersOwnMemory) {
    PluginMachine m;
    EXPECT_EQ(m.with_example("    str_let 3, \"abc\"\n    plugin_call 1, 5, s[3]\n"), Errors{});
    EXPECT_EQ(m.str(3), "ABC");
}

TEST(PluginCall, TheInfoBlockShowsTheScreenTheTitleAndTheInput) {
    PluginMachine m;
    ASSERT_TRUE(screen_init(m.engine));
    // Window 0's picture: the poll steps compose it onto the screen.
    Picture& root = *m.engine.windows.records[0].picture;
    uint8_t* pixel = &root.pixels[(size_t(1) * root.width + 2) * 3];
    pixel[0] = 0x30, pixel[1] = 0x20, pixel[2] = 0x10;  // blue, green, red
    std::snprintf(m.engine.settings.title, sizeof m.engine.settings.title, "Title");
    m.engine.shared.input.state.x = 33;
    m.engine.shared.input.state.y = 44;
    EXPECT_EQ(m.with_example("    plugin_call 1, 6, 2, 1\n"), Errors{});
    EXPECT_EQ(m.str(0), "Title");
    const std::vector<int32_t> seen = {m.reg(1), m.reg(2), m.reg(3), m.reg(4), m.reg(5), m.reg(6)};
    EXPECT_EQ(seen, (std::vector<int32_t>{100, 640, 480, 0x102030, 33, 44}));
    EXPECT_EQ(m.with_example("    plugin_call 1, 6, 640, 0\n"), Errors{});
    EXPECT_EQ(m.reg(4), -1);
}

TEST(PluginCall, FailuresNameTheBufferAndTheExport) {
    PluginMachine m;
    EXPECT_EQ(m.with_example("    plugin_call 1, 9\n"         // no such export
                             "    plugin_call 1, 0\n"         // 0 names none
                             "    plugin_call 1, 7, -3\n"     // a negative status
                             "    plugin_call 1, 2\n"         // the export refuses
                             "    plugin_call 1, 7, 0\n"      // status 0 succeeds
                             "    plugin_call 1, 65543, 1\n"  // export 7: the low 16 bits
                             "    plugin_call 2, 7\n"
                             "    plugin_call 300, 7\n"),
              (Errors{"121 buf_no = 1, entry = 9", "121 buf_no = 1, entry = 0",
                      "121 buf_no = 1, entry = 7", "121 buf_no = 1, entry = 2", "120 buf_no = 2",
                      "120 buf_no = 300"}));
    EXPECT_EQ(m.reg(1), 1);
}

TEST(PluginCall, AtMost256ArgumentsAndAnEmptyListCallsWithNone) {
    std::string many;
    for (int i = 0; i < 256; ++i) many += ", 0";
    PluginMachine m;
    EXPECT_EQ(m.with_example("    plugin_call 1, 7" + many + "\n"), Errors{});
    EXPECT_EQ(m.reg(1), 256);
    // One more is refused before the export runs.
    EXPECT_EQ(m.with_example("    plugin_call 1, 7" + many + ", [1: 9]\n"),
              Errors{"121 buf_no = 1, entry = 7"});
    EXPECT_EQ(m.reg(1), 256);
    EXPECT_EQ(m.with_example("    plugin_call 1, 7\n"), Errors{});
    EXPECT_EQ(m.reg(1), 0);
}

TEST(PluginLoad, WhatDoesNotLoadLeavesTheBufferEmpty) {
    TempDir dir;
    dir.write("not_a_library.dll", {'M', 'Z', 0x90, 0});
    const std::string missing = dir.str() + "/missing.dll";
    const std::string text = dir.str() + "/not_a_library.dll";
    for (const std::string& name : {missing, text, std::string(QUILLON_PLUGIN_NO_INIT),
                                    std::string(QUILLON_PLUGIN_INIT_REFUSES)}) {
        SCOPED_TRACE(name);
        PluginMachine m;
        // Loaded over a good library, which goes first.
        EXPECT_EQ(m.go("    plugin_load \"" + kExample + "\", 4, -1\n    plugin_load \"" + name +
                       "\", 4, -1\n    plugin_call 4, 2\n    end\n"),
                  (Errors{"120 File:" + name + " Dir:-1", "120 buf_no = 4"}));
        EXPECT_EQ(m.type(4), BufType::Empty);
    }
    PluginMachine m;
    EXPECT_EQ(m.go("    plugin_load \"" + kExample + "\", 256, -1\n    end\n"),
              Errors{"120 File:" + kExample + " Dir:-1"});
    // A sandboxed run refuses every library, good ones too.
    PluginMachine sandboxed;
    sandboxed.engine.files.sandbox = true;
    EXPECT_EQ(sandboxed.with_example(""), Errors{"120 File:" + kExample + " Dir:-1"});
    EXPECT_EQ(sandboxed.type(1), BufType::Empty);
}

TEST(PluginLoad, ANativeLibraryBesideTheNamedFileStandsInForIt) {
    TempDir dir;
    const std::vector<uint8_t> example = file_bytes(kExample);
    dir.write("Game.DLL", {'M', 'Z', 0x90, 0});
    dir.write("gAME.So", example);
    dir.write("ALONE.SO", example);
    dir.write("bare.so", example);
    // A Windows library, no file of the name at all, no extension; no stand-in.
    for (const char* name : {"game.dll", "alone.dll", "BARE", "other.dll"}) {
        SCOPED_TRACE(name);
        PluginMachine m;
        sysstr_set(m.engine, 2, (dir.str() + "\\").c_str());
        const Errors errors = m.go(std::string("    plugin_load \"") + name +
                                   "\", 1, 2\n    plugin_call 1, 7, 0, 0, 0\n    end\n");
        const bool loads = std::string(name) != "other.dll";
        EXPECT_EQ(errors.empty(), loads);
        EXPECT_EQ(m.reg(1), loads ? 3 : 0);
    }
    // A bare name is the game's file, found from the current directory.
    CwdGuard cwd(dir.path());
    PluginMachine m;
    EXPECT_EQ(m.go("    plugin_load \"bare.so\", 1, -1\n    plugin_call 1, 7\n    end\n"),
              Errors{});
}

TEST(PluginCallback, AnExportServesBtnWaitAndOnlyAStatusAbove0Succeeds) {
    PluginMachine m;
    EXPECT_EQ(m.with_example("    eval v3[1] = 3\n    eval v3[2] = 10030021\n"
                             "    btn_wait -1, 1, 3\n"),
              Errors{});
    EXPECT_EQ(m.var(3, 0), 3);
    EXPECT_EQ((std::vector<int32_t>{m.reg(1), m.reg(2), m.reg(3)}),
              (std::vector<int32_t>{2, 3, 1}));
    // Export 7 answers 0 without arguments; export 9 does not exist; buffer 2
    // holds no library.
    EXPECT_EQ(m.with_example("    btn_wait -1, 1, 7\n    btn_wait -1, 1, 9\n"
                             "    btn_wait -1, 2, 3\n"),
              (Errors{"108 sub_buff = 1, entry = 7", "108 sub_buff = 1, entry = 9",
                      "108 sub_buff = 2, entry = 3"}));
}

}  // namespace
}  // namespace qln::test
