#include <gtest/gtest.h>

#include <climits>
#include <new>
#include <optional>

#include "anim/anim_fixture.h"
#include "anim/keyframe_commands.h"
#include "anim/playback.h"
#include "core/command_ids.h"
#include "core/keyframes.h"
#include "support/failing_allocation.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

class KeyframeStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { test::buildArm(doc_, ui_); }
  KeyframeStore& store() { return *doc_.keyFrames; }
  std::vector<int32_t> timeOrderNumbers() {
    std::vector<int32_t> numbers;
    for (const auto& [time, kf] : store().byTime) numbers.push_back(kf->number);
    return numbers;
  }

  SceneDocument doc_;
  test::RecordingUi ui_;
};

TEST_F(KeyframeStoreTest, NumbersComeFromTheTimeOrderAndNextStopsAtTheLast) {
  for (int32_t t : {0, 1000, 500}) createKeyFrameCommand(doc_, ui_, t);
  EXPECT_EQ(timeOrderNumbers(), (std::vector<int32_t>{0, 2, 1}));
  EXPECT_EQ(store().currentTime, 500);
  EXPECT_EQ(showNextKeyFrame(doc_), 1);
  EXPECT_EQ(store().currentTime, 1000);
  EXPECT_EQ(showNextKeyFrame(doc_), 1);
  EXPECT_EQ(showPreviousKeyFrame(doc_), 2);
  EXPECT_EQ(showPreviousKeyFrame(doc_), 0);
  EXPECT_EQ(showPreviousKeyFrame(doc_), 0);
  EXPECT_EQ(store().currentTime, 0);
  EXPECT_EQ(store().keyframeShown, 1);
  EXPECT_EQ(store().keyframeBoneView, 0);
  EXPECT_EQ(doc_.do_skinning, 1);
}

// Keyframes at both ends of the int range: the span between them is held at the
// largest int instead of overflowing.
TEST_F(KeyframeStoreTest, RangeBetweenTheExtremeTimesDoesNotOverflow) {
  EXPECT_EQ(timeSpan(INT32_MAX, INT32_MIN), INT32_MAX);
  EXPECT_EQ(timeSpan(INT32_MIN, INT32_MAX), INT32_MIN);
  EXPECT_EQ(timeSpan(INT32_MAX, -1), INT32_MAX);
  EXPECT_EQ(timeSpan(INT32_MAX - 1, -1), INT32_MAX);
  EXPECT_EQ(timeSpan(250, -750), 1000);
  for (int32_t t : {INT32_MIN, INT32_MAX}) createKeyFrameCommand(doc_, ui_, t);
  ASSERT_TRUE(setPlaybackRange(store(), INT32_MAX, INT32_MIN));
  EXPECT_EQ(store().rangeDuration, INT32_MAX);
}

TEST_F(KeyframeStoreTest, SameTimeReplacesInTimeOrderOnly) {
  createKeyFrameCommand(doc_, ui_, 300);
  createKeyFrameCommand(doc_, ui_, 300);
  EXPECT_EQ(store().byNumber.size(), 2u);
  ASSERT_EQ(store().byTime.size(), 1u);
  EXPECT_EQ(store().byTime.at(300)->number, 1);
  createKeyFrameCommand(doc_, ui_, 10);
  EXPECT_EQ(store().byNumber.rbegin()->first, 2);
  // Both maps hold two entries only once three keyframes exist here: the
  // playback items are enabled now, not before.
  EXPECT_TRUE(ui_.isEnabled(IDM_PLAY));
}

TEST_F(KeyframeStoreTest, KeyframesInNeitherMapAreReleased) {
  createKeyFrame(store(), doc_.skeleton, 100);
  std::weak_ptr<KeyFrame> replaced = store().byNumber.at(0);
  createKeyFrame(store(), doc_.skeleton, 100);
  std::weak_ptr<KeyFrame> shown = store().byNumber.at(1);
  eraseShownKeyFrame(store());
  EXPECT_TRUE(shown.expired());
  EXPECT_FALSE(replaced.expired());  // still held by number
  // byTime is empty, so the next keyframe is numbered 0 and takes its place.
  EXPECT_EQ(createKeyFrame(store(), doc_.skeleton, 5).number, 0);
  EXPECT_TRUE(replaced.expired());
  EXPECT_EQ(store().byNumber.size(), 1u);
}

