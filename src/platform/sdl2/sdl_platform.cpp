#include "platform/sdl2/sdl_platform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "base/error_record.h"
#include "platform/host_files.h"
#include "platform/host_input.h"
#include "platform/sdl2/host_tools.h"
#include "platform/sdl2/key_map.h"
#include "platform/sdl2/render_choice.h"

namespace qln {
namespace {

constexpr uint32_t kPassMs = 4;  // input is read at least this often
// How long a press stays visible before the events behind it are read; a
// waiting loop wakes at the press and samples it well within this.
constexpr uint32_t kPressHoldMs = 10;
constexpr uint8_t kVkReturn = 0x0D, kVkF4 = 0x73, kVkPrintScreen = 0x2C, kVkControl = 0x11,
                  kVkMenu = 0x12, kVkLMenu = 0xA4;
// Room left on the desktop for the window's frame when choosing the scale.
constexpr int kFrameAllowance = 48;

uint64_t steady_ms() {
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int32_t clamp16(int32_t v) {
    return std::clamp<int32_t>(v, -32768, 32767);
}

}  // namespace

SdlPlatform::SdlPlatform(SdlOptions options) : options_(std::move(options)) {
    start_ms_ = steady_ms();
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        desktop_width_ = mode.w;
        desktop_height_ = mode.h;
    } else {
        desktop_width_ = 640;
        desktop_height_ = 480;
    }
}

SdlPlatform::~SdlPlatform() {
    window_destroy();
}

uint32_t SdlPlatform::ticks() {
    return static_cast<uint32_t>(options_.clock_start + (steady_ms() - start_ms_));
}

void SdlPlatform::sleep_ms(uint32_t ms) {
    if (!quit_requested()) wait_real_ms(ms);
}

void SdlPlatform::idle_pass() {
    // A waiting loop goes round again at the next input, or after 1 ms.
    if (!quit_requested()) wait_input_ms(1);
}

void SdlPlatform::idle_wait(uint32_t max_ms) {
    if (!quit_requested()) wait_input_ms(max_ms);
}

void SdlPlatform::display_query(int& width, int& height, int& bpp) {
    if (full_screen_.load()) {
        width = screen_width_.load();
        height = screen_height_.load();
    } else {
        width = desktop_width_.load();
        height = desktop_height_.load();
    }
    bpp = 24;
}

void SdlPlatform::clipboard_set_dib(const uint8_t* dib, size_t size) {
    // SDL's clipboard holds text only; without xclip nothing happens.
    (void)host_clipboard_bitmap(dib, size);
}

void SdlPlatform::display_invalidate(const Rect& changed) {
    {
        std::lock_guard<std::mutex> lock(mailbox_mutex_);
        dirty_ = dirty_.empty() ? changed : rect_union(dirty_, changed);
    }
    wake_main();
}

void SdlPlatform::cursor_show(const CursorImage* image) {
    {
        std::lock_guard<std::mutex> lock(mailbox_mutex_);
        cursor_pending_ = true;
        cursor_arrow_ = image == nullptr;
        if (image) cursor_image_ = *image;
    }
    wake_main();
}

void SdlPlatform::client_origin(int32_t& x, int32_t& y) {
    x = origin_x_.load();
    y = origin_y_.load();
}

bool SdlPlatform::pointer_position(int32_t& x, int32_t& y) {
    if (!pointer_inside_.load()) {
        x = -1;
        y = -1;
        return true;
    }
    x = pointer_x_.load();
    y = pointer_y_.load();
    return true;
}

bool SdlPlatform::pointer_warp(int32_t x, int32_t y) {
    {
        std::lock_guard<std::mutex> lock(mailbox_mutex_);
        warp_pending_ = true;
        warp_x_ = x - origin_x_.load();
        warp_y_ = y - origin_y_.load();
    }
    wake_main();
    return true;
}

void SdlPlatform::cursor_confine(const Rect* rect) {
    {
        std::lock_guard<std::mutex> lock(mailbox_mutex_);
        confine_pending_ = true;
        if (rect) {
            confine_ = *rect;
        } else {
            confine_.reset();
        }
    }
    wake_main();
}

bool SdlPlatform::window_create(ThreadShared& shared) {
    ThreadedPlatform::window_create(shared);
    if (shared.screen_width < 1 || shared.screen_height < 1) return false;
    screen_width_ = shared.screen_width;
    screen_height_ = shared.screen_height;

    int scale = options_.scale;
    if (scale <= 0) {
        SDL_Rect usable{0, 0, desktop_width_.load(), desktop_height_.load()};
        SDL_GetDisplayUsableBounds(0, &usable);
        scale =
            window_scale_fit(usable.w, usable.h - kFrameAllowance, screen_width_, screen_height_);
    }
    std::string title;
    text_.engine_to_utf8(shared.title.c_str(), title);
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    render_choice_apply();
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               screen_width_ * scale, screen_height_ * scale,
                               SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!window_) return false;
    SDL_SetWindowMinimumSize(window_, std::min<int>(screen_width_, 160),
                             std::min<int>(screen_height_, 120));
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_) {
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                     screen_width_, screen_height_);
    }
    if (!texture_) {
        window_destroy();
        return false;
    }
    SDL_SetTextureScaleMode(texture_, options_.smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    if (!options_.raise_path.empty()) (void)raise_.open(options_.raise_path);
    layout_update();
    return true;
}

