// The engine's own dialogs, shown when the host cannot: drawn over the
// screen in the game's gothic face, answered by keys and clicks with the poll
// step running, and gone from the screen once answered.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "base/error_record.h"
#include "platform/host_input.h"
#include "run/dialogs.h"
#include "support/machine.h"
#include "support/pixels.h"

namespace qln::test {
namespace {

// A null backend that cannot show dialogs, a 320 x 240 screen of colour 4.
struct DialogMachine : Machine {
    DialogMachine()
        : Machine([](Settings& s) {
              s.screen_width = 320;
              s.screen_height = 240;
          }) {
        platform.dialogs_shown = false;
        EXPECT_TRUE(screen_init(engine));
        EXPECT_TRUE(start("  pic_fill 0, 0, 0, 319, 239, 4, 0, -1\n  end\n"));
        run(1);
    }
    // Input the main thread would deliver, at a tick of the virtual clock.
    void key_at(uint32_t tick, uint8_t vk, uint8_t modifiers = 0) {
        platform.at(tick, [this, vk, modifiers] {
            LockHold hold(engine.shared.input.lock);
            input_key_push(engine.shared.input, uint16_t(modifiers << 8 | vk));
        });
    }
    void mouse_at(uint32_t tick, int32_t x, int32_t y, bool down) {
        platform.at(tick, [this, x, y, down] {
            LockHold hold(engine.shared.input.lock);
            engine.shared.input.state.x = x;
            engine.shared.input.state.y = y;
            engine.shared.input.state.left = down;
        });
    }
    void click_at(uint32_t tick, const Rect& r) {
        mouse_at(tick, (r.left + r.right) / 2, (r.top + r.bottom) / 2, true);
        mouse_at(tick + 5, (r.left + r.right) / 2, (r.top + r.bottom) / 2, false);
    }
    // Where a dialog's buttons lie once it is shown.
    std::vector<Rect> buttons_of(FallbackDialog dialog) {
        if (!fallback_dialog_open(engine, dialog)) return {};
        const std::vector<Rect> rects = dialog.button_rects;
        fallback_dialog_close(engine, dialog);
        return rects;
    }
};

ScenarioErrorRecord sample_error() {
    ScenarioErrorRecord r;
    r.command = 0x0A;
    r.error_number = 106;
    std::strcpy(r.command_name, "win_confirm");
    // "ウインドウがありません"
    std::strcpy(r.error_text,
                "\x83\x45\x83\x43\x83\x93\x83\x68\x83\x45\x82\xAA\x82\xA0\x82\xE8"
                "\x82\xDC\x82\xB9\x82\xF1");
    std::strcpy(r.detail, "win_no = 7");
    return r;
}

TEST(FallbackDialogs, TheErrorDialogIsDrawnOverTheScreenAndGoneOnceAnswered) {
    DialogMachine m;
    const Picture& screen = *m.engine.screen.screen;
    const uint64_t before = picture_hash(screen);
    uint64_t shown = 0;
    m.platform.at(20, [&] { shown = picture_hash(screen); });
    m.key_at(30, 0x0D);
    EXPECT_TRUE(dialog_error(m.engine, sample_error()));
    EXPECT_EQ(m.platform.errors.size(), 1u);  // the host was asked first
    // Checked by eye: caption bar, the three fields in Japanese, Continue and
    // the focused Stop at the bottom right, centred on the screen.
    EXPECT_EQ(shown, 13262372248678472384u);
    EXPECT_EQ(picture_hash(screen), before);
    EXPECT_EQ(m.engine.screen.overlay, nullptr);
}

TEST(FallbackDialogs, AHostThatShowsTheDialogIsTheOnlyOneAsked) {
    DialogMachine m;
    m.platform.dialogs_shown = true;
    m.platform.stop_on_error = false;
    const uint64_t before = picture_hash(*m.engine.screen.screen);
    EXPECT_FALSE(dialog_error(m.engine, sample_error()));
    EXPECT_FALSE(dialog_question(m.engine, "q", "c"));
    EXPECT_EQ(picture_hash(*m.engine.screen.screen), before);
    EXPECT_EQ(m.platform.now, 0u);  // no poll step waited
}

enum class Kind { Error, Question, Message };

FallbackDialog dialog_of(Kind kind) {
    switch (kind) {
        case Kind::Error:
            return error_dialog_of(sample_error());
        case Kind::Question:
            return question_dialog_of("\x91\xB1\x82\xAF\x82\xDC\x82\xB7\x82\xA9\x81\x48",
                                      "Quillon");
        case Kind::Message:
            break;
    }
    return message_dialog_of("done", "Quillon");
}

TEST(FallbackDialogs, KeysAndClicksChooseEachAnswer) {
    constexpr uint8_t kTab = 0x09, kEnter = 0x0D, kEscape = 0x1B, kSpace = 0x20, kLeft = 0x25;
    constexpr uint8_t kShift = 1;
    struct Case {
        const char* what;
        Kind kind;
        std::function<void(DialogMachine&, const std::vector<Rect>&)> input;
        DialogAnswer expected;
    };
    const Case cases[] = {
        {"Enter: the default", Kind::Error, [&](DialogMachine& m, auto&) { m.key_at(10, kEnter); },
         DialogAnswer::Stop},
        {"Escape", Kind::Error, [&](DialogMachine& m, auto&) { m.key_at(10, kEscape); },
         DialogAnswer::Continue},
        {"Tab moves the focus", Kind::Error,
         [&](DialogMachine& m, auto&) {
             m.key_at(10, kTab);
             m.key_at(20, kEnter);
         },
         DialogAnswer::Continue},
        {"Shift+Tab twice comes back", Kind::Error,
         [&](DialogMachine& m, auto&) {
             m.key_at(10, kTab, kShift);
             m.key_at(12, kTab, kShift);
             m.key_at(20, kSpace);
         },
         DialogAnswer::Stop},
        {"a click on Continue", Kind::Error,
         [&](DialogMachine& m, auto& b) { m.click_at(10, b[0]); }, DialogAnswer::Continue},
        {"released off the button it went down on", Kind::Error,
         [&](DialogMachine& m, auto& b) {
             m.mouse_at(10, b[1].left + 2, b[1].top + 2, true);
             m.mouse_at(20, b[0].left + 2, b[0].top + 2, false);
             m.key_at(30, kEscape);
         },
         DialogAnswer::Continue},
        {"a click beside the buttons", Kind::Error,
         [&](DialogMachine& m, auto& b) {
             m.click_at(10, Rect{b[0].right, b[0].top, b[1].left, b[0].bottom});
             m.key_at(30, kEnter);
         },
         DialogAnswer::Stop},
        {"the window closed", Kind::Error,
         [&](DialogMachine& m, auto&) { m.platform.at(10, [&m] { m.platform.quit = true; }); },
         DialogAnswer::Stop},
        {"Enter: No", Kind::Question, [&](DialogMachine& m, auto&) { m.key_at(10, kEnter); },
         DialogAnswer::No},
        {"Left, Space: Yes", Kind::Question,
         [&](DialogMachine& m, auto&) {
             m.key_at(10, kLeft);
             m.key_at(20, kSpace);
         },
         DialogAnswer::Yes},
        {"a click on Yes", Kind::Question, [&](DialogMachine& m, auto& b) { m.click_at(10, b[0]); },
         DialogAnswer::Yes},
        {"closed: No", Kind::Question,
         [&](DialogMachine& m, auto&) { m.platform.at(10, [&m] { m.platform.quit = true; }); },
         DialogAnswer::No},
        {"a click on OK", Kind::Message, [&](DialogMachine& m, auto& b) { m.click_at(10, b[0]); },
         DialogAnswer::Ok},
    };
    for (const Case& c : cases) {
        DialogMachine m;
        const std::vector<Rect> buttons = m.buttons_of(dialog_of(c.kind));
        ASSERT_FALSE(buttons.empty()) << c.what;
        c.input(m, buttons);
        FallbackDialog dialog = dialog_of(c.kind);
        const DialogAnswer at_end = c.kind == Kind::Error      ? DialogAnswer::Stop
                                    : c.kind == Kind::Question ? DialogAnswer::No
                                                               : DialogAnswer::Ok;
        EXPECT_EQ(fallback_dialog_run(m.engine, dialog, at_end), c.expected) << c.what;
        EXPECT_LT(m.platform.now, 100u) << c.what;  // answered when the input came
    }
}

TEST(FallbackDialogs, LongTextWrapsAndIsCutToTheScreen) {
    DialogMachine m;
    std::string text(3000, 'W');
    for (int i = 0; i < 60; ++i) text += "\nline";
    FallbackDialog dialog = message_dialog_of(text.c_str(), "caption");
    ASSERT_TRUE(fallback_dialog_open(m.engine, dialog));
    const Rect screen{0, 0, 320, 240};
    EXPECT_EQ(rect_intersect(dialog.frame, screen).width(), dialog.frame.width());
    EXPECT_EQ(rect_intersect(dialog.frame, screen).height(), dialog.frame.height());
    const Rect& ok = dialog.button_rects[0];
    EXPECT_EQ(rect_intersect(ok, dialog.frame).height(), ok.height());
    EXPECT_GE(dialog.frame.width(), 300);  // wrapped at the screen's width, not cut short
    fallback_dialog_close(m.engine, dialog);
}

}  // namespace
}  // namespace qln::test
