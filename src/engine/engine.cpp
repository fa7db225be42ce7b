#include "engine/engine.h"

namespace qln {

Engine::Engine() {
    settings_default(settings);
    // The backend's calls into the screen work before the screen exists: they
    // find no bitmap and do nothing.
    screen.hooks.attach(*this);
    shared.hooks = &screen.hooks;
}

}  // namespace qln
