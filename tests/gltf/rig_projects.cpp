// Writes small rigged projects (OBJ, MTL, texture and OJP) into a folder for the
// export checks, made with the program's own operations:
//  blend.ojp    every weighted corner on its dominant joint and that joint's
//               parent, summing to 1, the base moving, one joint with a
//               Japanese name: the skin reproduces it exactly;
//  reach.ojp    weights two levels up and sums other than 1: only approximately;
//  still.ojp    no keyframes at all.
// usage: rig_projects FOLDER
#include <cstdio>
#include <string>

#include "anim/interpolation.h"
#include "anim/keyframe_commands.h"
#include "core/document.h"
#include "io/model_load.h"
#include "io/project_writer.h"
#include "skeleton/fixing.h"
#include "skeleton/fk.h"
#include "skeleton/placement.h"

namespace {

using namespace lw;

// Two textured parts of thin triangles strung along x at heights 1.9 to 2.3,
// with a 2x1 texture whose pixels differ in every channel.
bool writeModel(const std::string& folder) {
  std::FILE* obj = std::fopen((folder + "/rig.obj").c_str(), "w");
  if (!obj) return false;
  std::fputs("mtllib rig.mtl\n", obj);
  const int kTriangles = 24;
  for (int i = 0; i < kTriangles; ++i) {
    const float x = -1.2f + 0.14f * static_cast<float>(i);
    std::fprintf(obj, "v %f %f %f\nv %f %f %f\nv %f %f %f\n", x, 1.9f, 0.25f, x + 0.1f, 2.0f,
                 0.35f, x + 0.05f, 2.3f, 0.3f);
  }
  std::fputs("vt 0.1 0.2\nvt 0.9 0.3\nvt 0.4 0.8\nvn 0.2 0.1 0.9\n", obj);
  for (int i = 0; i < kTriangles; ++i) {
    if (i == 0) std::fputs("usemtl painted\n", obj);
    if (i == kTriangles / 2) std::fputs("usemtl plain\n", obj);
    std::fprintf(obj, "f %d/1/1 %d/2/1 %d/3/1\n", 3 * i + 1, 3 * i + 2, 3 * i + 3);
  }
  std::fclose(obj);
  std::FILE* mtl = std::fopen((folder + "/rig.mtl").c_str(), "w");
  if (!mtl) return false;
  std::fputs("newmtl painted\nKd 0.9 0.6 0.3\nmap_Kd rig.bmp\nnewmtl plain\nKd 0.2 0.5 0.7\n", mtl);
  std::fclose(mtl);
  // 2x1 pixels, 24 bits: header, then one row (blue-green-red) padded to 8 bytes.
  const unsigned char bmp[62] = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                                 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 8, 0, 0, 0,
                                 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 10, 20, 30, 200, 150, 100, 0, 0};
  std::FILE* image = std::fopen((folder + "/rig.bmp").c_str(), "wb");
  if (!image) return false;
  std::fwrite(bmp, 1, sizeof bmp, image);
  std::fclose(image);
  return true;
}

// Base at the left; a chain to the right with a side branch.
bool placeJoints(SceneDocument& doc, ShellUi& ui) {
  Joint* base = placeBaseJoint(doc, {-1.3f, 2.1f, 0.3f}, ui);
  Joint* a = addChildJoint(doc, base->jointName, {-0.6f, 2.05f, 0.32f}, kNoMirror, ui);
  Joint* b = addChildJoint(doc, a->jointName, {0.1f, 2.15f, 0.28f}, kNoMirror, ui);
  Joint* c = addChildJoint(doc, b->jointName, {0.8f, 2.1f, 0.3f}, kNoMirror, ui);
  addChildJoint(doc, c->jointName, {1.6f, 2.2f, 0.31f}, kNoMirror, ui);
  addChildJoint(doc, b->jointName, {0.4f, 2.6f, 0.2f}, kNoMirror, ui);
  if (fixJointPositionsCommand(doc, ui) != kFixOk) return false;
  c->TreeName = "左手首";  // a bone tree name that is not ASCII
  return true;
}

