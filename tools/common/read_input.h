#pragma once
// The tools' input: read whole as a stream (pipes too), at most as much as the
// engine itself reads. A failure is one line on standard error that names the
// tool, the file and the cause.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "base/limits.h"

namespace qln::tools {

inline bool read_input(const char* tool, const std::string& path, std::vector<uint8_t>& out) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot read %s: %s\n", tool, path.c_str(),
                     std::strerror(errno ? errno : EIO));
        return false;
    }
    // At most the cap and one byte more, so an oversized file is told apart.
    char chunk[65536];
    while (out.size() <= kFileReadMax && in.read(chunk, sizeof chunk).gcount() > 0)
        out.insert(out.end(), chunk, chunk + in.gcount());
    if (out.size() > kFileReadMax) {
        std::fprintf(stderr, "%s: cannot read %s: larger than the 256 MiB a tool reads\n", tool,
                     path.c_str());
        return false;
    }
    return true;
}

}  // namespace qln::tools
