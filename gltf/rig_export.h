// The rig as an exchange format sees it: one node per joint, standard linear
// blend skinning over those nodes, and the joints' turns sampled over time.
//
// The deformation turns a corner about the start of its dominant joint's bone,
// blending the turns of the joints on that joint's chain. Each joint J is
// therefore exported as a node placed at the start of J's bone (the position of
// J's parent), carrying J's whole turn: its world transform maps a rest point x
// to posedStart(J) + B_J (x - restStart(J)), B_J being the blend turn the
// deformation forms for J. In the tree of nodes this needs only constant local
// translations (the parent's rest bone vector) and one moving root. A corner
// whose chain weights sum to 1 and lie on its dominant joint and that joint's
// parent is then reproduced exactly; weights further up the chain, or sums
// other than 1, only approximately (measureRigFidelity tells how closely).
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/document.h"

namespace lw {

using Vec3d = std::array<double, 3>;
// A rotation as exchange formats store it: x, y, z, w, turning v into q v q*.
using Quatd = std::array<double, 4>;

struct RigNode {
  const Joint* joint = nullptr;
  int parent = -1;          // index of the parent's node; -1 for a root
  Vec3d restTranslation{};  // relative to the parent's node (to the origin for a root)
  Vec3d restWorld{};        // where the node sits in the rest pose
};

// A corner's influences: (node, weight) pairs, weights positive, summing to 1,
// largest first. `exact` is false when the program's deformation of the corner
// cannot be reproduced by blending whole node transforms.
struct CornerSkin {
  std::vector<std::pair<uint16_t, float>> influences;
  bool exact = true;
};

// The pose at one sample time: every node's local rotation, and the base node's
// translation (the base joint's animated position).
struct RigSample {
  int32_t timeMs = 0;
  std::vector<Quatd> rotations;
  Vec3d baseTranslation{};
};

struct ExportRig {
  std::vector<RigNode> nodes;                  // the joints in name order, the base first
  std::vector<std::vector<CornerSkin>> parts;  // per mesh part, per corner
  std::vector<RigSample> samples;              // in time order; empty without keyframes
};

inline constexpr int kDefaultExportFps = 30;

// The times sampled: every keyframe time and, between the first and the last,
// the grid first + round(k * 1000 / fps) ms. Empty when there is no keyframe.
std::vector<int32_t> rigSampleTimes(const KeyframeStore& store, int fps);

// Builds the export of the document's rig. Samples the poses playback shows
// (poseAtTime) at rigSampleTimes; the keyframe store's playback working state
// (working poses, segment, play time) is put back afterwards, so the document
// looks untouched. Needs a model with skin buffers and a non-empty skeleton.
ExportRig buildExportRig(SceneDocument& doc, int fps);

struct RigFidelity {
  int inexactCorners = 0;      // corners whose CornerSkin is not exact
  int cornerCount = 0;
  double largestDifference = 0;  // over all corners and samples, relative to the height
  double modelHeight = 0;        // extent of the rest shape along y
};

// Compares, at every sample, the program's playback deformation with linear
// blend skinning of the exported nodes (evaluated from the values as stored in
// single precision). Overwrites the skin buffers' positions and normals with the
// last sample's deformation.
RigFidelity measureRigFidelity(SceneDocument& doc, const ExportRig& rig);

}  // namespace lw
