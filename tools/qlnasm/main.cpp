// qlnasm: assembles scenario assembly text into a scenario file.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../common/read_input.h"
#include "asm/assembler.h"
#include "base/limits.h"

namespace {

constexpr const char* kUsage =
    "usage: qlnasm [-o OUT] [--raw] FILE.qasm\n"
    "\n"
    "Assembles scenario assembly text into a scenario file.\n"
    "\n"
    "  -o OUT   write to OUT (default: FILE with its extension replaced by .qln)\n"
    "  --raw    write the raw image instead of the packed layout the engine loads\n"
    "  --help   show this help\n"
    "\n"
    "The text format is described in docs/scenario-assembly.md.\n";

int usage_error(const char* message) {
    std::fprintf(stderr, "qlnasm: %s\n%s", message, kUsage);
    return 2;
}

std::string default_output(const std::string& input) {
    const size_t slash = input.find_last_of('/');
    const size_t dot = input.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return input.substr(0, dot) + ".qln";
    return input + ".qln";
}

}  // namespace

int main(int argc, char** argv) {
    std::string input;
    std::string output;
    bool raw = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--raw") {
            raw = true;
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
    if (input.empty()) return usage_error("no input file");
    if (output.empty()) output = default_output(input);

    std::vector<uint8_t> input_bytes;
    if (!qln::tools::read_input("qlnasm", input, input_bytes)) return 1;
    const std::string source(input_bytes.begin(), input_bytes.end());

    std::vector<uint8_t> bytes;
    qln::AsmError error;
    const bool ok =
        raw ? qln::assemble(source, bytes, error) : qln::assemble_packed(source, bytes, error);
    if (!ok) {
        std::fprintf(stderr, "%s\n", error.format(input).c_str());
        return 1;
    }
    errno = 0;
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "qlnasm: cannot write %s: %s\n", output.c_str(),
                     std::strerror(errno ? errno : EIO));
        return 1;
    }
    return 0;
}
