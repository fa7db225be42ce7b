#include "plugins/plugin_info.h"

#include "engine/engine.h"
#include "input/input_state.h"
#include "tables/tables.h"

namespace qln {
namespace {

// The table functions a plug-in calls back; `engine` is the Engine the frame
// was built for.
Engine& engine_of(void* engine) {
    return *static_cast<Engine*>(engine);
}

const char* table_str_get(void* engine, int32_t n) {
    return str_get(engine_of(engine), n);
}

void table_str_set(void* engine, int32_t n, const char* text) {
    str_set(engine_of(engine), n, text ? text : "");
}

const char* table_sysstr_get(void* engine, int32_t n) {
    return sysstr_get(engine_of(engine), n);
}

int32_t table_var_get(void* engine, int32_t space, int32_t index) {
    return var_get(engine_of(engine), space, index);
}

void table_var_set(void* engine, int32_t space, int32_t index, int32_t value) {
    var_set(engine_of(engine), space, index, value);
}

}  // namespace

void plugin_frame_build(Engine& engine, PluginCallFrame& frame) {
    if (const Picture* screen = engine.screen.screen) {
        frame.screen = {screen->pixels.get(), screen->width, screen->height, screen->width * 3};
    }

    Tables& t = engine.tables;
    frame.tables = {sizeof(qln_tables), t.result_count, t.results,        &engine,
                    table_str_get,      table_str_set,  table_sysstr_get, table_var_get,
                    table_var_set};

    InputState snap;
    snapshot(engine, snap);
    frame.input = {snap.x, snap.y, snap.left, snap.right, snap.middle, snap.last_character};

    intptr_t* info = frame.info;
    info[QLN_INFO_VERSION] = QLN_PLUGIN_VERSION;
    info[QLN_INFO_WINDOW] = reinterpret_cast<intptr_t>(&frame.window_handle);
    info[QLN_INFO_TITLE] = reinterpret_cast<intptr_t>(engine.settings.title);
    info[QLN_INFO_SCREEN] = reinterpret_cast<intptr_t>(&frame.screen);
    info[QLN_INFO_TABLES] = reinterpret_cast<intptr_t>(&frame.tables);
    info[QLN_INFO_WINDOWS] = reinterpret_cast<intptr_t>(engine.windows.records.data());
    info[QLN_INFO_INPUT] = reinterpret_cast<intptr_t>(&frame.input);
}

}  // namespace qln
