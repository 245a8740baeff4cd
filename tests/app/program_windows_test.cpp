#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/gl_presenter.h"
#include "app/hermite_preview.h"
#include "app/program.h"
#include "app/win_text.h"
#include "gui_harness.h"
#include "resources/resource.h"

namespace lw {
namespace {

RECT windowRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

RECT clientRect(HWND window) {
  RECT rect = {};
  GetClientRect(window, &rect);
  return rect;
}

// Position of a child window in its parent's client coordinates.
POINT childOrigin(HWND child) {
  RECT rect = windowRect(child);
  POINT origin = {rect.left, rect.top};
  ScreenToClient(GetParent(child), &origin);
  return origin;
}

TEST(ProgramWindows, MainWindowOpensAndClosingItEndsTheLoop) {
  ASSERT_TRUE(test::startProgram());
  HWND main = FindWindowW(L"mainWindow", nullptr);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main, program().windows.main);
  EXPECT_EQ(test::windowClass(main), L"mainWindow");
  EXPECT_EQ(test::windowText(main), L"Limbweaver");
  EXPECT_TRUE(IsWindowVisible(main));

  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(test::runLoopWithWatchdog(5000), 0);
  EXPECT_FALSE(IsWindow(main));
  EXPECT_FALSE(IsWindow(program().windows.motionPanel));
  EXPECT_FALSE(IsWindow(program().windows.boneTree));
  test::endProgram();
}

TEST(ProgramWindows, ClosingThePanelOrTheBoneTreeEndsTheLoop) {
  for (bool panel : {true, false}) {
    ASSERT_TRUE(test::startProgram());
    const ProgramWindows& w = program().windows;
    PostMessageW(panel ? w.motionPanel : w.boneTree, WM_CLOSE, 0, 0);
    EXPECT_EQ(test::runLoopWithWatchdog(5000), 0) << panel;
    EXPECT_TRUE(IsWindow(w.main)) << panel;
    test::endProgram();
  }
}

TEST(ProgramWindows, OriginCentresTheBlockOfThreeWindows) {
  const POINT small = mainWindowOrigin(1024, 768);
  EXPECT_EQ(small.x, 100);
  EXPECT_EQ(small.y, 75);
  const POINT large = mainWindowOrigin(1920, 1080);
  EXPECT_EQ(large.x, 548);
  EXPECT_EQ(large.y, 231);
  const POINT odd = mainWindowOrigin(825, 619);  // the divisions round towards zero
  EXPECT_EQ(odd.x, 0);
  EXPECT_EQ(odd.y, 0);
}

class WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test::startProgram()); }
  void TearDown() override { test::endProgram(); }
};

TEST_F(WindowsTest, TopLevelWindowsHaveTheirClassTitleStylePlaceAndOwner) {
  const ProgramWindows& w = program().windows;
  const POINT o =
      mainWindowOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  const struct {
    HWND window;
    const wchar_t* className;
    const char* title;
    LONG x, y, width, height;
    DWORD style;
  } expected[] = {
      {w.main, L"mainWindow", "Limbweaver", o.x, o.y, 1024, 768, WS_OVERLAPPEDWINDOW},
      {w.motionPanel, L"motionInfo", "ショートカットメニュー", o.x, o.y - 149, 1024, 150,
       WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX},
      {w.boneTree, L"BoneTree", "ボーンツリー", o.x - 197, o.y - 150, 200, 918,
       WS_OVERLAPPEDWINDOW},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(e.className);
    EXPECT_EQ(test::windowClass(e.window), e.className);
    EXPECT_EQ(test::windowText(e.window), test::wide(e.title));
    const RECT r = windowRect(e.window);
    EXPECT_EQ(r.left, e.x);
    EXPECT_EQ(r.top, e.y);
    EXPECT_EQ(r.right - r.left, e.width);
    EXPECT_EQ(r.bottom - r.top, e.height);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(e.window, GWL_STYLE));
    EXPECT_EQ(style & e.style, e.style);
    EXPECT_TRUE(IsWindowVisible(e.window));
  }
  EXPECT_EQ(GetWindow(w.motionPanel, GW_OWNER), w.main);
  EXPECT_EQ(GetWindow(w.boneTree, GW_OWNER), w.main);
  EXPECT_EQ(GetWindow(w.main, GW_OWNER), nullptr);
  EXPECT_EQ(GetWindowLongW(w.motionPanel, GWL_STYLE) & WS_THICKFRAME, 0);
}

