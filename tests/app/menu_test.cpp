#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "app/program.h"
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
    {102, "ファイルを開く", "Obj,OJPファイルを開きます。"},
    {40078, "ファイルを追加する", "装飾用のオブジェクトのファイルを開きます。"},
    {40018, "名前をつけて保存", "ファイルに名前をつけて、Obj/OJP形式で保存します。"},
    {101, "Limbweaverの終了(&X)", "Limbweaverを終了します。"},
    {40033, "上から", "オブジェクトを上から見下ろす視点にします。"},
    {40034, "下から", "オブジェクトを下から見上げる視点にします。"},
    {40035, "右から", "オブジェクトを正面に対して右側から見る視点にします。"},
    {40036, "左から", "オブジェクトを正面に対して左側から見る視点にします。"},
    {40037, "正面から", "オブジェクトを正面から見る視点にします（起動時はこの視点です）。"},
    {40038, "背面から", "オブジェクトを背面から見る視点にします。"},
    {40060, "回転", "ワールド座標系を回転させます。"},
    {40061, "左右", "ワールド座標系を左右に移動させます。"},
    {40063, "上下", "ワールド座標系を上下に移動させます。"},
    {40062, "拡大・縮小", "ワールド座標系を拡大・縮小させます。"},
    {40015, "面描画", "オブジェクトを面描画します。"},
    {40016, "線描画", "オブジェクトを線描画します。"},
    {40017, "点描画", "オブジェクトを点描画します。"},
    {40007, "ジョイント番号表示", "ジョイントの付近にジョイント番号を表示します。"},
    {40014, "ボーン座標系の表示", "ボーンが属する座標系のX, Y, Z座標軸を表示します。"},
    {40008, "ボーンのFKでの回転軸を表示", "FKで、ジョイントの回転軸となるベクトルを表示します。"},
    {40057, "ワールド座標系の表示", "ワールド座標系の表示・非表示を切り替えます。"},
    {40079, "表示", "装飾用オブジェクトを表示します。"},
    {40080, "非表示", "装飾用オブジェクトを非表示にします。"},
    {40081, "有効", "アンチエイリアス処理を有効にします。"},
    {40082, "無効", "アンチエイリアス処理を無効にします。"},
    {40089, "有効", "シャドウマップ処理を有効にします。"},
    {40090, "無効", "シャドウマップ処理を無効にします。"},
    {40091, "シャドウマップ用光源の位置設定", "シャドウを作るための光源のワールド座標位置を設定します。"},
    {40092, "背景色の変更", "3Dウインドウの背景色を変更します。"},
    {40094, "トゥーン", "トゥーンシェーディングを有効にします。"},
    {40096, "任意のGLSLソース(頂点・フラグメント)", "任意のGLSLの頂点シェーダソース、フラグメントシェーダソースを指定します。"},
    {40095, "無効", "GLSLによるシェーディングを無効にします。"},
    {40083, "有効", "右側の装飾用光源を有効にします。"},
    {40084, "無効", "右側の装飾用光源を無効にします。"},
    {40085, "RGBA設定", "右側の装飾用光源の色を設定します。"},
    {40086, "有効", "左側の装飾用光源を有効にします。"},
    {40087, "無効", "左側の装飾用光源を無効にします。"},
    {40088, "RGBA設定", "左側の装飾用光源の色を設定します。"},
    {410, "基準ジョイント配置", "基準ジョイントを配置します。"},
    {201, "ノーマル", "基準ジョイントに対して子となるジョイントを配置します。"},
    {40069, "XY平面", "基準ジョイントに対して子となるジョイントをXY平面で対象となるように配置します。"},
    {40070, "YZ平面", "基準ジョイントに対して子となるジョイントをYZ平面で対象となるように配置します。"},
    {40071, "ZX平面", "基準ジョイントに対して子となるジョイントをZX平面で対象となるように配置します。"},
    {40072, "XY平面", "基準ジョイントに対して子となるジョイントをXY平面で対象になるように移動します。"},
    {40073, "YZ平面", "基準ジョイントに対して子となるジョイントをYZ平面で対象になるように移動します。"},
    {40074, "ZX平面", "基準ジョイントに対して子となるジョイントをZX平面で対象になるように移動します。"},
    {202, "子ジョイントの移動", "基準ジョイントに対して子となるジョイントを移動します。"},
    {40053, "子ジョイントの削除", "基準ジョイントに対して子となるジョイントを削除します。"},
    {40054, "ジョイントに名前をつける", "ツリービューに表示するジョイントの名前を決定します。"},
    {203, "ジョイントの位置を確定する", "各ジョイントを「ワールド座標描画」から「ローカル座標描画」にします。"},
    {411, "FKでジョイントを回転", "フォワードキネマティクス(FK)でジョイントを回転させます。"},
    {40027, "IKでジョイントを回転", "インバースキネマティクス(IK)でジョイントを回転させます。"},
    {40050, "IKでのジョイントの回転停止", "選んだジョイントをIKの伝達を禁止するジョイントにします。"},
    {40002, "すべてのジョイント回転を元に戻す", "FKでのジョイントの回転のみ元に戻します。"},
    {40064, "X方向", "基準ジョイントをX軸方向に移動します。"},
    {40065, "Y方向", "基準ジョイントをY軸方向に移動します。"},
    {40066, "Z方向", "基準ジョイントをZ軸方向に移動します。"},
    {40032, "ボーンの長さを揃える", "ボーンの長さを同じ長さにします。"},
    {40055, "ツリービューの強制展開", "ツリービューを常に展開状態とするかどうかを指定します。"},
    {403, "重み付けボックスの配置", "重み付けボックスの配置をします。"},
    {406, "重み付けボックスの面の移動", "重み付けボックスの面を1枚指定して移動します。"},
    {40003, "重み付けボックス内の頂点に重みをつける", "重み付けボックスの中にある頂点に対して重みをつけます。"},
    {40068, "重み付けボックスの表示/非表示", ""},
    {412, "頂点選択で重み付け", "頂点を1つ選択して重みをつけます。"},
    {40005, "有効", "スキニングを有効にします。"},
    {40006, "無効", "スキニングを無効にします。"},
    {414, "FK用の回転軸をIKで編集", "FKでのジョイントの回転軸をIKで向きを変えます。"},
    {40075, "X軸と平行", "FKでのジョイントの回転軸をワールド座標系のX軸と平行になるようにします。"},
    {40076, "Y軸と平行", "FKでのジョイントの回転軸をワールド座標系のY軸と平行になるようにします。"},
    {40077, "Z軸と平行", "FKでのジョイントの回転軸をワールド座標系のZ軸と平行になるようにします。"},
    {40093, "逆方向", "「X軸と平行」「Y軸と平行」「Z軸と平行」メニューで設定するFKでのジョイントの回転軸の向きが通常とは逆になります。"},
    {40021, "現在の姿勢をキーフレームにする", "表示されているオブジェクトの姿勢をキーフレームとして登録します。"},
    {40025, "次のキーフレームを参照", "現在表示しているキーフレームの次の時刻のキーフレームを表示します。"},
    {40026, "前のキーフレームを参照", "現在表示しているキーフレームより前の時刻のキーフレームを表示します。"},
    {40051, "表示しているキーフレームを削除", "現在表示しているキーフレームを削除します。"},
    {40052, "キーフレームのボーン表示", "ボーンの姿勢と、それに合ったオブジェクトの姿勢を表示します。"},
    {40067, "補間方法", "キーフレーム間の補間アルゴリズムの設定やジョイントの指定を行います。"},
    {40046, "全体", "Spaceキーを押すと、キーフレームの最初から最後までアニメーションを実行できるようにします。"},
    {40047, "指定したキーフレーム間", "Spaceキーを押すと、指定されたキーフレーム間でアニメーションを実行できるようにします。"},
    {40059, "アニメーションの再生", "アニメーションを再生します。Spaceキーでも可能です。"},
    {40097, "フレームを画像として保存", "アニメーション再生中の状態を1フレーム描画する毎にBMP画像として保存します。アニメーション自体は大幅に遅延します。ハードディスクの容量をかなり使います。"},
    {40056, "バージョン", "Limbweaverのバージョン情報、OpenGLのバージョン情報、GPUのベンダ名称、GPUドライバ名称、テクスチャユニット数を表示します。"},
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
  highlight(102);
  SendMessageW(program().windows.main, WM_EXITMENULOOP, FALSE, 0);
  EXPECT_EQ(statusText(), L"");
}

