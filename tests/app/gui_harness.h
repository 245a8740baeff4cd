// Helpers for in-process GUI tests: start and end the program's windows, pump
// messages, answer modal dialogs and message boxes from a script, and a watchdog
// that ends a dialog nobody answers so that a test fails instead of hanging.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/math.h"

namespace lw::test {

// Registers the main window class and creates every window of the program.
bool startProgram(int showCommand = SW_SHOWNORMAL);

// Destroys whatever windows of the program remain and drains the queue,
// including the quit message their destruction posts.
void endProgram();

// Dispatches every message already waiting, without blocking.
void pumpPending();

// Runs the program's message loop; a thread timer ends it with a quit message
// of kWatchdogExitCode after `timeoutMs`. Returns the loop's exit code.
inline constexpr int kWatchdogExitCode = 0x5ad;
int runLoopWithWatchdog(UINT timeoutMs);

// When the environment variable LW_HOLD_MS is set, keeps the windows up and
// responsive for that many milliseconds (time to take an X screenshot).
void holdForScreenshot();

// The samples folder (LW_SAMPLES_DIR) as a Windows path ending with '\'.
std::string samplesFolder();

// A folder beside the test program that belongs to the running test alone, so
// no test meets the files another one saved, created if missing: `prefix` and
// the test's name, as a Windows path ending with '\'.
std::string testScratchFolder(const char* prefix);

// The 3D window's frame as the program captures it: RGB rows, bottom-up.
std::vector<uint8_t> captureView();

// The UTF-16 text of a CP932 literal, for comparing with what Win32 returns.
std::wstring wide(const char* cp932);

// A class name of a window.
std::wstring windowClass(HWND window);
// The text of a window.
std::wstring windowText(HWND window);

// One step of a dialog script: when a dialog or message box whose title is
// `title` is activated, `act` runs with its handle (it may set fields and must
// end it, e.g. with pressButton).
struct DialogStep {
  std::wstring title;
  std::function<void(HWND)> act;
};

// What the script saw: each activated box's title and, for message boxes, text.
struct SeenBox {
  std::wstring title;
  std::wstring text;
};

// Answers dialogs and message boxes of this thread while it lives: steps run in
// order, each on the first activated box with its title. A box that no step
// answers within `timeoutMs` is ended by the watchdog and recorded as unanswered.
class DialogScript {
 public:
  explicit DialogScript(std::vector<DialogStep> steps, UINT timeoutMs = 5000);
  ~DialogScript();
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;

  const std::vector<SeenBox>& seen() const;
  size_t stepsLeft() const;
  int unanswered() const;

  // Scripts nest: while a newer script lives it alone answers, and when it ends
  // the one before it answers again.
  struct State;  // the harness's own bookkeeping

 private:
  State* state_;
};

// Posts a click of button `id` to a dialog or message box.
void pressButton(HWND dialog, int id);

// A step that records a message box and presses its OK button.
DialogStep acknowledge(const char* cp932Title);

// Where a world point shows in the 3D window (client pixels, y downwards),
// through the camera matrices of the last drawn frame and the window's viewport.
// Draw a frame first (e.g. UpdateWindow on the 3D window) after a camera change.
POINT viewPointOf(const Vector3& world);

// Real mouse messages to the 3D window, each followed by a repaint (so that a
// pick the move arms is taken) and by pumping the queue:
// a move to the point, then a left press and release there.
void clickView(POINT at);
// A move to `at` alone.
void hoverView(POINT at);
// A drag from `from` to `to`: a move to `from`, the press there, `steps` moves
// along the straight line to `to` with the button held, and the release at `to`.
// With rightButton the right button drags (the camera).
void dragView(POINT from, POINT to, int steps, bool rightButton = false);

}  // namespace lw::test
