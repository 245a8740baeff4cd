// The 3D window's input as a state machine on editMode, driven by events.
//
// Each menu command sets an entry value of editMode (core/document.h). Moving the
// mouse in an armed value of a family enters its picking value and asks for a
// repaint; the repaint picks under (hoverX, hoverY) and moves the mode to the
// family's hit or miss value; a left press in a hit value starts the operation,
// mouse moves continue a drag and the release returns to the armed value. The
// right button drags the camera, independently of editMode.
//
// The handlers below are what the window procedure calls after decoding a
// message. They change the skeleton, the weighting box and the vertex selection
// themselves; what only the window can do (the picking and drawing passes,
// window-to-world, mouse capture, dialogs, the camera and playback) goes through
// ViewInputHost; redraws and plain message boxes go through ShellUi. The values
// of editMode, entry values and sub-states alike, are EditMode's
// (core/document.h).
#pragma once

#include <cstdint>
#include <string>

#include "core/document.h"
#include "core/math.h"
#include "core/shell_ui.h"
#include "skeleton/fk.h"
#include "skin/weight_box.h"

namespace lw {

// Window depth used by a placement whose depth probe hits no surface.
inline constexpr float kPlacementMissDepth = 0.888f;
// The key whose character starts playback.
inline constexpr char kPlaybackKey = ' ';

// Shown (then the window is closed) when a frame, a picking pass or a depth probe
// fails to draw.
inline constexpr char kDrawFailedText[] = "エラー発生";
inline constexpr char kDrawFailedTitle[] = "エラー";
// Shown, owned by the 3D window, when the vertex weighting dialog is asked for
// with no vertex selected.
inline constexpr char kEmptyVertexSelectionText[] = "頂点を1つ以上選択してください。";
inline constexpr char kEmptyVertexSelectionTitle[] = "頂点未選択";
// Title of the message (the text left in ErrorText) shown when a placement click
// cannot turn the cursor into a world point.
inline constexpr char kPlacementPointFailedTitle[] = "エラー";

// Selection name of a weighting box face: pickBase + 100 * face. The drawing
// names the faces so; the face drag takes the names back.
int32_t boxFacePickName(int32_t pickBase, BoxFace face);
// Whether a picked name is one of the faces named from pickBase: its offset from
// pickBase lies in 100 ... 600 (a face drag then moves only the six exact names).
bool isBoxFacePickName(int32_t name, int32_t pickBase);
// Step of one face-drag mouse move: +kBoxFaceStep when the cursor's x is not
// smaller than its previous x, else -kBoxFaceStep.
double boxFaceDragStep(int cursorX, int previousX);

// Which hit record a picking pass chooses: the first in the buffer, or the one
// with the strictly smallest minimum depth (the earlier one on a tie).
enum class PickChoice { First, Nearest };

// One row of the picking table.
struct PickFamily {
  int32_t picking;     // the picking value a repaint picks in
  int32_t armed[2];    // values in which a mouse move arms the pick (-1: unused)
  int32_t hit;         // value after a hit (no drag in progress)
  int32_t miss;        // value after a miss
  PickChoice choice;   // which hit record is chosen
  bool keepDepth;      // a hit keeps its depth in pickDepth
  bool armedOnlyIdle;  // a move arms only while no left drag is in progress
};

// The family whose picking value is editMode; nullptr when editMode is none.
const PickFamily* pickFamilyFor(int32_t editMode);
// The family in which editMode is an armed value; nullptr when none.
const PickFamily* armedFamilyFor(int32_t editMode);
inline bool isPickingMode(int32_t editMode) { return pickFamilyFor(editMode) != nullptr; }

// What a picking pass or a depth probe found.
struct PickResult {
  bool drawOk = true;    // false: drawing failed, nothing was chosen
  int32_t hitCount = 0;  // hit records; negative when the buffer overflowed
  int32_t name = -1;     // the chosen record's first name (-1 for a record without one)
  float meanDepth = 0;   // mean of the chosen record's minimum and maximum depth
};

// What the input handling keeps between events. A new record holds the values
// the 3D window starts with.
struct ViewInputState {
  int16_t hoverX = 0;  // where the next picking repaint picks (client pixels, y down)
  int16_t hoverY = 0;
  float pickDepth = 0;           // window depth (0..1) of the last pick, for window-to-world
  int32_t dragActive = 0;        // a left-button drag is in progress (mouse captured)
  int32_t cameraDragActive = 0;  // a right-button camera drag is in progress (captured)
  int16_t prevX = 0;             // cursor at the previous drag step
  int16_t prevY = 0;
  int32_t pressedPick = 0;  // joint clicked first in a two-click command, or being dragged;
                            // also the base of the weighting box faces' pick names
  Vector3 dragTarget;       // target point of an IK or axis drag
  float fkAngleStep = kFkAngleStep;  // degrees per FK drag step
};

// The 3D window as the input handling sees it. The Win32 window implements it;
// tests use a recording stand-in. Coordinates are client pixels, y downwards.
class ViewInputHost {
 public:
  virtual ~ViewInputHost() = default;

