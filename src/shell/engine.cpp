#include "shell/engine.h"

#include "scenario/scenario.h"

namespace qln {

Engine::Engine() { settings_default(settings); }

Engine::~Engine() {
    // Release in reverse order of creation: scenarios still on the chain, then the tables.
    scn_end_all(*this, true);
    tables_release(*this);
}

}  // namespace qln
