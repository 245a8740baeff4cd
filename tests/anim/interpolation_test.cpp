#include "anim/interpolation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "anim/anim_fixture.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

constexpr const char* kHand = "Joint0_0_0";

class InterpolationTest : public ::testing::Test {
 protected:
  void SetUp() override { test::buildArm(doc_, ui_); }
  KeyframeStore& store() { return *doc_.keyFrames; }

  // Keyframe 0 at 0 ms and keyframe 1 at 1000 ms, the hand turned about two axes.
  void twoPoses(Vector3 axisA, float degreesA, Vector3 axisB, float degreesB) {
    test::keyPose(doc_, ui_, 0, kHand, axisA, degreesA);
    test::resetAllRotations(doc_);
    test::keyPose(doc_, ui_, 1000, kHand, axisB, degreesB);
  }
  void startSegment() {
    store().segment = {0, 1, 1000};
    store().segmentStarted = 1;
    ASSERT_TRUE(loadSegmentStartPoses(store(), doc_.skeleton));
  }
  KeyJointPose& working(const char* name) { return store().animationPoses.at(name); }
  const KeyJointPose& stored(int number, const char* name) {
    return store().byNumber.at(number)->poses.at(name);
  }
  void frameAt(int32_t t) {
    store().playTime = t;
    interpolateFrame(store());
    poseFrame(store().animationPoses);
  }

  SceneDocument doc_;
  test::RecordingUi ui_;
};

TEST_F(InterpolationTest, WorkingSetIsACopyWithItsOwnParentLinks) {
  twoPoses({0, 1, 1}, 30, {1, 2, 3}, 80);
  startSegment();
  EXPECT_EQ(working(kHand).parentPose, &working("Joint0_0"));
  EXPECT_EQ(working("Joint0_0").parentPose, &working("Joint0"));
  EXPECT_EQ(working("Joint0").parentPose, nullptr);
  // Loading again reuses the same entries.
  const KeyJointPose* before = &working(kHand);
  ASSERT_TRUE(loadSegmentStartPoses(store(), doc_.skeleton));
  EXPECT_EQ(&working(kHand), before);
}

TEST_F(InterpolationTest, LinearTurnsAboutOneAxisFromKeyframeToKeyframe) {
  twoPoses({0, 1, 1}, 30, {1, 2, 3}, 80);
  const Vector3 d = stored(0, kHand).kf_drawBoneVector;
  const Vector3 e = stored(1, kHand).kf_drawBoneVector;
  startSegment();
  frameAt(0);
  EXPECT_EQ(store().segmentStarted, 0);
  test::expectNear(working(kHand).kf_drawBoneVector, d);
  const double a = working(kHand).kf_endFrameAngle;
  EXPECT_GE(a, angleBetween(d, e) - 1e-3);  // the bone's twist turns along
  frameAt(500);
  EXPECT_EQ(working(kHand).kf_axisAngle, static_cast<float>(500 * a / 1000));
  // Halfway about a fixed axis: as far from the start bone as from the end bone.
  const Vector3 mid = working(kHand).kf_drawBoneVector;
  EXPECT_NEAR(angleBetween(d, mid), angleBetween(mid, e), 1e-2);
  frameAt(999);
  test::expectNear(working(kHand).kf_drawBoneVector, e, 2e-3f);
  frameAt(1000);
  test::expectNear(working(kHand).kf_drawBoneVector, e);
  // The keyframes themselves keep their poses.
  EXPECT_EQ(stored(0, kHand).kf_drawBoneVector, d);
}

TEST_F(InterpolationTest, HermiteWithZeroSpeedsEasesInAndOut) {
  twoPoses({0, 1, 1}, 30, {1, 2, 3}, 80);
  store().byNumber.at(0)->poses.at(kHand).kf_hokanMode = 1;
  startSegment();
  frameAt(250);
  const double a = working(kHand).kf_endFrameAngle;
  EXPECT_NEAR(working(kHand).kf_axisAngle, a * (3 * 0.0625 - 2 * 0.015625), 1e-9);
  frameAt(1000);
  EXPECT_NEAR(working(kHand).kf_axisAngle, a, 1e-9);
}

