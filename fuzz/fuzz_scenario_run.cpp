// Runs arbitrary bytes as a scenario for a bounded number of steps: every
// operand reader and handler sees hostile code. The first two bytes give the
// string-table offset; the rest follows a minimal header.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/engine.h"
#include "platform/null/null_platform.h"
#include "run/run_loop.h"
#include "scenario/interp.h"
#include "scenario/scenario.h"
#include "tables/tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2 || size > 60000) return 0;
    std::vector<uint8_t> image = {'Q', 'L', 'N', 5, 0, data[0], data[1]};
    image.insert(image.end(), data + 2, data + size);

    qln::NullPlatform platform;
    platform.quit_after = 4000;
    platform.stop_on_error = false;
    qln::Engine engine;
    engine.platform = platform.services();
    engine.shell.host_effects_allowed = false;
    // No command-names or error-messages file: an error report then costs no
    // file system calls, and hostile code reports errors at nearly every step.
    engine.settings.command_names_file.name[0] = '\0';
    engine.settings.error_messages_file.name[0] = '\0';
    if (!qln::tables_init(engine)) return 0;
    qln::Scenario* scenario =
        qln::scn_create(engine, image.data(), uint32_t(image.size()), "fuzz", 0);
    if (!scenario) return 0;
    if (!qln::scn_start(engine, scenario, true, true)) {
        qln::scn_release(scenario);
        return 0;
    }
    for (int step = 0; step < 3000; ++step) {
        if (qln::scn_step(engine) < 0) break;
    }
    return 0;
}
