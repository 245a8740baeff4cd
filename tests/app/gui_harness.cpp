#include "gui_harness.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>

#include "app/program.h"
#include "app/view_input_host.h"
#include "app/win_text.h"

namespace lw::test {

struct DialogScript::State {
  std::vector<DialogStep> steps;
  size_t next = 0;
  std::vector<SeenBox> seen;
  std::map<HWND, DWORD> openSince;  // open boxes and since when (for the watchdog)
  std::set<HWND> recorded;          // boxes already in `seen`
  std::vector<HWND> activated;      // activated since the last tick
  int unanswered = 0;
  UINT timeoutMs = 0;
  State* outer = nullptr;  // the script that answered before this one
};

namespace {

constexpr UINT kScriptTickMs = 20;

DialogScript::State* gScript = nullptr;  // the script that answers now
// One hook and one timer serve whichever script answers; they live while any does.
HHOOK gScriptHook = nullptr;
UINT_PTR gScriptTimer = 0;

bool isDialogBox(HWND window) { return windowClass(window) == L"#32770"; }

// Activation comes before a message box has its text, so the hook only notes
// the box; the script's timer, which runs inside the box's modal loop, reads it
// and runs the step.
LRESULT CALLBACK scriptHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && gScript != nullptr) {
    HWND box = reinterpret_cast<HWND>(wParam);
    if (isDialogBox(box)) gScript->activated.push_back(box);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void answerActivatedBoxes() {
  std::vector<HWND> boxes;
  boxes.swap(gScript->activated);
  for (HWND box : boxes) {
    if (!IsWindow(box)) continue;
    if (gScript->recorded.insert(box).second) {
      wchar_t text[1024] = {};
      GetDlgItemTextW(box, 0xFFFF, text, 1024);
      gScript->seen.push_back({windowText(box), text});
    }
    if (gScript->next < gScript->steps.size() &&
        gScript->steps[gScript->next].title == windowText(box)) {
      gScript->steps[gScript->next++].act(box);
    }
  }
}

BOOL CALLBACK endStaleBox(HWND window, LPARAM) {
  if (!isDialogBox(window) || !IsWindowVisible(window)) return TRUE;
  auto [it, added] = gScript->openSince.emplace(window, GetTickCount());
  if (!added && GetTickCount() - it->second > gScript->timeoutMs) {
    ++gScript->unanswered;
    EndDialog(window, IDCANCEL);
  }
  return TRUE;
}

void CALLBACK scriptTick(HWND, UINT, UINT_PTR, DWORD) {
  if (gScript == nullptr) return;
  answerActivatedBoxes();
  std::erase_if(gScript->openSince, [](const auto& entry) { return !IsWindow(entry.first); });
  std::erase_if(gScript->recorded, [](HWND box) { return !IsWindow(box); });
  EnumThreadWindows(GetCurrentThreadId(), endStaleBox, 0);
}

void CALLBACK loopWatchdog(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(kWatchdogExitCode); }

LPARAM clientPoint(POINT at) {
  return MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(at.x)),
                    static_cast<WORD>(static_cast<int16_t>(at.y)));
}

// Sends one mouse message to the 3D window, lets it repaint and drains the queue
// (a dialog the message opens runs its own loop inside SendMessage).
void sendMouse(UINT message, WPARAM keys, POINT at) {
  HWND view = program().windows.view;
  SendMessageW(view, message, keys, clientPoint(at));
  UpdateWindow(view);
  pumpPending();
}

}  // namespace

bool startProgram(int showCommand) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  registerMainWindowClass(instance);
  const bool created = createProgramWindows(instance, showCommand);
  pumpPending();
  return created;
}

void endProgram() {
  ProgramWindows& w = program().windows;
  for (HWND window : {w.main, w.motionPanel, w.boneTree}) {
    if (window != nullptr && IsWindow(window)) DestroyWindow(window);
  }
  pumpPending();
}

