#pragma once
// Variable substitution in texts before they are stored or drawn.
//
//   @@                    one '@'
//   @%"fmt",X12@          the value X12 formatted with fmt
//   @#"fmt",X12@          the same, single-byte characters made full-width
//
// Before the opening quote and between the closing quote and the comma any
// bytes may stand; the quotes are '"' or '`' (the two may differ), a ';' may
// stand for the comma. X is a letter, either case: F I W L T B C D N P name
// variable spaces 0 to 9, V the result registers, Q the current scenario's
// locals, S the string registers. The decimal index (none means 0) is followed
// at once by the closing '@'. The format follows the rules of sjis_format.
//
// A substitution that does not have this form (no opening or closing quote,
// no comma, an unknown letter, no '@' right after the index) is not one: its
// "@%" or "@#" is copied as it stands and the bytes after it are read as plain
// text. Any other "@x" is copied unchanged. Double-byte characters are copied
// as pairs, so a trail byte 0x40 never starts a sequence.

#include <cstddef>

namespace qln {

struct Engine;

// Every caller's destination holds this many bytes.
inline constexpr size_t kExpandBufferSize = 8192;

// Expands source into destination (destination_size bytes, at least 1). The
// result is cut where it would not fit, never in the middle of a double-byte
// character, and always terminated. Returns its length.
size_t text_expand(Engine& engine, const char* source, char* destination, size_t destination_size);

}  // namespace qln
