#include "edit/display_commands.h"

namespace lw {

bool setViewPreset(SceneDocument& doc, ShellUi& ui, int menuId) {
  struct Preset {
    int id;
    double elevation;
    double azimuth;
  };
  static constexpr Preset kPresets[] = {
      {kMenuViewTop, 90, 0},   {kMenuViewBottom, 270, 0}, {kMenuViewRight, 0, 270},
      {kMenuViewLeft, 0, 90},  {kMenuViewFront, 0, 0},    {kMenuViewBack, 0, 180},
  };
  for (const Preset& p : kPresets) {
    if (p.id != menuId) continue;
    doc.viewElevation = p.elevation;
    doc.viewAzimuth = p.azimuth;
    doc.viewDirection = cameraDirection(doc.viewElevation, doc.viewAzimuth);
    ui.redraw();
    return true;
  }
  return false;
}

bool setCameraDragMode(SceneDocument& doc, int menuId) {
  switch (menuId) {
    case kMenuDragRotate: doc.cameraDrag = 0; return true;
    case kMenuDragPanLeftRight: doc.cameraDrag = 1; return true;
    case kMenuDragPanUpDown: doc.cameraDrag = 2; return true;
    case kMenuDragZoom: doc.cameraDrag = 3; return true;
    default: return false;
  }
}

bool setDrawMode(SceneDocument& doc, ShellUi& ui, int menuId) {
  switch (menuId) {
    case kMenuDrawFaces:
    case kMenuDrawLines:
      doc.pointPickView = 0;
      doc.drawMode = menuId == kMenuDrawFaces ? 4 : 3;
      break;
    case kMenuDrawPoints:
      if (doc.editMode == PlaceWeightBox || doc.editMode == MoveWeightBoxFace) {
        doc.pointPickView = 1;
        doc.weightBoxShown = 1;
      } else {
        doc.drawMode = 0;
      }
      break;
    default: return false;
  }
  ui.redraw();
  return true;
}

bool toggleDisplayFlag(SceneDocument& doc, ShellUi& ui, int menuId) {
  struct Flag {
    int id;
    int32_t SceneDocument::*flag;
  };
  static constexpr Flag kFlags[] = {
      {kMenuJointNumbers, &SceneDocument::showJointNumbers},
      {kMenuBoneAxes, &SceneDocument::showBoneAxes},
      {kMenuFkAxes, &SceneDocument::showFkAxes},
      {kMenuWorldAxes, &SceneDocument::showWorldAxes},
  };
  for (const Flag& f : kFlags) {
    if (f.id != menuId) continue;
    int32_t& flag = doc.*f.flag;
    flag = flag ? 0 : 1;
    ui.checkMenuItem(menuId, flag == 1);
    ui.redraw();
    if (menuId == kMenuFkAxes) {
      for (int id : {kMenuAxisFree, kMenuAxisX, kMenuAxisY, kMenuAxisZ, kMenuAxisReversed}) {
        ui.enableMenuItem(id, flag == 1);
      }
    }
    return true;
  }
  return false;
}

bool applyDisplayToggle(SceneDocument& doc, ShellUi& ui, int menuId) {
  struct Toggle {
    int on;
    int off;
    int32_t SceneDocument::*flag;
  };
  static constexpr Toggle kToggles[] = {
      {kMenuDecorationsShow, kMenuDecorationsHide, &SceneDocument::showDecorations},
      {kMenuAntiAliasingOn, kMenuAntiAliasingOff, &SceneDocument::antiAliasing},
      {kMenuRightLightOn, kMenuRightLightOff, &SceneDocument::rightLightOn},
      {kMenuLeftLightOn, kMenuLeftLightOff, &SceneDocument::leftLightOn},
      {kMenuShadowOn, kMenuShadowOff, &SceneDocument::shadowMap},
  };
  for (const Toggle& t : kToggles) {
    if (menuId != t.on && menuId != t.off) continue;
    const bool on = menuId == t.on;
    doc.*t.flag = on ? 1 : 0;
    ui.checkMenuItem(t.on, on);
    ui.checkMenuItem(t.off, !on);
    ui.redraw();
    return true;
  }
  return false;
}

}  // namespace lw
