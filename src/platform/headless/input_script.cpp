// Parser of the scripted input. Strict: anything it does not know is an error
// with the line and the reason, so a mistyped script never runs silently.

#include "platform/headless/input_script.h"

#include <charconv>

namespace qln {
namespace {

using Tokens = std::vector<std::string_view>;

void split(std::string_view line, Tokens& out) {
    out.clear();
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
}

// A number of the given range; hex allows a "0x" prefix.
bool parse_number(std::string_view text, bool hex, int64_t min, int64_t max, int64_t& value) {
    int base = 10;
    bool negative = false;
    if (hex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    } else if (!text.empty() && text[0] == '-') {
        text.remove_prefix(1);
        negative = true;
    }
    if (text.empty() || text[0] == '+' || text[0] == '-') return false;
    uint64_t magnitude = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, magnitude, base);
    if (ec != std::errc() || ptr != end || magnitude > uint64_t(INT64_MAX)) return false;
    value = negative ? -int64_t(magnitude) : int64_t(magnitude);
    return value >= min && value <= max;
}

bool parse_button(std::string_view text, MouseButton& button) {
    if (text == "left")
        button = MouseButton::Left;
    else if (text == "right")
        button = MouseButton::Right;
    else if (text == "middle")
        button = MouseButton::Middle;
    else
        return false;
    return true;
}

class LineParser {
  public:
    LineParser(uint32_t line, std::vector<ScriptEvent>& events, ScriptError& error)
        : line_(line), events_(events), error_(error) {}

    bool parse(const Tokens& t) {
        int64_t time = 0;
        if (!parse_number(t[0], false, 0, UINT32_MAX, time) || t[0][0] == '-') {
            return fail("bad time \"" + std::string(t[0]) + "\" (milliseconds, 0 to 4294967295)");
        }
        if (t.size() < 2) return fail("missing event after the time");
        time_ = static_cast<uint32_t>(time);
        const std::string_view name = t[1];
        args_ = Tokens(t.begin() + 2, t.end());
        if (name == "move") return move();
        if (name == "down") return button(ScriptEventKind::ButtonDown);
        if (name == "up") return button(ScriptEventKind::ButtonUp);
        if (name == "click") return click();
        if (name == "char") return character();
        if (name == "key") return key(true, true);
        if (name == "keydown") return key(true, false);
        if (name == "keyup") return key(false, true);
        if (name == "focus") return focus();
        if (name == "minimize") return plain(ScriptEventKind::Minimize, "minimize");
        if (name == "restore") return plain(ScriptEventKind::Restore, "restore");
        if (name == "close") return plain(ScriptEventKind::Close, "close");
        return fail("unknown event \"" + std::string(name) + "\"");
    }

  private:
    bool fail(std::string reason) {
        error_.line = line_;
        error_.reason = std::move(reason);
        return false;
    }

    bool arg_count(size_t n, const char* usage) {
        if (args_.size() == n) return true;
        return fail(std::string("expected \"") + usage + "\"");
    }

    ScriptEvent event(ScriptEventKind kind, uint32_t time) {
        ScriptEvent e;
        e.time = time;
        e.kind = kind;
        e.line = line_;
        return e;
    }

    bool position(size_t first, int32_t& x, int32_t& y) {
        int64_t vx = 0, vy = 0;
        if (!parse_number(args_[first], false, -32768, 32767, vx) ||
            !parse_number(args_[first + 1], false, -32768, 32767, vy)) {
            return fail("bad position (X and Y are -32768 to 32767)");
        }
        x = static_cast<int32_t>(vx);
        y = static_cast<int32_t>(vy);
        return true;
    }

    bool move() {
        if (!arg_count(2, "TIME move X Y")) return false;
        ScriptEvent e = event(ScriptEventKind::Move, time_);
        if (!position(0, e.x, e.y)) return false;
        events_.push_back(e);
        return true;
    }

