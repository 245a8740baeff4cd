// The "Hermite Function" window of the interpolation dialog: a small top-level
// window that draws the Hermite curve two slopes give, from (0, 0) to
// (0.5, 0.5) inside a white square, with the two end tangents in green. It has
// a pixel format and rendering context of its own; every paint makes its
// context current and then makes the 3D window's context current again.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include "anim/interpolation.h"

namespace lw {

inline constexpr wchar_t kHermitePreviewClass[] = L"HermiteFunction";

// Registers the class (once) and creates the 200 x 200 window, hidden, with its
// own context (RGBA, 24 colour bits, 32 depth bits, double-buffered). The 3D
// window's context is current again afterwards. Returns null when the window or
// its context could not be made (the dialog then works without a preview).
HWND createHermitePreviewWindow(HINSTANCE instance);

// The window's own rendering context (null for a window this file did not make).
HGLRC hermitePreviewContext(HWND preview);

// Shows the curve for the two slopes: the window is hidden, moved beside
// `beside` (right of it, or left when the right would leave the screen's work
// area), shown and repainted. Its close box only hides it;
// destroyHermitePreviewWindow ends it.
void showHermitePreview(HWND preview, HWND beside, double startSpeed, double endSpeed);

// Destroys the window, its context and its device context; null is ignored.
void destroyHermitePreviewWindow(HWND preview);

}  // namespace lw
