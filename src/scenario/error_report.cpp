// The scenario error report: the command name and error text come from two
// text files, read again at every report so a game can change them; the
// detail line is formatted from the handler's format and arguments.

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "scenario/error_format.h"
#include "files/file_read.h"
#include "scenario/interp.h"
#include "engine/engine.h"

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

void lookup(Engine& engine, const FileSetting& file, bool hex, uint32_t number, char* field,
            size_t field_size) {
    FileRef ref;
    ref.name = file.name;
    ref.entry = file.entry;
    ref.compressed = file.compressed;
    std::vector<uint8_t> bytes;
    // A file that cannot be read, or has no matching line, leaves the field as it was.
    if (file_read(engine, ref, bytes)) find_line(bytes, hex, number, field, field_size);
}

}  // namespace

int32_t err_report(Engine& engine, int32_t code, const char* format, ...) {
    ScenarioErrorRecord& record = engine.interp.error;
    record.command = engine.interp.command_byte;
    record.error_number = static_cast<uint32_t>(-int64_t(code));
    lookup(engine, engine.settings.command_names_file, true, record.command, record.command_name,
           sizeof record.command_name);
    lookup(engine, engine.settings.error_messages_file, false, record.error_number,
           record.error_text, sizeof record.error_text);
    va_list args;
    va_start(args, format);
    error_format(record.detail, sizeof record.detail, format, args);
    va_end(args);
    return code;
}

}  // namespace qln
