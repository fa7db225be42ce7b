// The native stand-in name plugin_load tries for a file that is no library.

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "plugins/plugin.h"

namespace qln {
namespace {

TEST(PluginNativeName, ReplacesTheLastComponentsExtension) {
    const std::pair<std::string, std::string> cases[] = {
        {"PLUG.DLL", "PLUG.so"},
        {"dir\\a.b.dll", "dir\\a.b.so"},
        {"dir.d\\plug", "dir.d\\plug.so"},
        {"C:x.d/y", "C:x.d/y.so"},
        // The extension is one double-byte character whose second byte is
        // the backslash code: no separator.
        {"name.\x95\x5C", "name.so"},
        {"", ".so"},
    };
    for (const auto& [path, native] : cases) {
        EXPECT_EQ(plugin_native_name(path), native) << path;
    }
}

}  // namespace
}  // namespace qln
