// Typed text to code page 932 bytes, engine text to what dialogs show, and
// the scenario error dialog's fields.

#include "platform/sdl2/host_text.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/error_record.h"

namespace qln {
namespace {

TEST(HostText, TypedTextBecomesLeadThenTrailBytesAndUnknownCharactersAreDropped) {
    HostText text;
    std::string out;
    // ASCII, a kana (0x82 0xA0) and a kanji (0x8A 0xBF) committed at once.
    text.typed_to_cp932("a\xE3\x81\x82\xE6\xBC\xA2", out);
    EXPECT_EQ(out, "a\x82\xA0\x8A\xBF");
    // Half-width katakana is one byte; the full-width tilde is 0x81 0x60.
    text.typed_to_cp932("\xEF\xBD\xB1\xEF\xBD\x9E", out);
    EXPECT_EQ(out, "\xB1\x81\x60");
    // An emoji and a Hangul syllable have no code page 932 form; the
    // characters around them stay.
    text.typed_to_cp932("x\xF0\x9F\x98\x80y\xEA\xB0\x80z", out);
    EXPECT_EQ(out, "xyz");
    // Broken UTF-8: a lone trail byte, a cut sequence at the end.
    text.typed_to_cp932("\x80q\xE3\x81", out);
    EXPECT_EQ(out, "q");
    text.typed_to_cp932("", out);
    EXPECT_EQ(out, "");
}

TEST(HostText, EngineTextShowsWhatConvertsAndMarksTheRest) {
    HostText text;
    std::string out;
    text.engine_to_utf8("\x83\x51\x81\x5B\x83\x80 1\n2", out);  // ゲーム
    EXPECT_EQ(out, "\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0 1\n2");
    // 0x80 and 0xA0 are no characters; a lead byte at the very end is cut;
    // before a byte that cannot trail, the second byte still shows.
    text.engine_to_utf8("a\200b\240c\202", out);
    EXPECT_EQ(out, "a\uFFFDb\uFFFDc\uFFFD");
    text.engine_to_utf8("\202A", out);
    EXPECT_EQ(out, "\uFFFDA");
}

TEST(HostText, TheErrorDialogShowsEveryFieldOfTheRecord) {
    HostText text;
    ScenarioErrorRecord r;
    r.command = 0x0A;
    r.error_number = 106;
    std::strcpy(r.command_name, "win_confirm");
    std::strcpy(r.error_text, "\x83\x45\x83\x43\x83\x93\x83\x68\x83\x45");  // ウインドウ
    std::strcpy(r.detail, "win_no = 7");
    EXPECT_EQ(text.error_dialog_body(r),
              "コマンド  0x0a  win_confirm\n"
              "エラー  106  ウインドウ\n"
              "情報  win_no = 7");
    // A command byte shows two digits; fields filled to the brim are not
    // read past their end.
    r.command = 0x1FF;
    r.error_number = 4294967295u;
    std::memset(r.command_name, 'n', sizeof r.command_name);
    std::memset(r.detail, 'd', sizeof r.detail);
    const std::string body = text.error_dialog_body(r);
    EXPECT_EQ(body.substr(0, body.find('\n')), "コマンド  0xff  " + std::string(256, 'n'));
    EXPECT_NE(body.find("エラー  4294967295  "), std::string::npos);
    EXPECT_EQ(body.substr(body.rfind('\n') + 1), "情報  " + std::string(512, 'd'));
}

}  // namespace
}  // namespace qln
