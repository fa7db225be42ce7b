#pragma once
// Scenario paths to host paths for the file commands, through the save
// folder overlay and the sandbox (docs/save-data.md):
//   - a path inside the game folder or the save folder is taken relative to
//     that folder; with a save folder apart from the game folder, a write
//     goes to the save folder's copy, a read, existence test or directory
//     change takes the save folder's copy when there is one and the game
//     folder's otherwise, and a delete touches only the save folder's copy,
//     so a game folder file is never deleted;
//   - paths elsewhere are used as they map;
//   - in a sandbox, writes and deletes outside the save folder and reads
//     and directory changes outside both folders are refused, each with one
//     line on standard error.

#include <cstdint>
#include <string>
#include <vector>

namespace qln {

struct Engine;

enum class FileUse : uint8_t { Read, Write, Remove, Enter };

// The path a file operand names: system string dir followed directly by the
// name, or the name alone when dir < 0.
std::string file_operand_path(Engine& engine, const char* name, int32_t dir);

// The host path a scenario path names for a use. A write into a directory
// that only the game folder has creates it in the save folder. False when
// the path does not map or the sandbox refuses it.
[[nodiscard]] bool file_host_path(Engine& engine, const char* sjis_path, FileUse use,
                                  std::string& host_path);

// One entry matching a pattern.
struct FileMatch {
    std::string scenario_path;  // the pattern's directory part + the name
    std::string host_path;
    uint64_t size = 0;
    bool directory = false;
};

// Every file and directory matching a pattern path (a directory part and a
// name with "*" and "?"), sorted by name; with the overlay the save folder's
// entries hide game folder entries of the same name. False when the
// directory does not map or the sandbox refuses it. save_side_only: only
// what a delete may touch (with the overlay, the save folder's entries).
[[nodiscard]] bool file_matches(Engine& engine, const char* sjis_pattern,
                                std::vector<FileMatch>& matches, bool save_side_only = false);

// Tells the player on standard error what the sandbox refused.
void sandbox_refusal(Engine& engine, const char* what, const std::string& detail);

}  // namespace qln
