#pragma once
// A platform for in-process tests: a virtual clock, scripted answers, and a
// record of every request the engine made. Single-threaded: requests are
// answered on the calling thread.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/rect.h"
#include "platform/platform.h"
#include "base/error_record.h"

namespace qln::test {

class FakePlatform : public Platform {
  public:
    uint32_t now = 0;
    bool stop_on_error = true;
    bool answer_yes = false;
    bool quit = false;
    std::vector<ScenarioErrorRecord> errors;
    std::vector<std::string> messages;
    std::vector<std::string> questions;

    uint32_t ticks() override { return now; }
    // Test input: actions run once the clock reaches their tick (the clock
    // moves only by sleeps and idle passes).
    std::vector<std::pair<uint32_t, std::function<void()>>> timed;
    void at(uint32_t tick, std::function<void()> action) {
        timed.emplace_back(tick, std::move(action));
    }
    void sleep_ms(uint32_t ms) override {
        now += ms;
        deliver();
    }
    void idle_pass() override {
        now += 1;
        deliver();
    }
    std::vector<uint32_t> idle_waits;  // the budget of every idle wait
    void idle_wait(uint32_t max_ms) override {
        idle_waits.push_back(max_ms);
        idle_pass();
    }
    void deliver() {
        for (size_t i = 0; i < timed.size(); ++i) {
            if (!timed[i].second || timed[i].first > now) continue;
            std::function<void()> action = std::move(timed[i].second);
            timed[i].second = nullptr;
            action();
        }
    }
    bool quit_requested() override { return quit; }
    bool error_dialog(const ScenarioErrorRecord& record) override {
        errors.push_back(record);
        return stop_on_error;
    }
    void message_box(const char* text, const char*) override { messages.emplace_back(text); }
    bool question_yes_no(const char* text, const char*) override {
        questions.emplace_back(text);
        return answer_yes;
    }
    bool open_file_dialog(const char*, char*, int) override { return false; }
    bool display_mode_change(bool, int, int, int) override { return false; }
    std::vector<uint8_t> clipboard;  // the last bitmap put on the clipboard
    void clipboard_set_dib(const uint8_t* dib, size_t size) override {
        clipboard.assign(dib, dib + size);
    }
    // The pointer and the cursor: warps move the pointer unless refused;
    // shown images, confinements and warps are recorded.
    bool pointer_known = true;
    int32_t pointer_x = 0, pointer_y = 0;
    int32_t origin_x = 0, origin_y = 0;
    bool warp_ok = true;
    std::vector<std::pair<int32_t, int32_t>> warps;
    uint32_t cursor_shows = 0;
    bool cursor_is_arrow = true;
    CursorImage cursor_last;
    std::vector<std::optional<Rect>> confines;
    bool pointer_position(int32_t& x, int32_t& y) override {
        if (!pointer_known) return false;
        x = pointer_x;
        y = pointer_y;
        return true;
    }
    bool pointer_warp(int32_t x, int32_t y) override {
        warps.emplace_back(x, y);
        if (!warp_ok) return false;
        pointer_x = x - origin_x;
        pointer_y = y - origin_y;
        return true;
    }
    void client_origin(int32_t& x, int32_t& y) override {
        x = origin_x;
        y = origin_y;
    }
    void cursor_show(const CursorImage* image) override {
        cursor_is_arrow = image == nullptr;
        if (!image) return;
        ++cursor_shows;
        cursor_last = *image;
    }
    void cursor_confine(const Rect* rect) override {
        confines.push_back(rect ? std::optional<Rect>(*rect) : std::nullopt);
    }
    void display_query(int& width, int& height, int& bpp) override {
        width = 640;
        height = 480;
        bpp = 24;
    }
};

}  // namespace qln::test
