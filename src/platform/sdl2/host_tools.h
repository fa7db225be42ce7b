#pragma once
// Desktop helpers the window backend borrows where they are installed: a
// file chooser (zenity or kdialog) for the open-file dialog, and xclip for
// putting a bitmap on the clipboard (SDL's clipboard holds text only).

#include <cstddef>
#include <cstdint>
#include <string>

namespace qln {

// The full path of an executable program found in PATH; false when none.
bool host_program_find(const char* name, std::string& path);

// Asks zenity or kdialog for a file to open. True with the chosen host path
// (UTF-8); false when the user cancelled or neither program is installed.
bool host_file_chooser(std::string& chosen);

// Puts a packed device-independent bitmap on the clipboard as an image/bmp
// file through xclip. False (and nothing done) without xclip or an X display.
bool host_clipboard_bitmap(const uint8_t* dib, size_t size);

// The bitmap file for a packed device-independent bitmap: the 14-byte file
// header, then the bitmap as it is. Empty when the header is too short to
// place the pixels.
std::string bitmap_file_from_dib(const uint8_t* dib, size_t size);

}  // namespace qln
