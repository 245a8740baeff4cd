#include "gltf/rig_export.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "anim/playback.h"
#include "anim/playback_deform.h"
#include "skin/skin_binding.h"

namespace lw {

namespace {

// Quaternion arithmetic in double, standard order (w, x, y, z), turning v into q v q*.
struct Qd {
  double w = 1, x = 0, y = 0, z = 0;
};

Qd multiply(const Qd& a, const Qd& b) {
  return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z,
          a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
          a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
          a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}

Qd conjugated(const Qd& q) { return {q.w, -q.x, -q.y, -q.z}; }

Qd unit(const Qd& q) {
  const double n = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
  if (n == 0 || !std::isfinite(n)) return {};
  return {q.w / n, q.x / n, q.y / n, q.z / n};
}

// The program turns v by q* v q, so its quaternion is the conjugate of the usual one.
Qd usualFormOf(const Quaternion& q) { return unit({q.w, -q.x, -q.y, -q.z}); }

// Puts the playback working state back when the sampling is done.
class PlaybackStateKeeper {
 public:
  explicit PlaybackStateKeeper(KeyframeStore& store)
      : store_(store),
        poses_(std::move(store.animationPoses)),  // map nodes keep their addresses
        segment_(store.segment),
        segmentStarted_(store.segmentStarted),
        playTime_(store.playTime) {
    store.animationPoses.clear();
  }
  ~PlaybackStateKeeper() {
    store_.animationPoses = std::move(poses_);
    store_.segment = segment_;
    store_.segmentStarted = segmentStarted_;
    store_.playTime = playTime_;
  }
  PlaybackStateKeeper(const PlaybackStateKeeper&) = delete;
  PlaybackStateKeeper& operator=(const PlaybackStateKeeper&) = delete;