TEST_F(MenuTest, HighlightingAPopupLeavesTheHelpText) {
  highlight(40033);
  SendMessageW(program().windows.main, WM_MENUSELECT, MAKEWPARAM(2, MF_HILITE | MF_POPUP),
               reinterpret_cast<LPARAM>(menu()));
  EXPECT_EQ(statusText(), test::wide("オブジェクトを上から見下ろす視点にします。"));
}

TEST_F(MenuTest, NoDocumentStateGreysAndChecksTheListedItemsAtStart) {
  const int grey[] = {40015, 40016, 40017, 40007, 40014, 40008, 410,   201,   40069, 40070, 40071,
                      40072, 40073, 40074, 202,   203,   411,   40002, 40064, 40065, 40066, 403,
                      406,   40003, 40068, 412,   40005, 40006, 414,   40075, 40076, 40077, 40093,
                      40026, 40025, 40067, 40052, 40051, 40046, 40047, 40021, 40032, 40027, 40050,
                      40053, 40054, 40059, 40078, 40089, 40090, 40091, 40097};
  const int enabled[] = {102,   40018, 101,   40033, 40034, 40035, 40036, 40037, 40038,
                         40060, 40061, 40062, 40063, 40057, 40079, 40080, 40081, 40082,
                         40092, 40094, 40095, 40096, 40083, 40084, 40085, 40086, 40087,
                         40088, 40055, 40056};
  for (int id : grey) EXPECT_TRUE(greyed(id)) << id;
  for (int id : enabled) EXPECT_FALSE(greyed(id)) << id;
  for (int id : {40090, 40057, 40055, 40079, 40082, 40084, 40087, 40095}) {
    EXPECT_TRUE(checked(id)) << id;
  }
  for (int id : {40080, 40081, 40089, 40083, 40086, 40094, 40096, 40097}) {
    EXPECT_FALSE(checked(id)) << id;
  }
}

