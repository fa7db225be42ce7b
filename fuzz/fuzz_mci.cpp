// Media command strings from arbitrary bytes: each line one command, sent in
// order to one engine, so the splitter and every device state see hostile
// words, numbers and sequences; the virtual clock moves between commands.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/engine.h"
#include "sound/mci.h"
#include "sound/mixer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qln::Engine engine;
    engine.shell.host_effects_allowed = false;
    (void)qln::mixer_open(engine);
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    size_t at = 0;
    for (int n = 0; n < 64 && at <= all.size(); ++n) {
        const size_t end = std::min(all.find('\n', at), all.size());
        const qln::MciReply reply = qln::mci_send(engine, all.substr(at, end - at));
        if (reply.error == qln::kMciOk && qln::mci_error_text(reply.error)[0] != '\0')
            __builtin_trap();
        engine.null_platform.now += 37;
        at = end + 1;
    }
    qln::mci_close_all(engine);
    qln::mixer_close(engine);
    return 0;
}
