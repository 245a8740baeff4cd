// Dialog 106 "キーフレームの作成": the time at which the pose on screen becomes a
// keyframe.
#include <new>

#include "anim/keyframe_commands.h"
#include "app/dialogs.h"
#include "app/program.h"
#include "resources/resource.h"

namespace lw {

namespace {

void onKeyframeOk(HWND dialog, SceneDocument& doc) {
  int32_t timeMs = 0;
  if (!acceptKeyframeTime(fieldText(dialog, IDC_KEYFRAME_TIME), program().ui, timeMs)) return;
  try {
    createKeyFrameCommand(doc, program().ui, timeMs);
  } catch (const std::bad_alloc&) {
    // The store is as it was; the program goes on without the new keyframe.
    program().ui.showMessage(kKeyframeMemoryText, kKeyframeErrorTitle);
    doc.ErrorText.clear();
  }
  EndDialog(dialog, IDOK);
}

}  // namespace

INT_PTR showKeyframeDialog(HWND owner, SceneDocument& doc) {
  return runDocumentDialog(owner, IDD_KEYFRAME, doc, nullptr, onKeyframeOk);
}

}  // namespace lw
