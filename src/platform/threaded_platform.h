#pragma once
// The two-thread model every backend shares. The main thread runs the message
// loop: it waits at most 20 ms at a time for a request or the scenario
// thread's end, serves the synchronous requests of the scenario thread (the
// scenario thread blocks until they are answered) and lets the backend do its
// own work (events, input, painting) in main_pass. A backend only supplies the
// clock, the serve_* answers and main_pass.
//
// Once the program must end, requests are answered at once without the main
// thread (Stop, No, Cancel), sleeps return and a minimised scenario thread is
// released, so the scenario thread reaches its next poll step, which fails.
//
// Background: while the program is in the background the scenario thread
// holds too. It has the engine paint the pause display when it arrives at its
// hold (it alone may read the pause picture's data buffer); the main thread
// has the kept screen put back when the program comes to the front again.
//
// The backend knows the engine only through the shared record it receives
// when the window is made (platform/thread_shared.h).

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/host_libraries.h"
#include "platform/null/null_platform.h"
#include "platform/platform.h"
#include "platform/thread_shared.h"

namespace qln {

enum class QuitReason : uint8_t {
    None,
    WindowClosed,  // the window was closed (or Alt+F4)
    TimeLimit,     // the tick counter passed the run's time limit
    InputEnded,    // minimised with no scripted input left to restore it
    Signalled,     // a termination signal (SIGTERM, SIGINT, SIGHUP), taken as a close
};

class ThreadedPlatform : public ClockService, public DisplayService, public InputService {
  public:
    ThreadedPlatform() = default;
    ~ThreadedPlatform() override = default;

    // The services this backend gives an engine: its own clock, display and
    // input, no audio device yet, and the host's dynamic linker.
    virtual Platform services() { return Platform{this, this, this, &audio_, &libraries_}; }

    // Scenario-thread side.
    bool quit_requested() override { return quit_.load(std::memory_order_acquire); }
    bool hold_while_minimised() override;
    DialogAnswer error_dialog(const ScenarioErrorRecord& record) override;
    DialogAnswer message_box(const char* text, const char* caption) override;
    DialogAnswer question_yes_no(const char* text, const char* caption) override;
    bool open_file_dialog(const char* filter, char* path, int path_size) override;
    bool display_mode_change(bool full_screen, int width, int height, int bpp) override;

    // Either thread: the program must end; the first reason given is kept.
    void request_quit(QuitReason reason);
    QuitReason quit_reason();

    // Main-thread side. The main window (none without a window backend); a
    // backend that overrides it calls this one first (it keeps the shared
    // record).
    virtual bool window_create(ThreadShared& shared) {
        shared_ = &shared;
        return true;
    }
    virtual void window_show() {}
    virtual void window_destroy() {}

    // Starts entry(arg) on the scenario thread with the default stack size,
    // runs the message loop until scenario_thread_ended() and joins the
    // thread. False (and no loop) when the thread cannot be started.
    [[nodiscard]] bool run_scenario_thread(void (*entry)(void*), void* arg);
    // Called by the scenario thread as its last act.
    void scenario_thread_ended();

    // The program goes to the background (false) or comes back (true): the
    // main thread calls it under no lock; it takes the screen lock, then the
    // input lock. Going back to the front restores the kept screen and
    // invalidates the whole display.
    void app_activate(bool active);
    bool in_background() const { return background_.load(std::memory_order_acquire); }

  protected:
    ThreadShared* shared_ = nullptr;  // what the engine shares; none before the window

    // Answers served on the main thread (or inline before the loop runs).
    virtual DialogAnswer serve_error_dialog(const ScenarioErrorRecord& record) = 0;
    virtual DialogAnswer serve_message_box(const char* text, const char* caption) = 0;
    virtual DialogAnswer serve_question(const char* text, const char* caption) = 0;
    virtual bool serve_open_file_dialog(const char* filter, char* path, int path_size) = 0;
    virtual bool serve_display_mode_change(bool full_screen, int width, int height, int bpp) = 0;
    // Before the scenario thread starts, on the main thread.
    virtual void loop_begin() {}
    // One pass of the backend's own main-thread work; scenario_held is true
    // while the scenario thread waits in hold_while_minimised. Returns how long
    // the loop may wait for a request before the next pass (at most 20 ms).
    virtual uint32_t main_pass(bool scenario_held) = 0;

    // The minimised state (a size message); releases a held scenario thread.
    void set_minimised(bool minimised);
    bool minimised() const { return minimised_.load(std::memory_order_acquire); }
    // Sleeps up to ms of real time; returns early (false) once the program must end.
    bool wait_real_ms(uint32_t ms);
    // Makes the loop run its next pass now.
    void wake_main();
    // Main thread: input arrived (wakes a scenario thread in wait_input_ms).
    void input_signal();
    // Scenario thread: waits until the next input, ms of real time, the end of
    // the program or the program going to the background or minimised (so
    // the poll step holds at once).
    void wait_input_ms(uint32_t ms);

  private:
    enum class RequestKind : uint8_t { ErrorDialog, MessageBox, Question, OpenFile, DisplayMode };
    struct Request {
        RequestKind kind = RequestKind::MessageBox;
        const ScenarioErrorRecord* record = nullptr;
        const char* text = nullptr;
        const char* caption = nullptr;
        char* path = nullptr;
        int path_size = 0;
        bool full_screen = false;
        int width = 0, height = 0, bpp = 0;
        bool answer = false;
        DialogAnswer dialog = DialogAnswer::NotShown;  // the dialogs' answer
        bool done = false;
    };

    // Serves request on the main thread; its answer and dialog are filled.
    void call(Request& request);
    bool must_hold() const { return minimised_.load() || background_.load(); }
    void pause_paint();
    void serve(Request& request);
    // The answer to a request made once the program must end: Stop, No,
    // Cancel, no change.
    static void answer_at_quit(Request& request);
    bool served_inline();
    void message_loop();

    std::mutex mutex_;
    std::condition_variable main_wake_;      // the main thread waits here
    std::condition_variable scenario_wake_;  // the scenario thread waits here
    Request* pending_ = nullptr;
    bool loop_running_ = false;
    bool ended_ = false;
    bool held_ = false;
    bool wake_ = false;
    std::thread::id main_thread_;
    std::atomic<bool> quit_{false};
    std::atomic<bool> minimised_{false};
    std::atomic<bool> background_{false};
    uint64_t input_seq_ = 0;
    NoAudioDevice audio_;
    DynamicLibraries libraries_;
    QuitReason quit_reason_ = QuitReason::None;
};

}  // namespace qln
