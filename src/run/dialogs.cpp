// The engine's dialogs: the host's first, the game window's when the host
// cannot show them.

#include "run/dialogs.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "base/error_record.h"
#include "engine/engine.h"
#include "input/input_state.h"
#include "run/run_loop.h"
#include "screen/fallback_dialog.h"
#include "screen/screen.h"

namespace qln {
namespace {

// Virtual keys the dialog answers.
constexpr uint8_t kKeyTab = 0x09, kKeyEnter = 0x0D, kKeyEscape = 0x1B, kKeySpace = 0x20;
constexpr uint8_t kKeyLeft = 0x25, kKeyRight = 0x27;

// The error dialog's title and its labels and buttons, in Shift-JIS:
// "シナリオ実行エラー", "コマンド", "エラー", "情報", "停止", "続行".
constexpr char kErrorTitle[] =
    "\x83\x56\x83\x69\x83\x8A\x83\x49\x8E\xC0\x8D\x73\x83\x47\x83\x89\x81\x5B";
constexpr char kCommandLabel[] = "\x83\x52\x83\x7D\x83\x93\x83\x68";
constexpr char kErrorLabel[] = "\x83\x47\x83\x89\x81\x5B";
constexpr char kDetailLabel[] = "\x8F\xEE\x95\xF1";
constexpr char kStopLabel[] = "\x92\xE2\x8E\x7E";
constexpr char kContinueLabel[] = "\x91\xB1\x8D\x73";
// "はい", "いいえ".
constexpr char kYesLabel[] = "\x82\xCD\x82\xA2";
constexpr char kNoLabel[] = "\x82\xA2\x82\xA2\x82\xA6";

// The record's fields as the dialog shows them, one line each, with what the
// engine knows of an error the game's files left without a name.
std::string error_text(const ScenarioErrorRecord& record) {
    char number[32];
    std::string text = kCommandLabel;
    std::snprintf(number, sizeof number, "  0x%02x  ", record.command & 0xFFu);
    text += number;
    text.append(record.command_name, strnlen(record.command_name, sizeof record.command_name));
    text += '\n';
    text += kErrorLabel;
    std::snprintf(number, sizeof number, "  %u  ", record.error_number);
    text += number;
    text.append(record.error_text, strnlen(record.error_text, sizeof record.error_text));
    text += '\n';
    text += kDetailLabel;
    text += "  ";
    text.append(record.detail, strnlen(record.detail, sizeof record.detail));
    if (record.hint[0]) {
        text += "\n\n";
        text.append(record.hint, strnlen(record.hint, sizeof record.hint));
    }
    return text;
}

// The focus moves by one button, round the row.
void focus_step(Engine& engine, FallbackDialog& dialog, bool forward) {
    const size_t n = dialog.buttons.size();
    dialog.focus = forward ? (dialog.focus + 1) % n : (dialog.focus + n - 1) % n;
    fallback_dialog_redraw(engine, dialog);
}

}  // namespace

DialogAnswer fallback_dialog_run(Engine& engine, FallbackDialog& dialog, DialogAnswer at_end) {
    if (!fallback_dialog_open(engine, dialog)) return at_end;
    // A button held as the dialog opens was pressed for something else.
    int32_t x = 0, y = 0;
    uint8_t left = 0, right = 0;
    input_peek(engine, x, y, left, right);
    bool was_down = left != 0;
    int32_t armed = -1;  // the button the left button went down on
    DialogAnswer answer = at_end;
    InputState snap;
    for (bool answered = false; !answered;) {
        if (!poll(engine, snap)) break;
        while (const uint16_t key = queue_take(engine, InputQueue::Key)) {
            const uint8_t vk = uint8_t(key & 0xFF);
            if (vk == kKeyEnter || vk == kKeySpace) {
                answer = dialog.buttons[dialog.focus].answer;
                answered = true;
            } else if (vk == kKeyEscape) {
                answer = dialog.cancel;
                answered = true;
            } else if (vk == kKeyTab || vk == kKeyRight || vk == kKeyLeft) {
                focus_step(engine, dialog, vk != kKeyLeft && !(key >> 8 & kKeyShift));
            }
            if (answered) break;
        }
        // The characters of those keys are the dialog's too.
        while (queue_take(engine, InputQueue::Character) != 0) {
        }
        const bool down = snap.left != 0;
        if (!answered && down && !was_down)
            armed = fallback_dialog_button_at(dialog, snap.x, snap.y);
        if (!answered && !down && was_down) {
            if (armed >= 0 && fallback_dialog_button_at(dialog, snap.x, snap.y) == armed) {
                answer = dialog.buttons[size_t(armed)].answer;
                answered = true;
            }
            armed = -1;
        }
        was_down = down;
        if (!answered) idle_until_due(engine);
    }
    fallback_dialog_close(engine, dialog);
    screen_update(engine);
    return answer;
}

FallbackDialog error_dialog_of(const ScenarioErrorRecord& record) {
    FallbackDialog dialog;
    dialog.caption = kErrorTitle;
    dialog.text = error_text(record);
    dialog.buttons = {{kContinueLabel, DialogAnswer::Continue}, {kStopLabel, DialogAnswer::Stop}};
    dialog.default_button = 1;
    dialog.cancel = DialogAnswer::Continue;
    return dialog;
}

FallbackDialog message_dialog_of(const char* text, const char* caption) {
    FallbackDialog dialog;
    dialog.caption = caption ? caption : "";
    dialog.text = text ? text : "";
    dialog.buttons = {{"OK", DialogAnswer::Ok}};
    dialog.cancel = DialogAnswer::Ok;
    return dialog;
}

FallbackDialog question_dialog_of(const char* text, const char* caption) {
    FallbackDialog dialog;
    dialog.caption = caption ? caption : "";
    dialog.text = text ? text : "";
    dialog.buttons = {{kYesLabel, DialogAnswer::Yes}, {kNoLabel, DialogAnswer::No}};
    dialog.default_button = 1;
    dialog.cancel = DialogAnswer::No;
    return dialog;
}

bool dialog_error(Engine& engine, const ScenarioErrorRecord& record) {
    DialogAnswer answer = engine.platform.display->error_dialog(record);
    if (answer == DialogAnswer::NotShown) {
        FallbackDialog dialog = error_dialog_of(record);
        answer = fallback_dialog_run(engine, dialog, DialogAnswer::Stop);
    }
    return answer != DialogAnswer::Continue;
}

void dialog_message(Engine& engine, const char* text, const char* caption) {
    if (engine.platform.display->message_box(text, caption) != DialogAnswer::NotShown) return;
    FallbackDialog dialog = message_dialog_of(text, caption);
    (void)fallback_dialog_run(engine, dialog, DialogAnswer::Ok);
}

bool dialog_question(Engine& engine, const char* text, const char* caption) {
    DialogAnswer answer = engine.platform.display->question_yes_no(text, caption);
    if (answer == DialogAnswer::NotShown) {
        FallbackDialog dialog = question_dialog_of(text, caption);
        answer = fallback_dialog_run(engine, dialog, DialogAnswer::No);
    }
    return answer == DialogAnswer::Yes;
}

}  // namespace qln
