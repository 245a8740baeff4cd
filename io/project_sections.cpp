// The lines after a project's model, each read into the document by its section:
// skin data per corner, joints, their relations, keyframes and their poses.
// What does not fit what was read so far (a corner or joint that does not exist,
// a loop of relations, a keyframe missing a pose) is skipped and listed.
#include "io/project_reader_detail.h"

#include <string>
#include <string_view>
#include <utility>

namespace lw {

namespace project_reader_detail {

namespace {

struct JointVectorKey {
  std::string_view key;
  Vector3 Joint::*field;
};
struct JointQuaternionKey {
  std::string_view key;
  Quaternion Joint::*field;
};
struct PoseVectorKey {
  std::string_view key;
  Vector3 KeyJointPose::*field;
};
struct PoseQuaternionKey {
  std::string_view key;
  Quaternion KeyJointPose::*field;
};

constexpr JointVectorKey kJointVectors[] = {
    {"position", &Joint::position},
    {"xVector", &Joint::xVector},
    {"yVector", &Joint::yVector},
    {"parent_xVector", &Joint::parent_xVector},
    {"parent_yVector", &Joint::parent_yVector},
    {"initPoseBoneVector", &Joint::initPoseBoneVector},
    {"drawBoneVector", &Joint::drawBoneVector},
    {"axisVector", &Joint::axisVector},
    {"drawAxisVector", &Joint::drawAxisVector},
    {"jointWorldPosition", &Joint::jointWorldPosition},
    {"jointDrawPositionAfterPosEnter", &Joint::jointDrawPositionAfterPosEnter},
    {"ik_axisVector", &Joint::ik_axisVector},
    {"ik_jointDrawPosition", &Joint::ik_jointDrawPosition},
    {"convertIKtoFK_boneVector", &Joint::convertIKtoFK_boneVector},
};

constexpr JointQuaternionKey kJointQuaternions[] = {
    {"pTOc_Quaternion", &Joint::pTOc_Quaternion},
    {"rotationJointQuaternion", &Joint::rotationJointQuaternion},
    {"drawRotationJointQuaternion", &Joint::drawRotationJointQuaternion},
    {"convertWorldToJointCoodQuaternion", &Joint::convertWorldToJointCoodQuaternion},
    {"ik_rotationJointQuaternion", &Joint::ik_rotationJointQuaternion},
    {"convertIKtoFK_rotationJointQuaternion", &Joint::convertIKtoFK_rotationJointQuaternion},
};

// Where one key is a prefix of another, the longer one comes first.
constexpr PoseVectorKey kPoseVectors[] = {
    {"kf_boneVector", &KeyJointPose::kf_boneVector},
    {"kf_drawBoneVector", &KeyJointPose::kf_drawBoneVector},
    {"kf_positionAnime", &KeyJointPose::kf_positionAnime},
    {"kf_position", &KeyJointPose::kf_position},
    {"kf_axisVector", &KeyJointPose::kf_axisVector},
    {"kf_drawAxisVector", &KeyJointPose::kf_drawAxisVector},
};

constexpr PoseQuaternionKey kPoseQuaternions[] = {
    {"kf_rotationJointQuaternionAnime", &KeyJointPose::kf_rotationJointQuaternionAnime},
    {"kf_rotationJointQuaternionIKtoFK", &KeyJointPose::kf_rotationJointQuaternionIKtoFK},
    {"kf_rotationJointQuaternion", &KeyJointPose::kf_rotationJointQuaternion},
    {"kf_drawRotationJointQuaternionRot", &KeyJointPose::kf_drawRotationJointQuaternionRot},
    {"kf_drawRotationJointQuaternion", &KeyJointPose::kf_drawRotationJointQuaternion},
};

// What a skipped line was.
constexpr const char* kSkippedPart = "モデルにない部品のデータ（mtlstart）";
constexpr const char* kSkippedCorner = "モデルにない頂点のデータ（nor）";
constexpr const char* kSkippedWeight = "ジョイント名（verJnm）のない重み（verInf）";
constexpr const char* kSkippedRelation = "存在しないジョイントの親子関係（relation）";
constexpr const char* kSkippedJointName = "名前のないジョイント（jointName）";
constexpr const char* kSkippedWeightName = "ジョイント名のない重み（verJnm）";
constexpr const char* kSkippedPose = "存在しないジョイントの姿勢（kf_jointID）";
constexpr const char* kSkippedUnrelatedKeyframe =
    "ジョイントの親子関係（[JOINTRERATION]）より前のキーフレーム（keyframe）";

}  // namespace

void ProjectReader::readSkinLine(std::string_view line) {
  SkinPart* part = (part_ >= 0 && part_ < static_cast<int>(doc_.skinBuffers->parts.size()))
                       ? &doc_.skinBuffers->parts[part_]
                       : nullptr;
  bool inRange = part && corner_ >= 0 && corner_ < static_cast<int>(part->skinPositions.size());
  if (hasPrefix(line, "nor")) {
    ++corner_;
    if (part && corner_ >= 0 && corner_ < static_cast<int>(part->skinNormals.size())) {
      valuesAfter(line, "nor").scanVector(part->skinNormals[corner_]);
    } else if (part) {
      skip(kSkippedCorner);
    }
  } else if (hasPrefix(line, "vec")) {
    if (inRange) valuesAfter(line, "vec").scanVector(part->skinPositions[corner_]);
  } else if (hasPrefix(line, "verJnm")) {
    std::string_view name = restAfter(line, 7);
    haveInfluence_ = !name.empty();
    if (!haveInfluence_) {
      skip(kSkippedWeightName);
      return;
    }
    influence_ = JointWeight{std::string(name), 0.0f};
  } else if (hasPrefix(line, "verInf")) {
    if (!haveInfluence_) {
      skip(kSkippedWeight);
      return;
    }
    valuesAfter(line, "verInf").scanFloat(influence_.weight);
    if (inRange) part->skinWeights[corner_].push_back(std::move(influence_));
    haveInfluence_ = false;
  }
}

void ProjectReader::commitJoint() {
  Joint* joint = pendingJoint_.get();
  joint->leafFlag = 1;
  doc_.skeleton.joints.emplace(joint->jointName, joint);
  jointsById_.emplace(joint->jointID, joint);
  doc_.skeleton.jointOrder.push_back(std::move(pendingJoint_));
}

bool ProjectReader::readJointLine(std::string_view line) {
  if (hasPrefix(line, "jointID")) {
    pendingJoint_ = std::make_unique<Joint>();
    joint_ = pendingJoint_.get();
    valuesAfter(line, "jointID").scanInt(joint_->jointID);
    joint_->validJoint = 1;
    return true;
  }
  for (const auto& k : kJointVectors) {
    if (hasPrefix(line, k.key)) {
      if (joint_) valuesAfter(line, k.key).scanVector(joint_->*k.field);
      return true;
    }
  }
  for (const auto& k : kJointQuaternions) {
    if (hasPrefix(line, k.key)) {
      if (joint_) valuesAfter(line, k.key).scanQuaternion(joint_->*k.field);
      return true;
    }
  }
  struct IntKey {
    std::string_view key;
    int32_t Joint::*field;
  };
  for (const IntKey& k : {IntKey{"validJoint", &Joint::validJoint}, IntKey{"ik_Flag", &Joint::ik_Flag},
                          IntKey{"ik_stopFlg", &Joint::ik_stopFlg}}) {
    if (hasPrefix(line, k.key)) {
      if (joint_) valuesAfter(line, k.key).scanInt(joint_->*k.field);
      return true;
    }
  }
  struct FloatKey {
    std::string_view key;
    float Joint::*field;
  };
  for (const FloatKey& k : {FloatKey{"axisAngle", &Joint::axisAngle},
                            FloatKey{"ik_axisAngle", &Joint::ik_axisAngle}}) {
    if (hasPrefix(line, k.key)) {
      if (joint_) valuesAfter(line, k.key).scanFloat(joint_->*k.field);
      return true;
    }
  }
  if (hasPrefix(line, "jointName")) {
    if (!joint_) return true;
    std::string_view name = restAfter(line, 10);
    if (!name.empty()) {
      joint_->jointName = name;
    } else {
      // A joint without a name cannot be related or posed: it is not kept.
      skip(kSkippedJointName);
      if (pendingJoint_.get() == joint_) {
        pendingJoint_.reset();
        joint_ = nullptr;
      }
    }
    return true;
  }
  if (hasPrefix(line, "TreeName")) {
    if (!joint_) return true;
    valuesAfter(line, "TreeName").scanWord(joint_->TreeName);
    // Only a joint whose block reached its "TreeName" line is kept.
    if (pendingJoint_) commitJoint();
    return true;
  }
  return false;
}

void ProjectReader::readRelation(std::string_view line) {
  lastRelation_ = restAfter(line, 9);
  auto found = doc_.skeleton.joints.find(lastRelation_);
  if (found == doc_.skeleton.joints.end()) {
    skip(kSkippedRelation);
    return;
  }
  Joint* joint = found->second;
  if (nameStack_.empty()) {
    joint->treeItem = ui_.treeInsertItem(nullptr, joint->TreeName);
    return;
  }
  auto parent = doc_.skeleton.joints.find(nameStack_.back());
  // A joint is attached once, and never below itself: a joint not yet attached
  // is the root of its tree, so it is above the parent only as that tree's root.
  if (parent == doc_.skeleton.joints.end() || joint->parent != nullptr ||
      rootOf(parent->second) == joint) {
    return;
  }
  Joint* p = parent->second;
  towardRoot_[joint] = p;
  joint->parent = p;
  p->children.push_back(joint);
  p->leafFlag = 0;
  joint->treeItem = ui_.treeInsertItem(p->treeItem, joint->TreeName);
  ui_.treeExpandAll();
}

const Joint* ProjectReader::rootOf(const Joint* joint) {
  const Joint* root = joint;
  for (auto it = towardRoot_.find(root); it != towardRoot_.end(); it = towardRoot_.find(root)) {
    root = it->second;
  }
  while (joint != root) {
    const Joint*& next = towardRoot_[joint];
    joint = std::exchange(next, root);
  }
  return root;
}

void ProjectReader::readPoseLine(std::string_view line) {
  for (const auto& k : kPoseVectors) {
    if (hasPrefix(line, k.key)) {
      if (pose_) valuesAfter(line, k.key).scanVector(pose_->*k.field);
      return;
    }
  }
  for (const auto& k : kPoseQuaternions) {
    if (hasPrefix(line, k.key)) {
      if (pose_) valuesAfter(line, k.key).scanQuaternion(pose_->*k.field);
      return;
    }
  }
  if (!pose_) return;  // pose keys before the keyframe's first "kf_jointID"
  if (hasPrefix(line, "kf_jointName")) {
    pose_->kf_jointName = restAfter(line, 13);
  } else if (hasPrefix(line, "kf_axisAngle")) {
    valuesAfter(line, "kf_axisAngle").scanDouble(pose_->kf_axisAngle);
  } else if (hasPrefix(line, "kf_endFrameAngle")) {
    valuesAfter(line, "kf_endFrameAngle").scanDouble(pose_->kf_endFrameAngle);
  } else if (hasPrefix(line, "kf_hokanMode")) {
    valuesAfter(line, "kf_hokanMode").scanInt(pose_->kf_hokanMode);
  } else if (hasPrefix(line, "kf_speed")) {
    ValueScanner values = valuesAfter(line, "kf_speed");
    values.scanDouble(pose_->kf_speed[0]) && values.scanDouble(pose_->kf_speed[1]);
  }
}

bool ProjectReader::readKeyframeLine(std::string_view line) {
  KeyframeStore& store = *doc_.keyFrames;
  if (hasPrefix(line, "keyframe")) {
    keyframe_.reset();
    pose_ = nullptr;
    // Poses are stored relative to the joints' parents, so a keyframe read
    // before the joints were related cannot be applied.
    if (!relationsRead_) {
      skip(kSkippedUnrelatedKeyframe);
      return true;
    }
    keyframe_ = std::make_shared<KeyFrame>();
    keyframeLine_ = lineNumber_;
  } else if (hasPrefix(line, "kf_jointID")) {
    if (!keyframe_) return true;
    pose_ = nullptr;  // the lines up to the next "kf_jointID" fill this pose or none
    int32_t id = 0;
    auto joint =
        valuesAfter(line, "kf_jointID").scanInt(id) ? jointsById_.find(id) : jointsById_.end();
    if (joint == jointsById_.end()) {
      skip(kSkippedPose);
      return true;
    }
    pose_ = &keyframe_->poses[joint->second->jointName];
    pose_->kf_jointID = id;
  } else if (hasPrefix(line, "kf_")) {
    if (keyframe_) readPoseLine(line);
  } else if (hasPrefix(line, "frameNumber")) {
    if (!keepKeyframe()) return true;
    store.lastCreated = keyframe_;
    doc_.playbackMenuLock = 1;
    linkParentPoses(keyframe_->poses, doc_.skeleton);
    valuesAfter(line, "frameNumber").scanInt(keyframe_->number);
    store.byNumber[keyframe_->number] = keyframe_;
    store.currentNumber = keyframe_->number;
  } else if (hasPrefix(line, "frameTime")) {
    if (!keepKeyframe()) return true;
    valuesAfter(line, "frameTime").scanInt(keyframe_->time);
    store.byTime[keyframe_->time] = keyframe_;
    store.currentTime = keyframe_->time;
    applyKeyFrame(doc_);
    setPlaybackRange(store, store.byTime.rbegin()->first, store.byTime.begin()->first);
  } else {
    return false;
  }
  return true;
}

void ProjectReader::skipAt(int lineNumber, std::string_view what) {
  skipped_.push_back('\n');
  skipped_.append(std::to_string(lineNumber)).append("行目：").append(what);
}

// Every joint has its pose in every keyframe; a keyframe without all of them
// would show the missing joints at rest, so it is not kept.
bool ProjectReader::keepKeyframe() {
  if (!keyframe_) return false;
  for (const auto& [name, joint] : doc_.skeleton.joints) {
    if (keyframe_->poses.count(name) == 0) {
      skipAt(keyframeLine_, "ジョイント「" + name + "」の姿勢がないキーフレーム（keyframe）");
      keyframe_.reset();
      pose_ = nullptr;
      return false;
    }
  }
  return true;
}

int ProjectReader::readLine(std::string_view line, int lineNumber) {
  lineNumber_ = lineNumber;
  if (line.empty()) return 0;
  switch (line[0]) {
    case 'S':
      if (hasPrefix(line, "SUB_MODEL_FILENAME")) return readSubModel(line);
      return 0;
    case 'm':
      if (hasPrefix(line, "mtlstart")) {
        ++part_;
        corner_ = -1;
        if (part_ >= static_cast<int>(doc_.skinBuffers->parts.size())) skip(kSkippedPart);
      }
      return 0;
    case 'n':
    case 'v':
      if (hasPrefix(line, "validJoint")) {
        readJointLine(line);
      } else {
        readSkinLine(line);
      }
      return 0;
    case 'r':
      if (hasPrefix(line, "relation")) {
        readRelation(line);
        return 0;
      }
      break;
    case '[':
      if (hasPrefix(line, "[JOINTRERATION]")) {
        relationsRead_ = true;
      } else if (hasPrefix(line, "[down]")) {
        nameStack_.push_back(lastRelation_);
      } else if (hasPrefix(line, "[up]") && !nameStack_.empty()) {
        nameStack_.pop_back();
      }
      return 0;
    case 'd':
      if (hasPrefix(line, "do_skinning")) {
        valuesAfter(line, "do_skinning").scanInt(doc_.do_skinning);
        return 0;
      }
      if (hasPrefix(line, "decitionJointPosition")) {
        valuesAfter(line, "decitionJointPosition").scanInt(doc_.decitionJointPosition);
        return 0;
      }
      break;
    case 'k':
    case 'f':
      readKeyframeLine(line);
      return 0;
    case 'b':
      if (hasPrefix(line, "backupBasicBoneVec")) {
        valuesAfter(line, "backupBasicBoneVec").scanVector(doc_.backupBasicBoneVec);
      }
      return 0;
    default:
      break;
  }
  readJointLine(line);
  return 0;
}

}  // namespace project_reader_detail

}  // namespace lw
