// The scenario error report: the command name and error text come from two
// text files, read again at every report so a game can change them; the
// detail line is formatted from the handler's format and arguments.

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/command_row.h"
#include "engine/engine.h"
#include "files/file_read.h"
#include "scenario/error_format.h"
#include "scenario/error_hint.h"
#include "scenario/interp.h"

namespace qln {
namespace {

// Scans "NUMBER separators TEXT\r\n" lines for number; hex = lower-case
// hexadecimal digits only. Copies the text into field (cut to fit) and returns
// true on a match. An empty line or a NUL ends the scan without a match.
bool find_line(const std::vector<uint8_t>& bytes, bool hex, uint32_t number, char* field,
               size_t field_size) {
    const uint8_t* p = bytes.data();
    const uint8_t* end = p + bytes.size();
    while (p < end && *p != '\r' && *p != 0) {
        uint32_t value = 0;
        for (; p < end; ++p) {
            const uint8_t c = *p;
            if (c >= '0' && c <= '9') {
                value = value * (hex ? 16 : 10) + (c - '0');
            } else if (hex && c >= 'a' && c <= 'f') {
                value = value * 16 + (c - 'a' + 10);
            } else {
                break;
            }
        }
        if (value == number) {
            while (p < end && (*p == ' ' || *p == '\t' || *p == ',')) ++p;
            size_t n = 0;
            while (p + n < end && p[n] != '\r' && p[n] != 0 && n + 1 < field_size) ++n;
            std::memcpy(field, p, n);
            field[n] = '\0';
            return true;
        }
        const void* lf = std::memchr(p, '\n', end - p);
        if (!lf) return false;
        p = static_cast<const uint8_t*>(lf) + 1;
    }
    return false;
}

bool lookup(Engine& engine, const FileSetting& file, bool hex, uint32_t number, char* field,
            size_t field_size) {
    FileRef ref;
    ref.name = file.name;
    ref.entry = file.entry;
    ref.compressed = file.compressed;
    std::vector<uint8_t> bytes;
    // A file that cannot be read, or has no matching line, leaves the field as it was.
    return file_read(engine, ref, bytes) && find_line(bytes, hex, number, field, field_size);
}

// The fields the files could not fill, in English: "command win_open (no line
// 0x94 in QLN_CMDN.TXT); error 106: no such window (no line in QLN_ERRM.TXT)".
void hint_fill(const Engine& engine, ScenarioErrorRecord& record, bool name_found,
               bool text_found) {
    record.hint[0] = '\0';
    if (name_found && text_found) return;
    const char* name = command_table[record.command & 0xFF].name;
    int used = 0;
    const auto add = [&](const char* format, auto... values) {
        if (used >= int(sizeof record.hint)) return;
        const int n =
            std::snprintf(record.hint + used, sizeof record.hint - size_t(used), format, values...);
        if (n > 0) used += n;
    };
    if (!name_found) {
        add("command %s (no line %02x in %s)", name ? name : "(none: no command has this byte)",
            record.command & 0xFF, engine.settings.command_names_file.name);
    }
    if (!text_found) {
        const char* what = error_description(record.error_number);
        add("%serror %u%s%s (no line in %s)", name_found ? "" : "; ", record.error_number,
            *what ? ": " : "", what, engine.settings.error_messages_file.name);
    }
}

}  // namespace

int32_t err_report(Engine& engine, int32_t code, const char* format, ...) {
    ScenarioErrorRecord& record = engine.interp.error;
    record.command = engine.interp.command_byte;
    record.error_number = static_cast<uint32_t>(-int64_t(code));
    const bool name_found = lookup(engine, engine.settings.command_names_file, true, record.command,
                                   record.command_name, sizeof record.command_name);
    const bool text_found =
        lookup(engine, engine.settings.error_messages_file, false, record.error_number,
               record.error_text, sizeof record.error_text);
    hint_fill(engine, record, name_found, text_found);
    va_list args;
    va_start(args, format);
    error_format(record.detail, sizeof record.detail, format, args);
    va_end(args);
    return code;
}

}  // namespace qln