TEST_F(InterpolationTest, HermiteOvershootHoldsTheEndAngleUntilTheCurveReturns) {
  twoPoses({0, 1, 1}, 30, {1, 2, 3}, 80);
  KeyJointPose& setting = store().byNumber.at(0)->poses.at(kHand);
  setting.kf_hokanMode = 1;
  startSegment();
  frameAt(0);
  const double a = working(kHand).kf_endFrameAngle;
  setting.kf_speed[0] = working(kHand).kf_speed[0] = 4 * a;
  bool passed = false;
  // Any order of times: the angle depends on the time alone.
  for (int32_t t : {0, 992, 96, 640, 999, 320, 1000, 32}) {
    frameAt(t);
    double s = t / 1000.0, vs = 4 * a;
    double curve = (-2 * a + vs) * s * s * s + (3 * a - 2 * vs) * s * s + vs * s;
    passed |= curve > a;
    EXPECT_NEAR(working(kHand).kf_axisAngle, std::min(curve, a), 1e-9) << t;
  }
  EXPECT_TRUE(passed);
}

TEST_F(InterpolationTest, IdenticalDirectionsDoNotTurn) {
  // Both keyframes hold the rest pose: every bone in the same direction.
  twoPoses({0, 1, 1}, 0, {1, 0, 0}, 0);
  const KeyJointPose& start = stored(0, kHand);
  ASSERT_EQ(start.kf_drawBoneVector, stored(1, kHand).kf_drawBoneVector);
  startSegment();
  frameAt(400);
  EXPECT_EQ(working(kHand).kf_endFrameAngle, 0);
  EXPECT_EQ(working(kHand).kf_axisVector, start.kf_axisVector);
  EXPECT_EQ(working(kHand).kf_axisAngle, 0);
  test::expectNear(working(kHand).kf_drawBoneVector, start.kf_drawBoneVector);
}

TEST_F(InterpolationTest, TurnInTheXYPlaneTurnsAboutZAndLands) {
  // From the rest bone (1, 0, 0) to (0, 1, 0): the cross product has zero x and y.
  twoPoses({0, 0, 1}, 0, {0, 0, 1}, 90);
  startSegment();
  frameAt(0);
  test::expectNear(working(kHand).kf_axisVector, {0, 0, 1});
  EXPECT_NEAR(working(kHand).kf_endFrameAngle, 90, 1e-4);
  frameAt(1000);
  test::expectNear(working(kHand).kf_drawBoneVector, stored(1, kHand).kf_drawBoneVector);
}

TEST_F(InterpolationTest, BaseJointPositionMovesBetweenTheKeyframes) {
  twoPoses({0, 1, 1}, 0, {0, 1, 1}, 0);
  store().byNumber.at(0)->poses.at("Joint0").kf_boneVector = {0, 1, 0};
  store().byNumber.at(1)->poses.at("Joint0").kf_boneVector = {2, 1, -4};
  startSegment();
  frameAt(250);
  EXPECT_EQ(working("Joint0").kf_positionAnime, (Vector3{0.5f, 1, -1}));

  KeyJointPose& base = store().byNumber.at(0)->poses.at("Joint0");
  base.kf_hokanMode = 1;
  base.kf_speed[0] = 0.5;
  base.kf_speed[1] = -1;
  startSegment();
  frameAt(500);
  const double s = 0.5, vs = 0.5, ve = -1;
  auto hermite = [&](double p0, double p1) {
    return static_cast<float>(p0 + vs * s + (3 * p1 - 3 * p0 - 2 * vs - ve) * s * s +
                              (2 * p0 - 2 * p1 + vs + ve) * s * s * s);
  };
  EXPECT_EQ(working("Joint0").kf_positionAnime, (Vector3{hermite(0, 2), hermite(1, 1), hermite(0, -4)}));
}

