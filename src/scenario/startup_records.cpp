// The start-up settings records a start-up scenario carries between offset 5
// and its header word H: a tag byte, the u16 offset of the next record, and
// the payload. After each payload the reader must stand exactly at that offset.

#include <cstring>
#include <string>
#include <vector>

#include "base/byte_order.h"
#include "engine/engine.h"
#include "files/file_read.h"
#include "platform/host_files.h"
#include "scenario/scenario.h"

namespace qln {
namespace {

// A bounded reader over the record area.
struct RecordReader {
    const uint8_t* image;
    uint32_t length;
    uint32_t pos;

    bool u16(uint16_t& value) {
        if (pos + 2 > length) return false;
        value = read_u16(image + pos);
        pos += 2;
        return true;
    }
    // A NUL-terminated text inside the image; pos ends after the NUL.
    bool text(const char*& value, uint32_t& size) {
        const void* nul = pos < length ? std::memchr(image + pos, 0, length - pos) : nullptr;
        if (!nul) return false;
        value = reinterpret_cast<const char*>(image + pos);
        size = static_cast<uint32_t>(static_cast<const uint8_t*>(nul) - (image + pos));
        pos += size + 1;
        return true;
    }
};

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// Parses a decimal with an optional sign; empty text is 0. Stops at the first
// other character.
long parse_decimal(const char*& p, const char* end) {
    while (p < end && is_blank(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    long value = 0;
    while (p < end && *p >= '0' && *p <= '9') {
        value = value * 10 + (*p++ - '0');
        if (value > 0x7FFFFFFF) value = 0x7FFFFFFF;  // saturate: the field is 16 bits anyway
    }
    while (p < end && is_blank(*p)) ++p;
    return negative ? -value : value;
}

// Text of a setting, without surrounding double quotes when it has them.
void copy_unquoted(char* field, const char* text, uint32_t size) {
    if (size >= 2 && text[0] == '"' && text[size - 1] == '"') {
        ++text;
        size -= 2;
    }
    std::string copy(text, size);
    settings_copy_text(field, kPathMax, copy.c_str());
}

// "name,entry,flag" where the name may be quoted (and may then hold commas);
// the comma after the name is required, entry and flag may be left out.
bool parse_file_setting(const char* text, uint32_t size, FileSetting& out) {
    const char* p = text;
    const char* end = text + size;
    std::string name;
    while (p < end && is_blank(*p)) ++p;
    if (p < end && *p == '"') {
        const char* close = static_cast<const char*>(std::memchr(p + 1, '"', end - p - 1));
        if (!close) return false;  // a quoted name must be closed
        name.assign(p + 1, close);
        p = close + 1;
        while (p < end && is_blank(*p)) ++p;
        if (p >= end || *p != ',') return false;
    } else {
        const char* comma = static_cast<const char*>(std::memchr(p, ',', end - p));
        if (!comma) return false;
        name.assign(p, comma);
        p = comma;
    }
    ++p;  // the comma after the name
    long entry = parse_decimal(p, end);
    long flag = 0;
    if (p < end && *p == ',') {
        ++p;
        flag = parse_decimal(p, end);
    }
    settings_copy_text(out.name, kPathMax, name.c_str());
    out.entry = static_cast<uint16_t>(entry);
    out.compressed = flag != 0;
    return true;
}

bool apply_number(RecordReader& r, uint16_t& field) {
    return r.u16(field);
}

}  // namespace

bool startup_apply_records(Settings& settings, const uint8_t* image, uint32_t length,
                           uint32_t* bad_at) {
    if (!image || length < 5) return false;
    const uint16_t header = read_u16(image + 3);
    RecordReader r{image, length, 5};
    uint32_t record_at = 5;
    const auto refuse = [&] {
        if (bad_at) *bad_at = record_at;
        return false;
    };
    while (r.pos < header) {
        record_at = r.pos;
        if (r.pos >= length) return refuse();
        const uint8_t tag = image[r.pos++];
        if (tag == 'X') break;
        uint16_t next = 0;
        if (!r.u16(next)) return refuse();
        const char* text = nullptr;
        uint32_t text_size = 0;
        bool ok = true;
        switch (tag) {
            case 'B':
                ok = apply_number(r, settings.buffer_count);
                break;
            case 'D':
                ok = apply_number(r, settings.system_string_count);
                break;
            case 'F':
                ok = apply_number(r, settings.byte_array_size);
                break;
            case 'I':
                ok = apply_number(r, settings.word_array1_size);
                break;
            case 'L':
                ok = apply_number(r, settings.dword_array_size);
                break;
            case 'Q':
                ok = apply_number(r, settings.local_variable_count);
                break;
            case 'S':
                ok = apply_number(r, settings.string_register_count);
                break;
            case 'V':
                ok = apply_number(r, settings.result_register_count);
                break;
            case 'W':
                ok = apply_number(r, settings.word_array2_size);
                break;
            case 'N':
                ok = r.u16(settings.screen_width) && r.u16(settings.screen_height);
                break;
            case 'P':
                ok = r.u16(settings.view_width) && r.u16(settings.view_height);
                break;
            case 'C':
            case 'E':
            case 'M': {
                FileSetting& target = tag == 'C'   ? settings.command_names_file
                                      : tag == 'E' ? settings.error_messages_file
                                                   : settings.cursor_file;
                ok = r.text(text, text_size) && parse_file_setting(text, text_size, target);
                break;
            }
            case 'T':
                ok = r.text(text, text_size);
                if (ok) copy_unquoted(settings.title, text, text_size);
                break;
            default:
                break;  // no payload of its own
        }
        if (!ok || r.pos != next) return refuse();
    }
    return true;
}

namespace {

// Why the packed bytes of a candidate could not be read, step by step.
std::string read_refusal(const char* name, uint16_t entry) {
    std::string host;
    if (!host_path_map(name, host)) return "not a usable file name";
    const HostPathKind kind = host_path_kind(host);
    if (kind == HostPathKind::Missing) return "not found";
    if (kind != HostPathKind::File) return "not a file";
    std::vector<uint8_t> raw;
    if (!file_read_path(name, entry, false, raw)) {
        if (entry == 0) return "cannot be read";
        return "not an archive holding entry " + std::to_string(entry);
    }
    if (raw.size() >= 3 && raw[0] == 'Q' && raw[1] == 'L' && raw[2] == 'N')
        return "not packed: a raw scenario image (qlnpack pack OUT FILE packs it)";
    if (raw.size() < 4) return "not packed (" + std::to_string(raw.size()) + " bytes)";
    const size_t packed = size_t(raw[2]) | (size_t(raw[3]) << 8);
    if (packed != raw.size() - 4) {
        return "not packed: its packed layout states " + std::to_string(packed) +
               " bytes of data but " + std::to_string(raw.size() - 4) + " follow";
    }
    const size_t unpacked = size_t(raw[0]) | (size_t(raw[1]) << 8);
    return "not packed: its data does not unpack to the " + std::to_string(unpacked) +
           " bytes it states";
}

}  // namespace

bool startup_check(Engine& engine, const char* name, uint16_t entry) {
    std::string why;
    return startup_check_why(engine, name, entry, why);
}

bool startup_check_why(Engine& engine, const char* name, uint16_t entry, std::string& why) {
    why.clear();
    std::vector<uint8_t> bytes;
    if (!file_read_path(name, entry, true, bytes)) {
        why = read_refusal(name, entry);
        return false;
    }
    const uint32_t length = static_cast<uint32_t>(bytes.size());
    if (length < 7 || bytes[0] != 'Q' || bytes[1] != 'L' || bytes[2] != 'N') {
        why = "not a scenario image (unpacked, it does not begin with QLN)";
        return false;
    }
    uint32_t bad_at = 0;
    if (!startup_apply_records(engine.settings, bytes.data(), length, &bad_at)) {
        why = "a bad settings record at offset " + std::to_string(bad_at);
        return false;
    }
    FileSetting& startup = engine.settings.startup;
    settings_copy_text(startup.name, kPathMax, name);
    startup.entry = entry;
    startup.compressed = true;
    return true;
}

}  // namespace qln
