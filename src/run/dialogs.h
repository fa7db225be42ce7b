#pragma once
// The engine's dialogs. The host shows them when it can (and writes what each
// says to standard error); when it cannot, the engine draws the dialog in the
// game window itself and answers it from the keyboard and the mouse, with the
// poll step running all the while, so the screen, the cursor and the timers
// stay alive and closing the window ends the dialog.

#include "platform/platform.h"
#include "screen/fallback_dialog.h"

namespace qln {

struct Engine;
struct ScenarioErrorRecord;

// The scenario error dialog: true = Stop (Enter, the default), false =
// Continue (Escape).
bool dialog_error(Engine& engine, const ScenarioErrorRecord& record);
// A message box with an OK button (Enter or Escape).
void dialog_message(Engine& engine, const char* text, const char* caption);
// A question whose default is No (Enter and Escape): true = Yes.
bool dialog_question(Engine& engine, const char* text, const char* caption);

// The dialogs the game window shows for them.
FallbackDialog error_dialog_of(const ScenarioErrorRecord& record);
FallbackDialog message_dialog_of(const char* text, const char* caption);
FallbackDialog question_dialog_of(const char* text, const char* caption);

// Shows dialog in the game window until it is answered: Enter or Space the
// focused button, Escape dialog.cancel, Tab and the left and right arrows move
// the focus, a click (pressed and released over one button) that button.
// at_end when there is no screen to show it on or a poll step failed (the
// window closed, a time limit).
DialogAnswer fallback_dialog_run(Engine& engine, FallbackDialog& dialog, DialogAnswer at_end);

}  // namespace qln
