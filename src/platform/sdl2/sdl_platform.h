#pragma once
// The window backend: one SDL2 window on the main thread, the real clock.
//
// The main thread pumps SDL's events at least every 20 ms (main_pass) and
// turns them into the shared input state under the input lock as the
// original window procedure did: every key or button change refreshes the
// key-state table with the original platform's virtual-key codes, navigation
// keys push their control codes, typed text arrives as code page 932 bytes,
// and the mouse position is mapped back to screen-picture pixels through the
// letterbox. It paints the display bitmap into a texture (the part the screen
// update reported), scaled in proportion into the window, and serves the
// scenario thread's requests with message boxes and a file chooser.
//
// SDL is called on the main thread only: the cursor, pointer warps and
// confinement asked for on the scenario thread wait in a mailbox for the next
// pass.
//
// Keys of the window itself: Alt+Enter switches between the window and full
// screen (the desktop's resolution, letterboxed), Alt+F4 and the close button
// end the program, Alt+Print Screen puts the program's picture on the
// clipboard where xclip is installed.

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "base/rect.h"
#include "platform/sdl2/host_text.h"
#include "platform/sdl2/instance_raise.h"
#include "platform/sdl2/letterbox.h"
#include "platform/sdl2/sdl_audio.h"
#include "platform/threaded_platform.h"

namespace qln {

struct SdlOptions {
    int scale = 0;        // whole window scale; 0: the largest that fits the desktop
    bool smooth = false;  // linear filtering instead of nearest neighbour
    uint32_t clock_start = 0;
    std::optional<uint32_t> max_ms;  // end when the tick counter passes it
    // Where a second copy of the game knocks; empty: nobody is listened for.
    std::string raise_path;
    // When set, the time from this moment to the first presented frame is
    // written to standard error (start-up measurements).
    std::optional<std::chrono::steady_clock::time_point> report_first_frame_since;
};

class SdlPlatform : public ThreadedPlatform {
  public:
    // The caller has initialised SDL's video subsystem on this thread.
    explicit SdlPlatform(SdlOptions options);
    ~SdlPlatform() override;

    // The base's services with the SDL2 audio device.
    Platform services() override {
        Platform p = ThreadedPlatform::services();
        p.audio = &audio_device_;
        return p;
    }

    uint32_t ticks() override;
    void sleep_ms(uint32_t ms) override;
    void idle_pass() override;
    void idle_wait(uint32_t max_ms) override;
    // The desktop's size while windowed, the screen's size in full screen,
    // so display-mode requests keep their answers without a mode change.
    void display_query(int& width, int& height, int& bpp) override;
    void clipboard_set_dib(const uint8_t* dib, size_t size) override;
    void display_invalidate(const Rect& changed) override;
    void cursor_show(const CursorImage* image) override;
    void client_origin(int32_t& x, int32_t& y) override;
    bool pointer_position(int32_t& x, int32_t& y) override;
    bool pointer_warp(int32_t x, int32_t y) override;
    void cursor_confine(const Rect* rect) override;

    bool window_create(ThreadShared& shared) override;
    void window_show() override;
    void window_destroy() override;

  protected:
    DialogAnswer serve_error_dialog(const ScenarioErrorRecord& record) override;
    DialogAnswer serve_message_box(const char* text, const char* caption) override;
    DialogAnswer serve_question(const char* text, const char* caption) override;
    bool serve_open_file_dialog(const char* filter, char* path, int path_size) override;
    bool serve_display_mode_change(bool full_screen, int width, int height, int bpp) override;
    uint32_t main_pass(bool scenario_held) override;

  private:
    SdlAudioDevice audio_device_;
    void handle_event(const SDL_Event& event);
    void handle_window_event(const SDL_WindowEvent& event);
    void handle_key(const SDL_KeyboardEvent& event, bool down);
    void handle_text(const char* utf8);
    void handle_motion(int32_t wx, int32_t wy);
    void handle_button(uint8_t button, bool down);
    void minimised_change(bool minimised);
    void keys_release_all();
    bool full_screen_set(bool full_screen);
    void layout_update();
    void mailbox_serve();
    void cursor_apply(const CursorImage* image);
    void confine_apply();
    void upload(const Rect& area);
    void present();
    // Runs a modal message box (focus changes meanwhile are the box's own)
    // after writing its caption and text to standard error: the button id,
    // -1 when the box was closed without one, kBoxNotShown when the host
    // cannot show boxes.
    static constexpr int kBoxNotShown = -2;
    int message_box_run(const SDL_MessageBoxData& data);
    // A box whose text and caption come in the engine's code page.
    int engine_box_run(uint32_t kind, const char* text, const char* caption,
                       const SDL_MessageBoxButtonData* buttons, int count);
    SDL_Window* dialog_parent() const { return window_; }

    SdlOptions options_;
    uint64_t start_ms_ = 0;
    HostText text_;
    RaiseListener raise_;

    // Main thread.
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Cursor* cursor_ = nullptr;
    Letterbox window_box_;  // in window coordinates (mouse)
    Letterbox output_box_;  // in output pixels (drawing)
    uint8_t host_keys_[256] = {};
    bool modal_ = false;
    bool repaint_ = true;
    std::string typed_;

    // Set on the main thread, read on either.
    std::atomic<int32_t> screen_width_{0}, screen_height_{0};
    std::atomic<int32_t> desktop_width_{0}, desktop_height_{0};
    std::atomic<bool> full_screen_{false};
    std::atomic<int32_t> pointer_x_{0}, pointer_y_{0};
    std::atomic<bool> pointer_inside_{false};
    std::atomic<int32_t> origin_x_{0}, origin_y_{0};

    // The mailbox from the scenario thread.
    std::mutex mailbox_mutex_;
    Rect dirty_;
    bool cursor_pending_ = false;
    bool cursor_arrow_ = true;
    CursorImage cursor_image_;
    bool warp_pending_ = false;
    int32_t warp_x_ = 0, warp_y_ = 0;
    bool confine_pending_ = false;
    std::optional<Rect> confine_;  // client coordinates
};

}  // namespace qln
