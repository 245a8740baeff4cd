// The keyframe menu commands: storing the pose on screen as a keyframe, showing
// and deleting keyframes, the keyframe bone display, and the menu state that
// follows the number of keyframes. The store operations themselves live with
// the store (core/keyframes.h); these add the pose bake, the messages and the
// menu items.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/document.h"
#include "core/shell_ui.h"

namespace lw {

inline constexpr const char* kKeyframeErrorTitle = "エラー";
// Shown (titled kKeyframeErrorTitle) when memory runs out while a keyframe is made.
inline constexpr char kKeyframeMemoryText[] = "　エラーコード：THROW_CKEY_MEMORY_ALLOC_ERROR_1";

inline constexpr char kKeyframeTimeMissingText[] = "時刻の値が入力されていません。";
inline constexpr char kKeyframeTimeMissingTitle[] = "時刻の値";

// The time typed into the keyframe dialog, read as the program's other number
// fields are: white space, an optional sign and decimal digits, anything after
// the digits ignored ("+500", "500ms" and " 1e3" give 500, 500 and 1); a value
// beyond the 32-bit range saturates. No digit at all gives nothing.
std::optional<int32_t> parseKeyframeTime(std::string_view text);

// OK in the keyframe dialog: the field's time in timeMs and true, or, when it
// holds no number, kKeyframeTimeMissingText titled kKeyframeTimeMissingTitle
// and false (the dialog stays open).
bool acceptKeyframeTime(std::string_view text, ShellUi& ui, int32_t& timeMs);

// OK in the keyframe dialog: bakes the pose on screen into per-bone turns
// (bakePoseIntoFk: every bone one turn from its rest bone, axisAngle 0, stop
// joints cleared), re-evaluates the pose as the next draw would, stores it with
// createKeyFrame at `timeMs`, refreshes the motion panel, and updates the menu:
// with at least two keyframes in both maps IDM_INTERPOLATION, IDM_PLAY_ALL, IDM_PLAY_RANGE are
// enabled, the playback range becomes first..last and IDM_PLAY, IDM_SAVE_FRAMES, IDM_KEYFRAME_NEXT,
// IDM_KEYFRAME_PREVIOUS are enabled; with at least one, IDM_KEYFRAME_BONES and IDM_INTERPOLATION.
void createKeyFrameCommand(SceneDocument& doc, ShellUi& ui, int32_t timeMs);

// Rules K, applied after a project open: at least two keyframes in both maps
// enable IDM_INTERPOLATION, IDM_PLAY_ALL, IDM_PLAY_RANGE, IDM_KEYFRAME_NEXT, IDM_KEYFRAME_PREVIOUS,
// otherwise IDM_PLAY_ALL, IDM_PLAY_RANGE, IDM_KEYFRAME_NEXT, IDM_KEYFRAME_PREVIOUS are greyed; at
// least one in both enables IDM_KEYFRAME_BONES and IDM_INTERPOLATION, none in either greys
// IDM_KEYFRAME_DELETE, IDM_KEYFRAME_BONES, IDM_INTERPOLATION.
void applyKeyframeMenuRules(const KeyframeStore& store, ShellUi& ui);

// The end of IDM_KEYFRAME_NEXT/IDM_KEYFRAME_PREVIOUS given showNext/PreviousKeyFrame's result: a
// kKeyframeNotApplied result shows ErrorText titled "エラー" and empties it, any other refreshes
// the motion panel; IDM_KEYFRAME_DELETE is enabled when a keyframe has been shown; redraw.
void finishKeyframeNavigation(SceneDocument& doc, ShellUi& ui, int result);

// Menu IDM_KEYFRAME_DELETE: deletes the shown keyframe (eraseShownKeyFrame) and shows a
// neighbour when keyframes remain in both maps: the next one when the deleted
// time lies before the earliest remaining keyframe (the second-earliest is then
// shown), else the previous one (the earliest stays). Fewer than two keyframes
// grey IDM_PLAY_ALL, IDM_PLAY_RANGE, IDM_KEYFRAME_NEXT, IDM_KEYFRAME_PREVIOUS; none in both greys
// IDM_KEYFRAME_DELETE, IDM_KEYFRAME_BONES, IDM_INTERPOLATION and runs the keyframe bone display.
// When the deleted keyframe bounded the playback range, the range moves inward to the nearest
// remaining keyframes (first..last when none lie between); with fewer than two keyframes left
// playback is disarmed (animationView 0) and IDM_PLAY greyed. Redraws.
void deleteShownKeyFrame(SceneDocument& doc, ShellUi& ui);

// Menu IDM_KEYFRAME_BONES: do_skinning = 1, animationView = 0, keyframeBoneView = 1, redraw;
// IDM_KEYFRAME_DELETE greyed while no keyframe has been shown.
void showKeyframeBones(SceneDocument& doc, ShellUi& ui);

}  // namespace lw
