#pragma once
// Where and why assembling failed.

#include <string>
#include <string_view>

namespace qln {

struct AsmError {
    int line = 0;  // 1-based; 0 when the error concerns the whole source
    int col = 0;   // 1-based byte column; 0 when unknown
    std::string message;

    // "file:line:col: message"
    std::string format(std::string_view file) const;
};

}  // namespace qln
