// The whole document as text, one field per line (floating-point values in
// hexadecimal, links as names), so two documents compare with EXPECT_EQ and a
// difference shows as the lines that differ. Every field is written; the field
// counts below stop the build when a record gains a field this does not know.
// The skin binding and the deformation's working space are derived from the
// written fields and left out; tree items are written as present or not.
#pragma once

#include <cstring>
#include <sstream>
#include <string>

#include "core/document.h"
#include "edit/field_count.h"

namespace lw::test {

static_assert(fieldCount<SceneDocument>() == 65, "write the new document field below");
static_assert(fieldCount<Joint>() == 43, "write the new joint field below");
static_assert(fieldCount<KeyframeStore>() == 17, "write the new store field below");
static_assert(fieldCount<KeyFrame>() == 3, "write the new keyframe field below");
static_assert(fieldCount<KeyJointPose>() == 19, "write the new pose field below");
static_assert(fieldCount<MeshPart>() == 5 && fieldCount<Mesh>() == 5, "write the new mesh field");
static_assert(fieldCount<Material>() == 17, "write the new material field below");
static_assert(fieldCount<SkinPart>() == 5, "write the new skin field below");

class DocumentText {
 public:
  std::string str() const { return out_.str(); }

  DocumentText& operator()(const char* name) {
    out_ << '\n' << name << ':';
    return *this;
  }
  DocumentText& operator<<(int64_t v) {
    out_ << ' ' << v;
    return *this;
  }
  DocumentText& operator<<(float v) {
    out_ << ' ' << std::hexfloat << v << std::defaultfloat;
    return *this;
  }
  DocumentText& operator<<(double v) {
    out_ << ' ' << std::hexfloat << v << std::defaultfloat;
    return *this;
  }
  DocumentText& operator<<(const std::string& v) {
    out_ << " \"" << v << '"';
    return *this;
  }
  DocumentText& operator<<(const Vector3& v) { return *this << v.x << v.y << v.z; }
  DocumentText& operator<<(const Quaternion& q) {
    float f[4];
    static_assert(sizeof q == sizeof f);
    std::memcpy(f, &q, sizeof f);
    return *this << f[0] << f[1] << f[2] << f[3];
  }
  DocumentText& operator<<(const Colour& c) { return *this << c.r << c.g << c.b << c.a; }

