#include "edit/weight_commands.h"

#include "anim/keyframe_commands.h"
#include "core/command_ids.h"
#include "skeleton/fk.h"
#include "skeleton/ik.h"
#include "skeleton/placement.h"
#include "skin/weight_box.h"

namespace lw {

namespace {

// Shows the joint numbers for the while when they are hidden, painting at once.
void showJointNumbersForNow(SceneDocument& doc, const RepaintNow& repaintNow) {
  if (doc.showJointNumbers != 0) return;
  doc.showJointNumbers = 1;
  doc.tempJointNumbers = 1;
  repaintNow();
}

}  // namespace

void beginVertexWeighting(SceneDocument& doc, ShellUi& ui, const RepaintNow& repaintNow) {
  doc.vertexSelection.clear();
  doc.tempJointNumbers = 0;
  doc.weightBoxShown = 0;
  if (doc.showJointNumbers == 0) ui.checkMenuItem(IDM_SHOW_JOINT_NUMBERS, true);
  showJointNumbersForNow(doc, repaintNow);
  doc.editMode = WeightByVertex;
  doc.do_skinning = 1;
}

void weightWithBox(SceneDocument& doc, const RepaintNow& repaintNow,
                   const std::function<void()>& runDialog) {
  doc.tempJointNumbers = 0;
  if (doc.weightBoxShown == 1) {
    showJointNumbersForNow(doc, repaintNow);
    runDialog();
  }
  doc.do_skinning = 1;
  if (doc.tempJointNumbers == 1) doc.showJointNumbers = 0;
}

bool toggleEditFlag(SceneDocument& doc, int id, ShellUi& ui) {
  int32_t* flag = nullptr;
  if (id == IDM_TREE_EXPANDED) flag = &doc.treeAlwaysExpanded;
  if (id == IDM_SHOW_WEIGHT_BOX) flag = &doc.weightBoxShown;
  if (flag == nullptr) return false;
  *flag = *flag ? 0 : 1;
  ui.checkMenuItem(id, *flag == 1);
  return true;
}

bool chooseModeItem(SceneDocument& doc, int id, ShellUi& ui) {
  struct ModeItem {
    int id;
    int32_t mode;
  };
  static constexpr ModeItem kModes[] = {
      {IDM_DELETE_CHILD, DeleteChildJoint},      {IDM_NAME_JOINT, NameJoint},
      {IDM_EQUALISE_BONES, EqualiseBoneLengths}, {IDM_PLACE_WEIGHT_BOX, PlaceWeightBox},
      {IDM_MOVE_BOX_FACE, MoveWeightBoxFace},    {IDM_STOP_IK, StopIk},
  };
  if (id == IDM_SKINNING_ON || id == IDM_SKINNING_OFF) {
    doc.do_skinning = id == IDM_SKINNING_ON ? 1 : 0;
    return true;
  }
  for (const ModeItem& item : kModes) {
    if (item.id != id) continue;
    doc.editMode = item.mode;
    if (id == IDM_STOP_IK) ui.redraw();
    return true;
  }
  return false;
}

void withJointNumbersShown(SceneDocument& doc, const std::function<void()>& whileShown) {
  const int32_t numbersShown = doc.showJointNumbers;
  doc.showJointNumbers = 1;
  whileShown();
  doc.showJointNumbers = numbersShown;
}

void showAdjacentKeyframe(SceneDocument& doc, ShellUi& ui, bool next) {
  const int result = next ? showNextKeyFrame(doc) : showPreviousKeyFrame(doc);
  finishKeyframeNavigation(doc, ui, result);
}

}  // namespace lw
