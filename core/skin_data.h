// Per-corner skinning data: the deformed positions and normals that drawing and
// saving use, and each corner's list of joint influences.
//
// Layout: one SkinPart per mesh part, corners in the part's own order, kept as
// three parallel arrays (structure of arrays):
//  - skinPositions: deformed (or rest) corner positions, contiguous Vector3s, so
//    OpenGL reads them directly as a vertex array (3 floats, stride 12);
//  - skinNormals: deformed (or rest) corner normals, the same shape;
//  - skinWeights: each corner's influences (a WeightList).
// Corner c of a part is skinPositions[c] / skinNormals[c] / skinWeights[c].
// The `binding` member is derived data owned by skin/ (see skin/skin_binding.h);
// no other code reads or writes it.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/math.h"

namespace lw {

struct Joint;
struct Mesh;

struct JointWeight {
  std::string jointName;  // joints are referred to by name, not number
  float weight = 0;       // 0.0 to 1.0; lists are not normalised
  friend bool operator==(const JointWeight&, const JointWeight&) = default;
};

// How many times the weight lists of one model part have been changed: the
// part's own count (SkinPart::weightChanges), so that separate documents never
// invalidate each other's derived data.
using WeightChangeCount = std::shared_ptr<uint64_t>;

// A corner's influences, in the order they were entered. A joint may appear more
// than once; nothing tests the sum. Entries are never changed in place: a list is
// emptied, appended to or replaced as a whole, and each such change is counted
// in the count the list reports to, so nothing derived from the weights can go
// stale. A list reports to no count until the skinning binding adopts it
// (reportChangesTo); a new list (made, copied or moved into) starts without one,
// and a part whose lists were added, replaced or reallocated is rebound anyway.
// Assigning a list, or moving one out, counts as a change (copying one into a new
// list does not); each change makes the next deformation rebuild its binding, so
// no per-frame code should assign or move lists.
class WeightList {
 public:
  using const_iterator = std::vector<JointWeight>::const_iterator;

  WeightList() = default;
  WeightList(std::initializer_list<JointWeight> entries);
  WeightList(const WeightList& other) : entries_(other.entries_) {}
  WeightList(WeightList&& other) noexcept;
  WeightList& operator=(const WeightList& other);
  WeightList& operator=(WeightList&& other) noexcept;
  ~WeightList() = default;

  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }
  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  const JointWeight& operator[](size_t i) const { return entries_[i]; }

  void clear();
  void push_back(JointWeight entry);

  // From now on every change of this list is counted in `count`.
  void reportChangesTo(const WeightChangeCount& count) { changes_ = count; }
  bool reportsTo(const WeightChangeCount& count) const { return changes_ == count; }

  friend bool operator==(const WeightList& a, const WeightList& b) {
    return a.entries_ == b.entries_;
  }

 private:
  void countChange() {
    if (changes_) ++*changes_;
  }

  std::vector<JointWeight> entries_;
  WeightChangeCount changes_;
};

// --- Derived data of the deformation (maintained by skin/skin_binding.h) ------

// A vector padded to 16 bytes for the deformation kernel; w is 0.
struct alignas(16) SkinVec4 {
  float x = 0, y = 0, z = 0, w = 0;
};

// One joint as the binding saw it; the binding is rebuilt when any field differs.
struct SkinSlot {
  Joint* joint = nullptr;
  Joint* parent = nullptr;
  std::string jointName;
  int32_t jointID = 0;
  Vector3 position;           // the joint's `position`, subtracted along a chain
  int32_t parentSlot = -1;    // -1 for a root
  int32_t depth = 0;          // joints on the chain from the root's child to it; 0 for a root
  int32_t nameId = 0;         // equal jointNames share an id
  int32_t usedInChain = 0;    // 1 when some weighted corner's chain holds this joint
};

// A corner as the kernel reads it: the rest position relative to the start of its
// dominant joint's bone (the rest position itself for a corner that keeps its rest
// shape) and the rest normal.
struct SkinBoundCorner {
  SkinVec4 relative;
  SkinVec4 normal;
};

