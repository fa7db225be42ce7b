#pragma once
// Pieces of the disassembler shared between its files. Internal.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "base/cp932.h"

namespace qln {

struct DisContext {
    const uint8_t* image = nullptr;
    size_t len = 0;
    size_t t_offset = 0;           // the string table
    bool literal_strings = false;  // print "text" rather than #offset
    Cp932* codec = nullptr;
    const std::set<uint32_t>* labels = nullptr;  // null while looking for targets
};

// What decoding found in the commands: code targets and string-table words,
// in code order.
struct DisFindings {
    std::vector<uint16_t> targets;
    std::vector<uint16_t> string_words;
};

// Decodes the command at pos, which must end before end. Returns its length,
// or 0 when its operands run past end. With text non-null it is printed.
size_t dis_command(const DisContext& ctx, size_t pos, size_t end, DisFindings& found,
                   std::string* text);

// The string at string-table word w, or false when it does not end inside
// the image.
bool dis_table_string(const DisContext& ctx, uint16_t w, std::string& bytes);

std::string dis_label(uint32_t offset);
std::string dis_hex(uint32_t value, int digits);

// Prints image[from .. to) as .bytes lines, starting a new line (with its
// label) at every offset in labels.
void dis_bytes(const uint8_t* image, size_t from, size_t to, const std::set<uint32_t>& labels,
               std::string& out);

// Prints the start-up settings records in image[5 .. h).
void dis_settings(const uint8_t* image, size_t h, Cp932& codec, std::string& out);

}  // namespace qln
