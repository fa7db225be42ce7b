#pragma once
// The headless backend: no window and no audio. Requests are answered from
// the run's options and logged as one UTF-8 line each; scripted input is
// delivered as the window procedure would deliver the same messages.
//
// Clock. The virtual clock (the default) starts at clock_start and moves only
// when the engine sleeps (by the time slept, at once) or makes an idle pass
// of a waiting loop (1 ms), so a run is the same every time. Scripted events
// are delivered by whichever thread moves the clock, in time order, at the
// moment the counter reaches their time and before the clock call returns;
// the scenario thread moves it, except while it is held minimised, when the
// main thread moves it to the next event itself. The real clock counts host
// milliseconds from clock_start and the main thread delivers the events.
//
// Times count forward from clock_start: an event (or time limit) whose tick
// value is below clock_start happens after the counter wraps past 2^32.

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/rect.h"
#include "platform/headless/input_script.h"
#include "platform/threaded_platform.h"

namespace qln {

struct HeadlessOptions {
    bool virtual_clock = true;
    uint32_t clock_start = 0;
    std::vector<ScriptEvent> events;  // in line order; delivered in time order
    bool stop_on_error = true;        // the error dialog's answer
    bool answer_yes = false;          // the yes/no question's answer
    // False: the host "cannot show" a dialog (each is still logged), so the
    // engine draws it in the window and scripted input answers it.
    bool host_dialogs = true;
    // The open-file dialog's answer: a host path, or none for Cancel.
    std::optional<std::string> file_dialog_path;
    std::optional<uint32_t> max_ms;  // end when the counter passes it
    int display_width = 1920, display_height = 1080, display_bpp = 24;
    std::optional<LocalTime> local_time;  // fixed date and time, else the host's
    // Receives each log line (UTF-8, no line end); stderr when empty.
    std::function<void(const std::string&)> log;
};

class HeadlessPlatform : public ThreadedPlatform {
  public:
    explicit HeadlessPlatform(HeadlessOptions options);
    ~HeadlessPlatform() override = default;

    // The shared record whose input the script drives (also set when the
    // window is made). Events due at the clock start are delivered when the
    // scenario thread is about to start.
    void attach(ThreadShared& shared) { shared_ = &shared; }

    uint32_t ticks() override;
    void sleep_ms(uint32_t ms) override;
    void idle_pass() override;
    void display_query(int& width, int& height, int& bpp) override;
    LocalTime local_time() override;

    // Records the bitmap as the clipboard's content (a test hook).
    void clipboard_set_dib(const uint8_t* dib, size_t size) override;
    std::vector<uint8_t> clipboard_dib();

    // The pointer is the scripted one: the live input position, which a warp
    // moves as a mouse move would. The client area lies at the desktop's
    // origin, so desktop and client coordinates are the same.
    bool pointer_position(int32_t& x, int32_t& y) override;
    bool pointer_warp(int32_t x, int32_t y) override;
    // Cursors and confinement are recorded (test hooks), not shown.
    void cursor_show(const CursorImage* image) override;
    void cursor_confine(const Rect* rect) override;
    // How many cursor images were shown, and the last one (none for the arrow).
    uint32_t cursor_show_count();
    std::optional<CursorImage> cursor_last();
    // The rectangle the pointer is confined to, or none.
    std::optional<Rect> cursor_confined();

    bool focused();
    // Delivers the events due at the current tick (also what loop_begin does).
    void deliver_due();
    void log_line(const std::string& line);

  protected:
    DialogAnswer serve_error_dialog(const ScenarioErrorRecord& record) override;
    DialogAnswer serve_message_box(const char* text, const char* caption) override;
    DialogAnswer serve_question(const char* text, const char* caption) override;
    bool serve_open_file_dialog(const char* filter, char* path, int path_size) override;
    bool serve_display_mode_change(bool full_screen, int width, int height, int bpp) override;
    void loop_begin() override { deliver_due(); }
    uint32_t main_pass(bool scenario_held) override;

  private:
    struct Timed {
        uint64_t offset;  // ms after the clock start
        ScriptEvent event;
    };

    uint64_t now_offset();
    // Virtual clock: moves to target, delivering every event on the way.
    void advance_to(uint64_t target);
    void deliver_until(uint64_t offset);
    void apply(const ScriptEvent& event);
    void check_time_limit(uint64_t offset);

    HeadlessOptions options_;
    std::mutex clock_mutex_;  // the clock, the event cursor and the host key table
    std::mutex clipboard_mutex_;
    std::mutex cursor_mutex_;  // the cursor records
    uint32_t cursor_shows_ = 0;
    std::optional<CursorImage> cursor_last_;
    std::optional<Rect> cursor_confined_;
    std::vector<uint8_t> clipboard_;
    std::atomic<uint64_t> offset_{0};
    uint64_t real_start_ms_ = 0;
    std::vector<Timed> timed_;
    size_t next_ = 0;
    uint8_t host_keys_[256] = {};
    bool focused_ = true;
    int display_width_, display_height_, display_bpp_;
};

}  // namespace qln
