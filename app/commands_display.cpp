// Menu commands that change what the 3D window shows and how: view presets,
// camera drag modes, drawing mode, display toggles, decorations, anti-aliasing,
// shadow, lights, shading programs, background colour and the version dialog.
#include "app/commands.h"
#include "app/dialogs.h"
#include "app/file_dialog.h"
#include "app/program.h"
#include "render/shaders.h"
#include "resources/resource.h"

namespace lw {

namespace {

void redrawView() { InvalidateRect(program().windows.view, nullptr, FALSE); }

void setViewPreset(double elevation, double azimuth) {
  SceneDocument& doc = program().doc;
  doc.viewElevation = elevation;
  doc.viewAzimuth = azimuth;
  doc.viewDirection = cameraDirection(elevation, azimuth);
  redrawView();
}

void setDrawMode(int mode) {
  SceneDocument& doc = program().doc;
  doc.pointPickView = 0;
  doc.drawMode = mode;
  redrawView();
}

void drawPoints() {
  SceneDocument& doc = program().doc;
  if (doc.editMode == PlaceWeightBox || doc.editMode == MoveWeightBoxFace) {
    doc.pointPickView = 1;
    doc.weightBoxShown = 1;
  } else {
    doc.drawMode = 0;
  }
  redrawView();
}

// Flips a display flag and the check mark of its item.
void toggle(int32_t& flag, int id) {
  flag = flag ? 0 : 1;
  program().ui.checkMenuItem(id, flag == 1);
  redrawView();
}

void toggleFkAxes() {
  WinShellUi& ui = program().ui;
  toggle(program().doc.showFkAxes, IDM_SHOW_FK_AXES);
  const bool on = program().doc.showFkAxes == 1;
  for (int id : {IDM_AXIS_FREE, IDM_AXIS_X, IDM_AXIS_Y, IDM_AXIS_Z, IDM_AXIS_REVERSED}) {
    ui.enableMenuItem(id, on);
  }
}

// One item of a checked pair: the flag takes `value`, `chosen` is checked and
// `other` unchecked.
void choose(int32_t& flag, int32_t value, int chosen, int other) {
  flag = value;
  program().ui.checkMenuItem(chosen, true);
  program().ui.checkMenuItem(other, false);
  redrawView();
}

// The shader source files of the custom shading choice, through the open dialog.
class ShaderFileDialog : public ShaderFileChooser {
 public:
  bool chooseFile(const std::string& filterLabel, const std::string& pattern, std::string& path,
                  std::string& title) override {
    FileDialogRequest request;
    request.title = "ファイルを開く";
    request.filter = fileFilter({filterLabel.c_str(), pattern.c_str()});
    request.flags = OFN_FILEMUSTEXIST;
    FileChoice choice;
    if (!lw::chooseFile(program().windows.main, request, choice)) return false;
    path = choice.path;
    title = choice.title;
    return true;
  }
};

void chooseShading(int id) {
  Program& p = program();
  makePresenterCurrent(p.presenter);
  if (id == IDM_SHADING_TOON) {
    chooseToonShading(p.doc, p.renderState.shader, programFolder(), p.ui);
  } else if (id == IDM_SHADING_OFF) {
    chooseNoShading(p.doc, p.renderState.shader, p.ui);
  } else {
    ShaderFileDialog dialog;
    chooseCustomShading(p.doc, p.renderState.shader, dialog, p.ui);
  }
}

void runDialogThenRedraw(INT_PTR (*dialog)(HWND, SceneDocument&)) {
  dialog(program().windows.main, program().doc);
  redrawView();
}

}  // namespace

bool runDisplayCommand(int id) {
  SceneDocument& doc = program().doc;
  switch (id) {
    case IDM_VIEW_TOP: setViewPreset(90, 0); break;
    case IDM_VIEW_BOTTOM: setViewPreset(270, 0); break;
    case IDM_VIEW_RIGHT: setViewPreset(0, 270); break;
    case IDM_VIEW_LEFT: setViewPreset(0, 90); break;
    case IDM_VIEW_FRONT: setViewPreset(0, 0); break;
    case IDM_VIEW_BACK: setViewPreset(0, 180); break;
    case IDM_CAMERA_ROTATE: doc.cameraDrag = 0; break;
    case IDM_CAMERA_PAN_X: doc.cameraDrag = 1; break;
    case IDM_CAMERA_PAN_Y: doc.cameraDrag = 2; break;
    case IDM_CAMERA_ZOOM: doc.cameraDrag = 3; break;
    case IDM_DRAW_FACES: setDrawMode(4); break;
    case IDM_DRAW_LINES: setDrawMode(3); break;
    case IDM_DRAW_POINTS: drawPoints(); break;
    case IDM_SHOW_JOINT_NUMBERS: toggle(doc.showJointNumbers, id); break;
    case IDM_SHOW_BONE_AXES: toggle(doc.showBoneAxes, id); break;
    case IDM_SHOW_FK_AXES: toggleFkAxes(); break;
    case IDM_SHOW_WORLD_AXES: toggle(doc.showWorldAxes, id); break;
    case IDM_DECORATIONS_SHOW: choose(doc.showDecorations, 1, id, IDM_DECORATIONS_HIDE); break;
    case IDM_DECORATIONS_HIDE: choose(doc.showDecorations, 0, id, IDM_DECORATIONS_SHOW); break;
    case IDM_ANTIALIAS_ON: choose(doc.antiAliasing, 1, id, IDM_ANTIALIAS_OFF); break;
    case IDM_ANTIALIAS_OFF: choose(doc.antiAliasing, 0, id, IDM_ANTIALIAS_ON); break;
    case IDM_SHADOW_ON: choose(doc.shadowMap, 1, id, IDM_SHADOW_OFF); break;
    case IDM_SHADOW_OFF: choose(doc.shadowMap, 0, id, IDM_SHADOW_ON); break;
    case IDM_RIGHT_LIGHT_ON: choose(doc.rightLightOn, 1, id, IDM_RIGHT_LIGHT_OFF); break;
    case IDM_RIGHT_LIGHT_OFF: choose(doc.rightLightOn, 0, id, IDM_RIGHT_LIGHT_ON); break;
    case IDM_LEFT_LIGHT_ON: choose(doc.leftLightOn, 1, id, IDM_LEFT_LIGHT_OFF); break;
    case IDM_LEFT_LIGHT_OFF: choose(doc.leftLightOn, 0, id, IDM_LEFT_LIGHT_ON); break;
    case IDM_SHADOW_LIGHT: runDialogThenRedraw(showShadowLightDialog); break;
    case IDM_BACKGROUND: runDialogThenRedraw(showBackgroundDialog); break;
    case IDM_RIGHT_LIGHT_RGBA:
    case IDM_LEFT_LIGHT_RGBA: runDialogThenRedraw(showLightColourDialog); break;
    case IDM_SHADING_TOON:
    case IDM_SHADING_OFF:
    case IDM_SHADING_CUSTOM: chooseShading(id); break;
    case IDM_VERSION:
      SendMessageW(program().windows.view, WM_COMMAND, static_cast<WPARAM>(id), 0);
      break;
    default:
      return false;
  }
  return true;
}

}  // namespace lw
