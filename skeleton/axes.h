// Editing the FK rotation axes (dragged towards the cursor or snapped parallel
// to a world axis) and giving one bone the length of another.
#pragma once

#include <cstdint>

#include "core/document.h"
#include "core/joint.h"
#include "core/math.h"
#include "core/shell_ui.h"

namespace lw {

// axisPreset values.
enum AxisPreset : int32_t {
  kAxisFree = 0,  // dragged towards the cursor (menu IDM_AXIS_FREE)
  kAxisAlongX = 1,
  kAxisAlongY = 2,
  kAxisAlongZ = 3,
};

// Axis-handle pick names are jointID + a multiple of this.
inline constexpr int32_t kAxisHandlePickBase = 10000;

// One mouse move of an axis drag. handleID is the picked handle's name (reduced
// modulo 10000 to a jointID); dragTarget holds the cursor's world point. The
// joint's axisAngle becomes 0. Presets 1-3 set axisVector to (s,0,0), (0,s,0)
// or (0,0,s), s = -1 when axisReversed, else 1. The free preset stores
// d = dragTarget - jointDrawPositionAfterPosEnter back into dragTarget and turns
// axisVector (keeping its length) by angleBetween(axis, d) about their
// normalised cross product; when d is zero the axis stays as it is. Redraws.
// Returns false (nothing changes) when no joint has that ID.
bool axisDragStep(SceneDocument& doc, int32_t handleID, Vector3& dragTarget, ShellUi& ui);

// Second click of "ボーンの長さを揃える": target.initPoseBoneVector =
// rotate(target.convertWorldToJointCoodQuaternion, (|source rest bone|, 0, 0)),
// editMode = EqualiseBoneLengths, redraw. Refused (returns false, nothing
// changes) when either ID names no joint or both name the same joint.
bool equaliseBoneLength(SceneDocument& doc, int32_t sourceID, int32_t targetID, ShellUi& ui);

}  // namespace lw
