// The "Hermite Function" preview window and its own OpenGL context.
#include "app/hermite_preview.h"

#include "app/gl_presenter.h"
#include "app/program.h"
#include "app/window_class.h"
#include "render/hermite_preview.h"

namespace lw {

namespace {

constexpr int kPreviewSize = 200;

struct PreviewWindow {
  HDC dc = nullptr;
  HGLRC context = nullptr;
  HermitePreview curve;
};

PreviewWindow* previewOf(HWND window) {
  return reinterpret_cast<PreviewWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool setPreviewPixelFormat(HDC dc) {
  PIXELFORMATDESCRIPTOR pfd = {};
  pfd.nSize = sizeof(pfd);
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = 24;
  pfd.cDepthBits = 32;
  pfd.iLayerType = PFD_MAIN_PLANE;
  const int format = ChoosePixelFormat(dc, &pfd);
  return format != 0 && SetPixelFormat(dc, format, &pfd);
}

void onPreviewPaint(HWND window) {
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  if (PreviewWindow* preview = previewOf(window)) {
    if (wglMakeCurrent(preview->dc, preview->context)) {
      RECT client;
      GetClientRect(window, &client);
      drawHermitePreview(preview->curve, client.right, client.bottom);
      glFlush();
      SwapBuffers(preview->dc);
    }
    makePresenterCurrent(program().presenter);
  }
  EndPaint(window, &paint);
}

void releasePreview(HWND window) {
  PreviewWindow* preview = previewOf(window);
  if (preview == nullptr) return;
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (preview->context != nullptr) {
    if (wglGetCurrentContext() == preview->context) {
      wglMakeCurrent(nullptr, nullptr);
      makePresenterCurrent(program().presenter);
    }
    wglDeleteContext(preview->context);
  }
  if (preview->dc != nullptr) ReleaseDC(window, preview->dc);
  delete preview;
}

LRESULT CALLBACK previewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      onPreviewPaint(window);
      return 0;
    case WM_ERASEBKGND:
      // The whole client area is drawn by OpenGL.
      return previewOf(window) != nullptr ? 1 : DefWindowProcW(window, message, wParam, lParam);
    case WM_CLOSE:
      // The window belongs to the interpolation dialog, which destroys it when
      // it ends; closing it only hides it until the curve is asked for again.
      ShowWindow(window, SW_HIDE);
      return 0;
    case WM_NCDESTROY:
      releasePreview(window);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void registerPreviewClass(HINSTANCE instance) {
  // CS_OWNDC keeps the device context that carries the pixel format for the
  // window's whole life.
  registerWindowClass(instance, {.name = kHermitePreviewClass,
                                 .procedure = previewWindowProc,
                                 .style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC,
                                 .cursor = arrowCursor(),
                                 .background = whiteBrush()});
}

// Moves `window` next to `beside`, tops aligned: to its right, or to its left
// when the right side would leave the work area of beside's monitor.
void placeBeside(HWND window, HWND beside) {
  RECT anchor = {};
  RECT own = {};
  if (!GetWindowRect(beside, &anchor) || !GetWindowRect(window, &own)) return;
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(beside, MONITOR_DEFAULTTONEAREST), &monitor);
  const LONG width = own.right - own.left;
  LONG left = anchor.right;
  if (left + width > monitor.rcWork.right && anchor.left - width >= monitor.rcWork.left) {
    left = anchor.left - width;
  }
  SetWindowPos(window, nullptr, left, anchor.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

HWND createHermitePreviewWindow(HINSTANCE instance) {
  registerPreviewClass(instance);
  HWND window = CreateWindowExW(0, kHermitePreviewClass, L"Hermite Function",
                                WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                CW_USEDEFAULT, kPreviewSize, kPreviewSize, nullptr, nullptr,
                                instance, nullptr);
  if (window == nullptr) return nullptr;
  auto* preview = new PreviewWindow;
  hermitePreview(0, 0, preview->curve);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(preview));
  preview->dc = GetDC(window);
  if (preview->dc != nullptr && setPreviewPixelFormat(preview->dc)) {
    preview->context = wglCreateContext(preview->dc);
  }
  makePresenterCurrent(program().presenter);
  if (preview->context == nullptr) {
    DestroyWindow(window);
    return nullptr;
  }
  return window;
}

HGLRC hermitePreviewContext(HWND preview) {
  if (preview == nullptr || !IsWindow(preview)) return nullptr;
  const PreviewWindow* state = previewOf(preview);
  return state != nullptr ? state->context : nullptr;
}

void showHermitePreview(HWND preview, HWND beside, double startSpeed, double endSpeed) {
  if (preview == nullptr) return;
  if (PreviewWindow* state = previewOf(preview)) hermitePreview(startSpeed, endSpeed, state->curve);
  // Shown without taking the focus from the dialog, where the speeds are typed.
  ShowWindow(preview, SW_HIDE);
  placeBeside(preview, beside);
  ShowWindow(preview, SW_SHOWNA);
  InvalidateRect(preview, nullptr, FALSE);
  UpdateWindow(preview);
}

void destroyHermitePreviewWindow(HWND preview) {
  if (preview != nullptr && IsWindow(preview)) DestroyWindow(preview);
}

}  // namespace lw
