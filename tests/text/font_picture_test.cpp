// Picture-font records and the sheets they take from data buffers.
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "graphics/picture.h"
#include "tables/tables.h"
#include "text/font.h"

namespace qln {
namespace {

TEST(PictureFonts, DefinitionsShareTheSheetAndAFreedOrReplacedBufferLeavesNone) {
    Engine engine;
    ASSERT_TRUE(tables_init(engine));
    Picture* sheet = buf_new_picture(engine, 7, 240, 48);
    ASSERT_NE(sheet, nullptr);
    PictureFontRecord* records = engine.fonts.picture_fonts;
    records[5].enabled = 1;
    records[5].advance = 99;
    ASSERT_TRUE(picfont_define(engine, 5, 7, *sheet, 24, 24, 10, 26, 0x8260, 0x8279, 1));
    EXPECT_EQ(records[5].enabled, 0);
    EXPECT_EQ(records[5].buf_no, 7);
    EXPECT_EQ(picfont_picture(engine, records[5]), sheet);
    // A second record on the same sheet: the layout is the sheet's, the last
    // definition wins for both; a refused definition leaves the sheet alone.
    ASSERT_TRUE(picfont_define(engine, 35, 7, *sheet, 12, 16, 20, 12, '0', '9', 0));
    EXPECT_FALSE(picfont_define(engine, 36, 7, *sheet, 8, 8, 1, 8, 0, 0, 0));
    EXPECT_FALSE(picfont_define(engine, -1, 7, *sheet, 8, 8, 1, 8, 0, 0, 0));
    EXPECT_EQ(sheet->cell[0], 12);
    EXPECT_EQ(sheet->cell[1], 16);
    EXPECT_EQ(sheet->cell[2], 20);
    EXPECT_EQ(records[5].advance, 26);
    picfont_release(records[5]);
    EXPECT_EQ(records[5].picture, nullptr);
    EXPECT_EQ(records[5].buf_no, -1);
    EXPECT_EQ(records[5].last_code, 0);
    EXPECT_EQ(picfont_picture(engine, records[5]), nullptr);

    ASSERT_TRUE(picfont_define(engine, 1, 7, *sheet, 24, 24, 10, 24, 'A', 'Z', 0));
    ASSERT_TRUE(picfont_define(engine, 2, 7, *sheet, 24, 24, 10, 24, 'a', 'z', 0));
    ASSERT_TRUE(buf_free(engine, 7));
    EXPECT_EQ(picfont_picture(engine, records[1]), nullptr);
    // The slot now holds raw bytes, then another picture.
    ASSERT_TRUE(buf_new_raw(engine, 7, 64));
    EXPECT_EQ(picfont_picture(engine, records[2]), nullptr);
    ASSERT_TRUE(buf_free(engine, 7));
    Picture* other = buf_new_picture(engine, 8, 16, 16);
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(buf_dup(engine, 8, 7));
    ASSERT_NE(buf_get_picture(engine, 7), nullptr);
    if (buf_get_picture(engine, 7) != records[2].picture) {
        EXPECT_EQ(picfont_picture(engine, records[2]), nullptr);
    }
    // A record pointing at a buffer number outside the table names nothing.
    records[3].picture = other;
    records[3].buf_no = 4096;
    EXPECT_EQ(picfont_picture(engine, records[3]), nullptr);
}

}  // namespace
}  // namespace qln
