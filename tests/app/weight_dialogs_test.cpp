#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/dialogs.h"
#include "app/program.h"
#include "app/win_text.h"
#include "gui_harness.h"
#include "resources/resource.h"
#include "sample_project.h"
#include "skin/weight_box.h"
#include "skin/weight_dialogs.h"

namespace lw {
namespace {

// Rows 1 to 4 and the last row of each dialog.
constexpr int kVertexJoint[] = {IDC_VW_JOINT1, IDC_VW_JOINT2, IDC_VW_JOINT3, IDC_VW_JOINT4,
                                IDC_VW_JOINT20};
constexpr int kVertexWeight[] = {IDC_VW_WEIGHT1, IDC_VW_WEIGHT2, IDC_VW_WEIGHT3, IDC_VW_WEIGHT4,
                                 IDC_VW_WEIGHT20};
constexpr int kBoxJoint[] = {IDC_BW_JOINT1, IDC_BW_JOINT2, IDC_BW_JOINT3, IDC_BW_JOINT4,
                             IDC_BW_JOINT20};
constexpr int kBoxWeight[] = {IDC_BW_WEIGHT1, IDC_BW_WEIGHT2, IDC_BW_WEIGHT3, IDC_BW_WEIGHT4,
                              IDC_BW_WEIGHT20};

const char kVertexTitle[] = "頂点を選択して重み付け";
const char kBoxTitle[] = "重み付けボックスで重み付け";

std::wstring field(HWND dialog, int id) { return test::windowText(GetDlgItem(dialog, id)); }

void setField(HWND dialog, int id, const char* text) {
  SetWindowTextW(GetDlgItem(dialog, id), toWide(text).c_str());
}

using RowTexts = std::vector<std::pair<const char*, const char*>>;

// Types (joint number, weight) into the rows named by `joints` and `weights`.
void setRows(HWND dialog, const int* joints, const int* weights, const RowTexts& rows) {
  for (size_t i = 0; i < rows.size(); ++i) {
    setField(dialog, joints[i], rows[i].first);
    setField(dialog, weights[i], rows[i].second);
  }
}

// A dialog step that fills rows and presses OK.
test::DialogStep fillRows(const char* title, const int* joints, const int* weights,
                          RowTexts rows) {
  return {test::wide(title), [=](HWND dialog) {
            setRows(dialog, joints, weights, rows);
            test::pressButton(dialog, IDOK);
          }};
}

class WeightDialogsTest : public test::SampleProjectTest {
 protected:
  SkinBuffers& skin() { return *doc().skinBuffers; }
  WeightList& weightsOf(CornerRef c) { return skin().parts[c.part].skinWeights[c.corner]; }
  const Vector3& positionOf(CornerRef c) { return skin().parts[c.part].skinPositions[c.corner]; }
  std::string joint(int id) { return jointNameForNumber(doc().skeleton, id); }

  // Every corner lying exactly where `c` lies, `c` included.
  std::vector<CornerRef> cornersAt(CornerRef c) {
    std::vector<CornerRef> found;
    const Vector3 at = positionOf(c);
    for (size_t p = 0; p < skin().parts.size(); ++p) {
      const auto& positions = skin().parts[p].skinPositions;
      for (size_t i = 0; i < positions.size(); ++i) {
        if (positions[i] == at) found.push_back({static_cast<int32_t>(p), static_cast<int32_t>(i)});
      }
    }
    return found;
  }

