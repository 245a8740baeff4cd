// Dialog 113 "補間方法の変更": linear or Hermite interpolation, with the two end
// slopes, for one joint from one keyframe on, and the "Hermite Function" window
// that previews the curve the slopes give.
#include <vector>

#include "anim/interpolation.h"
#include "app/dialogs.h"
#include "app/hermite_preview.h"
#include "app/program.h"
#include "resources/resource.h"

namespace lw {

namespace {

struct InterpolationDialog {
  SceneDocument* doc = nullptr;
  HWND preview = nullptr;
};

InterpolationDialog* formOf(HWND dialog) {
  return reinterpret_cast<InterpolationDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void enableControls(HWND dialog, std::initializer_list<int> ids, bool enabled) {
  for (int id : ids) EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}

void onInterpolationInit(HWND dialog, InterpolationDialog& form) {
  const SceneDocument& doc = *form.doc;
  CheckRadioButton(dialog, IDC_INTERP_LINEAR, IDC_INTERP_HERMITE, IDC_INTERP_LINEAR);
  fillKeyframeTimes(dialog, IDC_INTERP_KEYFRAME, *doc.keyFrames);
  std::vector<int32_t> jointIds;
  jointIds.reserve(doc.skeleton.joints.size());
  for (const auto& entry : doc.skeleton.joints) jointIds.push_back(entry.second->jointID);
  fillNumberList(dialog, IDC_INTERP_JOINT, jointIds);
  enableControls(dialog, {IDC_INTERP_START_SPEED, IDC_INTERP_END_SPEED, IDC_INTERP_SHOW_CURVE},
                 false);
  form.preview = createHermitePreviewWindow(program().instance);
}

void onShowCurve(HWND dialog, InterpolationDialog& form) {
  double startSpeed = 0;
  double endSpeed = 0;
  if (readPreviewSpeeds(fieldText(dialog, IDC_INTERP_START_SPEED),
                        fieldText(dialog, IDC_INTERP_END_SPEED), program().ui, startSpeed,
                        endSpeed)) {
    showHermitePreview(form.preview, dialog, startSpeed, endSpeed);
  }
}

void closeDialog(HWND dialog, InterpolationDialog& form, INT_PTR result) {
  destroyHermitePreviewWindow(form.preview);
  form.preview = nullptr;
  EndDialog(dialog, result);
}

void onInterpolationOk(HWND dialog, InterpolationDialog& form) {
  const std::string keyframeTime = fieldText(dialog, IDC_INTERP_KEYFRAME);
  const std::string jointId = fieldText(dialog, IDC_INTERP_JOINT);
  const std::string startSpeed = fieldText(dialog, IDC_INTERP_START_SPEED);
  const std::string endSpeed = fieldText(dialog, IDC_INTERP_END_SPEED);
  InterpolationChoice choice;
  choice.keyframeTime = keyframeTime;
  choice.jointId = jointId;
  choice.hermite = IsDlgButtonChecked(dialog, IDC_INTERP_HERMITE) == BST_CHECKED;
  choice.startSpeed = startSpeed;
  choice.endSpeed = endSpeed;
  SceneDocument& doc = *form.doc;
  if (applyInterpolationChoice(*doc.keyFrames, doc.skeleton, choice, program().ui)) {
    closeDialog(dialog, form, IDOK);
  }
}

void onInterpolationCommand(HWND dialog, InterpolationDialog& form, int id) {
  switch (id) {
    case IDC_INTERP_LINEAR:
      enableControls(dialog, {IDC_INTERP_START_SPEED, IDC_INTERP_END_SPEED, IDC_INTERP_SHOW_CURVE},
                     false);
      break;
    case IDC_INTERP_HERMITE:
      enableControls(dialog,
                     {IDC_INTERP_KEYFRAME, IDC_INTERP_JOINT, IDC_INTERP_START_SPEED,
                      IDC_INTERP_END_SPEED, IDC_INTERP_SHOW_CURVE},
                     true);
      break;
    case IDC_INTERP_SHOW_CURVE: onShowCurve(dialog, form); break;
    case IDOK: onInterpolationOk(dialog, form); break;
    case IDCANCEL: closeDialog(dialog, form, IDCANCEL); break;
    default: break;
  }
}

INT_PTR CALLBACK interpolationDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      onInterpolationInit(dialog, *reinterpret_cast<InterpolationDialog*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (InterpolationDialog* form = formOf(dialog); form && HIWORD(wParam) == BN_CLICKED) {
        onInterpolationCommand(dialog, *form, LOWORD(wParam));
        return TRUE;
      }
      break;
    case WM_DESTROY:
      // However the dialog ends, the preview goes with it.
      if (InterpolationDialog* form = formOf(dialog)) {
        destroyHermitePreviewWindow(form->preview);
        form->preview = nullptr;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

INT_PTR showInterpolationDialog(HWND owner, SceneDocument& doc) {
  InterpolationDialog form;
  form.doc = &doc;
  return DialogBoxParamW(program().instance, MAKEINTRESOURCEW(IDD_INTERPOLATION), owner,
                         interpolationDialogProc, reinterpret_cast<LPARAM>(&form));
}

}  // namespace lw
