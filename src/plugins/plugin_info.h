#pragma once
// The info block every plug-in call receives, and the records its words
// point to (quillon/plugin.h documents them for plug-in authors).

#include <cstdint>

#include "quillon/plugin.h"

namespace qln {

struct Engine;

// Everything one call points into; built fresh for the call, on the caller's
// stack, and gone when it returns. Not copyable: the info words point into
// the frame itself.
struct PluginCallFrame {
    intptr_t window_handle = 0;  // the engine has no native window handle
    qln_screen screen{};
    qln_tables tables{};
    qln_input input{};
    intptr_t info[QLN_INFO_WORDS] = {};

    PluginCallFrame() = default;
    PluginCallFrame(const PluginCallFrame&) = delete;
    PluginCallFrame& operator=(const PluginCallFrame&) = delete;
};

// Takes an input snapshot and fills the frame from the engine's state now.
void plugin_frame_build(Engine& engine, PluginCallFrame& frame);

}  // namespace qln