  // The picking pass of a repaint at (x, y): the overlays and the skeleton drawn
  // with selection names through a one-pixel region, the hit chosen by `choice`.
  // Draws no normal frame and changes no state.
  virtual PickResult pick(int x, int y, PickChoice choice) = 0;
  // Draws the normal frame. false when drawing failed.
  virtual bool drawFrame() = 0;
  // The depth probe of a placement at (x, y): the scene with the model drawn in
  // selection mode; reports the first record (name -1 when it has none). Leaves
  // editMode and pickDepth to the caller.
  virtual PickResult probeDepth(int x, int y) = 0;
  // The world point under (x, y) at window depth `depth`, through the matrices
  // of the last frame. Returns 0 and writes point, or 1 with the reason in the
  // document's ErrorText and point unchanged.
  virtual int windowToWorld(int x, int y, float depth, double point[3]) = 0;

  virtual void captureMouse() = 0;
  virtual void releaseMouse() = 0;
  // Sends the 3D window a close message.
  virtual void closeWindow() = 0;
  // One camera drag step by the pixel differences from the previous position.
  virtual void dragCamera(int dx, int dy) = 0;

  // Dialog 103, vertex weighting of the selected corners, owned by the 3D window.
  virtual void openVertexWeightDialog() = 0;
  // Dialog 108, the IK stop option of the joint named editedJointName.
  virtual void openIkStopDialog() = 0;
  // Dialog 109 for the joint named editedJointName. Returns true with the
  // accepted name on OK; false on Cancel.
  virtual bool askJointName(std::string& treeName) = 0;
  // A message box with an OK button owned by the 3D window.
  virtual void showViewMessage(const std::string& text, const std::string& title) = 0;
  // Runs playback to its end.
  virtual void startPlayback() = 0;
};

// Everything a handler works on.
struct ViewInputContext {
  SceneDocument& doc;
  ViewInputState& state;
  ViewInputHost& host;
  ShellUi& ui;
};

// The paint handler: while editMode is a picking value, picks at (hoverX,
// hoverY) and applies the result (applyPickResult); then draws the normal
// frame. A failed picking pass or frame shows kDrawFailedText titled
// kDrawFailedTitle and closes the window.
void handleViewPaint(ViewInputContext& ctx);

// Applies a picking pass's result while editMode is a picking value (nothing
// happens otherwise), with the pick taken at (hoverX, hoverY):
//  - a miss (hitCount < 1): selectedJoint = -1, editMode = the miss value;
//  - a hit during a left drag: in kModeMoveJointPicking the name and its depth
//    are taken and editMode = kModeMoveJointDrag; in kModeBoxFacePicking a box
//    face (a name pressedPick + 100 to pressedPick + 600) is taken, editMode =
//    kModeBoxFaceDrag and
//    (prevX, prevY) = (hoverX, hoverY); any other picking value stays as it is;
//  - a hit otherwise: selectedJoint = name, pickDepth = its depth when the family
//    keeps it, editMode = the hit value; kModeRootMovePicking also zeroes
//    dragTarget and the document's drag accumulators.
void applyPickResult(SceneDocument& doc, ViewInputState& state, const PickResult& result);

// Mouse move to (x, y). During a camera drag: dragCamera by the difference from
// (prevX, prevY), then (prevX, prevY) = cursor and redraw, nothing else.
// Otherwise, by editMode: an armed value (for MoveChildJoint, MoveWeightBoxFace,
// RotateFk, kModeFkPicked, RotateIk and kModeIkPicked only without a left drag)
// sets selectedJoint -1, (hoverX, hoverY) = cursor, the picking value, redraw.
// During a left drag: kModeMoveJointDrag moves the selected joint to the
// window-to-world point at pickDepth; kModeBoxFaceDrag moves the selected face
// (leftward when x < prevX); kModeFkDrag turns the editedJointName joint by
// fkAngleStep (leftward when x < prevX) and sets prevX; kModeAxisDrag drags the
// pressedPick joint's axis towards the cursor's world point; kModeIkDrag solves
// IK for the selected joint towards it (the zero-division message on failure);
// kModeRootMoveDrag nudges the base joint along rootMoveAxis and sets prevX.
void handleViewMouseMove(ViewInputContext& ctx, int16_t x, int16_t y);

// Left button pressed at (x, y). Ignored during a camera drag. By editMode
// ("drag" = dragActive 1 and the mouse captured, only when no drag runs yet):
//  - MoveChildJoint / MoveWeightBoxFace: drag, hover = cursor, the picking value
//    (the repaint picks what is dragged); redraw.
//  - kModeFkPicked / kModeIkPicked: drag, prev = cursor; then kModeFkDrag /
//    kModeIkDrag, editedJointName = the selected joint's name; FK also sets
//    pressedPick = selectedJoint, IK sets dragTarget kNoDirectionVector; redraw.
//  - kModeAxisPicked: drag, kModeAxisDrag, pressedPick = selectedJoint % 10000;
//    redraw. kModeRootMovePicked: drag, prev = cursor, kModeRootMoveDrag,
//    pressedPick = selectedJoint; redraw.
//  - kModeEqualiseSourcePicked: drag, kModeEqualiseTarget, pressedPick =
//    selectedJoint; redraw. kModeEqualiseTargetPicked: without a drag and on a
//    joint other than pressedPick, equaliseBoneLength(pressedPick -> selected),
//    EqualiseBoneLengths, redraw; the same joint again does nothing.
//  - kModeStopIkPicked: editedJointName = selected joint's name, dialog 108,
//    redraw. kModeMirrorSourcePicked: pressedPick = selectedJoint,
//    kModeMirrorTarget, selectedJoint -1, redraw.
//  - Placements probe the depth under the cursor (kPlacementMissDepth over
//    empty space) and convert it into pickPoint: kModeChildPlacing adds a child
//    of parentJointName (mirrored by mirrorPlane) and returns to
//    PlaceChildJoint; PlaceRootJoint places or moves the base joint;
//    PlaceWeightBox places the box and stays. A point that cannot be converted
//    places nothing and shows the reason (title kPlacementPointFailedTitle); a
//    probe that cannot draw shows kDrawFailedText and closes the window.
//  - kModeChildParentPicked: kModeChildPlacing with the selected joint as
//    parent (pressedPick, parentJointName). kModeVertexPicked: the picked corner
//    is appended to the vertex selection. kModeDeletePicked: deleteJoint,
//    DeleteChildJoint, selectedJoint -1. kModeNamePicked: editedJointName =
//    selected joint's name, dialog 109 (OK renames it and rebuilds the bone
//    tree), NameJoint. kModeMirrorTargetPicked: the selected joint becomes the
//    mirror image of pressedPick's in mirrorPlane, MirrorJoint, selectedJoint -1.
//    These, and every value not listed, end with pressedPick = selectedJoint
//    and a redraw.
void handleViewLeftDown(ViewInputContext& ctx, int16_t x, int16_t y);

// Left button released: only during a left drag; ends it, releases the mouse and
// returns a drag value to its family's armed value (4 -> 2, 16 -> 14, 20 -> 17,
// 31 -> 28, 35 -> 32, 663 -> 660). A pick still pending in a picking value is
// run by a redraw.
void handleViewLeftUp(ViewInputContext& ctx);

// Right button pressed at (x, y). In kModeVertexPicked: opens dialog 103 when
// the vertex selection holds a corner, else shows kEmptyVertexSelectionText
// owned by the window; either way the selection is emptied and the window
// redrawn. Otherwise, with no drag of either button in progress, starts the
// camera drag: captures the mouse and (prevX, prevY) = cursor.
void handleViewRightDown(ViewInputContext& ctx, int16_t x, int16_t y);

// Right button released: ends a camera drag and releases the mouse.
void handleViewRightUp(ViewInputContext& ctx);

// Key pressed. The key code read as a character (its low byte) kPlaybackKey
// starts playback when it is armed (animationView 1) and both keyframe maps hold
// more than one keyframe. Any other key does nothing.
void handleViewKeyDown(ViewInputContext& ctx, int keyCode);

}  // namespace lw
