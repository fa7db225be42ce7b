// File facts, writes, the current directory, directory removal, free space,
// existence tests, the open-file dialog and path splitting.
#include "commands/command_table.h"

#include <cstring>
#include <string>

#include "base/sjis.h"
#include "engine/engine.h"
#include "files/dialog_filter.h"
#include "files/file_paths.h"
#include "files/path_split.h"
#include "files/wildcard.h"
#include "platform/host_dirs.h"
#include "platform/host_files.h"
#include "scenario/interp.h"
#include "tables/tables.h"

namespace qln {
namespace {

constexpr int kHeaderBytes = 64;
constexpr int kDialogPathSize = 256;

// Whether the path ends with a real separator (not a trail byte of 0x5C).
bool ends_with_separator(const std::string& path) {
    const PathParts parts = path_split(path);
    return parts.name.empty() && !parts.directory.empty() && parts.directory.back() == '\\';
}

// Cuts text to at most max bytes without leaving half a double-byte character.
std::string cut_whole(const char* text, size_t max) {
    size_t n = 0;
    const size_t len = std::strlen(text);
    while (n < len) {
        const size_t step = sjis_is_lead_byte(uint8_t(text[n])) ? 2 : 1;
        if (n + step > max || n + step > len) break;
        n += step;
    }
    return std::string(text, n);
}

}  // namespace

int32_t cmd_file_info(Engine& engine, const Args& args) {
    const file_info_operands op(args);
    const std::string path = file_operand_path(engine, op.name(), op.dir());
    std::string host;
    HostFileFacts facts;
    HostFile file;
    if (!file_host_path(engine, path.c_str(), FileUse::Read, host) || !file.open(host) ||
        !host_file_facts(host, facts)) {
        result_set(engine, 1, -1);
        return 0;
    }
    result_set(engine, 1, facts.year);
    result_set(engine, 2, facts.month);
    result_set(engine, 3, facts.day);
    result_set(engine, 4, facts.hour);
    result_set(engine, 5, facts.minute);
    result_set(engine, 6, facts.second);
    result_set(engine, 7, static_cast<int32_t>(static_cast<uint32_t>(file.size())));
    // The header as big-endian words; past the end of a short file they are 0.
    uint8_t header[kHeaderBytes] = {};
    const size_t have = file.size() < kHeaderBytes ? size_t(file.size()) : size_t(kHeaderBytes);
    if (!file.read_at(0, header, have)) std::memset(header, 0, sizeof header);
    const uint32_t registers = engine.settings.result_register_count;
    for (uint32_t k = 0; k < kHeaderBytes / 2 && 8 + k < registers; ++k) {
        result_set(engine, 8 + k, header[2 * k] * 256 + header[2 * k + 1]);
    }
    return 0;
}

int32_t cmd_file_write(Engine& engine, const Args& args) {
    const file_write_operands op(args);
    const char* name = op.name();
    const int32_t buf_no = op.buf_no();
    const int32_t size = op.size();
    const int32_t dir = op.dir();
    (void)op.unused();
    const uint8_t* raw = buf_get_raw(engine, buf_no);
    if (!raw) return err_report(engine, -109, "buf_no = %d", buf_no);
    // A negative size would be a huge write.
    if (size < 0 || buf_size(engine, buf_no) < static_cast<uint32_t>(size)) {
        return err_report(engine, -110, "buf_no = %d", buf_no);
    }
    const std::string path = file_operand_path(engine, name, dir);
    std::string host;
    // Beside the old file and renamed over it: a crash keeps the old save.
    if (!file_host_path(engine, path.c_str(), FileUse::Write, host) ||
        !host_file_write_replace(host, raw, static_cast<size_t>(size))) {
        return err_report(engine, -111, "File:%s", path.c_str());
    }
    return 0;
}

int32_t cmd_path_set(Engine& engine, const Args& args) {
    const path_set_operands op(args);
    const int32_t slot = op.slot();
    sysstr_set(engine, slot, op.text());
    return 0;
}

int32_t cmd_dir_get(Engine& engine, const Args&) {
    std::string dir;
    if (!host_cwd_scenario(dir)) dir.clear();
    if (!dir.empty() && !ends_with_separator(dir)) dir += '\\';
    str_set(engine, 0, dir.c_str());
    return 0;
}

int32_t cmd_dir_set(Engine& engine, const Args& args) {
    const dir_set_operands op(args);
    std::string host;
    if (!file_host_path(engine, op.path(), FileUse::Enter, host) || !host_dir_change(host)) {
        return err_report(engine, -107, nullptr);
    }
    return 0;
}

int32_t cmd_dir_remove(Engine& engine, const Args& args) {
    const dir_remove_operands op(args);
    const char* path = op.path();
    const int32_t strict = op.strict();
    std::string host;
    const bool removed = file_host_path(engine, path, FileUse::Remove, host) &&
                         host_path_kind(host) == HostPathKind::Directory && host_dir_remove(host);
    if (strict != 0) {
        if (!removed) return err_report(engine, -107, "Dir:%s", path);
        return 0;
    }
    result_set(engine, 1, removed ? 1 : 0);
    return 0;
}

int32_t cmd_disk_free(Engine& engine, const Args& args) {
    const disk_free_operands op(args);
    const int32_t drive = op.drive();
    // Drive 0 is the current drive: the file system the current directory is on.
    std::string host = ".";
    bool ok = drive == 0;
    if (drive >= 1 && drive <= 255 - 64) {
        const char root[] = {static_cast<char>(64 + drive), ':', '\\', '\0'};
        ok = host_path_map(root, host);
    }
    HostDiskSpace space;
    if (!ok || !host_disk_space(host, space)) {
        result_set(engine, 1, 0);
        result_set(engine, 2, 1);
        result_set(engine, 3, 0);
        return 0;
    }
    // Bytes per cluster times clusters in 32 bits, wrapping as they always did.
    const uint32_t block = static_cast<uint32_t>(space.block_size);
    result_set(engine, 1, static_cast<int32_t>(block * static_cast<uint32_t>(space.free_blocks)));
    result_set(engine, 2, 0);
    result_set(engine, 3, static_cast<int32_t>(block * static_cast<uint32_t>(space.total_blocks)));
    return 0;
}

int32_t cmd_file_exists(Engine& engine, const Args& args) {
    const file_exists_operands op(args);
    std::string path = op.path();
    if (ends_with_separator(path)) path.pop_back();
    bool found = false;
    if (!path.empty() && wildcard_has_any(path_split(path).name)) {
        std::vector<FileMatch> matches;
        found = file_matches(engine, path.c_str(), matches) && !matches.empty();
    } else if (!path.empty()) {
        std::string host;
        found = file_host_path(engine, path.c_str(), FileUse::Read, host) &&
                host_path_kind(host) != HostPathKind::Missing;
    }
    result_set(engine, 1, found ? 1 : 0);
    return 0;
}

int32_t cmd_file_dialog(Engine& engine, const Args& args) {
    const file_dialog_operands op(args);
    (void)op.title();
    const char* filter = op.filter();
    const char* file = op.file();
    (void)op.default_extension();
    const int32_t flags = op.flags();
    char chosen[kDialogPathSize] = {};
    const std::string start = cut_whole(file, kDialogPathSize - 1);
    std::memcpy(chosen, start.data(), start.size());
    const std::string pairs = dialog_filter_pairs(filter);
    bool ok = engine.platform.display->open_file_dialog(pairs.c_str(), chosen, kDialogPathSize);
    if (ok) {
        chosen[kDialogPathSize - 1] = '\0';
        // The dialog lets through only a file that exists (or, with bit 0,
        // one in an existing directory).
        std::string host;
        ok = file_host_path(engine, chosen, FileUse::Read, host);
        if (ok && (flags & 1) == 0) {
            ok = host_path_kind(host) == HostPathKind::File;
        } else if (ok) {
            const std::string dir(path_split(chosen).directory);
            std::string dir_host;
            ok = dir.empty() || (host_path_map(dir.c_str(), dir_host) &&
                                 host_path_kind(dir_host) == HostPathKind::Directory);
        }
    }
    if (ok) str_set(engine, 0, chosen);
    result_set(engine, 1, ok ? 1 : 0);
    return 0;
}

int32_t cmd_path_split(Engine& engine, const Args& args) {
    const path_split_operands op(args);
    const std::string path = op.path();
    const PathParts parts = path_split(path);
    str_set(engine, 1, std::string(parts.name).c_str());
    str_set(engine, 0, std::string(parts.directory).c_str());
    result_set(engine, 1, path_drive_number(path));
    return 0;
}

}  // namespace qln
