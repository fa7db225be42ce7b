#include "platform/headless/headless_platform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "base/error_record.h"
#include "platform/headless/console_text.h"
#include "platform/host_files.h"
#include "platform/host_input.h"

namespace qln {
namespace {

constexpr uint32_t kLoopWaitMaxMs = 20;
constexpr uint8_t kVkAlt = 0x12, kVkF4 = 0x73, kVkPrintScreen = 0x2C;

uint64_t steady_ms() {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

uint8_t button_key(MouseButton button) {
    switch (button) {
        case MouseButton::Left:
            return 0x01;
        case MouseButton::Right:
            return 0x02;
        case MouseButton::Middle:
            return 0x04;
    }
    return 0;
}

}  // namespace

HeadlessPlatform::HeadlessPlatform(HeadlessOptions options)
    : options_(std::move(options)),
      display_width_(options_.display_width),
      display_height_(options_.display_height),
      display_bpp_(options_.display_bpp) {
    timed_.reserve(options_.events.size());
    for (const ScriptEvent& e : options_.events) {
        timed_.push_back(Timed{static_cast<uint32_t>(e.time - options_.clock_start), e});
    }
    // Equal times keep their line order (a click's release counts at its own time).
    std::stable_sort(timed_.begin(), timed_.end(),
                     [](const Timed& a, const Timed& b) { return a.offset < b.offset; });
    real_start_ms_ = steady_ms();
}

void HeadlessPlatform::clipboard_set_dib(const uint8_t* dib, size_t size) {
    std::lock_guard<std::mutex> lock(clipboard_mutex_);
    clipboard_.assign(dib, dib + size);
}

std::vector<uint8_t> HeadlessPlatform::clipboard_dib() {
    std::lock_guard<std::mutex> lock(clipboard_mutex_);
    return clipboard_;
}

void HeadlessPlatform::log_line(const std::string& line) {
    if (options_.log) {
        options_.log(line);
    } else {
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
    }
}

uint64_t HeadlessPlatform::now_offset() {
    if (options_.virtual_clock) return offset_.load(std::memory_order_acquire);
    return steady_ms() - real_start_ms_;
}

uint32_t HeadlessPlatform::ticks() {
    return static_cast<uint32_t>(options_.clock_start + now_offset());
}

void HeadlessPlatform::check_time_limit(uint64_t offset) {
    if (!options_.max_ms) return;
    const uint64_t limit = static_cast<uint32_t>(*options_.max_ms - options_.clock_start);
    if (offset > limit) request_quit(QuitReason::TimeLimit);
}

void HeadlessPlatform::deliver_until(uint64_t offset) {
    // The caller holds clock_mutex_.
    while (next_ < timed_.size() && timed_[next_].offset <= offset) {
        const Timed& t = timed_[next_++];
        if (options_.virtual_clock) offset_.store(t.offset, std::memory_order_release);
        apply(t.event);
    }
}

void HeadlessPlatform::advance_to(uint64_t target) {
    std::lock_guard<std::mutex> lock(clock_mutex_);
    if (target < offset_.load()) target = offset_.load();
    deliver_until(target);
    offset_.store(target, std::memory_order_release);
    check_time_limit(target);
}

void HeadlessPlatform::deliver_due() {
    const uint64_t now = now_offset();
    {
        std::lock_guard<std::mutex> lock(clock_mutex_);
        deliver_until(now);
    }
    check_time_limit(now);
}

void HeadlessPlatform::sleep_ms(uint32_t ms) {
    if (quit_requested()) return;
    if (options_.virtual_clock) {
        advance_to(offset_.load() + ms);
    } else {
        wait_real_ms(ms);
    }
}

void HeadlessPlatform::idle_pass() {
    if (options_.virtual_clock) {
        if (!quit_requested()) advance_to(offset_.load() + 1);
    } else {
        // Scripted events arrive with the main thread's passes; a millisecond
        // keeps a waiting loop from burning a processor in between.
        wait_real_ms(1);
    }
}

void HeadlessPlatform::apply(const ScriptEvent& e) {
    // As the window procedure: every keyboard change refreshes the key-state
    // table (queueing the keys that went down) before the message itself.
    switch (e.kind) {
        case ScriptEventKind::Minimize:
        case ScriptEventKind::Restore: {
            if (shared_) {
                LockHold screen(shared_->screen_lock);
                LockHold input(shared_->input.lock);
                set_minimised(e.kind == ScriptEventKind::Minimize);
            } else {
                set_minimised(e.kind == ScriptEventKind::Minimize);
            }
            return;
        }
        case ScriptEventKind::Close:
            request_quit(QuitReason::WindowClosed);
            return;
        case ScriptEventKind::FocusLost:
            focused_ = false;
            app_activate(false);  // the pause display, as a window shows it
            return;
        case ScriptEventKind::FocusGained:
            focused_ = true;
            app_activate(true);
            return;
        default:
            break;
    }
    if (!shared_) return;
    InputShared& input = shared_->input;
    bool alt_f4 = false, alt_print_screen = false;
    {
        LockHold lock(input.lock);
        switch (e.kind) {
            case ScriptEventKind::Move:
                input.state.x = e.x;
                input.state.y = e.y;
                break;
            case ScriptEventKind::ButtonDown:
            case ScriptEventKind::ButtonUp: {
                const bool down = e.kind == ScriptEventKind::ButtonDown;
                host_keys_[button_key(e.button)] = down ? 0x80 : 0x00;
                input_keyboard_refresh(input, host_keys_);
                const uint8_t flag = down ? 1 : 0;
                if (e.button == MouseButton::Left) input.state.left = flag;
                if (e.button == MouseButton::Right) input.state.right = flag;
                if (e.button == MouseButton::Middle) input.state.middle = flag;
                break;
            }
            case ScriptEventKind::Char:
                input_char_push(input, e.code);
                break;
            case ScriptEventKind::KeyDown:
                host_keys_[e.code] = 0x80;
                input_keyboard_refresh(input, host_keys_);
                // With Alt held the key is a system key: F4 closes the window,
                // the others do nothing (no navigation codes).
                if (host_keys_[kVkAlt] & 0x80) {
                    alt_f4 = e.code == kVkF4;
                } else {
                    input_key_down(input, e.code);
                }
                break;
            case ScriptEventKind::KeyUp:
                // Print Screen released with Alt held is a system key-up.
                alt_print_screen = e.code == kVkPrintScreen && (host_keys_[kVkAlt] & 0x80);
                host_keys_[e.code] = 0x00;
                input_keyboard_refresh(input, host_keys_);
                break;
            default:
                break;
        }
    }
    if (alt_f4) request_quit(QuitReason::WindowClosed);
    if (alt_print_screen && shared_->hooks) shared_->hooks->picture_to_clipboard();
}

bool HeadlessPlatform::focused() {
    std::lock_guard<std::mutex> lock(clock_mutex_);
    return focused_;
}

void HeadlessPlatform::display_query(int& width, int& height, int& bpp) {
    std::lock_guard<std::mutex> lock(clock_mutex_);
    width = display_width_;
    height = display_height_;
    bpp = display_bpp_;
}

LocalTime HeadlessPlatform::local_time() {
    if (options_.local_time) return *options_.local_time;
    return ClockService::local_time();
}

uint32_t HeadlessPlatform::main_pass(bool scenario_held) {
    if (!options_.virtual_clock) {
        deliver_due();
        std::lock_guard<std::mutex> lock(clock_mutex_);
        if (next_ >= timed_.size()) return kLoopWaitMaxMs;
        const uint64_t now = now_offset();
        const uint64_t due = timed_[next_].offset;
        return due <= now ? 0
                          : static_cast<uint32_t>(std::min<uint64_t>(due - now, kLoopWaitMaxMs));
    }
    if (!scenario_held || quit_requested()) return kLoopWaitMaxMs;
    // Held minimised on a virtual clock: only the script can restore the
    // program, so time moves on to its next event (or to the time limit).
    uint64_t target = 0;
    {
        std::lock_guard<std::mutex> lock(clock_mutex_);
        if (next_ < timed_.size()) {
            target = timed_[next_].offset;
        } else if (options_.max_ms) {
            target = uint64_t(static_cast<uint32_t>(*options_.max_ms - options_.clock_start)) + 1;
        } else {
            target = UINT64_MAX;
        }
    }
    if (target == UINT64_MAX) {
        log_line("quillon: minimised with no scripted input left to restore it; ending the run");
        request_quit(QuitReason::InputEnded);
        return kLoopWaitMaxMs;
    }
    advance_to(target);
    return 0;
}

DialogAnswer HeadlessPlatform::serve_error_dialog(const ScenarioErrorRecord& record) {
    char head[64];
    std::snprintf(head, sizeof head, "scenario error: command=0x%02x error=%u name=\"",
                  static_cast<unsigned>(record.command & 0xFF), record.error_number);
    std::string line = head;
    line += console_text(record.command_name, true);
    line += "\" text=\"";
    line += console_text(record.error_text, true);
    line += "\" detail=\"";
    line += console_text(record.detail, true);
    line += !options_.host_dialogs   ? "\" answer=in-window"
            : options_.stop_on_error ? "\" answer=stop"
                                     : "\" answer=continue";
    if (record.hint[0]) line += " hint=\"" + console_text(record.hint, true) + "\"";
    log_line(line);
    if (!options_.host_dialogs) return DialogAnswer::NotShown;
    return options_.stop_on_error ? DialogAnswer::Stop : DialogAnswer::Continue;
}

DialogAnswer HeadlessPlatform::serve_message_box(const char* text, const char*) {
    log_line("message box: " + console_text(text, false));
    return options_.host_dialogs ? DialogAnswer::Ok : DialogAnswer::NotShown;
}

DialogAnswer HeadlessPlatform::serve_question(const char* text, const char*) {
    log_line("question: " + console_text(text, false) +
             (!options_.host_dialogs ? " answer=in-window"
              : options_.answer_yes  ? " answer=yes"
                                     : " answer=no"));
    if (!options_.host_dialogs) return DialogAnswer::NotShown;
    return options_.answer_yes ? DialogAnswer::Yes : DialogAnswer::No;
}

bool HeadlessPlatform::serve_open_file_dialog(const char* filter, char* path, int path_size) {
    std::string line = "file dialog: filter=\"" + console_text(filter, true) + "\" answer=";
    std::string chosen;
    bool ok = options_.file_dialog_path.has_value() &&
              host_path_to_scenario(*options_.file_dialog_path, chosen) && path_size > 0 &&
              chosen.size() < static_cast<size_t>(path_size);
    if (ok) {
        std::memcpy(path, chosen.c_str(), chosen.size() + 1);
        line += "\"" + console_text(chosen.c_str(), true) + "\"";
    } else {
        line += "cancel";
    }
    log_line(line);
    return ok;
}

bool HeadlessPlatform::serve_display_mode_change(bool full_screen, int width, int height, int bpp) {
    {
        std::lock_guard<std::mutex> lock(clock_mutex_);
        if (width > 0) display_width_ = width;
        if (height > 0) display_height_ = height;
        if (bpp > 0) display_bpp_ = bpp <= 8 ? 8 : 24;
    }
    log_line("display mode: full_screen=" + std::to_string(full_screen ? 1 : 0) +
             " size=" + std::to_string(width) + "x" + std::to_string(height) + " answer=ok");
    return true;
}

bool HeadlessPlatform::pointer_position(int32_t& x, int32_t& y) {
    if (!shared_) return false;
    LockHold lock(shared_->input.lock);
    x = shared_->input.state.x;
    y = shared_->input.state.y;
    return true;
}

bool HeadlessPlatform::pointer_warp(int32_t x, int32_t y) {
    if (!shared_) return false;
    // As a mouse move, whose message carries signed 16-bit client coordinates.
    const auto coordinate = [](int32_t v) { return std::clamp<int32_t>(v, INT16_MIN, INT16_MAX); };
    LockHold lock(shared_->input.lock);
    shared_->input.state.x = coordinate(x);
    shared_->input.state.y = coordinate(y);
    return true;
}

void HeadlessPlatform::cursor_show(const CursorImage* image) {
    std::lock_guard<std::mutex> lock(cursor_mutex_);
    if (image) {
        ++cursor_shows_;
        cursor_last_ = *image;
    } else {
        cursor_last_.reset();
    }
}

void HeadlessPlatform::cursor_confine(const Rect* rect) {
    std::lock_guard<std::mutex> lock(cursor_mutex_);
    if (rect) {
        cursor_confined_ = *rect;
    } else {
        cursor_confined_.reset();
    }
}

uint32_t HeadlessPlatform::cursor_show_count() {
    std::lock_guard<std::mutex> lock(cursor_mutex_);
    return cursor_shows_;
}

std::optional<CursorImage> HeadlessPlatform::cursor_last() {
    std::lock_guard<std::mutex> lock(cursor_mutex_);
    return cursor_last_;
}

std::optional<Rect> HeadlessPlatform::cursor_confined() {
    std::lock_guard<std::mutex> lock(cursor_mutex_);
    return cursor_confined_;
}

}  // namespace qln
