#include "screen/screen_hooks.h"

#include "screen/clipboard.h"

namespace qln {

bool ScreenHooks::pause_show() {
    return engine_ && pause_display_show(*engine_, copy_);
}

bool ScreenHooks::pause_restore() {
    return engine_ && pause_display_restore(*engine_, copy_);
}

void ScreenHooks::picture_to_clipboard() {
    if (engine_) (void)clipboard_copy_embedded_picture(*engine_);
}

}  // namespace qln
