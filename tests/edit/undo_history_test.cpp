// Each family of edit done, recorded, undone and redone: the whole document must
// come back to its text before the edit, and to its text after it.
#include "edit/undo_history.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "anim/interpolation.h"
#include "anim/keyframe_commands.h"
#include "anim/playback.h"
#include "core/command_ids.h"
#include "edit/mode_commands.h"
#include "edit/undo_labels.h"
#include "edit/view_input.h"
#include "io/project_reader.h"
#include "skeleton/axes.h"
#include "skeleton/fixing.h"
#include "skeleton/fk.h"
#include "skeleton/ik.h"
#include "skeleton/placement.h"
#include "skeleton/skeleton_helpers.h"
#include "skin/weight_box.h"
#include "skin/weight_dialogs.h"
#include "support/document_text.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

namespace fs = std::filesystem;

// The menu as the recording shell holds it, every check mark followed.
MenuState menuOf(const test::RecordingUi& ui) {
  MenuState menu;
  for (const auto& [id, on] : ui.enabled) {
    const auto checked = ui.checked.find(id);
    menu.push_back({id, static_cast<int8_t>(on),
                    static_cast<int8_t>(checked == ui.checked.end() ? -1 : checked->second)});
  }
  return menu;
}

struct Edit {
  const char* label;
  std::function<void(SceneDocument&, ShellUi&)> run;
};

class UndoTest : public ::testing::Test {
 protected:
  // Every menu item an edit here touches has a state from the start, as in the
  // program's menu.
  UndoTest() {
    applyNoDocumentMenuState(ui);
    for (int id : {IDM_AXIS_REVERSED, IDM_SHOW_WEIGHT_BOX}) ui.checkMenuItem(id, false);
    for (int id : {IDM_SHOW_WEIGHT_BOX, IDM_MOVE_BOX_FACE, IDM_WEIGHT_BOX}) {
      ui.enableMenuItem(id, false);
    }
  }

  // Does `edit`, records it, and checks that undo and redo bring back the whole
  // document, the menu and the frame display on each side of it.
  void expectUndoable(const Edit& edit) {
    SCOPED_TRACE(edit.label);
    const std::string before = test::documentText(doc);
    const MenuState menuBefore = menuOf(ui);
    edit.run(doc, ui);
    const std::string after = test::documentText(doc);
    ASSERT_NE(after, before) << "the edit changed nothing";
    ASSERT_TRUE(history.record(doc, edit.label, menuOf(ui)));
    ASSERT_EQ(history.undo(doc, ui), edit.label);
    EXPECT_EQ(test::documentText(doc), before);
    EXPECT_EQ(menuOf(ui), menuBefore);
    ASSERT_EQ(history.redo(doc, ui), edit.label);
    EXPECT_EQ(test::documentText(doc), after);
    EXPECT_FALSE(history.record(doc, "again", menuOf(ui))) << "redo left a difference";
  }

  void openSample() {
    const fs::path samples = fs::path(__FILE__).parent_path() / ".." / ".." / "samples";
    // One folder per test: ctest runs the tests of this fixture side by side.
    dir = fs::temp_directory_path() /
          (std::string("lw_undo_history_") +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir);
    for (const char* name : {"character.obj", "character.mtl", "character.bmp", "character.ojp"}) {
      fs::copy_file(samples / name, dir / name);
    }
    ASSERT_EQ(readProject(doc, (dir / "character.ojp").string(), ui).code, kProjectRead);
    history.reset(doc, menuOf(ui));
  }

  void TearDown() override {
    std::error_code ec;
    if (!dir.empty()) fs::remove_all(dir, ec);
  }

  Joint& joint(const char* name) { return test::jointNamed(doc, name); }

  SceneDocument doc;
  test::RecordingUi ui;
  UndoHistory history;
  fs::path dir;
};

