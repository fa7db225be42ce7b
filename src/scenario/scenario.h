#pragma once
// The scenario object: a loaded scenario image with its call stack and local
// variables, and the start-up settings records.

#include <cstdint>
#include <memory>

#include "engine/settings.h"

namespace qln {

struct Engine;

// A loaded scenario. The image copy is followed by zero bytes, so a string
// that starts inside the image always ends inside the allocation.
struct Scenario {
    std::unique_ptr<uint8_t[]> code;        // image copy, size + kCodePadding bytes
    uint32_t size = 0;                      // image length
    uint16_t entry_offset = 0;              // H + 2
    uint16_t pc = 0;                        // next byte to execute
    uint32_t string_table = 0;              // T: offset of the string table
    std::unique_ptr<uint32_t[]> call_stack; // capacity = call_capacity
    uint16_t call_capacity = 0;
    uint16_t call_depth = 0;
    std::unique_ptr<int32_t[]> locals;      // variable space 11, zeroed at creation
    uint16_t local_count = 0;
    bool in_use = false;                    // on the chain of active scenarios
    bool free_on_end = false;               // released when it ends
    char file_name[kPathMax] = {};
    uint16_t entry_number = 0;
    Scenario* previous = nullptr;           // becomes current when this one ends

    static constexpr uint32_t kCodePadding = 8;
};

// Checks an image and builds a scenario object from a copy of it; nullptr when
// the image is not a scenario. Local count and call capacity come from the
// engine's settings.
[[nodiscard]] Scenario* scn_create(Engine& engine, const uint8_t* image, uint32_t length,
                                   const char* name, uint16_t entry);

// file_read with the compressed flag set, then scn_create.
[[nodiscard]] Scenario* scn_load(Engine& engine, const char* name, uint16_t entry,
                                 uint16_t directory);

// Releases a scenario object.
void scn_release(Scenario* scenario);

// Validates a start-up candidate and applies its settings records; on success
// the candidate becomes the start-up scenario of the settings.
[[nodiscard]] bool startup_check(Engine& engine, const char* name, uint16_t entry);

// Applies the settings records of an image (offset 5 up to H). Returns false on
// the first malformed record; settings applied before it stay applied.
[[nodiscard]] bool startup_apply_records(Settings& settings, const uint8_t* image,
                                         uint32_t length);

}  // namespace qln