TEST_F(MenuTest, RadioPairsKeepExactlyOneItemChecked) {
  const int pairs[][2] = {{40079, 40080}, {40081, 40082}, {40089, 40090}, {40083, 40084},
                          {40086, 40087}};
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
  command(40081);
  command(40083);
  EXPECT_EQ(doc.antiAliasing, 1);
  EXPECT_EQ(doc.rightLightOn, 1);
}

TEST_F(MenuTest, TogglesFlipTheirFlagAndCheckMark) {
  const SceneDocument& doc = program().doc;
  command(40057);
  EXPECT_EQ(doc.showWorldAxes, 0);
  EXPECT_FALSE(checked(40057));
  command(40057);
  EXPECT_EQ(doc.showWorldAxes, 1);
  EXPECT_TRUE(checked(40057));
  command(40055);
  EXPECT_EQ(doc.treeAlwaysExpanded, 0);
  EXPECT_FALSE(checked(40055));
  command(40097);
  EXPECT_EQ(doc.saveFramesAsBmp, 1);
  EXPECT_TRUE(checked(40097));
  command(40093);
  EXPECT_EQ(doc.axisReversed, 1);
  EXPECT_TRUE(checked(40093));
}

TEST_F(MenuTest, FkAxesDisplaySwitchesTheAxisItems) {
  command(40008);
  EXPECT_TRUE(checked(40008));
  for (int id : {414, 40075, 40076, 40077, 40093}) EXPECT_FALSE(greyed(id)) << id;
  command(40008);
  EXPECT_FALSE(checked(40008));
  for (int id : {414, 40075, 40076, 40077, 40093}) EXPECT_TRUE(greyed(id)) << id;
}

