#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "anim/keyframe_commands.h"
#include "app/program.h"
#include "app/view_playback.h"
#include "app/win_text.h"
#include "gui_harness.h"
#include "resources/resource.h"
#include "sample_project.h"

namespace lw {
namespace {

constexpr int kFramesOfOneSecond = 31;  // 0, 32, ..., 960 ms; the one at 992 ends it

std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream in(toWide(path).c_str(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int32_t le32(const std::vector<uint8_t>& bytes, size_t at) {
  return static_cast<int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                              static_cast<uint32_t>(bytes[at + 3]) << 24);
}

// The rows of a 24-bit bottom-up picture of the 3D window's client size that
// the status bar does not cover (the status bar lies over its lower edge).
std::vector<uint8_t> visibleRows(const uint8_t* pixels) {
  const ProgramWindows& w = program().windows;
  RECT client = {};
  GetClientRect(w.view, &client);
  RECT bar = {};
  GetWindowRect(w.statusBar, &bar);
  MapWindowPoints(nullptr, w.view, reinterpret_cast<POINT*>(&bar), 2);
  const LONG hiddenRows = bar.top < client.bottom ? client.bottom - bar.top : 0;
  const size_t row = static_cast<size_t>((client.right * 3 + 3) / 4 * 4);
  return {pixels + row * hiddenRows, pixels + row * client.bottom};
}

// What the screen shows of the 3D window, as visibleRows.
std::vector<uint8_t> shownPixels(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = client.bottom;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC windowDc = GetDC(window);
  HDC memoryDc = CreateCompatibleDC(windowDc);
  HBITMAP bitmap = CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memoryDc, bitmap);
  BitBlt(memoryDc, 0, 0, client.right, client.bottom, windowDc, 0, 0, SRCCOPY);
  GdiFlush();
  std::vector<uint8_t> pixels = visibleRows(static_cast<const uint8_t*>(bits));
  SelectObject(memoryDc, old);
  DeleteObject(bitmap);
  DeleteDC(memoryDc);
  ReleaseDC(window, windowDc);
  return pixels;
}

void paintBlack(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(window, dc);
}

// The sample character with only its keyframes at 0 and 1000 ms left, played
// in the real 3D window.
class PlaybackWindowTest : public test::SampleProjectTest {
 protected:
  void SetUp() override {
    SampleProjectTest::SetUp();
    if (HasFatalFailure()) return;
    folder_ = programFolder();
    ASSERT_FALSE(folder_.empty());
    removeFrameFiles();
    keepKeyframesAt0And1000();
  }
  void TearDown() override {
    SampleProjectTest::TearDown();
    removeFrameFiles();
  }

