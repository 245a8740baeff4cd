// The one document the program edits: model, skeleton, weights, keyframes, and
// the edit, display and view state. Portable functions take it (or the parts
// they need) as a parameter; the shell owns the single instance.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>

#include "core/joint.h"
#include "core/keyframes.h"
#include "core/math.h"
#include "core/mesh.h"
#include "core/shell_ui.h"
#include "core/skin_data.h"

namespace lw {

// What a mouse action in the 3D window means. A menu command sets an entry value
// (the unprefixed names); the 3D window's input handling (edit/view_input.h) then
// moves through the family's sub-states (kMode*) between one entry value and the
// next: picking while a repaint looks under the cursor, picked after a hit, drag
// while the left button moves what was picked. Every value is a state the
// program keeps in editMode, so the numbers are fixed.
enum EditMode : int32_t {
  Idle = 0,
  PlaceChildJoint = 1,
  MoveChildJoint = 2,
  kModeMoveJointPicking = 3,
  kModeMoveJointDrag = 4,
  PlaceWeightBox = 9,
  kModeChildParentPicking = 10,
  kModeChildParentPicked = 11,
  kModeChildPlacing = 12,  // the parent is chosen; the next click places the child
  PlaceRootJoint = 13,
  MoveWeightBoxFace = 14,
  kModeBoxFacePicking = 15,
  kModeBoxFaceDrag = 16,
  RotateFk = 17,
  kModeFkPicked = 18,
  kModeFkPicking = 19,
  kModeFkDrag = 20,
  WeightByVertex = 21,
  kModeVertexPicking = 22,
  kModeVertexPicked = 23,
  // Nothing sets these three; the skeleton drawing still gives them their look
  // (24 hides the bones, 25 marks the picked joint, 36 hides the skeleton).
  kModeUnsetNoBones = 24,
  kModeUnsetPicked = 25,
  EditFkAxis = 28,
  kModeAxisPicking = 29,
  kModeAxisPicked = 30,
  kModeAxisDrag = 31,
  RotateIk = 32,
  kModeIkPicking = 33,
  kModeIkPicked = 34,
  kModeIkDrag = 35,
  kModeUnsetNoSkeleton = 36,
  EqualiseBoneLengths = 39,
  kModeEqualiseSourcePicking = 40,
  kModeEqualiseSourcePicked = 41,
  kModeEqualiseTarget = 42,
  kModeEqualiseTargetPicking = 43,
  kModeEqualiseTargetPicked = 44,
  StopIk = 46,
  kModeStopIkPicking = 47,
  kModeStopIkPicked = 48,
  DeleteChildJoint = 50,
  kModeDeletePicking = 51,
  kModeDeletePicked = 52,
  NameJoint = 55,
  kModeNamePicking = 56,
  kModeNamePicked = 57,
  MirrorJoint = 70,
  kModeMirrorSourcePicking = 71,
  kModeMirrorSourcePicked = 72,
  kModeMirrorTarget = 73,
  kModeMirrorTargetPicking = 74,
  kModeMirrorTargetPicked = 75,
  kModeDepthProbe = 113,  // while a placement's depth probe draws the scene
  MoveRootJoint = 660,
  kModeRootMovePicking = 661,
  kModeRootMovePicked = 662,
  kModeRootMoveDrag = 663,
  Animation = 9999,
};

// The families of editMode that code outside the input handling tests.
// Vertex weighting: armed, picking, picked.
inline bool isVertexWeightingMode(int32_t mode) {
  return mode == WeightByVertex || mode == kModeVertexPicking || mode == kModeVertexPicked;
}
// The weighting box: placing it, or any state of a face drag.
inline bool isWeightBoxMode(int32_t mode) {
  return mode == PlaceWeightBox || mode == MoveWeightBoxFace || mode == kModeBoxFacePicking ||
         mode == kModeBoxFaceDrag;
}
// A box face is chosen (after a pick) or being dragged.
inline bool isBoxFaceChosen(int32_t mode) {
  return mode == MoveWeightBoxFace || mode == kModeBoxFaceDrag;
}
// Picks that must see what lies behind the skeleton (box faces, model corners),
// and the unset value 36: the skeleton is left out of the frame.
inline bool hidesSkeleton(int32_t mode) {
  return mode == kModeBoxFacePicking || mode == kModeVertexPicking || mode == kModeUnsetNoSkeleton;
}
// The mirror command after its source joint is chosen (target armed, picking, picked).
inline bool isMirrorTargetMode(int32_t mode) {
  return mode == kModeMirrorTarget || mode == kModeMirrorTargetPicking ||
         mode == kModeMirrorTargetPicked;
}

struct Colour {
  float r = 0, g = 0, b = 0, a = 1;
  friend bool operator==(const Colour&, const Colour&) = default;
};

struct ShaderState {
  int32_t toonLoaded = 0;    // the toon program is loaded and in use
  int32_t customChosen = 0;  // a user-chosen program is in use
};

struct SceneDocument {
  // Content.
  std::unique_ptr<Mesh> mesh;
  std::unique_ptr<SkinBuffers> skinBuffers;
  JointSet skeleton;  // joints (name order) and jointOrder (creation order)
  std::unique_ptr<KeyframeStore> keyFrames = std::make_unique<KeyframeStore>();
  std::map<int, std::unique_ptr<Mesh>> decorations;
  std::string fileTitle;   // file name of the last file chosen in an open or save dialog
  std::string filePath;    // its full path
  std::string modelFileName;
  std::string materialLibraryName;  // the material library read last
  std::string saveFilter;  // NUL-separated pairs ended by an empty string (see fileFilter)
  std::string ErrorText;

