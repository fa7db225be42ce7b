// Which face a name reaches, and the sizes and metrics a height gives.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "engine/engine.h"
#include "text/font.h"
#include "text/font_face.h"
#include "text/font_library.h"
#include "text/font_names.h"
#include "text/font_select.h"

namespace qln {
namespace {

// Shift-JIS face names of the original platform.
constexpr char kMsGothic[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
constexpr char kMsPGothic[] = "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";
constexpr char kMsMincho[] = "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9";
constexpr char kMsPMincho[] = "\x82\x6c\x82\x72\x20\x82\x6f\x96\xbe\x92\xa9";

std::string family_of(const FontRecord& record) {
    return record.face ? record.face->face->family_name : "";
}

TEST(FontNames, OriginalFacesMapToTheirIpaEquivalents) {
    FontLibrary* library = font_library_open();
    ASSERT_NE(library, nullptr);
    const struct {
        const char* sjis;
        const char* family;  // nullptr: no alias
    } names[] = {
        {kMsGothic, "IPAGothic"},
        {"\x82\x6c\x82\x72\x83\x53\x83\x56\x83\x62\x83\x4e", "IPAGothic"},          // no space
        {"\x82\x6c\x82\x72\x81\x40\x83\x53\x83\x56\x83\x62\x83\x4e", "IPAGothic"},  // wide one
        {"MS Gothic", "IPAGothic"},
        {"MSGOTHIC", "IPAGothic"},
        {kMsPGothic, "IPAPGothic"},
        {kMsMincho, "IPAMincho"},
        {kMsPMincho, "IPAPMincho"},
        {"MS Gothic2", nullptr},
        {"Gothic", nullptr},
        {"\x83\x53\x83\x56\x83\x62\x83\x4e", nullptr},  // the Japanese word alone
        {"", nullptr},
    };
    for (const auto& name : names) {
        const FaceName decoded = face_name_decode(*library, name.sjis);
        ASSERT_TRUE(decoded.valid) << name.sjis;
        const FaceAlias* alias = face_alias_find(decoded.utf8);
        if (!name.family) {
            EXPECT_EQ(alias, nullptr) << name.sjis;
            continue;
        }
        ASSERT_NE(alias, nullptr) << name.sjis;
        EXPECT_STREQ(alias->family, name.family) << name.sjis;
        EXPECT_EQ(alias->win_ascent + alias->win_descent, alias->units_per_em);
    }
    // Shift-JIS decoding: the localised family name, a stray lead byte, and a
    // name cut after 255 bytes in the middle of a double-byte character.
    EXPECT_STREQ(face_name_decode(*library, "IPA\x83\x53\x83\x56\x83\x62\x83\x4e").utf8,
                 "IPA\xe3\x82\xb4\xe3\x82\xb7\xe3\x83\x83\xe3\x82\xaf");
    EXPECT_FALSE(face_name_decode(*library, "AB\x81").valid);
    std::string long_name(254, 'a');
    long_name += "\x82\xa0";
    const FaceName cut = face_name_decode(*library, long_name.c_str());
    EXPECT_TRUE(cut.valid);
    EXPECT_EQ(std::string(cut.utf8), std::string(254, 'a'));
    font_library_close(library);
}

TEST(FontCreate, FaceNamesReachInstalledFacesOrStandIns) {
    Engine engine;
    const struct {
        const char* face;
        int result;
        const char* family;
    } cases[] = {
        {kMsGothic, kFontCreated, "IPAGothic"},
        {kMsMincho, kFontCreated, "IPAMincho"},
        {"ipapgothic", kFontCreated, "IPAPGothic"},
        {"IPA\x96\xbe\x92\xa9", kFontCreated, "IPAMincho"},  // "IPA明朝", the localised name
        // Not installed: fontconfig's Japanese choice stands in.
        {"No Such Face", kFontSubstitute, "IPAGothic"},
        {"\xff\xfe", kFontSubstitute, "IPAGothic"},  // not Shift-JIS at all
        // No name asks for any face of the character set, and one is there.
        {"", kFontCreated, "IPAGothic"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(font_create(engine, 4, c.face, 16, 400, false, 0), c.result) << c.face;
        EXPECT_EQ(family_of(*font_get(engine, 4)), c.family) << c.face;
    }
    EXPECT_EQ(font_create(engine, 4, nullptr, 16, 400, false, 0), kFontCreated);
}

TEST(FontCreate, HeightSizesTheBitmapNegativeIsTheEmPositiveTheCell) {
    Engine engine;
    const struct {
        const char* face;
        int32_t height;
        int32_t size, stride_unit, bits_width, ppem, ascent, descent;
    } cases[] = {
        // IPAGothic's own cell (Windows ascent 1802, descent 401 of 2048) is
        // taller than its em.
        {"IPAGothic", -24, 24, 24, 72, 24, 21, 5},
        {"IPAGothic", 18, 18, 20, 60, 17, 15, 3},
        {"IPAGothic", -1, 1, 4, 12, 1, 1, 0},
        {"IPAGothic", 0, 16, 16, 48, 0, 0, 0},  // the default size
        {"IPAGothic", kFontMaxSize, 2048, 2048, 6144, 0, 0, 0},
        {"IPAGothic", 40, 40, 40, 120, 37, 33, 7},
        {"IPAMincho", -24, 24, 24, 72, 24, 21, 5},
        // The original face's cell is exactly its em, so both signs agree.
        {kMsGothic, 16, 16, 16, 48, 16, 14, 2},
        {kMsMincho, 24, 24, 24, 72, 24, 21, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.face) + " " + std::to_string(c.height));
        ASSERT_NE(font_create(engine, 3, c.face, c.height, 400, false, -2), kFontFailed);
        const FontRecord& record = *font_get(engine, 3);
        EXPECT_EQ(record.size, c.size);
        EXPECT_EQ(record.stride_unit, c.stride_unit);
        EXPECT_EQ(record.bits_width, c.bits_width);
        EXPECT_EQ(record.bits_height, 2 * c.size);
        EXPECT_EQ(record.advance, -2);
        EXPECT_NE(record.bits, nullptr);
        if (!c.ppem) continue;
        EXPECT_EQ(record.face->ppem, c.ppem);
        EXPECT_EQ(record.face->ascent, c.ascent);
        EXPECT_EQ(record.face->descent, c.descent);
    }
}

TEST(FontCreate, RefusesNumbersAndHeightsOutOfRange) {
    Engine engine;
    EXPECT_EQ(font_create(engine, 36, "IPAGothic", 16, 400, false, 0), kFontFailed);
    EXPECT_EQ(font_create(engine, -1, "IPAGothic", 16, 400, false, 0), kFontFailed);
    EXPECT_EQ(font_get(engine, 36), nullptr);
    EXPECT_EQ(font_get(engine, -1), nullptr);
    ASSERT_EQ(font_get(engine, 35), &engine.fonts.fonts[35]);

    for (int32_t height : {kFontMaxSize + 1, -kFontMaxSize - 1, INT32_MAX, INT32_MIN}) {
        ASSERT_EQ(font_create(engine, 35, "IPAGothic", 16, 400, false, 0), kFontCreated);
        // A refused height still releases what the record held.
        EXPECT_EQ(font_create(engine, 35, "IPAGothic", height, 400, false, 0), kFontFailed)
            << height;
        const FontRecord& record = *font_get(engine, 35);
        EXPECT_EQ(record.face, nullptr);
        EXPECT_EQ(record.bits, nullptr);
        EXPECT_EQ(record.size, 0);
        GlyphInk ink;
        EXPECT_FALSE(font_glyph(engine, *font_get(engine, 35), 'A', 0, ink));
    }
}

TEST(FontCreate, BoldAndItalicComeFromTheFamilyOrAreMadeUp) {
    Engine engine;
    // The IPA families have one weight and no italic: both are made up.
    ASSERT_EQ(font_create(engine, 1, "IPAGothic", 16, 599, false, 0), kFontCreated);
    EXPECT_FALSE(font_get(engine, 1)->face->embolden);
    ASSERT_EQ(font_create(engine, 1, "IPAGothic", 16, 600, true, 0), kFontCreated);
    EXPECT_TRUE(font_get(engine, 1)->face->embolden);
    EXPECT_TRUE(font_get(engine, 1)->face->slant);

    // A family with a bold face uses it as it is; otherwise the nearest weight
    // of the family, not merely one that is not bold.
    if (font_create(engine, 2, "DejaVu Sans", 16, 700, false, 0) != kFontCreated) {
        GTEST_SKIP() << "DejaVu Sans is not installed";
    }
    // clang-format off
    const struct {
        int32_t weight;
        bool italic;
        const char* style;
    } cases[] = {{700, false, "Bold"}, {400, false, "Book"}, {0, false, "Book"},
                 {200, false, "ExtraLight"}, {700, true, "Bold Oblique"}};
    // clang-format on
    for (const auto& c : cases) {
        ASSERT_EQ(font_create(engine, 2, "DejaVu Sans", 16, c.weight, c.italic, 0), kFontCreated);
        EXPECT_STREQ(font_get(engine, 2)->face->face->style_name, c.style);
        EXPECT_FALSE(font_get(engine, 2)->face->embolden);
        EXPECT_FALSE(font_get(engine, 2)->face->slant);
    }
}

TEST(FontTable, StartsWithFontZeroAndReleasesEverything) {
    Engine engine;
    ASSERT_TRUE(fonts_init(engine));
    const FontRecord& zero = *font_get(engine, 0);
    EXPECT_EQ(family_of(zero), "IPAGothic");
    EXPECT_EQ(zero.size, 16);
    EXPECT_EQ(zero.advance, 16);

    ASSERT_EQ(font_create(engine, 35, "IPAMincho", -12, 400, false, 0), kFontCreated);
    engine.fonts.picture_fonts[7].enabled = 1;
    engine.fonts.picture_fonts[7].buf_no = 3;
    fonts_release(engine);
    for (int n = 0; n < kFontCount; ++n) {
        EXPECT_EQ(engine.fonts.fonts[n].face, nullptr) << n;
        EXPECT_EQ(engine.fonts.fonts[n].bits, nullptr) << n;
    }
    EXPECT_EQ(engine.fonts.picture_fonts[7].enabled, 0);
    EXPECT_EQ(engine.fonts.picture_fonts[7].buf_no, -1);
    // The library stays for the next font; the tables close it.
    EXPECT_EQ(font_create(engine, 0, kMsGothic, 16, 400, false, 16), kFontCreated);
}

}  // namespace
}  // namespace qln
