#pragma once
// Commands 0x60-0x69: set, join, compare, measure, expand, convert, search
// and cut string registers, and copy a string into a raw data buffer. Every
// length and position counts bytes, so a position may fall inside a
// double-byte character.

#include <cstdint>

#include "scenario/interp.h"

namespace qln {

struct Engine;

// Longest text that str_cat and str_splice keep (their buffer holds 1,024
// bytes with the terminator).
inline constexpr uint32_t kShortStringMax = 1023;

int32_t cmd_str_let(Engine& engine, const Args& args);     // 0x60 n, text
int32_t cmd_str_cat(Engine& engine, const Args& args);     // 0x61 n, text
int32_t cmd_str_cmp(Engine& engine, const Args& args);     // 0x62 a, b
int32_t cmd_str_len(Engine& engine, const Args& args);     // 0x63 n
int32_t cmd_str_expand(Engine& engine, const Args& args);  // 0x64 text, n
int32_t cmd_str_to_num(Engine& engine, const Args& args);  // 0x65 text
int32_t cmd_str_find(Engine& engine, const Args& args);    // 0x66 a, b
int32_t cmd_str_mid(Engine& engine, const Args& args);     // 0x67 text, start, count
int32_t cmd_str_splice(Engine& engine, const Args& args);  // 0x68 n, position, delete, text
int32_t cmd_str_to_buf(Engine& engine, const Args& args);  // 0x69 text, buf_no, offset

}  // namespace qln
