#include <windows.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "app/dialogs.h"
#include "app/program.h"
#include "app/win_text.h"
#include "core/command_ids.h"
#include "gui_harness.h"
#include "sample_project.h"

namespace lw {
namespace {

class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test::startProgram()); }
  void TearDown() override { test::endProgram(); }

  Joint& addJoint(const std::string& name) {
    auto joint = std::make_unique<Joint>();
    joint->jointName = name;
    joint->TreeName = name;
    Joint* raw = joint.get();
    program().doc.skeleton.jointOrder.push_back(std::move(joint));
    program().doc.skeleton.joints[name] = raw;
    program().doc.editedJointName = name;
    return *raw;
  }
};

std::wstring field(HWND dialog, int id) { return test::windowText(GetDlgItem(dialog, id)); }

void setField(HWND dialog, int id, const std::string& cp932) {
  SetWindowTextW(GetDlgItem(dialog, id), toWide(cp932).c_str());
}

// A step that types `name` into the naming dialog and presses OK.
test::DialogStep typeName(const std::string& name) {
  return {test::wide("ジョイントに名前をつける"), [name](HWND dialog) {
            setField(dialog, 1030, name);
            test::pressButton(dialog, IDOK);
          }};
}

TEST_F(DialogsTest, NameOfMoreThan255BytesIsRefusedAndTheDialogStaysOpen) {
  Joint& joint = addJoint("Joint3");
  const std::string tooLong(256, 'a');
  const std::string longest(255, 'a');
  test::DialogScript script({typeName(tooLong), test::acknowledge("文字数制限"), typeName(longest)});
  EXPECT_EQ(showJointNameDialog(program().windows.view, program().doc), IDOK);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(script.unanswered(), 0);
  ASSERT_EQ(script.seen().size(), 2u);
  EXPECT_EQ(script.seen()[1].title, test::wide("文字数制限"));
  EXPECT_EQ(script.seen()[1].text,
            test::wide("文字数は、半角255文字、全角127文字以内で指定してください"));
  EXPECT_EQ(joint.TreeName, longest);
}

TEST_F(DialogsTest, FullWidthCharactersCountTwoBytes) {
  Joint& joint = addJoint("Joint1");
  std::string fullWidth;
  for (int i = 0; i < 127; ++i) fullWidth += "骨";
  const std::string tooLong = fullWidth + "骨";  // 256 bytes
  const std::string fits = fullWidth + "a";     // 255 bytes
  test::DialogScript script({typeName(tooLong), test::acknowledge("文字数制限"), typeName(fits)});
  EXPECT_EQ(showJointNameDialog(program().windows.view, program().doc), IDOK);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(joint.TreeName, fits);
  EXPECT_EQ(joint.TreeName.size(), 255u);
}

TEST_F(DialogsTest, EmptyNameIsAcceptedAndCancelChangesNothing) {
  Joint& joint = addJoint("Joint2");
  {
    test::DialogScript script({typeName("")});
    EXPECT_EQ(showJointNameDialog(program().windows.view, program().doc), IDOK);
    EXPECT_EQ(joint.TreeName, "");
  }
  joint.TreeName = "keep";
  test::DialogScript script({{test::wide("ジョイントに名前をつける"), [](HWND dialog) {
                                EXPECT_EQ(field(dialog, 1030), L"");
                                setField(dialog, 1030, "changed");
                                test::pressButton(dialog, IDCANCEL);
                              }}});
  EXPECT_EQ(showJointNameDialog(program().windows.view, program().doc), IDCANCEL);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(joint.TreeName, "keep");
}

TEST_F(DialogsTest, IkStopDialogShowsAndSetsTheFlag) {
  Joint& joint = addJoint("Joint4");
  joint.ik_stopFlg = 1;
  const std::wstring title = test::wide("IKでのジョイントの回転");
  {
    test::DialogScript script({{title, [](HWND dialog) {
                                  EXPECT_EQ(IsDlgButtonChecked(dialog, 1053), BST_CHECKED);
                                  EXPECT_EQ(IsDlgButtonChecked(dialog, 1056), BST_UNCHECKED);
                                  test::pressButton(dialog, IDOK);
                                }}});
    EXPECT_EQ(showIkStopDialog(program().windows.view, program().doc), IDOK);
    EXPECT_EQ(joint.ik_stopFlg, 1);
  }
  {
    test::DialogScript script({{title, [](HWND dialog) {
                                  CheckRadioButton(dialog, 1053, 1056, 1056);
                                  test::pressButton(dialog, IDCANCEL);
                                }}});
    EXPECT_EQ(showIkStopDialog(program().windows.view, program().doc), IDCANCEL);
    EXPECT_EQ(joint.ik_stopFlg, 1);
  }
  test::DialogScript script({{title, [](HWND dialog) {
                                CheckRadioButton(dialog, 1053, 1056, 1056);
                                test::pressButton(dialog, IDOK);
                              }}});
  EXPECT_EQ(showIkStopDialog(program().windows.view, program().doc), IDOK);
  EXPECT_EQ(joint.ik_stopFlg, 0);
}