// Every allocation of a new keyframe failing in turn, with one keyframe held by
// number only (the new one takes its number): the store stays as it was.
TEST_F(KeyframeStoreTest, RunningOutOfMemoryLeavesTheStoreAsItWas) {
  createKeyFrame(store(), doc_.skeleton, 100);
  createKeyFrame(store(), doc_.skeleton, 100);
  eraseShownKeyFrame(store());  // #0 is left, by number only
  const auto numbered = store().byNumber;
  const auto timed = store().byTime;
  const KeyFramePtr last = store().lastCreated;
  int failures = 0;
  for (int allowed = 0;; ++allowed) {
    test::failAllocation(allowed);
    try {
      createKeyFrame(store(), doc_.skeleton, 250);
    } catch (const std::bad_alloc&) {
      ++failures;
      EXPECT_EQ(store().byNumber, numbered) << allowed;
      EXPECT_EQ(store().byTime, timed) << allowed;
      EXPECT_EQ(store().lastCreated, last) << allowed;
      continue;
    }
    test::disarmAllocationFailure();
    break;
  }
  EXPECT_GT(failures, 2);
  EXPECT_EQ(store().byTime.at(250)->number, 0);
  EXPECT_EQ(store().byNumber.size(), 1u);
}

TEST_F(KeyframeStoreTest, DeletingTheEarliestShowsTheNextOtherwiseTheEarliest) {
  for (int32_t t : {0, 500, 1000}) createKeyFrameCommand(doc_, ui_, t);
  store().currentNumber = 0;
  store().currentTime = 0;
  deleteShownKeyFrame(doc_, ui_);
  EXPECT_EQ(store().currentTime, 1000);  // the later of the two that remain

  createKeyFrameCommand(doc_, ui_, 0);  // 0, 500, 1000 again; 0 is current
  store().currentNumber = store().byTime.at(500)->number;
  store().currentTime = 500;
  deleteShownKeyFrame(doc_, ui_);
  EXPECT_EQ(store().currentTime, 0);
  store().currentNumber = store().byTime.at(1000)->number;
  store().currentTime = 1000;
  deleteShownKeyFrame(doc_, ui_);
  EXPECT_EQ(store().currentTime, 0);
  EXPECT_EQ(store().deletedTime, 1000);
  EXPECT_TRUE(ui_.isGreyed(IDM_PLAY_ALL));
  EXPECT_TRUE(ui_.isGreyed(IDM_KEYFRAME_NEXT));
}

TEST_F(KeyframeStoreTest, DeletingTheLastKeyframeGreysDeletionBonesAndInterpolation) {
  createKeyFrameCommand(doc_, ui_, 0);
  EXPECT_TRUE(ui_.isEnabled(IDM_KEYFRAME_BONES));
  deleteShownKeyFrame(doc_, ui_);
  EXPECT_TRUE(store().byNumber.empty());
  EXPECT_TRUE(store().byTime.empty());
  EXPECT_EQ(store().lastCreated, nullptr);
  for (int id : {IDM_KEYFRAME_DELETE, IDM_KEYFRAME_BONES, IDM_INTERPOLATION}) {
    EXPECT_TRUE(ui_.isGreyed(id)) << id;
  }
  EXPECT_EQ(store().keyframeBoneView, 1);
  EXPECT_EQ(doc_.animationView, 0);
}

TEST_F(KeyframeStoreTest, NegativeTimeOrdersFirst) {
  createKeyFrameCommand(doc_, ui_, 100);
  createKeyFrameCommand(doc_, ui_, -50);
  EXPECT_EQ(store().byTime.begin()->first, -50);
  EXPECT_EQ(store().rangeStart, 1);
  EXPECT_EQ(store().rangeEnd, 0);
  EXPECT_EQ(store().rangeDuration, 150);
}