TEST_F(InterpolationTest, DialogStoresTheChoiceForOneJointOfOneKeyframe) {
  twoPoses({0, 1, 1}, 30, {1, 2, 3}, 80);
  const int32_t handId = test::joint(doc_, kHand).jointID;
  const std::string id = std::to_string(handId);
  InterpolationChoice choice{"1000", id, true, "", "2"};
  EXPECT_FALSE(applyInterpolationChoice(store(), doc_.skeleton, choice, ui_));
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, "開始速度の値が無効です");
  EXPECT_EQ(ui_.messages[0].title, "速度");
  choice.startSpeed = "1.5";
  choice.endSpeed = "";
  EXPECT_FALSE(applyInterpolationChoice(store(), doc_.skeleton, choice, ui_));
  EXPECT_EQ(ui_.messages[1].text, "フレーム終了時の速度の値が入力されていません。");
  EXPECT_EQ(stored(1, kHand).kf_hokanMode, 0);

  choice.endSpeed = "速い";
  EXPECT_FALSE(applyInterpolationChoice(store(), doc_.skeleton, choice, ui_));
  EXPECT_EQ(ui_.messages[2].text, "「フレーム終了時の速度」に数値を入力してください。");
  EXPECT_EQ(ui_.messages[2].title, "数値の入力");
  EXPECT_EQ(stored(1, kHand).kf_hokanMode, 0);

  choice.endSpeed = "-2.25";
  EXPECT_TRUE(applyInterpolationChoice(store(), doc_.skeleton, choice, ui_));
  EXPECT_EQ(stored(1, kHand).kf_hokanMode, 1);
  EXPECT_EQ(stored(1, kHand).kf_speed[0], 1.5);
  EXPECT_EQ(stored(1, kHand).kf_speed[1], -2.25);
  EXPECT_EQ(stored(0, kHand).kf_hokanMode, 0);

  EXPECT_TRUE(applyInterpolationChoice(store(), doc_.skeleton, {"1000", id, false, "", ""}, ui_));
  EXPECT_EQ(stored(1, kHand).kf_hokanMode, 0);
  EXPECT_EQ(stored(1, kHand).kf_speed[0], 0);
  // A time with no keyframe stores nothing and closes.
  EXPECT_TRUE(applyInterpolationChoice(store(), doc_.skeleton, {"7", id, true, "1", "1"}, ui_));
}

TEST(HermitePreviewCurve, RunsCornerToCornerAlongItsTangents) {
  test::RecordingUi ui;
  double vs = 0, ve = 0;
  EXPECT_FALSE(readPreviewSpeeds("", "1", ui, vs, ve));
  EXPECT_EQ(ui.messages.back().text, "フレーム開始時の速度の値が入力されていません。");
  EXPECT_EQ(ui.messages.back().title, "速度の値");
  EXPECT_FALSE(readPreviewSpeeds("1", "", ui, vs, ve));
  EXPECT_EQ(ui.messages.back().text, "フレーム終了時の速度の値が入力されていません。");
  EXPECT_FALSE(readPreviewSpeeds("x", "1", ui, vs, ve));
  EXPECT_EQ(ui.messages.back().text, "「フレーム開始時の速度」に数値を入力してください。");
  ASSERT_TRUE(readPreviewSpeeds("2", "0", ui, vs, ve));

  HermitePreview preview;
  hermitePreview(vs, ve, preview);
  EXPECT_NEAR(preview.points[0].x, 0, 1e-12);
  EXPECT_NEAR(preview.points[1000].x, 0.5, 1e-9);
  EXPECT_NEAR(preview.points[1000].y, 0.5, 1e-9);
  const double n = std::sqrt(1.0 + 4.0);
  EXPECT_NEAR(preview.startTangentEnd.x, 1 / n / 3, 1e-12);
  EXPECT_NEAR(preview.startTangentEnd.y, 2 / n / 3, 1e-12);
  EXPECT_NEAR(preview.endTangentEnd.x, 0.5 - 1.0 / 3, 1e-12);
  EXPECT_NEAR(preview.endTangentEnd.y, 0.5, 1e-12);
  // The curve leaves (0, 0) along the start tangent.
  EXPECT_NEAR(preview.points[1].y / preview.points[1].x, 2, 1e-2);
}

}  // namespace
}  // namespace lw
