#include "files/profile.h"

#include <cstdint>
#include <vector>

#include "base/sjis.h"
#include "platform/host_files.h"

namespace qln {
namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

uint8_t fold(uint8_t c) {
    return (c >= 'a' && c <= 'z') ? static_cast<uint8_t>(c - 32) : c;
}

// ASCII case folding that leaves the trail byte of a double-byte character
// alone, so two different characters never compare equal.
bool names_equal(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<uint8_t>(a[i]);
        const auto cb = static_cast<uint8_t>(b[i]);
        if (sjis_is_lead_byte(ca) && i + 1 < a.size()) {
            if (ca != cb || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (fold(ca) != fold(cb)) return false;
    }
    return true;
}

// Text up to the first line break.
std::string_view one_line(std::string_view s) {
    const size_t cut = s.find_first_of("\r\n");
    return cut == std::string_view::npos ? s : s.substr(0, cut);
}

struct Line {
    size_t start = 0;         // offset of the line's first byte
    size_t end = 0;           // offset just past its text (before the line end)
    size_t next = 0;          // offset of the next line
    bool terminated = false;  // ends in a line feed
};

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // trimmed, quotes removed
};

ParsedLine parse_line(std::string_view text) {
    ParsedLine p;
    std::string_view t = trim(text);
    if (!t.empty() && t.front() == '[') {
        t.remove_prefix(1);
        const size_t close = t.find(']');
        p.kind = LineKind::Section;
        p.name = trim(close == std::string_view::npos ? t : t.substr(0, close));
        return p;
    }
    const size_t eq = t.find('=');
    if (eq == std::string_view::npos) return p;
    p.kind = LineKind::Key;
    p.name = trim(t.substr(0, eq));
    std::string_view v = trim(t.substr(eq + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    p.value = v;
    return p;
}

std::vector<Line> split_lines(std::string_view file) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < file.size()) {
        Line l;
        l.start = pos;
        size_t lf = file.find('\n', pos);
        if (lf == std::string_view::npos) {
            // A last line ending in a bare carriage return reads as it will
            // once a line feed is appended after it.
            l.end = (file.back() == '\r') ? file.size() - 1 : file.size();
            l.next = file.size();
        } else {
            l.terminated = true;
            l.end = (lf > pos && file[lf - 1] == '\r') ? lf - 1 : lf;
            l.next = lf + 1;
        }
        lines.push_back(l);
        pos = l.next;
    }
    return lines;
}

// What completes an unterminated last line: a lone carriage return only
// lacks its line feed.
std::string_view line_completion(std::string_view file, std::string_view eol) {
    return (!file.empty() && file.back() == '\r') ? std::string_view("\n") : eol;
}

std::string_view line_end_of(std::string_view file) {
    const size_t lf = file.find('\n');
    if (lf == std::string_view::npos) return "\r\n";
    return (lf > 0 && file[lf - 1] == '\r') ? "\r\n" : "\n";
}

}  // namespace

std::string profile_lookup(std::string_view file, std::string_view section, std::string_view key,
                           bool* found) {
    if (found) *found = false;
    bool in_section = false;
    bool seen_section = false;
    for (const Line& l : split_lines(file)) {
        const ParsedLine p = parse_line(file.substr(l.start, l.end - l.start));
        if (p.kind == LineKind::Section) {
            // Only the first section of that name counts.
            if (in_section) break;
            in_section = !seen_section && names_equal(p.name, section);
            seen_section = seen_section || in_section;
        } else if (p.kind == LineKind::Key && in_section && names_equal(p.name, key)) {
            if (found) *found = true;
            return std::string(p.value);
        }
    }
    return std::string();
}

std::string profile_update(std::string_view file, std::string_view section, std::string_view key,
                           std::string_view value) {
    section = trim(one_line(section));
    key = trim(one_line(key));
    value = one_line(value);
    const std::string_view eol = line_end_of(file);
    const std::vector<Line> lines = split_lines(file);

    std::string entry;
    size_t replace_start = 0, replace_end = 0;  // bytes of file to replace with entry
    bool placed = false;
    bool in_section = false;
    size_t insert_at = 0;  // just past the section's last non-blank line
    for (const Line& l : lines) {
        const ParsedLine p = parse_line(file.substr(l.start, l.end - l.start));
        if (p.kind == LineKind::Section) {
            if (in_section) break;
            if (names_equal(p.name, section)) {
                in_section = true;
                insert_at = l.next;
                if (!l.terminated) {  // the header is the last line, without a line end
                    entry = std::string(line_completion(file, eol));
                    insert_at = l.next;
                }
            }
            continue;
        }
        if (!in_section) continue;
        if (p.kind == LineKind::Key && names_equal(p.name, key)) {
            // The line keeps its key as written and takes the new value.
            entry.assign(p.name);
            entry += '=';
            entry += value;
            replace_start = l.start;
            replace_end = l.end;
            placed = true;
            break;
        }
        if (!trim(file.substr(l.start, l.end - l.start)).empty()) {
            insert_at = l.next;
            entry.clear();
            if (!l.terminated) {
                entry = std::string(line_completion(file, eol));
                insert_at = l.next;
            }
        }
    }
    std::string out;
    out.reserve(file.size() + section.size() + key.size() + value.size() + 8);
    if (placed) {
        out.append(file.substr(0, replace_start));
        out.append(entry);
        out.append(file.substr(replace_end));
        return out;
    }
    std::string line(key);
    line += '=';
    line += value;
    if (in_section) {
        out.append(file.substr(0, insert_at));
        out.append(entry);  // a line end when the previous line had none
        out.append(line);
        out.append(eol);
        out.append(file.substr(insert_at));
        return out;
    }
    out.append(file);
    if (!file.empty() && file.back() != '\n') out.append(line_completion(file, eol));
    out += '[';
    out.append(section);
    out += ']';
    out.append(eol);
    out.append(line);
    out.append(eol);
    return out;
}

std::string profile_read_host(const std::string& host_path, std::string_view section,
                              std::string_view key) {
    std::vector<uint8_t> bytes;
    if (!host_file_read_all(host_path, bytes, kProfileFileMax)) return std::string();
    const std::string_view file(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::string value = profile_lookup(file, section, key);
    if (value.size() > kProfileValueMax) value.resize(kProfileValueMax);
    return value;
}

bool profile_write_host(const std::string& host_path, std::string_view section,
                        std::string_view key, std::string_view value,
                        const ProfileWriteFault* fault) {
    std::vector<uint8_t> bytes;
    const bool exists = host_path_kind(host_path) != HostPathKind::Missing;
    // An existing file that cannot be read is never replaced.
    if (exists && !host_file_read_all(host_path, bytes, kProfileFileMax)) return false;
    const std::string_view old(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::string updated = profile_update(old, section, key, value);

    WriteReplaceFault crash;
    crash.fail_before_rename = fault && fault->fail_before_rename;
    return host_file_write_replace(host_path, reinterpret_cast<const uint8_t*>(updated.data()),
                                   updated.size(), &crash);
}

std::string profile_read(const char* path, const char* section, const char* key) {
    std::string host;
    if (!path || !host_path_map(path, host)) return std::string();
    return profile_read_host(host, section ? section : "", key ? key : "");
}

bool profile_write(const char* path, const char* section, const char* key, const char* value) {
    std::string host;
    if (!path || !host_path_map(path, host)) return false;
    return profile_write_host(host, section ? section : "", key ? key : "", value ? value : "");
}

}  // namespace qln
