// Dialog 107 "部分アニメーションキーフレーム指定": the first and the last keyframe
// of the playback range, each chosen from the keyframe times.
#include "anim/playback.h"
#include "app/dialogs.h"
#include "app/program.h"
#include "resources/resource.h"

namespace lw {

namespace {

void onPlayRangeInit(HWND dialog, SceneDocument& doc) {
  fillKeyframeTimes(dialog, IDC_RANGE_START, *doc.keyFrames);
  fillKeyframeTimes(dialog, IDC_RANGE_END, *doc.keyFrames);
}

void onPlayRangeOk(HWND dialog, SceneDocument& doc) {
  const int32_t start = fieldInt(dialog, IDC_RANGE_START);
  const int32_t end = fieldInt(dialog, IDC_RANGE_END);
  if (chooseRange(*doc.keyFrames, start, end, program().ui)) EndDialog(dialog, IDOK);
}

}  // namespace

INT_PTR showPlayRangeDialog(HWND owner, SceneDocument& doc) {
  return runDocumentDialog(owner, IDD_PLAY_RANGE, doc, onPlayRangeInit, onPlayRangeOk);
}

}  // namespace lw