// Joint of the bone a corner lies along (by x), and that joint's parent.
void weight(SceneDocument& doc, bool reach) {
  const char* chain[] = {"Joint0_0", "Joint0_0_0", "Joint0_0_0_0", "Joint0_0_0_0_0"};
  for (size_t p = 0; p < doc.mesh->parts.size(); ++p) {
    const MeshPart& rest = doc.mesh->parts[p];
    for (size_t c = 0; c < rest.positions.size(); ++c) {
      const float x = rest.positions[c].x;
      const int bone = x < -0.6f ? 0 : (x < 0.1f ? 1 : (x < 0.8f ? 2 : 3));
      WeightList list;
      if (c % 7 == 3) {
        // no weight: moves with the base joint
      } else if (bone == 0) {
        list.push_back({chain[0], 1.0f});
      } else if (reach && bone >= 2) {
        list.push_back({chain[bone], 0.5f});
        list.push_back({chain[bone - 2], c % 2 == 0 ? 0.5f : 0.3f});
      } else {
        const float near = c % 2 == 0 ? 0.75f : 0.375f;
        list.push_back({chain[bone - 1], 1.0f - near});
        list.push_back({chain[bone], near});
      }
      doc.skinBuffers->parts[p].skinWeights[c] = list;
    }
  }
}

void keyframe(SceneDocument& doc, ShellUi& ui, int32_t timeMs, Vector3 baseShift,
              std::initializer_list<std::pair<const char*, float>> turns) {
  resetAllRotations(doc.skeleton, ui);
  const Vector3 axes[] = {{0, 0, 1}, {0.3f, 0.2f, 0.9f}, {1, 0.1f, 0.2f}};
  int n = 0;
  for (const auto& [name, degrees] : turns) {
    Joint* joint = doc.skeleton.joints.at(name);
    joint->axisVector = axes[n++ % 3];
    joint->axisAngle = degrees;
  }
  evaluatePose(doc.skeleton);
  Joint* base = doc.skeleton.joints.at("Joint0");
  const Vector3 rest = base->initPoseBoneVector;
  base->initPoseBoneVector = rest + baseShift;
  createKeyFrameCommand(doc, ui, timeMs);
  base->initPoseBoneVector = rest;
}

bool writeRig(const std::string& folder, const char* name, bool reach, bool animated) {
  NullShellUi ui;
  SceneDocument doc;
  const std::string obj = folder + "/rig.obj";
  if (openModelFile(doc, ui, obj, "rig.obj").status != LoadStatus::Loaded) return false;
  if (!placeJoints(doc, ui)) return false;
  evaluatePose(doc.skeleton);
  weight(doc, reach);
  if (animated) {
    keyframe(doc, ui, 0, {}, {});
    keyframe(doc, ui, 400, {0.1f, -0.05f, 0.2f},
             {{"Joint0_0", 20}, {"Joint0_0_0", 35}, {"Joint0_0_0_0", 50}, {"Joint0_0_0_1", 15}});
    keyframe(doc, ui, 1000, {-0.2f, 0.1f, 0.05f},
             {{"Joint0_0", 340}, {"Joint0_0_0", 80}, {"Joint0_0_0_0_0", 120}});
    keyframe(doc, ui, 1300, {}, {{"Joint0_0_0_0", 10}});
    const std::string joint = std::to_string(doc.skeleton.joints.at("Joint0_0_0")->jointID);
    applyInterpolationChoice(*doc.keyFrames, doc.skeleton, {"400", joint, true, "10", "-5"}, ui);
  }
  enterFkMode(doc, ui);
  return writeProject(doc, folder + "/" + name) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: rig_projects FOLDER\n", stderr);
    return 2;
  }
  const std::string folder = argv[1];
  if (!writeModel(folder) || !writeRig(folder, "blend.ojp", false, true) ||
      !writeRig(folder, "reach.ojp", true, true) || !writeRig(folder, "still.ojp", false, false)) {
    std::fprintf(stderr, "rig_projects: could not write the projects into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
