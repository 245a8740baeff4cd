#include "app/view_input_host.h"

#include <GL/gl.h>

#include <cstdint>
#include <string>

#include "app/dialogs.h"
#include "app/program.h"
#include "app/view_playback.h"
#include "app/win_text.h"
#include "edit/frame.h"
#include "edit/view_input.h"
#include "render/camera.h"
#include "render/picking.h"
#include "render/scene.h"

namespace lw {

namespace {

// The 3D window as the input state machine sees it. Picking and window-to-world
// run on the presenter's context in either present mode: a pass outside a
// paint begins a presenter frame of its own (which binds the composited
// framebuffer) and shows nothing, since selection mode draws no pixels.
class ViewWindowHost : public ViewInputHost {
 public:
  explicit ViewWindowHost(Program& p) : p_(p) {}

  // Between beginPaint and endPaint a close request waits for the paint to end.
  void beginPaint() {
    painting_ = true;
    closeAfterPaint_ = false;
  }
  bool endPaint() {
    painting_ = false;
    return closeAfterPaint_;
  }

  PickResult pick(int x, int y, PickChoice choice) override {
    if (!readyToDraw()) return PickResult{false, 0, -1, 0};
    setViewAndProjection(p_.doc, false);
    return pickPass(p_.doc, p_.renderState, p_.viewInput, x, y, choice);
  }

  bool drawFrame() override {
    prepareEditingFrame(p_.doc);
    setViewAndProjection(p_.doc, false);
    return drawScene(p_.doc, p_.renderState, p_.viewInput, false) == 0;
  }

  PickResult probeDepth(int x, int y) override {
    if (!readyToDraw()) return PickResult{false, 0, -1, 0};
    prepareEditingFrame(p_.doc);
    setViewAndProjection(p_.doc, false);
    return lw::probeDepth(p_.doc, p_.renderState, p_.viewInput, x, y);
  }

  int windowToWorld(int x, int y, float depth, double point[3]) override {
    if (p_.presenter.context == nullptr) {
      p_.doc.ErrorText = kWindowToWorldFailedText;
      return 1;
    }
    makePresenterCurrent(p_.presenter);
    return lw::windowToWorld(p_.doc, p_.renderState, depth, x, y, point);
  }

  void captureMouse() override { SetCapture(p_.windows.view); }
  void releaseMouse() override { ReleaseCapture(); }

  void closeWindow() override {
    if (painting_) {
      closeAfterPaint_ = true;
    } else {
      SendMessageW(p_.windows.view, WM_CLOSE, 0, 0);
    }
  }

  void dragCamera(int dx, int dy) override { lw::dragCamera(p_.doc, p_.ui, dx, dy); }

  void openVertexWeightDialog() override { showVertexWeightDialog(p_.windows.view, p_.doc); }

  void openIkStopDialog() override { showIkStopDialog(p_.windows.view, p_.doc); }

  // Dialog 109 writes the accepted name into the joint itself; the state
  // machine then renames the joint with it, which also rebuilds the bone tree.
  bool askJointName(std::string& treeName) override {
    if (showJointNameDialog(p_.windows.view, p_.doc) != IDOK) return false;
    const auto found = p_.doc.skeleton.joints.find(p_.doc.editedJointName);
    if (found == p_.doc.skeleton.joints.end()) return false;
    treeName = found->second->TreeName;
    return true;
  }

  void showViewMessage(const std::string& text, const std::string& title) override {
    showMessageBox(p_.windows.view, text, title);
  }

  void startPlayback() override { playInViewWindow(); }

 private:
  // The context is current and, when composited, its framebuffer bound.
  bool readyToDraw() {
    return p_.presenter.context != nullptr && (painting_ || beginPresenterFrame(p_.presenter));
  }

  Program& p_;
  bool painting_ = false;
  bool closeAfterPaint_ = false;
};

ViewWindowHost& host() {
  static ViewWindowHost instance(program());
  return instance;
}

ViewInputContext context() {
  Program& p = program();
  return ViewInputContext{p.doc, p.viewInput, host(), p.ui};
}

int16_t clientX(LPARAM lParam) { return static_cast<int16_t>(LOWORD(lParam)); }
int16_t clientY(LPARAM lParam) { return static_cast<int16_t>(HIWORD(lParam)); }

}  // namespace

namespace {
// The capture repaintCapturingView asks for, and whether it ran.
const std::function<void()>* gFrameCapture = nullptr;
bool gFrameCaptured = false;
}  // namespace

void paintViewWindow(HWND window) {
  Program& p = program();
  PAINTSTRUCT paint = {};
  HDC paintDc = BeginPaint(window, &paint);
  ViewWindowHost& h = host();
  h.beginPaint();
  if (p.presenter.context != nullptr && beginPresenterFrame(p.presenter)) {
    ViewInputContext ctx = context();
    handleViewPaint(ctx);
    glFinish();
    if (gFrameCapture != nullptr) {
      (*gFrameCapture)();
      gFrameCapture = nullptr;
      gFrameCaptured = true;
    }
    endPresenterFrame(p.presenter, paintDc);
  }
  const bool close = h.endPaint();
  EndPaint(window, &paint);
  if (close) SendMessageW(window, WM_CLOSE, 0, 0);
}

bool repaintCapturingView(const std::function<void()>& capture) {
  const Program& p = program();
  gFrameCapture = &capture;
  gFrameCaptured = false;
  InvalidateRect(p.windows.view, nullptr, FALSE);
  RedrawWindow(p.windows.main, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  gFrameCapture = nullptr;
  return gFrameCaptured;
}

bool handleViewInputMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  ViewInputContext ctx = context();
  switch (message) {
    case WM_MOUSEMOVE:
      handleViewMouseMove(ctx, clientX(lParam), clientY(lParam));
      return true;
    case WM_LBUTTONDOWN:
      handleViewLeftDown(ctx, clientX(lParam), clientY(lParam));
      return true;
    case WM_LBUTTONUP:
      handleViewLeftUp(ctx);
      return true;
    case WM_RBUTTONDOWN:
      handleViewRightDown(ctx, clientX(lParam), clientY(lParam));
      return true;
    case WM_RBUTTONUP:
      handleViewRightUp(ctx);
      return true;
    case WM_KEYDOWN:
      handleViewKeyDown(ctx, static_cast<int>(wParam));
      return true;
    case WM_CAPTURECHANGED:
      // Another window took the mouse (a message box, the task switcher), so
      // the release of the dragging button will never reach this window: the
      // drag ends here instead of carrying on with the button up.
      if (reinterpret_cast<HWND>(lParam) != program().windows.view) {
        if (ctx.state.dragActive) handleViewLeftUp(ctx);
        if (ctx.state.cameraDragActive) handleViewRightUp(ctx);
      }
      return true;
    default:
      return false;
  }
}

}  // namespace lw
