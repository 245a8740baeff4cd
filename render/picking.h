// Picking: what lies under the mouse, found by redrawing the scene through a
// one-pixel pick region in selection mode, and window-to-world conversion.
//
// These passes only report what they hit; what a hit means for the 3D window
// (which mode follows, whether its depth is kept) is decided by the input state
// machine (edit/view_input.h).
//
// Selection names: a joint's jointID (1 and up) for its marker and bone;
// jointID + kAxisHandlePickBase for its FK axis handle; b + 100 ... b + 600 for
// the six faces of the weighting box (b = pressedPick); kVertexPickBase + n for
// the n-th model corner (counted over all parts) in vertex weighting.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/document.h"
#include "edit/view_input.h"
#include "render/render_state.h"

namespace lw {

inline constexpr double kHitDepthScale = 2.3283064365386963e-10;  // 2^-32
// Left in ErrorText when a window position cannot be turned into a world point.
inline constexpr char kWindowToWorldFailedText[] = "ウインドウ座標をワールド座標変換できません";

// A selection-buffer depth word as a float in [0, 1): the unsigned word times 2^-32.
float hitDepth(uint32_t word);

// The hit a pass chooses.
struct ChosenHit {
  bool found = false;
  bool named = false;      // the record carries a name
  uint32_t name = 0;       // the record's first name; 0 for a record without names
  float meanDepth = 0;     // mean of the record's minimum and maximum depth
};

// Decodes `hitCount` hit records (names count, minimum depth, maximum depth,
// names...) from the first `words` words of a selection buffer. First: the
// first record. Nearest: the record with the strictly smallest minimum depth,
// the earlier one on a tie. A count below 1 (a miss, or an overflow reported
// as a negative count) finds nothing; records running past `words` are ignored.
ChosenHit chooseHit(const uint32_t* buffer, size_t words, int32_t hitCount, PickChoice choice);

// Draws one frame of the scene: a picking pass (overlays and skeleton with
// names only) or a normal frame. Returns 0, or -1 when drawing failed.
using SceneDrawFn = int (*)(SceneDocument& doc, RenderState& rs, const ViewInputState& input,
                            bool pickingPass);

// The picking pass at (x, y) (client pixels, y downwards): the scene drawn as a
// picking pass in selection mode through a 1 x 1 pick region around
// (x, height - y), the hit chosen by `choice`. Reports the hit count, the chosen
// name (-1 without a hit or a name) and its mean depth; drawOk is false when the
// drawing failed. Changes no document state; selection mode ends and the
// projection matrix is restored either way. Draws no normal frame.
PickResult pickPassWith(SceneDocument& doc, RenderState& rs, const ViewInputState& input, int x,
                        int y, PickChoice choice, SceneDrawFn draw);

// The depth probe of a placement click at (x, y): the whole scene (model,
// shadow and decorations included, the world axes left out) drawn in selection
// mode through the pick region with editMode kModeDepthProbe. Reports the first
// record (name -1 when it carries none); editMode and showWorldAxes are put back
// as they were. The caller decides what an empty probe means.
PickResult probeDepthWith(SceneDocument& doc, RenderState& rs, const ViewInputState& input, int x,
                          int y, SceneDrawFn draw);

// pickPassWith and probeDepthWith drawing with drawScene: what the 3D window's
// paint handling and placement clicks call.
PickResult pickPass(SceneDocument& doc, RenderState& rs, const ViewInputState& input, int x, int y,
                    PickChoice choice);
PickResult probeDepth(SceneDocument& doc, RenderState& rs, const ViewInputState& input, int x,
                      int y);

// The world point under window position (x, y) (y downwards) at window depth
// `depth`, through the matrices of the last editing frame and the current
// viewport. Returns 0 and writes `point`, or 1 with kWindowToWorldFailedText in
// doc.ErrorText and `point` unchanged.
int windowToWorld(SceneDocument& doc, const RenderState& rs, float depth, int x, int y,
                  double point[3]);

}  // namespace lw