// Every class the program registers, looked up by name: style, icon, cursor,
// background brush and menu name. The curve window's class is registered when
// its window is first made; the context window's only when the 3D window's
// picture is composited.
TEST_F(WindowsTest, WindowClassesKeepTheirLook) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  destroyHermitePreviewWindow(createHermitePreviewWindow(instance));
  const HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_LIMBWEAVER));
  const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  const auto white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  ASSERT_NE(icon, nullptr);
  const struct {
    const wchar_t* name;
    UINT style;
    HICON icon;
    HCURSOR cursor;
    HBRUSH background;
    const wchar_t* menu;
  } expected[] = {
      {L"mainWindow", CS_HREDRAW | CS_VREDRAW, icon, arrow, nullptr, L"MY_MENU"},
      {L"wOpenGL", CS_HREDRAW | CS_VREDRAW, icon, arrow, nullptr, L"MY_MENU"},
      {L"motionInfo", CS_HREDRAW | CS_VREDRAW, icon, arrow, white, L""},
      {L"BoneTree", CS_HREDRAW | CS_VREDRAW, icon, arrow, white, L""},
      {L"HermiteFunction", CS_HREDRAW | CS_VREDRAW | CS_OWNDC, nullptr, arrow, white, nullptr},
      {L"lwGlContextWindow", CS_OWNDC, nullptr, nullptr, nullptr, nullptr},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(e.name);
    if (std::wstring(e.name) == L"lwGlContextWindow" && !program().presenter.composited) {
      continue;
    }
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(GetClassInfoExW(instance, e.name, &wc));
    EXPECT_EQ(wc.style, e.style);
    EXPECT_EQ(wc.hIcon, e.icon);
    EXPECT_EQ(wc.hCursor, e.cursor);
    EXPECT_EQ(wc.hbrBackground, e.background);
    if (e.menu == nullptr) {
      EXPECT_EQ(wc.lpszMenuName, nullptr);
    } else {
      ASSERT_NE(wc.lpszMenuName, nullptr);
      EXPECT_EQ(std::wstring(wc.lpszMenuName), e.menu);
    }
  }
}

TEST_F(WindowsTest, ViewWindowFillsTheClientAreaUnderTheStatusBar) {
  const ProgramWindows& w = program().windows;
  EXPECT_EQ(test::windowClass(w.view), L"wOpenGL");
  EXPECT_EQ(test::windowText(w.view), L"OpenGL Window");
  EXPECT_EQ(GetDlgCtrlID(w.view), 500);
  EXPECT_EQ(GetParent(w.view), w.main);
  const DWORD style = static_cast<DWORD>(GetWindowLongW(w.view, GWL_STYLE));
  EXPECT_EQ(style & (WS_CHILD | WS_SYSMENU), static_cast<DWORD>(WS_CHILD | WS_SYSMENU));

  EXPECT_EQ(GetDlgCtrlID(w.statusBar), 417);
  EXPECT_EQ(test::windowClass(w.statusBar), STATUSCLASSNAMEW);

  const RECT client = clientRect(w.main);
  const POINT viewOrigin = childOrigin(w.view);
  EXPECT_EQ(viewOrigin.x, 0);
  EXPECT_EQ(viewOrigin.y, 0);
  EXPECT_EQ(clientRect(w.view).right, client.right);
  EXPECT_EQ(clientRect(w.view).bottom, client.bottom);
  EXPECT_EQ(program().doc.clientWidth, client.right);
  EXPECT_EQ(program().doc.clientHeight, client.bottom);
  const RECT bar = windowRect(w.statusBar);
  POINT barBottom = {bar.left, bar.bottom};
  ScreenToClient(w.main, &barBottom);
  EXPECT_EQ(barBottom.y, client.bottom);
}

