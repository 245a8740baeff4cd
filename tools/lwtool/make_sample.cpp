// lwtool make-sample CHARACTER.obj OUT.ojp: the sample project, made with the
// program's own operations so that it stays valid as they change: a skeleton of
// 16 joints with mirrored arms and legs placed in the T-posed character, every
// corner weighted to the bone it lies nearest to, and a waving animation of five
// keyframes, one segment of which eases with a Hermite curve.
#include <cfloat>

#include "anim/interpolation.h"
#include "anim/keyframe_commands.h"
#include "io/model_messages.h"
#include "io/model_load.h"
#include "io/project_writer.h"
#include "skeleton/fixing.h"
#include "skeleton/fk.h"
#include "skeleton/placement.h"
#include "skin/deform.h"
#include "tools/lwtool/commands.h"

namespace lw::tool {

namespace {

constexpr const char* kMakeSampleUsage = "usage: lwtool make-sample CHARACTER.obj OUT.ojp\n";

// Distance from p to the segment a-b, squared.
float segmentDistance2(Vector3 p, Vector3 a, Vector3 b) {
  const Vector3 ab = b - a, ap = p - a;
  const float length2 = ab.x * ab.x + ab.y * ab.y + ab.z * ab.z;
  float t = length2 > 0 ? (ap.x * ab.x + ap.y * ab.y + ap.z * ab.z) / length2 : 0;
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  const Vector3 d = ap - Vector3{ab.x * t, ab.y * t, ab.z * t};
  return d.x * d.x + d.y * d.y + d.z * d.z;
}

// Every joint lies on the centre line of the body part it ends: Joint0 in the
// pelvis; spine, chest and the head (in the upper half of the head) above it on
// the torso's axis; the shoulders where the arms leave the torso, placed one by
// one (the chest has no mirror partner), the elbows mirrored from the left arm
// and the wrists placed one by one (on the arm's straight centre line the left
// shoulder would share a wrist's mirror coordinates); hips mirrored from the
// pelvis, knees and ankles from the left leg, along the legs' axes.
bool placeSkeleton(SceneDocument& doc, ShellUi& ui) {
  auto child = [&](const std::string& parent, Vector3 p, int plane) {
    return addChildJoint(doc, parent, p, plane, ui);
  };
  constexpr float kArmY = 1.525f;
  Joint* pelvis = placeBaseJoint(doc, {0, 0.95f, 0}, ui);
  Joint* spine = child(pelvis->jointName, {0, 1.2f, 0}, kNoMirror);
  Joint* chest = child(spine->jointName, {0, 1.45f, 0}, kNoMirror);
  child(chest->jointName, {0, 1.8f, 0}, kNoMirror);
  Joint* shoulder = child(chest->jointName, {0.165f, kArmY, 0}, kNoMirror);
  child(chest->jointName, {-0.165f, kArmY, 0}, kNoMirror);
  Joint* elbow = child(shoulder->jointName, {0.47f, kArmY, 0}, kMirrorYZ);
  child(elbow->jointName, {0.785f, kArmY, 0}, kNoMirror);
  if (Joint* rightElbow = findJoint(doc.skeleton, "Joint0_0_0_2_0")) {
    child(rightElbow->jointName, {-0.785f, kArmY, 0}, kNoMirror);
  }
  Joint* hip = child(pelvis->jointName, {0.085f, 0.985f, 0}, kMirrorYZ);
  Joint* knee = child(hip->jointName, {0.09f, 0.535f, 0}, kMirrorYZ);
  child(knee->jointName, {0.095f, 0.085f, 0}, kMirrorYZ);
  return fixJointPositionsCommand(doc, ui) == kFixOk;
}

// Every corner gets one weight, 1.0, for the joint whose bone (from its
// parent to it) passes nearest.
void weightCorners(SceneDocument& doc) {
  for (size_t p = 0; p < doc.mesh->parts.size(); ++p) {
    const MeshPart& rest = doc.mesh->parts[p];
    SkinPart& skin = doc.skinBuffers->parts[p];
    for (size_t c = 0; c < rest.positions.size(); ++c) {
      const Joint* best = nullptr;
      float bestDistance = FLT_MAX;
      for (const auto& [name, joint] : doc.skeleton.joints) {
        if (joint->parent == nullptr) continue;
        float d = segmentDistance2(rest.positions[c], joint->parent->jointWorldPosition,
                                   joint->jointWorldPosition);
        if (d < bestDistance) {
          bestDistance = d;
          best = joint;
        }
      }
      skin.skinWeights[c].clear();
      if (best) skin.skinWeights[c].push_back({best->jointName, 1.0f});
    }
  }
}

struct JointTurn {
  const char* name;
  Vector3 axis;
  float degrees;
};

// Poses the skeleton from rest by FK turns and stores it as a keyframe.
void keyframe(SceneDocument& doc, ShellUi& ui, int32_t timeMs, std::initializer_list<JointTurn> turns) {
  resetAllRotations(doc.skeleton, ui);
  evaluatePose(doc.skeleton);
  for (const JointTurn& t : turns) {
    auto joint = doc.skeleton.joints.find(t.name);
    if (joint == doc.skeleton.joints.end()) continue;
    joint->second->axisVector = t.axis;
    joint->second->axisAngle = t.degrees;
  }
  evaluatePose(doc.skeleton);
  createKeyFrameCommand(doc, ui, timeMs);
}

}  // namespace

int runMakeSample(const Args& args, std::string& out, std::string& err) {
  if (args.size() != 2) {
    err = kMakeSampleUsage;
    return 2;
  }
  NullShellUi ui;
  SceneDocument doc;
  if (outputIsAnInput(args[1], {args[0]}, err)) return 1;
  LoadResult load = openModelFile(doc, ui, args[0], fileTitleOf(args[0]));
  if (load.status != LoadStatus::Loaded) {
    err = fileRefusalLine(load.title, load.message, args[0]);
    return 1;
  }
  if (!placeSkeleton(doc, ui) || doc.skeleton.size() != 16 ||
      !doc.skeleton.joints.count("Joint0_0_0_1_0_0") || !doc.skeleton.joints.count("Joint0_0_0_2_0")) {
    err = "lwtool make-sample: the skeleton could not be built\n";
    return 1;
  }
  evaluatePose(doc.skeleton);
  weightCorners(doc);

  // Joint0_0_0_1 is the left shoulder (+x), Joint0_0_0_1_0 its elbow,
  // Joint0_0_0_1_0_0 its wrist; Joint0_0_0_2_0 is the right elbow.
  const Vector3 forward{0, 0, 1};
  keyframe(doc, ui, 0, {});
  // The left upper arm rises 60 degrees, the forearm waves between upright and
  // outward; the right arm drops a little and the spine leans in the middle.
  keyframe(doc, ui, 600, {{"Joint0_0_0_1_0", forward, 60}, {"Joint0_0_0_1_0_0", forward, 30},
                          {"Joint0_0_0_2_0", forward, 20}});
  keyframe(doc, ui, 1000, {{"Joint0_0_0_1_0", forward, 60}, {"Joint0_0_0_1_0_0", forward, 60},
                           {"Joint0_0_0_2_0", forward, 20}, {"Joint0_0", {1, 0, 0}, 5}});
  keyframe(doc, ui, 1400, {{"Joint0_0_0_1_0", forward, 60}, {"Joint0_0_0_1_0_0", forward, 0},
                           {"Joint0_0_0_2_0", forward, 20}});
  keyframe(doc, ui, 2000, {});
  // The wrist eases into and out of its first wave.
  const std::string wrist = std::to_string(doc.skeleton.joints.at("Joint0_0_0_1_0_0")->jointID);
  applyInterpolationChoice(*doc.keyFrames, doc.skeleton, {"600", wrist, true, "0", "0"}, ui);

  // Saved as the save command saves: FK entered, the last keyframe shown and
  // drawn with skinning, so the file opens to the pose it holds.
  enterFkMode(doc, ui);
  showNextKeyFrame(doc);
  doc.editedJointName = "Joint0";
  for (int p = 0; p < doc.mesh->partCount(); ++p) {
    deformPart(doc, p, doc.mesh->parts[static_cast<size_t>(p)].vertexCount);
  }
  doc.editedJointName.clear();
  if (writeProject(doc, args[1]) != 0) {
    err = "lwtool make-sample: cannot write " + utf8FromCp932(args[1]) + "\n";
    return 1;
  }
  out = "wrote " + utf8FromCp932(args[1]) + ": " + std::to_string(doc.skeleton.size()) + " joints, " +
        std::to_string(doc.keyFrames->byNumber.size()) + " keyframes\n";
  return 0;
}

}  // namespace lw::tool