TEST_F(KeyframeStoreTest, ShowingWithoutAModelChangesNothing) {
  test::keyPose(doc_, ui_, 0, "Joint0_0_0", {0, 0, 1}, 90);
  test::keyPose(doc_, ui_, 100, "Joint0_0_0", {0, 0, 1}, 0);
  doc_.skinBuffers.reset();
  Vector3 before = test::joint(doc_, "Joint0_0_0").drawBoneVector;
  EXPECT_EQ(showPreviousKeyFrame(doc_), kKeyframeNotApplied);
  EXPECT_EQ(doc_.ErrorText, "領域が既に開放されています。");
  EXPECT_EQ(test::joint(doc_, "Joint0_0_0").drawBoneVector, before);
  finishKeyframeNavigation(doc_, ui_, kKeyframeNotApplied);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].title, "エラー");
  EXPECT_TRUE(doc_.ErrorText.empty());
}

TEST_F(KeyframeStoreTest, ApplyingCopiesThePoseBackIntoTheJoints) {
  test::keyPose(doc_, ui_, 0, "Joint0_0_0", {0, 0, 1}, 90);
  test::keyPose(doc_, ui_, 100, "Joint0_0_0", {0, 0, 1}, 0);
  EXPECT_EQ(showPreviousKeyFrame(doc_), 0);
  test::expectNear(test::joint(doc_, "Joint0_0_0").drawBoneVector, {0, 1, 0});
  EXPECT_EQ(showNextKeyFrame(doc_), 1);
  const Joint& hand = test::joint(doc_, "Joint0_0_0");
  const KeyJointPose& pose = store().byTime.at(100)->poses.at("Joint0_0_0");
  EXPECT_EQ(hand.drawBoneVector, pose.kf_drawBoneVector);
  EXPECT_EQ(hand.convertIKtoFK_rotationJointQuaternion, pose.kf_rotationJointQuaternionIKtoFK);
  EXPECT_EQ(hand.accumulatedRotation, pose.kf_drawRotationJointQuaternionRot);
}

TEST_F(KeyframeStoreTest, BakeStoresEveryBoneAsOneTurnFromRest) {
  const Vector3 upperAxis = test::joint(doc_, "Joint0_0").axisVector;
  test::keyPose(doc_, ui_, 0, "Joint0_0_0", {0, 0, 1}, 90);
  const KeyFrame& kf = *store().byTime.at(0);
  const KeyJointPose& hand = kf.poses.at("Joint0_0_0");
  EXPECT_EQ(hand.kf_axisAngle, 0);
  test::expectNear(hand.kf_drawBoneVector, {0, 1, 0});
  test::expectNear(rotateVector(hand.kf_rotationJointQuaternionIKtoFK, hand.kf_boneVector), {0, 1, 0});
  // A bone still along its rest direction keeps its axis; identity turn.
  const KeyJointPose& upper = kf.poses.at("Joint0_0");
  EXPECT_EQ(upper.kf_axisVector, upperAxis);
  EXPECT_EQ(upper.kf_rotationJointQuaternionIKtoFK, kIdentityQuaternion);
  EXPECT_EQ(hand.parentPose, &upper);
  EXPECT_EQ(upper.parentPose, &kf.poses.at("Joint0"));
  EXPECT_EQ(kf.poses.at("Joint0").parentPose, nullptr);
  EXPECT_EQ(doc_.editMode, RotateFk);
}

