#include "edit/weight_commands.h"
#include "core/command_ids.h"

#include <gtest/gtest.h>

#include "support/recording_ui.h"

namespace lw {
namespace {

using test::RecordingUi;

TEST(WeightCommands, VertexWeightingShowsHiddenNumbersForTheWhileAndPaintsOnce) {
  for (int32_t shown : {0, 1}) {
    SceneDocument doc;
    RecordingUi ui;
    doc.showJointNumbers = shown;
    doc.tempJointNumbers = 1;
    doc.weightBoxShown = 1;
    doc.do_skinning = 0;
    doc.vertexSelection.push_back({2, 7});
    int32_t shownAtRepaint = -1;
    int repaints = 0;
    beginVertexWeighting(doc, ui, [&] {
      ++repaints;
      shownAtRepaint = doc.showJointNumbers;
    });
    EXPECT_EQ(repaints, shown ? 0 : 1) << shown;
    EXPECT_EQ(shownAtRepaint, shown ? -1 : 1) << shown;
    EXPECT_EQ(doc.tempJointNumbers, shown ? 0 : 1) << shown;
    EXPECT_EQ(ui.checked.count(IDM_SHOW_JOINT_NUMBERS), shown ? 0u : 1u) << shown;
    EXPECT_EQ(doc.showJointNumbers, 1);
    EXPECT_EQ(doc.weightBoxShown, 0);
    EXPECT_TRUE(doc.vertexSelection.empty());
    EXPECT_EQ(doc.editMode, WeightByVertex);
    EXPECT_EQ(doc.do_skinning, 1);
  }
}

TEST(WeightCommands, BoxWeightingRunsTheDialogOnlyWithAShownBoxAndNumbersBehindIt) {
  struct Case {
    int32_t boxShown, numbersShown;
    int repaints, dialogs;
  };
  for (const Case& c : {Case{0, 0, 0, 0}, Case{1, 0, 1, 1}, Case{1, 1, 0, 1}}) {
    SceneDocument doc;
    doc.weightBoxShown = c.boxShown;
    doc.showJointNumbers = c.numbersShown;
    doc.tempJointNumbers = 1;
    doc.do_skinning = 0;
    int repaints = 0, dialogs = 0;
    weightWithBox(
        doc, [&] { ++repaints; },
        [&] {
          ++dialogs;
          EXPECT_EQ(doc.showJointNumbers, 1);
          EXPECT_EQ(repaints, c.repaints);
        });
    EXPECT_EQ(repaints, c.repaints) << c.boxShown << c.numbersShown;
    EXPECT_EQ(dialogs, c.dialogs) << c.boxShown << c.numbersShown;
    EXPECT_EQ(doc.showJointNumbers, c.numbersShown);
    EXPECT_EQ(doc.tempJointNumbers, c.repaints);
    EXPECT_EQ(doc.do_skinning, 1);
  }
}

TEST(WeightCommands, TreeAndBoxFlagsToggleTheirOwnFieldAndCheckMark) {
  SceneDocument doc;
  RecordingUi ui;
  doc.treeAlwaysExpanded = 2;  // non-zero counts as set
  doc.weightBoxShown = 0;
  ASSERT_TRUE(toggleEditFlag(doc, IDM_TREE_EXPANDED, ui));
  EXPECT_EQ(doc.treeAlwaysExpanded, 0);
  EXPECT_EQ(doc.weightBoxShown, 0);
  EXPECT_FALSE(ui.checked.at(IDM_TREE_EXPANDED));
  ASSERT_TRUE(toggleEditFlag(doc, IDM_SHOW_WEIGHT_BOX, ui));
  EXPECT_EQ(doc.weightBoxShown, 1);
  EXPECT_EQ(doc.treeAlwaysExpanded, 0);
  EXPECT_TRUE(ui.checked.at(IDM_SHOW_WEIGHT_BOX));
  EXPECT_FALSE(toggleEditFlag(doc, IDM_SHOW_JOINT_NUMBERS, ui));
  EXPECT_EQ(ui.checked.count(IDM_SHOW_JOINT_NUMBERS), 0u);
  EXPECT_EQ(ui.redraws, 0);
}

TEST(WeightCommands, ModeItemsSetTheirModeAndOnlyStopIkRedraws) {
  const std::pair<int, int32_t> modes[] = {
      {IDM_DELETE_CHILD, DeleteChildJoint},      {IDM_NAME_JOINT, NameJoint},
      {IDM_EQUALISE_BONES, EqualiseBoneLengths}, {IDM_PLACE_WEIGHT_BOX, PlaceWeightBox},
      {IDM_MOVE_BOX_FACE, MoveWeightBoxFace},    {IDM_STOP_IK, StopIk}};
  for (const auto& [id, mode] : modes) {
    SceneDocument doc;
    RecordingUi ui;
    doc.do_skinning = 1;
    ASSERT_TRUE(chooseModeItem(doc, id, ui)) << id;
    EXPECT_EQ(doc.editMode, mode) << id;
    EXPECT_EQ(doc.do_skinning, 1) << id;
    EXPECT_EQ(ui.redraws, id == IDM_STOP_IK ? 1 : 0) << id;
  }
  SceneDocument doc;
  RecordingUi ui;
  doc.editMode = NameJoint;
  ASSERT_TRUE(chooseModeItem(doc, IDM_SKINNING_OFF, ui));
  EXPECT_EQ(doc.do_skinning, 0);
  ASSERT_TRUE(chooseModeItem(doc, IDM_SKINNING_ON, ui));
  EXPECT_EQ(doc.do_skinning, 1);
  EXPECT_EQ(doc.editMode, NameJoint);
  EXPECT_FALSE(chooseModeItem(doc, IDM_ROTATE_IK, ui));  // IK has a command of its own
  EXPECT_EQ(doc.editMode, NameJoint);
}

TEST(WeightCommands, JointNumbersShowDuringTheCallAndAreRestoredAfter) {
  for (int32_t shown : {0, 1}) {
    SceneDocument doc;
    doc.showJointNumbers = shown;
    int32_t during = -1;
    withJointNumbersShown(doc, [&] { during = doc.showJointNumbers; });
    EXPECT_EQ(during, 1);
    EXPECT_EQ(doc.showJointNumbers, shown);
  }
}

}  // namespace
}  // namespace lw
