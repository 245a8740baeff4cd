#include "app/view_playback.h"

#include <mmsystem.h>

#include <GL/gl.h>

#include <cstdio>
#include <string>

#include "anim/playback.h"
#include "app/gl_presenter.h"
#include "app/program.h"
#include "app/win_text.h"
#include "edit/frame.h"
#include "render/camera.h"
#include "render/capture.h"
#include "render/scene.h"

namespace lw {

namespace {

// How often playback looks for a waiting Escape press. The look costs a trip
// through the message queue, which is slow under Wine; ten times a second is
// quick enough for the user.
constexpr uint32_t kEscapeCheckPeriodMs = 100;

// Requests 1 ms timer resolution for as long as it lives, so that the clock
// readings and the sleeps between frames are exact to the millisecond.
class TimerResolution {
 public:
  TimerResolution() : granted_(timeBeginPeriod(1) == TIMERR_NOERROR) {}
  ~TimerResolution() {
    if (granted_) timeEndPeriod(1);
  }
  TimerResolution(const TimerResolution&) = delete;
  TimerResolution& operator=(const TimerResolution&) = delete;

 private:
  bool granted_;
};

// Shows the frame drawn last in the 3D window. Composited frames are copied
// through a window DC because no paint message is handled during playback.
void presentFrame(Program& p) {
  if (p.presenter.composited) {
    HDC dc = GetDC(p.windows.view);
    if (dc == nullptr) return;
    endPresenterFrame(p.presenter, dc);
    ReleaseDC(p.windows.view, dc);
  } else {
    endPresenterFrame(p.presenter, nullptr);
  }
}

// The Win32 side of one playback. While frames are saved, a drawn frame is
// shown only after its file is written, so the capture reads the picture just
// drawn whatever the buffer swap leaves behind.
struct ViewPlayback {
  Program& p;
  const PlaybackFrameWatch& watch;
  std::string folder = programFolder();
  bool drawn = false;     // the last frame was drawn without error
  bool unshown = false;   // ... and waits to be shown after its capture
  bool escapeChecked = false;
  uint32_t lastEscapeCheck = 0;

  void draw() {
    if (watch.starting) watch.starting();
    drawn = beginPresenterFrame(p.presenter);
    if (!drawn) return;
    preparePlaybackFrame(p.doc);
    setViewAndProjection(p.doc, false);
    drawPlaybackFrame(p.doc, p.renderState);
    glFinish();
    if (p.doc.saveFramesAsBmp == 1) {
      unshown = true;
    } else {
      show();
    }
  }

  void show() {
    presentFrame(p);
    if (watch.shown) watch.shown();
  }

  void save(int number) {
    if (drawn) {
      writeFrameBmp(p.doc.clientHeight, p.doc.clientWidth, playbackFrameFileName(folder, number));
    }
    showPending();
  }

  // After the first frame and then every kEscapeCheckPeriodMs.
  bool escapePressed() {
    const uint32_t now = timeGetTime();
    if (escapeChecked && now - lastEscapeCheck < kEscapeCheckPeriodMs) return false;
    escapeChecked = true;
    lastEscapeCheck = now;
    return takePendingEscape();
  }

  void showPending() {
    if (!unshown) return;
    unshown = false;
    show();
  }
};

}  // namespace

bool takePendingEscape() {
  MSG message = {};
  if (!PeekMessageW(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE | PM_NOYIELD)) {
    return false;
  }
  if (message.wParam != VK_ESCAPE) return false;
  PeekMessageW(&message, message.hwnd, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE | PM_NOYIELD);
  return true;
}

int playInViewWindow(const PlaybackFrameWatch& watch) {
  Program& p = program();
  if (!canPlay(p.doc) || p.presenter.context == nullptr) return 0;
  HWND view = p.windows.view;
  ViewPlayback run{p, watch};
  int frames = 0;
  {
    TimerResolution resolution;
    PlaybackHost host;
    host.now = [] { return static_cast<uint32_t>(timeGetTime()); };
    host.sleep = [](uint32_t ms) { Sleep(ms); };
    host.drawFrame = [&run] { run.draw(); };
    host.saveFrame = [&run](int number) { run.save(number); };
    host.stopRequested = [&run] { return run.escapePressed(); };
    frames = playAnimation(p.doc, host);
    run.showPending();  // the last frame is drawn but never saved
  }
  InvalidateRect(view, nullptr, FALSE);
  return frames;
}

}  // namespace lw