void SdlPlatform::window_show() {
    if (!window_) return;
    // A display exactly of the screen's size gets a window without a frame.
    SDL_SetWindowBordered(window_,
                          shared_->window_style == WindowStyle::Popup ? SDL_FALSE : SDL_TRUE);
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    SDL_StartTextInput();
    {
        std::lock_guard<std::mutex> lock(mailbox_mutex_);
        dirty_ = Rect{0, 0, screen_width_.load(), screen_height_.load()};
    }
    layout_update();
    present();
}

void SdlPlatform::window_destroy() {
    raise_.close();
    if (cursor_) {
        SDL_SetCursor(SDL_GetDefaultCursor());
        SDL_FreeCursor(cursor_);
        cursor_ = nullptr;
    }
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
}

void SdlPlatform::layout_update() {
    if (!window_) return;
    int ww = 0, wh = 0, ow = 0, oh = 0;
    SDL_GetWindowSize(window_, &ww, &wh);
    if (renderer_ && SDL_GetRendererOutputSize(renderer_, &ow, &oh) != 0) ow = ww, oh = wh;
    const int32_t sw = screen_width_.load(), sh = screen_height_.load();
    window_box_ = letterbox_fit(ww, wh, sw, sh);
    output_box_ = letterbox_fit(ow, oh, sw, sh);
    int x = 0, y = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    // Desktop positions of scenarios count in screen-picture pixels.
    int32_t ox = 0, oy = 0;
    letterbox_to_picture(window_box_, -x, -y, ox, oy);
    origin_x_ = -ox;
    origin_y_ = -oy;
    repaint_ = true;
    confine_apply();
}

void SdlPlatform::minimised_change(bool minimised) {
    if (minimised == this->minimised()) return;
    // As the original's size message: the screen lock, then the input lock.
    LockHold screen(shared_->screen_lock);
    LockHold input(shared_->input.lock);
    set_minimised(minimised);
}

void SdlPlatform::keys_release_all() {
    // Keys released while another program had the keyboard are never seen.
    LockHold lock(shared_->input.lock);
    std::memset(host_keys_, 0, sizeof host_keys_);
    input_keyboard_refresh(shared_->input, host_keys_);
}

void SdlPlatform::handle_window_event(const SDL_WindowEvent& e) {
    switch (e.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_MOVED:
            layout_update();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            repaint_ = true;
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            minimised_change(true);
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            minimised_change(false);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // A message box of our own takes the focus without the program
            // going to the background.
            if (modal_) break;
            keys_release_all();
            app_activate(false);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (in_background()) app_activate(true);
            confine_apply();
            break;
        case SDL_WINDOWEVENT_ENTER:
            pointer_inside_ = true;
            break;
        case SDL_WINDOWEVENT_LEAVE:
            pointer_inside_ = false;
            break;
        case SDL_WINDOWEVENT_CLOSE:
            request_quit(QuitReason::WindowClosed);
            break;
        default:
            break;
    }
}

void SdlPlatform::handle_key(const SDL_KeyboardEvent& e, bool down) {
    const uint8_t vk = vk_from_scancode(e.keysym.scancode, (e.keysym.mod & KMOD_NUM) != 0);
    if (vk == 0) return;
    bool alt_f4 = false, alt_enter = false, alt_print_screen = false;
    {
        InputShared& input = shared_->input;
        LockHold lock(input.lock);
        // A held key repeats its key-down message but not its state change.
        if (!e.repeat) {
            key_table_set(host_keys_, vk, down);
            input_keyboard_refresh(input, host_keys_);
        }
        const bool alt = (host_keys_[kVkMenu] & 0x80) != 0;
        const bool ctrl = (host_keys_[kVkControl] & 0x80) != 0;
        if (down && alt) {
            // System keys: F4 closes, Enter switches the display; the others
            // push nothing.
            alt_f4 = vk == kVkF4;
            alt_enter = vk == kVkReturn && !e.repeat;
        } else if (down) {
            input_key_down(input, vk);
            if (const uint8_t c = control_char_for_key(vk, ctrl, alt)) input_char_push(input, c);
        } else {
            alt_print_screen = vk == kVkPrintScreen && alt;
        }
    }
    input_signal();
    if (alt_f4) request_quit(QuitReason::WindowClosed);
    if (alt_enter) full_screen_set(!full_screen_.load());
    if (alt_print_screen && shared_->hooks) shared_->hooks->picture_to_clipboard();
}