TEST_F(DialogsTest, BackgroundDialogShowsPercentFAndNamesAFieldWithoutANumber) {
  SceneDocument& doc = program().doc;
  HWND dialog = nullptr;
  Colour whileRefused = {};
  test::DialogScript script(
      {test::remember(dialog, {test::wide("背景色の変更"), [](HWND open) {
                                 EXPECT_EQ(field(open, 1062), L"0.500000");
                                 EXPECT_EQ(field(open, 1065), L"1.000000");
                                 setField(open, 1062, "-0.5x");
                                 setField(open, 1063, "abc");
                                 setField(open, 1064, "7");
                                 test::pressButton(open, IDOK);
                               }}),
       test::acknowledgeThen("数値の入力", dialog, [&](HWND open) {
         whileRefused = doc.backgroundColour;
         setField(open, 1063, " +.25");
         test::pressButton(open, IDOK);
       })});
  SendMessageW(program().windows.main, WM_COMMAND, IDM_BACKGROUND, 0);
  EXPECT_EQ(script.stepsLeft(), 0u);
  ASSERT_EQ(script.seen().size(), 2u);
  EXPECT_EQ(script.seen()[1].text, test::wide("「緑(G)」に数値を入力してください。"));
  EXPECT_EQ(whileRefused, (Colour{0.5f, 0.5f, 0.5f, 1.0f})) << "nothing changes while refused";
  EXPECT_EQ(doc.backgroundColour, (Colour{-0.5f, 0.25f, 7.0f, 1.0f}));
}

TEST_F(DialogsTest, LightDialogEditsBothLightsWhicheverItemOpenedIt) {
  SceneDocument& doc = program().doc;
  doc.lightColour[0] = {0.1f, 0.2f, 0.3f, 0.4f};
  doc.lightColour[1] = {0.5f, 0.6f, 0.7f, 0.8f};
  test::DialogScript script({{test::wide("ライトのRGBA設定"), [](HWND dialog) {
                                EXPECT_EQ(field(dialog, 1057), L"0.100000");
                                EXPECT_EQ(field(dialog, 1054), L"0.400000");
                                EXPECT_EQ(field(dialog, 1053), L"0.500000");
                                EXPECT_EQ(field(dialog, 1058), L"0.800000");
                                setField(dialog, 1056, "1");
                                setField(dialog, 1051, "0");
                                test::pressButton(dialog, IDOK);
                              }}});
  SendMessageW(program().windows.main, WM_COMMAND, IDM_LEFT_LIGHT_RGBA, 0);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(doc.lightColour[0], (Colour{0.1f, 1.0f, 0.3f, 0.4f}));
  EXPECT_EQ(doc.lightColour[1], (Colour{0.5f, 0.6f, 0.0f, 0.8f}));
}

TEST_F(DialogsTest, ShadowLightDialogCancelKeepsThePosition) {
  SceneDocument& doc = program().doc;
  test::DialogScript script({{test::wide("影を作る光源の位置設定"), [](HWND dialog) {
                                EXPECT_EQ(field(dialog, 1059), L"0.000000");
                                EXPECT_EQ(field(dialog, 1060), L"5.000000");
                                EXPECT_EQ(field(dialog, 1061), L"4.000000");
                                setField(dialog, 1059, "3");
                                test::pressButton(dialog, IDCANCEL);
                              }},
                             {test::wide("影を作る光源の位置設定"), [](HWND dialog) {
                                setField(dialog, 1061, "-2.5");
                                test::pressButton(dialog, IDOK);
                              }}});
  SendMessageW(program().windows.main, WM_COMMAND, IDM_SHADOW_LIGHT, 0);
  EXPECT_EQ(doc.shadowLightPosition, (Vector3{0, 5, 4}));
  SendMessageW(program().windows.main, WM_COMMAND, IDM_SHADOW_LIGHT, 0);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(doc.shadowLightPosition, (Vector3{0, 5, -2.5f}));
}

