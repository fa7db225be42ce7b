// qlndis: prints a scenario file as scenario assembly text.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../common/read_input.h"
#include "asm/command_doc.h"
#include "asm/disassembler.h"
#include "base/limits.h"
#include "files/unpack.h"

namespace {

constexpr const char* kUsage =
    "usage: qlndis [-o OUT] FILE\n"
    "       qlndis [-o OUT] --command-doc | --command-names\n"
    "\n"
    "Prints a scenario file as scenario assembly text that qlnasm turns back\n"
    "into the same bytes. FILE may be packed (as the engine loads it) or a raw\n"
    "image (which starts with \"QLN\").\n"
    "\n"
    "  -o OUT   write the text to OUT instead of standard output\n"
    "  --command-doc\n"
    "           print the command reference (docs/commands.md) made from the\n"
    "           command table instead of disassembling a file\n"
    "  --command-names\n"
    "           print the command-names file of a game folder (QLN_CMDN.TXT:\n"
    "           \"xx name\" per command) made from the command table\n"
    "  --help   show this help\n";

int usage_error(const char* message) {
    std::fprintf(stderr, "qlndis: %s\n%s", message, kUsage);
    return 2;
}

// Writes text to output, or to standard output when output is empty.
int write_text(const std::string& text, const std::string& output) {
    if (output.empty()) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    errno = 0;
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "qlndis: cannot write %s: %s\n", output.c_str(),
                     std::strerror(errno ? errno : EIO));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string input;
    std::string output;
    bool command_doc = false;
    bool command_names = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--command-doc") {
            command_doc = true;
        } else if (arg == "--command-names") {
            command_names = true;
        } else if (arg == "-o") {
            if (++i >= argc) return usage_error("-o needs a file name");
            output = argv[i];
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return usage_error(("unknown option " + arg).c_str());
        } else if (input.empty()) {
            input = arg;
        } else {
            return usage_error("more than one input file");
        }
    }
    if (command_doc && command_names) {
        return usage_error("--command-doc and --command-names are one at a time");
    }
    if (command_doc || command_names) {
        if (!input.empty()) return usage_error("the table's texts take no input file");
        return write_text(command_doc ? qln::command_doc_markdown() : qln::command_names_text(),
                          output);
    }
    if (input.empty()) return usage_error("no input file");

    std::vector<uint8_t> file;
    if (!qln::tools::read_input("qlndis", input, file)) return 1;

    std::vector<uint8_t> image;
    if (file.size() >= 3 && std::memcmp(file.data(), "QLN", 3) == 0) {
        image = file;
    } else {
        // The packed layout: u16 unpacked length, u16 packed length, data.
        if (file.size() < 4) {
            std::fprintf(stderr, "qlndis: %s: neither a raw image nor a packed scenario\n",
                         input.c_str());
            return 1;
        }
        const size_t unpacked = file[0] | file[1] << 8;
        const size_t packed = file[2] | file[3] << 8;
        if (packed != file.size() - 4) {
            std::fprintf(stderr,
                         "qlndis: %s: packed length %zu does not match the file (%zu bytes)\n",
                         input.c_str(), packed, file.size());
            return 1;
        }
        image.resize(unpacked);
        if (!qln::unpack_a(file.data() + 4, packed, image.data(), unpacked)) {
            std::fprintf(stderr, "qlndis: %s: packed data is damaged\n", input.c_str());
            return 1;
        }
    }

    return write_text(qln::disassemble(image.data(), image.size()), output);
}
