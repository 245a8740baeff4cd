#include "anim/keyframe_commands.h"

#include <charconv>

#include "skeleton/fk.h"
#include "skeleton/ik.h"

namespace lw {

namespace {

bool bothAtLeast(const KeyframeStore& store, size_t n) {
  return store.byNumber.size() >= n && store.byTime.size() >= n;
}

void enable(ShellUi& ui, std::initializer_list<int> ids, bool on) {
  for (int id : ids) ui.enableMenuItem(id, on);
}

}  // namespace

int32_t parseKeyframeTime(std::string_view text) {
  auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  int32_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return 0;
  return value;
}

void createKeyFrameCommand(SceneDocument& doc, ShellUi& ui, int32_t timeMs) {
  bakePoseIntoFk(doc, ui);
  // The scene draw that follows the bake poses the joints again.
  if (doc.decitionJointPosition == 1 && doc.keyFrames->keyframeBoneView == 1) {
    evaluatePose(doc.skeleton);
  }
  KeyframeStore& store = *doc.keyFrames;
  createKeyFrame(store, doc.skeleton, timeMs);
  ui.refreshMotionPanel();
  if (bothAtLeast(store, 2)) {
    enable(ui, {kMenuInterpolation, kMenuArmWholeRange, kMenuArmChosenRange}, true);
    setPlaybackRange(store, store.byTime.rbegin()->first, store.byTime.begin()->first);
    enable(ui, {kMenuPlay, kMenuSaveFrames, kMenuNextKeyframe, kMenuPreviousKeyframe}, true);
  }
  if (bothAtLeast(store, 1)) enable(ui, {kMenuKeyframeBones, kMenuInterpolation}, true);
}

void applyKeyframeMenuRules(const KeyframeStore& store, ShellUi& ui) {
  if (bothAtLeast(store, 2)) {
    enable(ui, {kMenuInterpolation, kMenuArmWholeRange, kMenuArmChosenRange, kMenuNextKeyframe,
                kMenuPreviousKeyframe},
           true);
  } else {
    enable(ui, {kMenuArmWholeRange, kMenuArmChosenRange, kMenuNextKeyframe, kMenuPreviousKeyframe},
           false);
  }
  if (bothAtLeast(store, 1)) {
    enable(ui, {kMenuKeyframeBones, kMenuInterpolation}, true);
  } else if (store.byNumber.empty() && store.byTime.empty()) {
    enable(ui, {kMenuDeleteKeyframe, kMenuKeyframeBones, kMenuInterpolation}, false);
  }
}

void finishKeyframeNavigation(SceneDocument& doc, ShellUi& ui, int result) {
  if (result == kKeyframeNotApplied) {
    ui.showMessage(doc.ErrorText, kKeyframeErrorTitle);
    doc.ErrorText.clear();
    doc.ErrorCodeText.clear();
  } else {
    ui.refreshMotionPanel();
  }
  if (doc.keyFrames->keyframeShown == 1) ui.enableMenuItem(kMenuDeleteKeyframe, true);
  ui.redraw();
}

void deleteShownKeyFrame(SceneDocument& doc, ShellUi& ui) {
  KeyframeStore& store = *doc.keyFrames;
  eraseShownKeyFrame(store);
  if (bothAtLeast(store, 1)) {
    int result = store.deletedTime < store.byTime.begin()->first ? showNextKeyFrame(doc)
                                                                  : showPreviousKeyFrame(doc);
    if (result == kKeyframeNotApplied) {
      ui.showMessage(doc.ErrorText, kKeyframeErrorTitle);
      doc.ErrorText.clear();
      doc.ErrorCodeText.clear();
    } else {
      ui.refreshMotionPanel();
    }
  }
  if (store.byNumber.size() < 2 && store.byTime.size() < 2) {
    enable(ui, {kMenuArmWholeRange, kMenuArmChosenRange, kMenuNextKeyframe, kMenuPreviousKeyframe},
           false);
  }
  if (store.byNumber.empty() && store.byTime.empty()) {
    enable(ui, {kMenuDeleteKeyframe, kMenuKeyframeBones, kMenuInterpolation}, false);
    showKeyframeBones(doc, ui);
  }
  ui.redraw();
}

void showKeyframeBones(SceneDocument& doc, ShellUi& ui) {
  doc.do_skinning = 1;
  doc.animationView = 0;
  doc.keyFrames->keyframeBoneView = 1;
  ui.redraw();
  if (doc.keyFrames->keyframeShown == 0) ui.enableMenuItem(kMenuDeleteKeyframe, false);
}

}  // namespace lw
