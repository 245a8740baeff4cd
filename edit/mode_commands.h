// Menu commands that choose what the left mouse button does in the 3D window
// and set up the menu items that go with it: joint placement, IK posing and
// the rotation-axis presets.
#pragma once

#include <cstdint>

#include "core/document.h"
#include "core/shell_ui.h"

namespace lw {

// Menu 410: enables the four child placement items and arms base-joint placement.
void beginBaseJointPlacement(SceneDocument& doc, ShellUi& ui);

// Menus 201 (kNoMirror) and 40069-40071 (kMirrorXY/YZ/ZX): sets mirrorPlane,
// greys 410, enables 202, 40072-40074, 40053, 40054, 203 and arms child placement.
void beginChildJointPlacement(SceneDocument& doc, int32_t plane, ShellUi& ui);

// Menu 202: no joint picked yet, editMode = MoveChildJoint.
void beginChildJointMove(SceneDocument& doc);

// Menus 40072-40074 (kMirrorXY/YZ/ZX): sets mirrorPlane, no joint picked yet,
// editMode = MirrorJoint.
void beginJointMirroring(SceneDocument& doc, int32_t plane);

// The base-joint move along axis (0 X, 1 Y, 2 Z): editMode = MoveRootJoint,
// rootMoveAxis = axis, redraw.
void beginBaseJointMove(SceneDocument& doc, ShellUi& ui, int32_t axis);

// Menu 40027: editMode = RotateIk, pointPickView = 0, 40032 greyed, redraw.
void enterIkMode(SceneDocument& doc, ShellUi& ui);

// Menus 414, 40075, 40076, 40077: axisPreset = preset, axisEditVector =
// (1, 0, 0), editMode = EditFkAxis.
void chooseAxisPreset(SceneDocument& doc, int32_t preset);

// Menu 40093: axisReversed becomes 1 when it was 0, else 0, and 40093 is
// checked when it is 1. No redraw.
void toggleAxisReversed(SceneDocument& doc, ShellUi& ui);

}  // namespace lw
