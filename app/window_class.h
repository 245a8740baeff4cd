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

// The class of the main window and of the 3D window: redraw on resize, the
// program's icon, arrow cursor, menu "MY_MENU", no background brush.
void registerMenuWindowClass(HINSTANCE instance, WNDPROC procedure, const wchar_t* name);

// The looks most classes share: the program's icon, the arrow cursor and the
// white stock brush.
HICON programIcon(HINSTANCE instance);
HCURSOR arrowCursor();
HBRUSH whiteBrush();

}  // namespace lw
