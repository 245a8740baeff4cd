// Menu commands that change what the 3D window shows: view presets, camera-drag
// modes, drawing modes, the checked display flags and the on/off pairs. Each
// takes the menu id it was chosen with and returns false (changing nothing)
// for an id that is not its own, so a caller can offer an id to each in turn.
#pragma once

#include "core/command_ids.h"
#include "core/document.h"
#include "core/shell_ui.h"

namespace lw {

// View presets IDM_VIEW_TOP..IDM_VIEW_BACK: set both angles, recompute viewDirection and
// redraw; distance and pan are kept.
bool setViewPreset(SceneDocument& doc, ShellUi& ui, int menuId);

// Camera-drag modes IDM_CAMERA_ROTATE..IDM_CAMERA_PAN_Y: only cameraDrag changes (0 rotate, 1 pan
// left-right, 2 pan up-down, 3 zoom); no redraw.
bool setCameraDragMode(SceneDocument& doc, int menuId);

// Faces (drawMode 4) and lines (3) leave point-pick view. Points: while the
// weight box is being placed or its faces moved, the box shows in point-pick
// view and drawMode is kept; otherwise drawMode 0. Redraws.
bool setDrawMode(SceneDocument& doc, ShellUi& ui, int menuId);

// Joint numbers, bone axes, FK axes and world axes: flips the flag and its
// check mark and redraws. The FK axes also enable (or grey) the rotation-axis
// items with them.
bool toggleDisplayFlag(SceneDocument& doc, ShellUi& ui, int menuId);

// Decorations, anti-aliasing, right and left light, shadow: the flag (1 for the
// "on" item), both check marks, a redraw.
bool applyDisplayToggle(SceneDocument& doc, ShellUi& ui, int menuId);

}  // namespace lw
