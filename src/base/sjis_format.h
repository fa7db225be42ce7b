#pragma once
// A bounded formatter with the rules of the original platform's wsprintfA,
// for one argument: the "@%" and "@#" substitutions format one variable or
// one string register with the scenario's own format.
//
// Field syntax: %[-#0][width][.precision][modifier]type.
//   flags      '-' left-aligns, '0' pads numbers with zeros up to the width,
//              '#' puts 0x / 0X before hexadecimal numbers (zero too: "0x0").
//   width      minimum field width; padded with spaces unless '0' applies.
//   precision  numbers: minimum digit count; strings: maximum byte count.
//   modifier   'l', 'h', 'w' and "I64" are accepted and change nothing: every
//              number is 32-bit and every string is single-byte text here.
//   type       d i (signed), u (unsigned), x X (hexadecimal), c C (one byte),
//              s S (string); "%%" writes '%'.
// There is no floating point, no '*' width, no '+' or ' ' flag. A '%' whose
// field ends in any other character (or at the end of the format) writes
// nothing for the '%' and what followed it up to that character; the character
// itself is then copied as plain text ("%y" gives "y", "%+d" gives "+d").
//
// The argument is used by the first field; later fields see no argument and
// write 0 (numbers), an empty string (s) or nothing (c). A string argument
// under a numeric type is written as its text, and a number under s as its
// signed decimal, so a mismatched format still shows the value it was given.
// A character field of byte 0 writes nothing (the text could not hold it).

#include <cstddef>
#include <cstdint>

namespace qln {

// Like wsprintfA, at most 1,024 bytes including the terminator are written.
inline constexpr size_t kFormatLimit = 1024;

struct FormatArg {
    enum class Kind : uint8_t { None, Number, Text };
    Kind kind = Kind::None;
    int32_t number = 0;
    const char* text = "";

    static FormatArg of_number(int32_t value) { return {Kind::Number, value, ""}; }
    static FormatArg of_text(const char* value) { return {Kind::Text, 0, value ? value : ""}; }
};

// Formats with format[0 .. format_length) (a NUL ends it earlier) into out,
// which holds out_size bytes; writes at most min(out_size, kFormatLimit) - 1
// bytes and a terminator (nothing when out_size is 0). Returns the length.
size_t sjis_format(char* out, size_t out_size, const char* format, size_t format_length,
                   const FormatArg& arg);

}  // namespace qln
