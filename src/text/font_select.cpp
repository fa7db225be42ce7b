#include "text/font_select.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "text/font_library.h"
#include "text/font_names.h"

namespace qln {
namespace {

const FcChar8* as_fc(const char* s) {
    return reinterpret_cast<const FcChar8*>(s);
}

// fontconfig's weight scale for a platform weight.
int fc_weight(int32_t weight) {
    if (weight <= 0) weight = 400;
    if (weight > 1000) weight = 1000;
    return FcWeightFromOpenType(weight);
}

int weight_of(FcPattern* pattern) {
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(pattern, FC_WEIGHT, 0, &weight);
    return weight;
}

bool pattern_is_bold(FcPattern* pattern) {
    return weight_of(pattern) >= FC_WEIGHT_DEMIBOLD;
}

bool pattern_is_italic(FcPattern* pattern) {
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(pattern, FC_SLANT, 0, &slant);
    return slant != FC_SLANT_ROMAN;
}

bool family_has_name(FcPattern* pattern, const char* family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (face_name_equal(reinterpret_cast<const char*>(name), family)) return true;
    }
    return false;
}

// Fills out from a pattern that names a file; false when it names none or
// the path does not fit.
bool choice_from(FcPattern* pattern, FaceChoice& out) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch) return false;
    const size_t len = std::strlen(reinterpret_cast<const char*>(file));
    if (len >= sizeof out.file) return false;
    std::memcpy(out.file, file, len + 1);
    int index = 0;
    FcPatternGetInteger(pattern, FC_INDEX, 0, &index);
    out.index = index;
    out.bold = pattern_is_bold(pattern);
    out.italic = pattern_is_italic(pattern);
    return true;
}

}  // namespace

bool face_find_installed(FontLibrary& library, const char* family_utf8, int32_t weight,
                         bool want_italic, FaceChoice& out) {
    if (family_utf8[0] == '\0') return false;
    FcPattern* all = FcPatternCreate();
    FcObjectSet* fields =
        FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT, FC_OUTLINE, nullptr);
    FcFontSet* fonts = (all && fields) ? FcFontList(library.config, all, fields) : nullptr;
    const int want_weight = fc_weight(weight);
    bool found = false;
    int best_score = INT_MIN;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        if (!family_has_name(font, family_utf8)) continue;
        FaceChoice candidate;
        if (!choice_from(font, candidate)) continue;
        FcBool outline = FcTrue;
        FcPatternGetBool(font, FC_OUTLINE, 0, &outline);
        // Italic first, then the nearest weight, then outlines over strikes.
        const int gap = std::abs(weight_of(font) - want_weight);
        const int score =
            (candidate.italic == want_italic ? 1 << 20 : 0) - gap * 2 + (outline ? 1 : 0);
        // Equal scores: the smaller path, so the choice does not follow the
        // order of fontconfig's caches (the same file may be linked twice).
        if (score > best_score ||
            (score == best_score && std::strcmp(candidate.file, out.file) < 0)) {
            best_score = score;
            out = candidate;
            found = true;
        }
    }
    if (fonts) FcFontSetDestroy(fonts);
    if (fields) FcObjectSetDestroy(fields);
    if (all) FcPatternDestroy(all);
    return found;
}

bool face_find_substitute(FontLibrary& library, const char* family_utf8, int32_t weight,
                          bool want_italic, FaceChoice& out) {
    FcPattern* wish = FcPatternCreate();
    if (!wish) return false;
    if (family_utf8[0] != '\0') FcPatternAddString(wish, FC_FAMILY, as_fc(family_utf8));
    FcLangSet* langs = FcLangSetCreate();
    if (langs) {
        FcLangSetAdd(langs, as_fc("ja"));
        FcPatternAddLangSet(wish, FC_LANG, langs);
        FcLangSetDestroy(langs);
    }
    FcPatternAddInteger(wish, FC_WEIGHT, fc_weight(weight));
    FcPatternAddInteger(wish, FC_SLANT, want_italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    // Any outline face before a bitmap strike of one size.
    FcPatternAddBool(wish, FC_OUTLINE, FcTrue);
    FcConfigSubstitute(library.config, wish, FcMatchPattern);
    FcDefaultSubstitute(wish);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(library.config, wish, &result);
    const bool found = match && choice_from(match, out);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(wish);
    return found;
}

}  // namespace qln