 private:
  KeyframeStore& store_;
  PoseMap poses_;
  Segment segment_;
  int32_t segmentStarted_;
  int32_t playTime_;
};

Vec3d toVec3d(const Vector3& v) { return {v.x, v.y, v.z}; }

std::vector<RigNode> rigNodes(const JointSet& skeleton, std::map<const Joint*, int>& nodeOf) {
  std::vector<RigNode> nodes;
  for (const auto& entry : skeleton.joints) {
    nodeOf.emplace(entry.second, static_cast<int>(nodes.size()));
    nodes.push_back(RigNode{entry.second});
  }
  for (RigNode& node : nodes) {
    const Joint* parent = node.joint->parent;
    const auto found = parent ? nodeOf.find(parent) : nodeOf.end();
    node.parent = found == nodeOf.end() ? -1 : found->second;
  }
  // Name order puts every parent before its children.
  for (RigNode& node : nodes) {
    const Vec3d position = toVec3d(node.joint->position);
    if (node.parent < 0) {
      node.restWorld = node.restTranslation = position;
      continue;
    }
    const RigNode& parent = nodes[static_cast<size_t>(node.parent)];
    // A bone below a root starts where its `position` says; deeper bones start
    // at the end of the parent's rest bone, which is their `position`.
    const bool belowRoot = parent.parent < 0;
    for (int k = 0; k < 3; ++k) {
      node.restWorld[k] = belowRoot ? position[k] : parent.restWorld[k] + position[k];
      node.restTranslation[k] = node.restWorld[k] - parent.restWorld[k];
    }
  }
  return nodes;
}

// The influences of one corner from its bound chain weights.
CornerSkin cornerSkin(const SkinBinding& b, size_t corner, size_t& nextWeight,
                      const std::map<const Joint*, int>& nodeOf) {
  CornerSkin skin;
  if (corner >= b.cornerCount) {  // not deformed at all
    skin.influences = {{0, 1.0f}};
    skin.exact = false;
    return skin;
  }
  const SkinBoundHead& head = b.heads[corner];
  const size_t first = nextWeight;
  nextWeight += head.count;
  if (head.dominant == kSkinRestShape) {  // moves with the base joint alone
    skin.influences = {{0, 1.0f}};
    return skin;
  }
  const SkinSlot& dominant = b.slots[head.dominant];
  auto nodeOfSlot = [&](uint32_t slot) {
    const auto found = nodeOf.find(b.slots[slot].joint);
    return found == nodeOf.end() ? -1 : found->second;
  };
  double total = 0, used = 0;
  for (size_t k = first; k < first + head.count; ++k) {
    const SkinBoundWeight& w = b.weights[k];
    total += w.weight;
    const int node = nodeOfSlot(w.slot);
    const bool nearDominant = w.slot == head.dominant ||
                              static_cast<int32_t>(w.slot) == dominant.parentSlot;
    if (!nearDominant) skin.exact = false;
    if (w.weight > 0 && node >= 0) {
      skin.influences.emplace_back(static_cast<uint16_t>(node), w.weight);
      used += w.weight;
    } else {
      skin.exact = false;  // a negative weight or a joint without a node
    }
  }
  if (std::fabs(total - 1.0) > 1e-6) skin.exact = false;
  if (used <= 0) {  // the program collapses such a corner onto its bone's start
    const int node = nodeOfSlot(head.dominant);
    skin.influences = {{static_cast<uint16_t>(node < 0 ? 0 : node), 1.0f}};
    skin.exact = false;
    return skin;
  }
  std::stable_sort(skin.influences.begin(), skin.influences.end(),
                   [](const auto& a, const auto& b2) { return a.second > b2.second; });
  float rest = 0;
  for (size_t i = 1; i < skin.influences.size(); ++i) {
    skin.influences[i].second = static_cast<float>(skin.influences[i].second / used);
    rest += skin.influences[i].second;
  }
  skin.influences[0].second = 1.0f - rest;  // the stored sum is 1 as nearly as floats allow
  return skin;
}

RigSample sampleAt(const SceneDocument& doc, const std::vector<RigNode>& nodes, int32_t timeMs) {
  const PoseMap& poses = doc.keyFrames->animationPoses;
  RigSample sample;
  sample.timeMs = timeMs;
  std::vector<Qd> turn(nodes.size()), blend(nodes.size());
  for (size_t i = 0; i < nodes.size(); ++i) {
    const RigNode& node = nodes[i];
    const auto pose = poses.find(node.joint->jointName);
    const bool posed = pose != poses.end();
    Qd local;
    if (node.parent >= 0) {
      const RigNode& parent = nodes[static_cast<size_t>(node.parent)];
      // The turn accumulates from the root's child down; a root turns nothing.
      const Qd above = parent.parent < 0 ? Qd{} : turn[static_cast<size_t>(node.parent)];
      turn[i] = posed ? unit(multiply(above, usualFormOf(pose->second.kf_rotationJointQuaternion)))
                      : above;
      blend[i] = posed ? unit(multiply(turn[i],
                                       usualFormOf(pose->second.kf_rotationJointQuaternionIKtoFK)))
                       : turn[i];
      local = unit(multiply(conjugated(blend[static_cast<size_t>(node.parent)]), blend[i]));
    }
    sample.rotations.push_back({local.x, local.y, local.z, local.w});
  }
  if (!nodes.empty()) {
    const auto base = poses.find(nodes[0].joint->jointName);
    sample.baseTranslation =
        base == poses.end() ? nodes[0].restTranslation : toVec3d(base->second.kf_positionAnime);
  }
  return sample;
}

// A node's transform as stored, in double: rotation matrix (row-major) and translation.
struct Affine {
  std::array<double, 9> r{1, 0, 0, 0, 1, 0, 0, 0, 1};
  Vec3d t{};
  Vec3d apply(const Vec3d& v) const {
    return {r[0] * v[0] + r[1] * v[1] + r[2] * v[2] + t[0],
            r[3] * v[0] + r[4] * v[1] + r[5] * v[2] + t[1],
            r[6] * v[0] + r[7] * v[1] + r[8] * v[2] + t[2]};
  }
};

double f32(double v) { return static_cast<float>(v); }

Affine localTransform(const Quatd& q, const Vec3d& t) {
  const double x = f32(q[0]), y = f32(q[1]), z = f32(q[2]), w = f32(q[3]);
  Affine a;
  a.r = {1 - 2 * (y * y + z * z), 2 * (x * y - z * w),     2 * (x * z + y * w),
         2 * (x * y + z * w),     1 - 2 * (x * x + z * z), 2 * (y * z - x * w),
         2 * (x * z - y * w),     2 * (y * z + x * w),     1 - 2 * (x * x + y * y)};
  a.t = {f32(t[0]), f32(t[1]), f32(t[2])};
  return a;
}

Affine compose(const Affine& a, const Affine& b) {
  Affine c;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      c.r[3 * i + j] = a.r[3 * i] * b.r[j] + a.r[3 * i + 1] * b.r[3 + j] + a.r[3 * i + 2] * b.r[6 + j];
    }
  }
  Affine rotationOnly = a;
  rotationOnly.t = {};
  const Vec3d bt = rotationOnly.apply(b.t);
  c.t = {bt[0] + a.t[0], bt[1] + a.t[1], bt[2] + a.t[2]};
  return c;
}

}  // namespace

std::vector<int32_t> rigSampleTimes(const KeyframeStore& store, int fps) {
  std::vector<int32_t> times;
  if (store.byTime.empty()) return times;
  const int64_t first = store.byTime.begin()->first;
  const int64_t last = store.byTime.rbegin()->first;
  const double step = 1000.0 / std::max(fps, 1);
  for (int64_t k = 0;; ++k) {
    const int64_t t = first + std::llround(static_cast<double>(k) * step);
    if (t >= last) break;
    times.push_back(static_cast<int32_t>(t));
  }
  for (const auto& entry : store.byTime) times.push_back(entry.first);
  std::sort(times.begin(), times.end());
  times.erase(std::unique(times.begin(), times.end()), times.end());
  return times;
}

