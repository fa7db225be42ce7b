#include "files/file_paths.h"

#include <algorithm>
#include <cstdio>

#include "base/ascii.h"
#include "engine/engine.h"
#include "files/path_split.h"
#include "files/wildcard.h"
#include "platform/host_dirs.h"
#include "platform/host_files.h"
#include "tables/tables.h"

namespace qln {
namespace {

// The absolute form of a mapped path with "." and ".." taken out, so that no
// spelling of a path can leave a folder unnoticed.
std::string absolute_normal(const std::string& mapped) {
    std::string full = mapped;
    if (full.empty() || full[0] != '/') {
        std::string cwd;
        if (!host_cwd(cwd)) cwd = "/";
        full = cwd + "/" + full;
    }
    std::vector<std::string> parts;
    size_t i = 0;
    while (i < full.size()) {
        size_t end = full.find('/', i);
        if (end == std::string::npos) end = full.size();
        const std::string part = full.substr(i, end - i);
        i = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out;
    for (const std::string& part : parts) out += "/" + part;
    return out.empty() ? "/" : out;
}

// The rest of path below root ("" for root itself), or false when the path
// is not inside root.
bool inside(const std::string& path, const std::string& root, std::string& rest) {
    if (root.empty()) return false;
    if (root == "/") {
        rest = path.substr(1);
        return true;
    }
    if (path.compare(0, root.size(), root) != 0) return false;
    if (path.size() == root.size()) {
        rest.clear();
        return true;
    }
    if (path[root.size()] != '/') return false;
    rest = path.substr(root.size() + 1);
    return true;
}

bool overlay_on(const FileAccess& files) {
    return !files.save_dir.empty() && !files.game_dir.empty() && files.save_dir != files.game_dir;
}

// Where writes may go: the save folder, else the game folder.
const std::string& write_root(const FileAccess& files) {
    return files.save_dir.empty() ? files.game_dir : files.save_dir;
}

std::string below(const std::string& root, const std::string& rest) {
    std::string folded;
    const std::string joined = rest.empty() ? root : (root == "/" ? "/" : root + "/") + rest;
    return host_path_fold(joined, folded) ? folded : joined;
}

std::string parent_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

// The save folder's copy of a directory the game folder has.
void mirror_parent(const FileAccess& files, const std::string& save_path) {
    const std::string parent = parent_of(save_path);
    std::string rest;
    if (host_path_kind(parent) != HostPathKind::Missing || !inside(parent, files.save_dir, rest)) {
        return;
    }
    if (host_path_kind(below(files.game_dir, rest)) == HostPathKind::Directory) {
        (void)host_dir_make_all(parent);
    }
}

const char* use_name(FileUse use) {
    switch (use) {
        case FileUse::Read:
            return "read of";
        case FileUse::Write:
            return "write of";
        case FileUse::Remove:
            return "delete of";
        case FileUse::Enter:
            return "directory change to";
    }
    return "use of";
}

// The overlay's choice of host path for an absolute, normalised path.
bool resolve(Engine& engine, const std::string& mapped, FileUse use, std::string& host) {
    const FileAccess& files = engine.files;
    const std::string full = absolute_normal(mapped);
    std::string rest;
    // The save folder first: it may lie inside the game folder.
    const bool in_save = inside(full, files.save_dir, rest);
    const bool in_game = !in_save && inside(full, files.game_dir, rest);
    const bool writing = use == FileUse::Write || use == FileUse::Remove;
    // Runs that may not touch the host (the fuzzers) change nothing at all.
    if (use != FileUse::Read && !engine.shell.host_effects_allowed) return false;
    if (files.sandbox) {
        std::string ignored;
        const bool allowed = writing
                                 ? (overlay_on(files) ? in_save || in_game
                                                      : inside(full, write_root(files), ignored))
                                 : in_save || in_game;
        if (!allowed) {
            sandbox_refusal(engine, use_name(use), full);
            return false;
        }
    }
    if (!overlay_on(files) || (!in_save && !in_game)) {
        host = mapped;
        return true;
    }
    const std::string saved = below(files.save_dir, rest);
    if (writing) {
        host = saved;
        if (use == FileUse::Write) mirror_parent(files, saved);
        return true;
    }
    host = host_path_kind(saved) != HostPathKind::Missing ? saved : below(files.game_dir, rest);
    return true;
}

void add_matches(const std::string& host_dir, const std::string& scenario_dir,
                 const std::string& pattern, std::vector<FileMatch>& matches,
                 std::vector<std::string>& seen) {
    std::vector<HostDirEntry> entries;
    if (!host_dir_list(host_dir, entries)) return;
    for (const HostDirEntry& e : entries) {
        std::string name;
        if (!utf8_to_sjis(e.name.data(), e.name.size(), name)) continue;  // not nameable
        if (!wildcard_match(pattern, name)) continue;
        std::string folded = ascii_lower(name);
        if (std::find(seen.begin(), seen.end(), folded) != seen.end()) continue;
        seen.push_back(std::move(folded));
        FileMatch m;
        m.scenario_path = scenario_dir + name;
        m.host_path = (host_dir == "/" ? "/" : host_dir + "/") + e.name;
        m.size = e.size;
        m.directory = e.directory;
        matches.push_back(std::move(m));
    }
}

}  // namespace

std::string file_operand_path(Engine& engine, const char* name, int32_t dir) {
    std::string path;
    if (dir >= 0) {
        const char* prefix = sysstr_get(engine, dir);
        if (prefix) path = prefix;
    }
    path += name ? name : "";
    return path;
}

bool file_host_path(Engine& engine, const char* sjis_path, FileUse use, std::string& host_path) {
    host_path.clear();
    std::string mapped;
    if (!host_path_map(sjis_path, mapped)) return false;
    return resolve(engine, mapped, use, host_path);
}

bool file_matches(Engine& engine, const char* sjis_pattern, std::vector<FileMatch>& matches,
                  bool save_side_only) {
    matches.clear();
    const PathParts parts = path_split(sjis_pattern ? sjis_pattern : "");
    const std::string scenario_dir(parts.directory);
    const std::string pattern(parts.name);
    if (pattern.empty()) return true;
    std::string mapped;
    if (!host_path_map(scenario_dir.empty() ? "." : scenario_dir.c_str(), mapped)) return false;
    std::string dir;
    if (!resolve(engine, mapped, FileUse::Read, dir)) return false;
    std::vector<std::string> seen;
    const FileAccess& files = engine.files;
    const std::string full = absolute_normal(mapped);
    std::string rest;
    const bool in_folders =
        inside(full, files.save_dir, rest) || inside(full, files.game_dir, rest);
    if (overlay_on(files) && in_folders) {
        add_matches(below(files.save_dir, rest), scenario_dir, pattern, matches, seen);
        if (!save_side_only) {
            add_matches(below(files.game_dir, rest), scenario_dir, pattern, matches, seen);
        }
        std::sort(matches.begin(), matches.end(), [](const FileMatch& a, const FileMatch& b) {
            return a.scenario_path < b.scenario_path;
        });
    } else {
        add_matches(dir, scenario_dir, pattern, matches, seen);
    }
    return true;
}

void sandbox_refusal(Engine& engine, const char* what, const std::string& detail) {
    ++engine.files.refusals;
    std::fprintf(stderr, "quillon: sandbox: refused the %s \"%s\"\n", what, detail.c_str());
}

}  // namespace qln