  std::string frameFile(int n) const { return folder_ + "frame" + std::to_string(n) + ".bmp"; }
  bool exists(int n) const {
    return GetFileAttributesW(toWide(frameFile(n)).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  void removeFrameFiles() {
    for (int n = 1; n <= kFramesOfOneSecond + 2; ++n) DeleteFileW(toWide(frameFile(n)).c_str());
  }

  void keepKeyframesAt0And1000() {
    KeyframeStore& store = this->store();
    ASSERT_TRUE(store.byTime.count(0) && store.byTime.count(1000));
    std::vector<int32_t> others;
    for (const auto& [time, keyframe] : store.byTime) {
      if (time != 0 && time != 1000) others.push_back(time);
    }
    for (int32_t time : others) {
      store.currentTime = time;
      store.currentNumber = store.byTime.at(time)->number;
      eraseShownKeyFrame(store);
    }
    ASSERT_EQ(store.byTime.size(), 2u);
    ASSERT_EQ(store.byNumber.size(), 2u);
  }

  void armAndSaveFrames() {
    command(IDM_PLAY_ALL);
    command(IDM_SAVE_FRAMES);
    ASSERT_EQ(doc().saveFramesAsBmp, 1);
  }

  void pressSpace() { SendMessageW(program().windows.view, WM_KEYDOWN, VK_SPACE, 0); }

  std::string folder_;
};

TEST_F(PlaybackWindowTest, SavingWritesOneClientSizedFilePerFrameAndOverwritesThemNextTime) {
  armAndSaveFrames();
  pressSpace();
  for (int n = 1; n <= kFramesOfOneSecond; ++n) ASSERT_TRUE(exists(n)) << n;
  EXPECT_FALSE(exists(kFramesOfOneSecond + 1));

  RECT client = {};
  GetClientRect(program().windows.view, &client);
  const std::vector<uint8_t> first = readBytes(frameFile(1));
  const std::vector<uint8_t> last = readBytes(frameFile(kFramesOfOneSecond));
  ASSERT_GT(first.size(), 54u);
  EXPECT_EQ(first[0], 'B');
  EXPECT_EQ(le32(first, 18), client.right);
  EXPECT_EQ(le32(first, 22), client.bottom);
  EXPECT_EQ(first.size(), 54u + static_cast<size_t>((client.right * 3 + 3) / 4 * 4) * client.bottom);
  ASSERT_EQ(last.size(), first.size());
  EXPECT_NE(std::vector<uint8_t>(first.begin() + 54, first.end()),
            std::vector<uint8_t>(last.begin() + 54, last.end()))
      << "the model moves between 0 and 960 ms";
  EXPECT_EQ(doc().keyFrames->playTime, 0);
  EXPECT_EQ(doc().animationView, 1);

  // A second playback writes the same names again, replacing what is there.
  std::ofstream(toWide(frameFile(1)).c_str(), std::ios::binary | std::ios::trunc) << "old";
  pressSpace();
  EXPECT_EQ(readBytes(frameFile(1)), first);
  EXPECT_FALSE(exists(kFramesOfOneSecond + 1));
}

TEST_F(PlaybackWindowTest, AFrameFileThatCannotBeOpenedIsSkipped) {
  armAndSaveFrames();
  // A folder under the second frame's name: that file cannot be created.
  ASSERT_TRUE(CreateDirectoryW(toWide(frameFile(2)).c_str(), nullptr));
  pressSpace();
  RemoveDirectoryW(toWide(frameFile(2)).c_str());
  EXPECT_TRUE(exists(1));
  EXPECT_FALSE(exists(2));
  EXPECT_TRUE(exists(3));
  EXPECT_TRUE(exists(kFramesOfOneSecond));
  EXPECT_FALSE(exists(kFramesOfOneSecond + 1));
}

TEST_F(PlaybackWindowTest, EscapeWaitingBeforeSpaceStopsAfterTheFirstFrame) {
  armAndSaveFrames();
  HWND view = program().windows.view;
  test::pumpPending();
  paintBlack(view);  // whatever shows after playback was put there by it

  // Keys go to the main window, which has the focus; the menu item plays.
  PostMessageW(program().windows.main, WM_KEYDOWN, VK_ESCAPE, 0);
  command(IDM_PLAY);
  EXPECT_TRUE(exists(1));
  EXPECT_FALSE(exists(2));
  MSG left = {};
  EXPECT_FALSE(PeekMessageW(&left, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE))
      << "the Escape press was used up";
  EXPECT_EQ(doc().animationView, 1);
  EXPECT_EQ(doc().keyFrames->playTime, 0);

  // The frame reached the 3D window during playback, before any repaint. Wine
  // shows no OpenGL drawn straight on a child window, so this holds only for
  // the composited picture there.
  if (program().presenter.composited) {
    const std::vector<uint8_t> file = readBytes(frameFile(1));
    ASSERT_GT(file.size(), 54u);
    const std::vector<uint8_t> saved = visibleRows(file.data() + 54);
    EXPECT_EQ(shownPixels(view), saved);
    paintBlack(view);
    EXPECT_NE(shownPixels(view), saved);
  }

  // Still armed: the next press plays the whole range.
  pressSpace();
  EXPECT_TRUE(exists(kFramesOfOneSecond));
}

TEST_F(PlaybackWindowTest, NothingPlaysBeforeArmingOrWithOneKeyframe) {
  command(IDM_SAVE_FRAMES);
  pressSpace();
  EXPECT_FALSE(exists(1));
  EXPECT_EQ(playInViewWindow(), 0);

  command(IDM_PLAY_ALL);
  KeyframeStore& store = this->store();
  store.currentTime = 1000;
  store.currentNumber = store.byTime.at(1000)->number;
  eraseShownKeyFrame(store);
  pressSpace();
  EXPECT_FALSE(exists(1));
  EXPECT_EQ(playInViewWindow(), 0);
}

TEST_F(PlaybackWindowTest, SpacePlaysWhileASidePanelOrTheBoneTreeHasTheFocus) {
  command(IDM_KEYFRAME_PREVIOUS);
  command(IDM_KEYFRAME_PREVIOUS);
  ASSERT_EQ(store().currentTime, 0);  // "next→" pressed by Space would show 1000
  armAndSaveFrames();
  const ProgramWindows& w = program().windows;
  for (HWND focused : {GetDlgItem(w.motionPanel, IDC_PANEL_NEXT), w.treeView}) {
    removeFrameFiles();
    const int32_t shown = store().currentTime;
    SetFocus(focused);
    PostMessageW(focused, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(focused, WM_KEYUP, VK_SPACE, 0);
    PostQuitMessage(0);
    EXPECT_EQ(test::runLoopWithWatchdog(20000), 0);
    EXPECT_TRUE(exists(kFramesOfOneSecond));
    EXPECT_EQ(store().currentTime, shown) << "the focused button was not pressed";
  }
}

TEST_F(PlaybackWindowTest, DeletingTheKeyframeThatStartsTheRangeKeepsSpacePlaying) {
  createKeyFrameCommand(doc(), program().ui, 1500);
  armAndSaveFrames();
  for (int i = 0; i < 3; ++i) command(IDM_KEYFRAME_PREVIOUS);
  ASSERT_EQ(store().currentTime, 0);
  command(IDM_KEYFRAME_DELETE);
  removeFrameFiles();
  pressSpace();
  EXPECT_TRUE(exists(kFramesOfOneSecond / 2)) << "1000 to 1500 ms plays";
  EXPECT_FALSE(exists(kFramesOfOneSecond));
  // With one keyframe left playback is disarmed, and the menu says so.
  command(IDM_KEYFRAME_DELETE);
  EXPECT_EQ(doc().animationView, 0);
  EXPECT_TRUE(GetMenuState(GetMenu(program().windows.main), IDM_PLAY, MF_BYCOMMAND) & MF_GRAYED);
}

}  // namespace
}  // namespace lw
