#include "skin/weight_box.h"

#include "core/command_ids.h"

namespace lw {
namespace {

constexpr int kX = 0, kY = 1, kZ = 2;

// Per face: the corners it moves, its axis, and how the opposite face bounds it.
struct FaceRule {
  std::array<int, 4> corners;
  int axis;
  int opposite;       // the corner whose coordinate is the opposite face
  bool movesBelow;    // true: the new value must stay below the opposite face
};

constexpr FaceRule kFaceRules[kBoxFaceCount] = {
    {{0, 1, 2, 3}, kZ, 4, true},   // z-
    {{4, 5, 6, 7}, kZ, 0, false},  // z+
    {{1, 4, 7, 2}, kX, 5, true},   // x-
    {{5, 0, 3, 6}, kX, 1, false},  // x+
    {{0, 5, 4, 1}, kY, 6, false},  // y+
    {{6, 7, 2, 3}, kY, 0, true},   // y-
};

bool isFace(int face) { return face >= 1 && face <= kBoxFaceCount; }

}  // namespace

WeightBox makeWeightBox(double x, double y, double z) {
  const double h = kWeightBoxEdge / 2;
  const double xl = x - h, xh = x + h, yl = y - h, yh = y + h, zl = z - h, zh = z + h;
  WeightBox box;
  box.corners = {{{xh, yh, zl}, {xl, yh, zl}, {xl, yl, zl}, {xh, yl, zl},
                  {xl, yh, zh}, {xh, yh, zh}, {xh, yl, zh}, {xl, yl, zh}}};
  return box;
}

void placeWeightBox(SceneDocument& doc, ShellUi& ui, const double point[3]) {
  doc.weightBox = makeWeightBox(point[0], point[1], point[2]);
  doc.weightBoxShown = 1;
  ui.enableMenuItem(IDM_MOVE_BOX_FACE, true);
  ui.enableMenuItem(IDM_WEIGHT_BOX, true);
  ui.enableMenuItem(IDM_SHOW_WEIGHT_BOX, true);
  ui.checkMenuItem(IDM_SHOW_WEIGHT_BOX, true);
}

int boxFaceFromPickName(int pickName, int pickBase) {
  const long long offset = static_cast<long long>(pickName) - pickBase;
  if (offset < kBoxFaceNameStep || offset > kBoxFaceNameStep * kBoxFaceCount ||
      offset % kBoxFaceNameStep != 0) {
    return 0;
  }
  return static_cast<int>(offset / kBoxFaceNameStep);
}

std::array<int, 4> boxFaceCorners(int face) {
  if (!isFace(face)) return {0, 0, 0, 0};
  return kFaceRules[face - 1].corners;
}

bool moveWeightBoxFace(WeightBox& box, int pickName, int pickBase, double step) {
  const int face = boxFaceFromPickName(pickName, pickBase);
  if (face == 0) return false;
  const FaceRule& rule = kFaceRules[face - 1];
  const double moved = box.corners[rule.corners[0]][rule.axis] + step;
  const double limit = box.corners[rule.opposite][rule.axis];
  if (rule.movesBelow ? !(moved < limit) : !(limit < moved)) return false;
  for (int c : rule.corners) box.corners[c][rule.axis] += step;
  return true;
}

bool isInsideWeightBox(const WeightBox& box, Vector3 p) {
  const auto& c = box.corners;
  const double x = p.x, y = p.y, z = p.z;
  return c[0][kZ] <= z && z <= c[4][kZ] && c[1][kX] <= x && x <= c[5][kX] && c[6][kY] <= y &&
         y <= c[0][kY];
}

}  // namespace lw
