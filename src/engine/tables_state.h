#pragma once
// Variable spaces, result registers, string registers and system strings (one
// string pool), the colour table and the data-buffer table, as records. Sized
// once from the settings at start-up and never resized.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace qln {

struct Scenario;
struct Picture;

enum class BufType : uint32_t {
    Empty = 0,
    Scenario = 1,
    Raw = 2,
    Picture = 3,
    Regions = 4,
    Plugin = 5
};

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

}  // namespace qln