 private:
  std::ostringstream out_;
};

inline void writeJoint(DocumentText& t, const Joint& j) {
  t("joint") << j.jointName << (j.parent ? j.parent->jointName : std::string("-"));
  t("  children");
  for (const Joint* c : j.children) t << c->jointName;
  t("  ids") << int64_t{j.leafFlag} << int64_t{j.jointID} << int64_t{j.validJoint}
             << int64_t{j.ik_Flag} << int64_t{j.ik_stopFlg} << int64_t{j.treeItem != nullptr}
             << j.TreeName;
  t("  rest") << j.position << j.xVector << j.yVector << j.parent_xVector << j.parent_yVector
              << j.pTOc_Quaternion;
  t("  fk") << j.rotationJointQuaternion << j.drawRotationJointQuaternion << j.initPoseBoneVector
            << j.drawBoneVector << j.axisVector << j.drawAxisVector << j.axisAngle
            << j.jointWorldPosition << j.jointDrawPositionAfterPosEnter
            << j.convertWorldToJointCoodQuaternion;
  t("  ik") << j.ik_rotationJointQuaternion << j.ik_axisVector << j.ikWorkPosition
            << j.ik_jointDrawPosition << j.ik_axisAngle << j.convertIKtoFK_boneVector;
  t("  ikResult") << j.ikResultPosition << j.ikResultXVector << j.ikResultYVector
                  << j.ikResultParentXVector << j.ikResultParentYVector
                  << j.ikResultWorldToJointQuaternion << j.ikResultWorldPosition
                  << j.ikResultAxisVector << j.ikResultPToCQuaternion
                  << j.convertIKtoFK_rotationJointQuaternion << j.accumulatedRotation;
}

inline void writePoses(DocumentText& t, const PoseMap& poses) {
  for (const auto& [name, p] : poses) {
    t("pose") << name << (p.parentPose ? p.parentPose->kf_jointName : std::string("-"))
              << int64_t{p.kf_jointID} << p.kf_jointName << int64_t{p.kf_hokanMode};
    t("  values") << p.kf_boneVector << p.kf_drawBoneVector << p.kf_position << p.kf_axisVector
                  << p.kf_drawAxisVector << p.kf_axisAngle << p.kf_endFrameAngle << p.kf_speed[0]
                  << p.kf_speed[1] << p.kf_positionAnime;
    t("  turns") << p.kf_rotationJointQuaternion << p.kf_rotationJointQuaternionIKtoFK
                 << p.kf_drawRotationJointQuaternionRot << p.kf_drawRotationJointQuaternion
                 << p.kf_rotationJointQuaternionAnime;
  }
}

inline void writeFrame(DocumentText& t, const char* name, const KeyFramePtr& frame) {
  if (!frame) {
    t(name) << std::string("none");
    return;
  }
  t(name) << int64_t{frame->number} << int64_t{frame->time};
  writePoses(t, frame->poses);
}

inline void writeStore(DocumentText& t, const KeyframeStore& s) {
  t("store") << int64_t{s.keyframeBoneView} << int64_t{s.keyframeShown} << int64_t{s.currentNumber}
             << int64_t{s.currentTime} << int64_t{s.deletedTime} << int64_t{s.playTime}
             << int64_t{s.rangeStart} << int64_t{s.rangeEnd} << int64_t{s.rangeDuration}
             << int64_t{s.segmentStarted} << static_cast<int64_t>(s.nextSegment);
  for (const Segment& g : s.segments) {
    t("segment") << int64_t{g.startNumber} << int64_t{g.endNumber} << int64_t{g.duration};
  }
  t("current segment") << int64_t{s.segment.startNumber} << int64_t{s.segment.endNumber}
                       << int64_t{s.segment.duration};
  // A keyframe held by both maps is written twice; whether it is one record is
  // written as its number in the other map.
  for (const auto& [number, frame] : s.byNumber) {
    t("byNumber") << int64_t{number};
    writeFrame(t, "frame", frame);
  }
  for (const auto& [time, frame] : s.byTime) {
    const auto other = frame ? s.byNumber.find(frame->number) : s.byNumber.end();
    t("byTime") << int64_t{time} << int64_t{other != s.byNumber.end() && other->second == frame};
    writeFrame(t, "frame", frame);
  }
  writeFrame(t, "lastCreated", s.lastCreated);
  writePoses(t, s.animationPoses);
}

inline void writeMesh(DocumentText& t, const char* name, const Mesh* mesh) {
  if (mesh == nullptr) {
    t(name) << std::string("none");
    return;
  }
  t(name) << int64_t{mesh->faceCount} << mesh->materialLibrary << mesh->fileName;
  for (const Material& m : mesh->materials) {
    t("material") << m.name << m.textureFile << m.texturePath << m.shininess
                  << int64_t{m.texture != nullptr};
    for (int i = 0; i < 4; ++i) t << m.ambient[i] << m.diffuse[i] << m.specular[i];
  }
  for (const MeshPart& part : mesh->parts) {
    t("part") << int64_t{part.materialIndex} << int64_t{part.vertexCount};
    for (const Vector3& p : part.positions) t << p;
    for (const Vector3& n : part.normals) t << n;
    for (const TexCoord& uv : part.texCoords) t << uv.u << uv.v;
  }
}

// The text of every field of `doc`.
inline std::string documentText(const SceneDocument& doc) {
  DocumentText t;
  writeMesh(t, "mesh", doc.mesh.get());
  for (const auto& [number, decoration] : doc.decorations) {
    t("decoration") << int64_t{number};
    writeMesh(t, "decoration mesh", decoration.get());
  }
  if (doc.skinBuffers) {
    for (const SkinPart& part : doc.skinBuffers->parts) {
      t("skin part");
      for (const Vector3& p : part.skinPositions) t << p;
      for (const Vector3& n : part.skinNormals) t << n;
      for (const WeightList& list : part.skinWeights) {
        t("weights");
        for (const JointWeight& w : list) t << w.jointName << w.weight;
      }
    }
  }
  for (const auto& joint : doc.skeleton.jointOrder) writeJoint(t, *joint);
  t("name map");
  for (const auto& [name, joint] : doc.skeleton.joints) t << name << joint->jointName;
  if (doc.keyFrames) writeStore(t, *doc.keyFrames);
  t("files") << doc.fileTitle << doc.filePath << doc.modelFileName << doc.materialLibraryName
             << doc.saveFilter << doc.ErrorText;
  t("flags") << int64_t{doc.decitionJointPosition} << int64_t{doc.do_skinning}
             << int64_t{doc.modelLoaded} << int64_t{doc.weightBoxShown}
             << int64_t{doc.pointPickView} << int64_t{doc.tempJointNumbers}
             << int64_t{doc.animationView} << int64_t{doc.playbackMenuLock}
             << int64_t{doc.treeAlwaysExpanded} << int64_t{doc.saveFramesAsBmp};
  t("edit") << int64_t{doc.editMode} << int64_t{doc.mirrorPlane} << int64_t{doc.selectedJoint}
            << int64_t{doc.rootMoveAxis} << int64_t{doc.axisPreset} << int64_t{doc.axisReversed}
            << doc.axisEditVector << doc.editedJointName << doc.parentJointName << doc.pickPoint[0]
            << doc.pickPoint[1] << doc.pickPoint[2] << int64_t{doc.treeSelectedJoint}
            << doc.backupBasicBoneVec << doc.rootMoveOffset;
  t("box");
  for (const auto& corner : doc.weightBox.corners) t << corner[0] << corner[1] << corner[2];
  t("vertex selection");
  for (const CornerRef& c : doc.vertexSelection) t << int64_t{c.part} << int64_t{c.corner};
  t("drag") << int64_t{doc.dragStarted} << int64_t{doc.dragCounter} << doc.dragVector;
  t("display") << int64_t{doc.drawMode} << int64_t{doc.showJointNumbers}
               << int64_t{doc.showBoneAxes} << int64_t{doc.showFkAxes} << int64_t{doc.showWorldAxes}
               << int64_t{doc.showDecorations} << int64_t{doc.antiAliasing}
               << int64_t{doc.shadowMap} << int64_t{doc.shaderState.toonLoaded}
               << int64_t{doc.shaderState.customChosen} << int64_t{doc.rightLightOn}
               << int64_t{doc.leftLightOn} << doc.lightColour[0] << doc.lightColour[1]
               << doc.backgroundColour << doc.shadowLightPosition;
  t("view") << doc.viewElevation << doc.viewAzimuth << doc.viewDirection << int64_t{doc.cameraDrag}
            << doc.cameraDistance << doc.cameraPanX << doc.cameraPanY << int64_t{doc.clientWidth}
            << int64_t{doc.clientHeight};
  return t.str();
}

}  // namespace lw::test
