#include "platform/game_data_dir.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace qln {
namespace {

bool make_dirs(const std::string& path) {
    for (size_t at = 1; at <= path.size(); ++at) {
        if (at != path.size() && path[at] != '/') continue;
        const std::string part = path.substr(0, at);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool game_data_dir(const std::string& game_dir, std::string& folder) {
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
        base = std::string(home) + "/.local/share";
    } else {
        return false;
    }
    std::string dir = game_dir;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    std::string name = dir.substr(dir.find_last_of('/') + 1);
    for (char& c : name)
        if (c == '.' || uint8_t(c) < 0x20) c = '_';
    if (name.empty()) name = "root";
    uint64_t hash = 14695981039346656037ull;  // FNV-1a of the whole path
    for (unsigned char c : dir) hash = (hash ^ c) * 1099511628211ull;
    char tag[20];
    std::snprintf(tag, sizeof tag, "-%08x", unsigned(hash ^ (hash >> 32)));
    folder = base + "/quillon/" + name + tag;
    return make_dirs(folder);
}

}  // namespace qln