TEST_F(UndoTest, JointPlacementFamilyBeforeFixing) {
  history.reset(doc, menuOf(ui));
  const Edit edits[] = {
      {"基準ジョイント配置",
       [](SceneDocument& d, ShellUi& u) {
         placeBaseJoint(d, {0.25f, 1.5f, -0.75f}, u);
       }},
      {"子ジョイントの配置",
       [](SceneDocument& d, ShellUi& u) {
         addChildJoint(d, kBaseJointName, {0.5f, 2.0f, -1.0f}, kMirrorYZ, u);
       }},
      {"子ジョイントの移動",
       [](SceneDocument& d, ShellUi&) {
         moveJoint(*d.skeleton.jointOrder.back(), {0.75f, 2.25f, -1.5f});
       }},
      {"ジョイントを対称位置にする",
       [](SceneDocument& d, ShellUi&) {
         mirrorJointOnto(*d.skeleton.jointOrder[1], *d.skeleton.jointOrder[2], kMirrorXY);
       }},
      {"ジョイントに名前をつける",
       [](SceneDocument& d, ShellUi& u) {
         renameJoint(d.skeleton, *d.skeleton.jointOrder[1], "右腕", u);
       }},
      {"子ジョイントの削除",
       [](SceneDocument& d, ShellUi& u) { deleteJoint(d, d.skeleton.jointOrder[2]->jointID, u); }},
      {"ジョイントの位置を確定する",
       [](SceneDocument& d, ShellUi& u) { fixJointPositionsCommand(d, u); }},
  };
  for (const Edit& edit : edits) expectUndoable(edit);
  // The bone tree is rebuilt from the joints: one item per joint, named as shown.
  ASSERT_EQ(ui.treeOrder.size(), doc.skeleton.size());
  EXPECT_EQ(ui.tree[ui.treeOrder.back()].text, doc.skeleton.joints.rbegin()->second->TreeName);
}

TEST_F(UndoTest, PosingAxesAndBonesOnTheSample) {
  ASSERT_NO_FATAL_FAILURE(openSample());
  const Edit edits[] = {
      {"FKでジョイントを回転",
       [](SceneDocument& d, ShellUi&) {
         // A whole drag, many steps, is one step.
         for (int i = 0; i < 12; ++i) fkStep(*d.skeleton.jointOrder[3], i % 5 == 0);
         evaluatePose(d.skeleton);
       }},
      {"IKでジョイントを回転",
       [](SceneDocument& d, ShellUi& u) {
         enterIkMode(d, u);
         const Joint* tip = d.skeleton.jointOrder.back().get();
         for (int i = 1; i <= 4; ++i) {
           ikDragStep(d.skeleton, tip->jointID,
                      tip->jointWorldPosition + Vector3{0.05f * i, -0.03f * i, 0.02f}, u);
         }
       }},
      {"IKでのジョイントの回転停止",
       [](SceneDocument& d, ShellUi&) { d.skeleton.jointOrder[2]->ik_stopFlg = 1; }},
      {"基準ジョイントの移動",
       [](SceneDocument& d, ShellUi&) { nudgeBaseJoint(d, kBaseJointID, 2, true); }},
      {"すべてのジョイント回転を元に戻す",
       [](SceneDocument& d, ShellUi& u) { resetAllRotations(d.skeleton, u); }},
      {"逆方向", [](SceneDocument& d, ShellUi& u) { toggleAxisReversed(d, u); }},
      {"FK用の回転軸の編集",
       [](SceneDocument& d, ShellUi& u) {
         chooseAxisPreset(d, kAxisAlongZ);
         Vector3 target{0.3f, -0.2f, 0.9f};
         axisDragStep(d, kAxisHandlePickBase + d.skeleton.jointOrder[4]->jointID, target, u);
       }},
      {"ボーンの長さを揃える",
       [](SceneDocument& d, ShellUi& u) {
         equaliseBoneLength(d, d.skeleton.jointOrder[3]->jointID, d.skeleton.jointOrder[5]->jointID,
                            u);
       }},
  };
  for (const Edit& edit : edits) expectUndoable(edit);
}

