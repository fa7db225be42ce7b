#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "scenario/scenario.h"

namespace qln {
namespace {

std::string u16(size_t v) {
    return std::string{char(v & 0xFF), char(v >> 8)};
}
std::string text(const char* s) {
    return std::string(s) + '\0';
}

// Builds "QLN" H <records> T <code...>; each record is tag + next offset + payload.
class ImageBuilder {
  public:
    ImageBuilder& record(char tag, const std::string& payload, int next_adjust = 0) {
        bytes_ += tag + u16(bytes_.size() + 3 + payload.size() + next_adjust) + payload;
        return *this;
    }
    ImageBuilder& end_mark() {
        bytes_ += 'X';
        return *this;
    }
    std::vector<uint8_t> finish() {
        const size_t h = bytes_.size();
        const std::string image = "QLN" + u16(h) + bytes_.substr(5) + u16(h + 3) + '\xFF';
        return std::vector<uint8_t>(image.begin(), image.end());
    }

  private:
    std::string bytes_ = "QLN..";
};

Settings defaults() {
    Settings s;
    settings_default(s);
    return s;
}

bool apply_records(Settings& s, const std::vector<uint8_t>& image) {
    return startup_apply_records(s, image.data(), uint32_t(image.size()));
}

TEST(StartupRecords, NumbersPairsAndFileSettings) {
    Settings s = defaults();
    auto image = ImageBuilder()
                     .record('S', u16(1000))
                     .record('B', u16(40))
                     .record('N', u16(800) + u16(600))
                     .record('P', u16(320) + u16(240))
                     .record('Q', u16(8))
                     .record('G', "")
                     .record('V', u16(9))
                     .record('C', text("names.txt,3"))
                     .record('E', text("\"a,b.txt\",0,1"))
                     .record('M', text("cur.amp,-1,0"))
                     .record('T', text("\"My Game\""))
                     .end_mark()
                     .finish();
    ASSERT_TRUE(apply_records(s, image));
    EXPECT_EQ(s.string_register_count, 1000);
    EXPECT_EQ(s.buffer_count, 40);
    EXPECT_EQ(s.screen_width, 800);
    EXPECT_EQ(s.screen_height, 600);
    EXPECT_EQ(s.view_width, 320);
    EXPECT_EQ(s.view_height, 240);
    EXPECT_EQ(s.local_variable_count, 8);
    EXPECT_EQ(s.result_register_count, 9);
    EXPECT_EQ(s.word_array1_size, 512);  // untouched
    EXPECT_STREQ(s.command_names_file.name, "names.txt");
    EXPECT_EQ(s.command_names_file.entry, 3);
    EXPECT_FALSE(s.command_names_file.compressed);
    EXPECT_STREQ(s.error_messages_file.name, "a,b.txt");
    EXPECT_EQ(s.error_messages_file.entry, 0);
    EXPECT_TRUE(s.error_messages_file.compressed);
    EXPECT_EQ(s.cursor_file.entry, 0xFFFF);
    EXPECT_STREQ(s.title, "My Game");
}

TEST(StartupRecords, RejectsMalformedRecordsKeepingTheOnesBefore) {
    Settings s = defaults();
    // A next-record offset one byte off either way.
    EXPECT_FALSE(apply_records(s, ImageBuilder().record('B', u16(4), 1).finish()));
    EXPECT_FALSE(apply_records(s, ImageBuilder().record('B', u16(4), -1).finish()));
    // A tag without payload of its own that carries some.
    EXPECT_FALSE(apply_records(s, ImageBuilder().record('G', "zz").finish()));
    // A file setting without a comma, and a quoted name never closed.
    EXPECT_FALSE(apply_records(s, ImageBuilder().record('C', text("names.txt")).finish()));
    EXPECT_FALSE(apply_records(s, ImageBuilder().record('C', text("\"names.txt,1")).finish()));
    // A text without its terminator before the end of the image.
    EXPECT_FALSE(apply_records(s, {'Q', 'L', 'N', 40, 0, 'T', 40, 0, 'a', 'b'}));
    EXPECT_FALSE(
        apply_records(s, ImageBuilder().record('S', u16(77)).record('B', u16(1), 2).finish()));
    EXPECT_EQ(s.string_register_count, 77);
}

TEST(ScenarioObject, ChecksMagicAndHeaderWords) {
    Engine e;
    auto good = ImageBuilder().finish();
    Scenario* s = scn_create(e, good.data(), uint32_t(good.size()), "a", 2);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->entry_offset, 7);
    EXPECT_EQ(s->string_table, 8u);
    EXPECT_EQ(s->local_count, 256);
    EXPECT_EQ(s->call_capacity, 16);
    EXPECT_EQ(s->entry_number, 2);
    EXPECT_STREQ(s->file_name, "a");
    EXPECT_EQ(s->locals[255], 0);
    scn_release(s);

    auto bad_magic = good;
    bad_magic[0] = 'q';
    EXPECT_EQ(scn_create(e, bad_magic.data(), uint32_t(bad_magic.size()), "a", 0), nullptr);
    auto h_past_end = good;
    h_past_end[3] = 200;
    EXPECT_EQ(scn_create(e, h_past_end.data(), uint32_t(h_past_end.size()), "a", 0), nullptr);
    auto t_past_end = good;
    t_past_end[5] = 200;
    EXPECT_EQ(scn_create(e, t_past_end.data(), uint32_t(t_past_end.size()), "a", 0), nullptr);
    EXPECT_EQ(scn_create(e, good.data(), 4, "a", 0), nullptr);
}

}  // namespace
}  // namespace qln
