#include "skin/skin_binding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace lw {
namespace {

using Float4 = float __attribute__((vector_size(16)));

Float4 load(const SkinVec4& v) {
  Float4 r;
  std::memcpy(&r, &v, sizeof r);
  return r;
}

Float4 splat(float f) { return Float4{f, f, f, f}; }

Float4 toFloat4(Vector3 v) { return Float4{v.x, v.y, v.z, 0.0f}; }

SkinVec4 toSkinVec4(Vector3 v) { return {v.x, v.y, v.z, 0.0f}; }

static_assert(sizeof(Vector3) == 3 * sizeof(float), "Vector3 arrays are read as packed floats");

// Writes x, y, z of v over element i of a Vector3 array; `spill` allows one wide
// store that also writes the next element's x (which is written again afterwards).
void store3(Vector3* array, size_t i, Float4 v, bool spill) {
  unsigned char* out = reinterpret_cast<unsigned char*>(array) + i * sizeof(Vector3);
  std::memcpy(out, &v, spill ? sizeof v : sizeof(Vector3));
}

bool sameBits(Vector3 a, Vector3 b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool sameJoint(const SkinSlot& slot) {
  const Joint& j = *slot.joint;
  return j.parent == slot.parent && j.jointID == slot.jointID && j.jointName == slot.jointName &&
         sameBits(j.position, slot.position);
}

size_t boundCornerCount(const SkinPart& part, const MeshPart& rest) {
  return std::min({rest.positions.size(), rest.normals.size(), part.skinPositions.size(),
                   part.skinNormals.size(), part.skinWeights.size()});
}

SkinSlot slotFor(Joint* joint) {
  SkinSlot s;
  s.joint = joint;
  s.parent = joint->parent;
  s.jointName = joint->jointName;
  s.jointID = joint->jointID;
  s.position = joint->position;
  return s;
}

Matrix4 turnMatrix(Quaternion q) { return quaternionToMatrix(conjugate(q)); }

// The joints of the skeleton as slots, with parents, names, depths and chains.
void bindSlots(SkinBinding& b, const JointSet& skeleton) {
  b.slots.clear();
  b.mapKeys.clear();
  b.slotOrder.clear();
  std::unordered_map<const Joint*, int32_t> slotOf;
  for (const auto& [key, joint] : skeleton.joints) {
    slotOf.emplace(joint, static_cast<int32_t>(b.slots.size()));
    b.mapKeys.push_back(key);
    b.slots.push_back(slotFor(joint));
  }
  for (size_t i = 0; i < b.slots.size(); ++i) {  // ancestors the map does not hold
    Joint* parent = b.slots[i].parent;
    if (parent != nullptr && slotOf.emplace(parent, static_cast<int32_t>(b.slots.size())).second) {
      b.slots.push_back(slotFor(parent));
    }
  }
  const int32_t n = static_cast<int32_t>(b.slots.size());
  std::unordered_map<std::string_view, int32_t> nameIds;
  for (SkinSlot& s : b.slots) {
    s.parentSlot = s.parent != nullptr ? slotOf.at(s.parent) : -1;
    s.nameId = nameIds.emplace(s.jointName, static_cast<int32_t>(nameIds.size())).first->second;
  }
  // Depths, each parent's once: walk up to a slot already known (or past a
  // root), then number the slots passed on the way back down. A walk that meets
  // itself found a parent cycle; every slot passed sits on it or below it (-1).
  constexpr int32_t kUnknown = -2, kWalking = -3;
  for (SkinSlot& s : b.slots) {
    s.depth = kUnknown;
    s.usedInChain = 0;
  }
  std::vector<int32_t> walked;
  for (int32_t i = 0; i < n; ++i) {
    walked.clear();
    int32_t j = i;
    while (j >= 0 && b.slots[j].depth == kUnknown) {
      b.slots[j].depth = kWalking;
      walked.push_back(j);
      j = b.slots[j].parentSlot;
    }
    const bool cycle = j >= 0 && b.slots[j].depth < 0;
    int32_t depth = j >= 0 ? b.slots[j].depth : -1;
    for (auto k = walked.rbegin(); k != walked.rend(); ++k) {
      b.slots[*k].depth = cycle ? -1 : ++depth;
    }
  }
  b.deepest = 0;
  for (int32_t i = 0; i < n; ++i) {
    b.deepest = std::max(b.deepest, b.slots[i].depth);
    if (b.slots[i].depth > 0) b.slotOrder.push_back(i);
  }
  std::stable_sort(b.slotOrder.begin(), b.slotOrder.end(),
                   [&](int32_t x, int32_t y) { return b.slots[x].depth < b.slots[y].depth; });
}

// What a weight entry's jointName refers to: the joint the map finds under it and
// the id shared by joints of that name.
struct NameTarget {
  int32_t mapSlot = -1;
  int32_t nameId = -1;
};

// Where each slot lies in a depth-first walk of the joint trees: a slot is on
// the chain of slot d (d itself or one of its ancestors) when its span
// [enter, leave) holds d's enter. Slots on or below a parent cycle get none.
struct TreeSpans {
  std::vector<int32_t> enter;
  std::vector<int32_t> leave;
  bool holds(int32_t above, int32_t d) const {
    return enter[above] >= 0 && enter[above] <= enter[d] && enter[d] < leave[above];
  }
};

TreeSpans spansOf(const SkinBinding& b) {
  const size_t n = b.slots.size();
  std::vector<int32_t> first(n + 1, 0);  // slot s's children: kids[first[s] .. first[s + 1])
  for (const SkinSlot& s : b.slots) {
    if (s.depth > 0) ++first[static_cast<size_t>(s.parentSlot) + 1];
  }
  for (size_t i = 0; i < n; ++i) first[i + 1] += first[i];
  std::vector<int32_t> next(first.begin(), first.end() - 1);
  std::vector<int32_t> kids(static_cast<size_t>(first[n]));
  for (size_t i = 0; i < n; ++i) {
    if (b.slots[i].depth > 0) kids[next[b.slots[i].parentSlot]++] = static_cast<int32_t>(i);
  }
  next.assign(first.begin(), first.end() - 1);
  TreeSpans spans{std::vector<int32_t>(n, -1), std::vector<int32_t>(n, -1)};
  int32_t clock = 0;
  std::vector<int32_t> walk;
  for (size_t root = 0; root < n; ++root) {
    if (b.slots[root].depth != 0) continue;
    walk.push_back(static_cast<int32_t>(root));
    spans.enter[root] = clock++;
    while (!walk.empty()) {
      const int32_t s = walk.back();
      if (next[s] < first[s + 1]) {
        const int32_t child = kids[next[s]++];
        spans.enter[child] = clock++;
        walk.push_back(child);
      } else {
        spans.leave[s] = clock;
        walk.pop_back();
      }
    }
  }
  return spans;
}

// What binding the corners of one part looks weight entries up in, and the
// lists each corner fills, kept from corner to corner.
struct CornerLookup {
  std::unordered_map<std::string_view, NameTarget> targets;
  // The slots of each name: nameSlots[nameFirst[id] .. nameFirst[id + 1]).
  std::vector<int32_t> nameFirst;
  std::vector<int32_t> nameSlots;
  std::vector<size_t> nameSeenAt;  // the corner that last met a name
  TreeSpans spans;
  std::vector<NameTarget> entryTargets;  // the target of each entry of the list being bound
  std::vector<SkinBoundWeight> found;    // the chain weights of a corner, in any order
};

void fillLookup(const SkinBinding& b, CornerLookup& lookup) {
  std::unordered_map<std::string_view, NameTarget>& targets = lookup.targets;
  for (size_t i = 0; i < b.mapKeys.size(); ++i) targets[b.mapKeys[i]].mapSlot = static_cast<int32_t>(i);
  for (const SkinSlot& s : b.slots) targets[s.jointName].nameId = s.nameId;
  std::vector<int32_t>& nameFirst = lookup.nameFirst;
  nameFirst.assign(targets.size() + 1, 0);
  lookup.nameSlots.resize(b.slots.size());
  for (const SkinSlot& s : b.slots) ++nameFirst[s.nameId + 1];
  for (size_t i = 1; i < nameFirst.size(); ++i) nameFirst[i] += nameFirst[i - 1];
  std::vector<int32_t> nameNext(nameFirst.begin(), nameFirst.end() - 1);
  for (size_t i = 0; i < b.slots.size(); ++i) {
    lookup.nameSlots[nameNext[b.slots[i].nameId]++] = static_cast<int32_t>(i);
  }
  lookup.nameSeenAt.assign(targets.size(), SIZE_MAX);
  lookup.spans = spansOf(b);
}

// Appends again the `count` weights that start at `from`; returns where the
// copies start.
size_t repeatWeights(SkinBinding& b, size_t from, uint32_t count) {
  const size_t start = b.weights.size();
  for (size_t k = 0; k < count; ++k) {
    const SkinBoundWeight same = b.weights[from + k];
    b.weights.push_back(same);
  }
  return start;
}

// The list's dominant joint: the map joint with the greatest jointID among its
// entries (-1 when no entry names a map joint). Leaves each entry's target in
// entryTargets.
int32_t dominantSlot(const SkinBinding& b, const WeightList& list, CornerLookup& lookup) {
  lookup.entryTargets.clear();
  int32_t dominant = -1;
  for (const JointWeight& entry : list) {
    const auto at = lookup.targets.find(entry.jointName);
    const NameTarget target = at != lookup.targets.end() ? at->second : NameTarget{};
    lookup.entryTargets.push_back(target);
    if (target.mapSlot < 0) continue;
    if (dominant < 0 || b.slots[target.mapSlot].jointID > b.slots[dominant].jointID) {
      dominant = target.mapSlot;
    }
  }
  return dominant;
}

// The chain weights of corner c into `found`, root end first. Each name's first
// entry gives its weight to the chain joints of that name, found among the
// joints of the name rather than along the chain.
void gatherChainWeights(const SkinBinding& b, const WeightList& list, size_t c, int32_t dominant,
                        CornerLookup& lookup) {
  std::vector<SkinBoundWeight>& found = lookup.found;
  found.clear();
  for (size_t e = 0; e < list.size(); ++e) {
    const int32_t id = lookup.entryTargets[e].nameId;
    if (id < 0 || lookup.nameSeenAt[id] == c) continue;
    lookup.nameSeenAt[id] = c;
    if (list[e].weight == 0.0f) continue;
    for (int32_t k = lookup.nameFirst[id]; k < lookup.nameFirst[id + 1]; ++k) {
      const int32_t j = lookup.nameSlots[k];
      if (b.slots[j].depth > 0 && lookup.spans.holds(j, dominant)) {
        found.push_back({static_cast<uint32_t>(j), list[e].weight});
      }
    }
  }
  std::sort(found.begin(), found.end(), [&](SkinBoundWeight x, SkinBoundWeight y) {
    return b.slots[x.slot].depth < b.slots[y.slot].depth;
  });
}

// Binds corner c by its own weight list: a dominant joint in a tree gets the
// corner, with the chain weights it blends; otherwise the corner keeps its
// rest shape.
void bindWeightList(SkinBinding& b, const WeightList& list, size_t c, CornerLookup& lookup,
                    SkinBoundHead& head) {
  const int32_t dominant = dominantSlot(b, list, lookup);
  if (dominant < 0 || b.slots[dominant].depth <= 0) return;
  head.dominant = static_cast<uint32_t>(dominant);
  b.slots[dominant].usedInChain = 1;  // the rest of its chain is marked by markBlendedChains
  gatherChainWeights(b, list, c, dominant, lookup);
  b.weights.insert(b.weights.end(), lookup.found.begin(), lookup.found.end());
  head.count = static_cast<uint32_t>(lookup.found.size());
}

// The rest position less the positions of the dominant joint's chain (as it is
// for a corner kept at its rest shape).
Vector3 chainRelative(const SkinBinding& b, SkinBoundHead head, Vector3 restPosition) {
  Vector3 relative = restPosition;
  if (head.dominant != kSkinRestShape) {
    int32_t j = static_cast<int32_t>(head.dominant);
    for (int32_t k = b.slots[j].depth; k > 0; --k, j = b.slots[j].parentSlot) {
      relative = relative - b.slots[j].position;
    }
  }
  return relative;
}

// Deepest first: a slot on a blended chain marks its parent's.
void markBlendedChains(SkinBinding& b) {
  for (auto s = b.slotOrder.rbegin(); s != b.slotOrder.rend(); ++s) {
    SkinSlot& slot = b.slots[*s];
    if (slot.usedInChain == 1 && b.slots[slot.parentSlot].depth > 0) {
      b.slots[slot.parentSlot].usedInChain = 1;
    }
  }
}

void bindCorners(SkinBinding& b, const SkinPart& part, const MeshPart& rest) {
  CornerLookup lookup;
  fillLookup(b, lookup);
  const size_t count = b.cornerCount;
  b.corners.resize(count);
  b.heads.assign(count, SkinBoundHead{});
  b.weights.clear();
  size_t previousStart = 0;
  for (size_t c = 0; c < count; ++c) {
    const WeightList& list = part.skinWeights[c];
    SkinBoundHead& head = b.heads[c];
    const Vector3 restPosition = rest.positions[c];
    b.corners[c].normal = toSkinVec4(rest.normals[c]);
    if (c > 0 && list == part.skinWeights[c - 1]) {
      head = b.heads[c - 1];  // the same list binds the same way
      previousStart = repeatWeights(b, previousStart, head.count);
    } else {
      previousStart = b.weights.size();
      bindWeightList(b, list, c, lookup, head);
    }
    b.corners[c].relative = toSkinVec4(chainRelative(b, head, restPosition));
  }
  markBlendedChains(b);
}

}  // namespace

bool isSkinBindingCurrent(const SkinPart& part, const MeshPart& rest, const JointSet& skeleton) {
  const SkinBinding& b = part.binding;
  if (!b.built || !part.weightChanges || b.weightChanges != *part.weightChanges ||
      b.weightLists != part.skinWeights.data()) {
    return false;
  }
  if (b.restPositions != rest.positions.data() || b.restPositionCount != rest.positions.size() ||
      b.restNormals != rest.normals.data() || b.restNormalCount != rest.normals.size() ||
      b.weightListCount != part.skinWeights.size() ||
      b.cornerCount != boundCornerCount(part, rest)) {
    return false;
  }
  if (skeleton.joints.size() != b.mapKeys.size()) return false;
  size_t i = 0;
  for (const auto& [key, joint] : skeleton.joints) {
    if (joint != b.slots[i].joint || key != b.mapKeys[i]) return false;
    ++i;
  }
  // Map joints first: each later slot is the parent of an earlier, already checked one.
  for (const SkinSlot& slot : b.slots) {
    if (!sameJoint(slot)) return false;
  }
  return true;
}

void updateSkinBinding(SkinPart& part, const MeshPart& rest, const JointSet& skeleton) {
  if (isSkinBindingCurrent(part, rest, skeleton)) return;
  SkinBinding& b = part.binding;
  b.built = false;
  // From here on every change to the part's lists moves the part's count.
  if (!part.weightChanges) part.weightChanges = std::make_shared<uint64_t>(0);
  for (WeightList& list : part.skinWeights) {
    if (!list.reportsTo(part.weightChanges)) list.reportChangesTo(part.weightChanges);
  }
  b.weightChanges = *part.weightChanges;
  b.weightLists = part.skinWeights.data();
  b.restPositions = rest.positions.data();
  b.restPositionCount = rest.positions.size();
  b.restNormals = rest.normals.data();
  b.restNormalCount = rest.normals.size();
  b.weightListCount = part.skinWeights.size();
  b.cornerCount = boundCornerCount(part, rest);
  bindSlots(b, skeleton);
  bindCorners(b, part, rest);
  b.built = true;
}

void resizeSkinFrame(const SkinBinding& binding, SkinFrame& frame) {
  const size_t slots = binding.slots.size();
  frame.joints.resize(slots);
  frame.turns.resize(slots);
  frame.blend.resize(3 * slots);
  frame.chainBack.resize(static_cast<size_t>(binding.deepest));
}

void prepareSkinFrame(const SkinBinding& binding, SkinFrame& frame) {
  const Matrix4 identity = identityMatrix();
  for (int32_t s : binding.slotOrder) {
    const SkinJointPose& pose = frame.joints[s];
    const int32_t parent = binding.slots[s].parentSlot;
    Matrix4& turn = frame.turns[s];
    if (pose.restart == 1) {
      turn = turnMatrix(pose.restartRotation);
    } else {
      const Matrix4& above = binding.slots[parent].depth > 0 ? frame.turns[parent] : identity;
      turn = matrixMultiply(above, turnMatrix(pose.rotation));
    }
    const Matrix4 blend = matrixMultiply(turn, turnMatrix(pose.ikToFkRotation));
    for (int c = 0; c < 3; ++c) {
      frame.blend[3 * s + c] = {blend.at(0, c), blend.at(1, c), blend.at(2, c), 0.0f};
    }
  }
}

void deformBoundCorners(const SkinBinding& binding, SkinFrame& frame, SkinPart& part,
                        size_t count) {
  const size_t n = std::min({count, binding.cornerCount, part.skinPositions.size(),
                             part.skinNormals.size()});
  if (n == 0) return;
  Vector3* positions = part.skinPositions.data();
  Vector3* normals = part.skinNormals.data();
  const SkinBoundCorner* corners = binding.corners.data();
  const SkinBoundHead* heads = binding.heads.data();
  const SkinBoundWeight* weight = binding.weights.data();
  const SkinSlot* slots = binding.slots.data();
  const SkinJointPose* poses = frame.joints.data();
  const SkinVec4* blend = frame.blend.data();
  SkinVec4* chainBack = frame.chainBack.data();
  uint32_t chainOf = kSkinRestShape;  // the slot whose chain chainBack holds
  int32_t chainLength = 0;
  const Float4 restShift0 = toFloat4(frame.restShift[0]);
  const Float4 restShift1 = toFloat4(frame.restShift[1]);
  const Float4 weightedShift = toFloat4(frame.weightedShift);

  for (size_t c = 0; c < n; ++c) {
    const SkinBoundHead head = heads[c];
    const Float4 q = load(corners[c].relative);
    const Float4 normal = load(corners[c].normal);
    Float4 position;
    Float4 turned;
    if (head.dominant == kSkinRestShape) {
      position = (q + restShift0) + restShift1;
      turned = normal;
    } else {
      const Float4 qx = splat(q[0]), qy = splat(q[1]), qz = splat(q[2]);
      const Float4 nx = splat(normal[0]), ny = splat(normal[1]), nz = splat(normal[2]);
      Float4 sum = {0.0f, 0.0f, 0.0f, 0.0f};
      Float4 normalSum = {0.0f, 0.0f, 0.0f, 0.0f};
      for (uint32_t k = 0; k < head.count; ++k) {
        const SkinVec4* m = blend + 3 * weight[k].slot;
        const Float4 w = splat(weight[k].weight);
        const Float4 m0 = load(m[0]) * w, m1 = load(m[1]) * w, m2 = load(m[2]) * w;
        sum += (m0 * qx + m1 * qy) + m2 * qz;
        normalSum += (m0 * nx + m1 * ny) + m2 * nz;
      }
      weight += head.count;
      // Corners of one dominant joint mostly come together: its chain is
      // gathered (walking up the parents) only when the dominant joint changes,
      // and only its last joint when it is a child or a sibling of the one before
      // (whose chain, up to the shared parent, chainBack already holds).
      if (head.dominant != chainOf) {
        const int32_t j = static_cast<int32_t>(head.dominant);
        const int32_t parent = slots[j].parentSlot;
        const bool nextToLast = chainOf != kSkinRestShape &&
                                (parent == static_cast<int32_t>(chainOf) ||
                                 parent == slots[chainOf].parentSlot);
        chainOf = head.dominant;
        chainLength = slots[j].depth;
        chainBack[chainLength - 1] = toSkinVec4(poses[j].boneStart);
        int32_t up = parent;
        for (int32_t k = chainLength - 2; k >= 0 && !nextToLast; --k, up = slots[up].parentSlot) {
          chainBack[k] = toSkinVec4(poses[up].boneStart);
        }
      }
      for (int32_t k = 0; k < chainLength; ++k) sum += load(chainBack[k]);
      position = sum + weightedShift;
      turned = normalSum;
    }
    const bool spill = c + 1 < n;
    store3(positions, c, position, spill);
    store3(normals, c, turned, spill);
  }
}

}  // namespace lw