TEST_F(WindowsTest, ResizingKeepsTheViewFillingTheClientAreaAndTheStatusBarAtTheBottom) {
  const ProgramWindows& w = program().windows;
  SetWindowPos(w.main, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
  test::pumpPending();
  const RECT client = clientRect(w.main);
  EXPECT_LT(client.right, 700);
  EXPECT_EQ(clientRect(w.view).right, client.right);
  EXPECT_EQ(clientRect(w.view).bottom, client.bottom);
  EXPECT_EQ(program().doc.clientWidth, client.right);
  EXPECT_EQ(program().doc.clientHeight, client.bottom);
  const RECT bar = windowRect(w.statusBar);
  POINT barCorner = {bar.right, bar.bottom};
  ScreenToClient(w.main, &barCorner);
  EXPECT_EQ(barCorner.x, client.right);
  EXPECT_EQ(barCorner.y, client.bottom);
}

WNDPROC gViewProc = nullptr;
int gViewKeys = 0;
WPARAM gLastKey = 0;
LPARAM gLastKeyData = 0;

LRESULT CALLBACK recordKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN) {
    ++gViewKeys;
    gLastKey = wParam;
    gLastKeyData = lParam;
  }
  return CallWindowProcW(gViewProc, window, message, wParam, lParam);
}

TEST_F(WindowsTest, KeyDownOnTheMainWindowReachesTheViewUnchanged) {
  HWND view = program().windows.view;
  gViewProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordKeys)));
  gViewKeys = 0;
  SendMessageW(program().windows.main, WM_KEYDOWN, 'A', 0x001E0001);
  SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gViewProc));
  EXPECT_EQ(gViewKeys, 1);
  EXPECT_EQ(gLastKey, static_cast<WPARAM>('A'));
  EXPECT_EQ(gLastKeyData, 0x001E0001);
}

TEST_F(WindowsTest, StartStateIsTheDocumentDefaults) {
  const SceneDocument& doc = program().doc;
  EXPECT_NE(doc.keyFrames, nullptr);
  EXPECT_EQ(doc.editMode, Idle);
  EXPECT_EQ(doc.backgroundColour, (Colour{0.5f, 0.5f, 0.5f, 1.0f}));
  EXPECT_NE(program().presenter.context, nullptr);
  EXPECT_GT(program().maxTextureUnits, 0);
}

TEST_F(WindowsTest, ProgramFolderEndsWithASeparator) {
  const std::string folder = programFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_EQ(folder.find("app_tests.exe"), std::string::npos);
}

