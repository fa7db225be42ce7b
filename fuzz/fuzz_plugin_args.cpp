// Reads hostile bytes as the typed argument list of plugin_call and builds
// the array an export would receive: the list reader stays inside the
// scenario image, a list is refused whole past 256 entries, every entry is
// what its type says, and the command itself fails cleanly. No library is
// loaded: the engine runs on the null backend, which refuses them. The first
// two bytes give the string-table offset; the list follows plugin_call 1, 2.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/command_row.h"
#include "engine/engine.h"
#include "platform/null/null_platform.h"
#include "plugins/plugin_args.h"
#include "run/run_loop.h"
#include "scenario/interp.h"
#include "scenario/scenario.h"
#include "tables/tables.h"

namespace {

constexpr uint8_t kPluginCall = 0xC6;

void check(bool ok) {
    if (!ok) __builtin_trap();
}

void check_entries(const std::vector<qln::ListItem>& items, const qln::PluginArgs& out) {
    check(out.count == int32_t(items.size()));
    for (size_t i = 0; i < items.size(); ++i) {
        const qln::ListItem& item = items[i];
        const intptr_t value = out.values[i];
        switch (item.tag) {
            case 0:
                check(value == intptr_t(item.num));
                break;
            case 1:
                check(value >= 0 && value <= 255);
                break;
            case 2:
                // The text must be readable to its end (the sanitizer checks).
                check(std::strlen(reinterpret_cast<const char*>(value)) < 0x10000);
                break;
            default:
                check(value == 0);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2 || size > 60000) return 0;
    // plugin_call 1, 2, then the fuzzed list.
    std::vector<uint8_t> image = {'Q',         'L',  'N', 5,    0,    data[0], data[1],
                                  kPluginCall, 0x00, 1,   0x7F, 0x00, 2,       0x7F};
    image.insert(image.end(), data + 2, data + size);
    // Closed, so most inputs end inside the image; past its end every byte
    // reads as 0xFF, an unknown type, and the list runs to its cap.
    image.push_back(0x7F);

    qln::NullPlatform platform;
    platform.stop_on_error = false;
    qln::Engine engine;
    engine.platform = platform.services();
    engine.settings.command_names_file.name[0] = '\0';
    engine.settings.error_messages_file.name[0] = '\0';
    if (!qln::tables_init(engine)) return 0;
    str_set(engine, 3, "a string register");
    qln::Scenario* scenario =
        qln::scn_create(engine, image.data(), uint32_t(image.size()), "fuzz", 0);
    if (!scenario) return 0;
    if (!qln::scn_start(engine, scenario, true, true)) {
        qln::scn_release(scenario);
        return 0;
    }

    const uint16_t start = scenario->pc;
    scenario->pc = uint16_t(start + 1);
    qln::Args args;
    std::vector<qln::ListItem> items;
    qln::args_read(engine, qln::command_table[kPluginCall].reads, args, items);
    qln::PluginArgs out;
    const bool fits = qln::plugin_args_build(items, out);
    check(fits == (items.size() <= size_t(qln::PluginArgs::kMax)));
    if (fits) check_entries(items, out);
    if (!fits) check(out.count == 0);

    // The whole command: buffer 1 holds no library.
    scenario->pc = start;
    check(qln::scn_step(engine) == 0);
    check(engine.interp.error.error_number == 120);
    return 0;
}