void SdlPlatform::handle_text(const char* utf8) {
    // Alt with a letter is a system key, not typing (AltGr, the right Alt,
    // types the characters of some layouts).
    if (host_keys_[kVkLMenu] & 0x80) return;
    text_.typed_to_cp932(utf8, typed_);
    if (typed_.empty()) return;
    {
        LockHold lock(shared_->input.lock);
        for (const char c : typed_) input_char_push(shared_->input, static_cast<uint8_t>(c));
    }
    input_signal();
}

void SdlPlatform::handle_motion(int32_t wx, int32_t wy) {
    int32_t x = 0, y = 0;
    letterbox_to_picture(window_box_, wx, wy, x, y);
    x = clamp16(x);
    y = clamp16(y);
    pointer_x_ = x;
    pointer_y_ = y;
    {
        LockHold lock(shared_->input.lock);
        shared_->input.state.x = x;
        shared_->input.state.y = y;
    }
    input_signal();
}

void SdlPlatform::handle_button(uint8_t button, bool down) {
    uint8_t key = 0;
    {
        InputShared& input = shared_->input;
        LockHold lock(input.lock);
        const uint8_t flag = down ? 1 : 0;
        switch (button) {
            case SDL_BUTTON_LEFT:
                key = 0x01;
                input.state.left = flag;
                break;
            case SDL_BUTTON_RIGHT:
                key = 0x02;
                input.state.right = flag;
                break;
            case SDL_BUTTON_MIDDLE:
                key = 0x04;
                input.state.middle = flag;
                break;
            default:
                return;
        }
        key_table_set(host_keys_, key, down);
        input_keyboard_refresh(input, host_keys_);
    }
    // The pointer stays with the window while a button is held.
    const bool any = (host_keys_[0x01] | host_keys_[0x02] | host_keys_[0x04]) & 0x80;
    SDL_CaptureMouse(any ? SDL_TRUE : SDL_FALSE);
    input_signal();
}

void SdlPlatform::handle_event(const SDL_Event& e) {
    // Before the window exists (start-up messages) only a quit counts.
    if (!shared_ && e.type != SDL_QUIT) return;
    switch (e.type) {
        case SDL_QUIT:
            request_quit(QuitReason::WindowClosed);
            break;
        case SDL_WINDOWEVENT:
            if (window_ && e.window.windowID == SDL_GetWindowID(window_))
                handle_window_event(e.window);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            handle_key(e.key, e.type == SDL_KEYDOWN);
            break;
        case SDL_TEXTINPUT:
            handle_text(e.text.text);
            break;
        case SDL_MOUSEMOTION:
            pointer_inside_ = true;
            handle_motion(e.motion.x, e.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            handle_button(e.button.button, e.type == SDL_MOUSEBUTTONDOWN);
            break;
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            repaint_ = true;
            {
                std::lock_guard<std::mutex> lock(mailbox_mutex_);
                dirty_ = Rect{0, 0, screen_width_.load(), screen_height_.load()};
            }
            break;
        default:
            break;
    }
}

bool SdlPlatform::full_screen_set(bool full_screen) {
    if (!window_) return false;
    if (SDL_SetWindowFullscreen(window_, full_screen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        return false;
    }
    full_screen_ = full_screen;
    layout_update();
    return true;
}

void SdlPlatform::cursor_apply(const CursorImage* image) {
    SDL_Cursor* made = nullptr;
    if (image) {
        // The cursor grows with the picture, by the window's whole scale.
        const int k = std::max(1, window_box_.width / std::max(1, window_box_.picture_width));
        SDL_Surface* surface =
            SDL_CreateRGBSurfaceWithFormat(0, 32 * k, 32 * k, 32, SDL_PIXELFORMAT_ARGB8888);
        if (surface) {
            SDL_LockSurface(surface);
            for (int y = 0; y < 32 * k; ++y) {
                auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) +
                                                        size_t(y) * surface->pitch);
                for (int x = 0; x < 32 * k; ++x) {
                    const uint8_t* p = image->bgra + (size_t(y / k) * 32 + size_t(x / k)) * 4;
                    row[x] =
                        uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
                }
            }
            SDL_UnlockSurface(surface);
            made = SDL_CreateColorCursor(surface, std::clamp(image->hot_x, 0, 31) * k,
                                         std::clamp(image->hot_y, 0, 31) * k);
            SDL_FreeSurface(surface);
        }
    }
    SDL_SetCursor(made ? made : SDL_GetDefaultCursor());
    if (cursor_) SDL_FreeCursor(cursor_);
    cursor_ = made;
}

