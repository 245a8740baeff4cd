#include "anim/project_open.h"

#include "anim/keyframe_commands.h"
#include "io/model_messages.h"

namespace lw {

namespace {

constexpr int kEnabledAfterOpen[] = {40015, 40016, 40017, 40007, 40014, 40008, 411,   40002,
                                     403,   412,   40005, 40006, 40021, 40064, 40065, 40066};
constexpr int kPoseItemsAfterOpen[] = {40032, 40027, 40050};
constexpr int kLateItemsAfterOpen[] = {40078, 40089, 40090, 40091};

}  // namespace

int openProjectCommand(SceneDocument& doc, ShellUi& ui, const std::string& path,
                       const ProjectModelLoader& loadModel) {
  const int result = readProject(doc, path, ui, loadModel);
  if (result != kProjectRead) {
    if (result != kProjectModelObjFailed) ui.showMessage(doc.ErrorText, projectReadErrorTitle(result));
    doc.ErrorText.clear();
    doc.ErrorCodeText.clear();
    discardAfterFailedProjectOpen(doc, ui);
    return result;
  }
  if (doc.playbackMenuLock) {
    for (int id : {kMenuPreviousKeyframe, kMenuNextKeyframe, kMenuPlay, kMenuSaveFrames}) {
      ui.enableMenuItem(id, true);
    }
    doc.playbackMenuLock = 0;
  }
  doc.modelLoaded = 1;
  doc.drawMode = 4;
  doc.decitionJointPosition = 1;
  for (int id : kEnabledAfterOpen) ui.enableMenuItem(id, true);
  applyKeyframeMenuRules(*doc.keyFrames, ui);
  for (int id : kPoseItemsAfterOpen) ui.enableMenuItem(id, true);
  doc.saveFilter = fileFilter({kObjFilterLabel, kObjFilterPattern, kOjpFilterLabel, kOjpFilterPattern,
                               kBmpFilterLabel, kBmpFilterPattern});
  if (!doc.keyFrames->byNumber.empty()) ui.refreshMotionPanel();
  for (int id : kLateItemsAfterOpen) ui.enableMenuItem(id, true);
  ui.redraw();
  return result;
}

}  // namespace lw