TEST_F(UndoTest, WeightingStoresOnlyTheCornersItChanged) {
  ASSERT_NO_FATAL_FAILURE(openSample());
  const Edit edits[] = {
      {"重み付けボックスの配置",
       [](SceneDocument& d, ShellUi& u) {
         const double point[3] = {0.1, 1.2, -0.05};
         placeWeightBox(d, u, point);
       }},
      {"重み付けボックスの面の移動",
       [](SceneDocument& d, ShellUi&) {
         for (int i = 0; i < 5; ++i) {
           moveWeightBoxFace(d.weightBox, boxFacePickName(0, kBoxFaceXPlus), 0, kBoxFaceStep);
         }
       }},
      {"重み付けボックス内の頂点に重みをつける",
       [](SceneDocument& d, ShellUi&) {
         applyBoxWeights(*d.skinBuffers, d.weightBox, WeightList{{"Joint0_1", 0.25f}});
       }},
      {"頂点選択で重み付け",
       [](SceneDocument& d, ShellUi&) {
         d.vertexSelection = {{0, 0}, {0, 5}, {1, 2}};
         applyVertexWeights(*d.skinBuffers, d.vertexSelection,
                            WeightList{{"Joint0", 0.5f}, {"Joint0_1", 0.125f}}, false);
       }},
      {"スキニング処理", [](SceneDocument& d, ShellUi&) { d.do_skinning = 1 - d.do_skinning; }},
  };
  for (const Edit& edit : edits) expectUndoable(edit);
  // The vertex step holds its three corners; the shadow, not the steps, holds
  // the rest of the model's weights.
  const size_t withThree = history.stepBytes();
  history.reset(doc);
  EXPECT_EQ(history.stepBytes(), 0u);
  doc.vertexSelection = {{0, 7}};
  applyVertexWeights(*doc.skinBuffers, doc.vertexSelection, WeightList{{"Joint0", 1.0f}}, false);
  ASSERT_TRUE(history.record(doc, "頂点選択で重み付け"));
  EXPECT_LT(history.stepBytes(), withThree);
  EXPECT_LT(history.stepBytes(), 4096u);
}

TEST_F(UndoTest, KeyframesInterpolationAndRange) {
  ASSERT_NO_FATAL_FAILURE(openSample());
  const int32_t firstTime = doc.keyFrames->byTime.begin()->first;
  const int32_t lastTime = doc.keyFrames->byTime.rbegin()->first;
  const Edit edits[] = {
      {"現在の姿勢をキーフレームにする",
       [](SceneDocument& d, ShellUi& u) {
         fkStep(*d.skeleton.jointOrder[2], false);
         createKeyFrameCommand(d, u, 123);
       }},
      {"キーフレームの上書き",  // a keyframe stored over another at the same time
       [](SceneDocument& d, ShellUi& u) {
         fkStep(*d.skeleton.jointOrder[2], true);
         createKeyFrameCommand(d, u, 123);
       }},
      {"次のキーフレームを参照",
       [](SceneDocument& d, ShellUi& u) { finishKeyframeNavigation(d, u, showNextKeyFrame(d)); }},
      {"表示しているキーフレームを削除",
       [](SceneDocument& d, ShellUi& u) { deleteShownKeyFrame(d, u); }},
      {"補間方法",
       [lastTime](SceneDocument& d, ShellUi& u) {
         const std::string time = std::to_string(lastTime);
         const std::string id = std::to_string(d.skeleton.jointOrder[1]->jointID);
         applyInterpolationChoice(*d.keyFrames, d.skeleton, {time, id, true, "0.5", "-1.25"}, u);
       }},
      {"フレーム選択",
       [firstTime, lastTime](SceneDocument& d, ShellUi& u) {
         chooseRange(*d.keyFrames, firstTime, lastTime - 1 > firstTime ? 123 : lastTime, u);
       }},
  };
  for (const Edit& edit : edits) expectUndoable(edit);
  // Undoing everything back to the open leaves no keyframe of this session.
  while (history.undo(doc, ui)) {
  }
  EXPECT_EQ(doc.keyFrames->byTime.count(123), 0u);
}