TEST_F(DialogsTest, VersionDialogShowsTheStringsOfTheViewsContext) {
  makePresenterCurrent(program().presenter);
  const std::wstring version = toWide(reinterpret_cast<const char*>(glGetString(GL_VERSION)));
  const std::wstring renderer = toWide(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  const std::wstring units = std::to_wstring(program().maxTextureUnits);
  test::DialogScript script({{test::wide("Limbweaverについて"), [&](HWND dialog) {
                                EXPECT_EQ(test::windowText(GetWindow(dialog, GW_CHILD)),
                                          L"Limbweaver Version 1.3.0.3");
                                EXPECT_EQ(field(dialog, 1068), version);
                                EXPECT_EQ(field(dialog, 1080), renderer);
                                EXPECT_EQ(field(dialog, 1102), units);
                                EXPECT_FALSE(field(dialog, 1074).empty());
                                test::pressButton(dialog, 8);
                              }}});
  SendMessageW(program().windows.main, WM_COMMAND, IDM_VERSION, 0);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(script.unanswered(), 0);
}

INT_PTR CALLBACK inertDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

TEST_F(DialogsTest, EveryTemplateHasItsTitleAndControls) {
  const struct {
    int id;
    const char* title;
    std::vector<int> controls;
  } templates[] = {
      {103, "頂点を選択して重み付け",
       {1003, 1006, 1004, 1007, 1005, 1008, 1009, 1010, 1012, 1018, 1014, 1020, 1016, 1022, 1024,
        1026, 1042, 2026, 1044, 3026, 2052, 1052, 1055, 1058, 1061, 1070, 1064, 1073, 1067, 1076,
        1079, 1082, 1084, 1090, 1086, 1092, 1088, 1094, 1096, 1098, IDOK, IDCANCEL}},
      {105, "重み付けボックスで重み付け",
       {1017, 1025, 1019, 1027, 1021, 1028, 1023, 1029, 2072, 1038, 1034, 1040, 1036, 1041, 1043,
        1045, 2045, 1054, 3045, 1057, 4045, 1060, 1063, 1066, 1069, 1078, 1072, 1081, 1075, 1083,
        1085, 1087, 1089, 1091, 1093, 1095, 1097, 1099, 1100, 1101, IDOK, IDCANCEL}},
      {106, "キーフレームの作成", {1031, IDOK, IDCANCEL}},
      {107, "部分アニメーションキーフレーム指定", {1037, 1039, IDOK, IDCANCEL}},
      {108, "IKでのジョイントの回転", {1053, 1056, IDOK, IDCANCEL}},
      {109, "ジョイントに名前をつける", {1030, IDOK, IDCANCEL}},
      {111, "Limbweaverについて", {1068, 1074, 1080, 1102, 8}},
      {113, "補間方法の変更", {1046, 1047, 1048, 1049, 1050, 1032, 1051, IDOK, IDCANCEL}},
      {114, "ライトのRGBA設定", {1057, 1056, 1055, 1054, 1053, 1052, 1051, 1058, IDOK, IDCANCEL}},
      {115, "影を作る光源の位置設定", {1059, 1060, 1061, IDOK, IDCANCEL}},
      {116, "背景色の変更", {1062, 1063, 1064, 1065, IDOK, IDCANCEL}},
  };
  for (const auto& t : templates) {
    HWND dialog = CreateDialogParamW(program().instance, MAKEINTRESOURCEW(t.id), nullptr,
                                     inertDialogProc, 0);
    ASSERT_NE(dialog, nullptr) << t.id;
    EXPECT_EQ(test::windowText(dialog), test::wide(t.title)) << t.id;
    for (int control : t.controls) EXPECT_NE(GetDlgItem(dialog, control), nullptr) << t.id;
    DestroyWindow(dialog);
  }
}

TEST_F(DialogsTest, TemplateLabelsAreTheProgramsTexts) {
  HWND version = CreateDialogParamW(program().instance, MAKEINTRESOURCEW(111), nullptr,
                                    inertDialogProc, 0);
  EXPECT_EQ(field(version, 1068), test::wide("スタティック"));
  EXPECT_EQ(field(version, 8), L"Close");
  DestroyWindow(version);
  HWND ikStop = CreateDialogParamW(program().instance, MAKEINTRESOURCEW(108), nullptr,
                                   inertDialogProc, 0);
  EXPECT_EQ(field(ikStop, 1053), test::wide("停止する"));
  EXPECT_EQ(field(ikStop, 1056), test::wide("停止しない"));
  EXPECT_EQ(field(ikStop, IDCANCEL), test::wide("キャンセル"));
  DestroyWindow(ikStop);
  HWND interpolation = CreateDialogParamW(program().instance, MAKEINTRESOURCEW(113), nullptr,
                                          inertDialogProc, 0);
  EXPECT_EQ(field(interpolation, 1046), test::wide("線形補間"));
  EXPECT_EQ(field(interpolation, 1047), test::wide("Hermite補間"));
  EXPECT_EQ(field(interpolation, 1051), test::wide("Hermite曲線表示"));
  DestroyWindow(interpolation);
}

}  // namespace
}  // namespace lw
