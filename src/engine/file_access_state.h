#pragma once
// Where the game's files are read from and written to (see docs/save-data.md).

#include <cstdint>
#include <string>

namespace qln {

struct FileAccess {
    // Host paths, absolute, without a trailing slash. Both empty (the tests'
    // engines): paths are used as they map, nothing is redirected.
    std::string game_dir;  // the start directory
    // Where the game's writes go. Set and not the game folder: writes,
    // deletes and directory removal happen here, and reads look here before
    // they look in the game folder.
    std::string save_dir;
    // Confinement: writes and deletes to the save folder, reads and
    // directory changes to the game and save folders, no programs started.
    bool sandbox = false;
    uint32_t refusals = 0;  // what the sandbox refused, for the record
};

}  // namespace qln