void SdlPlatform::confine_apply() {
    if (!window_) return;
    std::optional<Rect> rect;
    {
        std::lock_guard<std::mutex> lock(mailbox_mutex_);
        rect = confine_;
    }
    if (!rect || rect->empty()) {
        SDL_SetWindowMouseRect(window_, nullptr);
        return;
    }
    // Edges map to edges: the rectangle covers every window pixel of the
    // picture pixels inside it.
    auto edge = [](int32_t p, int32_t origin, int32_t size, int32_t picture) {
        return int32_t(origin + int64_t(p) * size / picture);
    };
    const Letterbox& b = window_box_;
    const int32_t left = edge(rect->left, b.x, b.width, b.picture_width);
    const int32_t top = edge(rect->top, b.y, b.height, b.picture_height);
    const int32_t right = edge(rect->right, b.x, b.width, b.picture_width);
    const int32_t bottom = edge(rect->bottom, b.y, b.height, b.picture_height);
    const SDL_Rect area{left, top, std::max(right - left, 1), std::max(bottom - top, 1)};
    SDL_SetWindowMouseRect(window_, &area);
}

void SdlPlatform::mailbox_serve() {
    bool cursor = false, arrow = true, warp = false, confine = false;
    CursorImage image;
    int32_t wx = 0, wy = 0;
    {
        std::lock_guard<std::mutex> lock(mailbox_mutex_);
        if (cursor_pending_) {
            cursor = true;
            arrow = cursor_arrow_;
            if (!arrow) image = cursor_image_;
        }
        warp = warp_pending_;
        wx = warp_x_;
        wy = warp_y_;
        confine = confine_pending_;
        cursor_pending_ = warp_pending_ = confine_pending_ = false;
    }
    if (cursor) cursor_apply(arrow ? nullptr : &image);
    if (warp && window_) {
        int32_t x = 0, y = 0;
        letterbox_to_window(window_box_, wx, wy, x, y);
        SDL_WarpMouseInWindow(window_, x, y);
    }
    if (confine) confine_apply();
}

void SdlPlatform::upload(const Rect& area) {
    const DisplayBitmap& d = shared_->display;
    const Rect r = rect_intersect(area, Rect{0, 0, d.width, d.height});
    if (r.empty()) return;
    const SDL_Rect target{r.left, r.top, r.width(), r.height()};
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, &target, &pixels, &pitch) != 0) return;
    const bool eight_bit = d.bits_per_pixel == 8;
    const size_t row_bytes = size_t(d.width) * (eight_bit ? 1 : 3);
    if (d.stride >= row_bytes && d.pixels.size() >= size_t(d.stride) * size_t(d.height)) {
        for (int32_t y = r.top; y < r.bottom; ++y) {
            // The bitmap is bottom-up: screen row y is bitmap row height - 1 - y.
            const uint8_t* src = d.pixels.data() + size_t(d.height - 1 - y) * d.stride;
            auto* dst = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) +
                                                    size_t(y - r.top) * size_t(pitch));
            for (int32_t x = r.left; x < r.right; ++x) {
                const uint8_t* c = eight_bit ? d.colours[src[x]] : src + size_t(x) * 3;
                *dst++ = uint32_t(c[2]) << 16 | uint32_t(c[1]) << 8 | c[0];
            }
        }
    }
    SDL_UnlockTexture(texture_);
}

void SdlPlatform::present() {
    if (!renderer_ || !texture_) return;
    Rect area;
    {
        std::lock_guard<std::mutex> lock(mailbox_mutex_);
        area = dirty_;
        dirty_ = Rect{};
    }
    if (!area.empty()) {
        LockHold lock(shared_->screen_lock);
        upload(area);
    }
    if (area.empty() && !repaint_) return;
    repaint_ = false;
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    const SDL_Rect target{output_box_.x, output_box_.y, output_box_.width, output_box_.height};
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    SDL_RenderPresent(renderer_);
    if (options_.report_first_frame_since) {
        using namespace std::chrono;
        const auto elapsed = steady_clock::now() - *options_.report_first_frame_since;
        std::fprintf(stderr, "quillon: first frame presented %.1f ms after start\n",
                     double(duration_cast<microseconds>(elapsed).count()) / 1000.0);
        options_.report_first_frame_since.reset();
    }
}