TEST_F(MenuTest, ViewPresetsSetBothAnglesAndTheLightDirection) {
  const SceneDocument& doc = program().doc;
  const struct {
    int id;
    double elevation, azimuth;
  } presets[] = {{40033, 90, 0},  {40034, 270, 0}, {40035, 0, 270},
                 {40036, 0, 90},  {40038, 0, 180}, {40037, 0, 0}};
  for (const auto& preset : presets) {
    command(preset.id);
    EXPECT_EQ(doc.viewElevation, preset.elevation) << preset.id;
    EXPECT_EQ(doc.viewAzimuth, preset.azimuth) << preset.id;
    EXPECT_EQ(doc.viewDirection, cameraDirection(preset.elevation, preset.azimuth)) << preset.id;
  }
  command(40063);
  EXPECT_EQ(doc.cameraDrag, 2);
  command(40062);
  EXPECT_EQ(doc.cameraDrag, 3);
}

TEST_F(MenuTest, PointDrawingWhilePlacingTheBoxShowsTheBoxAndKeepsTheDrawMode) {
  SceneDocument& doc = program().doc;
  command(40015);
  EXPECT_EQ(doc.drawMode, 4);
  doc.editMode = PlaceWeightBox;
  command(40017);
  EXPECT_EQ(doc.drawMode, 4);
  EXPECT_EQ(doc.pointPickView, 1);
  EXPECT_EQ(doc.weightBoxShown, 1);
  doc.editMode = Idle;
  command(40017);
  EXPECT_EQ(doc.drawMode, 0);
  command(40016);
  EXPECT_EQ(doc.drawMode, 3);
  EXPECT_EQ(doc.pointPickView, 0);
}

TEST_F(MenuTest, JointPlacementCommandsStepThroughTheMenuState) {
  SceneDocument& doc = program().doc;
  command(410);
  EXPECT_EQ(doc.editMode, PlaceRootJoint);
  for (int id : {201, 40069, 40070, 40071}) EXPECT_FALSE(greyed(id)) << id;
  command(40070);
  EXPECT_EQ(doc.mirrorPlane, 1);
  EXPECT_EQ(doc.editMode, PlaceChildJoint);
  EXPECT_TRUE(greyed(410));
  for (int id : {202, 40072, 40073, 40074, 40053, 40054, 203}) EXPECT_FALSE(greyed(id)) << id;
  command(201);
  EXPECT_EQ(doc.mirrorPlane, 3);
  command(40074);
  EXPECT_EQ(doc.mirrorPlane, 2);
  EXPECT_EQ(doc.selectedJoint, -1);
  EXPECT_EQ(doc.editMode, MirrorJoint);
}

TEST_F(MenuTest, VertexWeightingShowsJointNumbersForTheCommand) {
  SceneDocument& doc = program().doc;
  doc.weightBoxShown = 1;
  command(412);
  EXPECT_EQ(doc.editMode, WeightByVertex);
  EXPECT_EQ(doc.showJointNumbers, 1);
  EXPECT_EQ(doc.tempJointNumbers, 1);
  EXPECT_TRUE(checked(40007));
  EXPECT_EQ(doc.weightBoxShown, 0);
  EXPECT_EQ(doc.do_skinning, 1);
  command(412);
  EXPECT_EQ(doc.tempJointNumbers, 0);
}

TEST_F(MenuTest, IkRotationGreysBoneEqualising) {
  program().ui.enableMenuItem(40032, true);
  command(40027);
  EXPECT_EQ(program().doc.editMode, RotateIk);
  EXPECT_TRUE(greyed(40032));
}

}  // namespace
}  // namespace lw
