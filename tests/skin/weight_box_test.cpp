#include "skin/weight_box.h"
#include "core/command_ids.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/document.h"
#include "tests/support/recording_ui.h"

namespace lw {
namespace {

constexpr int kBase = 7;  // any pick base

TEST(WeightBox, PlacementIsAUnitCubeAroundThePointInCornerOrder) {
  SceneDocument doc;
  test::RecordingUi ui;
  const double point[3] = {1, 2, 3};
  placeWeightBox(doc, ui, point);
  const auto& c = doc.weightBox.corners;
  const std::array<std::array<double, 3>, 8> expected = {{{1.5, 2.5, 2.5}, {0.5, 2.5, 2.5},
                                                          {0.5, 1.5, 2.5}, {1.5, 1.5, 2.5},
                                                          {0.5, 2.5, 3.5}, {1.5, 2.5, 3.5},
                                                          {1.5, 1.5, 3.5}, {0.5, 1.5, 3.5}}};
  EXPECT_EQ(c, expected);
  EXPECT_EQ(doc.weightBoxShown, 1);
  EXPECT_TRUE(ui.isEnabled(IDM_MOVE_BOX_FACE));
  EXPECT_TRUE(ui.isEnabled(IDM_WEIGHT_BOX));
  EXPECT_TRUE(ui.isEnabled(IDM_SHOW_WEIGHT_BOX));
  EXPECT_TRUE(ui.isChecked(IDM_SHOW_WEIGHT_BOX));
}

TEST(WeightBox, FacePickNamesAndCorners) {
  for (int face = 1; face <= 6; ++face) EXPECT_EQ(boxFaceFromPickName(kBase + 100 * face, kBase), face);
  EXPECT_EQ(boxFaceFromPickName(kBase, kBase), 0);
  EXPECT_EQ(boxFaceFromPickName(kBase + 700, kBase), 0);
  EXPECT_EQ(boxFaceFromPickName(kBase + 150, kBase), 0);
  EXPECT_EQ(boxFaceFromPickName(kBase - 100, kBase), 0);
  EXPECT_EQ(boxFaceCorners(kBoxFaceXMinus), (std::array<int, 4>{1, 4, 7, 2}));
  EXPECT_EQ(boxFaceCorners(kBoxFaceYPlus), (std::array<int, 4>{0, 5, 4, 1}));
}

// Index of the moved coordinate and the corners that must keep the others.
struct FaceCase {
  BoxFace face;
  int axis;
  int movedCorner;
  int oppositeCorner;
  double towardsOpposite;
};

constexpr FaceCase kFaces[] = {
    {kBoxFaceZMinus, 2, 0, 4, +0.02}, {kBoxFaceZPlus, 2, 4, 0, -0.02},
    {kBoxFaceXMinus, 0, 1, 5, +0.02}, {kBoxFaceXPlus, 0, 5, 1, -0.02},
    {kBoxFaceYPlus, 1, 0, 6, -0.02},  {kBoxFaceYMinus, 1, 6, 0, +0.02},
};

TEST(WeightBox, AFaceDraggedTowardsItsOppositeStopsJustBeforeIt) {
  for (const FaceCase& f : kFaces) {
    WeightBox box = makeWeightBox(0, 0, 0);
    const WeightBox before = box;
    int moves = 0;
    for (int i = 0; i < 200; ++i) moves += moveWeightBoxFace(box, kBase + 100 * f.face, kBase, f.towardsOpposite);
    const double gap = std::fabs(box.corners[f.oppositeCorner][f.axis] - box.corners[f.movedCorner][f.axis]);
    EXPECT_GT(gap, 0.0) << f.face;
    EXPECT_LE(gap, 0.02 + 1e-9) << f.face;
    EXPECT_EQ(moves, 49) << f.face;  // 1.0 / 0.02 = 50 steps would meet the opposite face
    // The opposite face and the other axes did not move.
    for (int corner : boxFaceCorners(f.face)) {
      for (int axis = 0; axis < 3; ++axis) {
        if (axis != f.axis) {
          EXPECT_EQ(box.corners[corner][axis], before.corners[corner][axis]);
        }
      }
    }
    const int oppositeFace = f.face % 2 == 1 ? f.face + 1 : f.face - 1;
    for (int corner : boxFaceCorners(oppositeFace)) EXPECT_EQ(box.corners[corner], before.corners[corner]);
    // Moving away is never limited.
    EXPECT_TRUE(moveWeightBoxFace(box, kBase + 100 * f.face, kBase, -f.towardsOpposite));
  }
}

TEST(WeightBox, NamesThatAreNoFaceChangeNothing) {
  WeightBox box = makeWeightBox(0, 0, 0);
  const WeightBox before = box;
  EXPECT_FALSE(moveWeightBoxFace(box, kBase + 700, kBase, 0.02));
  EXPECT_FALSE(moveWeightBoxFace(box, kBase + 101, kBase, 0.02));
  EXPECT_FALSE(moveWeightBoxFace(box, 3, kBase, 0.02));
  EXPECT_EQ(box.corners, before.corners);
}

TEST(WeightBox, CornersOnAFaceAreInside) {
  WeightBox box = makeWeightBox(0, 0, 0);
  EXPECT_TRUE(isInsideWeightBox(box, {0, 0, 0}));
  EXPECT_TRUE(isInsideWeightBox(box, {0.5f, 0.5f, 0.5f}));
  EXPECT_TRUE(isInsideWeightBox(box, {-0.5f, -0.5f, -0.5f}));
  EXPECT_FALSE(isInsideWeightBox(box, {std::nextafter(0.5f, 1.0f), 0, 0}));
  EXPECT_FALSE(isInsideWeightBox(box, {0, std::nextafter(-0.5f, -1.0f), 0}));
  EXPECT_FALSE(isInsideWeightBox(box, {0, 0, 0.6f}));
  // After a face move the bounds follow the moved corners.
  ASSERT_TRUE(moveWeightBoxFace(box, kBase + 200, kBase, 0.5));
  EXPECT_TRUE(isInsideWeightBox(box, {0, 0, 1.0f}));
  EXPECT_FALSE(isInsideWeightBox(box, {0, 0, 1.01f}));
}

}  // namespace
}  // namespace lw
