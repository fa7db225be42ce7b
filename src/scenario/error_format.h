#pragma once
// The detail formatter of the error report: %d (int32), %s (text), %c (one
// byte) and %%; a percent sign before any other character writes nothing for
// either, and a double-byte character is copied as a pair, never taken for a
// format character. The output is always terminated and never overruns.

#include <cstdarg>
#include <cstddef>

namespace qln {

void error_format(char* out, size_t out_size, const char* format, va_list args);

}  // namespace qln
