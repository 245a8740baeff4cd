// Animation playback: the segments of the chosen keyframe range in time order,
// and the frame loop that interpolates, draws and (optionally) saves each frame,
// paced by an injected millisecond clock and sleeper so it can run against a
// fake clock. Playback runs to its end inside one call.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/document.h"
#include "core/shell_ui.h"

namespace lw {

inline constexpr int32_t kFramePeriodMs = 16;   // a frame is drawn at most this often
inline constexpr int32_t kSavedFrameStepMs = 32;  // animation time per frame while saving

// Fills `segments` with (number, next number, time difference) for each pair of
// neighbours in byTime from the keyframe numbered rangeStart up to the one
// numbered rangeEnd; a range whose end lies before its start runs to the last
// keyframe. nextSegment = 0. Empty when rangeStart's keyframe is not in byTime.
void buildSegments(KeyframeStore& store);

// Takes the next segment into `segment` (removing it from the queue) and sets
// segmentStarted. Returns 1, or 0 when none is left.
int takeNextSegment(KeyframeStore& store);

// The platform around the loop. now() is the millisecond clock (it may wrap);
// sleep(ms) sleeps about that long. drawFrame() draws the playback frame from
// the posed animationPoses and shows it; saveFrame(n) writes the picture drawn
// last as frame number n (1, 2, ...) when frames are saved. stopRequested, when
// set, is asked after each frame whether the user wants playback to stop there.
struct PlaybackHost {
  std::function<uint32_t()> now;
  std::function<void(uint32_t)> sleep;
  std::function<void()> drawFrame;
  std::function<void(int)> saveFrame;
  std::function<bool()> stopRequested;
};

// True when the Space key starts playback: armed (animationView 1) and both
// keyframe maps hold more than one keyframe.
bool canPlay(const SceneDocument& doc);

// Plays the armed range: segments are built, each frame interpolates
// (interpolateFrame) and poses (poseFrame) animationPoses at playTime, then
// draws. Time advances by kSavedFrameStepMs per frame while saveFramesAsBmp is
// 1; otherwise by the frame's real duration, a frame faster than kFramePeriodMs
// first sleeping the rest of the period (the measured sleep counts). When
// playTime reaches the segment's duration the next segment starts at 0 (the
// overshoot is dropped) and the end pose of the last segment is never drawn.
// With frame saving each drawn frame is then saved under the next number. A
// stop request after a frame (drawn and saved) ends playback there; it stays
// armed. Ends with playTime 0. Returns the number of frames drawn (0 when canPlay is false
// or the range holds no segment).
int playAnimation(SceneDocument& doc, const PlaybackHost& host);

// Poses animationPoses as playback shows the whole keyframe range at `timeMs`
// (ms from the start of the time order): inside a segment (start <= t < end) it
// is interpolated at t - start; at or before the first keyframe, and at or after
// the last, it is that keyframe's own pose (its base position is its rest bone).
// The working set is then posed (poseFrame). False, changing nothing, when there
// is no keyframe.
bool poseAtTime(SceneDocument& doc, int32_t timeMs);

// The file a saved frame goes to: the program folder (ending with its
// separator), "frame", the number and ".bmp".
std::string playbackFrameFileName(const std::string& programFolder, int number);

// Menu IDM_PLAY_ALL: keyframeBoneView 0, do_skinning 0, editMode Animation,
// animationView 1, the range first..last keyframe by time; redraw.
void armWholeRange(SceneDocument& doc, ShellUi& ui);

// Menu IDM_PLAY_RANGE before its dialog: do_skinning 0, keyframeBoneView 0, animationView 1.
void armChosenRange(SceneDocument& doc);

// OK in the range dialog with the two chosen times. The start must come before
// the end compared as unsigned 32-bit numbers (so a negative time counts as
// later than any positive one): then the range is set and true is returned;
// otherwise "終了キーフレーム時間は、開始キーフレーム時間より大きい値を指定してください"
// titled "フレーム時間指定エラー" is shown and false keeps the dialog open.
bool chooseRange(KeyframeStore& store, int32_t startTime, int32_t endTime, ShellUi& ui);

// Menu IDM_SAVE_FRAMES: flips saveFramesAsBmp and the item's check mark.
void toggleSaveFrames(SceneDocument& doc, ShellUi& ui);

}  // namespace lw
