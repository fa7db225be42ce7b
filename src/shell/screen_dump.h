#pragma once
// The screen picture written to a host file as a 24-bit bitmap, in the same
// layout as the picture-saving command (the runner's --dump-screen).

#include <string>

namespace qln {

struct Engine;

// False when there is no screen picture or the file cannot be written; the
// file is written beside and renamed, so a failure leaves no half file.
[[nodiscard]] bool screen_dump_write(Engine& engine, const std::string& host_path);

}  // namespace qln