  // Workflow flags.
  int32_t decitionJointPosition = 0;
  int32_t do_skinning = 0;
  int32_t modelLoaded = 0;
  int32_t weightBoxShown = 0;
  int32_t pointPickView = 0;
  int32_t tempJointNumbers = 0;
  int32_t animationView = 0;
  int32_t playbackMenuLock = 0;
  int32_t treeAlwaysExpanded = 1;
  int32_t saveFramesAsBmp = 0;

  // Edit state.
  int32_t editMode = Idle;
  int32_t mirrorPlane = 0;  // 0 XY, 1 YZ, 2 ZX, 3 no mirroring
  int32_t selectedJoint = 0;
  int32_t rootMoveAxis = 0;  // 0 X, 1 Y, 2 Z
  int32_t axisPreset = 0;    // 0 free (with IK), 1 X, 2 Y, 3 Z
  int32_t axisReversed = 0;
  Vector3 axisEditVector;
  std::string editedJointName;
  std::string parentJointName;  // the joint clicked first in a two-click placement
  double pickPoint[3] = {0, 0, 0};
  int32_t treeSelectedJoint = -999;
  Vector3 backupBasicBoneVec{999.0f, 999.0f, 999.0f};
  Vector3 rootMoveOffset;
  WeightBox weightBox;
  VertexSelection vertexSelection;
  // Values the 3D window's drags keep between mouse moves.
  int32_t dragStarted = 0;
  int32_t dragCounter = 0;
  Vector3 dragVector;

  // Display state.
  int32_t drawMode = 0;  // 4 faces, 3 lines, 0 points
  int32_t showJointNumbers = 0;
  int32_t showBoneAxes = 0;
  int32_t showFkAxes = 0;
  int32_t showWorldAxes = 1;
  int32_t showDecorations = 1;
  int32_t antiAliasing = 0;
  int32_t shadowMap = 0;
  ShaderState shaderState;
  int32_t rightLightOn = 0;
  int32_t leftLightOn = 0;
  Colour lightColour[2] = {{1, 1, 1, 1}, {1, 1, 1, 1}};
  Colour backgroundColour{0.5f, 0.5f, 0.5f, 1.0f};
  Vector3 shadowLightPosition{0.0f, 5.0f, 4.0f};

  // View state.
  double viewElevation = 0;
  double viewAzimuth = 0;
  Vector3 viewDirection{0, 0, 1};
  int32_t cameraDrag = 0;  // 0 rotate, 1 left/right, 2 up/down, 3 zoom
  float cameraDistance = -7.0f;
  float cameraPanX = 0;
  float cameraPanY = 0;
  int32_t clientWidth = 1024;
  int32_t clientHeight = 768;
};

// True when backupBasicBoneVec holds a saved root bone vector.
bool hasBackupBasicBoneVec(const SceneDocument& doc);

// A save/open dialog filter from (label, pattern) pairs: each text NUL-terminated,
// the list ended by an empty string.
std::string fileFilter(std::initializer_list<const char*> texts);

// The last entry of the save dialog's list once the joint positions are fixed.
inline constexpr const char* kGltfFilterLabel = "glTF (*.glb;*.gltf)";
inline constexpr const char* kGltfFilterPattern = "*.glb;*.gltf";

// Brings every resettable field back to its start value and puts the menu into
// its no-document state. Content, file names and the fields the 3D window keeps
// across documents (edit mode, draw mode, box, camera angles ...) are left alone.
void resetDocumentDefaults(SceneDocument& doc, ShellUi& ui);

// Releases the keyframes, skin buffers, model, decorations and joints.
void clearDocument(SceneDocument& doc);

// What the Open command does to the current document before reading a new file:
// frame display reset, tree emptied, document cleared and reset, new keyframe store.
void discardDocument(SceneDocument& doc, ShellUi& ui);

// The same after a failed project open: the keyframe store is kept as it is.
void discardAfterFailedProjectOpen(SceneDocument& doc, ShellUi& ui);

// The menu's no-document state: the items the reset greys, checks and unchecks.
void applyNoDocumentMenuState(ShellUi& ui);

}  // namespace lw
