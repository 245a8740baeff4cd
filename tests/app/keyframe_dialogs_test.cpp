#include <windows.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "anim/keyframe_commands.h"
#include "app/dialogs.h"
#include "app/hermite_preview.h"
#include "app/program.h"
#include "app/win_text.h"
#include "gui_harness.h"
#include "render/hermite_preview.h"
#include "resources/resource.h"
#include "sample_project.h"

namespace lw {
namespace {

const char kKeyframeTitle[] = "キーフレームの作成";
const char kRangeTitle[] = "部分アニメーションキーフレーム指定";
const char kInterpolationTitle[] = "補間方法の変更";


void setField(HWND dialog, int id, const char* text) {
  SetWindowTextW(GetDlgItem(dialog, id), toWide(text).c_str());
}

// The entries of a drop-down list and the chosen one's index.
std::vector<std::wstring> listEntries(HWND dialog, int id) {
  HWND list = GetDlgItem(dialog, id);
  std::vector<std::wstring> entries;
  const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[64] = {};
    SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    entries.push_back(text);
  }
  return entries;
}
LRESULT chosenEntry(HWND dialog, int id) {
  return SendMessageW(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0);
}
void chooseEntry(HWND dialog, int id, const wchar_t* text) {
  SendMessageW(GetDlgItem(dialog, id), CB_SELECTSTRING, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(text));
}

bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// A click on a button as the user makes it: the button changes its own state
// (a radio button becomes checked) and tells the dialog.
void click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

test::DialogStep typeTime(const char* text) {
  return {test::wide(kKeyframeTitle), [text](HWND dialog) {
            setField(dialog, IDC_KEYFRAME_TIME, text);
            test::pressButton(dialog, IDOK);
          }};
}

class KeyframeDialogsTest : public test::SampleProjectTest {
 protected:
  // Deletes every keyframe with the menu's delete command.
  void deleteAllKeyframes() {
    for (int i = 0; i < 20 && !(store().byTime.empty() && store().byNumber.empty()); ++i) {
      command(IDM_KEYFRAME_DELETE);
    }
    ASSERT_TRUE(store().byTime.empty());
  }
  KeyJointPose* poseOf(int32_t time, int32_t jointId) {
    auto kf = store().byTime.find(time);
    if (kf == store().byTime.end()) return nullptr;
    for (auto& [name, pose] : kf->second->poses) {
      if (pose.kf_jointID == jointId) return &pose;
    }
    return nullptr;
  }
};

TEST_F(KeyframeDialogsTest, KeyframeCommandStoresThePoseAtTheTypedTimeAndShowsIt) {
  test::DialogScript script({typeTime("1200")});
  command(IDM_KEYFRAME_CREATE);
  EXPECT_EQ(script.stepsLeft(), 0u);
  ASSERT_EQ(store().byTime.count(1200), 1u);
  const KeyFrame& made = *store().byTime.at(1200);
  EXPECT_EQ(made.number, 5);  // one more than the largest number
  EXPECT_EQ(made.poses.size(), doc().skeleton.size());
  EXPECT_EQ(store().byNumber.size(), 6u);
  EXPECT_EQ(doc().editMode, RotateFk);
  EXPECT_EQ(test::windowText(program().windows.frameNumber), L"5");
  EXPECT_EQ(test::windowText(program().windows.frameTime), L"1200");
  // Every bone is stored as one turn with an FK angle of 0.
  for (const auto& [name, pose] : made.poses) EXPECT_EQ(pose.kf_axisAngle, 0.0) << name;
}

TEST_F(KeyframeDialogsTest, KeyframeCancelStoresNothingAndTheTimeIsReadLikeOtherNumbers) {
  {
    test::DialogScript script({{test::wide(kKeyframeTitle), [](HWND dialog) {
                                  setField(dialog, IDC_KEYFRAME_TIME, "700");
                                  test::pressButton(dialog, IDCANCEL);
                                }}});
    command(IDM_KEYFRAME_CREATE);
    EXPECT_EQ(script.stepsLeft(), 0u);
    EXPECT_EQ(store().byNumber.size(), 5u);
    EXPECT_EQ(store().byTime.count(700), 0u);
  }
  // "abc" holds no number: a message, and the dialog stays open for "+500";
  // "250ms" is 250 and a negative time orders first.
  const auto atZero = store().byTime.at(0);
  const test::DialogStep answerInTheOpenDialog{
      test::wide(kKeyframeTimeMissingTitle), [](HWND box) {
        test::pressButton(box, IDOK);
        HWND dialog = FindWindowW(nullptr, test::wide(kKeyframeTitle).c_str());
        ASSERT_NE(dialog, nullptr) << "the keyframe dialog stays open";
        setField(dialog, IDC_KEYFRAME_TIME, "+500");
        test::pressButton(dialog, IDOK);
      }};
  test::DialogScript script({typeTime("abc"), answerInTheOpenDialog, typeTime("250ms"),
                             typeTime(" -250")});
  for (int i = 0; i < 3; ++i) command(IDM_KEYFRAME_CREATE);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(script.unanswered(), 0);
  EXPECT_EQ(store().byTime.at(0), atZero) << "the keyframe at 0 is not replaced";
  EXPECT_EQ(store().byTime.count(500), 1u);
  EXPECT_EQ(store().byTime.count(250), 1u);
  EXPECT_EQ(store().byTime.begin()->first, -250);
  EXPECT_EQ(store().byNumber.size(), 8u);
}

TEST_F(KeyframeDialogsTest, KeyframeCommandEnablesTheKeyframeAndPlaybackItemsAsKeyframesArrive) {
  deleteAllKeyframes();
  const int playback[] = {IDM_PLAY_ALL, IDM_PLAY_RANGE, IDM_KEYFRAME_NEXT, IDM_KEYFRAME_PREVIOUS};
  for (int id : playback) EXPECT_TRUE(greyed(id)) << id;
  for (int id : {IDM_KEYFRAME_BONES, IDM_INTERPOLATION}) EXPECT_TRUE(greyed(id)) << id;
  EXPECT_FALSE(greyed(IDM_KEYFRAME_CREATE));

  test::DialogScript script({typeTime("100"), typeTime("900")});
  command(IDM_KEYFRAME_CREATE);
  for (int id : {IDM_KEYFRAME_BONES, IDM_INTERPOLATION}) EXPECT_FALSE(greyed(id)) << id;
  for (int id : playback) EXPECT_TRUE(greyed(id)) << id;

  command(IDM_KEYFRAME_CREATE);
  EXPECT_EQ(script.stepsLeft(), 0u);
  for (int id : playback) EXPECT_FALSE(greyed(id)) << id;
  EXPECT_FALSE(greyed(IDM_PLAY));
  EXPECT_FALSE(greyed(IDM_SAVE_FRAMES));
  // The playback range runs from the first to the last keyframe.
  EXPECT_EQ(store().rangeStart, store().byTime.at(100)->number);
  EXPECT_EQ(store().rangeEnd, store().byTime.at(900)->number);
  EXPECT_EQ(store().rangeDuration, 800);
}

TEST_F(KeyframeDialogsTest, RangeDialogListsTheTimesAndArmsTheChosenRange) {
  EXPECT_FALSE(greyed(IDM_PLAY_RANGE));
  doc().do_skinning = 1;
  const int32_t modeBefore = doc().editMode;
  test::DialogScript script({{test::wide(kRangeTitle), [](HWND dialog) {
                                const std::vector<std::wstring> times = {L"0", L"600", L"1000",
                                                                         L"1400", L"2000"};
                                EXPECT_EQ(listEntries(dialog, IDC_RANGE_START), times);
                                EXPECT_EQ(listEntries(dialog, IDC_RANGE_END), times);
                                EXPECT_EQ(chosenEntry(dialog, IDC_RANGE_START), 4);
                                EXPECT_EQ(chosenEntry(dialog, IDC_RANGE_END), 4);
                                chooseEntry(dialog, IDC_RANGE_START, L"600");
                                chooseEntry(dialog, IDC_RANGE_END, L"1400");
                                test::pressButton(dialog, IDOK);
                              }}});
  command(IDM_PLAY_RANGE);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(store().rangeStart, store().byTime.at(600)->number);
  EXPECT_EQ(store().rangeEnd, store().byTime.at(1400)->number);
  EXPECT_EQ(store().rangeDuration, 800);
  EXPECT_EQ(doc().animationView, 1);
  EXPECT_EQ(doc().do_skinning, 0);
  EXPECT_EQ(store().keyframeBoneView, 0);
  EXPECT_EQ(doc().editMode, modeBefore);
}

TEST_F(KeyframeDialogsTest, RangeDialogRefusesAnEndNotAfterTheStartAndCancelKeepsTheRange) {
  const int32_t start = store().rangeStart;
  const int32_t end = store().rangeEnd;
  auto choose = [](const wchar_t* from, const wchar_t* to) {
    return [from, to](HWND dialog) {
      chooseEntry(dialog, IDC_RANGE_START, from);
      chooseEntry(dialog, IDC_RANGE_END, to);
      test::pressButton(dialog, IDOK);
    };
  };
  HWND dialog = nullptr;
  const char kError[] = "フレーム時間指定エラー";
  test::DialogScript script(
      {test::remember(dialog, {test::wide(kRangeTitle), choose(L"1000", L"1000")}),
       test::acknowledgeThen(kError, dialog, choose(L"1400", L"600")),
       test::acknowledgeThen(kError, dialog,
                             [](HWND open) { test::pressButton(open, IDCANCEL); })});
  command(IDM_PLAY_RANGE);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(script.unanswered(), 0);
  ASSERT_EQ(script.seen().size(), 3u);
  EXPECT_EQ(script.seen()[1].text,
            test::wide("終了キーフレーム時間は、開始キーフレーム時間より大きい値を指定してください"));
  EXPECT_EQ(store().rangeStart, start);
  EXPECT_EQ(store().rangeEnd, end);
  EXPECT_EQ(doc().animationView, 1);  // armed all the same
}

TEST_F(KeyframeDialogsTest, InterpolationDialogOpensLinearAndStoresTheChoiceForOneJoint) {
  KeyJointPose* pose = poseOf(600, 3);
  ASSERT_NE(pose, nullptr);
  pose->kf_hokanMode = 1;
  pose->kf_speed[0] = 2;
  pose->kf_speed[1] = 4;
  EXPECT_FALSE(greyed(IDM_INTERPOLATION));
  doc().showJointNumbers = 0;
  int32_t numbersDuringDialog = -1;
  test::DialogScript script({{test::wide(kInterpolationTitle), [&](HWND dialog) {
                                numbersDuringDialog = program().doc.showJointNumbers;
                                EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_INTERP_LINEAR),
                                          BST_CHECKED);
                                EXPECT_EQ(listEntries(dialog, IDC_INTERP_KEYFRAME).size(), 5u);
                                EXPECT_EQ(chosenEntry(dialog, IDC_INTERP_KEYFRAME), 4);
                                const auto ids = listEntries(dialog, IDC_INTERP_JOINT);
                                EXPECT_EQ(ids.size(), program().doc.skeleton.size());
                                EXPECT_EQ(chosenEntry(dialog, IDC_INTERP_JOINT),
                                          static_cast<LRESULT>(ids.size()) - 1);
                                EXPECT_FALSE(enabled(dialog, IDC_INTERP_START_SPEED));
                                EXPECT_FALSE(enabled(dialog, IDC_INTERP_END_SPEED));
                                EXPECT_FALSE(enabled(dialog, IDC_INTERP_SHOW_CURVE));
                                chooseEntry(dialog, IDC_INTERP_KEYFRAME, L"600");
                                chooseEntry(dialog, IDC_INTERP_JOINT, L"3");
                                test::pressButton(dialog, IDOK);
                              }}});
  command(IDM_INTERPOLATION);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(numbersDuringDialog, 1);
  EXPECT_EQ(doc().showJointNumbers, 0);
  EXPECT_EQ(pose->kf_hokanMode, 0);
  EXPECT_EQ(pose->kf_speed[0], 0.0);
  EXPECT_EQ(pose->kf_speed[1], 0.0);
  EXPECT_EQ(wglGetCurrentContext(), program().presenter.context);
}