ExportRig buildExportRig(SceneDocument& doc, int fps) {
  ExportRig rig;
  std::map<const Joint*, int> nodeOf;
  rig.nodes = rigNodes(doc.skeleton, nodeOf);
  if (doc.mesh && doc.skinBuffers) {
    for (int p = 0; p < doc.mesh->partCount(); ++p) {
      const MeshPart& rest = doc.mesh->parts[static_cast<size_t>(p)];
      std::vector<CornerSkin> corners(static_cast<size_t>(rest.vertexCount));
      if (p < static_cast<int>(doc.skinBuffers->parts.size())) {
        SkinPart& part = doc.skinBuffers->parts[static_cast<size_t>(p)];
        updateSkinBinding(part, rest, doc.skeleton);
        size_t nextWeight = 0;
        for (size_t c = 0; c < corners.size(); ++c) {
          corners[c] = cornerSkin(part.binding, c, nextWeight, nodeOf);
        }
      } else {
        for (CornerSkin& corner : corners) corner = {{{0, 1.0f}}, false};
      }
      rig.parts.push_back(std::move(corners));
    }
  }
  PlaybackStateKeeper keeper(*doc.keyFrames);
  std::vector<Qd> previous;
  for (int32_t t : rigSampleTimes(*doc.keyFrames, fps)) {
    if (!poseAtTime(doc, t)) break;
    RigSample sample = sampleAt(doc, rig.nodes, t);
    // Neighbouring samples on the same side, so interpolating them takes the short way.
    if (!rig.samples.empty()) {
      const auto& before = rig.samples.back().rotations;
      for (size_t i = 0; i < sample.rotations.size(); ++i) {
        Quatd& q = sample.rotations[i];
        const double dot = q[0] * before[i][0] + q[1] * before[i][1] + q[2] * before[i][2] +
                           q[3] * before[i][3];
        if (dot < 0) q = {-q[0], -q[1], -q[2], -q[3]};
      }
    }
    rig.samples.push_back(std::move(sample));
  }
  return rig;
}

RigFidelity measureRigFidelity(SceneDocument& doc, const ExportRig& rig) {
  RigFidelity result;
  if (!doc.mesh || !doc.skinBuffers) return result;
  double low = 0, high = 0;
  bool any = false;
  for (const MeshPart& part : doc.mesh->parts) {
    for (const Vector3& p : part.positions) {
      low = any ? std::min(low, static_cast<double>(p.y)) : p.y;
      high = any ? std::max(high, static_cast<double>(p.y)) : p.y;
      any = true;
    }
  }
  result.modelHeight = high - low;
  for (const auto& corners : rig.parts) {
    for (const CornerSkin& corner : corners) {
      ++result.cornerCount;
      if (!corner.exact) ++result.inexactCorners;
    }
  }
  const double scale = result.modelHeight > 0 ? result.modelHeight : 1.0;
  PlaybackStateKeeper keeper(*doc.keyFrames);
  std::vector<Affine> world(rig.nodes.size()), skinning(rig.nodes.size());
  for (const RigSample& sample : rig.samples) {
    if (!poseAtTime(doc, sample.timeMs)) break;
    for (size_t i = 0; i < rig.nodes.size(); ++i) {
      const RigNode& node = rig.nodes[i];
      const Vec3d& t = i == 0 ? sample.baseTranslation : node.restTranslation;
      const Affine local = localTransform(sample.rotations[i], t);
      world[i] = node.parent < 0 ? local : compose(world[static_cast<size_t>(node.parent)], local);
      Affine inverseBind;
      inverseBind.t = {-f32(node.restWorld[0]), -f32(node.restWorld[1]), -f32(node.restWorld[2])};
      skinning[i] = compose(world[i], inverseBind);
    }
    for (size_t p = 0; p < rig.parts.size() && p < doc.skinBuffers->parts.size(); ++p) {
      const MeshPart& rest = doc.mesh->parts[p];
      deformPartForPlayback(doc, static_cast<int>(p), rest.vertexCount);
      const std::vector<Vector3>& deformed = doc.skinBuffers->parts[p].skinPositions;
      for (size_t c = 0; c < rig.parts[p].size() && c < deformed.size(); ++c) {
        Vec3d blended{};
        for (const auto& [node, weight] : rig.parts[p][c].influences) {
          const Vec3d moved = skinning[node].apply(toVec3d(rest.positions[c]));
          for (int k = 0; k < 3; ++k) blended[k] += weight * moved[k];
        }
        const double dx = blended[0] - deformed[c].x, dy = blended[1] - deformed[c].y,
                     dz = blended[2] - deformed[c].z;
        result.largestDifference =
            std::max(result.largestDifference, std::sqrt(dx * dx + dy * dy + dz * dz) / scale);
      }
    }
  }
  return result;
}

}  // namespace lw
