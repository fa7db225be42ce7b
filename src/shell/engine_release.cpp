// The engine's end: every subsystem released in reverse order of its start.
// It lives with the shell because only the shell knows every subsystem.

#include "animation/animation.h"
#include "engine/engine.h"
#include "input/tracking.h"
#include "scenario/interp.h"
#include "screen/screen.h"
#include "tables/tables.h"
#include "text/font.h"

namespace qln {

Engine::~Engine() {
    anim_release(*this);            // refers to windows and buffers by number only
    input_tracking_release(*this);  // the highlight's saved pixels
    // The tables go first: a scenario buffer whose object is still on the chain
    // is only emptied there, and the chain then releases the object.
    fonts_release(*this);
    tables_release(*this);
    scn_end_all(*this, true);
    screen_shutdown(*this);
}

}  // namespace qln
