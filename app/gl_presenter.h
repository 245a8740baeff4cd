// How the 3D window's OpenGL pictures reach the screen.
//
// Direct: the 3D window itself carries the pixel format and the rendering
// context; a frame ends with SwapBuffers. This is what Windows shows.
// Composited: Wine does not show OpenGL drawn on a child window, so there the
// context lives on a never-shown popup window, every frame is drawn into a
// framebuffer object the size of the 3D window's client area, and the paint
// handler reads it back (GL_BGRA) and copies it into the 3D window with
// SetDIBitsToDevice.
// Drawing, picking and capture run the same GL code on both; only the start and
// the end of a frame differ.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include <cstdint>
#include <vector>

namespace lw {

enum class PresentMode { Automatic, Direct, Composited };

// True when the program runs under Wine (ntdll exports wine_get_version).
bool isRunningUnderWine();

// Chooses the mode used by the next createPresenter: Automatic (the default)
// picks Composited under Wine and Direct elsewhere. Tests force either mode.
void setPresentMode(PresentMode mode);
// The mode last chosen with setPresentMode.
PresentMode presentMode();

struct GlPresenter {
  HWND target = nullptr;         // the 3D window
  HWND contextWindow = nullptr;  // composited: the hidden popup holding the context
  HDC dc = nullptr;              // device context that carries the pixel format
  HGLRC context = nullptr;
  bool composited = false;
  GLuint framebuffer = 0;
  GLuint colourBuffer = 0;
  GLuint depthStencilBuffer = 0;
  int width = 0;  // size of the framebuffer object
  int height = 0;
  std::vector<uint8_t> pixels;  // composited read-back, reused frame to frame
};

// Makes the device context and rendering context for `target` (pixel format:
// draw-to-window, OpenGL, GDI, double buffer, RGBA, 24 colour bits, 32 depth
// bits, 1 stencil bit) and leaves the context current. Returns false, with
// nothing left allocated, when a step fails.
bool createPresenter(GlPresenter& presenter, HWND target, HINSTANCE instance);

// Makes the presenter's context current again (after a dialog that used its own).
void makePresenterCurrent(const GlPresenter& presenter);

// Starts a frame: makes the context current and, when composited, binds a
// framebuffer object of the target's current client size (re-allocated only when
// that size changed). Returns false when no framebuffer could be made.
bool beginPresenterFrame(GlPresenter& presenter);

// Ends a frame drawn since beginPresenterFrame: SwapBuffers (direct), or read the
// framebuffer back and copy it into `paintDc`, the target's paint DC (composited).
void endPresenterFrame(GlPresenter& presenter, HDC paintDc);

// Releases the framebuffer, the context and the device context and destroys the
// popup. Returns false when the device context could not be released.
bool destroyPresenter(GlPresenter& presenter);

}  // namespace lw
