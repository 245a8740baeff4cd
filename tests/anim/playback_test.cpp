#include "anim/playback.h"

#include <gtest/gtest.h>

#include "anim/anim_fixture.h"
#include "core/command_ids.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

// A millisecond clock that only moves when a frame is drawn or the loop sleeps.
struct FakeHost {
  uint32_t clock = 0xFFFFFF00u;  // wraps after 256 ms, as a long-running clock does
  uint32_t drawCost = 0;
  uint32_t overSleep = 0;
  std::vector<int32_t> drawnTimes;
  std::vector<int32_t> drawnSegments;  // start number of the segment of each frame
  std::vector<uint32_t> sleeps;
  std::vector<int> savedFrames;
  std::vector<int32_t> savedTimes;  // the time of the picture each saved file holds
  size_t stopAfter = 0;             // a stop is asked once this many frames were drawn
  KeyframeStore* store = nullptr;

  PlaybackHost host() {
    return {[this] { return clock; },
            [this](uint32_t ms) {
              sleeps.push_back(ms);
              clock += ms + overSleep;
            },
            [this] {
              drawnTimes.push_back(store->playTime);
              drawnSegments.push_back(store->segment.startNumber);
              clock += drawCost;
            },
            [this](int n) {
              savedFrames.push_back(n);
              savedTimes.push_back(drawnTimes.back());
            },
            [this] { return stopAfter != 0 && drawnTimes.size() >= stopAfter; }};
  }
};

class PlaybackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::buildArm(doc_, ui_);
    fake_.store = doc_.keyFrames.get();
  }
  void keyframesAt(std::initializer_list<int32_t> times) {
    float degrees = 0;
    for (int32_t t : times) {
      test::keyPose(doc_, ui_, t, "Joint0_0_0", {0, 1, 1}, degrees += 20);
      test::resetAllRotations(doc_);
    }
  }

  SceneDocument doc_;
  test::RecordingUi ui_;
  FakeHost fake_;
};

TEST_F(PlaybackTest, SavingFramesStepsBy32AndNeverShowsTheEndPose) {
  keyframesAt({0, 1000});
  armWholeRange(doc_, ui_);
  doc_.saveFramesAsBmp = 1;
  fake_.drawCost = 70;  // drawing time does not matter while saving
  // The frame drawn at 992 ms ends the segment before it is saved.
  EXPECT_EQ(playAnimation(doc_, fake_.host()), 32);
  std::vector<int32_t> times;
  std::vector<int> numbers;
  for (int i = 0; i < 31; ++i) {
    times.push_back(32 * i);
    numbers.push_back(i + 1);
  }
  EXPECT_EQ(fake_.savedTimes, times);
  EXPECT_EQ(fake_.savedFrames, numbers);
  EXPECT_EQ(fake_.drawnTimes.back(), 992);
  EXPECT_TRUE(fake_.sleeps.empty());
  EXPECT_EQ(doc_.keyFrames->playTime, 0);
}

TEST_F(PlaybackTest, FastFramesSleepTheRestOfThePeriodAndCountTheRealSleep) {
  keyframesAt({0, 100});
  armWholeRange(doc_, ui_);
  fake_.drawCost = 5;
  fake_.overSleep = 1;
  EXPECT_EQ(playAnimation(doc_, fake_.host()), 6);
  EXPECT_EQ(fake_.drawnTimes, (std::vector<int32_t>{0, 17, 34, 51, 68, 85}));
  EXPECT_EQ(fake_.sleeps, (std::vector<uint32_t>(6, 11)));
  EXPECT_TRUE(fake_.savedFrames.empty());
}

TEST_F(PlaybackTest, SlowFramesAdvanceByTheirDurationAndDropTheOvershoot) {
  keyframesAt({0, 100, 200});
  armWholeRange(doc_, ui_);
  fake_.drawCost = 40;
  EXPECT_EQ(playAnimation(doc_, fake_.host()), 6);
  EXPECT_EQ(fake_.drawnTimes, (std::vector<int32_t>{0, 40, 80, 0, 40, 80}));
  EXPECT_EQ(fake_.drawnSegments, (std::vector<int32_t>{0, 0, 0, 1, 1, 1}));
  EXPECT_TRUE(fake_.sleeps.empty());
}

TEST_F(PlaybackTest, EachSegmentStartsFromItsOwnKeyframe) {
  keyframesAt({0, 100, 200});
  armWholeRange(doc_, ui_);
  fake_.drawCost = 40;
  std::vector<Vector3> bones;
  PlaybackHost host = fake_.host();
  auto draw = host.drawFrame;
  host.drawFrame = [&] {
    draw();
    bones.push_back(doc_.keyFrames->animationPoses.at("Joint0_0_0").kf_drawBoneVector);
  };
  playAnimation(doc_, host);
  ASSERT_EQ(bones.size(), 6u);
  test::expectNear(bones[0], doc_.keyFrames->byNumber.at(0)->poses.at("Joint0_0_0").kf_drawBoneVector);
  test::expectNear(bones[3], doc_.keyFrames->byNumber.at(1)->poses.at("Joint0_0_0").kf_drawBoneVector);
}

