#include "edit/file_commands.h"

#include <initializer_list>

#include "anim/keyframe_commands.h"
#include "edit/menu_ids.h"
#include "skeleton/fk.h"
#include "skeleton/ik.h"

namespace lw {

namespace {

void enableItems(ShellUi& ui, std::initializer_list<int> ids) {
  for (int id : ids) ui.enableMenuItem(id, true);
}

}  // namespace

void finishProjectOpen(SceneDocument& doc, ShellUi& ui) {
  if (doc.playbackMenuLock) {
    enableItems(ui, {kMenuPreviousKeyframe, kMenuNextKeyframe, kMenuPlay, kMenuSaveFrames});
    doc.playbackMenuLock = 0;
  }
  doc.modelLoaded = 1;
  doc.drawMode = 4;
  doc.decitionJointPosition = 1;
  enableItems(ui, {kMenuDrawFaces, kMenuDrawLines, kMenuDrawPoints, kMenuJointNumbers,
                   kMenuBoneAxes, kMenuFkAxes, kMenuRotateFk, kMenuResetRotations,
                   kMenuPlaceWeightBox, kMenuWeightByVertex, kMenuSkinningOn, kMenuSkinningOff,
                   kMenuKeyframeCreate, kMenuMoveRootX, kMenuMoveRootY, kMenuMoveRootZ});
  applyKeyframeMenuRules(*doc.keyFrames, ui);
  enableItems(ui, {kMenuEqualiseBoneLengths, kMenuRotateIk, kMenuStopIk});
  doc.saveFilter = fileFilter({"OBJファイル(*.OBJ)", "*.OBJ", "OJPファイル(*.OJP)", "*.OJP",
                               "BMPファイル(*.bmp)", "*.bmp", kGltfFilterLabel, kGltfFilterPattern});
  if (!doc.keyFrames->byNumber.empty()) ui.refreshMotionPanel();
  enableItems(ui, {kMenuFileAdd, kMenuShadowOn, kMenuShadowOff, kMenuShadowLight});
  ui.redraw();
}

}  // namespace lw
