// Picking: what lies under the mouse, found by redrawing the scene through a
// one-pixel pick region in selection mode, and window-to-world conversion.
//
// Selection names: a joint's jointID (1 and up) for its marker and bone;
// jointID + 10000 for its FK axis handle; b + 100 ... b + 600 for the six faces
// of the weighting box (b = pressedPick); 1000 + n for the n-th model corner
// (counted over all parts) in vertex weighting.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/document.h"
#include "render/render_state.h"

namespace lw {

inline constexpr int32_t kProbeSubState = 113;      // editMode during the depth probe
inline constexpr float kProbeMissDepth = 0.888f;    // depth kept when the probe hits nothing
inline constexpr double kHitDepthScale = 2.3283064365386963e-10;  // 2^-32
inline constexpr int32_t kAxisHandleNameOffset = 10000;
inline constexpr int32_t kCornerNameBase = 1000;

enum class HitChoice { First, Nearest };

// One row of the picking table: the picking sub-state of editMode, the states
// after a miss and after a hit, which hit is chosen and whether its depth is
// kept for window-to-world.
struct PickingRule {
  int32_t subState;
  int32_t missState;
  int32_t hitState;
  HitChoice choice;
  bool keepDepth;
};

// The row for a picking sub-state; null for any other editMode.
const PickingRule* pickingRule(int32_t editMode);
inline bool isPickingSubState(int32_t editMode) { return pickingRule(editMode) != nullptr; }

// A selection-buffer depth word as a float in [0, 1): the unsigned word times 2^-32.
float hitDepth(uint32_t word);

// The hit a pass chooses.
struct ChosenHit {
  bool found = false;
  uint32_t name = 0;       // the record's first name; 0 for a record without names
  float meanDepth = 0;     // mean of the record's minimum and maximum depth
};

// Decodes `hitCount` hit records (names count, minimum depth, maximum depth,
// names...) from the first `words` words of a selection buffer. First: the
// first record. Nearest: the record with the strictly smallest minimum depth,
// the earlier one on a tie. A count below 1 (a miss, or an overflow reported
// as a negative count) finds nothing; records running past `words` are ignored.
ChosenHit chooseHit(const uint32_t* buffer, size_t words, int32_t hitCount, HitChoice choice);

// Draws one frame of the scene: a picking pass (overlays and skeleton with
// names only) or a normal frame. Returns 0, or -1 when drawing failed.
using SceneDrawFn = int (*)(SceneDocument& doc, RenderState& rs, ViewInput& input,
                            bool pickingPass);

// The picking pass of the paint handling while editMode is a picking sub-state;
// (x, y) is the last mouse position (client pixels, y downwards). Redraws the
// scene in selection mode through a 1 x 1 pick region around (x, height - y),
// then: a miss sets selectedJoint -1 and the miss state; during a drag, sub-state
// 3 takes the first hit with its depth and goes to 4, sub-state 15 on a box face
// (name 100..699, nearest hit) takes it and goes to 16 with (prevX, prevY) :=
// (x, y), and other sub-states change nothing; without a drag the table decides
// (661 also zeroes the document's drag accumulators). Finally the normal frame
// is drawn with a plain projection. Returns the normal frame's result, or -1
// at once when the picking draw failed (selection mode and projection are
// restored, nothing is chosen).
int pickPassWith(SceneDocument& doc, RenderState& rs, ViewInput& input, int x, int y,
                 SceneDrawFn draw);

// The depth probe of root, child and box placement at (x, y): the scene is
// drawn (model included, world axes left out) in selection mode through the
// pick region with editMode 113, then editMode becomes 13. With hits,
// pickDepth := the first record's mean depth and selectedJoint := its first name
// (-1 when the record has none); with no hit pickDepth := 0.888; on an overflow
// pickDepth is kept. The projection matrix pushed for the probe is popped
// again. Returns the result of the drawing.
int probeDepthWith(SceneDocument& doc, RenderState& rs, ViewInput& input, int x, int y,
                   SceneDrawFn draw);

// pickPassWith and probeDepthWith drawing with drawScene: what the 3D window's
// paint handling and placement clicks call.
int pickPass(SceneDocument& doc, RenderState& rs, ViewInput& input, int x, int y);
int probeDepth(SceneDocument& doc, RenderState& rs, ViewInput& input, int x, int y);

// The world point under window position (x, y) (y downwards) at window depth
// `depth`, through the matrices of the last editing frame and the current
// viewport. Returns 0 and writes `point`, or 1 with "ウインドウ座標をワールド座標変換できません"
// in doc.ErrorText and `point` unchanged.
int windowToWorld(SceneDocument& doc, const RenderState& rs, float depth, int x, int y,
                  double point[3]);

}  // namespace lw
