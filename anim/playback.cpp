#include "anim/playback.h"

#include <iterator>

#include "anim/interpolation.h"
#include "anim/keyframe_commands.h"
#include "core/command_ids.h"

namespace lw {

void buildSegments(KeyframeStore& store) {
  store.segments.clear();
  store.nextSegment = 0;
  const KeyFrame* first = findKeyFrameByNumber(store, store.rangeStart);
  if (first == nullptr) return;
  auto it = store.byTime.find(first->time);
  if (it == store.byTime.end()) return;
  while (it->second->number != store.rangeEnd) {
    auto next = std::next(it);
    if (next == store.byTime.end()) break;
    store.segments.push_back(
        {it->second->number, next->second->number, timeSpan(next->second->time, it->second->time)});
    it = next;
  }
}

int takeNextSegment(KeyframeStore& store) {
  if (store.nextSegment >= store.segments.size()) return 0;
  store.segment = store.segments[store.nextSegment++];
  store.segmentStarted = 1;
  return 1;
}

bool canPlay(const SceneDocument& doc) {
  const KeyframeStore& store = *doc.keyFrames;
  return doc.animationView == 1 && store.byNumber.size() > 1 && store.byTime.size() > 1;
}

int playAnimation(SceneDocument& doc, const PlaybackHost& host) {
  if (!canPlay(doc)) return 0;
  KeyframeStore& store = *doc.keyFrames;
  buildSegments(store);
  if (takeNextSegment(store) == 0) return 0;
  store.playTime = 0;
  if (!loadSegmentStartPoses(store, doc.skeleton)) return 0;

  const bool saving = doc.saveFramesAsBmp == 1;
  int frames = 0;
  int savedFrameCount = 0;
  for (;;) {
    const uint32_t t0 = host.now();
    interpolateFrame(store);
    poseFrame(store.animationPoses);
    host.drawFrame();
    ++frames;
    const uint32_t elapsed = host.now() - t0;

    if (saving) {
      store.playTime += kSavedFrameStepMs;
    } else if (elapsed < static_cast<uint32_t>(kFramePeriodMs)) {
      const uint32_t before = host.now();
      host.sleep(kFramePeriodMs - elapsed);
      const uint32_t slept = host.now() - before;
      store.playTime += static_cast<int32_t>(elapsed + slept);
    } else {
      store.playTime += static_cast<int32_t>(elapsed);
    }

    if (store.playTime >= store.segment.duration) {
      if (takeNextSegment(store) == 0) break;
      store.playTime = 0;
      if (!loadSegmentStartPoses(store, doc.skeleton)) break;
    }
    if (saving) host.saveFrame(++savedFrameCount);
    if (host.stopRequested && host.stopRequested()) break;
  }
  store.playTime = 0;
  return frames;
}

bool poseAtTime(SceneDocument& doc, int32_t timeMs) {
  KeyframeStore& store = *doc.keyFrames;
  if (store.byTime.empty()) return false;
  auto next = store.byTime.upper_bound(timeMs);
  if (next == store.byTime.begin() || next == store.byTime.end()) {
    // Outside the animated span: the nearest end keyframe as it was stored.
    const KeyFrame& kf = next == store.byTime.end() ? *store.byTime.rbegin()->second
                                                    : *store.byTime.begin()->second;
    copyPoses(store.animationPoses, kf.poses, doc.skeleton);
    if (!store.animationPoses.empty()) {
      KeyJointPose& base = store.animationPoses.begin()->second;
      base.kf_positionAnime = base.kf_boneVector;
    }
  } else {
    auto start = std::prev(next);
    store.segment = {start->second->number, next->second->number, timeSpan(next->first, start->first)};
    store.segmentStarted = 1;
    if (!loadSegmentStartPoses(store, doc.skeleton)) return false;
    store.playTime = timeSpan(timeMs, start->first);
    interpolateFrame(store);
    store.playTime = 0;
  }
  poseFrame(store.animationPoses);
  return true;
}

std::string playbackFrameFileName(const std::string& programFolder, int number) {
  return programFolder + "frame" + std::to_string(number) + ".bmp";
}

void armWholeRange(SceneDocument& doc, ShellUi& ui) {
  KeyframeStore& store = *doc.keyFrames;
  store.keyframeBoneView = 0;
  doc.do_skinning = 0;
  doc.editMode = Animation;
  doc.animationView = 1;
  if (!store.byTime.empty()) {
    setPlaybackRange(store, store.byTime.rbegin()->first, store.byTime.begin()->first);
  }
  ui.redraw();
}

void armChosenRange(SceneDocument& doc) {
  doc.do_skinning = 0;
  doc.keyFrames->keyframeBoneView = 0;
  doc.animationView = 1;
}

bool chooseRange(KeyframeStore& store, int32_t startTime, int32_t endTime, ShellUi& ui) {
  if (static_cast<uint32_t>(startTime) < static_cast<uint32_t>(endTime)) {
    setPlaybackRange(store, endTime, startTime);
    return true;
  }
  ui.showMessage("終了キーフレーム時間は、開始キーフレーム時間より大きい値を指定してください",
                 "フレーム時間指定エラー");
  return false;
}

void toggleSaveFrames(SceneDocument& doc, ShellUi& ui) {
  doc.saveFramesAsBmp = doc.saveFramesAsBmp ? 0 : 1;
  ui.checkMenuItem(IDM_SAVE_FRAMES, doc.saveFramesAsBmp == 1);
}

}  // namespace lw
