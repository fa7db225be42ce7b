#pragma once
// Variable spaces, result registers, string registers and system strings (one
// string pool), the colour table and the data-buffer table. Sized once from
// the settings at start-up and never resized.
//
// Numbers that name a register, a colour or a data buffer are taken as
// given: a number outside 0 .. count - 1 names nothing, so reads yield 0, ""
// or nullptr and writes are ignored.

#include <cstdint>
#include <memory>
#include <vector>

namespace qln {

struct Engine;
struct Scenario;
struct Picture;
struct FileRef;

enum class BufType : uint32_t { Empty = 0, Scenario = 1, Raw = 2, Picture = 3, Regions = 4, Plugin = 5 };

// One entry of a region list: a button of a window.
struct Region {
    int32_t id = 0;
    uint16_t flags = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t highlight = 0;
};

struct RegionList {
    std::vector<Region> entries;
};

// A loaded plug-in library (filled in by the plug-in subsystem).
struct Plugin;
void plugin_release(Plugin* plugin);

// Slot buf_no of the data-buffer table. The slot owns its payload.
struct DataBuffer {
    BufType type = BufType::Empty;
    uint32_t size = 0;  // the size word: byte length for raw bytes, 1 for most others
    Scenario* scenario = nullptr;
    std::unique_ptr<uint8_t[]> raw;
    Picture* picture = nullptr;
    std::unique_ptr<RegionList> regions;
    Plugin* plugin = nullptr;
};

// A view of variable spaces 0 to 9: default array or a raw data buffer.
struct VarView {
    uint8_t* base = nullptr;
    uint32_t count = 0;        // element count
    uint32_t byte_limit = 0;   // bytes reachable from base; elements past it read 0
    uint32_t reach = 0;        // elements wholly inside byte_limit, at most count
    uint16_t mapped = 0xFFFF;  // data buffer number, 0xFFFF for the default array
};

struct StringPool {
    std::unique_ptr<char[]> base;
    uint32_t capacity = 0;
    uint32_t end = 0;  // offset of the first free byte; offset 0 is never a string
};

struct Colour {
    uint8_t blue = 0, green = 0, red = 0, unused = 0;
};

struct Tables {
    bool ready = false;
    VarView views[10];
    std::vector<uint8_t> byte_array;    // spaces 0 and 5
    std::vector<uint16_t> word_array1;  // spaces 1, 6, 8
    std::vector<uint16_t> word_array2;  // spaces 2, 4, 7
    std::vector<uint32_t> dword_array;  // spaces 3 and 9
    std::vector<int32_t> results_normal;
    std::vector<int32_t> results_callback;
    int32_t* results = nullptr;  // the visible bank
    uint32_t result_count = 0;
    StringPool pool;
    std::vector<uint32_t> string_slots;  // string registers, then system strings
    uint32_t string_register_count = 0;
    uint32_t system_string_count = 0;
    std::vector<Colour> colours;
    std::vector<DataBuffer> buffers;
};

// Allocates every table from the engine's settings; false when memory fails.
[[nodiscard]] bool tables_init(Engine& engine);
// Frees every data buffer (slot 0 upwards) and the tables.
void tables_release(Engine& engine);

int32_t var_get(Engine& engine, int32_t space, int32_t index);
void var_set(Engine& engine, int32_t space, int32_t index, int32_t value);
// Maps space (0-9) onto raw buffer buf_no at a byte offset, restores it
// (buf_no < 0), or picks a string (space 12). False on failure.
[[nodiscard]] bool var_map(Engine& engine, int32_t buf_no, int32_t space, int32_t& offset_in_out);

// Result registers: commands write them, scenarios only read them.
void result_set(Engine& engine, uint32_t n, int32_t value);
int32_t result_get(Engine& engine, uint32_t n);
// Makes the callback bank (true) or the normal bank (false) visible.
void results_use_callback_bank(Engine& engine, bool callback);

const char* str_get(Engine& engine, int32_t n);  // nullptr when n is out of range
void str_set(Engine& engine, int32_t n, const char* text);
const char* sysstr_get(Engine& engine, int32_t n);
void sysstr_set(Engine& engine, int32_t n, const char* text);

void colour_set(Engine& engine, int32_t n, uint8_t red, uint8_t green, uint8_t blue);
bool colour_get(Engine& engine, int32_t n, uint8_t& red, uint8_t& green, uint8_t& blue);

DataBuffer* buf_entry(Engine& engine, int32_t buf_no);
// Typed access: the payload when slot buf_no holds that type, else nullptr.
Scenario* buf_get_scenario(Engine& engine, int32_t buf_no);
uint8_t* buf_get_raw(Engine& engine, int32_t buf_no);
Picture* buf_get_picture(Engine& engine, int32_t buf_no);
RegionList* buf_get_regions(Engine& engine, int32_t buf_no);
Plugin* buf_get_plugin(Engine& engine, int32_t buf_no);
uint32_t buf_size(Engine& engine, int32_t buf_no);

bool buf_free(Engine& engine, int32_t buf_no);
bool buf_new_raw(Engine& engine, int32_t buf_no, uint32_t size);
Picture* buf_new_picture(Engine& engine, int32_t buf_no, uint16_t width, uint16_t height);
bool buf_new_regions(Engine& engine, int32_t buf_no, uint32_t n);
bool buf_load(Engine& engine, int32_t buf_no, const FileRef& ref);
bool buf_dup(Engine& engine, int32_t src, int32_t dst);
bool buf_copy_bytes(Engine& engine, int32_t src, int32_t dst, int32_t dst_offset,
                    int32_t src_offset, int32_t length);

// Zeroes the four default arrays and empties every string register.
void vars_clear(Engine& engine);

}  // namespace qln
