#include "app/view_window.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "app/dialogs.h"
#include "app/program.h"
#include "app/undo_keys.h"
#include "app/view_input_host.h"
#include "app/win_text.h"
#include "app/window_class.h"
#include "render/camera.h"
#include "render/shaders.h"
#include "resources/resource.h"

namespace lw {

namespace {

constexpr char kReleaseFailedText[] = "デバイスコンテキストの開放に失敗しました";
constexpr char kReleaseFailedTitle[] = "Limbweaver終了時エラー";
constexpr int kJointNumberFontHeight = 25;

HFONT createJointNumberFont() {
  return CreateFontW(kJointNumberFontHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                     SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                     FIXED_PITCH | FF_MODERN, toWide("MS ゴシック").c_str());
}

void onViewCreate(HWND window) {
  Program& p = program();
  createPresenter(p.presenter, window, p.instance);
  p.doc.viewElevation = 0;
  p.doc.viewAzimuth = 0;
  p.doc.editMode = Idle;
  p.doc.weightBoxShown = 0;
  p.doc.pointPickView = 0;
  p.jointNumberFont = createJointNumberFont();
  p.renderState = RenderState{};
  p.viewInput = ViewInputState{};
  if (p.presenter.context != nullptr) {
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    p.maxTextureUnits = units;
    p.jointNumbers.create(p.presenter.dc, p.jointNumberFont);
    p.renderState.textDrawer = &p.jointNumbers;
    setViewAndProjection(p.doc, false);
  }
}

void onViewDestroy() {
  Program& p = program();
  if (p.presenter.context != nullptr) {
    makePresenterCurrent(p.presenter);
    releaseShading(p.doc, p.renderState.shader);
    p.jointNumbers.destroy();
  }
  p.renderState.textDrawer = nullptr;
  if (!destroyPresenter(p.presenter)) {
    showMessageBox(nullptr, kReleaseFailedText, kReleaseFailedTitle);
  }
  if (p.jointNumberFont != nullptr) DeleteObject(p.jointNumberFont);
  p.jointNumberFont = nullptr;
  PostQuitMessage(0);
}

LRESULT CALLBACK viewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      onViewCreate(window);
      break;
    case WM_ERASEBKGND:
      return 1;  // the whole area is drawn by OpenGL
    case WM_PAINT:
      paintViewWindow(window);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDM_VERSION) showVersionDialog(window);
      break;
    case WM_DESTROY:
      onViewDestroy();
      break;
    default:
      if (message == WM_KEYDOWN && handleUndoKey(wParam)) return 0;
      recordPendingStep();
      if (handleViewInputMessage(message, wParam, lParam)) recordViewAction(message);
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void registerViewWindowClass(HINSTANCE instance) {
  registerProgramWindowClass(instance, viewWindowProc, kViewWindowClass, nullptr, L"MY_MENU");
}

HWND createViewWindow(HWND main, HINSTANCE instance, int width, int height) {
  // Clipping siblings keeps the 3D picture from painting over the status bar.
  return CreateWindowExW(0, kViewWindowClass, L"OpenGL Window",
                         WS_CHILD | WS_SYSMENU | WS_CLIPSIBLINGS, 0, 0, width, height, main,
                         reinterpret_cast<HMENU>(IDC_GL_WINDOW), instance, nullptr);
}

}  // namespace lw