void pumpPending() {
  MSG message = {};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

int runLoopWithWatchdog(UINT timeoutMs) {
  const UINT_PTR timer = SetTimer(nullptr, 0, timeoutMs, loopWatchdog);
  const int code = runMessageLoop();
  KillTimer(nullptr, timer);
  return code;
}

void holdForScreenshot() {
  const char* hold = std::getenv("LW_HOLD_MS");
  if (hold == nullptr) return;
  const DWORD end = GetTickCount() + static_cast<DWORD>(std::atoi(hold));
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    pumpPending();
    Sleep(10);
  }
}

std::string samplesFolder() {
  std::string folder = std::string("Z:") + LW_SAMPLES_DIR + "/";
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  return folder;
}

std::string testScratchFolder(const char* prefix) {
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  const std::string folder = toCp932(current) + "\\" + prefix + "_" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                             "\\";
  CreateDirectoryW(toWide(folder).c_str(), nullptr);
  return folder;
}

std::vector<uint8_t> captureView() {
  const SceneDocument& doc = program().doc;
  std::vector<uint8_t> pixels(static_cast<size_t>(doc.clientWidth) * doc.clientHeight * 3);
  EXPECT_TRUE(repaintCapturingView([&] {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, doc.clientWidth, doc.clientHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  }));
  return pixels;
}

std::wstring wide(const char* cp932) { return toWide(cp932); }

std::wstring windowClass(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring windowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

DialogScript::DialogScript(std::vector<DialogStep> steps, UINT timeoutMs) : state_(new State) {
  state_->steps = std::move(steps);
  state_->timeoutMs = timeoutMs;
  if (gScript == nullptr) {
    gScriptHook = SetWindowsHookExW(WH_CBT, scriptHook, nullptr, GetCurrentThreadId());
    gScriptTimer = SetTimer(nullptr, 0, kScriptTickMs, scriptTick);
  }
  state_->outer = gScript;
  gScript = state_;
}

DialogScript::~DialogScript() {
  // Unlinked wherever it stands, in case scripts end out of order.
  for (State** link = &gScript; *link != nullptr; link = &(*link)->outer) {
    if (*link == state_) {
      *link = state_->outer;
      break;
    }
  }
  delete state_;
  if (gScript == nullptr) {
    UnhookWindowsHookEx(gScriptHook);
    KillTimer(nullptr, gScriptTimer);
    gScriptHook = nullptr;
    gScriptTimer = 0;
  }
}

const std::vector<SeenBox>& DialogScript::seen() const { return state_->seen; }
size_t DialogScript::stepsLeft() const { return state_->steps.size() - state_->next; }
int DialogScript::unanswered() const { return state_->unanswered; }

void pressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

DialogStep acknowledge(const char* cp932Title) {
  return {wide(cp932Title), [](HWND box) { pressButton(box, IDOK); }};
}

POINT viewPointOf(const Vector3& world) {
  const Program& p = program();
  // The same viewport every frame of the 3D window sets.
  const GLint viewport[4] = {0, 0, p.doc.clientWidth, p.doc.clientHeight};
  double wx = 0, wy = 0, wz = 0;
  gluProject(world.x, world.y, world.z, p.renderState.camera.modelView,
             p.renderState.camera.projection, viewport, &wx, &wy, &wz);
  return POINT{static_cast<LONG>(wx + 0.5), static_cast<LONG>(p.doc.clientHeight - wy + 0.5)};
}

void hoverView(POINT at) { sendMouse(WM_MOUSEMOVE, 0, at); }

void clickView(POINT at) {
  hoverView(at);
  sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, at);
  sendMouse(WM_LBUTTONUP, 0, at);
}

void dragView(POINT from, POINT to, int steps, bool rightButton) {
  const WPARAM held = rightButton ? MK_RBUTTON : MK_LBUTTON;
  hoverView(from);
  sendMouse(rightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, held, from);
  for (int i = 1; i <= steps; ++i) {
    const POINT at{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
    sendMouse(WM_MOUSEMOVE, held, at);
  }
  sendMouse(rightButton ? WM_RBUTTONUP : WM_LBUTTONUP, 0, to);
}

}  // namespace lw::test
