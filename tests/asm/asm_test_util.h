#pragma once
// Helpers for the assembler and disassembler tests.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "asm/assembler.h"
#include "asm/disassembler.h"
#include "engine/command_row.h"

namespace qln::test {

using Bytes = std::vector<uint8_t>;

// Bytes written compactly: hex pairs and 'quoted text', spaces between free,
// e.g. hex("'QLN' 05 00 07 00").
inline Bytes hex(std::string_view s) {
    Bytes out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\'') {
            while (++i < s.size() && s[i] != '\'') out.push_back(uint8_t(s[i]));
        } else if (s[i] != ' ') {
            out.push_back(uint8_t(std::stoi(std::string(s.substr(i++, 2)), nullptr, 16)));
        }
    }
    return out;
}

inline Bytes assemble_ok(std::string_view source) {
    Bytes image;
    AsmError error;
    EXPECT_TRUE(assemble(source, image, error)) << error.format("test.qasm");
    return image;
}

inline AsmError assemble_error(std::string_view source) {
    Bytes image;
    AsmError error;
    EXPECT_FALSE(assemble(source, image, error)) << source;
    EXPECT_TRUE(image.empty());
    return error;
}

// The code bytes of a scenario without settings records: after "QLN", H, T.
inline Bytes code_of(const Bytes& image) {
    if (image.size() < 7) return {};
    const size_t t = image[5] | image[6] << 8;
    return Bytes(image.begin() + 7, image.begin() + static_cast<std::ptrdiff_t>(t));
}

inline Bytes table_of(const Bytes& image) {
    const size_t h = image[3] | image[4] << 8;
    const size_t t = image[h] | image[h + 1] << 8;
    return Bytes(image.begin() + static_cast<std::ptrdiff_t>(t), image.end());
}

// Disassembling and assembling again must give the same bytes.
inline ::testing::AssertionResult round_trips(const Bytes& image) {
    const std::string text = disassemble(image.data(), image.size());
    Bytes again;
    AsmError error;
    if (!assemble(text, again, error))
        return ::testing::AssertionFailure() << error.format("dis") << "\n" << text;
    if (again != image) {
        size_t i = 0;
        while (i < again.size() && i < image.size() && again[i] == image[i]) ++i;
        return ::testing::AssertionFailure() << "first difference at byte " << i << " (sizes "
                                             << image.size() << ", " << again.size() << ")\n"
                                             << text;
    }
    return ::testing::AssertionSuccess();
}

// Every command of the table, one a line, each operand written out.
inline std::string every_command_source() {
    const std::pair<char, const char*> samples[] = {
        {'w', "0x0102"},     {'n', "v0[1] + 300"},      {'s', "\"s\""},
        {'J', "0x10, 0x20"}, {'C', "[\"c\", 0x30, 1]"}, {'K', "px: 1, 99: 2"},
        {'P', "[1, 2]"},     {'T', "1, \"t\", [1: 3]"}};
    std::string source;
    for (const CommandRow& row : command_table) {
        if (!row.name) continue;
        source += std::string("    ") + row.name;
        for (const char* p = row.signature; *p; ++p) {
            source += p == row.signature ? " " : ", ";
            for (const auto& [kind, text] : samples) source += kind == *p ? text : "";
        }
        source += "\n";
    }
    return source;
}

}  // namespace qln::test
