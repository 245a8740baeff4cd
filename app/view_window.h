// The 3D window ("wOpenGL", child 500 of the main window): owns the OpenGL
// rendering context through the presenter, draws only in its paint handler and
// feeds its mouse and key messages to the input state machine.
#pragma once

#include <windows.h>

namespace lw {

// Registers "wOpenGL" (a repeated registration fails harmlessly).
void registerViewWindowClass(HINSTANCE instance);

// Creates the 3D window at (0, 0) with the given size as child 500 of `main`.
// Its creation makes the rendering context and the joint-number font.
HWND createViewWindow(HWND main, HINSTANCE instance, int width, int height);

}  // namespace lw
