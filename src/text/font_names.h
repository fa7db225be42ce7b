#pragma once
// Face names as scenarios give them: Shift-JIS bytes, often the original
// platform's own Japanese faces. Those are mapped to installed faces with
// the same advances; the mapped face also takes the original's vertical
// metrics (its cell is exactly one em high), so text keeps its layout.

#include <cstddef>
#include <cstdint>

namespace qln {

struct FontLibrary;

// A face name turned into UTF-8 for the font finder. Names longer than the
// buffer are cut at a character boundary.
struct FaceName {
    char utf8[256] = {};
    bool valid = true;  // false when the bytes were no Shift-JIS text
};

// An installed family that stands for one of the original platform's faces.
struct FaceAlias {
    const char* family;  // the installed family, e.g. "IPAGothic"
    // The original face's ascent and descent in units of its em (2048);
    // ascent + descent = em, so a cell height asks for that em exactly.
    int32_t win_ascent;
    int32_t win_descent;
    int32_t units_per_em;
};

// Decodes the Shift-JIS face name (at most 255 bytes are read).
FaceName face_name_decode(FontLibrary& library, const char* sjis);

// The alias for a decoded face name, or nullptr. Compared without regard to
// ASCII case, full-width letters as their ASCII forms and without spaces
// (half-width or full-width), so "ＭＳ ゴシック", "MS Gothic" and "msgothic"
// are one face.
const FaceAlias* face_alias_find(const char* utf8);

// ASCII case-insensitive equality of two UTF-8 strings.
bool face_name_equal(const char* a, const char* b);

}  // namespace qln
