#include "engine/engine.h"

#include "scenario/scenario.h"

namespace qln {

Engine::Engine() { settings_default(settings); }

Engine::~Engine() {
    input_tracking_release(*this);  // the highlight's saved pixels
    // The tables go first: a scenario buffer whose object is still on the chain
    // is only emptied there, and the chain then releases the object.
    fonts_release(*this);
    tables_release(*this);
    scn_end_all(*this, true);
    screen_shutdown(*this);
}

}  // namespace qln
