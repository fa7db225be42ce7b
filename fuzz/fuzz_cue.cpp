// Cue sheets from arbitrary bytes: the line split, the quoting, the track
// and index rules. An accepted sheet has one file and increasing tracks
// that all start.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sound/cue_sheet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qln::CueSheet sheet;
    size_t line = 0;
    const qln::CueError e =
        qln::cue_parse(std::string_view(reinterpret_cast<const char*>(data), size), sheet, line);
    if (e != qln::CueError::None) return 0;
    if (sheet.file.empty() || sheet.tracks.empty()) __builtin_trap();
    for (size_t i = 0; i < sheet.tracks.size(); ++i) {
        const qln::CueTrack& t = sheet.tracks[i];
        if (!t.has_start || t.number < 1 || t.number > 99) __builtin_trap();
        if (i > 0 &&
            (t.number <= sheet.tracks[i - 1].number || t.start < sheet.tracks[i - 1].start))
            __builtin_trap();
    }
    return 0;
}