// The program folder is CP932 inside the program. A folder name CP932 holds
// (Japanese, a space) stays as it is; one it cannot hold is reached through its
// short name, and either way a file in the folder opens through the result.
TEST(ProgramWindows, FolderNamesOutsideCp932AreReachedThroughTheirShortName) {
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  struct Case {
    const wchar_t* name;
    bool keptAsIs;
  };
  for (const Case& c : {Case{L"テスト フォルダ", true}, Case{L"caf\u00e9 \u00fcber", false}}) {
    const std::wstring folder = std::wstring(current) + L"\\" + c.name;
    const std::wstring marker = folder + L"\\marker.txt";
    CreateDirectoryW(folder.c_str(), nullptr);
    CloseHandle(CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const std::string path = cp932PathOf(folder);
    EXPECT_EQ(path == toCp932(folder), c.keptAsIs) << path;
    EXPECT_EQ(path.find('?'), std::string::npos) << path;
    FILE* file = openFileCp932(path + "\\marker.txt", "rb");
    EXPECT_NE(file, nullptr) << path;
    if (file != nullptr) fclose(file);
    DeleteFileW(marker.c_str());
    RemoveDirectoryW(folder.c_str());
  }
}

// Draws one frame cleared to `colour` through the presenter and returns the
// pixel read back from what was drawn (the back buffer or the framebuffer).
COLORREF drawClearedFrame(const Colour& colour) {
  GlPresenter& presenter = program().presenter;
  HWND view = program().windows.view;
  EXPECT_TRUE(beginPresenterFrame(presenter));
  glViewport(0, 0, 64, 64);
  glClearColor(colour.r, colour.g, colour.b, colour.a);
  glClear(GL_COLOR_BUFFER_BIT);
  unsigned char rgba[4] = {};
  glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  HDC dc = GetDC(view);
  endPresenterFrame(presenter, dc);
  ReleaseDC(view, dc);
  return RGB(rgba[0], rgba[1], rgba[2]);
}

class PresentModeTest : public ::testing::TestWithParam<PresentMode> {
 protected:
  void SetUp() override {
    setPresentMode(GetParam());
    ASSERT_TRUE(test::startProgram());
  }
  // Back to the mode the whole run uses, which may itself be forced.
  void TearDown() override {
    test::endProgram();
    setPresentMode(runMode_);
  }

 private:
  const PresentMode runMode_ = presentMode();
};

TEST_P(PresentModeTest, FramesAreDrawnAndPresentedInEitherMode) {
  const GlPresenter& presenter = program().presenter;
  ASSERT_NE(presenter.context, nullptr);
  EXPECT_EQ(presenter.composited, GetParam() == PresentMode::Composited);
  EXPECT_EQ(drawClearedFrame({1.0f, 0.0f, 0.0f, 1.0f}), RGB(255, 0, 0));
  if (presenter.composited) {
    // The framebuffer follows the view's client size and its picture is copied
    // into the view.
    const RECT client = clientRect(program().windows.view);
    EXPECT_EQ(presenter.width, client.right);
    EXPECT_EQ(presenter.height, client.bottom);
    // (Its bottom rows lie under the status bar.)
    HDC dc = GetDC(program().windows.view);
    EXPECT_EQ(GetPixel(dc, 20, client.bottom / 2), RGB(255, 0, 0));
    ReleaseDC(program().windows.view, dc);
  }
}

TEST_P(PresentModeTest, PaintClearsToTheBackgroundColour) {
  program().doc.backgroundColour = {0.0f, 1.0f, 0.0f, 1.0f};
  HWND view = program().windows.view;
  InvalidateRect(view, nullptr, FALSE);
  UpdateWindow(view);
  if (program().presenter.composited) {
    HDC dc = GetDC(view);
    EXPECT_EQ(GetPixel(dc, 30, 30), RGB(0, 255, 0));
    ReleaseDC(view, dc);
  }
  EXPECT_EQ(drawClearedFrame({0.0f, 0.0f, 1.0f, 1.0f}), RGB(0, 0, 255));
}

TEST_P(PresentModeTest, TheStatusBarStaysVisibleOverThe3DWindow) {
  const ProgramWindows& w = program().windows;
  // Above the 3D window among the main window's children, so clipped out of it.
  HWND above = w.view;
  while (above != nullptr && above != w.statusBar) above = GetWindow(above, GW_HWNDPREV);
  EXPECT_EQ(above, w.statusBar);
  if (!program().presenter.composited) return;  // GDI cannot see a direct picture
  program().doc.backgroundColour = {0.0f, 1.0f, 0.0f, 1.0f};
  RedrawWindow(w.main, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // A new frame repaints the 3D window alone.
  InvalidateRect(w.view, nullptr, FALSE);
  UpdateWindow(w.view);
  // Read through the main window, whose surface both children paint into.
  const RECT bar = windowRect(w.statusBar);
  POINT middle = {(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2};
  ScreenToClient(w.main, &middle);
  HDC dc = GetDC(w.main);
  const COLORREF shown = GetPixel(dc, middle.x, middle.y);
  ReleaseDC(w.main, dc);
  EXPECT_NE(shown, CLR_INVALID);
  EXPECT_NE(shown, RGB(0, 255, 0)) << "the 3D picture covers the status bar";
}

INSTANTIATE_TEST_SUITE_P(BothModes, PresentModeTest,
                         ::testing::Values(PresentMode::Direct, PresentMode::Composited),
                         [](const auto& param) {
                           return param.param == PresentMode::Direct ? "Direct" : "Composited";
                         });

}  // namespace
}  // namespace lw
