#pragma once
// The scenario object: a loaded scenario image with its call stack and local
// variables, and the start-up settings records.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/scenario_state.h"
#include "engine/settings.h"

namespace qln {

struct Engine;

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
// The same; when the candidate is refused, why says so in English for the
// author ("not found", "not packed: ...", "a bad settings record at offset 9").
[[nodiscard]] bool startup_check_why(Engine& engine, const char* name, uint16_t entry,
                                     std::string& why);

// Applies the settings records of an image (offset 5 up to H). Returns false on
// the first malformed record, whose offset goes to bad_at when given; settings
// applied before it stay applied.
[[nodiscard]] bool startup_apply_records(Settings& settings, const uint8_t* image, uint32_t length,
                                         uint32_t* bad_at = nullptr);

}  // namespace qln
