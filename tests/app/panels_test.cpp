#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "app/program.h"
#include "app/side_panels.h"
#include "core/command_ids.h"
#include "gui_harness.h"

namespace lw {
namespace {

class PanelsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test::startProgram()); }
  void TearDown() override { test::endProgram(); }

  HWND panel() const { return program().windows.motionPanel; }
  void click(int id) { SendMessageW(GetDlgItem(panel(), id), BM_CLICK, 0, 0); }
  Joint& addJoint(const std::string& name, int32_t id, const std::string& treeName) {
    auto joint = std::make_unique<Joint>();
    joint->jointName = name;
    joint->jointID = id;
    joint->TreeName = treeName;
    Joint* raw = joint.get();
    program().doc.skeleton.jointOrder.push_back(std::move(joint));
    program().doc.skeleton.joints[name] = raw;
    return *raw;
  }
};

RECT placeInParent(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TEST_F(PanelsTest, ButtonsHaveTheirTextPlaceSizeAndFont) {
  const struct {
    int id;
    const char* text;
    int x, y, width;
  } buttons[] = {
      {501, "←back", 20, 20, 45},   {502, "next→", 65, 20, 45},   {552, "KF_BONE表示", 110, 20, 70},
      {507, "BOX配置", 280, 20, 55}, {508, "面移動", 335, 20, 55},  {509, "BOX重み", 390, 20, 55},
      {510, "頂点重み", 445, 20, 55}, {511, "上", 280, 40, 55},      {512, "下", 335, 40, 55},
      {513, "右", 390, 40, 55},      {514, "左", 445, 40, 55},      {515, "正面", 500, 40, 55},
      {516, "背面", 555, 40, 55},    {517, "回転", 280, 60, 55},    {518, "左右", 335, 60, 55},
      {519, "上下", 390, 60, 55},    {520, "拡大縮小", 445, 60, 55}, {521, "面描画", 280, 80, 55},
      {522, "線描画", 335, 80, 55},  {523, "点描画", 390, 80, 55},
  };
  for (const auto& b : buttons) {
    HWND button = GetDlgItem(panel(), b.id);
    ASSERT_NE(button, nullptr) << b.id;
    EXPECT_EQ(test::windowText(button), test::wide(b.text)) << b.id;
    const RECT r = placeInParent(button);
    EXPECT_EQ(r.left, b.x) << b.id;
    EXPECT_EQ(r.top, b.y) << b.id;
    EXPECT_EQ(r.right - r.left, b.width) << b.id;
    EXPECT_EQ(r.bottom - r.top, 20) << b.id;
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)),
              program().panelFont)
        << b.id;
  }
  RECT client = {};
  GetClientRect(panel(), &client);
  const RECT group = placeInParent(GetDlgItem(panel(), 503));
  EXPECT_EQ(test::windowText(GetDlgItem(panel(), 503)), test::wide("キーフレーム情報"));
  EXPECT_EQ(group.bottom - group.top, client.bottom - 3);
  EXPECT_EQ(test::windowText(GetDlgItem(panel(), 506)), test::wide("重み付け・視点・描画方法"));
}

TEST_F(PanelsTest, FrameDisplayShowsNullUntilAKeyframeIsAtTheCursor) {
  const ProgramWindows& w = program().windows;
  EXPECT_EQ(GetDlgCtrlID(w.frameNumber), 504);
  EXPECT_EQ(GetDlgCtrlID(w.frameTime), 504);
  EXPECT_EQ(test::windowText(w.frameNumber), L"NULL");
  EXPECT_EQ(test::windowText(w.frameTime), L"NULL");

  program().ui.refreshMotionPanel();  // no keyframe at the cursor
  EXPECT_EQ(test::windowText(w.frameNumber), L"NULL");

  KeyframeStore& store = *program().doc.keyFrames;
  auto frame = std::make_shared<KeyFrame>();
  frame->number = 3;
  frame->time = -1500;
  store.byNumber[3] = frame;
  store.byTime[-1500] = frame;
  store.currentNumber = 3;
  program().ui.refreshMotionPanel();
  EXPECT_EQ(test::windowText(w.frameNumber), L"3");
  EXPECT_EQ(test::windowText(w.frameTime), L"-1500");

  program().ui.resetFrameDisplay();
  EXPECT_EQ(test::windowText(w.frameNumber), L"NULL");
  EXPECT_EQ(test::windowText(w.frameTime), L"NULL");
}

