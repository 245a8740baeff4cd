// Dialog 108: whether IK rotations stop at the picked joint.
#include "app/dialogs.h"
#include "resources/resource.h"

namespace lw {

namespace {

Joint* editedJoint(SceneDocument& doc) {
  const auto found = doc.skeleton.joints.find(doc.editedJointName);
  return found != doc.skeleton.joints.end() ? found->second : nullptr;
}

void onIkStopInit(HWND dialog, SceneDocument& doc) {
  const Joint* joint = editedJoint(doc);
  const bool stops = joint != nullptr && joint->ik_stopFlg == 1;
  CheckRadioButton(dialog, IDC_IK_STOP_ON, IDC_IK_STOP_OFF,
                   stops ? IDC_IK_STOP_ON : IDC_IK_STOP_OFF);
}

void onIkStopOk(HWND dialog, SceneDocument& doc) {
  if (Joint* joint = editedJoint(doc)) {
    if (IsDlgButtonChecked(dialog, IDC_IK_STOP_ON) == BST_CHECKED) {
      joint->ik_stopFlg = 1;
    } else if (IsDlgButtonChecked(dialog, IDC_IK_STOP_OFF) == BST_CHECKED) {
      joint->ik_stopFlg = 0;
    }
  }
  EndDialog(dialog, IDOK);
}

}  // namespace

INT_PTR showIkStopDialog(HWND owner, SceneDocument& doc) {
  return runDocumentDialog(owner, IDD_IK_STOP, doc, onIkStopInit, onIkStopOk);
}

}  // namespace lw
