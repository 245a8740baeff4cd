#include "app/window_class.h"

#include "resources/resource.h"

namespace lw {

void registerWindowClass(HINSTANCE instance, const WindowClass& windowClass) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = windowClass.style;
  wc.lpfnWndProc = windowClass.procedure;
  wc.hInstance = instance;
  wc.hIcon = windowClass.icon;
  wc.hCursor = windowClass.cursor;
  wc.hbrBackground = windowClass.background;
  wc.lpszMenuName = windowClass.menu;
  wc.lpszClassName = windowClass.name;
  RegisterClassExW(&wc);
}

void registerProgramWindowClass(HINSTANCE instance, WNDPROC procedure, const wchar_t* name,
                                HBRUSH background, const wchar_t* menu) {
  registerWindowClass(instance, {.name = name,
                                 .procedure = procedure,
                                 .style = CS_HREDRAW | CS_VREDRAW,
                                 .icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_LIMBWEAVER)),
                                 .cursor = arrowCursor(),
                                 .background = background,
                                 .menu = menu});
}

HCURSOR arrowCursor() { return LoadCursorW(nullptr, IDC_ARROW); }

HBRUSH whiteBrush() { return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)); }

}  // namespace lw