TEST_F(KeyframeDialogsTest, HermiteNeedsBothSpeedsAndStoresThem) {
  KeyJointPose* pose = poseOf(1000, 5);
  ASSERT_NE(pose, nullptr);
  KeyJointPose* other = poseOf(1400, 5);
  ASSERT_NE(other, nullptr);
  doc().showJointNumbers = 1;
  auto fill = [](const char* start, const char* end) {
    return [start, end](HWND dialog) {
      click(dialog, IDC_INTERP_HERMITE);
      chooseEntry(dialog, IDC_INTERP_KEYFRAME, L"1000");
      chooseEntry(dialog, IDC_INTERP_JOINT, L"5");
      setField(dialog, IDC_INTERP_START_SPEED, start);
      setField(dialog, IDC_INTERP_END_SPEED, end);
      test::pressButton(dialog, IDOK);
    };
  };
  HWND dialog = nullptr;
  test::DialogScript script(
      {test::remember(dialog, {test::wide(kInterpolationTitle), fill("", "1")}),
       test::acknowledgeThen("速度", dialog, fill("1", "")),
       test::acknowledgeThen("速度", dialog, fill("2.5", "-0.5"))});
  command(IDM_INTERPOLATION);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(script.unanswered(), 0);
  ASSERT_EQ(script.seen().size(), 3u);
  EXPECT_EQ(script.seen()[1].text, test::wide("開始速度の値が無効です"));
  EXPECT_EQ(script.seen()[2].text, test::wide("フレーム終了時の速度の値が入力されていません。"));
  EXPECT_EQ(pose->kf_hokanMode, 1);
  EXPECT_EQ(pose->kf_speed[0], 2.5);
  EXPECT_EQ(pose->kf_speed[1], -0.5);
  EXPECT_EQ(other->kf_hokanMode, 0);
  EXPECT_EQ(doc().showJointNumbers, 1);
}

