#include "engine/engine.h"

namespace qln {

Engine::Engine() {
    settings_default(settings);
}

}  // namespace qln