TEST_F(KeyframeStoreTest, MenuRulesFollowTheSmallerMap) {
  applyKeyframeMenuRules(store(), ui_);
  for (int id : {IDM_KEYFRAME_DELETE, IDM_KEYFRAME_BONES, IDM_INTERPOLATION, IDM_PLAY_ALL}) {
    EXPECT_TRUE(ui_.isGreyed(id)) << id;
  }
  createKeyFrame(store(), doc_.skeleton, 0);
  createKeyFrame(store(), doc_.skeleton, 0);  // two by number, one by time
  applyKeyframeMenuRules(store(), ui_);
  EXPECT_TRUE(ui_.isGreyed(IDM_PLAY_ALL));
  EXPECT_TRUE(ui_.isEnabled(IDM_KEYFRAME_BONES));
  createKeyFrame(store(), doc_.skeleton, 40);
  applyKeyframeMenuRules(store(), ui_);
  for (int id : {IDM_INTERPOLATION, IDM_PLAY_ALL, IDM_PLAY_RANGE, IDM_KEYFRAME_NEXT,
                 IDM_KEYFRAME_PREVIOUS}) {
    EXPECT_TRUE(ui_.isEnabled(id)) << id;
  }
}

TEST(KeyframeTime, ReadLikeTheOtherNumberFieldsAndNothingWithoutDigits) {
  const std::pair<const char*, std::optional<int32_t>> cases[] = {
      {"  -250 ", -250}, {"+500", 500},     {"500ms", 500},  {" 1e3", 1},
      {"12abc", 12},     {"-0", 0},         {"2147483647", 2147483647},
      {"2147483648", 2147483647},           {"-99999999999", INT32_MIN},
      {"abc", std::nullopt}, {"", std::nullopt}, {"+", std::nullopt}, {" -x5", std::nullopt}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(parseKeyframeTime(text), expected) << text;
}

TEST_F(KeyframeStoreTest, TimeFieldWithoutANumberKeepsTheDialogOpenWithAMessage) {
  int32_t time = 7;
  EXPECT_FALSE(acceptKeyframeTime("ms", ui_, time));
  EXPECT_EQ(time, 7);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].title, kKeyframeTimeMissingTitle);
  EXPECT_TRUE(acceptKeyframeTime("+500", ui_, time));
  EXPECT_EQ(time, 500);
  EXPECT_EQ(ui_.messages.size(), 1u);
}

TEST_F(KeyframeStoreTest, DeletingAKeyframeThatBoundsTheRangeKeepsPlaybackAlive) {
  for (int32_t t : {0, 400, 900, 1500}) createKeyFrameCommand(doc_, ui_, t);
  armWholeRange(doc_, ui_);
  struct Step {
    int32_t deleteTime;
    int32_t start, end;  // range times afterwards
    size_t segments;
  };
  // The start of the range, then its end.
  for (const Step& step : {Step{0, 400, 1500, 2}, Step{1500, 400, 900, 1}}) {
    store().currentNumber = store().byTime.at(step.deleteTime)->number;
    store().currentTime = step.deleteTime;
    deleteShownKeyFrame(doc_, ui_);
    EXPECT_EQ(store().rangeStart, store().byTime.at(step.start)->number) << step.deleteTime;
    EXPECT_EQ(store().rangeEnd, store().byTime.at(step.end)->number) << step.deleteTime;
    EXPECT_EQ(store().rangeDuration, step.end - step.start);
    EXPECT_TRUE(canPlay(doc_));
    buildSegments(store());
    EXPECT_EQ(store().segments.size(), step.segments);
  }
  store().currentNumber = store().byTime.at(900)->number;
  store().currentTime = 900;
  deleteShownKeyFrame(doc_, ui_);
  EXPECT_EQ(doc_.animationView, 0);
  EXPECT_TRUE(ui_.isGreyed(IDM_PLAY));
}

TEST(PlaybackRange, EndTimeComesFirstAndMissingTimesChangeNothing) {
  KeyframeStore store;
  JointSet none;
  createKeyFrame(store, none, 200);
  createKeyFrame(store, none, 50);
  EXPECT_TRUE(setPlaybackRange(store, 200, 50));
  EXPECT_EQ(store.rangeStart, 1);
  EXPECT_EQ(store.rangeEnd, 0);
  EXPECT_EQ(store.rangeDuration, 150);
  EXPECT_FALSE(setPlaybackRange(store, 999, 50));
  EXPECT_EQ(store.rangeEnd, 0);
}

}  // namespace
}  // namespace lw
