#pragma once
// Finding a font file for a face name through fontconfig.

#include <cstdint>

namespace qln {

struct FontLibrary;

struct FaceChoice {
    char file[1024] = {};
    int32_t index = 0;    // face index inside the file
    bool bold = false;    // the file's own design (no emboldening needed)
    bool italic = false;  // italic or oblique by design
};

// Weights are the platform's: 400 normal, 700 bold, 0 or less normal.

// An installed font of the family (compared with every name the family has,
// localised ones too, without regard to ASCII case): italic as asked when
// the family has one, then the weight nearest the wish. False when no
// installed family has that name.
bool face_find_installed(FontLibrary& library, const char* family_utf8, int32_t weight,
                         bool want_italic, FaceChoice& out);

// fontconfig's best stand-in for the family (may be empty), preferring
// Japanese coverage. False when there is no font at all.
bool face_find_substitute(FontLibrary& library, const char* family_utf8, int32_t weight,
                          bool want_italic, FaceChoice& out);

}  // namespace qln
