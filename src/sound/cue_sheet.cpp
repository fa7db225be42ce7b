#include "sound/cue_sheet.h"

#include <algorithm>

#include "base/ascii.h"

namespace qln {
namespace {

constexpr size_t kMaxText = 64 * 1024;

// The words of one line; a quoted word may hold blanks.
CueError split_line(std::string_view line, std::vector<std::string>& words) {
    words.clear();
    size_t at = 0;
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (at < line.size()) {
        if (blank(line[at])) {
            ++at;
        } else if (line[at] == '"') {
            const size_t close = line.find('"', at + 1);
            if (close == std::string_view::npos) return CueError::NoClosingQuote;
            words.emplace_back(line.substr(at + 1, close - at - 1));
            at = close + 1;
        } else {
            const size_t start = at;
            while (at < line.size() && !blank(line[at])) ++at;
            words.emplace_back(line.substr(start, at - start));
        }
    }
    return CueError::None;
}

bool small_number(const std::string& word, uint32_t max, uint32_t& value) {
    if (word.empty() || word.size() > 3) return false;
    value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + uint32_t(c - '0');
    }
    return value <= max;
}

// "mm:ss:ff" in CD frames; seconds below 60, frames below 75.
bool cd_time(const std::string& word, uint64_t& frames) {
    const size_t a = word.find(':'), b = word.find(':', a == std::string::npos ? a : a + 1);
    if (a == std::string::npos || b == std::string::npos) return false;
    uint32_t m = 0, s = 0, f = 0;
    if (!small_number(word.substr(0, a), 999, m) ||
        !small_number(word.substr(a + 1, b - a - 1), 59, s) ||
        !small_number(word.substr(b + 1), 74, f)) {
        return false;
    }
    frames = (uint64_t(m) * 60 + s) * 75 + f;
    return true;
}

CueError parse_line(const std::vector<std::string>& w, CueSheet& out) {
    const std::string key = ascii_lower(w[0]);
    if (key == "rem" || key == "title" || key == "performer" || key == "songwriter" ||
        key == "catalog" || key == "isrc" || key == "flags" || key == "cdtextfile" ||
        key == "pregap" || key == "postgap") {
        return CueError::None;
    }
    if (key == "file") {
        if (!out.file.empty()) return CueError::SecondFile;
        if (w.size() != 3 || w[1].empty()) return CueError::BadFile;
        const std::string type = ascii_lower(w[2]);
        if (type != "binary" && type != "wave") return CueError::BadFile;
        out.file = w[1];
        out.binary = type == "binary";
        return CueError::None;
    }
    if (key == "track") {
        if (out.file.empty()) return CueError::NoFile;
        uint32_t n = 0;
        if (w.size() != 3 || !small_number(w[1], 99, n) || n == 0) return CueError::BadTrack;
        if (!out.tracks.empty()) {
            if (n <= out.tracks.back().number) return CueError::BadTrack;
            if (!out.tracks.back().has_start) return CueError::MissingIndex;
        }
        CueTrack t;
        t.number = n;
        t.audio = ascii_lower(w[2]) == "audio";
        out.tracks.push_back(t);
        return CueError::None;
    }
    if (key == "index") {
        uint32_t n = 0;
        uint64_t at = 0;
        if (out.tracks.empty() || w.size() != 3 || !small_number(w[1], 99, n) ||
            !cd_time(w[2], at)) {
            return CueError::BadIndex;
        }
        if (n != 1) return CueError::None;  // the pregap's index 0 and sub-indexes
        CueTrack& t = out.tracks.back();
        const bool backwards =
            out.tracks.size() > 1 && at < out.tracks[out.tracks.size() - 2].start;
        if (t.has_start || backwards) return CueError::BadIndex;
        t.start = at;
        t.has_start = true;
        return CueError::None;
    }
    return CueError::UnknownLine;
}

}  // namespace

const char* cue_error_text(CueError error) {
    switch (error) {
        case CueError::None:
            return "no error";
        case CueError::TooLarge:
            return "the cue sheet is larger than 64 KiB";
        case CueError::UnknownLine:
            return "not a cue sheet line";
        case CueError::BadFile:
            return "FILE needs a name and the type BINARY or WAVE";
        case CueError::SecondFile:
            return "only one FILE (one image) is supported";
        case CueError::NoFile:
            return "TRACK before FILE";
        case CueError::BadTrack:
            return "a track number must be 1 to 99, increasing, with a type";
        case CueError::BadIndex:
            return "a bad INDEX (outside a track, not mm:ss:ff, or going back)";
        case CueError::MissingIndex:
            return "a track without INDEX 01";
        case CueError::NoTracks:
            return "no tracks";
        case CueError::NoClosingQuote:
            return "a closing quotation mark is missing";
    }
    return "unknown cue sheet error";
}

CueError cue_parse(std::string_view text, CueSheet& out, size_t& line) {
    out = CueSheet{};
    line = 0;
    if (text.size() > kMaxText) return CueError::TooLarge;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a UTF-8 mark
    std::vector<std::string> words;
    size_t at = 0;
    while (at <= text.size()) {
        const size_t end = std::min(text.find('\n', at), text.size());
        ++line;
        CueError e = split_line(text.substr(at, end - at), words);
        if (e == CueError::None && !words.empty()) e = parse_line(words, out);
        if (e != CueError::None) return e;
        at = end + 1;
    }
    line = 0;  // what follows is about the whole sheet
    if (out.tracks.empty()) return out.file.empty() ? CueError::NoFile : CueError::NoTracks;
    if (!out.tracks.back().has_start) return CueError::MissingIndex;
    return CueError::None;
}

}  // namespace qln
