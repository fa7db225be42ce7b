#pragma once
// Alt+Print Screen: the program's own picture, not the screen, goes on the
// clipboard as a packed device-independent bitmap.

namespace qln {

struct Engine;

// Decodes the embedded picture (resource "QCG" 103), converts it to a packed
// bitmap and hands it to the platform's clipboard. Nothing happens, and the
// result is false, when the resource is missing or does not decode. The
// backends call this on a system key-up of Print Screen in the main window.
bool clipboard_copy_embedded_picture(Engine& engine);

}  // namespace qln