uint32_t SdlPlatform::main_pass(bool) {
    SDL_Event event;
    bool pressed = false;
    while (!pressed && SDL_PollEvent(&event)) {
        handle_event(event);
        // The scenario samples the buttons: a release waiting behind a press
        // goes to the next pass, so a quick click is seen down first.
        pressed = event.type == SDL_MOUSEBUTTONDOWN;
    }
    mailbox_serve();
    if (raise_.asked() && window_) {
        if (minimised()) SDL_RestoreWindow(window_);
        SDL_RaiseWindow(window_);
    }
    if (options_.max_ms &&
        steady_ms() - start_ms_ > uint64_t(uint32_t(*options_.max_ms - options_.clock_start))) {
        request_quit(QuitReason::TimeLimit);
    }
    present();
    return pressed ? kPressHoldMs : kPassMs;
}

int SdlPlatform::message_box_run(const SDL_MessageBoxData& data) {
    // What a box says is on standard error too, shown or not.
    std::fprintf(stderr, "quillon: %s: %s\n", data.title, data.message);
    modal_ = true;
    int button = -1;
    if (SDL_ShowMessageBox(&data, &button) != 0) {
        std::fprintf(stderr, "quillon: no message box (%s); the game window shows it\n",
                     SDL_GetError());
        button = kBoxNotShown;
    }
    // The focus changes the box caused wait in the queue: take them while
    // they still count as the box's own.
    SDL_Event event;
    SDL_PumpEvents();
    while (SDL_PollEvent(&event)) handle_event(event);
    modal_ = false;
    return button;
}

DialogAnswer SdlPlatform::serve_error_dialog(const ScenarioErrorRecord& record) {
    const std::string body = text_.error_dialog_body(record);
    // Enter answers Stop (the default), Escape Continue; closing the box
    // some other way is Stop too.
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, kErrorDialogContinue},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, kErrorDialogStop},
    };
    const SDL_MessageBoxData data{SDL_MESSAGEBOX_ERROR,
                                  dialog_parent(),
                                  kErrorDialogTitle,
                                  body.c_str(),
                                  2,
                                  buttons,
                                  nullptr};
    switch (message_box_run(data)) {
        case kBoxNotShown:
            return DialogAnswer::NotShown;
        case 0:
            return DialogAnswer::Continue;
        default:
            return DialogAnswer::Stop;
    }
}

int SdlPlatform::engine_box_run(uint32_t kind, const char* text, const char* caption,
                                const SDL_MessageBoxButtonData* buttons, int count) {
    std::string body, title;
    text_.engine_to_utf8(text ? text : "", body);
    text_.engine_to_utf8(caption ? caption : "", title);
    const SDL_MessageBoxData data{kind,  dialog_parent(), title.c_str(), body.c_str(),
                                  count, buttons,         nullptr};
    return message_box_run(data);
}

DialogAnswer SdlPlatform::serve_message_box(const char* text, const char* caption) {
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0,
         "OK"},
    };
    return engine_box_run(SDL_MESSAGEBOX_INFORMATION, text, caption, buttons, 1) == kBoxNotShown
               ? DialogAnswer::NotShown
               : DialogAnswer::Ok;
}

DialogAnswer SdlPlatform::serve_question(const char* text, const char* caption) {
    // No is the default: Enter and Escape both answer it.
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0,
         "いいえ"},
        {0, 1, "はい"},
    };
    const int button = engine_box_run(SDL_MESSAGEBOX_WARNING, text, caption, buttons, 2);
    if (button == kBoxNotShown) return DialogAnswer::NotShown;
    return button == 1 ? DialogAnswer::Yes : DialogAnswer::No;
}

bool SdlPlatform::serve_open_file_dialog(const char*, char* path, int path_size) {
    modal_ = true;
    std::string chosen;
    const bool picked = host_file_chooser(chosen);
    SDL_Event event;
    SDL_PumpEvents();
    while (SDL_PollEvent(&event)) handle_event(event);
    modal_ = false;
    std::string scenario_path;
    if (!picked || !host_path_to_scenario(chosen, scenario_path) || path_size <= 0 ||
        scenario_path.size() >= size_t(path_size)) {
        return false;
    }
    std::memcpy(path, scenario_path.c_str(), scenario_path.size() + 1);
    return true;
}

bool SdlPlatform::serve_display_mode_change(bool full_screen, int, int, int) {
    return full_screen_set(full_screen);
}

}  // namespace qln
