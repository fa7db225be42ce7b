// The argument array plugin_call hands an export, and the native stand-in
// name plugin_load tries.

#include "plugins/plugin_args.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugins/plugin.h"

namespace qln {
namespace {

TEST(PluginArgs, TextsKeepTheirAddressAndAMissingOneIsEmpty) {
    const char text[] = "abc";
    const std::vector<ListItem> items = {{2, 0, 0, 0, text}, {2, 0, 0, 0, nullptr}};
    PluginArgs out;
    ASSERT_TRUE(plugin_args_build(items, out));
    ASSERT_EQ(out.count, 2);
    EXPECT_EQ(reinterpret_cast<const char*>(out.values[0]), text);
    EXPECT_STREQ(reinterpret_cast<const char*>(out.values[1]), "");
}

TEST(PluginArgs, AListPast256IsRefusedWhole) {
    std::vector<ListItem> items(256, ListItem{0, 0, -1, 0, nullptr});
    PluginArgs out;
    ASSERT_TRUE(plugin_args_build(items, out));
    EXPECT_EQ(out.count, 256);
    EXPECT_EQ(out.values[255], intptr_t(-1));
    items.push_back(ListItem{});
    EXPECT_FALSE(plugin_args_build(items, out));
    EXPECT_EQ(out.count, 0);
}

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
