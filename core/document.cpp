#include "core/document.h"

namespace lw {

namespace {

constexpr int kNoDocumentGrey[] = {
    40015, 40016, 40017, 40007, 40014, 40008, 410,   201,   40069, 40070, 40071, 40072, 40073,
    40074, 202,   203,   411,   40002, 40064, 40065, 40066, 403,   406,   40003, 40068, 412,
    40005, 40006, 414,   40075, 40076, 40077, 40093, 40026, 40025, 40067, 40052, 40051, 40046,
    40047, 40021, 40032, 40027, 40050, 40053, 40054, 40059, 40078, 40089, 40090, 40091, 40097};
constexpr int kNoDocumentChecked[] = {40090, 40057, 40055, 40079, 40082, 40084, 40087, 40095};
constexpr int kNoDocumentUnchecked[] = {40080, 40081, 40089, 40083, 40086, 40094, 40096, 40097};

}  // namespace

bool hasBackupBasicBoneVec(const SceneDocument& doc) {
  const Vector3& v = doc.backupBasicBoneVec;
  return !(v.x == 999.0f && v.y == 999.0f && v.z == 999.0f);
}

std::string fileFilter(std::initializer_list<const char*> texts) {
  std::string filter;
  for (const char* text : texts) {
    filter += text;
    filter.push_back('\0');
  }
  filter.push_back('\0');
  return filter;
}

void applyNoDocumentMenuState(ShellUi& ui) {
  for (int id : kNoDocumentGrey) ui.enableMenuItem(id, false);
  for (int id : kNoDocumentChecked) ui.checkMenuItem(id, true);
  for (int id : kNoDocumentUnchecked) ui.checkMenuItem(id, false);
}

void resetDocumentDefaults(SceneDocument& doc, ShellUi& ui) {
  doc.decitionJointPosition = 0;
  doc.do_skinning = 0;
  doc.modelLoaded = 0;
  doc.animationView = 0;
  doc.playbackMenuLock = 0;
  doc.treeAlwaysExpanded = 1;
  doc.saveFramesAsBmp = 0;

  doc.axisReversed = 0;
  doc.treeSelectedJoint = -999;
  doc.backupBasicBoneVec = {999.0f, 999.0f, 999.0f};
  doc.rootMoveOffset = {};
  doc.dragStarted = 0;
  doc.dragCounter = 0;
  doc.dragVector = {};

  doc.showJointNumbers = 0;
  doc.showBoneAxes = 0;
  doc.showFkAxes = 0;
  doc.showWorldAxes = 1;
  doc.showDecorations = 1;
  doc.antiAliasing = 0;
  doc.shadowMap = 0;
  doc.shaderState = {};
  doc.rightLightOn = 0;
  doc.leftLightOn = 0;
  doc.lightColour[0] = doc.lightColour[1] = {1.0f, 1.0f, 1.0f, 1.0f};
  doc.backgroundColour = {0.5f, 0.5f, 0.5f, 1.0f};
  doc.shadowLightPosition = {0.0f, 5.0f, 4.0f};

  doc.viewDirection = {0, 0, 1};
  doc.cameraDrag = 0;
  doc.cameraDistance = -7.0f;

  applyNoDocumentMenuState(ui);
  // The display toggles' check marks follow the flags: joint numbers (40007),
  // bone axes (40014), FK axes (40008).
  ui.checkMenuItem(40007, doc.showJointNumbers == 1);
  ui.checkMenuItem(40014, doc.showBoneAxes == 1);
  ui.checkMenuItem(40008, doc.showFkAxes == 1);
}

void clearDocument(SceneDocument& doc) {
  doc.keyFrames.reset();
  doc.skinBuffers.reset();
  doc.mesh.reset();
  doc.decorations.clear();
  doc.skeleton.clear();
}

namespace {

void discardWindowsAndContent(SceneDocument& doc, ShellUi& ui) {
  ui.resetFrameDisplay();
  if (!doc.skeleton.empty()) ui.treeDeleteRoot();
}

}  // namespace

void discardDocument(SceneDocument& doc, ShellUi& ui) {
  discardWindowsAndContent(doc, ui);
  clearDocument(doc);
  resetDocumentDefaults(doc, ui);
  doc.keyFrames = std::make_unique<KeyframeStore>();
}

void discardAfterFailedProjectOpen(SceneDocument& doc, ShellUi& ui) {
  discardWindowsAndContent(doc, ui);
  doc.mesh.reset();
  doc.skinBuffers.reset();
  doc.decorations.clear();
  doc.skeleton.clear();
  resetDocumentDefaults(doc, ui);
}

}  // namespace lw
