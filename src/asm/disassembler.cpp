// The disassembler's driver: the image layout, the choice between string
// literals and a verbatim string table, labels, and the order of the output.

#include "asm/disassembler.h"

#include <cstring>
#include <map>

#include "asm/dis_internal.h"
#include "asm/text_literal.h"
#include "base/byte_order.h"
#include "engine/command_row.h"

namespace qln {
namespace {

struct Item {
    size_t pos;
    size_t size;
    bool decoded;  // a command; otherwise raw bytes
};

// Whether the assembler, given the string operands as literals in code order,
// would build exactly the string table that is there.
bool pool_matches(const DisContext& ctx, const std::vector<uint16_t>& words, bool separate) {
    std::string pool;
    std::map<std::string, size_t> seen;
    std::string s;
    for (uint16_t w : words) {
        if (!dis_table_string(ctx, w, s)) return false;
        if (!separate) {
            const auto it = seen.find(s);
            if (it != seen.end()) {
                if (w != it->second) return false;
                continue;
            }
            seen.emplace(s, pool.size());
        }
        if (w != pool.size()) return false;
        pool += s;
        pool += '\0';
    }
    return pool.size() == ctx.len - ctx.t_offset &&
           std::memcmp(pool.data(), ctx.image + ctx.t_offset, pool.size()) == 0;
}

void verbatim_table(const DisContext& ctx, std::string& out) {
    out += ".strtab\n";
    size_t pos = ctx.t_offset;
    while (pos < ctx.len) {
        const void* nul = std::memchr(ctx.image + pos, 0, ctx.len - pos);
        if (!nul) {
            dis_bytes(ctx.image, pos, ctx.len, {}, out);
            return;
        }
        const size_t end = static_cast<const uint8_t*>(nul) - ctx.image;
        const std::string_view s(reinterpret_cast<const char*>(ctx.image + pos), end - pos);
        out += "    " + literal_quote(s, *ctx.codec) + "  ; #" +
               std::to_string(pos - ctx.t_offset) + "\n";
        pos = end + 1;
    }
}

}  // namespace

std::string disassemble(const uint8_t* image, size_t len) {
    Cp932 codec;
    std::string out = "; " + std::to_string(len) + " bytes\n";
    const std::set<uint32_t> no_labels;
    const bool has_header = len >= 7 && std::memcmp(image, "QLN", 3) == 0;
    const size_t h = has_header ? read_u16(image + 3) : 0;
    const bool scenario = has_header && h >= 5 && h + 2 <= len && read_u16(image + h) <= len;
    if (!scenario) {
        // Not a scenario image: keep every byte as it is.
        out += ".raw\n";
        dis_bytes(image, 0, len, no_labels, out);
        return out;
    }
    DisContext ctx;
    ctx.image = image;
    ctx.len = len;
    ctx.t_offset = read_u16(image + h);
    ctx.codec = &codec;
    const size_t code_begin = h + 2;
    const bool table_after_code = ctx.t_offset >= code_begin;
    const size_t code_end = table_after_code ? ctx.t_offset : len;

    // First pass: where the commands are, what they jump to and which strings
    // they name.
    std::vector<Item> items;
    DisFindings found;
    for (size_t pos = code_begin; pos < code_end;) {
        const size_t n = dis_command(ctx, pos, code_end, found, nullptr);
        if (n == 0 && command_table[image[pos]].name) {
            // Operands cut off by the end of the code: the rest is raw bytes.
            items.push_back(Item{pos, code_end - pos, false});
            break;
        }
        items.push_back(Item{pos, n ? n : 1, n != 0});
        pos += n ? n : 1;
    }

    bool separate = false;
    if (table_after_code) {
        ctx.literal_strings = pool_matches(ctx, found.string_words, false);
        if (!ctx.literal_strings && pool_matches(ctx, found.string_words, true)) {
            ctx.literal_strings = true;
            separate = true;
        }
    }

    // A target gets a label where a line can start: a command, any raw byte,
    // or the end of the code.
    std::vector<bool> line_start(code_end - code_begin + 1, false);
    for (const Item& it : items) {
        for (size_t i = 0; i < (it.decoded ? 1 : it.size); ++i)
            line_start[it.pos + i - code_begin] = true;
    }
    line_start[code_end - code_begin] = true;
    std::set<uint32_t> labels;
    for (uint16_t t : found.targets)
        if (t >= code_begin && t <= code_end && line_start[t - code_begin]) labels.insert(t);
    ctx.labels = &labels;

    if (separate) out += ".strings separate\n";
    if (!table_after_code) out += ".strtab_offset " + std::to_string(ctx.t_offset) + "\n";
    if (h > 5) {
        out += ".settings\n";
        dis_settings(image, h, codec, out);
    }
    out += ".code\n";
    std::string text;
    for (size_t i = 0; i < items.size();) {
        const Item& it = items[i];
        if (!it.decoded) {
            size_t end = it.pos + it.size;
            for (++i; i < items.size() && !items[i].decoded; ++i)
                end = items[i].pos + items[i].size;
            dis_bytes(image, it.pos, end, labels, out);
            continue;
        }
        if (labels.count(static_cast<uint32_t>(it.pos)))
            out += dis_label(static_cast<uint32_t>(it.pos)) + ":\n";
        text.clear();
        DisFindings ignored;
        dis_command(ctx, it.pos, code_end, ignored, &text);
        out += "    " + text + "\n";
        ++i;
    }
    if (labels.count(static_cast<uint32_t>(code_end)))
        out += dis_label(static_cast<uint32_t>(code_end)) + ":\n";
    if (table_after_code && !ctx.literal_strings && ctx.t_offset < len) verbatim_table(ctx, out);
    return out;
}

}  // namespace qln