TEST_F(PlaybackTest, StopAfterTheFirstFrameKeepsItsFileAndTheNextRunStartsOver) {
  keyframesAt({0, 1000});
  armWholeRange(doc_, ui_);
  doc_.saveFramesAsBmp = 1;
  fake_.stopAfter = 1;
  EXPECT_EQ(playAnimation(doc_, fake_.host()), 1);
  EXPECT_EQ(fake_.savedFrames, (std::vector<int>{1}));
  EXPECT_EQ(doc_.keyFrames->playTime, 0);
  EXPECT_TRUE(canPlay(doc_));  // still armed

  // The next playback runs the whole range again, numbering its files from 1.
  fake_ = FakeHost{};
  fake_.store = doc_.keyFrames.get();
  EXPECT_EQ(playAnimation(doc_, fake_.host()), 32);
  EXPECT_EQ(fake_.drawnTimes.front(), 0);
  ASSERT_EQ(fake_.savedFrames.size(), 31u);
  EXPECT_EQ(fake_.savedFrames.front(), 1);
}

TEST_F(PlaybackTest, StopInsideALaterSegmentEndsThereWithTimeReset) {
  keyframesAt({0, 100, 200});
  armWholeRange(doc_, ui_);
  fake_.drawCost = 40;
  fake_.stopAfter = 4;
  EXPECT_EQ(playAnimation(doc_, fake_.host()), 4);
  EXPECT_EQ(fake_.drawnTimes, (std::vector<int32_t>{0, 40, 80, 0}));
  EXPECT_EQ(fake_.drawnSegments, (std::vector<int32_t>{0, 0, 0, 1}));
  EXPECT_EQ(doc_.keyFrames->playTime, 0);
  EXPECT_EQ(doc_.animationView, 1);
}

TEST_F(PlaybackTest, NothingPlaysUnarmedOrWithOneKeyframe) {
  keyframesAt({0});
  armWholeRange(doc_, ui_);
  EXPECT_EQ(playAnimation(doc_, fake_.host()), 0);
  keyframesAt({500});
  doc_.animationView = 0;
  EXPECT_FALSE(canPlay(doc_));
  EXPECT_EQ(playAnimation(doc_, fake_.host()), 0);
  EXPECT_TRUE(fake_.drawnTimes.empty());
}

TEST_F(PlaybackTest, SegmentsFollowTheTimeOrderOfTheRange) {
  keyframesAt({200, 0, 100, 300});  // numbers 0, 1, 2, 3
  KeyframeStore& store = *doc_.keyFrames;
  ASSERT_TRUE(setPlaybackRange(store, 300, 100));
  buildSegments(store);
  ASSERT_EQ(store.segments.size(), 2u);
  EXPECT_EQ(store.segments[0].startNumber, 2);
  EXPECT_EQ(store.segments[0].endNumber, 0);
  EXPECT_EQ(store.segments[0].duration, 100);
  EXPECT_EQ(store.segments[1].endNumber, 3);
  EXPECT_EQ(takeNextSegment(store), 1);
  EXPECT_EQ(store.segmentStarted, 1);
  EXPECT_EQ(takeNextSegment(store), 1);
  EXPECT_EQ(store.segment.endNumber, 3);
  EXPECT_EQ(takeNextSegment(store), 0);

  // An end before the start runs to the last keyframe.
  ASSERT_TRUE(setPlaybackRange(store, 0, 200));
  buildSegments(store);
  ASSERT_EQ(store.segments.size(), 1u);
  EXPECT_EQ(store.segments[0].startNumber, 0);
  EXPECT_EQ(store.segments[0].endNumber, 3);
}

TEST_F(PlaybackTest, RangeDialogComparesTimesAsUnsignedNumbers) {
  keyframesAt({-100, 0, 100});
  KeyframeStore& store = *doc_.keyFrames;
  EXPECT_TRUE(chooseRange(store, 0, 100, ui_));
  EXPECT_EQ(store.rangeDuration, 100);
  EXPECT_FALSE(chooseRange(store, 100, 100, ui_));
  EXPECT_FALSE(chooseRange(store, -100, 100, ui_));  // -100 counts as the larger
  ASSERT_EQ(ui_.messages.size(), 2u);
  EXPECT_EQ(ui_.messages[0].text, "終了キーフレーム時間は、開始キーフレーム時間より大きい値を指定してください");
  EXPECT_EQ(ui_.messages[0].title, "フレーム時間指定エラー");
  EXPECT_TRUE(chooseRange(store, 100, -100, ui_));
  EXPECT_EQ(store.rangeEnd, store.byTime.at(-100)->number);
}

TEST_F(PlaybackTest, ArmingAndFrameFiles) {
  keyframesAt({0, 100});
  armChosenRange(doc_);
  EXPECT_EQ(doc_.animationView, 1);
  EXPECT_EQ(doc_.do_skinning, 0);
  EXPECT_EQ(doc_.editMode, RotateFk);
  armWholeRange(doc_, ui_);
  EXPECT_EQ(doc_.editMode, Animation);
  toggleSaveFrames(doc_, ui_);
  EXPECT_EQ(doc_.saveFramesAsBmp, 1);
  EXPECT_TRUE(ui_.isChecked(IDM_SAVE_FRAMES));
  EXPECT_EQ(playbackFrameFileName("C:\\prog\\", 12), "C:\\prog\\frame12.bmp");
}

}  // namespace
}  // namespace lw