TEST_F(UndoTest, ModesMakeNoStepButComeBackWithTheEditsAroundThem) {
  history.reset(doc, menuOf(ui));
  EXPECT_FALSE(history.record(doc, "nothing"));
  beginBaseJointPlacement(doc, ui);
  EXPECT_FALSE(history.record(doc, "基準ジョイント配置", menuOf(ui)));
  const std::string armed = test::documentText(doc);
  const MenuState armedMenu = menuOf(ui);
  placeBaseJoint(doc, {0, 1, 0.5f}, ui);
  ASSERT_TRUE(history.record(doc, "基準ジョイント配置", menuOf(ui)));
  beginChildJointPlacement(doc, kNoMirror, ui);
  EXPECT_FALSE(history.record(doc, "子ジョイントの配置", menuOf(ui)));
  addChildJoint(doc, kBaseJointName, {0, 2, 0.5f}, kNoMirror, ui);
  ASSERT_TRUE(history.record(doc, "子ジョイントの配置", menuOf(ui)));
  EXPECT_EQ(history.stepCount(), 2u);

  EXPECT_EQ(history.undo(doc, ui), "子ジョイントの配置");
  EXPECT_EQ(doc.editMode, PlaceChildJoint);  // the mode the child was placed in
  EXPECT_EQ(history.undo(doc, ui), "基準ジョイント配置");
  EXPECT_EQ(test::documentText(doc), armed);
  EXPECT_EQ(menuOf(ui), armedMenu);
  EXPECT_FALSE(history.undo(doc, ui));
  EXPECT_TRUE(ui.tree.empty());

  // A new edit after an undo drops what could have been redone.
  EXPECT_EQ(history.redo(doc, ui), "基準ジョイント配置");
  placeBaseJoint(doc, {1, 1, 1}, ui);
  ASSERT_TRUE(history.record(doc, "基準ジョイント配置"));
  EXPECT_FALSE(history.redo(doc, ui));
  EXPECT_EQ(history.stepCount(), 2u);
}

TEST_F(UndoTest, KeepsTheLastHundredSteps) {
  history.reset(doc);
  for (int i = 0; i <= static_cast<int>(kUndoStepLimit); ++i) {
    doc.rootMoveOffset = {0, 0, static_cast<float>(i + 1)};
    ASSERT_TRUE(history.record(doc, "基準ジョイントの移動"));
  }
  EXPECT_EQ(history.stepCount(), kUndoStepLimit);
  size_t undone = 0;
  while (history.undo(doc, ui)) ++undone;
  EXPECT_EQ(undone, kUndoStepLimit);
  EXPECT_EQ(doc.rootMoveOffset.z, 1.0f);  // the first step fell out
}

TEST(UndoLabels, ActionsAreNamedAfterTheCommandThatChoseThem) {
  EXPECT_EQ(undoLabelForEditMode(PlaceChildJoint), "子ジョイントの配置");
  EXPECT_EQ(undoLabelForEditMode(12), "子ジョイントの配置");  // placing the child
  EXPECT_EQ(undoLabelForEditMode(9), "重み付けボックスの配置");
  EXPECT_EQ(undoLabelForEditMode(20), "FKでジョイントを回転");  // the FK drag
  EXPECT_EQ(undoLabelForEditMode(663), "基準ジョイントの移動");
  EXPECT_EQ(undoLabelForCommand(IDM_SKINNING_OFF, RotateFk), "スキニング処理");
  EXPECT_EQ(undoLabelForCommand(IDM_PLACE_CHILD_XY, PlaceChildJoint), "子ジョイントの配置");
  EXPECT_EQ(undoneText("補間方法"), "元に戻しました：補間方法");
  EXPECT_EQ(redoneText("補間方法"), "やり直しました：補間方法");
}

}  // namespace
}  // namespace lw