// Reads the preview's picture by drawing it into the preview's own context.
struct PreviewPixels {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgba;
  // The pixel showing the point (x, y) of the preview's square.
  const unsigned char* at(double x, double y, int dx = 0, int dy = 0) const {
    const int px = static_cast<int>((x + 0.01) / 0.52 * width) + dx;
    const int py = static_cast<int>((y + 0.01) / 0.52 * height) + dy;
    return &rgba[(static_cast<size_t>(py) * width + px) * 4];
  }
  // Whether a white pixel lies within one pixel of the point.
  bool whiteNear(double x, double y) const {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        const unsigned char* p = at(x, y, dx, dy);
        if (p[0] == 255 && p[1] == 255 && p[2] == 255) return true;
      }
    }
    return false;
  }
};

PreviewPixels readPreview(HWND preview, double startSpeed, double endSpeed) {
  PreviewPixels pixels;
  RECT client;
  GetClientRect(preview, &client);
  pixels.width = client.right;
  pixels.height = client.bottom;
  pixels.rgba.resize(static_cast<size_t>(pixels.width) * pixels.height * 4);
  HDC dc = GetDC(preview);
  if (wglMakeCurrent(dc, hermitePreviewContext(preview))) {
    HermitePreview curve;
    hermitePreview(startSpeed, endSpeed, curve);
    drawHermitePreview(curve, pixels.width, pixels.height);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, pixels.width, pixels.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.rgba.data());
  }
  ReleaseDC(preview, dc);
  makePresenterCurrent(program().presenter);
  return pixels;
}