TEST_F(PanelsTest, GuardedButtonsShowTheirMessageAndSendNothing) {
  SceneDocument& doc = program().doc;
  const struct {
    int button;
    const char* text;
    const char* title;
  } guards[] = {
      {507, "ジョイントの位置確定処理がされていません", "位置確定前"},
      {510, "ジョイントの位置確定処理がされていません", "位置確定前"},
      {508, "重み付けボックスが置かれていません", "重み付けボックス配置前"},
      {509, "重み付けボックスが置かれていません", "重み付けボックス配置前"},
      {552, "キーフレームが1つも登録されていません", "キーフレーム無し"},
  };
  for (const auto& g : guards) {
    test::DialogScript script({test::acknowledge(g.title)});
    click(g.button);
    ASSERT_EQ(script.seen().size(), 1u) << g.button;
    EXPECT_EQ(script.seen()[0].text, test::wide(g.text)) << g.button;
    EXPECT_EQ(script.stepsLeft(), 0u) << g.button;
    EXPECT_EQ(doc.editMode, Idle) << g.button;
  }
}

TEST_F(PanelsTest, ButtonsSendTheirMenuCommandOnceTheGuardHolds) {
  SceneDocument& doc = program().doc;
  doc.decitionJointPosition = 1;
  click(507);
  EXPECT_EQ(doc.editMode, PlaceWeightBox);
  doc.weightBoxShown = 1;
  click(508);
  EXPECT_EQ(doc.editMode, MoveWeightBoxFace);
  click(510);
  EXPECT_EQ(doc.editMode, WeightByVertex);
  // The view, camera and drawing buttons have no guard, even with no model.
  click(511);
  EXPECT_EQ(doc.viewElevation, 90);
  click(520);
  EXPECT_EQ(doc.cameraDrag, 3);
  click(522);
  EXPECT_EQ(doc.drawMode, 3);
}

TEST_F(PanelsTest, ButtonActionMapsEveryButtonToItsCommand) {
  SceneDocument& doc = program().doc;
  EXPECT_EQ(panelButtonAction(501, doc).command, IDM_KEYFRAME_PREVIOUS);
  EXPECT_EQ(panelButtonAction(502, doc).command, IDM_KEYFRAME_NEXT);
  EXPECT_EQ(panelButtonAction(516, doc).command, IDM_VIEW_BACK);
  EXPECT_EQ(panelButtonAction(518, doc).command, IDM_CAMERA_PAN_X);
  EXPECT_EQ(panelButtonAction(519, doc).command, IDM_CAMERA_PAN_Y);
  EXPECT_EQ(panelButtonAction(523, doc).command, IDM_DRAW_POINTS);
  EXPECT_EQ(panelButtonAction(552, doc).command, 0);
  auto frame = std::make_shared<KeyFrame>();
  doc.keyFrames->byNumber[1] = frame;
  EXPECT_EQ(panelButtonAction(552, doc).command, 0);  // both maps must hold one
  doc.keyFrames->byTime[0] = frame;
  EXPECT_EQ(panelButtonAction(552, doc).command, IDM_KEYFRAME_BONES);
  EXPECT_EQ(panelButtonAction(999, doc).command, 0);
  EXPECT_EQ(panelButtonAction(999, doc).text, nullptr);
}