// How a corner is deformed: blended along its dominant joint's chain with its
// next `count` weights, or (dominant == kSkinRestShape) kept at its rest shape.
inline constexpr uint32_t kSkinRestShape = 0xFFFFFFFFu;
struct SkinBoundHead {
  uint32_t dominant = kSkinRestShape;
  uint32_t count = 0;
};

// One weight the kernel blends: a chain joint's slot and its weight.
struct SkinBoundWeight {
  uint32_t slot = 0;
  float weight = 0;
};

struct SkinBinding {
  // What the binding was built from; it is rebuilt when any of these differs.
  bool built = false;
  uint64_t weightChanges = 0;               // the part's weight-change count when built
  const WeightList* weightLists = nullptr;  // the part's lists when built
  const Vector3* restPositions = nullptr;
  const Vector3* restNormals = nullptr;
  size_t restPositionCount = 0;
  size_t restNormalCount = 0;
  size_t weightListCount = 0;
  std::vector<SkinSlot> slots;         // the joint map's joints in name order, then any
                                       // ancestors the map does not hold
  std::vector<std::string> mapKeys;    // the joint map's keys, in order
  // What the kernel reads.
  size_t cornerCount = 0;              // corners bound: the smallest of the part's arrays
  std::vector<int32_t> slotOrder;      // the slots below a root, every parent before its children
  int32_t deepest = 0;                 // the greatest depth of a slot
  std::vector<SkinBoundCorner> corners;
  std::vector<SkinBoundHead> heads;    // per corner
  std::vector<SkinBoundWeight> weights;  // all corners' chain weights, in corner order
};

// One joint's pose as the deformation reads it (filled per frame by the caller of
// the kernel, one per binding slot).
struct SkinJointPose {
  int32_t restart = 0;           // 1: the accumulated turn restarts here with restartRotation
  Quaternion restartRotation;
  Quaternion rotation;           // accumulated onto the parent's turn otherwise
  Quaternion ikToFkRotation;     // applied before the accumulated turn
  Vector3 boneStart;             // added when a chain position is put back at this joint
};

// Adding -0 leaves every float as it is (even -0), so it stands for "add nothing".
inline constexpr Vector3 kNoShift{-0.0f, -0.0f, -0.0f};

// The per-frame data of the kernel: inputs per slot and the shifts, plus what
// prepareSkinFrame derives from them.
struct SkinFrame {
  std::vector<SkinJointPose> joints;
  Vector3 restShift[2] = {kNoShift, kNoShift};  // rest-shape corners: (rest + [0]) + [1]
  Vector3 weightedShift = kNoShift;             // added last to every blended corner
  std::vector<Matrix4> turns;      // per slot, the accumulated turn
  std::vector<SkinVec4> blend;     // per slot, three columns of its blend matrix
  std::vector<SkinVec4> chainBack;  // the kernel's own: the boneStart of each joint of
                                    // the chain it is at (deepest entries)
};

// --- The buffers -------------------------------------------------------------

// One entry per mesh part; the three arrays have one element per corner.
struct SkinPart {
  std::vector<Vector3> skinPositions;
  std::vector<Vector3> skinNormals;
  std::vector<WeightList> skinWeights;
  // Changes to skinWeights since the part was made (counted once the binding has
  // adopted the lists); the binding is rebuilt when it has moved on.
  WeightChangeCount weightChanges = std::make_shared<uint64_t>(0);
  SkinBinding binding;
};

struct SkinBuffers {
  std::vector<SkinPart> parts;
  SkinFrame frame;  // working space of deformPart, reused every frame
};

// The weighting box: eight corners (x, y, z in double) in a fixed order; see
// skin/weight_box.h.
struct WeightBox {
  std::array<std::array<double, 3>, 8> corners{};
};

struct CornerRef {
  int part = 0;
  int corner = 0;
  friend bool operator==(const CornerRef&, const CornerRef&) = default;
};

// Corners picked for the vertex weighting dialog, in pick order.
using VertexSelection = std::vector<CornerRef>;

// Skin buffers for a freshly loaded model: per part, a copy of the corner
// positions and normals and an empty weight list per corner. The only place that
// builds them.
std::unique_ptr<SkinBuffers> makeSkinBuffers(const Mesh& mesh);

}  // namespace lw
