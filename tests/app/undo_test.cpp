// Ctrl+Z and Ctrl+Y in the running program after a joint placement, a weighting
// box OK and a keyframe: the joints, the bone tree, the weights, the keyframes,
// the menu and the captured picture return, and the status bar says what was
// undone or redone. The keys work wherever the focus is.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/file_dialog.h"
#include "app/program.h"
#include "app/win_text.h"
#include "gui_harness.h"
#include "resources/resource.h"
#include "sample_project.h"
#include "skin/weight_box.h"

namespace lw {
namespace {

// Every menu item's grey and check state.
void addMenuStates(HMENU menu, std::map<UINT, UINT>& states) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) {
      addMenuStates(sub, states);
    } else {
      states[GetMenuItemID(menu, i)] =
          GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED);
    }
  }
}

// The bone tree's items below `parent` (the roots for null), depth first, each
// text followed by its children's.
void addTreeTexts(HTREEITEM parent, std::vector<std::wstring>& texts) {
  HWND tree = program().windows.treeView;
  for (HTREEITEM item = parent ? TreeView_GetChild(tree, parent) : TreeView_GetRoot(tree); item;
       item = TreeView_GetNextSibling(tree, item)) {
    wchar_t text[256] = {};
    TVITEMW tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = 255;
    TreeView_GetItem(tree, &tv);
    texts.push_back(text);
    addTreeTexts(item, texts);
  }
}

std::vector<std::wstring> treeTexts() {
  std::vector<std::wstring> texts;
  addTreeTexts(nullptr, texts);
  return texts;
}

std::wstring statusText() {
  wchar_t text[256] = {};
  SendMessageW(program().windows.statusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  return text;
}

// What a user sees of the document.
struct Seen {
  std::vector<uint8_t> picture;
  std::map<UINT, UINT> menu;
  std::vector<std::wstring> tree;
  size_t joints = 0;
};

Seen seen() {
  Seen now{test::captureView(), {}, treeTexts(), program().doc.skeleton.size()};
  addMenuStates(GetMenu(program().windows.main), now.menu);
  return now;
}

void expectSame(const Seen& now, const Seen& expected) {
  EXPECT_TRUE(now.picture == expected.picture) << "the picture differs";
  EXPECT_EQ(now.menu, expected.menu);
  EXPECT_EQ(now.tree, expected.tree);
  EXPECT_EQ(now.joints, expected.joints);
}

// A key with Ctrl (and Shift) held, sent to `window` through the program's
// message loop, as the keyboard delivers it to the window with the focus.
void pressWithCtrl(HWND window, WPARAM key, bool shift = false) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  BYTE held[256];
  std::copy(std::begin(keys), std::end(keys), std::begin(held));
  held[VK_CONTROL] = held[VK_LCONTROL] = 0x80;
  if (shift) held[VK_SHIFT] = held[VK_LSHIFT] = 0x80;
  SetKeyboardState(held);
  SetFocus(window);
  PostMessageW(window, WM_KEYDOWN, key, 0);
  PostMessageW(window, WM_KEYUP, key, 0);
  PostQuitMessage(0);
  EXPECT_EQ(test::runLoopWithWatchdog(10000), 0);
  SetKeyboardState(keys);
}

class UndoGuiTest : public test::SampleProjectTest {
 protected:
  HWND view() const { return program().windows.view; }
  void undo(HWND from) { pressWithCtrl(from, 'Z'); }
  void redo(HWND from) { pressWithCtrl(from, 'Y'); }
};

TEST_F(UndoGuiTest, KeyframeComesAndGoesWithTheMenuAndTheFrameDisplay) {
  const ProgramWindows& w = program().windows;
  undo(w.main);
  EXPECT_EQ(statusText(), test::wide("元に戻す操作はありません"));
  const Seen before = seen();
  const std::wstring frameBefore = test::windowText(w.frameTime);
  test::DialogScript script({{test::wide("キーフレームの作成"), [](HWND dialog) {
                                SetDlgItemTextW(dialog, IDC_KEYFRAME_TIME, L"4321");
                                test::pressButton(dialog, IDOK);
                              }}});
  command(IDM_KEYFRAME_CREATE);
  ASSERT_EQ(store().byTime.count(4321), 1u);
  const Seen after = seen();
  EXPECT_EQ(test::windowText(w.frameTime), L"4321");

  // From the bone tree, then from a panel button: both reach the history.
  undo(w.treeView);
  EXPECT_EQ(store().byTime.count(4321), 0u);
  EXPECT_EQ(statusText(), test::wide("元に戻しました：現在の姿勢をキーフレームにする"));
  EXPECT_EQ(test::windowText(w.frameTime), frameBefore);
  expectSame(seen(), before);
  pressWithCtrl(GetDlgItem(w.motionPanel, IDC_PANEL_NEXT), 'Z', true);  // Ctrl+Shift+Z
  EXPECT_EQ(store().byTime.count(4321), 1u);
  EXPECT_EQ(statusText(), test::wide("やり直しました：現在の姿勢をキーフレームにする"));
  EXPECT_EQ(test::windowText(w.frameTime), L"4321");
  expectSame(seen(), after);
  redo(w.main);
  EXPECT_EQ(statusText(), test::wide("やり直す操作はありません"));
}

