#include "platform/signals.h"

#include <signal.h>

#include <atomic>

namespace qln {
namespace {

// Set from the signal handler: a lock-free atomic is safe to store there.
std::atomic<bool> g_signalled{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void on_signal(int) {
    g_signalled.store(true, std::memory_order_relaxed);
}

}  // namespace

void termination_signals_install() {
    struct sigaction action {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    for (const int signal_number : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal_number, &action, nullptr);
}

bool termination_signalled() {
    return g_signalled.load(std::memory_order_relaxed);
}

}  // namespace qln
