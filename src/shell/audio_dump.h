#pragma once
// What the mixer played in a headless run, written to a host file as a
// 44,100 Hz stereo 16-bit WAV (the runner's --dump-audio).

#include <string>

namespace qln {

struct Engine;

// The file is written beside and renamed, so a failure leaves no half file.
[[nodiscard]] bool audio_dump_write(const Engine& engine, const std::string& host_path);

}  // namespace qln
