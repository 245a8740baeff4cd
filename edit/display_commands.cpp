#include "edit/display_commands.h"

#include "core/command_ids.h"

namespace lw {

bool setViewPreset(SceneDocument& doc, ShellUi& ui, int menuId) {
  struct Preset {
    int id;
    double elevation;
    double azimuth;
  };
  static constexpr Preset kPresets[] = {
      {IDM_VIEW_TOP, 90, 0},  {IDM_VIEW_BOTTOM, 270, 0}, {IDM_VIEW_RIGHT, 0, 270},
      {IDM_VIEW_LEFT, 0, 90}, {IDM_VIEW_FRONT, 0, 0},    {IDM_VIEW_BACK, 0, 180},
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
    case IDM_CAMERA_ROTATE:
      doc.cameraDrag = 0;
      return true;
    case IDM_CAMERA_PAN_X:
      doc.cameraDrag = 1;
      return true;
    case IDM_CAMERA_PAN_Y:
      doc.cameraDrag = 2;
      return true;
    case IDM_CAMERA_ZOOM:
      doc.cameraDrag = 3;
      return true;
    default:
      return false;
  }
}

bool setDrawMode(SceneDocument& doc, ShellUi& ui, int menuId) {
  switch (menuId) {
    case IDM_DRAW_FACES:
    case IDM_DRAW_LINES:
      doc.pointPickView = 0;
      doc.drawMode = menuId == IDM_DRAW_FACES ? 4 : 3;
      break;
    case IDM_DRAW_POINTS:
      if (doc.editMode == PlaceWeightBox || doc.editMode == MoveWeightBoxFace) {
        doc.pointPickView = 1;
        doc.weightBoxShown = 1;
      } else {
        doc.drawMode = 0;
      }
      break;
    default:
      return false;
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
      {IDM_SHOW_JOINT_NUMBERS, &SceneDocument::showJointNumbers},
      {IDM_SHOW_BONE_AXES, &SceneDocument::showBoneAxes},
      {IDM_SHOW_FK_AXES, &SceneDocument::showFkAxes},
      {IDM_SHOW_WORLD_AXES, &SceneDocument::showWorldAxes},
  };
  for (const Flag& f : kFlags) {
    if (f.id != menuId) continue;
    int32_t& flag = doc.*f.flag;
    flag = flag ? 0 : 1;
    ui.checkMenuItem(menuId, flag == 1);
    ui.redraw();
    if (menuId == IDM_SHOW_FK_AXES) {
      for (int id : {IDM_AXIS_FREE, IDM_AXIS_X, IDM_AXIS_Y, IDM_AXIS_Z, IDM_AXIS_REVERSED}) {
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
      {IDM_DECORATIONS_SHOW, IDM_DECORATIONS_HIDE, &SceneDocument::showDecorations},
      {IDM_ANTIALIAS_ON, IDM_ANTIALIAS_OFF, &SceneDocument::antiAliasing},
      {IDM_RIGHT_LIGHT_ON, IDM_RIGHT_LIGHT_OFF, &SceneDocument::rightLightOn},
      {IDM_LEFT_LIGHT_ON, IDM_LEFT_LIGHT_OFF, &SceneDocument::leftLightOn},
      {IDM_SHADOW_ON, IDM_SHADOW_OFF, &SceneDocument::shadowMap},
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
