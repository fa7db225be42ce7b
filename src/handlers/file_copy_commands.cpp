// Copying and deleting groups of files, with an optional progress callback
// that sees the phase (0 start, 1 progress, 2 end), the total and what is
// done so far.
#include "commands/command_table.h"

#include <memory>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/reentry.h"
#include "files/copy_chunk.h"
#include "files/file_paths.h"
#include "files/path_split.h"
#include "platform/host_dirs.h"
#include "platform/host_files.h"
#include "scenario/interp.h"
#include "tables/tables.h"

namespace qln {
namespace {

struct Progress {
    int32_t sub_buff = -1;
    int32_t entry = 0;
    std::string destination;  // string register 1 of a copy's calls
    bool on() const { return sub_buff >= 0; }
};

bool progress_call(Engine& engine, const Progress& p, int32_t phase, uint64_t total, uint64_t done,
                   const std::string& current) {
    result_set(engine, 1, phase);
    result_set(engine, 2, static_cast<int32_t>(static_cast<uint32_t>(total)));
    result_set(engine, 3, static_cast<int32_t>(static_cast<uint32_t>(done)));
    str_set(engine, 0, current.c_str());
    str_set(engine, 1, p.destination.c_str());
    return scn_invoke(engine, p.sub_buff, p.entry);
}

// The files (not directories) a pattern names.
std::vector<FileMatch> files_matching(Engine& engine, const std::string& pattern,
                                      bool save_side_only) {
    std::vector<FileMatch> matches;
    if (!file_matches(engine, pattern.c_str(), matches, save_side_only)) matches.clear();
    std::erase_if(matches, [](const FileMatch& m) { return m.directory; });
    return matches;
}

enum class CopyOutcome { Copied, Skipped, Failed };

// One file, chunk by chunk with progress calls after each chunk, or whole.
// Only bytes read are written; the copy replaces the destination only once
// it is complete, so a failure leaves the old destination as it was.
CopyOutcome copy_one(Engine& engine, const Progress& progress, const FileMatch& source,
                     const std::string& destination, uint32_t chunk, uint64_t total,
                     uint64_t& done) {
    HostFile in;
    std::string host;
    HostFileWriter out;
    if (!in.open(source.host_path) ||
        !file_host_path(engine, destination.c_str(), FileUse::Write, host) || !out.open(host)) {
        // With a callback a file that cannot be opened is passed over.
        return progress.on() ? CopyOutcome::Skipped : CopyOutcome::Failed;
    }
    const std::unique_ptr<uint8_t[]> buffer(new uint8_t[chunk]);
    for (uint64_t at = 0; at < in.size();) {
        const size_t len = static_cast<size_t>(std::min<uint64_t>(chunk, in.size() - at));
        if (!in.read_at(at, buffer.get(), len) || !out.write(buffer.get(), len)) {
            return CopyOutcome::Failed;
        }
        at += len;
        if (progress.on()) {
            done += len;
            (void)progress_call(engine, progress, 1, total, done, source.scenario_path);
        }
    }
    if (!out.commit()) return CopyOutcome::Failed;
    (void)host_file_make_writable(host);  // a read-only source gives a writable copy
    return CopyOutcome::Copied;
}

}  // namespace

int32_t cmd_file_copy(Engine& engine, const Args& args) {
    const file_copy_operands op(args);
    const char* pattern = op.pattern();
    const int32_t src_dir = op.src_dir();
    const int32_t dst_dir = op.dst_dir();
    const int32_t strict = op.strict();
    Progress progress{op.sub_buff(), op.entry(), {}};

    const std::string source_pattern = file_operand_path(engine, pattern, src_dir);
    const std::string source_dir(path_split(source_pattern).directory);
    const char* dst = dst_dir >= 0 ? sysstr_get(engine, dst_dir) : nullptr;
    std::string dst_prefix = dst ? dst : "";
    progress.destination = dst_prefix;
    if (!dst_prefix.empty()) {
        // The destination directory, one level, without its trailing backslash.
        const PathParts parts = path_split(dst_prefix);
        std::string dir = dst_prefix;
        if (parts.name.empty() && dir.back() == '\\') dir.pop_back();
        std::string host;
        if (!dir.empty() && file_host_path(engine, dir.c_str(), FileUse::Write, host)) {
            (void)host_dir_make(host);
        }
    }

    const std::vector<FileMatch> sources = files_matching(engine, source_pattern, false);
    uint64_t total = 0;
    for (const FileMatch& m : sources) total += m.size;
    const uint32_t chunk = progress.on() ? copy_chunk_size(total) : kCopyChunkMax;
    if (progress.on() && !progress_call(engine, progress, 0, total, 0, "")) {
        return err_report(engine, -108, "sub_buff = %d, entry = %d", progress.sub_buff,
                          progress.entry);
    }
    uint64_t done = 0;
    std::string failed;
    for (const FileMatch& m : sources) {
        const std::string name = m.scenario_path.substr(source_dir.size());
        const std::string destination = dst_prefix + name;
        if (copy_one(engine, progress, m, destination, chunk, total, done) == CopyOutcome::Failed) {
            failed = destination;
            break;
        }
    }
    if (progress.on()) (void)progress_call(engine, progress, 2, total, done, "");
    const bool ok = failed.empty();
    if (strict != 0) {
        if (!ok) return err_report(engine, -111, "File:%s", failed.c_str());
        return 0;
    }
    result_set(engine, 1, ok ? 0 : 1);
    return 0;
}

int32_t cmd_file_delete(Engine& engine, const Args& args) {
    const file_delete_operands op(args);
    const char* pattern = op.pattern();
    const int32_t dir = op.dir();
    const int32_t strict = op.strict();
    const Progress progress{op.sub_buff(), op.entry(), {}};

    // With a save folder, only its files can be deleted: the game folder's
    // stay whatever the pattern says.
    const std::vector<FileMatch> victims =
        files_matching(engine, file_operand_path(engine, pattern, dir), true);
    const uint64_t total = victims.size();
    if (progress.on() && !progress_call(engine, progress, 0, total, 0, "")) {
        return err_report(engine, -108, "sub_buff = %d, entry = %d", progress.sub_buff,
                          progress.entry);
    }
    uint64_t done = 0;
    std::string failed;
    for (const FileMatch& m : victims) {
        std::string host;
        const bool deleted =
            file_host_path(engine, m.scenario_path.c_str(), FileUse::Remove, host) &&
            host_file_make_writable(host) && host_file_remove(host);
        if (!deleted) {
            failed = m.scenario_path;
            break;
        }
        ++done;
        if (progress.on()) (void)progress_call(engine, progress, 1, total, done, m.scenario_path);
    }
    if (progress.on()) (void)progress_call(engine, progress, 2, total, done, "");
    const bool ok = failed.empty();
    if (strict != 0) {
        if (!ok) return err_report(engine, -107, "File:%s", failed.c_str());
        return 0;
    }
    result_set(engine, 1, ok ? 0 : 1);
    return 0;
}

}  // namespace qln
