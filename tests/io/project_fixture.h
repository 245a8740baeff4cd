// A small hand-built project for the project file tests, and a model loader that
// stands in for the OBJ import pipeline.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/document.h"
#include "io/project_reader.h"

namespace lw::test {

// Reads a file in text mode, as the platform's text files read.
inline std::string readFileText(const std::string& path) {
  std::string text;
  if (std::FILE* f = std::fopen(path.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
  }
  return text;
}

// Writes the bytes as given (no line-end conversion on any platform).
inline void writeFileText(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

inline std::unique_ptr<Mesh> meshWithParts(const std::vector<int>& corners) {
  auto mesh = std::make_unique<Mesh>();
  for (int n : corners) {
    MeshPart part;
    part.positions.assign(n, Vector3{});
    part.normals.assign(n, Vector3{});
    part.texCoords.assign(n, TexCoord{});
    part.vertexCount = n;
    mesh->parts.push_back(std::move(part));
  }
  return mesh;
}

// Loads "name.obj" as a mesh with the corner counts registered for its file name
// (the folder is ignored); names listed in objFailures or tloFailures fail, names
// in withoutTexture load with a warning naming them.
struct FakeModelFiles {
  std::map<std::string, std::vector<int>> parts;
  std::vector<std::string> objFailures;
  std::vector<std::string> tloFailures;
  std::vector<std::string> withoutTexture;
  std::vector<std::string> requested;

  ProjectModelLoader loader() {
    return [this](const std::string& path, std::unique_ptr<Mesh>& mesh, std::string& errorText) {
      std::string name = path.substr(path.find_last_of("/\\") + 1);
      requested.push_back(path);
      for (const auto& n : objFailures) {
        if (n == name) {
          errorText = path + "を開くことができません";
          return ModelLoadResult::ObjFailed;
        }
      }
      for (const auto& n : tloFailures) {
        if (n == name) return ModelLoadResult::TloFailed;
      }
      for (const auto& n : withoutTexture) {
        if (n == name) errorText = name + " texture";
      }
      auto it = parts.find(name);
      mesh = meshWithParts(it == parts.end() ? std::vector<int>{} : it->second);
      return ModelLoadResult::Loaded;
    };
  }
};

inline Joint& addJoint(SceneDocument& doc, int id, const std::string& name, Joint* parent) {
  auto joint = std::make_unique<Joint>();
  Joint& j = *joint;
  j.jointID = id;
  j.jointName = name;
  j.TreeName = name;
  j.validJoint = 1;
  j.leafFlag = 1;
  j.parent = parent;
  if (parent) {
    parent->children.push_back(&j);
    parent->leafFlag = 0;
  }
  doc.skeleton.joints[name] = &j;
  doc.skeleton.jointOrder.push_back(std::move(joint));
  return j;
}

// The project of data/small.ojp: two parts (2 corners and none), one
// decoration, two joints, one keyframe with a Hermite setting, a saved root bone.
inline void buildSmallProject(SceneDocument& doc) {
  doc.modelFileName = "body.obj";
  auto hat = meshWithParts({3});
  hat->fileName = "hat 1.obj";
  doc.decorations[0] = std::move(hat);
  doc.mesh = meshWithParts({2, 0});
  doc.skinBuffers = makeSkinBuffers(*doc.mesh);
  SkinPart& part = doc.skinBuffers->parts[0];
  part.skinNormals[0] = {0, 0, 1};
  part.skinPositions[0] = {0.5f, -1.25f, 1e-05f};
  part.skinWeights[0].push_back({"Joint0", 1.0f});
  part.skinNormals[1] = {0, 1, 0};
  part.skinPositions[1] = {1500000.0f, 0.333333343f, 2.0f};
  part.skinWeights[1].push_back({"Joint0", 0.25f});
  part.skinWeights[1].push_back({"Joint0_0", 0.75f});

  Joint& root = addJoint(doc, 1, "Joint0", nullptr);
  root.position = {0, 1, 0};
  root.xVector = {0, 1, 0};
  root.yVector = {-1, 0, 0};
  root.parent_xVector = {1, 0, 0};
  root.parent_yVector = {0, 1, 0};
  root.initPoseBoneVector = {0, 1, 0};
  root.axisVector = {-1, 0, 0};
  root.jointWorldPosition = {0, 1, 0};
  root.jointDrawPositionAfterPosEnter = {0, 1, 0};

  Joint& arm = addJoint(doc, 2, "Joint0_0", &root);
  arm.TreeName = "left_arm";
  arm.position = {0, 1, 0};
  arm.xVector = {1, 0.5f, 0};
  arm.initPoseBoneVector = {1, 0.5f, 0};
  arm.drawBoneVector = {0.5f, 1, 0};
  arm.axisVector = {0, 0, 1};
  arm.axisAngle = 30;
  arm.rotationJointQuaternion = {0.965926f, 0, 0, -0.258819f};
  arm.ik_Flag = 1;
  arm.ik_stopFlg = 1;
  arm.ik_axisAngle = 12.5f;

  doc.do_skinning = 1;
  doc.decitionJointPosition = 1;

  KeyFrame& kf = createKeyFrame(*doc.keyFrames, doc.skeleton, 250);
  KeyJointPose& pose = kf.poses["Joint0_0"];
  pose.kf_hokanMode = 1;
  pose.kf_speed[0] = 1.5;
  pose.kf_speed[1] = -2;
  doc.backupBasicBoneVec = {0, 1, 0};
}

}  // namespace lw::test
