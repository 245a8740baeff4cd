#include "io/project_writer.h"

#include <algorithm>
#include <cstdio>

#include "core/replacing_file.h"
#include "io/project_text.h"

namespace lw {

namespace {

void keyLine(std::string& out, const char* key) {
  out += key;
  out.push_back('\n');
}

void textLine(std::string& out, const char* key, std::string_view text) {
  out += key;
  out += text;
  out.push_back('\n');
}

void intLine(std::string& out, const char* key, int64_t value) {
  out += key;
  appendInt(out, value);
  out.push_back('\n');
}

void numberLine(std::string& out, const char* key, double value) {
  out += key;
  appendNumber(out, value);
  out.push_back('\n');
}

// Vector and quaternion keys are written without their trailing space, which
// appendVector/appendQuaternion put before every number.
void vectorLine(std::string& out, const char* key, Vector3 v) {
  out += key;
  appendVector(out, v);
  out.push_back('\n');
}

void quaternionLine(std::string& out, const char* key, Quaternion q) {
  out += key;
  appendQuaternion(out, q);
  out.push_back('\n');
}

void writeSkin(std::string& out, const SkinBuffers& buffers) {
  for (const SkinPart& part : buffers.parts) {
    keyLine(out, "mtlstart");
    size_t corners = std::min({part.skinNormals.size(), part.skinPositions.size(),
                               part.skinWeights.size()});
    for (size_t j = 0; j < corners; ++j) {
      vectorLine(out, "nor", part.skinNormals[j]);
      vectorLine(out, "vec", part.skinPositions[j]);
      for (const JointWeight& w : part.skinWeights[j]) {
        textLine(out, "verJnm ", w.jointName);
        numberLine(out, "verInf ", w.weight);
      }
    }
    out.push_back('\n');
  }
}

void writeJoint(std::string& out, const Joint& j) {
  intLine(out, "jointID ", j.jointID);
  textLine(out, "jointName ", j.jointName);
  intLine(out, "validJoint ", j.validJoint);
  vectorLine(out, "position", j.position);
  vectorLine(out, "xVector", j.xVector);
  vectorLine(out, "yVector", j.yVector);
  vectorLine(out, "parent_xVector", j.parent_xVector);
  vectorLine(out, "parent_yVector", j.parent_yVector);
  quaternionLine(out, "pTOc_Quaternion", j.pTOc_Quaternion);
  quaternionLine(out, "rotationJointQuaternion", j.rotationJointQuaternion);
  quaternionLine(out, "drawRotationJointQuaternion", j.drawRotationJointQuaternion);
  vectorLine(out, "initPoseBoneVector", j.initPoseBoneVector);
  vectorLine(out, "drawBoneVector", j.drawBoneVector);
  vectorLine(out, "axisVector", j.axisVector);
  vectorLine(out, "drawAxisVector", j.drawAxisVector);
  numberLine(out, "axisAngle ", j.axisAngle);
  vectorLine(out, "jointWorldPosition", j.jointWorldPosition);
  vectorLine(out, "jointDrawPositionAfterPosEnter", j.jointDrawPositionAfterPosEnter);
  quaternionLine(out, "convertWorldToJointCoodQuaternion", j.convertWorldToJointCoodQuaternion);
  quaternionLine(out, "ik_rotationJointQuaternion", j.ik_rotationJointQuaternion);
  vectorLine(out, "ik_axisVector", j.ik_axisVector);
  vectorLine(out, "ik_jointDrawPosition", j.ik_jointDrawPosition);
  numberLine(out, "ik_axisAngle ", j.ik_axisAngle);
  intLine(out, "ik_Flag ", j.ik_Flag);
  intLine(out, "ik_stopFlg ", j.ik_stopFlg);
  vectorLine(out, "convertIKtoFK_boneVector", j.convertIKtoFK_boneVector);
  quaternionLine(out, "convertIKtoFK_rotationJointQuaternion",
                 j.convertIKtoFK_rotationJointQuaternion);
  textLine(out, "TreeName ", j.TreeName);
  out.push_back('\n');
}

// "[down]", each child's relation line (and, for a child with children of its
// own, its block), "[up]".
void writeRelationBlock(std::string& out, const Joint& j) {
  keyLine(out, "[down]");
  for (const Joint* child : j.children) {
    textLine(out, "relation ", child->jointName);
    if (child->leafFlag == 0) writeRelationBlock(out, *child);
  }
  keyLine(out, "[up]");
}

void writePose(std::string& out, const KeyJointPose& p) {
  intLine(out, "kf_jointID ", p.kf_jointID);
  vectorLine(out, "kf_boneVector", p.kf_boneVector);
  vectorLine(out, "kf_drawBoneVector", p.kf_drawBoneVector);
  vectorLine(out, "kf_position", p.kf_position);
  textLine(out, "kf_jointName ", p.kf_jointName);
  vectorLine(out, "kf_axisVector", p.kf_axisVector);
  vectorLine(out, "kf_drawAxisVector", p.kf_drawAxisVector);
  numberLine(out, "kf_axisAngle ", p.kf_axisAngle);
  quaternionLine(out, "kf_rotationJointQuaternion", p.kf_rotationJointQuaternion);
  quaternionLine(out, "kf_rotationJointQuaternionIKtoFK", p.kf_rotationJointQuaternionIKtoFK);
  quaternionLine(out, "kf_drawRotationJointQuaternion", p.kf_drawRotationJointQuaternion);
  quaternionLine(out, "kf_drawRotationJointQuaternionRot", p.kf_drawRotationJointQuaternionRot);
  quaternionLine(out, "kf_rotationJointQuaternionAnime", p.kf_rotationJointQuaternionAnime);
  numberLine(out, "kf_endFrameAngle ", p.kf_endFrameAngle);
  intLine(out, "kf_hokanMode ", p.kf_hokanMode);
  out += "kf_speed ";
  appendNumber(out, p.kf_speed[0]);
  out.push_back(' ');
  appendNumber(out, p.kf_speed[1]);
  out.push_back('\n');
  vectorLine(out, "kf_positionAnime", p.kf_positionAnime);
  out.push_back('\n');
}

size_t estimatedSize(const SceneDocument& doc) {
  size_t size = 4096;
  if (doc.skinBuffers) {
    for (const SkinPart& part : doc.skinBuffers->parts) size += part.skinPositions.size() * 80;
  }
  size += doc.skeleton.size() * 1600;
  for (const auto& [number, kf] : doc.keyFrames->byNumber) size += kf->poses.size() * 900;
  return size;
}

}  // namespace

std::string projectText(const SceneDocument& doc) {
  std::string out;
  out.reserve(estimatedSize(doc));
  keyLine(out, kProjectHeader);
  out.push_back('\n');
  keyLine(out, "[MODEL FILE DATA]");
  textLine(out, "MODEL_FILENAME ", doc.modelFileName);
  for (const auto& [key, decoration] : doc.decorations) {
    textLine(out, "SUB_MODEL_FILENAME ", decoration->fileName);
  }
  if (doc.skinBuffers) writeSkin(out, *doc.skinBuffers);

  keyLine(out, "[JOINTDATA]");
  for (const auto& joint : doc.skeleton.jointOrder) writeJoint(out, *joint);

  keyLine(out, "[JOINTRERATION]");
  if (!doc.skeleton.empty()) {
    const Joint& first = *doc.skeleton.jointOrder.front();
    textLine(out, "relation ", first.jointName);
    writeRelationBlock(out, first);
  }
  intLine(out, "do_skinning ", doc.do_skinning);
  intLine(out, "decitionJointPosition ", doc.decitionJointPosition);
  out.push_back('\n');

  const KeyframeStore& store = *doc.keyFrames;
  if (!store.byNumber.empty()) {
    keyLine(out, "[ANIMATIONDATA]");
    for (const auto& [number, kf] : store.byNumber) {
      keyLine(out, "keyframe");
      for (const auto& [name, pose] : kf->poses) writePose(out, pose);
      intLine(out, "frameNumber ", kf->number);
      intLine(out, "frameTime ", kf->time);
      out.push_back('\n');
    }
  }

  const Vector3& b = doc.backupBasicBoneVec;
  if (b.x != 999.0f && b.y != 999.0f && b.z != 999.0f) vectorLine(out, "backupBasicBoneVec", b);
  return out;
}

int writeProject(const SceneDocument& doc, const std::string& path) {
  return writeFileReplacing(path, projectText(doc), "w") ? 0 : kProjectNotWritten;
}

}  // namespace lw
