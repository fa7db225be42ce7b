#pragma once
// The engine's only door to the host: five services, each an interface a
// backend implements (headless, the SDL2 window, or the null backend of
// platform/null). The engine never calls host clocks, windows, devices or
// libraries directly. Host file access is host_files.h.
//
// Threads: the main thread runs the backend's loop (serving requests and
// delivering input); the scenario thread runs the interpreter. The request
// functions below are called on the scenario thread and block until the main
// thread has answered.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

namespace qln {

struct ScenarioErrorRecord;
struct Rect;

// A 32 x 32 colour cursor: pixels row by row from the top, blue, green, red,
// alpha (0 transparent, 255 opaque), and the hot spot.
struct CursorImage {
    uint8_t bgra[32 * 32 * 4] = {};
    int32_t hot_x = 0, hot_y = 0;
};

// A local date and time as the host's calendar gives it.
struct LocalTime {
    int year = 0;
    int month = 0;        // 1 to 12
    int day = 0;          // 1 to 31
    int day_of_week = 0;  // 0 = Sunday
    int hour = 0, minute = 0, second = 0;
};

// Clock and waiting.
class ClockService {
  public:
    virtual ~ClockService() = default;

    // The millisecond tick counter; differences are taken modulo 2^32.
    virtual uint32_t ticks() = 0;
    virtual void sleep_ms(uint32_t ms) = 0;
    // A pass of a waiting loop that did not sleep: a real clock waits until
    // the next input event or 1 ms, a virtual clock counts 1 ms.
    virtual void idle_pass() = 0;
    // A pass of a waiting loop whose engine has nothing due for max_ms and
    // runs no scenario code between passes: a real clock may wait until the
    // next input event, a change of the program's focus or max_ms; a virtual
    // clock counts 1 ms, exactly as idle_pass. Anything that can end such a
    // wait other than input (sound notifications, ...) must wake it too.
    virtual void idle_wait(uint32_t max_ms) {
        (void)max_ms;
        idle_pass();
    }

    // True once the program must end (window closed, time limit reached); the
    // poll step then fails so the scenario thread ends.
    virtual bool quit_requested() = 0;

    // Called by the poll step outside every lock: holds the scenario thread
    // while the program is minimised. False once the program must end.
    virtual bool hold_while_minimised() { return !quit_requested(); }

    // The local date and time (a backend may fix it for deterministic runs).
    virtual LocalTime local_time() {
        const std::time_t now = std::time(nullptr);
        std::tm tm{};
        localtime_r(&now, &tm);
        return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_wday,
                         tm.tm_hour,        tm.tm_min,     tm.tm_sec};
    }
};

// What the player answered in a dialog of the host. NotShown: the host could
// not show it (no dialog service, no fonts for its boxes); the engine then
// draws the dialog in the game window itself.
enum class DialogAnswer : uint8_t { Ok, Yes, No, Stop, Continue, NotShown };

// Display and dialogs.
class DisplayService {
  public:
    virtual ~DisplayService() = default;

    // Scenario error dialog: Stop or Continue.
    virtual DialogAnswer error_dialog(const ScenarioErrorRecord& record) = 0;
    // Message box with an OK button (Ok); texts are Shift-JIS.
    virtual DialogAnswer message_box(const char* text, const char* caption) = 0;
    // Yes/No question (exclamation icon, No the default): Yes or No.
    virtual DialogAnswer question_yes_no(const char* text, const char* caption) = 0;
    // Open-file dialog: fills path (Shift-JIS, path_size bytes) and returns true
    // when a file was chosen. filter holds pairs of a description and its
    // patterns, each part ended by "|" ("Saves|*.sav|All|*.*|"); path holds
    // the file to start with.
    virtual bool open_file_dialog(const char* filter, char* path, int path_size) = 0;
    // Display-mode change between window and full screen: true if it succeeded.
    virtual bool display_mode_change(bool full_screen, int width, int height, int bpp) = 0;
    // Ask the host for the display's current size and depth.
    virtual void display_query(int& width, int& height, int& bpp) = 0;
    // Empties the clipboard and puts a packed device-independent bitmap on it
    // (Alt+Print Screen). Called on the main thread; hosts without a
    // clipboard ignore it.
    virtual void clipboard_set_dib(const uint8_t* dib, size_t size) {
        (void)dib;
        (void)size;
    }
    // The screen update changed this rectangle of the display bitmap (screen
    // coordinates): repaint it without erasing.
    virtual void display_invalidate(const Rect& changed) { (void)changed; }
};

// The pointer and the cursor.
class InputService {
  public:
    virtual ~InputService() = default;

    // The mouse cursor over the window: image, or the host's arrow for
    // nullptr. The image is copied before the call returns.
    virtual void cursor_show(const CursorImage* image) { (void)image; }
    // Where the window's client area lies on the desktop, in screen-picture
    // pixels: desktop coordinates of scenarios are client coordinates plus
    // this origin.
    virtual void client_origin(int32_t& x, int32_t& y) {
        x = 0;
        y = 0;
    }
    // The pointer's current position in client coordinates (screen-picture
    // pixels); false when the host cannot tell.
    virtual bool pointer_position(int32_t& x, int32_t& y) {
        (void)x;
        (void)y;
        return false;
    }
    // Moves the pointer to desktop position (x, y); false when the host refuses.
    virtual bool pointer_warp(int32_t x, int32_t y) {
        (void)x;
        (void)y;
        return false;
    }
    // Confines the pointer to rect (client coordinates), or releases it for
    // nullptr.
    virtual void cursor_confine(const Rect* rect) { (void)rect; }
};

// What an audio device plays: interleaved signed 16-bit samples.
struct AudioFormat {
    int32_t rate = 44100;
    int32_t channels = 2;
};

// Fills frames sample frames; runs on the device's thread and must neither
// block nor allocate.
using AudioRender = void (*)(void* context, int16_t* samples, uint32_t frames);

// Audio output: one stream the engine's mixer renders into.
class AudioService {
  public:
    virtual ~AudioService() = default;
    // Opens the device and starts calling render; false (and no calls) when
    // there is no device.
    virtual bool audio_open(const AudioFormat& format, AudioRender render, void* context) = 0;
    // Stops the calls; render is not called once this returns.
    virtual void audio_close() = 0;
    // Keeps render from running until audio_unlock, so the engine can change
    // what it renders; held only for a few assignments.
    virtual void audio_lock() {}
    virtual void audio_unlock() {}
};

// Host libraries, for plug-ins.
class LibraryService {
  public:
    virtual ~LibraryService() = default;
    // Loads the library at host_path: a handle, or nullptr with the reason in
    // error.
    virtual void* library_open(const char* host_path, std::string& error) = 0;
    // The address of an exported symbol, or nullptr.
    virtual void* library_symbol(void* library, const char* name) = 0;
    virtual void library_close(void* library) = 0;
};

// The services an engine runs on; none is ever null (an engine starts on its
// own null backend).
struct Platform {
    ClockService* clock = nullptr;
    DisplayService* display = nullptr;
    InputService* input = nullptr;
    AudioService* audio = nullptr;
    LibraryService* libraries = nullptr;
};

}  // namespace qln
