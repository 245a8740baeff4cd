// Undo and redo in the running program: the one history, the record points
// (each menu command and each action in the 3D window), and the keys.
#pragma once

#include <windows.h>

namespace lw {

// Starts a new history at the program's fresh document (window creation).
void startUndoHistory();

// After menu command `id` has run: Open and Add start a new history, Save takes
// what it changed without a step, Exit records nothing, and every other command
// records a step named after it when it edited the document. The step is taken
// by recordPendingStep, called before the next command or 3D-window event and
// by the undo keys; running out of memory there loses the history, never the edit.
void recordCommand(int id);
void recordPendingStep();

// After the 3D window handled `message`: a press, release or key that ends an
// action records it as one step; mouse moves and a drag still in progress do not.
void recordViewAction(UINT message);

// True for a key down of Ctrl+Z, Ctrl+Y or Ctrl+Shift+Z.
bool isUndoKey(WPARAM key);

// Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo. Returns true when the key down
// `key` was one of them (and was handled).
bool handleUndoKey(WPARAM key);

}  // namespace lw
