#include <gtest/gtest.h>

#include "engine/settings.h"

TEST(Settings, DefaultsMatchTheEngine) {
    qln::Settings s;
    qln::settings_default(s);
    EXPECT_STREQ(s.title, "Quillon");
    EXPECT_STREQ(s.command_names_file.name, "QLN_CMDN.TXT");
    EXPECT_EQ(s.string_register_count, 512);
}
