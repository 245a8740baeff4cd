// Menu commands that change what the 3D window shows and how: view presets,
// camera drag modes, drawing mode, display toggles, decorations, anti-aliasing,
// shadow, lights, shading programs, background colour and the version dialog.
#include "app/commands.h"
#include "app/dialogs.h"
#include "app/file_dialog.h"
#include "app/program.h"
#include "edit/display_commands.h"
#include "render/shaders.h"
#include "resources/resource.h"

namespace lw {

namespace {

void redrawView() { InvalidateRect(program().windows.view, nullptr, FALSE); }

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
  ShellUi& ui = program().ui;
  if (setViewPreset(doc, ui, id) || setCameraDragMode(doc, id) || setDrawMode(doc, ui, id) ||
      toggleDisplayFlag(doc, ui, id) || applyDisplayToggle(doc, ui, id)) {
    return true;
  }
  switch (id) {
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
