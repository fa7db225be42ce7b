// Scripted input of any bytes: the parser either accepts it or names a line
// and a reason, and accepted events are delivered through the headless
// backend's window procedure without touching anything outside the state.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/engine.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<qln::ScriptEvent> events;
    qln::ScriptError error;
    if (!qln::input_script_parse(text, events, error)) {
        if (error.line == 0 || error.reason.empty()) std::abort();
        return 0;
    }
    qln::HeadlessOptions options;
    options.events = events;
    options.log = [](const std::string&) {};
    qln::HeadlessPlatform platform(options);
    qln::Engine engine;
    platform.attach(engine.shared);
    engine.platform = platform.services();
    platform.deliver_due();
    // Walk the clock through the script; a held minimise is never waited for.
    for (int i = 0; i < 64 && !platform.quit_requested(); ++i) platform.sleep_ms(1u << (i % 28));
    const qln::InputQueues& q = engine.shared.input.queues;
    if (q.char_read < 0 || q.char_read >= qln::kInputQueueSize || q.key_write < 0 ||
        q.key_write >= qln::kInputQueueSize) {
        std::abort();
    }
    return 0;
}
