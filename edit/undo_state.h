// The document's undoable state, taken apart into the pieces an undo step
// stores: the skeleton, the keyframes, the weights (as single corners), and two
// small groups of plain fields.
//
// Which SceneDocument fields are document edits:
//  - undoable, and a change makes a step: the joints (every field of every
//    record, their tree links, creation order and name map), the keyframes in
//    both maps and lastCreated, every corner's weight list, the weighting box
//    and weightBoxShown, decitionJointPosition (with the save dialog's list,
//    saveFilter, which offers glTF once the positions are fixed), do_skinning, axisReversed,
//    backupBasicBoneVec, rootMoveOffset, the playback range (rangeStart,
//    rangeEnd, rangeDuration) and the keyframe cursor (currentNumber,
//    currentTime, deletedTime);
//  - undoable, carried along with the steps but making none on their own (what
//    follows a menu command that only chooses what the mouse does next): the
//    edit mode and its working values (EditFields below) and the menu's grey
//    and check state;
//  - not undoable: the model, its decorations and skin positions and normals
//    (Open and Add start a new history; the positions are redrawn from the
//    weights), the file names, error texts, the display and view state, the
//    tree's always-expanded and the frame saving settings, and playback's
//    working state (segments, playTime, animationPoses, rebuilt by each run).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/document.h"

namespace lw {

// One joint as a value: the record with its links replaced by positions in
// jointOrder and no tree item (the bone tree is rebuilt from the joints).
struct JointValue {
  Joint fields;
  int32_t parent = -1;
  std::vector<int32_t> children;
};

struct SkeletonValue {
  std::vector<JointValue> joints;                      // creation order
  std::vector<std::pair<std::string, int32_t>> names;  // the name map: key, position
};

// True when every value field of the two joints is the same, bit for bit
// (links and tree items are not compared).
bool sameJointFields(const Joint& a, const Joint& b);

SkeletonValue skeletonValue(const JointSet& set);
bool operator==(const SkeletonValue& a, const SkeletonValue& b);
// Makes `set` hold the joints of `value`. Records are reused in creation order,
// so a joint that stays keeps its address.
void restoreSkeleton(const SkeletonValue& value, JointSet& set);

// A keyframe that no one changes any more; its poses' parentPose links point
// into its own poses.
using FrozenKeyFrame = std::shared_ptr<const KeyFrame>;

// The keyframes of a store: each distinct keyframe once (a keyframe held in both
// maps is one entry), and the maps and lastCreated as positions among them.
struct KeyframesValue {
  std::vector<FrozenKeyFrame> frames;
  std::vector<std::pair<int32_t, int32_t>> byNumber;  // number, position
  std::vector<std::pair<int32_t, int32_t>> byTime;    // time, position
  int32_t lastCreated = -1;
};

// Copies the keyframes of `store`, sharing the frozen copies of `previous`
// that are still the same, so a value costs only the keyframes that changed.
KeyframesValue keyframesValue(const KeyframeStore& store, const KeyframesValue* previous);
bool operator==(const KeyframesValue& a, const KeyframesValue& b);
// Replaces the store's keyframes (both maps and lastCreated) with fresh copies
// of `value`'s; every other field of the store is left alone.
void restoreKeyframes(const KeyframesValue& value, KeyframeStore& store);

// The plain fields whose change is an edit.
struct DocumentFields {
  int32_t decitionJointPosition = 0;
  std::string saveFilter;
  int32_t doSkinning = 0;
  int32_t axisReversed = 0;
  int32_t weightBoxShown = 0;
  std::array<std::array<double, 3>, 8> boxCorners{};  // the weighting box
  Vector3 backupBasicBoneVec;
  Vector3 rootMoveOffset;
  int32_t currentNumber = 0;
  int32_t currentTime = 0;
  int32_t deletedTime = 0;
  int32_t rangeStart = 0;
  int32_t rangeEnd = 0;
  int32_t rangeDuration = 0;
  friend bool operator==(const DocumentFields&, const DocumentFields&) = default;
};

// The edit mode and the values the 3D window's commands keep with it.
struct EditFields {
  int32_t editMode = 0;
  int32_t mirrorPlane = 0;
  int32_t selectedJoint = 0;
  int32_t rootMoveAxis = 0;
  int32_t axisPreset = 0;
  Vector3 axisEditVector;
  std::string editedJointName;
  std::string parentJointName;
  double pickPoint[3] = {0, 0, 0};
  int32_t treeSelectedJoint = 0;
  int32_t pointPickView = 0;
  int32_t tempJointNumbers = 0;
  VertexSelection vertexSelection;
  int32_t dragStarted = 0;
  int32_t dragCounter = 0;
  Vector3 dragVector;
  int32_t animationView = 0;
  int32_t playbackMenuLock = 0;
  int32_t keyframeBoneView = 0;
  int32_t keyframeShown = 0;
  friend bool operator==(const EditFields&, const EditFields&) = default;
};

DocumentFields documentFields(const SceneDocument& doc);
void restoreDocumentFields(const DocumentFields& fields, SceneDocument& doc);
EditFields editFields(const SceneDocument& doc);
void restoreEditFields(const EditFields& fields, SceneDocument& doc);

// One menu item's state: grey or not, and its check mark where the mark follows
// the document (-1 where it is a display setting the history leaves alone).
struct MenuItemState {
  int32_t id = 0;
  int8_t enabled = 0;
  int8_t checked = -1;
  friend bool operator==(const MenuItemState&, const MenuItemState&) = default;
};
using MenuState = std::vector<MenuItemState>;

// Sets every item of `menu` through the shell.
void applyMenuState(const MenuState& menu, ShellUi& ui);

}  // namespace lw
