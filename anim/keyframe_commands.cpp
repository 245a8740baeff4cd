#include "anim/keyframe_commands.h"

#include <algorithm>
#include <iterator>

#include "core/command_ids.h"
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

// After the keyframe (goneNumber, goneTime) was deleted: a range end it was
// moves inward to the nearest remaining keyframe (the whole span when nothing
// is left between); with fewer than two keyframes playback is disarmed and
// IDM_PLAY greyed.
void keepRangeOnKeyframes(SceneDocument& doc, ShellUi& ui, int32_t goneNumber, int32_t goneTime) {
  KeyframeStore& store = *doc.keyFrames;
  if (!bothAtLeast(store, 2)) {
    doc.animationView = 0;
    ui.enableMenuItem(IDM_PLAY, false);
    return;
  }
  if (goneNumber != store.rangeStart && goneNumber != store.rangeEnd) return;
  const KeyFrame* start = findKeyFrameByNumber(store, store.rangeStart);
  const KeyFrame* end = findKeyFrameByNumber(store, store.rangeEnd);
  int32_t startTime = store.byTime.begin()->first;
  int32_t endTime = store.byTime.rbegin()->first;
  if (start != nullptr) {
    startTime = start->time;
  } else if (auto after = store.byTime.upper_bound(goneTime); after != store.byTime.end()) {
    startTime = after->first;
  }
  if (end != nullptr) {
    endTime = end->time;
  } else if (auto before = store.byTime.lower_bound(goneTime); before != store.byTime.begin()) {
    endTime = std::prev(before)->first;
  }
  if (startTime >= endTime) {
    startTime = store.byTime.begin()->first;
    endTime = store.byTime.rbegin()->first;
  }
  setPlaybackRange(store, endTime, startTime);
}

}  // namespace

std::optional<int32_t> parseKeyframeTime(std::string_view text) {
  auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; };
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  // Digits up to the first other character; a value out of range saturates.
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<int64_t>(value * 10 + (c - '0'), int64_t{1} << 32);
  }
  if (negative) value = -value;
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

bool acceptKeyframeTime(std::string_view text, ShellUi& ui, int32_t& timeMs) {
  const std::optional<int32_t> time = parseKeyframeTime(text);
  if (!time) {
    ui.showMessage(kKeyframeTimeMissingText, kKeyframeTimeMissingTitle);
    return false;
  }
  timeMs = *time;
  return true;
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
    enable(ui, {IDM_INTERPOLATION, IDM_PLAY_ALL, IDM_PLAY_RANGE}, true);
    setPlaybackRange(store, store.byTime.rbegin()->first, store.byTime.begin()->first);
    enable(ui, {IDM_PLAY, IDM_SAVE_FRAMES, IDM_KEYFRAME_NEXT, IDM_KEYFRAME_PREVIOUS}, true);
  }
  if (bothAtLeast(store, 1)) enable(ui, {IDM_KEYFRAME_BONES, IDM_INTERPOLATION}, true);
}

void applyKeyframeMenuRules(const KeyframeStore& store, ShellUi& ui) {
  if (bothAtLeast(store, 2)) {
    enable(
        ui,
        {IDM_INTERPOLATION, IDM_PLAY_ALL, IDM_PLAY_RANGE, IDM_KEYFRAME_NEXT, IDM_KEYFRAME_PREVIOUS},
        true);
  } else {
    enable(ui, {IDM_PLAY_ALL, IDM_PLAY_RANGE, IDM_KEYFRAME_NEXT, IDM_KEYFRAME_PREVIOUS}, false);
  }
  if (bothAtLeast(store, 1)) {
    enable(ui, {IDM_KEYFRAME_BONES, IDM_INTERPOLATION}, true);
  } else if (store.byNumber.empty() && store.byTime.empty()) {
    enable(ui, {IDM_KEYFRAME_DELETE, IDM_KEYFRAME_BONES, IDM_INTERPOLATION}, false);
  }
}

void finishKeyframeNavigation(SceneDocument& doc, ShellUi& ui, int result) {
  if (result == kKeyframeNotApplied) {
    ui.showMessage(doc.ErrorText, kKeyframeErrorTitle);
    doc.ErrorText.clear();
  } else {
    ui.refreshMotionPanel();
  }
  if (doc.keyFrames->keyframeShown == 1) ui.enableMenuItem(IDM_KEYFRAME_DELETE, true);
  ui.redraw();
}

void deleteShownKeyFrame(SceneDocument& doc, ShellUi& ui) {
  KeyframeStore& store = *doc.keyFrames;
  const int32_t goneNumber = store.currentNumber;
  const int32_t goneTime = store.currentTime;
  eraseShownKeyFrame(store);
  keepRangeOnKeyframes(doc, ui, goneNumber, goneTime);
  if (bothAtLeast(store, 1)) {
    int result = store.deletedTime < store.byTime.begin()->first ? showNextKeyFrame(doc)
                                                                  : showPreviousKeyFrame(doc);
    if (result == kKeyframeNotApplied) {
      ui.showMessage(doc.ErrorText, kKeyframeErrorTitle);
      doc.ErrorText.clear();
    } else {
      ui.refreshMotionPanel();
    }
  }
  if (store.byNumber.size() < 2 && store.byTime.size() < 2) {
    enable(ui, {IDM_PLAY_ALL, IDM_PLAY_RANGE, IDM_KEYFRAME_NEXT, IDM_KEYFRAME_PREVIOUS}, false);
  }
  if (store.byNumber.empty() && store.byTime.empty()) {
    enable(ui, {IDM_KEYFRAME_DELETE, IDM_KEYFRAME_BONES, IDM_INTERPOLATION}, false);
    showKeyframeBones(doc, ui);
  }
  ui.redraw();
}

void showKeyframeBones(SceneDocument& doc, ShellUi& ui) {
  doc.do_skinning = 1;
  doc.animationView = 0;
  doc.keyFrames->keyframeBoneView = 1;
  ui.redraw();
  if (doc.keyFrames->keyframeShown == 0) ui.enableMenuItem(IDM_KEYFRAME_DELETE, false);
}

}  // namespace lw
