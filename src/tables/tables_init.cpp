// Start-up and exit of the tables: every table sized once from the settings.
#include <algorithm>
#include <new>

#include "engine/engine.h"
#include "tables/var_view.h"

namespace qln {

namespace {

constexpr uint32_t kPoolStartBytes = 65536;

struct DefaultColour {
    uint8_t red, green, blue;
};

// The sixteen colours every game starts with; the rest of the table is black.
constexpr DefaultColour kDefaultColours[16] = {
    {0, 0, 0},     {127, 0, 0},     {0, 127, 0},     {127, 127, 0},   {0, 0, 127}, {127, 0, 127},
    {0, 127, 127}, {191, 191, 191}, {127, 127, 127}, {255, 0, 0},     {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

}  // namespace

bool tables_init(Engine& engine) {
    if (engine.tables.ready) tables_release(engine);
    const Settings& s = engine.settings;
    Tables& t = engine.tables;

    t.byte_array.assign(s.byte_array_size, 0);
    t.word_array1.assign(s.word_array1_size, 0);
    t.word_array2.assign(s.word_array2_size, 0);
    t.dword_array.assign(s.dword_array_size, 0);
    for (int space = 0; space < kViewCount; ++space) view_restore(t, space);

    // Two banks of result registers: the normal one is visible until an
    // interval callback runs.
    t.result_count = s.result_register_count;
    t.results_normal.assign(t.result_count, 0);
    t.results_callback.assign(t.result_count, 0);
    t.results = t.results_normal.data();

    t.string_register_count = s.string_register_count;
    t.system_string_count = s.system_string_count;
    t.string_slots.assign(size_t(t.string_register_count) + t.system_string_count, 0);
    t.pool.base.reset(new (std::nothrow) char[kPoolStartBytes]());
    if (!t.pool.base) {
        tables_release(engine);
        return false;
    }
    t.pool.capacity = kPoolStartBytes;
    t.pool.end = 1;  // offset 0 means an empty slot

    t.colours.assign(s.colour_count, Colour{});
    for (size_t i = 0; i < 16 && i < t.colours.size(); ++i) {
        t.colours[i].red = kDefaultColours[i].red;
        t.colours[i].green = kDefaultColours[i].green;
        t.colours[i].blue = kDefaultColours[i].blue;
    }

    t.buffers.clear();
    t.buffers.resize(s.buffer_count);
    t.ready = true;
    return true;
}

void tables_release(Engine& engine) {
    Tables& t = engine.tables;
    // Slot 0 upwards: freeing releases each payload by its type.
    for (size_t i = 0; i < t.buffers.size(); ++i) (void)buf_free(engine, int32_t(i));
    t = Tables{};
}

void vars_clear(Engine& engine) {
    Tables& t = engine.tables;
    std::fill(t.byte_array.begin(), t.byte_array.end(), uint8_t(0));
    std::fill(t.word_array1.begin(), t.word_array1.end(), uint16_t(0));
    std::fill(t.word_array2.begin(), t.word_array2.end(), uint16_t(0));
    std::fill(t.dword_array.begin(), t.dword_array.end(), uint32_t(0));
    // System strings keep their text; their old copies stay in the pool.
    std::fill(t.string_slots.begin(), t.string_slots.begin() + t.string_register_count, 0u);
}

}  // namespace qln
