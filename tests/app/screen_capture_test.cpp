// The 3D window's picture with the sample project open: what the program's own
// BMP capture holds, in either present mode, and what reaches the X screen.
//
// ScreenCheck.* is not one of the CTest-listed tests: scripts/check_screen.sh
// runs it with LW_SCREEN_DIR set to a folder. The test opens the sample
// project, saves the 3D window's capture there as view.bmp, writes layout.txt
// (where the 3D window lies on the screen and which pixels to compare), and
// keeps the windows up until the script, having taken its X screenshot,
// creates the file "taken" in that folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/file_dialog.h"
#include "app/gl_presenter.h"
#include "app/program.h"
#include "app/win_text.h"
#include "core/command_ids.h"
#include "core/math.h"
#include "gui_harness.h"

namespace lw {
namespace {

constexpr DWORD kHoldWatchdogMs = 60000;

// A Linux path as Wine sees it, on drive Z:, ending with a separator.
std::string windowsFolder(std::string folder) {
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return "Z:" + folder;
}

FileChoice gChoice;

bool chooseTheNextFile(HWND, const FileDialogRequest&, FileChoice& choice) {
  choice = gChoice;
  return true;
}

LRESULT command(int id) { return SendMessageW(program().windows.main, WM_COMMAND, id, 0); }

void runFileCommand(int id, const std::string& folder, const std::string& title) {
  gChoice = {folder + title, title};
  const FileDialogFunction previous = chooseFile;
  chooseFile = chooseTheNextFile;
  command(id);
  chooseFile = previous;
}

// Opens a copy of the sample project (made in `folder`) and saves the 3D
// window's picture there as `bmpTitle`.
void openSampleAndCapture(const std::string& folder, const std::string& bmpTitle) {
  CreateDirectoryW(toWide(folder).c_str(), nullptr);
  const std::string samples = test::samplesFolder();
  for (const char* name : {"character.obj", "character.mtl", "character.bmp", "character.ojp"}) {
    ASSERT_TRUE(CopyFileW(toWide(samples + name).c_str(), toWide(folder + name).c_str(), FALSE))
        << name;
  }
  runFileCommand(IDM_FILE_OPEN, folder, "character.ojp");
  ASSERT_EQ(program().doc.modelLoaded, 1);
  RedrawWindow(program().windows.view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  DeleteFileW(toWide(folder + bmpTitle).c_str());
  runFileCommand(IDM_FILE_SAVE_AS, folder, bmpTitle);
}

// A 24-bit bottom-up BMP as the capture writes it.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> bytes;

  size_t rowBytes() const { return (3 * static_cast<size_t>(width) + 3) / 4 * 4; }
  // Red, green and blue of pixel (x, y), y counted from the top.
  COLORREF pixel(int x, int y) const {
    const size_t at =
        54 + rowBytes() * static_cast<size_t>(height - 1 - y) + 3 * static_cast<size_t>(x);
    return RGB(bytes[at + 2], bytes[at + 1], bytes[at]);
  }
};

// Reads the capture and checks that its size is the view's; empty on failure.
Capture readCapture(const std::string& path, int width, int height) {
  Capture capture{width, height, {}};
  FILE* file = openFileCp932(path, "rb");
  if (file == nullptr) return capture;
  unsigned char buffer[65536];
  size_t n = 0;
  while ((n = fread(buffer, 1, sizeof(buffer), file)) > 0) {
    capture.bytes.insert(capture.bytes.end(), buffer, buffer + n);
  }
  fclose(file);
  if (capture.bytes.size() != 54 + capture.rowBytes() * static_cast<size_t>(height)) {
    capture.bytes.clear();
  }
  return capture;
}

int channelDistance(COLORREF a, COLORREF b) {
  const int dr = std::abs(GetRValue(a) - GetRValue(b));
  const int dg = std::abs(GetGValue(a) - GetGValue(b));
  const int db = std::abs(GetBValue(a) - GetBValue(b));
  return dr > dg ? (dr > db ? dr : db) : (dg > db ? dg : db);
}

// The world axes are drawn unlit in pure red, green and blue.
int axisOf(COLORREF c) {
  const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  if (r > 200 && g < 60 && b < 60) return 0;
  if (g > 200 && r < 60 && b < 60) return 1;
  if (b > 200 && r < 60 && g < 60) return 2;
  return -1;
}

struct Probe {
  std::string label;
  int x = 0;
  int y = 0;
};

// The pixel of the character's body nearest the middle of the rows
// [0, visibleHeight): one whose 5x5 neighbourhood is neither background (the
// corner's colour) nor axis colour, so that it lies well inside. x is -1 when
// there is none.
Probe findBody(const Capture& capture, int visibleHeight) {
  const COLORREF background = capture.pixel(5, 5);
  auto isBody = [&](int x, int y) {
    for (int dy = -2; dy <= 2; ++dy) {
      for (int dx = -2; dx <= 2; ++dx) {
        const COLORREF c = capture.pixel(x + dx, y + dy);
        if (channelDistance(c, background) <= 8 || axisOf(c) >= 0) return false;
      }
    }
    return true;
  };
  const int cx = capture.width / 2;
  const int cy = visibleHeight / 2;
  for (int r = 0; r < cy - 2; ++r) {
    for (int y : {cy - r, cy + r}) {
      for (int x = cx - r; x <= cx + r; ++x) {
        if (x >= 2 && x < capture.width - 2 && isBody(x, y)) return {"body", x, y};
      }
    }
  }
  return {"body", -1, -1};
}

// Pixels of the capture worth comparing with the screen, in the rows
// [0, visibleHeight): a background corner; for each world axis, a pixel of
// its colour where the axis shows, as far out as it shows (the axes are drawn
// unlit, 4 units long; one seen end-on or hidden gives none); and a pixel of
// the character's body.
std::vector<Probe> chooseProbes(const Capture& capture, int visibleHeight) {
  std::vector<Probe> probes = {{"background", 5, 5}};
  const char* axisNames[] = {"x-axis", "y-axis", "z-axis"};
  for (int axis = 0; axis < 3; ++axis) {
    bool found = false;
    // From the far end inwards: the far end may lie outside the view, the
    // near part behind the character.
    for (float t = 4.0f; t > 0.2f && !found; t -= 0.25f) {
      Vector3 along;
      (axis == 0 ? along.x : axis == 1 ? along.y : along.z) = t;
      const POINT at = test::viewPointOf(along);
      for (int y = at.y - 2; y <= at.y + 2 && !found; ++y) {
        for (int x = at.x - 2; x <= at.x + 2 && !found; ++x) {
          if (x < 0 || y < 0 || x >= capture.width || y >= visibleHeight) continue;
          if (axisOf(capture.pixel(x, y)) != axis) continue;
          probes.push_back({axisNames[axis], x, y});
          found = true;
        }
      }
    }
  }
  const Probe body = findBody(capture, visibleHeight);
  if (body.x >= 0) probes.push_back(body);
  return probes;
}

// A pixel outside the 3D window: its place on the screen and its colour as
// the program painted it into `window` (frame and menu bar included).
struct OutsidePixel {
  std::string label;
  POINT screen = {};
  COLORREF colour = 0;
};

OutsidePixel windowPixel(const char* label, HWND window, POINT screen) {
  RECT frame = {};
  GetWindowRect(window, &frame);
  HDC dc = GetWindowDC(window);
  const COLORREF colour = GetPixel(dc, screen.x - frame.left, screen.y - frame.top);
  ReleaseDC(window, dc);
  return {label, screen, colour};
}

bool exists(const std::string& path) {
  return GetFileAttributesW(toWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes the layout file (through a temporary name, so the script never reads
// half of it).
bool writeLayout(const std::string& folder, const RECT& view, int visibleHeight,
                 const std::vector<Probe>& probes, const std::vector<OutsidePixel>& outside) {
  FILE* file = openFileCp932(folder + "layout.part", "wb");
  if (file == nullptr) return false;
  fprintf(file, "view %ld %ld %ld %ld %d\n", view.left, view.top, view.right - view.left,
          view.bottom - view.top, visibleHeight);
  for (const Probe& p : probes) fprintf(file, "probe %s %d %d\n", p.label.c_str(), p.x, p.y);
  for (const OutsidePixel& o : outside) {
    fprintf(file, "outside %s %ld %ld %d %d %d\n", o.label.c_str(), o.screen.x, o.screen.y,
            GetRValue(o.colour), GetGValue(o.colour), GetBValue(o.colour));
  }
  const bool written = fclose(file) == 0;
  return written && MoveFileExW(toWide(folder + "layout.part").c_str(),
                                toWide(folder + "layout.txt").c_str(), MOVEFILE_REPLACE_EXISTING);
}

class ScreenCheck : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test::startProgram()); }
  void TearDown() override { test::endProgram(); }
};

TEST_F(ScreenCheck, HoldsTheSampleProjectOnScreenForTheScreenshot) {
  const char* dir = std::getenv("LW_SCREEN_DIR");
  if (dir == nullptr || *dir == '\0') GTEST_SKIP() << "run by scripts/check_screen.sh";
  const std::string folder = windowsFolder(dir);
  ASSERT_NO_FATAL_FAILURE(openSampleAndCapture(folder, "view.bmp"));

  const ProgramWindows& w = program().windows;
  RECT view = {};
  GetClientRect(w.view, &view);
  MapWindowPoints(w.view, nullptr, reinterpret_cast<POINT*>(&view), 2);
  // The status bar lies on top of the 3D window's bottom rows.
  RECT bar = {};
  GetWindowRect(w.statusBar, &bar);
  const int visibleHeight = bar.top - view.top;
  const Capture capture =
      readCapture(folder + "view.bmp", view.right - view.left, view.bottom - view.top);
  ASSERT_FALSE(capture.bytes.empty()) << "no capture of the 3D window's size";
  ASSERT_GT(visibleHeight, capture.height / 2);

  const std::vector<Probe> probes = chooseProbes(capture, visibleHeight);
  EXPECT_NEAR(GetRValue(capture.pixel(5, 5)), 128, 1) << "the background is not the grey";
  // The sample project looks at the character from the front, under the y axis.
  EXPECT_TRUE(std::any_of(probes.begin(), probes.end(), [](const Probe& p) {
    return p.label == "y-axis";
  })) << "the capture shows no y axis";
  EXPECT_EQ(probes.back().label, "body") << "no character in the middle of the capture";

  MENUBARINFO menuBar = {};
  menuBar.cbSize = sizeof(menuBar);
  ASSERT_TRUE(GetMenuBarInfo(w.main, OBJID_MENU, 0, &menuBar));
  RECT panel = {};
  GetClientRect(w.motionPanel, &panel);
  POINT panelCorner = {panel.right - 4, panel.bottom - 4};
  ClientToScreen(w.motionPanel, &panelCorner);
  const std::vector<OutsidePixel> outside = {
      windowPixel("menu-bar", w.main,
                  {menuBar.rcBar.right - 8, (menuBar.rcBar.top + menuBar.rcBar.bottom) / 2}),
      windowPixel("panel", w.motionPanel, panelCorner),
      windowPixel("status-bar", w.statusBar,
                  {(3 * bar.left + bar.right) / 4, (bar.top + bar.bottom) / 2}),
  };
  ASSERT_TRUE(writeLayout(folder, view, visibleHeight, probes, outside));

  const DWORD end = GetTickCount() + kHoldWatchdogMs;
  while (!exists(folder + "taken")) {
    ASSERT_LT(static_cast<LONG>(GetTickCount() - end), 0) << "no screenshot was taken in time";
    test::pumpPending();
    Sleep(20);
  }
}

// The direct mode's capture reads the back buffer right after the swap; it
// must hold the same frame that the composited mode draws into its
// framebuffer object.
TEST(ScreenCapture, BothPresentModesCaptureTheSameFrameOfTheSampleProject) {
  const PresentMode runMode = presentMode();
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  const std::string folder = toCp932(current) + "\\screen_capture\\";
  Capture captures[2];
  const PresentMode modes[2] = {PresentMode::Direct, PresentMode::Composited};
  for (int i = 0; i < 2; ++i) {
    setPresentMode(modes[i]);
    const bool started = test::startProgram();
    if (started) openSampleAndCapture(folder, "view.bmp");
    captures[i] =
        readCapture(folder + "view.bmp", program().doc.clientWidth, program().doc.clientHeight);
    test::endProgram();
    setPresentMode(runMode);
    ASSERT_TRUE(started);
    if (HasFatalFailure()) return;
    ASSERT_FALSE(captures[i].bytes.empty()) << i;
  }
  const Capture& direct = captures[0];
  const Capture& composited = captures[1];
  ASSERT_EQ(direct.bytes.size(), composited.bytes.size());
  int differing = 0;
  int firstX = -1, firstY = -1;
  for (int y = 0; y < direct.height; ++y) {
    for (int x = 0; x < direct.width; ++x) {
      if (channelDistance(direct.pixel(x, y), composited.pixel(x, y)) > 2) {
        if (differing++ == 0) firstX = x, firstY = y;
      }
    }
  }
  EXPECT_EQ(differing, 0) << "first at " << firstX << "," << firstY;
  // Not two equally empty pictures: the grey background and the character.
  EXPECT_LE(channelDistance(composited.pixel(5, 5), RGB(128, 128, 128)), 1);
  EXPECT_GE(findBody(composited, composited.height).x, 0) << "no character in the capture";
}

}  // namespace
}  // namespace lw
