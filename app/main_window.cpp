// The entry point's steps and the main window: creation of every window, size
// and key handling, status-bar help texts, close and destroy.
#include <windows.h>

#include <commctrl.h>

#include "app/commands.h"
#include "app/program.h"
#include "app/side_panels.h"
#include "app/undo_keys.h"
#include "app/view_window.h"
#include "app/win_text.h"
#include "app/window_class.h"
#include "resources/resource.h"

namespace lw {

namespace {

constexpr int kMainWidth = 1024;
constexpr int kMainHeight = 768;
// The block of the three top-level windows is centred as if the main window
// were this large.
constexpr int kCentringWidth = 824;
constexpr int kCentringHeight = 618;
constexpr WPARAM kSimplePart = 255;

void setStatusText(const wchar_t* text) {
  SendMessageW(program().windows.statusBar, SB_SETTEXTW, kSimplePart,
               reinterpret_cast<LPARAM>(text));
}

HWND createStatusBar(HWND main, HINSTANCE instance) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  HWND bar = CreateWindowExW(0, STATUSCLASSNAMEW, L"Limbweaver",
                             WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, 0, 0, 0, 0,
                             main, reinterpret_cast<HMENU>(IDC_STATUS_BAR), instance, nullptr);
  SendMessageW(bar, SB_SIMPLE, TRUE, 0);
  // A new child window goes to the bottom of its siblings; the status bar must
  // lie on top of the 3D window, which clips it out of its picture.
  SetWindowPos(bar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return bar;
}

void onMainCreate(HWND window) {
  Program& p = program();
  p.windows.main = window;
  p.doc.clientWidth = kMainWidth;
  p.doc.clientHeight = kMainHeight;
  registerViewWindowClass(p.instance);
  p.windows.view = createViewWindow(window, p.instance, kMainWidth, kMainHeight);
  ShowWindow(p.windows.view, SW_SHOWNORMAL);
  UpdateWindow(p.windows.view);
  registerMotionPanelClass(p.instance);
  registerBoneTreeClass(p.instance);
  p.windows.statusBar = createStatusBar(window, p.instance);
  p.doc.keyFrames = std::make_unique<KeyframeStore>();
  resetDocumentDefaults(p.doc, p.ui);
}

void onMainSize(HWND window, WPARAM wParam, LPARAM lParam) {
  Program& p = program();
  SendMessageW(p.windows.statusBar, WM_SIZE, wParam, lParam);
  RECT client = {};
  GetClientRect(window, &client);
  p.doc.clientWidth = client.right;
  p.doc.clientHeight = client.bottom;
  MoveWindow(p.windows.view, 0, 0, client.right, client.bottom, FALSE);
  InvalidateRect(p.windows.view, nullptr, FALSE);
}

void onMenuSelect(WPARAM wParam) {
  if (HIWORD(wParam) & MF_POPUP) return;
  // The help text of an item is the string resource under its command id.
  const wchar_t* text = nullptr;
  const int length =
      LoadStringW(program().instance, LOWORD(wParam), reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0) return;
  setStatusText(std::wstring(text, static_cast<size_t>(length)).c_str());
}

void onMainClose(HWND window) {
  if (!mayQuit()) return;
  Program& p = program();
  if (p.doc.modelLoaded) clearDocument(p.doc);
  DestroyWindow(window);
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      onMainCreate(window);
      break;
    case WM_SIZE:
      onMainSize(window, wParam, lParam);
      break;
    case WM_KEYDOWN:
      SendMessageW(program().windows.view, WM_KEYDOWN, wParam, lParam);
      break;
    case WM_MENUSELECT:
      onMenuSelect(wParam);
      break;
    case WM_EXITMENULOOP:
      setStatusText(L"");
      break;
    case WM_COMMAND: {
      LRESULT result = 0;
      if (dispatchCommand(LOWORD(wParam), result)) return result;
      break;
    }
    case WM_CLOSE:
      onMainClose(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

Program& program() {
  static Program instance;
  return instance;
}

POINT mainWindowOrigin(int screenWidth, int screenHeight) {
  return POINT{(screenWidth - kCentringWidth) / 2, (screenHeight - kCentringHeight) / 2};
}

void registerMainWindowClass(HINSTANCE instance) {
  registerProgramWindowClass(instance, mainWindowProc, kMainWindowClass, nullptr, L"MY_MENU");
}

bool createProgramWindows(HINSTANCE instance, int showCommand) {
  Program& p = program();
  p.instance = instance;
  p.windows = ProgramWindows{};
  p.doc = SceneDocument{};
  const POINT origin =
      mainWindowOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  HWND main = CreateWindowExW(0, kMainWindowClass, L"Limbweaver", WS_OVERLAPPEDWINDOW, origin.x,
                              origin.y, kMainWidth, kMainHeight, nullptr, nullptr, instance,
                              nullptr);
  if (main == nullptr) return false;
  p.windows.motionPanel = createMotionPanel(main, instance, origin);
  p.windows.boneTree = createBoneTree(main, instance, origin);
  startUndoHistory();
  for (HWND window : {main, p.windows.boneTree, p.windows.motionPanel}) {
    ShowWindow(window, showCommand);
    UpdateWindow(window);
  }
  return true;
}

namespace {

// Space and Escape are playback keys, and Ctrl+Z / Ctrl+Y undo and redo,
// wherever the keyboard focus is: in a side panel (after one of its buttons was
// pressed) or in the bone tree they go to the 3D window instead of pressing the
// focused button.
bool routePlaybackKey(const MSG& message) {
  if (message.message != WM_KEYDOWN ||
      (message.wParam != VK_SPACE && message.wParam != VK_ESCAPE && !isUndoKey(message.wParam))) {
    return false;
  }
  const ProgramWindows& w = program().windows;
  const HWND top = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (top == nullptr || (top != w.motionPanel && top != w.boneTree)) return false;
  SendMessageW(w.view, WM_KEYDOWN, message.wParam, message.lParam);
  return true;
}

}  // namespace

int runMessageLoop() {
  MSG message = {};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (routePlaybackKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

int runProgram(HINSTANCE instance, HINSTANCE previousInstance, int showCommand) {
  program().instance = instance;
  if (previousInstance == nullptr) registerMainWindowClass(instance);
  if (!createProgramWindows(instance, showCommand)) return 0;
  return runMessageLoop();
}

std::string programFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring folder(path, length);
  const size_t separator = folder.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return {};
  folder.resize(separator + 1);
  // The files beside the program are named in CP932 inside it; a folder name
  // that CP932 cannot hold (an accented letter, say) is reached by its short name.
  return cp932PathOf(folder);
}

}  // namespace lw