// Repaints the 3D window after a change of its background colour and checks
// that the paint cleared to it in the 3D window's own context; where GDI can see
// the picture (composited), also that it shows.
void expectViewPaintsBackground(const Colour& background) {
  Program& p = program();
  p.doc.backgroundColour = background;
  makePresenterCurrent(p.presenter);
  glClearColor(0, 0, 0, 0);
  RedrawWindow(p.windows.view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  makePresenterCurrent(p.presenter);
  float clear[4] = {};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ((Colour{clear[0], clear[1], clear[2], clear[3]}), background);
  if (!p.presenter.composited) return;  // GDI cannot see a direct picture under Wine
  HDC dc = GetDC(p.windows.view);
  EXPECT_EQ(GetPixel(dc, 3, 3), RGB(background.r * 255, background.g * 255, background.b * 255));
  ReleaseDC(p.windows.view, dc);
}

TEST_F(KeyframeDialogsTest, CurveButtonShowsThePreviewInItsOwnContext) {
  HWND preview = nullptr;
  PreviewPixels pixels;
  bool visible = false;
  HGLRC previewContext = nullptr;
  HGLRC currentAfterShow = nullptr;
  HWND dialog = nullptr;
  test::DialogScript script(
      {test::remember(dialog, {test::wide(kInterpolationTitle), [&](HWND open) {
                                 preview = FindWindowW(kHermitePreviewClass, L"Hermite Function");
                                 EXPECT_NE(preview, nullptr);
                                 EXPECT_FALSE(IsWindowVisible(preview));
                                 click(open, IDC_INTERP_HERMITE);
                                 EXPECT_TRUE(enabled(open, IDC_INTERP_START_SPEED));
                                 EXPECT_TRUE(enabled(open, IDC_INTERP_END_SPEED));
                                 EXPECT_TRUE(enabled(open, IDC_INTERP_SHOW_CURVE));
                                 setField(open, IDC_INTERP_END_SPEED, "1");
                                 test::pressButton(open, IDC_INTERP_SHOW_CURVE);
                               }}),
       test::acknowledgeThen("速度の値", dialog, [&](HWND open) {
         EXPECT_FALSE(IsWindowVisible(preview));  // nothing shown without both speeds
         setField(open, IDC_INTERP_START_SPEED, "0");
         setField(open, IDC_INTERP_END_SPEED, "0");
         click(open, IDC_INTERP_SHOW_CURVE);
         visible = IsWindowVisible(preview) != FALSE;
         // Beside the dialog, tops aligned: it covers neither the dialog nor the tree.
         RECT shown = {}, form = {};
         GetWindowRect(preview, &shown);
         GetWindowRect(open, &form);
         EXPECT_TRUE(shown.left == form.right || shown.right == form.left) << shown.left;
         EXPECT_EQ(shown.top, form.top);
         previewContext = hermitePreviewContext(preview);
         currentAfterShow = wglGetCurrentContext();
         pixels = readPreview(preview, 0, 0);
         // Its close box hides it; the button brings it back.
         SendMessageW(preview, WM_CLOSE, 0, 0);
         EXPECT_TRUE(IsWindow(preview));
         EXPECT_FALSE(IsWindowVisible(preview));
         click(open, IDC_INTERP_SHOW_CURVE);
         EXPECT_TRUE(IsWindowVisible(preview));
         // Back to linear: the speeds and the button are off again.
         click(open, IDC_INTERP_LINEAR);
         EXPECT_FALSE(enabled(open, IDC_INTERP_SHOW_CURVE));
         test::pressButton(open, IDCANCEL);
       })});
  command(IDM_INTERPOLATION);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(script.unanswered(), 0);
  ASSERT_EQ(script.seen().size(), 2u);
  EXPECT_EQ(script.seen()[1].text, test::wide("フレーム開始時の速度の値が入力されていません。"));

  EXPECT_TRUE(visible);
  ASSERT_NE(previewContext, nullptr);
  EXPECT_NE(previewContext, program().presenter.context);
  EXPECT_EQ(currentAfterShow, program().presenter.context);
  // The preview goes with the dialog; the 3D window's context is current.
  EXPECT_FALSE(IsWindow(preview));
  EXPECT_EQ(wglGetCurrentContext(), program().presenter.context);

  // Black background, a corner of the white square, the middle of the S curve
  // and the green tangents.
  ASSERT_GT(pixels.width, 100);
  const unsigned char* background = pixels.at(0.4, 0.1);
  EXPECT_EQ(background[0] + background[1] + background[2], 0);
  EXPECT_TRUE(pixels.whiteNear(0.25, 0.25));
  EXPECT_TRUE(pixels.whiteNear(0.5, 0.0));
  EXPECT_FALSE(pixels.whiteNear(0.4, 0.1));
  size_t green = 0;
  for (size_t i = 0; i < pixels.rgba.size(); i += 4) {
    if (pixels.rgba[i] == 0 && pixels.rgba[i + 1] == 255 && pixels.rgba[i + 2] == 0) ++green;
  }
  EXPECT_GT(green, 20u);

  // The 3D window still draws with its own context.
  expectViewPaintsBackground({1.0f, 0.0f, 0.0f, 1.0f});
}

}  // namespace
}  // namespace lw
