// Menu command dispatch of the main window. Commands come from the menu, from
// the motion information panel's buttons (which re-send menu ids) and from the
// dispatcher itself; a command runs whether or not its item is grey.
#pragma once

#include <windows.h>

namespace lw {

// Runs the command `id`; ids no group knows are ignored. Returns true when the
// main window must return `result` at once instead of passing the message on to
// the default window procedure (only a failed project open does that).
bool dispatchCommand(int id, LRESULT& result);

// Open, Add, Save as and Exit. Returns true, with the project reader's code in
// `result`, only when a project open failed.
bool runFileCommand(int id, LRESULT& result);
// Asked before the program quits (closing the main window, the motion panel or
// the bone tree; Exit closes the main window): with a model loaded, the Open
// command's save question. False when the program must stay open: Cancel, or a
// save after Yes that was cancelled or failed.
bool mayQuit();

// The other command groups; each returns true when it knew `id`.
// View presets, camera drag modes, drawing and display toggles, decorations,
// anti-aliasing, shadow, lights, background, version.
bool runDisplayCommand(int id);
// Joint, bone, weighting, rotation-axis, skinning and animation mode commands.
bool runEditCommand(int id);

}  // namespace lw
