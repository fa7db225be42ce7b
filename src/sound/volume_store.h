#pragma once
// The mixer volumes a game set, kept between runs in the game's data folder.

namespace qln {

struct Engine;

// Reads the stored raw volumes into the lines; a missing or broken file
// leaves them as they are.
void volumes_load(Engine& engine);
// Writes the raw volumes beside and renames them over the old file, so a
// crash leaves either the old volumes or the new ones.
bool volumes_store(Engine& engine);

}  // namespace qln
