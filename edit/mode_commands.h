// Menu commands that choose what the left mouse button does in the 3D window
// and set up the menu items that go with it: joint placement, IK posing and
// the rotation-axis presets.
#pragma once

#include <cstdint>

#include "core/document.h"
#include "core/shell_ui.h"

namespace lw {

// Menu IDM_PLACE_ROOT: enables the four child placement items and arms base-joint placement.
void beginBaseJointPlacement(SceneDocument& doc, ShellUi& ui);

// Menus IDM_PLACE_CHILD (kNoMirror) and IDM_PLACE_CHILD_XY-IDM_PLACE_CHILD_ZX (kMirrorXY/YZ/ZX):
// sets mirrorPlane, greys IDM_PLACE_ROOT, enables IDM_MOVE_CHILD, IDM_MIRROR_XY-IDM_MIRROR_ZX,
// IDM_DELETE_CHILD, IDM_NAME_JOINT, IDM_FIX_POSITIONS and arms child placement.
void beginChildJointPlacement(SceneDocument& doc, int32_t plane, ShellUi& ui);

// Menu IDM_MOVE_CHILD: no joint picked yet, editMode = MoveChildJoint.
void beginChildJointMove(SceneDocument& doc);

// Menus IDM_MIRROR_XY-IDM_MIRROR_ZX (kMirrorXY/YZ/ZX): sets mirrorPlane, no joint picked yet,
// editMode = MirrorJoint.
void beginJointMirroring(SceneDocument& doc, int32_t plane);

// The base-joint move along axis (0 X, 1 Y, 2 Z): editMode = MoveRootJoint,
// rootMoveAxis = axis, redraw.
void beginBaseJointMove(SceneDocument& doc, ShellUi& ui, int32_t axis);

// Menu IDM_ROTATE_IK: editMode = RotateIk, pointPickView = 0, IDM_EQUALISE_BONES greyed, redraw.
void enterIkMode(SceneDocument& doc, ShellUi& ui);

// Menus IDM_AXIS_FREE, IDM_AXIS_X, IDM_AXIS_Y, IDM_AXIS_Z: axisPreset = preset, axisEditVector =
// (1, 0, 0), editMode = EditFkAxis.
void chooseAxisPreset(SceneDocument& doc, int32_t preset);

// Menu IDM_AXIS_REVERSED: axisReversed becomes 1 when it was 0, else 0, and IDM_AXIS_REVERSED is
// checked when it is 1. No redraw.
void toggleAxisReversed(SceneDocument& doc, ShellUi& ui);

}  // namespace lw
