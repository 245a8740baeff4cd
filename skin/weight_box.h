// The weighting box: an axis-aligned box placed in the scene; every corner inside
// it receives the same weight list (skin/weight_dialogs.h). Its eight corners are
// kept in this fixed order (x-/x+ are the smaller and larger x, and so on):
//
//   0 (x+, y+, z-)   1 (x-, y+, z-)   2 (x-, y-, z-)   3 (x+, y-, z-)
//   4 (x-, y+, z+)   5 (x+, y+, z+)   6 (x+, y-, z+)   7 (x-, y-, z+)
//
// The bounds are always read from particular corners: z from corner 0 to corner
// 4, x from corner 1 to corner 5, y from corner 6 to corner 0.
#pragma once

#include <array>

#include "core/document.h"
#include "core/math.h"
#include "core/shell_ui.h"
#include "core/skin_data.h"

namespace lw {

// The six faces; a face's selection name is the pick base + 100 * its number.
enum BoxFace : int {
  kBoxFaceZMinus = 1,
  kBoxFaceZPlus = 2,
  kBoxFaceXMinus = 3,
  kBoxFaceXPlus = 4,
  kBoxFaceYPlus = 5,
  kBoxFaceYMinus = 6,
};
inline constexpr int kBoxFaceCount = 6;
inline constexpr int kBoxFaceNameStep = 100;

inline constexpr double kWeightBoxEdge = 1.0;
inline constexpr double kBoxFaceStep = 0.02;  // one face-drag step

// The cube of edge kWeightBoxEdge centred on (x, y, z), corners in the order above.
WeightBox makeWeightBox(double x, double y, double z);

// Places a new box around the world point (replacing any earlier one), sets
// weightBoxShown, enables IDM_MOVE_BOX_FACE, IDM_WEIGHT_BOX and IDM_SHOW_WEIGHT_BOX and checks
// IDM_SHOW_WEIGHT_BOX.
void placeWeightBox(SceneDocument& doc, ShellUi& ui, const double point[3]);

// The face a selection name stands for, or 0 when it names no face.
int boxFaceFromPickName(int pickName, int pickBase);

// The corners of a face in drawing order: z- 0 1 2 3, z+ 4 5 6 7, x- 1 4 7 2,
// x+ 5 0 3 6, y+ 0 5 4 1, y- 6 7 2 3. A face of 0 or out of range gives corners 0 0 0 0.
std::array<int, 4> boxFaceCorners(int face);

// Moves the face named pickName (relative to pickBase) by step along its axis, in
// all four of its corners, but only when the face stays strictly on its side of
// the opposite face (z-: new z < z of corner 4; z+: z of corner 0 < new z; x-:
// new x < x of corner 5; x+: x of corner 1 < new x; y+: y of corner 6 < new y;
// y-: new y < y of corner 0). Returns true when the face moved; a move that would
// break the rule, or a name that is no face, changes nothing and returns false.
bool moveWeightBoxFace(WeightBox& box, int pickName, int pickBase, double step);

// True when p lies inside the box, bounds included:
// c0.z <= z <= c4.z, c1.x <= x <= c5.x and c6.y <= y <= c0.y.
bool isInsideWeightBox(const WeightBox& box, Vector3 p);

}  // namespace lw