TEST_F(UndoGuiTest, WeightingBoxOkIsOneStepAndThePictureFollows) {
  // A bent arm, so that weights show in the picture; the box goes around the
  // corner the pose moved furthest, and its OK gives it the base joint, which
  // keeps corners at their rest shape.
  command(IDM_ROTATE_FK);
  command(IDM_SKINNING_ON);
  const Joint* elbow = findJoint(doc().skeleton, "Joint0_0_0_1_0");
  ASSERT_NE(elbow, nullptr);
  const float angleBefore = elbow->axisAngle;
  const POINT from = test::viewPointOf(elbow->jointDrawPositionAfterPosEnter);
  test::dragView(from, {from.x + 40, from.y}, 40);
  ASSERT_EQ(elbow->axisAngle, angleBefore + 40.0f);
  test::captureView();
  size_t part = 0, corner = 0;
  float furthest = -1;
  {
    for (size_t p = 0; p < doc().mesh->parts.size(); ++p) {
      const auto& rest = doc().mesh->parts[p].positions;
      const auto& posed = doc().skinBuffers->parts[p].skinPositions;
      for (size_t c = 0; c < rest.size() && c < posed.size(); ++c) {
        const Vector3 d{posed[c].x - rest[c].x, posed[c].y - rest[c].y, posed[c].z - rest[c].z};
        const float moved = d.x * d.x + d.y * d.y + d.z * d.z;
        if (moved > furthest) {
          furthest = moved;
          part = p;
          corner = c;
        }
      }
    }
  }
  ASSERT_GT(furthest, 0.01f);
  const Vector3 at = doc().skinBuffers->parts[part].skinPositions[corner];
  const double point[3] = {at.x, at.y, at.z};
  placeWeightBox(doc(), program().ui, point);
  command(IDM_PLACE_WEIGHT_BOX);  // records the box as its own step
  const Seen before = seen();
  const std::vector<WeightList> weightsBefore = doc().skinBuffers->parts[part].skinWeights;
  test::DialogScript script({{test::wide("重み付けボックスで重み付け"), [](HWND dialog) {
                                SetDlgItemTextW(dialog, IDC_BW_JOINT1, L"1");
                                SetDlgItemTextW(dialog, IDC_BW_WEIGHT1, L"1.0");
                                test::pressButton(dialog, IDOK);
                              }}});
  command(IDM_WEIGHT_BOX);
  ASSERT_EQ(script.stepsLeft(), 0u);
  const Seen after = seen();
  ASSERT_FALSE(doc().skinBuffers->parts[part].skinWeights == weightsBefore);
  ASSERT_FALSE(after.picture == before.picture);

  undo(view());
  EXPECT_EQ(statusText(), test::wide("元に戻しました：重み付けボックス内の頂点に重みをつける"));
  EXPECT_TRUE(doc().skinBuffers->parts[part].skinWeights == weightsBefore);
  expectSame(seen(), before);
  redo(view());
  EXPECT_EQ(statusText(), test::wide("やり直しました：重み付けボックス内の頂点に重みをつける"));
  expectSame(seen(), after);
  undo(view());
  undo(view());
  EXPECT_EQ(statusText(), test::wide("元に戻しました：重み付けボックスの配置"));
  EXPECT_EQ(doc().weightBoxShown, 0);
  undo(view());  // the whole drag is one step
  EXPECT_EQ(statusText(), test::wide("元に戻しました：FKでジョイントを回転"));
  EXPECT_EQ(elbow->axisAngle, angleBefore);
}

std::string gModelPath;

// The copy of the model beside the sample project the fixture opened.
bool gChooseModel(HWND, const FileDialogRequest&, FileChoice& choice) {
  choice = {gModelPath, "character.obj"};
  return true;
}

TEST_F(UndoGuiTest, JointPlacementOnAFreshModelAndOpenStartsANewHistory) {
  command(IDM_KEYFRAME_NEXT);  // an edit of the project, forgotten by the next Open
  gModelPath = doc().filePath.substr(0, doc().filePath.rfind('\\') + 1) + "character.obj";
  chooseFile = gChooseModel;
  test::DialogScript prompt({{test::wide("保存"), [](HWND box) { test::pressButton(box, IDNO); }}});
  command(IDM_FILE_OPEN);
  ASSERT_EQ(doc().decitionJointPosition, 0);
  undo(view());
  EXPECT_EQ(statusText(), test::wide("元に戻す操作はありません"));

  command(IDM_PLACE_ROOT);
  const POINT centre{doc().clientWidth / 2, doc().clientHeight / 2};
  test::clickView(centre);
  ASSERT_EQ(doc().skeleton.size(), 1u);
  command(IDM_PLACE_CHILD);
  test::clickView(test::viewPointOf(doc().skeleton.jointOrder[0]->jointWorldPosition));
  const Seen before = seen();
  test::clickView({centre.x + 40, centre.y - 60});
  ASSERT_EQ(doc().skeleton.size(), 2u);
  const Seen after = seen();
  ASSERT_EQ(after.tree.size(), 2u);

  undo(view());
  EXPECT_EQ(statusText(), test::wide("元に戻しました：子ジョイントの配置"));
  expectSame(seen(), before);
  redo(view());
  EXPECT_EQ(statusText(), test::wide("やり直しました：子ジョイントの配置"));
  expectSame(seen(), after);
  undo(view());
  undo(view());
  EXPECT_EQ(statusText(), test::wide("元に戻しました：基準ジョイント配置"));
  EXPECT_TRUE(treeTexts().empty());
  EXPECT_TRUE(doc().skeleton.empty());
}

}  // namespace
}  // namespace lw
