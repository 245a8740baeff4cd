// Animation playback in the 3D window: the Win32 side of the playback loop (the
// multimedia clock, sleeping, drawing and presenting each frame, writing frame
// files next to the program, Escape to stop early).
#pragma once

#include <windows.h>

#include <functional>

namespace lw {

// Optional calls around each played frame, for measuring the frame cost:
// `starting` before the frame is drawn, `shown` once it is on the screen.
struct PlaybackFrameWatch {
  std::function<void()> starting;
  std::function<void()> shown;
};

// Plays the armed keyframe range in the 3D window inside the current message
// (the Space key or menu IDM_PLAY) and returns when it ends; does nothing unless
// playback is armed with at least two keyframes. Each frame is drawn as the
// playback frame and shown at once; with frame saving on, the picture is also
// written to frame1.bmp, frame2.bmp, ... in the program folder (a file that
// cannot be opened is skipped). A pending Escape key press for the 3D window
// stops it after the current frame; playback stays armed. Afterwards the 3D
// window is invalidated so it is redrawn normally. Returns the frames drawn.
int playInViewWindow(const PlaybackFrameWatch& watch = {});

// True when the first key-down message waiting for a window of this thread is
// Escape (keys reach the main window or the 3D window, whichever has the
// focus); that message is then removed. Other messages stay queued for after
// playback.
bool takePendingEscape();

}  // namespace lw
