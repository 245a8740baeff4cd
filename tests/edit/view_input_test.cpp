#include "edit/view_input.h"

#include <gtest/gtest.h>

#include <memory>

#include "edit/view_input_fake.h"

namespace lw {
namespace {

using test::ViewRig;

struct FamilyRow {
  int32_t armed, picking, hit, miss;
  bool keepsDepth;
  PickChoice choice;
};

// Written out by hand so that a slip in the program's own table shows here.
constexpr FamilyRow kRows[] = {
    {2, 3, 2, 2, false, PickChoice::First},        {1, 10, 11, 1, false, PickChoice::First},
    {11, 10, 11, 1, false, PickChoice::First},     {14, 15, 14, 14, false, PickChoice::Nearest},
    {17, 19, 18, 17, false, PickChoice::First},    {18, 19, 18, 17, false, PickChoice::First},
    {21, 22, 23, 21, false, PickChoice::Nearest},  {23, 22, 23, 21, false, PickChoice::Nearest},
    {28, 29, 30, 28, true, PickChoice::First},     {30, 29, 30, 28, true, PickChoice::First},
    {32, 33, 34, 32, true, PickChoice::First},     {34, 33, 34, 32, true, PickChoice::First},
    {39, 40, 41, 39, false, PickChoice::First},    {41, 40, 41, 39, false, PickChoice::First},
    {42, 43, 44, 42, false, PickChoice::First},    {44, 43, 44, 42, false, PickChoice::First},
    {46, 47, 48, 46, true, PickChoice::First},     {48, 47, 48, 46, true, PickChoice::First},
    {50, 51, 52, 50, true, PickChoice::First},     {52, 51, 52, 50, true, PickChoice::First},
    {55, 56, 57, 55, true, PickChoice::First},     {57, 56, 57, 55, true, PickChoice::First},
    {70, 71, 72, 70, false, PickChoice::First},    {72, 71, 72, 70, false, PickChoice::First},
    {73, 74, 75, 73, false, PickChoice::First},    {75, 74, 75, 73, false, PickChoice::First},
    {660, 661, 662, 660, true, PickChoice::First}, {662, 661, 662, 660, true, PickChoice::First},
};

TEST(ViewInput, EveryArmedValueArmsAPickThatLandsOnItsHitOrMissValue) {
  for (const FamilyRow& row : kRows) {
    SCOPED_TRACE(row.armed);
    ViewRig r;
    r.doc.editMode = row.armed;
    r.doc.selectedJoint = 5;
    r.state.pickDepth = 0.125f;
    r.move(40, 60);
    EXPECT_EQ(r.doc.editMode, row.picking);
    EXPECT_EQ(r.doc.selectedJoint, -1);
    EXPECT_EQ(r.state.hoverX, 40);
    EXPECT_EQ(r.state.hoverY, 60);
    EXPECT_EQ(r.ui.redraws, 1);

    r.paintHit(7, 0.75f);
    ASSERT_EQ(r.host.picks.size(), 1u);
    EXPECT_EQ(r.host.picks[0].x, 40);
    EXPECT_EQ(r.host.picks[0].y, 60);
    EXPECT_EQ(r.host.picks[0].choice, row.choice);
    EXPECT_EQ(r.doc.editMode, row.hit);
    EXPECT_EQ(r.doc.selectedJoint, 7);
    EXPECT_EQ(r.state.pickDepth, row.keepsDepth ? 0.75f : 0.125f);
    EXPECT_EQ(r.host.frames, 1);  // the normal frame follows the pick

    r.doc.editMode = row.armed;
    r.move(41, 61);
    r.paintMiss();
    EXPECT_EQ(r.doc.editMode, row.miss);
    EXPECT_EQ(r.doc.selectedJoint, -1);
  }
}

TEST(ViewInput, OverflowedPickIsAMissAndOtherModesNeverPick) {
  ViewRig r;
  r.doc.editMode = RotateFk;
  r.move(1, 1);
  r.host.nextPick = PickResult{true, -1, 3, 0.5f};
  r.paint();
  EXPECT_EQ(r.doc.editMode, RotateFk);
  EXPECT_EQ(r.doc.selectedJoint, -1);

  for (int32_t mode : {0, 9, 12, 13, 9999}) {
    ViewRig q;
    q.doc.editMode = mode;
    q.doc.selectedJoint = 4;
    q.move(10, 10);
    q.paint();
    EXPECT_EQ(q.doc.editMode, mode);
    EXPECT_EQ(q.doc.selectedJoint, 4);
    EXPECT_TRUE(q.host.picks.empty());
    EXPECT_EQ(q.host.frames, 1);
  }
}

TEST(ViewInput, DragOnlyFamiliesDoNotArmWhileTheLeftButtonDrags) {
  for (int32_t mode : {2, 14, 17, 18, 32, 34}) {
    ViewRig r;
    r.doc.editMode = mode;
    r.state.dragActive = 1;
    r.move(5, 5);
    EXPECT_EQ(r.doc.editMode, mode) << mode;
  }
  ViewRig r;  // the second click of bone-length equalising arms during its press
  r.doc.editMode = 42;
  r.state.dragActive = 1;
  r.move(5, 5);
  EXPECT_EQ(r.doc.editMode, 43);
}

TEST(ViewInput, PickDuringADragChoosesWhatTheDragMoves) {
  ViewRig r;  // joint move: the hit's name and depth, then the drag value
  r.doc.editMode = MoveChildJoint;
  r.down(30, 40);
  EXPECT_EQ(r.doc.editMode, 3);
  r.paintHit(2, 0.4f);
  EXPECT_EQ(r.doc.editMode, 4);
  EXPECT_EQ(r.doc.selectedJoint, 2);
  EXPECT_FLOAT_EQ(r.state.pickDepth, 0.4f);

  ViewRig f;  // box face: only the face names pressedPick + 100 ... + 600 start the drag
  f.doc.editMode = MoveWeightBoxFace;
  f.down(12, 13);
  f.paintHit(700);
  EXPECT_EQ(f.doc.editMode, 15);
  f.paintHit(99);
  EXPECT_EQ(f.doc.editMode, 15);
  f.state.prevX = 0;
  f.paintHit(300);
  EXPECT_EQ(f.doc.editMode, 16);
  EXPECT_EQ(f.doc.selectedJoint, 300);
  EXPECT_EQ(f.state.prevX, 12);
  EXPECT_EQ(f.state.prevY, 13);

  ViewRig b;  // after a press on empty space the faces are named 99 ... 599
  b.doc.editMode = MoveWeightBoxFace;
  b.state.pressedPick = -1;
  b.down(0, 0);
  b.paintHit(99);
  EXPECT_EQ(b.doc.editMode, 16);

  ViewRig e;  // any other picking value waits for the release
  e.doc.editMode = 43;
  e.state.dragActive = 1;
  e.doc.selectedJoint = 8;
  e.paintHit(2);
  EXPECT_EQ(e.doc.editMode, 43);
  EXPECT_EQ(e.doc.selectedJoint, 8);
}

TEST(ViewInput, EveryDragCapturesTheMouseOnceAndItsReleaseFreesIt) {
  // The picked value a press starts from, and the value the press leads to.
  const int32_t presses[][2] = {{2, 3},   {14, 15}, {18, 20},  {30, 31},
                                {34, 35}, {41, 42}, {662, 663}};
  for (const auto& p : presses) {
    SCOPED_TRACE(p[0]);
    ViewRig r;
    r.doc.editMode = p[0];
    r.doc.selectedJoint = 3;
    r.down(10, 10);
    EXPECT_EQ(r.doc.editMode, p[1]);
    EXPECT_EQ(r.state.dragActive, 1);
    r.down(12, 10);  // a second press before the release starts nothing new
    EXPECT_EQ(r.host.captures, 1);
    r.up();
    EXPECT_EQ(r.state.dragActive, 0);
    EXPECT_EQ(r.host.releases, 1);
    r.up();
    EXPECT_EQ(r.host.releases, 1);
  }
}

TEST(ViewInput, PressOnEmptySpaceWhileMovingJointsMovesNothingUntilTheRelease) {
  ViewRig r;
  r.doc.editMode = MoveChildJoint;
  r.doc.selectedJoint = 1;
  r.down(50, 50);
  r.paintMiss();
  EXPECT_EQ(r.doc.editMode, MoveChildJoint);
  EXPECT_EQ(r.doc.selectedJoint, -1);
  r.move(60, 60);  // held button: neither a new pick nor a drag step
  EXPECT_EQ(r.doc.editMode, MoveChildJoint);
  EXPECT_TRUE(r.host.worldDepths.empty());
  r.up();
  EXPECT_EQ(r.host.releases, 1);
  r.move(61, 61);  // released: moving arms the pick again
  EXPECT_EQ(r.doc.editMode, 3);
}

TEST(ViewInput, ReleaseReturnsEachDragToItsArmedValue) {
  const int32_t drags[][2] = {{4, 2}, {16, 14}, {20, 17}, {31, 28}, {35, 32}, {663, 660}};
  for (const auto& d : drags) {
    ViewRig r;
    r.doc.editMode = d[0];
    r.state.dragActive = 1;
    r.up();
    EXPECT_EQ(r.doc.editMode, d[1]);
    EXPECT_EQ(r.state.dragActive, 0);
    EXPECT_EQ(r.host.releases, 1);
  }
  ViewRig idle;  // no drag, no release
  idle.doc.editMode = 4;
  idle.up();
  EXPECT_EQ(idle.doc.editMode, 4);
  EXPECT_EQ(idle.host.releases, 0);
}

TEST(ViewInput, ReleaseRepaintsSoThatAPickLeftPendingByTheDragRuns) {
  ViewRig r;
  r.doc.editMode = 43;
  r.state.dragActive = 1;
  r.up();
  EXPECT_EQ(r.ui.redraws, 1);
  r.paintHit(3);
  EXPECT_EQ(r.doc.editMode, 44);
}

TEST(ViewInput, RootMovePickZeroesTheDragAccumulators) {
  ViewRig r;
  r.doc.editMode = MoveRootJoint;
  r.state.dragTarget = {1, 2, 3};
  r.doc.dragStarted = 1;
  r.doc.dragCounter = 9;
  r.doc.dragVector = {4, 5, 6};
  r.hover(1, 1, 1);
  EXPECT_EQ(r.doc.editMode, 662);
  EXPECT_EQ(r.state.dragTarget, Vector3{});
  EXPECT_EQ(r.doc.dragStarted, 0);
  EXPECT_EQ(r.doc.dragCounter, 0);
  EXPECT_EQ(r.doc.dragVector, Vector3{});
}

TEST(ViewInput, FailedDrawingShowsTheErrorAndClosesTheWindow) {
  ViewRig r;
  r.doc.editMode = RotateFk;
  r.move(1, 1);
  r.host.nextPick = PickResult{false, 1, 2, 0.5f};
  r.paint();
  ASSERT_EQ(r.ui.messages.size(), 1u);
  EXPECT_EQ(r.ui.messages[0].text, "エラー発生");
  EXPECT_EQ(r.ui.messages[0].title, "エラー");
  EXPECT_EQ(r.host.closes, 1);
  EXPECT_EQ(r.host.frames, 0);
  EXPECT_EQ(r.doc.editMode, 19);  // nothing was chosen

  ViewRig f;
  f.host.frameOk = false;
  f.paint();
  EXPECT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.host.closes, 1);
}

TEST(ViewInput, RightButtonDragsTheCameraAndExcludesALeftDrag) {
  ViewRig r;
  r.doc.editMode = RotateFk;
  r.rightDown(100, 100);
  EXPECT_EQ(r.state.cameraDragActive, 1);
  EXPECT_EQ(r.host.captures, 1);
  r.move(103, 98);
  r.move(103, 98);
  ASSERT_EQ(r.host.cameraSteps.size(), 2u);
  EXPECT_EQ(r.host.cameraSteps[0], (std::array<int, 2>{3, -2}));
  EXPECT_EQ(r.host.cameraSteps[1], (std::array<int, 2>{0, 0}));
  EXPECT_EQ(r.doc.editMode, RotateFk);  // the edit mode's move did not run
  r.doc.editMode = 18;
  r.down(103, 98);  // a left press during the camera drag is ignored
  EXPECT_EQ(r.state.dragActive, 0);
  EXPECT_EQ(r.doc.editMode, 18);
  r.rightUp();
  EXPECT_EQ(r.state.cameraDragActive, 0);
  EXPECT_EQ(r.host.releases, 1);
  r.rightUp();
  EXPECT_EQ(r.host.releases, 1);

  ViewRig l;  // a right press during a left drag is ignored
  l.doc.editMode = 20;
  l.state.dragActive = 1;
  l.rightDown(5, 5);
  EXPECT_EQ(l.state.cameraDragActive, 0);
  EXPECT_EQ(l.host.captures, 0);
}

TEST(ViewInput, RightButtonInVertexWeightingOpensTheDialogOrSaysNothingIsSelected) {
  ViewRig r;
  r.doc.editMode = 23;
  r.rightDown(5, 5);
  ASSERT_EQ(r.host.viewMessages.size(), 1u);
  EXPECT_EQ(r.host.viewMessages[0].text, "頂点を1つ以上選択してください。");
  EXPECT_EQ(r.host.viewMessages[0].title, "頂点未選択");
  EXPECT_EQ(r.host.vertexDialogs, 0);
  EXPECT_EQ(r.state.cameraDragActive, 0);

  r.doc.vertexSelection = {{0, 4}, {1, 2}};
  r.rightDown(5, 5);
  EXPECT_EQ(r.host.vertexDialogs, 1);
  EXPECT_EQ(r.host.viewMessages.size(), 1u);
  EXPECT_TRUE(r.doc.vertexSelection.empty());
  EXPECT_EQ(r.ui.redraws, 2);
  EXPECT_EQ(r.state.cameraDragActive, 0);
}

TEST(ViewInput, SpacePlaysOnlyWhenArmedWithTwoKeyframesInBothMaps) {
  ViewRig r;
  auto addKeyframe = [&](int32_t number, int32_t time) {
    auto kf = std::make_shared<KeyFrame>();
    r.doc.keyFrames->byNumber[number] = kf;
    r.doc.keyFrames->byTime[time] = kf;
  };
  addKeyframe(1, 0);
  addKeyframe(2, 1000);
  handleViewKeyDown(r.ctx, ' ');
  EXPECT_EQ(r.host.playbacks, 0);  // not armed
  r.doc.animationView = 1;
  handleViewKeyDown(r.ctx, 'A');
  EXPECT_EQ(r.host.playbacks, 0);
  handleViewKeyDown(r.ctx, ' ');
  EXPECT_EQ(r.host.playbacks, 1);
  r.doc.keyFrames->byTime.erase(1000);
  handleViewKeyDown(r.ctx, ' ');
  EXPECT_EQ(r.host.playbacks, 1);
}

}  // namespace
}  // namespace lw