  // A corner that shares its position with at least one other corner.
  CornerRef sharedCorner() {
    for (int32_t c = 0; c < 200; ++c) {
      if (cornersAt({0, c}).size() > 1) return {0, c};
    }
    ADD_FAILURE() << "no shared corner in the sample";
    return {0, 0};
  }
};

TEST_F(WeightDialogsTest, VertexDialogShowsTheCornersListAndGivesTheNewOneToCoincidentCorners) {
  const CornerRef picked = sharedCorner();
  const std::vector<CornerRef> same = cornersAt(picked);
  for (CornerRef c : same) weightsOf(c) = WeightList{{joint(9), 1.0f}};
  weightsOf(picked) = WeightList{{joint(2), 0.25f}, {joint(5), 0.75f}};
  CornerRef elsewhere{0, picked.corner == 0 ? 1 : 0};
  while (positionOf(elsewhere) == positionOf(picked)) ++elsewhere.corner;
  const WeightList untouched = weightsOf(elsewhere);
  doc().vertexSelection = {picked};
  doc().editMode = WeightByVertex + 2;  // a corner has been picked with the right button

  test::DialogScript script(
      {{test::wide(kVertexTitle), [](HWND dialog) {
          EXPECT_EQ(field(dialog, IDC_VW_JOINT1), L"2");
          EXPECT_EQ(field(dialog, IDC_VW_WEIGHT1), L"0.250000");
          EXPECT_EQ(field(dialog, IDC_VW_JOINT2), L"5");
          EXPECT_EQ(field(dialog, IDC_VW_WEIGHT2), L"0.750000");
          EXPECT_EQ(field(dialog, IDC_VW_JOINT3), L"");
          EXPECT_EQ(field(dialog, IDC_VW_WEIGHT20), L"");
          // Row 3: joint 0 is ignored; row 4: text after the weight's number is not read.
          setRows(dialog, kVertexJoint, kVertexWeight,
                  {{"3", "0.5"}, {"", ""}, {"0", "0.9"}, {"3", "0abc"}});
          test::pressButton(dialog, IDOK);
        }}});
  EXPECT_EQ(showVertexWeightDialog(program().windows.view, doc()), IDOK);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(script.unanswered(), 0);

  const WeightList expected{{joint(3), 0.5f}, {joint(3), 0.0f}};
  for (CornerRef c : same) EXPECT_EQ(weightsOf(c), expected) << c.part << "/" << c.corner;
  EXPECT_EQ(weightsOf(elsewhere), untouched);
}

TEST_F(WeightDialogsTest, VertexDialogRefusesBadRowsKeepsItsRowsAndChangesNothing) {
  const CornerRef picked = sharedCorner();
  doc().vertexSelection = {picked};
  doc().editMode = WeightByVertex + 2;
  const WeightList before = weightsOf(picked);

  HWND open = nullptr;
  test::DialogScript script({
      fillRows(kVertexTitle, kVertexJoint, kVertexWeight, {{"2", "1.5"}}),
      test::acknowledge("重みの値"),
      // Still open, with what was typed.
      test::remember(open, {test::wide(kVertexTitle), [](HWND dialog) {
                              EXPECT_EQ(field(dialog, IDC_VW_WEIGHT1), L"1.5");
                              setField(dialog, IDC_VW_WEIGHT1, "-0.01");
                              test::pressButton(dialog, IDOK);
                            }}),
      test::acknowledge("重みの値"),
      fillRows(kVertexTitle, kVertexJoint, kVertexWeight, {{"2", "1"}, {"99", "0.5"}}),
      test::acknowledgeThen("ジョイント番号", open,
                            [](HWND dialog) { test::pressButton(dialog, IDCANCEL); }),
  });
  EXPECT_EQ(showVertexWeightDialog(program().windows.view, doc()), IDCANCEL);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(script.unanswered(), 0);
  // The dialog once, then each message box.
  ASSERT_EQ(script.seen().size(), 4u);
  EXPECT_EQ(script.seen()[1].text, test::wide("重みの範囲は0.0～1.0を指定してください。"));
  EXPECT_EQ(script.seen()[2].text, test::wide("重みの範囲は0.0～1.0を指定してください。"));
  EXPECT_EQ(script.seen()[3].text, test::wide("実在しないジョイント番号が入力されています"));
  EXPECT_EQ(weightsOf(picked), before);
}

TEST_F(WeightDialogsTest, VertexDialogWithSeveralCornersStartsEmptyAndWeightsThemAll) {
  const CornerRef a{0, 0};
  CornerRef b{0, 1};
  while (positionOf(b) == positionOf(a)) ++b.corner;
  weightsOf(a) = WeightList{{joint(4), 1.0f}};
  doc().vertexSelection = {a, b};
  doc().editMode = WeightByVertex + 2;
  test::DialogScript script({{test::wide(kVertexTitle), [](HWND dialog) {
                                EXPECT_EQ(field(dialog, IDC_VW_JOINT1), L"");
                                EXPECT_EQ(field(dialog, IDC_VW_WEIGHT1), L"");
                                setRows(dialog, kVertexJoint, kVertexWeight,
                                        {{"6", "0.3"}, {"", ""}, {"", ""}, {"", ""}, {"7", "0.3"}});
                                test::pressButton(dialog, IDOK);
                              }}});
  EXPECT_EQ(showVertexWeightDialog(program().windows.view, doc()), IDOK);
  EXPECT_EQ(script.stepsLeft(), 0u);
  // Weights are kept as typed: nothing scales them to a sum of 1.
  const WeightList expected{{joint(6), 0.3f}, {joint(7), 0.3f}};
  for (CornerRef c : cornersAt(a)) EXPECT_EQ(weightsOf(c), expected);
  for (CornerRef c : cornersAt(b)) EXPECT_EQ(weightsOf(c), expected);
}

TEST_F(WeightDialogsTest, BoxCommandShowsNumbersForTheDialogAndWeightsTheCornersInside) {
  const Vector3 centre = positionOf({0, 0});
  const double point[3] = {centre.x, centre.y, centre.z};
  placeWeightBox(doc(), program().ui, point);
  ASSERT_EQ(doc().weightBoxShown, 1);
  EXPECT_FALSE(greyed(IDM_WEIGHT_BOX));
  doc().showJointNumbers = 0;
  doc().do_skinning = 0;

  // Which corners lie inside the box (bounds included), and what the others hold.
  std::vector<CornerRef> inside;
  std::vector<std::pair<CornerRef, WeightList>> outside;
  for (size_t p = 0; p < skin().parts.size(); ++p) {
    for (size_t i = 0; i < skin().parts[p].skinPositions.size(); ++i) {
      const CornerRef c{static_cast<int32_t>(p), static_cast<int32_t>(i)};
      const Vector3 v = positionOf(c);
      const bool in = v.x >= centre.x - 0.5 && v.x <= centre.x + 0.5 && v.y >= centre.y - 0.5 &&
                      v.y <= centre.y + 0.5 && v.z >= centre.z - 0.5 && v.z <= centre.z + 0.5;
      if (in) {
        inside.push_back(c);
      } else {
        outside.push_back({c, weightsOf(c)});
      }
    }
  }
  ASSERT_GT(inside.size(), 1u);
  ASSERT_GT(outside.size(), 1u);

  int32_t numbersDuringDialog = -1;
  test::DialogScript script(
      {fillRows(kBoxTitle, kBoxJoint, kBoxWeight, {{"2", "2"}}),
       test::acknowledge("重みの値"),
       {test::wide(kBoxTitle), [&](HWND dialog) {
          numbersDuringDialog = program().doc.showJointNumbers;
          // A joint that does not exist is dropped without a word.
          setRows(dialog, kBoxJoint, kBoxWeight,
                  {{"2", "0.3"}, {"99", "0.5"}, {"", ""}, {"", ""}, {"3", "0.3"}});
          test::pressButton(dialog, IDOK);
        }}});
  command(IDM_WEIGHT_BOX);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(script.unanswered(), 0);
  EXPECT_EQ(script.seen().size(), 2u);

  EXPECT_EQ(numbersDuringDialog, 1);
  EXPECT_EQ(doc().showJointNumbers, 0);
  EXPECT_EQ(doc().do_skinning, 1);
  const WeightList expected{{joint(2), 0.3f}, {joint(3), 0.3f}};
  for (CornerRef c : inside) EXPECT_EQ(weightsOf(c), expected);
  for (const auto& [c, list] : outside) EXPECT_EQ(weightsOf(c), list);
}

TEST_F(WeightDialogsTest, PanelButtonOpensTheBoxDialogAndCancelChangesNothing) {
  const Vector3 corner = positionOf({0, 0});
  const double point[3] = {corner.x, corner.y, corner.z};
  placeWeightBox(doc(), program().ui, point);
  doc().showJointNumbers = 1;
  const WeightList before = weightsOf({0, 0});
  test::DialogScript script({{test::wide(kBoxTitle), [](HWND dialog) {
                                EXPECT_EQ(field(dialog, IDC_BW_JOINT1), L"");
                                setField(dialog, IDC_BW_JOINT1, "2");
                                setField(dialog, IDC_BW_WEIGHT1, "1");
                                test::pressButton(dialog, IDCANCEL);
                              }}});
  // "BOX重み" on the motion panel sends the menu command.
  HWND panel = program().windows.motionPanel;
  SendMessageW(panel, WM_COMMAND, MAKEWPARAM(IDC_PANEL_BOX_WEIGHT, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(panel, IDC_PANEL_BOX_WEIGHT)));
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(script.unanswered(), 0);
  EXPECT_EQ(doc().showJointNumbers, 1);  // they were on before
  EXPECT_EQ(weightsOf({0, 0}), before);
}

TEST_F(WeightDialogsTest, BoxCommandWithoutABoxShowsNoDialogButSwitchesSkinningOn) {
  doc().weightBoxShown = 0;
  doc().do_skinning = 0;
  test::DialogScript script({}, 1000);
  command(IDM_WEIGHT_BOX);
  test::pumpPending();
  EXPECT_TRUE(script.seen().empty());
  EXPECT_EQ(script.unanswered(), 0);
  EXPECT_EQ(doc().do_skinning, 1);
}

}  // namespace
}  // namespace lw
