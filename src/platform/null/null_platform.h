#pragma once
// The null backend: no window, no devices, a virtual clock. Every engine
// starts on one (so no service is ever missing), and tests, benchmarks and
// fuzzers run on it. It answers as a player who never touches anything would
// (Stop, No, Cancel), and keeps a record of every request so tests can look.
// Single-threaded: requests are answered on the calling thread.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/error_record.h"
#include "base/rect.h"
#include "platform/platform.h"

namespace qln {

// Audio output without a device: nothing is ever played.
class NoAudioDevice final : public AudioService {
  public:
    bool audio_open(const AudioFormat& format, AudioRender render, void* context) override;
    void audio_close() override {}
};

// Library loading refused: a run that may not load host code.
class NoHostLibraries final : public LibraryService {
  public:
    void* library_open(const char* host_path, std::string& error) override;
    void* library_symbol(void* library, const char* name) override;
    void library_close(void* library) override {}
};

class NullPlatform : public ClockService, public DisplayService, public InputService {
  public:
    // The services, with this object's audio and libraries slots.
    Platform services();

    // Clock: moves only by sleeps (by the time slept) and idle passes (1 ms);
    // actions queued with at() run once it reaches their tick.
    uint32_t now = 0;
    std::vector<uint32_t> idle_waits;  // the budget of every idle wait
    void at(uint32_t tick, std::function<void()> action);
    // The program must end: at once, or after quit_after calls of
    // quit_requested when that is non-zero (a bound for fuzzed runs).
    bool quit = false;
    uint32_t quit_after = 0;

    uint32_t ticks() override { return now; }
    void sleep_ms(uint32_t ms) override;
    void idle_pass() override;
    void idle_wait(uint32_t max_ms) override;
    bool quit_requested() override;
    LocalTime local_time() override { return local; }
    LocalTime local{2000, 1, 1, 6, 0, 0, 0};

    // Dialogs: answered from these and recorded; with dialogs_shown false
    // the host "cannot show" them (NotShown), so the engine draws its own.
    bool stop_on_error = true;
    bool answer_yes = false;
    bool dialogs_shown = true;
    std::vector<ScenarioErrorRecord> errors;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<uint8_t> clipboard;  // the last bitmap put on the clipboard
    // Open-file dialogs: each request's filter and initial file; answered
    // with file_dialog_answer (Shift-JIS) when set, else Cancel.
    std::vector<std::pair<std::string, std::string>> file_dialogs;
    std::optional<std::string> file_dialog_answer;
    int display_width = 640, display_height = 480, display_bpp = 24;

    DialogAnswer error_dialog(const ScenarioErrorRecord& record) override;
    DialogAnswer message_box(const char* text, const char* caption) override;
    DialogAnswer question_yes_no(const char* text, const char* caption) override;
    bool open_file_dialog(const char* filter, char* path, int path_size) override;
    bool display_mode_change(bool full_screen, int width, int height, int bpp) override;
    void display_query(int& width, int& height, int& bpp) override;
    void clipboard_set_dib(const uint8_t* dib, size_t size) override;

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

    void cursor_show(const CursorImage* image) override;
    void client_origin(int32_t& x, int32_t& y) override;
    bool pointer_position(int32_t& x, int32_t& y) override;
    bool pointer_warp(int32_t x, int32_t y) override;
    void cursor_confine(const Rect* rect) override;

    NoAudioDevice audio;
    NoHostLibraries libraries;

  private:
    void deliver();
    std::vector<std::pair<uint32_t, std::function<void()>>> timed_;
    uint32_t quit_checks_ = 0;
};

}  // namespace qln
