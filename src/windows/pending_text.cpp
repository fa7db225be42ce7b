// Placeholder definitions until the text renderer lands.

#include "windows/text_draw.h"
#include "windows/window.h"

namespace qln {

TextSettings text_settings_of(const Window&) {
    return {};
}
TextDrawResult text_draw(Engine&, Picture&, const char*, const TextSettings&, int32_t) {
    return {};
}
void win_text_clear(Engine&, Window&) {}
bool win_text(Engine&, int32_t, const char*) {
    return false;
}
bool win_text_at(Engine&, Window&, int32_t, int32_t, const char*, int32_t) {
    return false;
}

}  // namespace qln