    bool button(ScriptEventKind kind) {
        if (!arg_count(1, kind == ScriptEventKind::ButtonDown ? "TIME down left|right|middle"
                                                              : "TIME up left|right|middle")) {
            return false;
        }
        ScriptEvent e = event(kind, time_);
        if (!parse_button(args_[0], e.button)) {
            return fail("unknown button \"" + std::string(args_[0]) + "\" (left, right, middle)");
        }
        events_.push_back(e);
        return true;
    }

    bool click() {
        if (!arg_count(3, "TIME click left|right|middle X Y")) return false;
        MouseButton b;
        if (!parse_button(args_[0], b)) {
            return fail("unknown button \"" + std::string(args_[0]) + "\" (left, right, middle)");
        }
        ScriptEvent move = event(ScriptEventKind::Move, time_);
        if (!position(1, move.x, move.y)) return false;
        ScriptEvent down = event(ScriptEventKind::ButtonDown, time_);
        ScriptEvent up = event(ScriptEventKind::ButtonUp, time_ + 50u);
        down.button = up.button = b;
        events_.push_back(move);
        events_.push_back(down);
        events_.push_back(up);
        return true;
    }

    bool character() {
        if (!arg_count(1, "TIME char CODE")) return false;
        int64_t code = 0;
        if (!parse_number(args_[0], true, 0, 0xFFFF, code)) {
            return fail("bad character code \"" + std::string(args_[0]) + "\" (0 to 0xFFFF)");
        }
        // A double-byte character reaches the window as two character messages.
        if (code > 0xFF) {
            ScriptEvent lead = event(ScriptEventKind::Char, time_);
            lead.code = static_cast<uint8_t>(code >> 8);
            events_.push_back(lead);
        }
        ScriptEvent e = event(ScriptEventKind::Char, time_);
        e.code = static_cast<uint8_t>(code & 0xFF);
        events_.push_back(e);
        return true;
    }

    bool key(bool press, bool release) {
        const char* usage = press && release ? "TIME key VK"
                            : press          ? "TIME keydown VK"
                                             : "TIME keyup VK";
        if (!arg_count(1, usage)) return false;
        int64_t vk = 0;
        if (!parse_number(args_[0], true, 1, 255, vk)) {
            return fail("bad virtual key \"" + std::string(args_[0]) + "\" (1 to 255)");
        }
        if (press) {
            ScriptEvent e = event(ScriptEventKind::KeyDown, time_);
            e.code = static_cast<uint8_t>(vk);
            events_.push_back(e);
        }
        if (release) {
            ScriptEvent e = event(ScriptEventKind::KeyUp, press ? time_ + 50u : time_);
            e.code = static_cast<uint8_t>(vk);
            events_.push_back(e);
        }
        return true;
    }

    bool focus() {
        if (!arg_count(1, "TIME focus lost|gained")) return false;
        if (args_[0] == "lost") {
            events_.push_back(event(ScriptEventKind::FocusLost, time_));
        } else if (args_[0] == "gained") {
            events_.push_back(event(ScriptEventKind::FocusGained, time_));
        } else {
            return fail("unknown focus change \"" + std::string(args_[0]) + "\" (lost, gained)");
        }
        return true;
    }

    bool plain(ScriptEventKind kind, const char* name) {
        if (!args_.empty()) return fail(std::string("\"") + name + "\" takes no arguments");
        events_.push_back(event(kind, time_));
        return true;
    }

    uint32_t line_;
    std::vector<ScriptEvent>& events_;
    ScriptError& error_;
    uint32_t time_ = 0;
    Tokens args_;
};

}  // namespace

bool input_script_parse(std::string_view text, std::vector<ScriptEvent>& events,
                        ScriptError& error) {
    events.clear();
    uint32_t line_no = 0;
    Tokens tokens;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++line_no;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const size_t hash = line.find('#');
        if (hash != std::string_view::npos) line = line.substr(0, hash);
        if (line.find('\0') != std::string_view::npos) {
            error.line = line_no;
            error.reason = "NUL byte in the line";
            return false;
        }
        split(line, tokens);
        if (tokens.empty()) continue;
        LineParser parser(line_no, events, error);
        if (!parser.parse(tokens)) return false;
    }
    return true;
}

}  // namespace qln
