// The 3D window's side of its input state machine (edit/view_input.h): the
// window procedure hands paint, mouse and key messages to the handlers here,
// and the host below gives the state machine the window's picking passes,
// window-to-world, mouse capture, dialogs and playback.
#pragma once

#include <windows.h>

#include <functional>

namespace lw {

// WM_PAINT: begins a presenter frame, lets the state machine pick (when editMode
// is a picking value) and draw the frame, then presents it. A drawing failure
// has shown its message; the window is then sent a close message once the
// paint has ended.
void paintViewWindow(HWND window);

// Repaints the main window and its children at once; while the 3D window paints,
// `capture` runs on the frame just drawn, before it is presented (after a buffer
// swap the back buffer's content is undefined). Returns false when the 3D
// window drew no frame, and so `capture` did not run.
bool repaintCapturingView(const std::function<void()>& capture);

// WM_MOUSEMOVE, WM_LBUTTONDOWN/UP, WM_RBUTTONDOWN/UP and WM_KEYDOWN for the
// state machine (client coordinates from lParam, signed 16-bit). A drag of
// either button whose mouse capture another window takes (WM_CAPTURECHANGED)
// ends as if its button had been released. Returns false for any other message.
bool handleViewInputMessage(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace lw
