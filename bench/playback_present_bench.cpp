// Frame cost of animation playback in the real 3D window (Windows program; run
// under Wine on Linux). Opens the sample project through the Open command,
// arms the whole keyframe range and plays it several times, timing each frame
// from the start of its drawing until it is on the screen (draw + present) and
// the interval between the starts of successive frames, which the playback
// loop paces to 16 ms.
//
// Usage: playback_present_bench [composited|direct|automatic] [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/file_dialog.h"
#include "app/gl_presenter.h"
#include "app/program.h"
#include "app/view_playback.h"
#include "app/win_text.h"
#include "core/command_ids.h"

namespace {

std::string gProjectPath;

bool chooseProject(HWND, const lw::FileDialogRequest&, lw::FileChoice& choice) {
  choice = {gProjectPath, "character.ojp"};
  return true;
}

void pump() {
  MSG message = {};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// The sample files copied to a scratch folder, so that opening them writes
// nothing into the source tree. Returns the project's path.
std::string copySamples() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::string folder = lw::toCp932(temp) + "lw_playback_bench\\";
  CreateDirectoryW(lw::toWide(folder).c_str(), nullptr);
  std::string samples = std::string("Z:") + LW_SAMPLES_DIR + "/";
  std::replace(samples.begin(), samples.end(), '/', '\\');
  for (const char* name : {"character.obj", "character.mtl", "character.bmp", "character.ojp"}) {
    CopyFileW(lw::toWide(samples + name).c_str(), lw::toWide(folder + name).c_str(), FALSE);
  }
  return folder + "character.ojp";
}

double millisecondsBetween(LONGLONG from, LONGLONG to, LONGLONG frequency) {
  return 1000.0 * static_cast<double>(to - from) / static_cast<double>(frequency);
}

struct Summary {
  double mean = 0;
  double max = 0;
};

Summary summarise(const std::vector<double>& values) {
  Summary s;
  for (double v : values) {
    s.mean += v;
    s.max = std::max(s.max, v);
  }
  if (!values.empty()) s.mean /= static_cast<double>(values.size());
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string modeName = argc > 1 ? argv[1] : "composited";
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  lw::PresentMode mode = lw::PresentMode::Composited;
  if (modeName == "direct") {
    mode = lw::PresentMode::Direct;
  } else if (modeName == "automatic") {
    mode = lw::PresentMode::Automatic;
  } else if (modeName != "composited") {
    std::fprintf(stderr, "usage: playback_present_bench [composited|direct|automatic] [runs]\n");
    return 2;
  }
  lw::setPresentMode(mode);
  gProjectPath = copySamples();
  lw::chooseFile = chooseProject;

  HINSTANCE instance = GetModuleHandleW(nullptr);
  lw::registerMainWindowClass(instance);
  if (!lw::createProgramWindows(instance, SW_SHOWNORMAL)) {
    std::fprintf(stderr, "the program's windows could not be created\n");
    return 1;
  }
  pump();
  lw::Program& p = lw::program();
  SendMessageW(p.windows.main, WM_COMMAND, IDM_FILE_OPEN, 0);
  if (p.doc.modelLoaded != 1) {
    std::fprintf(stderr, "the sample project did not open: %s\n", gProjectPath.c_str());
    return 1;
  }
  SendMessageW(p.windows.main, WM_COMMAND, IDM_PLAY_ALL, 0);
  pump();

  LARGE_INTEGER frequency = {};
  QueryPerformanceFrequency(&frequency);
  std::vector<LONGLONG> starts;
  std::vector<double> costs;
  std::vector<double> intervals;
  LONGLONG frameStart = 0;
  lw::PlaybackFrameWatch watch;
  watch.starting = [&] {
    LARGE_INTEGER now = {};
    QueryPerformanceCounter(&now);
    frameStart = now.QuadPart;
    starts.push_back(now.QuadPart);
  };
  watch.shown = [&] {
    LARGE_INTEGER now = {};
    QueryPerformanceCounter(&now);
    costs.push_back(millisecondsBetween(frameStart, now.QuadPart, frequency.QuadPart));
  };

  int frames = 0;
  for (int run = 0; run < runs; ++run) {
    starts.clear();
    frames += lw::playInViewWindow(watch);
    for (size_t i = 1; i < starts.size(); ++i) {
      intervals.push_back(millisecondsBetween(starts[i - 1], starts[i], frequency.QuadPart));
    }
    pump();
  }

  // The look for a waiting Escape press between frames, with the 3D window
  // waiting to be repainted as it is during playback.
  std::vector<double> checks;
  for (int i = 0; i < 200; ++i) {
    InvalidateRect(p.windows.view, nullptr, FALSE);
    LARGE_INTEGER before = {};
    LARGE_INTEGER after = {};
    QueryPerformanceCounter(&before);
    lw::takePendingEscape();
    QueryPerformanceCounter(&after);
    checks.push_back(millisecondsBetween(before.QuadPart, after.QuadPart, frequency.QuadPart));
  }
  pump();

  const Summary cost = summarise(costs);
  const Summary check = summarise(checks);
  const Summary interval = summarise(intervals);
  std::vector<double> sorted = intervals;
  std::sort(sorted.begin(), sorted.end());
  const double medianInterval = sorted.empty() ? 0 : sorted[sorted.size() / 2];
  const size_t late = static_cast<size_t>(
      std::count_if(intervals.begin(), intervals.end(), [](double v) { return v > 17.5; }));
  RECT client = {};
  GetClientRect(p.windows.view, &client);
  std::printf("present mode: %s (composited %s), 3D window %ldx%ld\n", modeName.c_str(),
              p.presenter.composited ? "yes" : "no", client.right, client.bottom);
  std::printf("frames: %d in %d runs of the %d ms range\n", frames, runs,
              p.doc.keyFrames->byTime.rbegin()->first - p.doc.keyFrames->byTime.begin()->first);
  std::printf("draw + present per frame: mean %.2f ms, max %.2f ms\n", cost.mean, cost.max);
  std::printf("frame interval: mean %.2f ms, median %.2f ms, max %.2f ms, %zu of %zu over 17.5 ms\n",
              interval.mean, medianInterval, interval.max, late, intervals.size());
  std::printf("Escape check per frame: mean %.3f ms, max %.3f ms\n", check.mean, check.max);
  DestroyWindow(p.windows.main);
  pump();
  return 0;
}
