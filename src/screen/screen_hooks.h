#pragma once
// The engine's answers to what the window backend asks on the main thread:
// the pause display and the clipboard copy of the program's picture.

#include "platform/thread_shared.h"
#include "screen/pause_display.h"

namespace qln {

struct Engine;

class ScreenHooks final : public EngineHooks {
  public:
    explicit ScreenHooks(Engine& engine) : engine_(&engine) {}
    bool pause_show() override;
    bool pause_restore() override;
    void picture_to_clipboard() override;

  private:
    Engine* engine_ = nullptr;
    PauseCopy copy_;  // guarded by the screen lock
};

}  // namespace qln
