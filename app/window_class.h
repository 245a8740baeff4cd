// Registration of the program's window classes: each window names only what
// sets its class apart, and the class record is filled in here.
#pragma once

#include <windows.h>

namespace lw {

// A window class as its window sees it. Whatever is left out stays empty: no
// class style, icon, cursor, background brush or menu.
struct WindowClass {
  const wchar_t* name = nullptr;
  WNDPROC procedure = nullptr;
  UINT style = 0;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  const wchar_t* menu = nullptr;
};

// Registers `windowClass` for `instance`; registering a name again fails
// harmlessly.
void registerWindowClass(HINSTANCE instance, const WindowClass& windowClass);

// The class of one of the program's own windows (the main window, the 3D
// window, the motion panel, the bone tree): redraw on resize, the program's
// icon, arrow cursor, and the background brush and menu name given.
void registerProgramWindowClass(HINSTANCE instance, WNDPROC procedure, const wchar_t* name,
                                HBRUSH background, const wchar_t* menu);

// The arrow cursor and the white stock brush, which several classes use.
HCURSOR arrowCursor();
HBRUSH whiteBrush();

}  // namespace lw
