#include "app/gl_presenter.h"

#include <GL/glext.h>

#include "app/window_class.h"
#include "render/gl_loader.h"

namespace lw {

namespace {

PresentMode gPresentMode = PresentMode::Automatic;

constexpr wchar_t kContextWindowClass[] = L"lwGlContextWindow";

// Framebuffer-object entry points, fetched once the context is current.
struct FramebufferApi {
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
  PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
  PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
};
FramebufferApi gFbo;

template <typename T>
bool loadEntry(T& entry, const char* name) {
  entry = reinterpret_cast<T>(reinterpret_cast<void*>(wglGetProcAddress(name)));
  return entry != nullptr;
}

// The loader render/ fetches its GL 2.0 entry points through. Some drivers
// answer an unknown name with 1, 2, 3 or -1 instead of null.
GlProc wglProcAddress(const char* name) {
  const PROC proc = wglGetProcAddress(name);
  const auto value = reinterpret_cast<intptr_t>(proc);
  if (value >= -1 && value <= 3) return nullptr;
  return reinterpret_cast<GlProc>(reinterpret_cast<void*>(proc));
}

bool loadFramebufferApi() {
  return loadEntry(gFbo.genFramebuffers, "glGenFramebuffers") &&
         loadEntry(gFbo.deleteFramebuffers, "glDeleteFramebuffers") &&
         loadEntry(gFbo.bindFramebuffer, "glBindFramebuffer") &&
         loadEntry(gFbo.genRenderbuffers, "glGenRenderbuffers") &&
         loadEntry(gFbo.deleteRenderbuffers, "glDeleteRenderbuffers") &&
         loadEntry(gFbo.bindRenderbuffer, "glBindRenderbuffer") &&
         loadEntry(gFbo.renderbufferStorage, "glRenderbufferStorage") &&
         loadEntry(gFbo.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
         loadEntry(gFbo.checkFramebufferStatus, "glCheckFramebufferStatus");
}

bool setPixelFormat(HDC dc) {
  PIXELFORMATDESCRIPTOR pfd = {};
  pfd.nSize = sizeof(pfd);
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_SUPPORT_GDI | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = 24;
  pfd.cDepthBits = 32;
  pfd.cStencilBits = 1;
  pfd.iLayerType = PFD_MAIN_PLANE;
  const int format = ChoosePixelFormat(dc, &pfd);
  return format != 0 && SetPixelFormat(dc, format, &pfd);
}

HWND createContextWindow(HINSTANCE instance) {
  registerWindowClass(
      instance, {.name = kContextWindowClass, .procedure = DefWindowProcW, .style = CS_OWNDC});
  return CreateWindowExW(0, kContextWindowClass, L"", WS_POPUP, 0, 0, 16, 16, nullptr, nullptr,
                         instance, nullptr);
}

void releaseFramebuffer(GlPresenter& p) {
  if (p.framebuffer != 0) gFbo.deleteFramebuffers(1, &p.framebuffer);
  if (p.colourBuffer != 0) gFbo.deleteRenderbuffers(1, &p.colourBuffer);
  if (p.depthStencilBuffer != 0) gFbo.deleteRenderbuffers(1, &p.depthStencilBuffer);
  p.framebuffer = p.colourBuffer = p.depthStencilBuffer = 0;
  p.width = p.height = 0;
}

bool allocateFramebuffer(GlPresenter& p, int width, int height) {
  releaseFramebuffer(p);
  gFbo.genFramebuffers(1, &p.framebuffer);
  gFbo.genRenderbuffers(1, &p.colourBuffer);
  gFbo.genRenderbuffers(1, &p.depthStencilBuffer);
  gFbo.bindFramebuffer(GL_FRAMEBUFFER, p.framebuffer);
  gFbo.bindRenderbuffer(GL_RENDERBUFFER, p.colourBuffer);
  gFbo.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  gFbo.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                               p.colourBuffer);
  gFbo.bindRenderbuffer(GL_RENDERBUFFER, p.depthStencilBuffer);
  gFbo.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  gFbo.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                               p.depthStencilBuffer);
  if (gFbo.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    gFbo.bindFramebuffer(GL_FRAMEBUFFER, 0);
    releaseFramebuffer(p);
    return false;
  }
  p.width = width;
  p.height = height;
  p.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  return true;
}

void copyPixelsToWindow(GlPresenter& p, HDC paintDc) {
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, p.width, p.height, GL_BGRA, GL_UNSIGNED_BYTE, p.pixels.data());
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = p.width;
  info.bmiHeader.biHeight = p.height;  // bottom-up, like GL rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(paintDc, 0, 0, static_cast<DWORD>(p.width), static_cast<DWORD>(p.height), 0,
                    0, 0, static_cast<UINT>(p.height), p.pixels.data(), &info, DIB_RGB_COLORS);
}

}  // namespace

bool isRunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

void setPresentMode(PresentMode mode) { gPresentMode = mode; }

PresentMode presentMode() { return gPresentMode; }

bool createPresenter(GlPresenter& p, HWND target, HINSTANCE instance) {
  p = GlPresenter{};
  p.target = target;
  p.composited = gPresentMode == PresentMode::Composited ||
                 (gPresentMode == PresentMode::Automatic && isRunningUnderWine());
  HWND dcWindow = target;
  if (p.composited) {
    p.contextWindow = createContextWindow(instance);
    if (p.contextWindow == nullptr) return false;
    dcWindow = p.contextWindow;
  }
  p.dc = GetDC(dcWindow);
  if (p.dc != nullptr && setPixelFormat(p.dc)) p.context = wglCreateContext(p.dc);
  const bool ready = p.context != nullptr && wglMakeCurrent(p.dc, p.context) &&
                     (!p.composited || loadFramebufferApi());
  if (!ready) {
    destroyPresenter(p);
    return false;
  }
  setGlProcLoader(wglProcAddress);
  return true;
}

void makePresenterCurrent(const GlPresenter& p) {
  if (p.context != nullptr) wglMakeCurrent(p.dc, p.context);
}

bool beginPresenterFrame(GlPresenter& p) {
  makePresenterCurrent(p);
  if (!p.composited) return true;
  RECT client = {};
  GetClientRect(p.target, &client);
  const int width = client.right > 0 ? client.right : 1;
  const int height = client.bottom > 0 ? client.bottom : 1;
  if (p.framebuffer == 0 || width != p.width || height != p.height) {
    return allocateFramebuffer(p, width, height);
  }
  gFbo.bindFramebuffer(GL_FRAMEBUFFER, p.framebuffer);
  return true;
}

void endPresenterFrame(GlPresenter& p, HDC paintDc) {
  if (p.composited) {
    if (p.framebuffer != 0) copyPixelsToWindow(p, paintDc);
  } else {
    SwapBuffers(p.dc);
  }
}

bool destroyPresenter(GlPresenter& p) {
  if (p.context != nullptr) {
    wglMakeCurrent(p.dc, p.context);
    if (p.composited) releaseFramebuffer(p);
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(p.context);
  }
  bool released = true;
  if (p.dc != nullptr) {
    released = ReleaseDC(p.composited ? p.contextWindow : p.target, p.dc) != 0;
  }
  if (p.contextWindow != nullptr) DestroyWindow(p.contextWindow);
  p = GlPresenter{};
  return released;
}

}  // namespace lw
