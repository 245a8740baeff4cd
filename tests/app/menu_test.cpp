#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "app/program.h"
#include "core/command_ids.h"
#include "gui_harness.h"

namespace lw {
namespace {

struct MenuRow {
  int id;
  const char* label;
  const char* help;  // empty: the item has no help text
};

// Every command item of the menu with its label and status-bar help text.
constexpr MenuRow kItems[] = {
    {IDM_FILE_OPEN, "ファイルを開く", "Obj,OJPファイルを開きます。"},
    {IDM_FILE_ADD, "ファイルを追加する", "装飾用のオブジェクトのファイルを開きます。"},
    {IDM_FILE_SAVE_AS, "名前をつけて保存", "ファイルに名前をつけて、Obj/OJP形式で保存します。"},
    {IDM_FILE_EXIT, "Limbweaverの終了(&X)", "Limbweaverを終了します。"},
    {IDM_VIEW_TOP, "上から", "オブジェクトを上から見下ろす視点にします。"},
    {IDM_VIEW_BOTTOM, "下から", "オブジェクトを下から見上げる視点にします。"},
    {IDM_VIEW_RIGHT, "右から", "オブジェクトを正面に対して右側から見る視点にします。"},
    {IDM_VIEW_LEFT, "左から", "オブジェクトを正面に対して左側から見る視点にします。"},
    {IDM_VIEW_FRONT, "正面から",
     "オブジェクトを正面から見る視点にします（起動時はこの視点です）。"},
    {IDM_VIEW_BACK, "背面から", "オブジェクトを背面から見る視点にします。"},
    {IDM_CAMERA_ROTATE, "回転", "ワールド座標系を回転させます。"},
    {IDM_CAMERA_PAN_X, "左右", "ワールド座標系を左右に移動させます。"},
    {IDM_CAMERA_PAN_Y, "上下", "ワールド座標系を上下に移動させます。"},
    {IDM_CAMERA_ZOOM, "拡大・縮小", "ワールド座標系を拡大・縮小させます。"},
    {IDM_DRAW_FACES, "面描画", "オブジェクトを面描画します。"},
    {IDM_DRAW_LINES, "線描画", "オブジェクトを線描画します。"},
    {IDM_DRAW_POINTS, "点描画", "オブジェクトを点描画します。"},
    {IDM_SHOW_JOINT_NUMBERS, "ジョイント番号表示",
     "ジョイントの付近にジョイント番号を表示します。"},
    {IDM_SHOW_BONE_AXES, "ボーン座標系の表示", "ボーンが属する座標系のX, Y, Z座標軸を表示します。"},
    {IDM_SHOW_FK_AXES, "ボーンのFKでの回転軸を表示",
     "FKで、ジョイントの回転軸となるベクトルを表示します。"},
    {IDM_SHOW_WORLD_AXES, "ワールド座標系の表示", "ワールド座標系の表示・非表示を切り替えます。"},
    {IDM_DECORATIONS_SHOW, "表示", "装飾用オブジェクトを表示します。"},
    {IDM_DECORATIONS_HIDE, "非表示", "装飾用オブジェクトを非表示にします。"},
    {IDM_ANTIALIAS_ON, "有効", "アンチエイリアス処理を有効にします。"},
    {IDM_ANTIALIAS_OFF, "無効", "アンチエイリアス処理を無効にします。"},
    {IDM_SHADOW_ON, "有効", "シャドウマップ処理を有効にします。"},
    {IDM_SHADOW_OFF, "無効", "シャドウマップ処理を無効にします。"},
    {IDM_SHADOW_LIGHT, "シャドウマップ用光源の位置設定",
     "シャドウを作るための光源のワールド座標位置を設定します。"},
    {IDM_BACKGROUND, "背景色の変更", "3Dウインドウの背景色を変更します。"},
    {IDM_SHADING_TOON, "トゥーン", "トゥーンシェーディングを有効にします。"},
    {IDM_SHADING_CUSTOM, "任意のGLSLソース(頂点・フラグメント)",
     "任意のGLSLの頂点シェーダソース、フラグメントシェーダソースを指定します。"},
    {IDM_SHADING_OFF, "無効", "GLSLによるシェーディングを無効にします。"},
    {IDM_RIGHT_LIGHT_ON, "有効", "右側の装飾用光源を有効にします。"},
    {IDM_RIGHT_LIGHT_OFF, "無効", "右側の装飾用光源を無効にします。"},
    {IDM_RIGHT_LIGHT_RGBA, "RGBA設定", "右側の装飾用光源の色を設定します。"},
    {IDM_LEFT_LIGHT_ON, "有効", "左側の装飾用光源を有効にします。"},
    {IDM_LEFT_LIGHT_OFF, "無効", "左側の装飾用光源を無効にします。"},
    {IDM_LEFT_LIGHT_RGBA, "RGBA設定", "左側の装飾用光源の色を設定します。"},
    {IDM_PLACE_ROOT, "基準ジョイント配置", "基準ジョイントを配置します。"},
    {IDM_PLACE_CHILD, "ノーマル", "基準ジョイントに対して子となるジョイントを配置します。"},
    {IDM_PLACE_CHILD_XY, "XY平面",
     "基準ジョイントに対して子となるジョイントをXY平面で対象となるように配置します。"},
    {IDM_PLACE_CHILD_YZ, "YZ平面",
     "基準ジョイントに対して子となるジョイントをYZ平面で対象となるように配置します。"},
    {IDM_PLACE_CHILD_ZX, "ZX平面",
     "基準ジョイントに対して子となるジョイントをZX平面で対象となるように配置します。"},
    {IDM_MIRROR_XY, "XY平面",
     "基準ジョイントに対して子となるジョイントをXY平面で対象になるように移動します。"},
    {IDM_MIRROR_YZ, "YZ平面",
     "基準ジョイントに対して子となるジョイントをYZ平面で対象になるように移動します。"},
    {IDM_MIRROR_ZX, "ZX平面",
     "基準ジョイントに対して子となるジョイントをZX平面で対象になるように移動します。"},
    {IDM_MOVE_CHILD, "子ジョイントの移動",
     "基準ジョイントに対して子となるジョイントを移動します。"},
    {IDM_DELETE_CHILD, "子ジョイントの削除",
     "基準ジョイントに対して子となるジョイントを削除します。"},
    {IDM_NAME_JOINT, "ジョイントに名前をつける",
     "ツリービューに表示するジョイントの名前を決定します。"},
    {IDM_FIX_POSITIONS, "ジョイントの位置を確定する",
     "各ジョイントを「ワールド座標描画」から「ローカル座標描画」にします。"},
    {IDM_ROTATE_FK, "FKでジョイントを回転",
     "フォワードキネマティクス(FK)でジョイントを回転させます。"},
    {IDM_ROTATE_IK, "IKでジョイントを回転",
     "インバースキネマティクス(IK)でジョイントを回転させます。"},
    {IDM_STOP_IK, "IKでのジョイントの回転停止",
     "選んだジョイントをIKの伝達を禁止するジョイントにします。"},
    {IDM_RESET_ROTATIONS, "すべてのジョイント回転を元に戻す",
     "FKでのジョイントの回転のみ元に戻します。"},
    {IDM_MOVE_ROOT_X, "X方向", "基準ジョイントをX軸方向に移動します。"},
    {IDM_MOVE_ROOT_Y, "Y方向", "基準ジョイントをY軸方向に移動します。"},
    {IDM_MOVE_ROOT_Z, "Z方向", "基準ジョイントをZ軸方向に移動します。"},
    {IDM_EQUALISE_BONES, "ボーンの長さを揃える", "ボーンの長さを同じ長さにします。"},
    {IDM_TREE_EXPANDED, "ツリービューの強制展開",
     "ツリービューを常に展開状態とするかどうかを指定します。"},
    {IDM_PLACE_WEIGHT_BOX, "重み付けボックスの配置", "重み付けボックスの配置をします。"},
    {IDM_MOVE_BOX_FACE, "重み付けボックスの面の移動",
     "重み付けボックスの面を1枚指定して移動します。"},
    {IDM_WEIGHT_BOX, "重み付けボックス内の頂点に重みをつける",
     "重み付けボックスの中にある頂点に対して重みをつけます。"},
    {IDM_SHOW_WEIGHT_BOX, "重み付けボックスの表示/非表示", ""},
    {IDM_WEIGHT_BY_VERTEX, "頂点選択で重み付け", "頂点を1つ選択して重みをつけます。"},
    {IDM_SKINNING_ON, "有効", "スキニングを有効にします。"},
    {IDM_SKINNING_OFF, "無効", "スキニングを無効にします。"},
    {IDM_AXIS_FREE, "FK用の回転軸をIKで編集", "FKでのジョイントの回転軸をIKで向きを変えます。"},
    {IDM_AXIS_X, "X軸と平行",
     "FKでのジョイントの回転軸をワールド座標系のX軸と平行になるようにします。"},
    {IDM_AXIS_Y, "Y軸と平行",
     "FKでのジョイントの回転軸をワールド座標系のY軸と平行になるようにします。"},
    {IDM_AXIS_Z, "Z軸と平行",
     "FKでのジョイントの回転軸をワールド座標系のZ軸と平行になるようにします。"},
    {IDM_AXIS_REVERSED, "逆方向",
     "「X軸と平行」「Y軸と平行」「Z軸と平行」メニューで設定するFKでのジョイントの回転軸の向きが通常"
     "とは逆になります。"},
    {IDM_KEYFRAME_CREATE, "現在の姿勢をキーフレームにする",
     "表示されているオブジェクトの姿勢をキーフレームとして登録します。"},
    {IDM_KEYFRAME_NEXT, "次のキーフレームを参照",
     "現在表示しているキーフレームの次の時刻のキーフレームを表示します。"},
    {IDM_KEYFRAME_PREVIOUS, "前のキーフレームを参照",
     "現在表示しているキーフレームより前の時刻のキーフレームを表示します。"},
    {IDM_KEYFRAME_DELETE, "表示しているキーフレームを削除",
     "現在表示しているキーフレームを削除します。"},
    {IDM_KEYFRAME_BONES, "キーフレームのボーン表示",
     "ボーンの姿勢と、それに合ったオブジェクトの姿勢を表示します。"},
    {IDM_INTERPOLATION, "補間方法",
     "キーフレーム間の補間アルゴリズムの設定やジョイントの指定を行います。"},
    {IDM_PLAY_ALL, "全体",
     "Spaceキーを押すと、キーフレームの最初から最後までアニメーションを実行できるようにします。"},
    {IDM_PLAY_RANGE, "指定したキーフレーム間",
     "Spaceキーを押すと、指定されたキーフレーム間でアニメーションを実行できるようにします。"},
    {IDM_PLAY, "アニメーションの再生", "アニメーションを再生します。Spaceキーでも可能です。"},
    {IDM_SAVE_FRAMES, "フレームを画像として保存",
     "アニメーション再生中の状態を1フレーム描画する毎にBMP画像として保存します。アニメーション自体"
     "は大幅に遅延します。ハードディスクの容量をかなり使います。"},
    {IDM_VERSION, "バージョン",
     "Limbweaverのバージョン情報、OpenGLのバージョン情報、GPUのベンダ名称、GPUドライバ名称、テクス"
     "チャユニット数を表示します。"},
};

constexpr const char* kPopups[] = {"ファイル(&F)", "視点",     "視点変更", "表示",
                                   "シェーディング", "ライト",   "ジョイント", "ボーン",
                                   "重み",          "回転軸",   "キーフレーム", "アニメーション"};

// Command items of a menu and its submenus: id -> label.
void collectItems(HMENU menu, std::map<int, std::wstring>& items, int& duplicates) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
    info.dwTypeData = text;
    info.cch = 256;
    ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
    if (info.hSubMenu != nullptr) {
      collectItems(info.hSubMenu, items, duplicates);
    } else if (!(info.fType & MFT_SEPARATOR)) {
      if (!items.emplace(static_cast<int>(info.wID), text).second) ++duplicates;
    }
  }
}

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test::startProgram()); }
  void TearDown() override { test::endProgram(); }

  HMENU menu() const { return GetMenu(program().windows.main); }
  UINT state(int id) const { return GetMenuState(menu(), static_cast<UINT>(id), MF_BYCOMMAND); }
  bool greyed(int id) const { return (state(id) & MF_GRAYED) != 0; }
  bool checked(int id) const { return (state(id) & MF_CHECKED) != 0; }
  std::wstring statusText() const {
    wchar_t text[512] = {};
    SendMessageW(program().windows.statusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    return text;
  }
  void highlight(int id) {
    SendMessageW(program().windows.main, WM_MENUSELECT, MAKEWPARAM(id, MF_HILITE),
                 reinterpret_cast<LPARAM>(menu()));
  }
  void command(int id) { SendMessageW(program().windows.main, WM_COMMAND, id, 0); }
};

