#pragma once
// What the animation files share: the frame script a record reads now.

#include "animation/frame_script.h"

namespace qln {

struct Engine;
struct AnimRecord;

// The bytes of the record's script buffer as it is now; none when it no
// longer holds raw bytes.
FrameScript anim_script(Engine& engine, const AnimRecord& record);

}  // namespace qln
