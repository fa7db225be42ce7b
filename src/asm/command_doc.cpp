#include "asm/command_doc.h"

#include <cstdio>

#include "engine/command_row.h"

namespace qln {
namespace {

const char* kind_of(char letter) {
    switch (letter) {
        case 'n':
            return "number";
        case 's':
            return "string";
        case 'w':
            return "word";
        default:
            return "list";
    }
}

// Table cells hold no bars or line ends.
std::string cell(const char* text) {
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (*p == '|') {
            out += "\\|";
        } else if (*p == '\n') {
            out += ' ';
        } else {
            out += *p;
        }
    }
    return out;
}

}  // namespace

std::string command_doc_markdown() {
    std::string md =
        "# Commands\n\n"
        "Every command of the scenario bytecode: its byte, its name in scenario assembly, what it\n"
        "does, its operands in order (`n` a number, `s` a string, `w` a word, a list last) with\n"
        "their meaning, what it leaves in the result registers and the errors it reports.\n"
        "Made from the command table by `qlndis --command-doc`; do not edit by hand\n"
        "(`scripts/update-command-doc.sh` writes it anew). Commands marked *not built yet*\n"
        "report error -100 without reading their operands.\n";
    char line[64];
    for (const CommandRow& row : command_table) {
        if (!row.name) continue;
        std::snprintf(line, sizeof line, "\n## 0x%02X `%s`\n\n", row.byte, row.name);
        md += line;
        md += cell(row.what);
        if (!row.built) md += " *(not built yet)*";
        md += "\n\n";
        if (row.operand_count == 0) {
            md += "Operands: none.\n";
        } else {
            md += "| # | operand | kind | meaning |\n|---|---|---|---|\n";
            for (uint8_t i = 0; i < row.operand_count; ++i) {
                const OperandRow& op = row.operands[i];
                std::snprintf(line, sizeof line, "| %u | `%s` | %s | ", unsigned(i + 1), op.name,
                              kind_of(op.letter));
                md += line;
                md += cell(op.meaning);
                md += " |\n";
            }
        }
        if (row.results && *row.results) md += "\nResults: " + cell(row.results) + "\n";
        if (row.errors && *row.errors) md += "\nErrors: " + cell(row.errors) + "\n";
    }
    return md;
}

std::string command_names_text() {
    std::string text;
    for (const CommandRow& row : command_table) {
        if (!row.name) continue;
        char line[64];
        std::snprintf(line, sizeof line, "%02x %s\r\n", row.byte, row.name);
        text += line;
    }
    return text;
}

}  // namespace qln