TEST_F(MenuTest, BarHoldsTwelvePopupsAndTheVersionItem) {
  HMENU bar = menu();
  ASSERT_EQ(GetMenuItemCount(bar), 13);
  for (int i = 0; i < 12; ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(bar, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    EXPECT_EQ(text, test::wide(kPopups[i])) << i;
    EXPECT_NE(GetSubMenu(bar, i), nullptr) << i;
  }
  EXPECT_EQ(GetSubMenu(bar, 12), nullptr);
  EXPECT_EQ(GetMenuItemID(bar, 12), 40056u);
}

TEST_F(MenuTest, EveryItemHasItsIdAndLabelOnce) {
  std::map<int, std::wstring> items;
  int duplicates = 0;
  collectItems(menu(), items, duplicates);
  EXPECT_EQ(duplicates, 0);
  EXPECT_EQ(items.size(), std::size(kItems));
  for (const MenuRow& row : kItems) {
    const auto found = items.find(row.id);
    ASSERT_NE(found, items.end()) << row.id;
    EXPECT_EQ(found->second, test::wide(row.label)) << row.id;
  }
}

TEST_F(MenuTest, HighlightingAnItemShowsItsHelpTextAndLeavingTheMenuClearsIt) {
  for (const MenuRow& row : kItems) {
    SendMessageW(program().windows.statusBar, SB_SETTEXTW, 255,
                 reinterpret_cast<LPARAM>(L"previous"));
    highlight(row.id);
    const std::wstring expected = row.help[0] != 0 ? test::wide(row.help) : L"previous";
    EXPECT_EQ(statusText(), expected) << row.id;
  }
  highlight(IDM_FILE_OPEN);
  SendMessageW(program().windows.main, WM_EXITMENULOOP, FALSE, 0);
  EXPECT_EQ(statusText(), L"");
}

TEST_F(MenuTest, HighlightingAPopupLeavesTheHelpText) {
  highlight(IDM_VIEW_TOP);
  SendMessageW(program().windows.main, WM_MENUSELECT, MAKEWPARAM(2, MF_HILITE | MF_POPUP),
               reinterpret_cast<LPARAM>(menu()));
  EXPECT_EQ(statusText(), test::wide("オブジェクトを上から見下ろす視点にします。"));
}

TEST_F(MenuTest, NoDocumentStateGreysAndChecksTheListedItemsAtStart) {
  const int grey[] = {IDM_DRAW_FACES,
                      IDM_DRAW_LINES,
                      IDM_DRAW_POINTS,
                      IDM_SHOW_JOINT_NUMBERS,
                      IDM_SHOW_BONE_AXES,
                      IDM_SHOW_FK_AXES,
                      IDM_PLACE_ROOT,
                      IDM_PLACE_CHILD,
                      IDM_PLACE_CHILD_XY,
                      IDM_PLACE_CHILD_YZ,
                      IDM_PLACE_CHILD_ZX,
                      IDM_MIRROR_XY,
                      IDM_MIRROR_YZ,
                      IDM_MIRROR_ZX,
                      IDM_MOVE_CHILD,
                      IDM_FIX_POSITIONS,
                      IDM_ROTATE_FK,
                      IDM_RESET_ROTATIONS,
                      IDM_MOVE_ROOT_X,
                      IDM_MOVE_ROOT_Y,
                      IDM_MOVE_ROOT_Z,
                      IDM_PLACE_WEIGHT_BOX,
                      IDM_MOVE_BOX_FACE,
                      IDM_WEIGHT_BOX,
                      IDM_SHOW_WEIGHT_BOX,
                      IDM_WEIGHT_BY_VERTEX,
                      IDM_SKINNING_ON,
                      IDM_SKINNING_OFF,
                      IDM_AXIS_FREE,
                      IDM_AXIS_X,
                      IDM_AXIS_Y,
                      IDM_AXIS_Z,
                      IDM_AXIS_REVERSED,
                      IDM_KEYFRAME_PREVIOUS,
                      IDM_KEYFRAME_NEXT,
                      IDM_INTERPOLATION,
                      IDM_KEYFRAME_BONES,
                      IDM_KEYFRAME_DELETE,
                      IDM_PLAY_ALL,
                      IDM_PLAY_RANGE,
                      IDM_KEYFRAME_CREATE,
                      IDM_EQUALISE_BONES,
                      IDM_ROTATE_IK,
                      IDM_STOP_IK,
                      IDM_DELETE_CHILD,
                      IDM_NAME_JOINT,
                      IDM_PLAY,
                      IDM_FILE_ADD,
                      IDM_SHADOW_ON,
                      IDM_SHADOW_OFF,
                      IDM_SHADOW_LIGHT,
                      IDM_SAVE_FRAMES};
  const int enabled[] = {
      IDM_FILE_OPEN,        IDM_FILE_SAVE_AS,    IDM_FILE_EXIT,        IDM_VIEW_TOP,
      IDM_VIEW_BOTTOM,      IDM_VIEW_RIGHT,      IDM_VIEW_LEFT,        IDM_VIEW_FRONT,
      IDM_VIEW_BACK,        IDM_CAMERA_ROTATE,   IDM_CAMERA_PAN_X,     IDM_CAMERA_ZOOM,
      IDM_CAMERA_PAN_Y,     IDM_SHOW_WORLD_AXES, IDM_DECORATIONS_SHOW, IDM_DECORATIONS_HIDE,
      IDM_ANTIALIAS_ON,     IDM_ANTIALIAS_OFF,   IDM_BACKGROUND,       IDM_SHADING_TOON,
      IDM_SHADING_OFF,      IDM_SHADING_CUSTOM,  IDM_RIGHT_LIGHT_ON,   IDM_RIGHT_LIGHT_OFF,
      IDM_RIGHT_LIGHT_RGBA, IDM_LEFT_LIGHT_ON,   IDM_LEFT_LIGHT_OFF,   IDM_LEFT_LIGHT_RGBA,
      IDM_TREE_EXPANDED,    IDM_VERSION};
  for (int id : grey) EXPECT_TRUE(greyed(id)) << id;
  for (int id : enabled) EXPECT_FALSE(greyed(id)) << id;
  for (int id : {IDM_SHADOW_OFF, IDM_SHOW_WORLD_AXES, IDM_TREE_EXPANDED, IDM_DECORATIONS_SHOW,
                 IDM_ANTIALIAS_OFF, IDM_RIGHT_LIGHT_OFF, IDM_LEFT_LIGHT_OFF, IDM_SHADING_OFF}) {
    EXPECT_TRUE(checked(id)) << id;
  }
  for (int id : {IDM_DECORATIONS_HIDE, IDM_ANTIALIAS_ON, IDM_SHADOW_ON, IDM_RIGHT_LIGHT_ON,
                 IDM_LEFT_LIGHT_ON, IDM_SHADING_TOON, IDM_SHADING_CUSTOM, IDM_SAVE_FRAMES}) {
    EXPECT_FALSE(checked(id)) << id;
  }
}

TEST_F(MenuTest, RadioPairsKeepExactlyOneItemChecked) {
  const int pairs[][2] = {{IDM_DECORATIONS_SHOW, IDM_DECORATIONS_HIDE},
                          {IDM_ANTIALIAS_ON, IDM_ANTIALIAS_OFF},
                          {IDM_SHADOW_ON, IDM_SHADOW_OFF},
                          {IDM_RIGHT_LIGHT_ON, IDM_RIGHT_LIGHT_OFF},
                          {IDM_LEFT_LIGHT_ON, IDM_LEFT_LIGHT_OFF}};
  for (const auto& pair : pairs) {
    for (int chosen : pair) {
      command(chosen);
      const int other = chosen == pair[0] ? pair[1] : pair[0];
      EXPECT_TRUE(checked(chosen)) << chosen;
      EXPECT_FALSE(checked(other)) << chosen;
    }
  }
  const SceneDocument& doc = program().doc;
  EXPECT_EQ(doc.showDecorations, 0);
  EXPECT_EQ(doc.antiAliasing, 0);
  EXPECT_EQ(doc.shadowMap, 0);
  EXPECT_EQ(doc.rightLightOn, 0);
  EXPECT_EQ(doc.leftLightOn, 0);
  command(IDM_ANTIALIAS_ON);
  command(IDM_RIGHT_LIGHT_ON);
  EXPECT_EQ(doc.antiAliasing, 1);
  EXPECT_EQ(doc.rightLightOn, 1);
}

TEST_F(MenuTest, TogglesFlipTheirFlagAndCheckMark) {
  const SceneDocument& doc = program().doc;
  command(IDM_SHOW_WORLD_AXES);
  EXPECT_EQ(doc.showWorldAxes, 0);
  EXPECT_FALSE(checked(IDM_SHOW_WORLD_AXES));
  command(IDM_SHOW_WORLD_AXES);
  EXPECT_EQ(doc.showWorldAxes, 1);
  EXPECT_TRUE(checked(IDM_SHOW_WORLD_AXES));
  command(IDM_TREE_EXPANDED);
  EXPECT_EQ(doc.treeAlwaysExpanded, 0);
  EXPECT_FALSE(checked(IDM_TREE_EXPANDED));
  command(IDM_SAVE_FRAMES);
  EXPECT_EQ(doc.saveFramesAsBmp, 1);
  EXPECT_TRUE(checked(IDM_SAVE_FRAMES));
  command(IDM_AXIS_REVERSED);
  EXPECT_EQ(doc.axisReversed, 1);
  EXPECT_TRUE(checked(IDM_AXIS_REVERSED));
}

TEST_F(MenuTest, FkAxesDisplaySwitchesTheAxisItems) {
  command(IDM_SHOW_FK_AXES);
  EXPECT_TRUE(checked(IDM_SHOW_FK_AXES));
  for (int id : {IDM_AXIS_FREE, IDM_AXIS_X, IDM_AXIS_Y, IDM_AXIS_Z, IDM_AXIS_REVERSED})
    EXPECT_FALSE(greyed(id)) << id;
  command(IDM_SHOW_FK_AXES);
  EXPECT_FALSE(checked(IDM_SHOW_FK_AXES));
  for (int id : {IDM_AXIS_FREE, IDM_AXIS_X, IDM_AXIS_Y, IDM_AXIS_Z, IDM_AXIS_REVERSED})
    EXPECT_TRUE(greyed(id)) << id;
}

TEST_F(MenuTest, ViewPresetsSetBothAnglesAndTheLightDirection) {
  const SceneDocument& doc = program().doc;
  const struct {
    int id;
    double elevation, azimuth;
  } presets[] = {{IDM_VIEW_TOP, 90, 0},  {IDM_VIEW_BOTTOM, 270, 0}, {IDM_VIEW_RIGHT, 0, 270},
                 {IDM_VIEW_LEFT, 0, 90}, {IDM_VIEW_BACK, 0, 180},   {IDM_VIEW_FRONT, 0, 0}};
  for (const auto& preset : presets) {
    command(preset.id);
    EXPECT_EQ(doc.viewElevation, preset.elevation) << preset.id;
    EXPECT_EQ(doc.viewAzimuth, preset.azimuth) << preset.id;
    EXPECT_EQ(doc.viewDirection, cameraDirection(preset.elevation, preset.azimuth)) << preset.id;
  }
  command(IDM_CAMERA_PAN_Y);
  EXPECT_EQ(doc.cameraDrag, 2);
  command(IDM_CAMERA_ZOOM);
  EXPECT_EQ(doc.cameraDrag, 3);
}

TEST_F(MenuTest, PointDrawingWhilePlacingTheBoxShowsTheBoxAndKeepsTheDrawMode) {
  SceneDocument& doc = program().doc;
  command(IDM_DRAW_FACES);
  EXPECT_EQ(doc.drawMode, 4);
  doc.editMode = PlaceWeightBox;
  command(IDM_DRAW_POINTS);
  EXPECT_EQ(doc.drawMode, 4);
  EXPECT_EQ(doc.pointPickView, 1);
  EXPECT_EQ(doc.weightBoxShown, 1);
  doc.editMode = Idle;
  command(IDM_DRAW_POINTS);
  EXPECT_EQ(doc.drawMode, 0);
  command(IDM_DRAW_LINES);
  EXPECT_EQ(doc.drawMode, 3);
  EXPECT_EQ(doc.pointPickView, 0);
}

TEST_F(MenuTest, JointPlacementCommandsStepThroughTheMenuState) {
  SceneDocument& doc = program().doc;
  command(IDM_PLACE_ROOT);
  EXPECT_EQ(doc.editMode, PlaceRootJoint);
  for (int id : {IDM_PLACE_CHILD, IDM_PLACE_CHILD_XY, IDM_PLACE_CHILD_YZ, IDM_PLACE_CHILD_ZX})
    EXPECT_FALSE(greyed(id)) << id;
  command(IDM_PLACE_CHILD_YZ);
  EXPECT_EQ(doc.mirrorPlane, 1);
  EXPECT_EQ(doc.editMode, PlaceChildJoint);
  EXPECT_TRUE(greyed(IDM_PLACE_ROOT));
  for (int id : {IDM_MOVE_CHILD, IDM_MIRROR_XY, IDM_MIRROR_YZ, IDM_MIRROR_ZX, IDM_DELETE_CHILD,
                 IDM_NAME_JOINT, IDM_FIX_POSITIONS})
    EXPECT_FALSE(greyed(id)) << id;
  command(IDM_PLACE_CHILD);
  EXPECT_EQ(doc.mirrorPlane, 3);
  command(IDM_MIRROR_ZX);
  EXPECT_EQ(doc.mirrorPlane, 2);
  EXPECT_EQ(doc.selectedJoint, -1);
  EXPECT_EQ(doc.editMode, MirrorJoint);
}

TEST_F(MenuTest, VertexWeightingShowsJointNumbersForTheCommand) {
  SceneDocument& doc = program().doc;
  doc.weightBoxShown = 1;
  command(IDM_WEIGHT_BY_VERTEX);
  EXPECT_EQ(doc.editMode, WeightByVertex);
  EXPECT_EQ(doc.showJointNumbers, 1);
  EXPECT_EQ(doc.tempJointNumbers, 1);
  EXPECT_TRUE(checked(IDM_SHOW_JOINT_NUMBERS));
  EXPECT_EQ(doc.weightBoxShown, 0);
  EXPECT_EQ(doc.do_skinning, 1);
  command(IDM_WEIGHT_BY_VERTEX);
  EXPECT_EQ(doc.tempJointNumbers, 0);
}

TEST_F(MenuTest, IkRotationGreysBoneEqualising) {
  program().ui.enableMenuItem(IDM_EQUALISE_BONES, true);
  command(IDM_ROTATE_IK);
  EXPECT_EQ(program().doc.editMode, RotateIk);
  EXPECT_TRUE(greyed(IDM_EQUALISE_BONES));
}

}  // namespace
}  // namespace lw
