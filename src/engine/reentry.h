#pragma once
// The one call a layer below the run loop makes into it. A window's paint
// callback runs scenario code in the middle of a window-table operation
// (opening, resizing, clearing text), so the windows layer must re-enter the
// interpreter. It is declared here, beside the command table's declaration,
// and defined by the run loop (run/step.cpp), which owns every step and poll
// step: no folder below the run loop includes it.

#include <cstdint>

namespace qln {

struct Engine;

// Runs a callback (data buffer, entry) to completion, one step and poll step
// per command. False when it cannot start or a step stopped; the scenarios it
// left are ended, so the interrupted run resumes where it was.
bool scn_invoke(Engine& engine, int32_t buf_no, int32_t entry);

}  // namespace qln
