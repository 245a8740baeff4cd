#include "skeleton/fixing.h"

#include <cmath>

#include "core/command_ids.h"
#include "skeleton/fk.h"
#include "skeleton/ik.h"
#include "skeleton/placement.h"

namespace lw {

namespace {

// Menu items the fix greys and enables.
constexpr int kGreyAfterFix[] = {IDM_FIX_POSITIONS,  IDM_PLACE_CHILD,    IDM_PLACE_CHILD_XY,
                                 IDM_PLACE_CHILD_YZ, IDM_PLACE_CHILD_ZX, IDM_MOVE_CHILD,
                                 IDM_MIRROR_XY,      IDM_MIRROR_YZ,      IDM_MIRROR_ZX};
constexpr int kEnableAfterFix[] = {IDM_SHOW_JOINT_NUMBERS,
                                   IDM_SHOW_BONE_AXES,
                                   IDM_SHOW_FK_AXES,
                                   IDM_ROTATE_FK,
                                   IDM_RESET_ROTATIONS,
                                   IDM_PLACE_WEIGHT_BOX,
                                   IDM_WEIGHT_BY_VERTEX,
                                   IDM_SKINNING_ON,
                                   IDM_SKINNING_OFF,
                                   IDM_KEYFRAME_CREATE,
                                   IDM_EQUALISE_BONES,
                                   IDM_ROTATE_IK,
                                   IDM_STOP_IK,
                                   IDM_SHADOW_ON,
                                   IDM_SHADOW_OFF,
                                   IDM_SHADOW_LIGHT,
                                   IDM_MOVE_ROOT_X,
                                   IDM_MOVE_ROOT_Y,
                                   IDM_MOVE_ROOT_Z};

// Bone length: the squares and their sum rounded to float, then the root.
float boneLength(Vector3 v) {
  const float xx = static_cast<float>(double(v.x) * v.x);
  const float yy = static_cast<float>(double(v.y) * v.y);
  const float zz = static_cast<float>(double(v.z) * v.z);
  const float sum = static_cast<float>(double(xx) + yy + zz);
  return static_cast<float>(std::sqrt(double(sum)));
}

}  // namespace

bool computeJointFrame(const FrameInput& in, JointFrame& out) {
  if (in.isBase) {
    out.parentXVector = {1.0f, 0.0f, 0.0f};
    out.parentYVector = {0.0f, 1.0f, 0.0f};
    out.position = in.worldPosition;
    out.xVector = in.worldPosition;
  } else {
    out.position = in.parentBoneVector;
    out.xVector = in.worldPosition - in.parentWorldPosition;
    out.parentXVector = rotateVector(in.parentWorldToJoint, {1.0f, 0.0f, 0.0f});
    out.parentYVector = {-out.parentXVector.y, out.parentXVector.x, 0.0f};
  }
  out.yVector = {-out.xVector.y, out.xVector.x, 0.0f};
  out.axisVector = normalize(out.yVector);
  if (out.xVector == out.parentXVector) {
    out.pToCQuaternion = kIdentityQuaternion;
  } else {
    out.pToCQuaternion =
        frameAlignQuaternion(out.parentXVector, out.parentYVector, out.xVector, out.yVector);
    if (isNoAngle(out.pToCQuaternion)) return false;
  }
  out.worldToJointQuaternion = in.isBase
                                   ? out.pToCQuaternion
                                   : quaternionMultiply(in.parentWorldToJoint, out.pToCQuaternion);
  out.boneVector = rotateVector(out.worldToJointQuaternion, {boneLength(out.xVector), 0.0f, 0.0f});
  return true;
}

int fixJointPositions(JointSet& set) {
  for (auto& entry : set.joints) {
    Joint& j = *entry.second;
    FrameInput in;
    in.isBase = j.parent == nullptr;
    in.worldPosition = j.jointWorldPosition;
    if (!in.isBase) {
      in.parentWorldPosition = j.parent->jointWorldPosition;
      in.parentWorldToJoint = j.parent->convertWorldToJointCoodQuaternion;
      in.parentBoneVector = j.parent->initPoseBoneVector;
    }
    JointFrame f;
    const bool ok = computeJointFrame(in, f);
    j.position = f.position;
    j.xVector = f.xVector;
    j.yVector = f.yVector;
    j.parent_xVector = f.parentXVector;
    j.parent_yVector = f.parentYVector;
    j.axisVector = f.axisVector;
    j.pTOc_Quaternion = f.pToCQuaternion;
    if (!ok) return static_cast<int>(kNoAngle);
    j.convertWorldToJointCoodQuaternion = f.worldToJointQuaternion;
    j.initPoseBoneVector = f.boneVector;
  }
  return kFixOk;
}

int fixJointPositionsCommand(SceneDocument& doc, ShellUi& ui) {
  const int result = fixJointPositions(doc.skeleton);
  if (result != kFixOk) {
    doc.ErrorText = kFixZeroDivisionMessage;
    ui.showMessage(doc.ErrorText, kZeroDivisionTitle);
    doc.ErrorText.clear();
    return result;
  }
  doc.decitionJointPosition = 1;
  for (int id : kGreyAfterFix) ui.enableMenuItem(id, false);
  for (int id : kEnableAfterFix) ui.enableMenuItem(id, true);
  doc.saveFilter = fileFilter({"OBJファイル(*.OBJ)", "*.OBJ", "OJPファイル(*.OJP)", "*.OJP",
                               "BMPファイル(*.bmp)", "*.bmp", kGltfFilterLabel, kGltfFilterPattern});
  if (doc.keyFrames) doc.keyFrames->keyframeBoneView = 1;
  ui.redraw();
  return result;
}

}  // namespace lw
