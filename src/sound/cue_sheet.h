#pragma once
// Cue sheets of a CD image: one FILE (a raw BINARY image or a WAVE file)
// and its TRACKs, each with the INDEX 01 where it starts. Sheets that name
// more than one file, tracks out of order or times that are no CD times are
// refused with the line and what is wrong.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

enum class CueError : uint8_t {
    None,
    TooLarge,      // more than 64 KiB of text
    UnknownLine,   // a keyword a cue sheet does not have
    BadFile,       // FILE without a name or of a type other than BINARY or WAVE
    SecondFile,    // more than one FILE
    NoFile,        // TRACK before any FILE
    BadTrack,      // a track number outside 1..99, not increasing, or no type
    BadIndex,      // INDEX outside a track, a bad number or time, or times going back
    MissingIndex,  // a track without INDEX 01
    NoTracks,
    NoClosingQuote,
};

const char* cue_error_text(CueError error);

struct CueTrack {
    uint32_t number = 0;
    bool audio = false;  // AUDIO; anything else is data
    uint64_t start = 0;  // INDEX 01, in CD frames of 1/75 s from the image's start
    bool has_start = false;
};

struct CueSheet {
    std::string file;  // as written, relative to the sheet
    bool binary = false;
    std::vector<CueTrack> tracks;
};

// Parses text; on failure line is the 1-based line at fault (0: the sheet
// as a whole, as for a sheet without tracks).
CueError cue_parse(std::string_view text, CueSheet& out, size_t& line);

}  // namespace qln