TEST_F(PanelsTest, TreeViewIsTheBoneTreesOnlyChild) {
  HWND tree = program().windows.treeView;
  EXPECT_EQ(test::windowClass(tree), L"SysTreeView32");
  EXPECT_EQ(test::windowText(tree), L"bTree");
  EXPECT_EQ(GetDlgCtrlID(tree), 200);
  EXPECT_EQ(GetParent(tree), program().windows.boneTree);
  const DWORD style = static_cast<DWORD>(GetWindowLongW(tree, GWL_STYLE));
  const DWORD wanted = WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES |
                       TVS_LINESATROOT;
  EXPECT_EQ(style & wanted, wanted);
  RECT client = {}, treeRect = {};
  GetClientRect(program().windows.boneTree, &client);
  GetWindowRect(tree, &treeRect);
  EXPECT_EQ(treeRect.right - treeRect.left, client.right);
  EXPECT_EQ(treeRect.bottom - treeRect.top, client.bottom);
}

TEST_F(PanelsTest, DoubleClickSelectsTheJointWithThatTreeName) {
  WinShellUi& ui = program().ui;
  HWND tree = program().windows.treeView;
  Joint& base = addJoint("Joint0", 1, "腰");
  Joint& arm = addJoint("Joint1", 2, "右腕");
  Joint& twin = addJoint("Joint2", 3, "右腕");
  base.treeItem = ui.treeInsertItem(nullptr, base.TreeName);
  arm.treeItem = ui.treeInsertItem(base.treeItem, arm.TreeName);
  twin.treeItem = ui.treeInsertItem(base.treeItem, twin.TreeName);
  HTREEITEM stray = static_cast<HTREEITEM>(ui.treeInsertItem(base.treeItem, "誰でもない"));
  EXPECT_EQ(TreeView_GetCount(tree), 4u);
  EXPECT_EQ(TreeView_GetParent(tree, static_cast<HTREEITEM>(arm.treeItem)), base.treeItem);

  const auto doubleClick = [&](HTREEITEM item) {
    TreeView_SelectItem(tree, item);
    NMHDR header = {tree, 200, static_cast<UINT>(NM_DBLCLK)};
    SendMessageW(program().windows.boneTree, WM_NOTIFY, 200, reinterpret_cast<LPARAM>(&header));
  };
  EXPECT_EQ(program().doc.treeSelectedJoint, -999);
  doubleClick(static_cast<HTREEITEM>(twin.treeItem));  // same name as Joint1: Joint1 wins
  EXPECT_EQ(program().doc.treeSelectedJoint, 2);
  doubleClick(static_cast<HTREEITEM>(base.treeItem));
  EXPECT_EQ(program().doc.treeSelectedJoint, 1);
  doubleClick(stray);
  EXPECT_EQ(program().doc.treeSelectedJoint, 1);

  ui.treeDeleteRoot();
  EXPECT_EQ(TreeView_GetCount(tree), 0u);
}

TEST_F(PanelsTest, ForcedExpansionReopensACollapsedItemAtTheNextRepaint) {
  WinShellUi& ui = program().ui;
  HWND tree = program().windows.treeView;
  Joint& base = addJoint("Joint0", 1, "Joint0");
  Joint& child = addJoint("Joint1", 2, "Joint1");
  base.treeItem = ui.treeInsertItem(nullptr, base.TreeName);
  child.treeItem = ui.treeInsertItem(base.treeItem, child.TreeName);
  const auto expanded = [&] {
    return (TreeView_GetItemState(tree, static_cast<HTREEITEM>(base.treeItem), TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
  };
  const auto repaint = [&] {
    InvalidateRect(program().windows.boneTree, nullptr, TRUE);
    UpdateWindow(program().windows.boneTree);
  };
  repaint();
  EXPECT_TRUE(expanded());
  TreeView_Expand(tree, static_cast<HTREEITEM>(base.treeItem), TVE_COLLAPSE);
  EXPECT_FALSE(expanded());
  repaint();
  EXPECT_TRUE(expanded());

  program().doc.treeAlwaysExpanded = 0;
  TreeView_Expand(tree, static_cast<HTREEITEM>(base.treeItem), TVE_COLLAPSE);
  repaint();
  EXPECT_FALSE(expanded());
  ui.treeExpandAll();
  EXPECT_TRUE(expanded());
}

}  // namespace
}  // namespace lw
