#pragma once
// Operations on the tables: variables, result and string registers, colours
// and data buffers.
//
// Numbers that name a register, a colour or a data buffer are taken as
// given: a number outside 0 .. count - 1 names nothing, so reads yield 0, ""
// or nullptr and writes are ignored.

#include <cstddef>
#include <cstdint>

#include "engine/tables_state.h"

namespace qln {

struct Engine;

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
// Store a payload in slot buf_no, freeing what it held; the slot takes the
// picture or scenario (which is released when the slot is missing).
bool buf_store_picture(Engine& engine, int32_t buf_no, Picture* picture);
bool buf_store_scenario(Engine& engine, int32_t buf_no, Scenario* scenario);
bool buf_store_bytes(Engine& engine, int32_t buf_no, const uint8_t* bytes, size_t size);
// What the data buffers and the window pictures hold together, and whether
// more bytes fit under kHeldBytesMax (base/limits.h).
uint64_t held_bytes(const Engine& engine);
bool held_room(const Engine& engine, uint64_t more);
bool buf_dup(Engine& engine, int32_t src, int32_t dst);
bool buf_copy_bytes(Engine& engine, int32_t src, int32_t dst, int32_t dst_offset,
                    int32_t src_offset, int32_t length);

// Zeroes the four default arrays and empties every string register.
void vars_clear(Engine& engine);

}  // namespace qln
