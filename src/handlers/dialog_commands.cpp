// Commands that show a text or a list of choices in a window and wait for
// the player's answer.

#include "commands/command_table.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "graphics/picture.h"
#include "input/tracking.h"
#include "platform/platform.h"
#include "run/run_loop.h"
#include "scenario/interp.h"
#include "scenario/scenario.h"
#include "tables/tables.h"
#include "tables/text_expand.h"
#include "text/text_draw.h"
#include "windows/window.h"

namespace qln {
namespace {

constexpr uint16_t kNoTarget = 0xFFFF;
// A choice callback decides by setting R1 to at least this: the digits above
// hold the button id and the window, the lowest one the button.
constexpr int32_t kCallbackDecided = 10000000;

int32_t clamp32(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// A layout term: a 32-bit field times a count of at most about 2^31, held to
// 32 bits so that sums of a few terms never overflow.
int64_t term(int64_t field, int64_t count) {
    return clamp32(field * count);
}

// The input-owning window while a command waits in it; the previous owner
// comes back when the command ends, on its error paths as well.
class InputOwner {
  public:
    InputOwner(Engine& engine, int32_t win_no, bool own)
        : engine_(engine), previous_(engine.tracking.input_owner) {
        if (own) engine.tracking.input_owner = uint16_t(win_no);
    }
    ~InputOwner() { release(); }
    void release() { engine_.tracking.input_owner = previous_; }

  private:
    Engine& engine_;
    uint16_t previous_;
};

void jump(Engine& engine, uint16_t target) {
    if (engine.interp.current) engine.interp.current->pc = target;
}

// Runs a subroutine of the current scenario to its return; error -101 when
// it cannot be called or stopped with an error, another stop passed on.
int32_t subroutine(Engine& engine, uint16_t target) {
    const int32_t result = call_wait(engine, target);
    if (result == -1) return err_report(engine, -101, nullptr);
    return result;
}

// Centres open window win_no on the screen picture and shows the expanded
// text in it; error -106 when the window is not open.
int32_t show_centred(Engine& engine, int32_t win_no, const char* text) {
    const Window* window = win_get(engine, win_no, true);
    if (!window) return err_report(engine, -106, "win_no = %d", win_no);
    const Picture* screen = engine.screen.screen;
    const int32_t sw = screen ? screen->width : 0, sh = screen ? screen->height : 0;
    (void)win_move(engine, win_no, (sw - window->sx()) / 2, (sh - window->sy()) / 2);
    char expanded[kExpandBufferSize];
    text_expand(engine, text, expanded, sizeof expanded);
    // A text the renderer refuses leaves the window without it; the question
    // can still be answered.
    (void)win_text(engine, win_no, expanded);
    return 0;
}

bool names_button(const InputState& snap, int32_t win_no) {
    return int32_t(snap.window) == win_no && snap.button_id > 0;
}

// --- win_select -----------------------------------------------------------

// The entries whose condition is not 0, in order. Texts held by string
// registers are copied: a callback that stores a string register may move
// the string pool under them.
struct Choices {
    std::vector<const char*> text;
    std::vector<uint16_t> target;
    std::string copies;
    int32_t maxlen = 0;

    size_t count() const { return text.size(); }
};

void choices_keep(Engine& engine, const Args& args, Choices& choices) {
    const StringPool& pool = engine.tables.pool;
    const uintptr_t pool_begin = uintptr_t(pool.base.get());
    const uintptr_t pool_end = pool_begin + pool.capacity;
    std::vector<size_t> copied_at;  // offset into copies, or SIZE_MAX
    for (const ListItem& item : win_select_operands(args).choices()) {
        if (item.num == 0) continue;
        const char* text = item.str ? item.str : "";
        const size_t length = std::strlen(text);
        choices.maxlen = std::max(choices.maxlen, clamp32(int64_t(length)));
        const uintptr_t at = uintptr_t(text);
        if (pool_begin != 0 && at >= pool_begin && at < pool_end) {
            copied_at.push_back(choices.copies.size());
            choices.copies.append(text, length + 1);
        } else {
            copied_at.push_back(SIZE_MAX);
        }
        choices.text.push_back(text);
        choices.target.push_back(item.word);
    }
    for (size_t k = 0; k < choices.count(); ++k) {
        if (copied_at[k] != SIZE_MAX) choices.text[k] = choices.copies.data() + copied_at[k];
    }
}

// Forgets a button highlight of the window: its picture is about to be
// replaced, so the covered pixels are not drawn back.
void highlight_forget(Engine& engine, int32_t win_no) {
    HighlightState& highlight = engine.tracking.highlight;
    if (int32_t(highlight.last_window) != win_no) return;
    picture_free(highlight.saved);
    highlight.saved = nullptr;
    highlight.last_window = 0;
    highlight.last_button_id = 0;
}

// Sizes the window for the shown choices (from sel_top) in columns of
// sel_rows rows; the text area becomes the whole window.
bool choices_layout(Engine& engine, Window& window, int64_t shown) {
    const int64_t rows = window.sel_rows;
    const int64_t columns = (shown + rows - 1) / rows;
    int64_t width = term(window.sel_wd, columns) + window.sel_mx;
    if (columns > 0) width += term(window.sel_gap, columns - 1);
    const int64_t height = term(window.sel_vt, std::min(shown, rows)) + window.sel_my;
    if (!win_resize(engine, window, clamp32(width), clamp32(height), false)) return false;
    window.tx_ex = clamp32(width);
    window.tx_ey = clamp32(height);
    return true;
}

// Draws choice sel_top + i at column i / sel_rows, row i % sel_rows. Column 1
// follows column 0 without a gap (the window's width counts one gap more):
// scenarios place their buttons on these positions as they are.
void choices_draw(Engine& engine, Window& window, const Choices& choices) {
    const int64_t rows = window.sel_rows, top = window.sel_top;
    const int64_t count = int64_t(choices.count());
    char expanded[kExpandBufferSize];
    // Only indices inside the list are drawn, whatever sel_top says.
    for (int64_t i = std::max<int64_t>(0, -top); i < count - top; ++i) {
        const int64_t column = i / rows, row = i % rows;
        int64_t x = term(window.sel_wd, column) + window.sel_mx / 2;
        if (column > 0) x += term(window.sel_gap, column - 1);
        const int64_t y = term(window.sel_vt, row) + window.sel_my / 2;
        text_expand(engine, choices.text[size_t(top + i)], expanded, sizeof expanded);
        (void)win_text_at(engine, window, clamp32(x), clamp32(y), expanded, -1);
    }
}

// R1 = phase, R2 = win_no, R3-R7 the window's position, size and button
// count, R8-R11 the pointer and what it is over, R12 = r12, R13 = 0.
void select_registers(Engine& engine, int32_t phase, int32_t win_no, const Window& window,
                      const InputState& snap, int32_t r12) {
    const int32_t values[13] = {phase,          win_no,        window.px, window.py, window.sx(),
                                window.sy(),    window.bt_num, snap.x,    snap.y,    snap.window,
                                snap.button_id, r12,           0};
    for (uint32_t i = 0; i < 13; ++i) result_set(engine, i + 1, values[i]);
}

// One callback call of win_select: a poll step, the registers, the call.
int32_t select_callback(Engine& engine, int32_t win_no, int32_t phase, int32_t r12,
                        int32_t sub_buff, int32_t entry, InputState& snap) {
    if (!poll(engine, snap)) return err_report(engine, -107, nullptr);
    const Window* window = win_get(engine, win_no, true);
    if (!window) return err_report(engine, -106, "win_no = %d", win_no);
    select_registers(engine, phase, win_no, *window, snap, r12);
    if (!scn_invoke(engine, sub_buff, entry)) {
        return err_report(engine, -108, "sub_buff = %d, entry = %d", sub_buff, entry);
    }
    return 0;
}

struct Decision {
    bool left = false;
    int32_t window = 0;
    int32_t id = 0;
    int32_t index = 0;  // the button's region-list index
    InputState snap;    // the snapshot the decision was made on
};

// The region-list index of button id in the window's buttons, or -1.
int32_t button_index_of(Engine& engine, const Window& window, int32_t id) {
    const RegionList* regions = buf_get_regions(engine, window.bt_buff);
    if (window.bt_buff == 0 || !regions) return -1;
    const size_t end = std::min(size_t(window.bt_bpos) + window.bt_num, regions->entries.size());
    for (size_t i = window.bt_bpos; i < end; ++i) {
        if (regions->entries[i].id == id) return int32_t(i);
    }
    return -1;
}

// Waits for one deciding click or callback answer.
int32_t select_wait(Engine& engine, int32_t win_no, int32_t sub_buff, int32_t entry,
                    Decision& decision) {
    InputState& snap = decision.snap;
    if (sub_buff < 0) {
        const Click click = wait_click_for(engine, snap);
        if (click == Click::Failed) return err_report(engine, -107, nullptr);
        decision.left = click == Click::Left;
        decision.window = snap.window;
        decision.id = snap.button_id;
        decision.index = snap.button_index;
        return 0;
    }
    enum class Pressed : uint8_t { None, Left, Right } pressed = Pressed::None;
    for (;;) {
        if (const int32_t code = select_callback(engine, win_no, 1, 0, sub_buff, entry, snap)) {
            return code;
        }
        const int32_t answer = result_get(engine, 1);
        if (answer >= kCallbackDecided) {
            decision.left = answer % 10 != 0;
            decision.window = (answer / 10) % 1000;
            decision.id = (answer / 10000) % 1000;
            const Window* window = win_get(engine, win_no, true);
            decision.index = window ? button_index_of(engine, *window, decision.id) : -1;
            if (decision.index < 0) decision.id = -1;
            return 0;
        }
        if (pressed == Pressed::None) {
            if (snap.left) {
                pressed = Pressed::Left;
            } else if (snap.right) {
                pressed = Pressed::Right;
            }
        } else if ((pressed == Pressed::Left && !snap.left) ||
                   (pressed == Pressed::Right && !snap.right)) {
            decision.left = pressed == Pressed::Left;
            decision.window = snap.window;
            decision.id = snap.button_id;
            decision.index = snap.button_index;
            return 0;
        }
        engine.platform.clock->idle_pass();
    }
}

enum class Outcome : uint8_t { Again, Choice, Cancel, Outside };

}  // namespace

int32_t cmd_win_confirm(Engine& engine, const Args& args) {
    const win_confirm_operands op(args);
    const char* text = op.text();
    const uint16_t yes_target = op.yes_target(), no_target = op.no_target();
    const int32_t win_no = op.win_no();
    if (const int32_t code = show_centred(engine, win_no, text)) return code;
    bool yes = false;
    {
        InputOwner owner(engine, win_no, true);
        (void)win_show(engine, win_no, true);
        InputState snap;
        // A right click, or a poll step that failed, answers no.
        while (wait_click_for(engine, snap) == Click::Left) {
            if (names_button(snap, win_no)) {
                yes = snap.button_id == 1;
                break;
            }
        }
    }
    (void)win_show(engine, win_no, false);
    result_set(engine, 1, yes ? 1 : 0);
    jump(engine, yes ? yes_target : no_target);
    return 0;
}

int32_t cmd_win_notice(Engine& engine, const Args& args) {
    const win_notice_operands op(args);
    const char* text = op.text();
    const int32_t win_no = op.win_no();
    if (const int32_t code = show_centred(engine, win_no, text)) return code;
    Click click = Click::Right;
    {
        InputOwner owner(engine, win_no, true);
        (void)win_show(engine, win_no, true);
        InputState snap;
        do {
            click = wait_click_for(engine, snap);
        } while (click != Click::Failed && !(click == Click::Left && names_button(snap, win_no)));
    }
    (void)win_show(engine, win_no, false);
    // Only a left click on a button ends the wait; a failed poll step (the
    // program must end) ends it as well instead of waiting forever.
    if (click == Click::Failed) return err_report(engine, -107, nullptr);
    return 0;
}

int32_t cmd_win_message(Engine& engine, const Args& args) {
    const win_message_operands op(args);
    const int32_t win_no = op.win_no(), wait = op.wait();
    const char* text = op.text();
    const uint16_t before = op.before(), after = op.after();
    const int32_t values[4] = {op.a(), op.b(), op.c(), op.d()};
    char expanded[kExpandBufferSize];
    text_expand(engine, text, expanded, sizeof expanded);
    if (before != kNoTarget) {
        for (uint32_t i = 0; i < 4; ++i) result_set(engine, i + 1, values[i]);
        if (const int32_t result = subroutine(engine, before)) return result;
    }
    if (!win_text(engine, win_no, expanded)) {
        return err_report(engine, -106, "win_no = %d", win_no);
    }
    InputState snap;
    int32_t pressed = 255;
    if (wait == 0) {
        snapshot(engine, snap);
        if (snap.left) pressed = 1;
    } else if (wait_click_for(engine, snap) == Click::Left) {
        pressed = 1;
    }
    if (after != kNoTarget) {
        for (uint32_t i = 0; i < 4; ++i) result_set(engine, i + 1, values[i]);
        result_set(engine, 5, snap.window);
        result_set(engine, 6, snap.button_id);
        result_set(engine, 7, pressed);
        if (const int32_t result = subroutine(engine, after)) return result;
    }
    if (wait != 0) {
        result_set(engine, 1, snap.window);
        result_set(engine, 2, snap.button_id);
        result_set(engine, 3, pressed);
    }
    return 0;
}

int32_t cmd_win_select(Engine& engine, const Args& args) {
    const win_select_operands op(args);
    const int32_t win_no = op.win_no();
    const uint16_t cancel_target = op.cancel_target();
    const int32_t flags = op.flags();
    const uint16_t pre_target = op.pre_target(), outside_target = op.outside_target();
    const int32_t sub_buff = op.sub_buff(), entry = op.entry();
    // Outside the window the command runs again after the subroutine returns,
    // so it returns to its own command byte.
    const uint16_t command_offset = uint16_t(args.command_pc - 1);
    const bool stays_shown = (flags & 0x100) != 0;
    const bool owns_input = (flags & 0x80) != 0;
    Choices choices;
    choices_keep(engine, args, choices);

    Window* window = win_get(engine, win_no, true);
    if (!window) return err_report(engine, -106, "win_no = %d", win_no);
    // The layout divides by the row count; without rows there is none.
    if (window->sel_rows == 0) return err_report(engine, -116, nullptr);
    highlight_forget(engine, win_no);
    InputOwner owner(engine, win_no, owns_input);

    window->bt_num = uint16_t(choices.count());
    const int64_t shown = int64_t(choices.count()) - window->sel_top;
    if (!choices_layout(engine, *window, shown)) return err_report(engine, -107, nullptr);
    if (sub_buff >= 0) {
        InputState snap;
        result_set(engine, 14, choices.maxlen);
        if (const int32_t code = select_callback(engine, win_no, 0, 0, sub_buff, entry, snap)) {
            return code;
        }
        // The callback may have closed the window.
        window = win_get(engine, win_no, true);
        if (!window) return err_report(engine, -106, "win_no = %d", win_no);
    }
    if (window->sel_rows != 0) choices_draw(engine, *window, choices);
    (void)win_show(engine, win_no, true);

    Decision decision;
    Outcome outcome = Outcome::Again;
    size_t chosen = 0;
    while (outcome == Outcome::Again) {
        if (const int32_t code = select_wait(engine, win_no, sub_buff, entry, decision)) {
            return code;
        }
        const Window* now = win_get(engine, win_no, true);
        const int64_t choice = now ? int64_t(decision.index) - now->bt_bpos : -1;
        const bool on_button = decision.window == win_no && decision.id > 0;
        // A button that is no choice (the callback changed the buttons) is
        // not taken for one.
        if (decision.left && on_button && choice >= 0 && choice < int64_t(choices.count())) {
            outcome = Outcome::Choice;
            chosen = size_t(choice);
        } else if (!decision.left && cancel_target != kNoTarget) {
            outcome = Outcome::Cancel;
        } else if (!on_button && outside_target != kNoTarget) {
            outcome = Outcome::Outside;
        }
    }

    if (outcome != Outcome::Outside && !stays_shown) (void)win_show(engine, win_no, false);
    owner.release();
    if (sub_buff >= 0) {
        InputState snap;
        if (const int32_t code = select_callback(engine, win_no, 2, decision.left ? 1 : 255,
                                                 sub_buff, entry, snap)) {
            return code;
        }
    }
    const int32_t results[6] = {decision.window, decision.id,     decision.left ? 1 : 255,
                                decision.snap.x, decision.snap.y, 0};
    for (uint32_t i = 0; i < 6; ++i) result_set(engine, i + 1, results[i]);

    if (outcome == Outcome::Outside) {
        jump(engine, command_offset);
        if (!call_push(engine, outside_target)) return err_report(engine, -101, nullptr);
        return 0;
    }
    jump(engine, outcome == Outcome::Cancel ? cancel_target : choices.target[chosen]);
    if (pre_target != kNoTarget && !call_push(engine, pre_target)) {
        return err_report(engine, -101, nullptr);
    }
    return 0;
}

}  // namespace qln
