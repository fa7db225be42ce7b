#include "platform/null/null_platform.h"

namespace qln {

bool NoAudioDevice::audio_open(const AudioFormat&, AudioRender, void*) {
    return false;
}

void* NoHostLibraries::library_open(const char*, std::string& error) {
    error = "this run loads no host libraries";
    return nullptr;
}

void* NoHostLibraries::library_symbol(void*, const char*) {
    return nullptr;
}

Platform NullPlatform::services() {
    return Platform{this, this, this, &audio, &libraries};
}

void NullPlatform::at(uint32_t tick, std::function<void()> action) {
    timed_.emplace_back(tick, std::move(action));
}

void NullPlatform::deliver() {
    // An action may queue another: index, do not iterate.
    for (size_t i = 0; i < timed_.size(); ++i) {
        if (!timed_[i].second || timed_[i].first > now) continue;
        std::function<void()> action = std::move(timed_[i].second);
        timed_[i].second = nullptr;
        action();
    }
}

void NullPlatform::sleep_ms(uint32_t ms) {
    now += ms;
    deliver();
}

void NullPlatform::idle_pass() {
    now += 1;
    deliver();
}

void NullPlatform::idle_wait(uint32_t max_ms) {
    idle_waits.push_back(max_ms);
    idle_pass();
}

bool NullPlatform::quit_requested() {
    if (quit) return true;
    if (quit_after != 0 && ++quit_checks_ > quit_after) quit = true;
    return quit;
}

DialogAnswer NullPlatform::error_dialog(const ScenarioErrorRecord& record) {
    errors.push_back(record);
    if (!dialogs_shown) return DialogAnswer::NotShown;
    return stop_on_error ? DialogAnswer::Stop : DialogAnswer::Continue;
}

DialogAnswer NullPlatform::message_box(const char* text, const char*) {
    messages.emplace_back(text);
    return dialogs_shown ? DialogAnswer::Ok : DialogAnswer::NotShown;
}

DialogAnswer NullPlatform::question_yes_no(const char* text, const char*) {
    questions.emplace_back(text);
    if (!dialogs_shown) return DialogAnswer::NotShown;
    return answer_yes ? DialogAnswer::Yes : DialogAnswer::No;
}

bool NullPlatform::open_file_dialog(const char* filter, char* path, int path_size) {
    file_dialogs.emplace_back(filter ? filter : "", path_size > 0 ? path : "");
    if (!file_dialog_answer || path_size <= 0 ||
        file_dialog_answer->size() >= static_cast<size_t>(path_size)) {
        return false;
    }
    file_dialog_answer->copy(path, file_dialog_answer->size());
    path[file_dialog_answer->size()] = '\0';
    return true;
}

bool NullPlatform::display_mode_change(bool, int, int, int) {
    return false;
}

void NullPlatform::display_query(int& width, int& height, int& bpp) {
    width = display_width;
    height = display_height;
    bpp = display_bpp;
}

void NullPlatform::clipboard_set_dib(const uint8_t* dib, size_t size) {
    clipboard.assign(dib, dib + size);
}

void NullPlatform::cursor_show(const CursorImage* image) {
    cursor_is_arrow = image == nullptr;
    if (!image) return;
    ++cursor_shows;
    cursor_last = *image;
}

void NullPlatform::client_origin(int32_t& x, int32_t& y) {
    x = origin_x;
    y = origin_y;
}

bool NullPlatform::pointer_position(int32_t& x, int32_t& y) {
    if (!pointer_known) return false;
    x = pointer_x;
    y = pointer_y;
    return true;
}

bool NullPlatform::pointer_warp(int32_t x, int32_t y) {
    warps.emplace_back(x, y);
    if (!warp_ok) return false;
    pointer_x = x - origin_x;
    pointer_y = y - origin_y;
    return true;
}

void NullPlatform::cursor_confine(const Rect* rect) {
    confines.push_back(rect ? std::optional<Rect>(*rect) : std::nullopt);
}

}  // namespace qln
