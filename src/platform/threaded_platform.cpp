#include "platform/threaded_platform.h"

#include <pthread.h>

#include <chrono>

#include "base/rect.h"
#include "platform/signals.h"

namespace qln {
namespace {

constexpr uint32_t kLoopWaitMaxMs = 20;

struct ThreadStart {
    void (*entry)(void*);
    void* arg;
};

void* thread_trampoline(void* p) {
    const ThreadStart start = *static_cast<ThreadStart*>(p);
    delete static_cast<ThreadStart*>(p);
    start.entry(start.arg);
    return nullptr;
}

}  // namespace

bool ThreadedPlatform::hold_while_minimised() {
    // The common case costs two atomic loads and no lock.
    if (!must_hold()) return !quit_requested();
    pause_paint();
    std::unique_lock<std::mutex> lock(mutex_);
    held_ = true;
    wake_ = true;
    main_wake_.notify_all();
    scenario_wake_.wait(lock, [&] { return !must_hold() || quit_.load(); });
    held_ = false;
    return !quit_.load();
}

void ThreadedPlatform::pause_paint() {
    if (!shared_ || !background_.load()) return;
    bool painted = false;
    Rect whole;
    {
        LockHold screen(shared_->screen_lock);
        // Checked again under the lock: the program may have come back already.
        if (background_.load() && shared_->hooks) painted = shared_->hooks->pause_show();
        whole = Rect{0, 0, shared_->display.width, shared_->display.height};
    }
    if (painted) display_invalidate(whole);
}

void ThreadedPlatform::app_activate(bool active) {
    bool restored = false;
    Rect whole;
    if (shared_) {
        LockHold screen(shared_->screen_lock);
        LockHold input(shared_->input.lock);
        if (active && shared_->hooks) restored = shared_->hooks->pause_restore();
        whole = Rect{0, 0, shared_->display.width, shared_->display.height};
        std::lock_guard<std::mutex> lock(mutex_);
        background_.store(!active, std::memory_order_release);
        scenario_wake_.notify_all();
        main_wake_.notify_all();
    } else {
        std::lock_guard<std::mutex> lock(mutex_);
        background_.store(!active, std::memory_order_release);
        scenario_wake_.notify_all();
        main_wake_.notify_all();
    }
    if (restored) display_invalidate(whole);
}

void ThreadedPlatform::request_quit(QuitReason reason) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (quit_reason_ == QuitReason::None) quit_reason_ = reason;
    quit_.store(true, std::memory_order_release);
    main_wake_.notify_all();
    scenario_wake_.notify_all();
}

QuitReason ThreadedPlatform::quit_reason() {
    std::lock_guard<std::mutex> lock(mutex_);
    return quit_reason_;
}

void ThreadedPlatform::set_minimised(bool minimised) {
    std::lock_guard<std::mutex> lock(mutex_);
    minimised_.store(minimised, std::memory_order_release);
    scenario_wake_.notify_all();
    main_wake_.notify_all();
}

bool ThreadedPlatform::wait_real_ms(uint32_t ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    return !scenario_wake_.wait_for(lock, std::chrono::milliseconds(ms),
                                    [&] { return quit_.load(); });
}

void ThreadedPlatform::wake_main() {
    std::lock_guard<std::mutex> lock(mutex_);
    wake_ = true;
    main_wake_.notify_all();
}

void ThreadedPlatform::input_signal() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++input_seq_;
    scenario_wake_.notify_all();
}

void ThreadedPlatform::wait_input_ms(uint32_t ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    const uint64_t seen = input_seq_;
    scenario_wake_.wait_for(lock, std::chrono::milliseconds(ms),
                            [&] { return input_seq_ != seen || quit_.load() || must_hold(); });
}

bool ThreadedPlatform::served_inline() {
    std::lock_guard<std::mutex> lock(mutex_);
    return !loop_running_ || std::this_thread::get_id() == main_thread_;
}

void ThreadedPlatform::serve(Request& r) {
    switch (r.kind) {
        case RequestKind::ErrorDialog:
            r.dialog = serve_error_dialog(*r.record);
            break;
        case RequestKind::MessageBox:
            r.dialog = serve_message_box(r.text, r.caption);
            break;
        case RequestKind::Question:
            r.dialog = serve_question(r.text, r.caption);
            break;
        case RequestKind::OpenFile:
            r.answer = serve_open_file_dialog(r.text, r.path, r.path_size);
            break;
        case RequestKind::DisplayMode:
            r.answer = serve_display_mode_change(r.full_screen, r.width, r.height, r.bpp);
            break;
    }
}

void ThreadedPlatform::answer_at_quit(Request& r) {
    r.answer = false;
    switch (r.kind) {
        case RequestKind::ErrorDialog:
            r.dialog = DialogAnswer::Stop;  // no window left to ask
            break;
        case RequestKind::MessageBox:
            r.dialog = DialogAnswer::Ok;
            break;
        case RequestKind::Question:
            r.dialog = DialogAnswer::No;
            break;
        default:
            break;
    }
}

void ThreadedPlatform::call(Request& request) {
    if (quit_requested()) {
        answer_at_quit(request);
        return;
    }
    // Before the loop runs (start-up messages) the caller is the main thread.
    if (served_inline()) {
        serve(request);
        return;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    pending_ = &request;
    main_wake_.notify_all();
    scenario_wake_.wait(lock, [&] { return request.done; });
}

DialogAnswer ThreadedPlatform::error_dialog(const ScenarioErrorRecord& record) {
    Request r;
    r.kind = RequestKind::ErrorDialog;
    r.record = &record;
    call(r);
    return r.dialog;
}

DialogAnswer ThreadedPlatform::message_box(const char* text, const char* caption) {
    Request r;
    r.kind = RequestKind::MessageBox;
    r.text = text;
    r.caption = caption;
    call(r);
    return r.dialog;
}

DialogAnswer ThreadedPlatform::question_yes_no(const char* text, const char* caption) {
    Request r;
    r.kind = RequestKind::Question;
    r.text = text;
    r.caption = caption;
    call(r);
    return r.dialog;
}

bool ThreadedPlatform::open_file_dialog(const char* filter, char* path, int path_size) {
    Request r;
    r.kind = RequestKind::OpenFile;
    r.text = filter;
    r.path = path;
    r.path_size = path_size;
    call(r);
    return r.answer;
}

bool ThreadedPlatform::display_mode_change(bool full_screen, int width, int height, int bpp) {
    Request r;
    r.kind = RequestKind::DisplayMode;
    r.full_screen = full_screen;
    r.width = width;
    r.height = height;
    r.bpp = bpp;
    call(r);
    return r.answer;
}

void ThreadedPlatform::scenario_thread_ended() {
    std::lock_guard<std::mutex> lock(mutex_);
    ended_ = true;
    main_wake_.notify_all();
}

void ThreadedPlatform::message_loop() {
    uint32_t wait_ms = 0;
    for (;;) {
        std::unique_lock<std::mutex> lock(mutex_);
        main_wake_.wait_for(lock, std::chrono::milliseconds(wait_ms),
                            [&] { return pending_ != nullptr || ended_ || wake_; });
        wake_ = false;
        if (Request* request = pending_) {
            lock.unlock();
            // A quit that came while the request waited answers it like the
            // requests made after the quit.
            if (quit_requested()) {
                answer_at_quit(*request);
            } else {
                serve(*request);
            }
            lock.lock();
            request->done = true;
            pending_ = nullptr;
            scenario_wake_.notify_all();
        }
        if (ended_) break;
        const bool held = held_ && must_hold();
        lock.unlock();
        wait_ms = main_pass(held);
        if (termination_signalled()) request_quit(QuitReason::Signalled);
        if (wait_ms > kLoopWaitMaxMs) wait_ms = kLoopWaitMaxMs;
    }
}

bool ThreadedPlatform::run_scenario_thread(void (*entry)(void*), void* arg) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        main_thread_ = std::this_thread::get_id();
        loop_running_ = true;
        ended_ = false;
    }
    loop_begin();
    pthread_t thread;
    auto* start = new ThreadStart{entry, arg};
    if (pthread_create(&thread, nullptr, thread_trampoline, start) != 0) {
        delete start;
        std::lock_guard<std::mutex> lock(mutex_);
        loop_running_ = false;
        return false;
    }
    message_loop();
    pthread_join(thread, nullptr);
    std::lock_guard<std::mutex> lock(mutex_);
    loop_running_ = false;
    return true;
}

}  // namespace qln
