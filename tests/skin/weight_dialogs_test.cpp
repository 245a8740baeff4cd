#include "skin/weight_dialogs.h"

#include <gtest/gtest.h>

#include <string>

#include "core/document.h"
#include "skin/skin_test_support.h"
#include "skin/weight_box.h"

namespace lw {
namespace {

using test::addTestJoint;
using test::addTestModel;

constexpr int32_t kVertexPicked = 23;  // the picked sub-state of WeightByVertex

WeightRowTexts rowsOf(std::initializer_list<WeightRowText> rows) {
  WeightRowTexts texts;
  int i = 0;
  for (const WeightRowText& r : rows) texts[i++] = r;
  return texts;
}

// Joints Joint0 (ID 1), Joint0_0 (ID 2), Joint0_1 (ID 3); one part of six corners
// and a second part of three, corners at the given points.
struct Scene {
  SceneDocument doc;
  Scene() {
    Joint* root = addTestJoint(doc, "Joint0", nullptr, 1);
    addTestJoint(doc, "Joint0_0", root, 2);
    addTestJoint(doc, "Joint0_1", root, 3);
    addTestModel(doc, {6}, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0.5f, 0.5f, 0.5f}, {3, 3, 3}, {-0.0f, 1, 0}});
    MeshPart second;
    second.positions = {{1, 0, 0}, {0, 1, 0}, {9, 9, 9}};
    second.normals.assign(3, {0, 0, 1});
    second.texCoords.resize(3);
    second.vertexCount = 3;
    doc.mesh->parts.push_back(second);
    doc.skinBuffers = makeSkinBuffers(*doc.mesh);
  }
  const WeightList& weights(int part, int corner) const {
    return doc.skinBuffers->parts[part].skinWeights[corner];
  }
};

TEST(WeightRows, EmptyAndNonNumericTextsReadAsZero) {
  for (WeightDialogKind kind : {WeightDialogKind::Vertex, WeightDialogKind::Box}) {
    const WeightRows rows = readWeightRows(kind, rowsOf({{"", ""}, {"abc", "abc"}, {" +2", "0.25"},
                                                         {"-3", "1e-1"}, {"1x", ".5junk"}}));
    EXPECT_EQ(rows[0].jointNumber, 0);
    EXPECT_EQ(rows[0].weight, 0.0);
    EXPECT_EQ(rows[1].jointNumber, 0);
    EXPECT_EQ(rows[1].weight, 0.0);
    EXPECT_EQ(rows[2].jointNumber, 2);
    EXPECT_EQ(rows[2].weight, 0.25);
    EXPECT_EQ(rows[3].jointNumber, -3);
    EXPECT_EQ(rows[3].weight, 0.1);
    EXPECT_EQ(rows[4].jointNumber, 1);
    EXPECT_EQ(rows[4].weight, 0.5);
    EXPECT_EQ(rows[19].jointNumber, 0);
  }
}

TEST(WeightRows, EachDialogReadsOnlyItsCharacterLimit) {
  const std::string tinyWeight = "0." + std::string(27, '0') + "5";  // the 5 is character 30
  const std::string padded255 = std::string(254, ' ') + "7";         // the 7 is character 255
  const std::string padded256 = std::string(255, ' ') + "7";
  const WeightRowTexts texts = rowsOf({{"1234", tinyWeight}, {padded255, padded255}, {padded256, padded256}});
  const WeightRows vertex = readWeightRows(WeightDialogKind::Vertex, texts);
  EXPECT_EQ(vertex[0].jointNumber, 123);
  EXPECT_EQ(vertex[0].weight, 0.0);
  EXPECT_EQ(vertex[1].jointNumber, 0);
  const WeightRows box = readWeightRows(WeightDialogKind::Box, texts);
  EXPECT_EQ(box[0].jointNumber, 1234);
  EXPECT_EQ(box[0].weight, 5e-28);
  EXPECT_EQ(box[1].jointNumber, 7);
  EXPECT_EQ(box[1].weight, 7.0);
  EXPECT_EQ(box[2].jointNumber, 0);
  EXPECT_EQ(box[2].weight, 0.0);
  EXPECT_EQ(readWeightRows(WeightDialogKind::Box, rowsOf({{"99999999999", ""}}))[0].jointNumber,
            INT32_MAX);
}

TEST(WeightRows, TheFirstFieldWithTextButNoNumberIsNamed) {
  const struct {
    WeightDialogKind kind;
    WeightRowTexts texts;
    const char* field;
  } cases[] = {
      {WeightDialogKind::Vertex, rowsOf({{"", ""}, {"2", "0.5x"}, {"-3", ".25"}}), ""},
      {WeightDialogKind::Vertex, rowsOf({{"2", "0.5"}, {"", ""}, {"a", "b"}}),
       "3行目のジョイント番号"},
      {WeightDialogKind::Box, rowsOf({{"2", "0.5"}, {"1", "重み"}}), "2行目の重み"},
      // Only the characters a dialog reads count: the vertex dialog reads three
      // of the number and 29 of the weight.
      {WeightDialogKind::Vertex, rowsOf({{"   4", "1"}}), "1行目のジョイント番号"},
      {WeightDialogKind::Box, rowsOf({{"   4", std::string(29, ' ') + "1"}}), ""},
      {WeightDialogKind::Vertex, rowsOf({{"4", std::string(29, ' ') + "1"}}), "1行目の重み"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(weightFieldWithoutNumber(c.kind, c.texts), c.field) << c.field;
  }
}

TEST(WeightRows, DoubleByteCharactersCountAsOneAndAreNotSplit) {
  EXPECT_EQ(firstChars("あいう", 2), "あい");
  EXPECT_EQ(firstChars("1あ2", 3), "1あ2");
  EXPECT_EQ(firstChars("12", 3), "12");
  EXPECT_EQ(firstChars("\x82", 1), "\x82");  // a lone lead byte at the end
}

TEST(WeightRows, WeightsOutsideZeroToOneAreRefusedWithTheRangeMessage) {
  Scene s;
  for (const char* bad : {"-0.1", "1.0001", "nan", "inf"}) {
    for (WeightDialogKind kind : {WeightDialogKind::Vertex, WeightDialogKind::Box}) {
      // Even on a row with number 0.
      const WeightRows rows = readWeightRows(kind, rowsOf({{"2", "0.5"}, {"", bad}}));
      EXPECT_EQ(checkWeightRows(kind, rows, s.doc.skeleton), WeightCheck::WeightOutOfRange) << bad;
    }
  }
  const WeightRows edges = readWeightRows(WeightDialogKind::Vertex, rowsOf({{"2", "0.0"}, {"3", "1.0"}}));
  EXPECT_EQ(checkWeightRows(WeightDialogKind::Vertex, edges, s.doc.skeleton), WeightCheck::Ok);
  EXPECT_STREQ(weightCheckMessage(WeightCheck::WeightOutOfRange), "重みの範囲は0.0～1.0を指定してください。");
  EXPECT_STREQ(weightCheckTitle(WeightCheck::WeightOutOfRange), "重みの値");
  EXPECT_STREQ(weightCheckMessage(WeightCheck::Ok), "");
}

TEST(WeightRows, UnknownJointNumbersAreRefusedByTheVertexDialogOnly) {
  Scene s;
  for (const char* number : {"4", "-1", "999"}) {
    const WeightRowTexts texts = rowsOf({{"2", "0.5"}, {number, "0.5"}});
    EXPECT_EQ(checkWeightRows(WeightDialogKind::Vertex, readWeightRows(WeightDialogKind::Vertex, texts),
                              s.doc.skeleton),
              WeightCheck::UnknownJoint)
        << number;
    const WeightRows box = readWeightRows(WeightDialogKind::Box, texts);
    EXPECT_EQ(checkWeightRows(WeightDialogKind::Box, box, s.doc.skeleton), WeightCheck::Ok);
    EXPECT_EQ(weightListFromRows(box, s.doc.skeleton), (WeightList{{"Joint0_0", 0.5f}}));
  }
  EXPECT_STREQ(weightCheckMessage(WeightCheck::UnknownJoint), "実在しないジョイント番号が入力されています");
  EXPECT_STREQ(weightCheckTitle(WeightCheck::UnknownJoint), "ジョイント番号");
  // The range check comes first.
  const WeightRows both = readWeightRows(WeightDialogKind::Vertex, rowsOf({{"9", "0.5"}, {"2", "2"}}));
  EXPECT_EQ(checkWeightRows(WeightDialogKind::Vertex, both, s.doc.skeleton), WeightCheck::WeightOutOfRange);
}

TEST(WeightRows, ListKeepsRowOrderRepeatsAndSumsAndDropsNumberZero) {
  Scene s;
  const WeightRows rows = readWeightRows(
      WeightDialogKind::Vertex,
      rowsOf({{"3", "0.3"}, {"0", "0.9"}, {"", "0.7"}, {"2", "0.3"}, {"3", "0"}, {"abc", "abc"}}));
  EXPECT_EQ(weightListFromRows(rows, s.doc.skeleton),
            (WeightList{{"Joint0_1", 0.3f}, {"Joint0_0", 0.3f}, {"Joint0_1", 0.0f}}));
  EXPECT_EQ(jointNameForNumber(s.doc.skeleton, 0), "NONE");
  EXPECT_EQ(jointNameForNumber(s.doc.skeleton, 1), "Joint0");
}

TEST(VertexWeightDialog, GivesTheListToEverySelectedCornerAndItsCoincidentCorners) {
  Scene s;
  s.doc.editMode = kVertexPicked;
  s.doc.vertexSelection = {{0, 1}, {1, 1}};  // (1, 0, 0) and (0, 1, 0)
  s.doc.skinBuffers->parts[0].skinWeights[3] = {{"Joint0", 1.0f}};
  ASSERT_EQ(acceptVertexWeightDialog(s.doc, rowsOf({{"2", "0.5"}, {"3", "0.25"}})), WeightCheck::Ok);
  const WeightList expected{{"Joint0_0", 0.5f}, {"Joint0_1", 0.25f}};
  EXPECT_EQ(s.weights(0, 1), expected);
  EXPECT_EQ(s.weights(1, 1), expected);
  EXPECT_EQ(s.weights(1, 0), expected);  // coincident with part 0 corner 1
  EXPECT_EQ(s.weights(0, 2), expected);  // coincident with part 1 corner 1
  EXPECT_EQ(s.weights(0, 5), expected);  // (-0, 1, 0) is the same point
  EXPECT_TRUE(s.weights(0, 0).empty());
  EXPECT_EQ(s.weights(0, 3), (WeightList{{"Joint0", 1.0f}}));
  EXPECT_TRUE(s.weights(1, 2).empty());
}

TEST(VertexWeightDialog, OutsideThePickedStateOnlyTheSelectedCornersChange) {
  Scene s;
  s.doc.editMode = WeightByVertex;
  s.doc.vertexSelection = {{0, 1}, {7, 0}, {0, 99}};  // two entries name no corner
  ASSERT_EQ(acceptVertexWeightDialog(s.doc, rowsOf({{"2", "1"}})), WeightCheck::Ok);
  EXPECT_EQ(s.weights(0, 1), (WeightList{{"Joint0_0", 1.0f}}));
  EXPECT_TRUE(s.weights(1, 0).empty());
  EXPECT_EQ(s.doc.vertexSelection.size(), 3u);  // emptied by the 3D window, not here
}

TEST(VertexWeightDialog, ARefusedOkChangesNothing) {
  Scene s;
  s.doc.editMode = kVertexPicked;
  s.doc.vertexSelection = {{0, 1}};
  s.doc.skinBuffers->parts[0].skinWeights[1] = {{"Joint0", 1.0f}};
  EXPECT_EQ(acceptVertexWeightDialog(s.doc, rowsOf({{"2", "0.5"}, {"8", "0.5"}})),
            WeightCheck::UnknownJoint);
  EXPECT_EQ(acceptVertexWeightDialog(s.doc, rowsOf({{"2", "1.5"}})), WeightCheck::WeightOutOfRange);
  EXPECT_EQ(s.weights(0, 1), (WeightList{{"Joint0", 1.0f}}));
  EXPECT_TRUE(s.weights(1, 0).empty());
}

TEST(VertexWeightDialog, OpensWithTheEntriesOfASingleSelectedCorner) {
  Scene s;
  WeightList& list = s.doc.skinBuffers->parts[0].skinWeights[4];
  list = {{"Joint0_1", 0.5f}, {"Ghost", 0.2f}, {"Joint0", 1.0f}};
  s.doc.vertexSelection = {{0, 4}};
  WeightRowTexts rows = vertexDialogInitialRows(s.doc);
  EXPECT_EQ(rows[0].jointNumber, "3");
  EXPECT_EQ(rows[0].weight, "0.500000");
  EXPECT_EQ(rows[1].jointNumber, "1");  // the entry naming no joint is not shown
  EXPECT_EQ(rows[1].weight, "1.000000");
  EXPECT_EQ(rows[2].jointNumber, "");
  // Twenty rows at most.
  WeightList many;
  for (int i = 0; i < 25; ++i) many.push_back({"Joint0_0", i / 100.0f});
  list = many;
  rows = vertexDialogInitialRows(s.doc);
  EXPECT_EQ(rows[19].jointNumber, "2");
  EXPECT_EQ(rows[19].weight, "0.190000");
  // Two corners selected: all rows empty.
  s.doc.vertexSelection = {{0, 4}, {0, 0}};
  rows = vertexDialogInitialRows(s.doc);
  EXPECT_EQ(rows[0].jointNumber, "");
  EXPECT_EQ(rows[0].weight, "");
}

TEST(BoxWeightDialog, WeightsEveryCornerInsideTheBoxBoundsIncluded) {
  Scene s;
  s.doc.weightBox = makeWeightBox(0.5, 0.5, 0);  // x and y 0..1, z -0.5..0.5
  s.doc.weightBoxShown = 1;
  s.doc.skinBuffers->parts[0].skinWeights[4] = {{"Joint0", 1.0f}};
  ASSERT_EQ(acceptBoxWeightDialog(s.doc, rowsOf({{"9", "1"}, {"3", "0.75"}})), WeightCheck::Ok);
  const WeightList expected{{"Joint0_1", 0.75f}};
  for (int c : {0, 1, 2, 3, 5}) EXPECT_EQ(s.weights(0, c), expected) << c;  // (0.5, 0.5, 0.5) on z+
  EXPECT_EQ(s.weights(0, 4), (WeightList{{"Joint0", 1.0f}}));
  EXPECT_EQ(s.weights(1, 0), expected);
  EXPECT_TRUE(s.weights(1, 2).empty());
}

TEST(BoxWeightDialog, HiddenBoxOrRefusedRowsChangeNothing) {
  Scene s;
  s.doc.weightBox = makeWeightBox(0, 0, 0);
  s.doc.weightBoxShown = 0;
  EXPECT_EQ(acceptBoxWeightDialog(s.doc, rowsOf({{"2", "1"}})), WeightCheck::Ok);
  EXPECT_TRUE(s.weights(0, 0).empty());
  s.doc.weightBoxShown = 1;
  EXPECT_EQ(acceptBoxWeightDialog(s.doc, rowsOf({{"2", "-1"}})), WeightCheck::WeightOutOfRange);
  EXPECT_TRUE(s.weights(0, 0).empty());
}

TEST(VertexSelection, PickNamesCountCornersOverAllParts) {
  Scene s;
  EXPECT_EQ(cornerFromRunningNumber(*s.doc.skinBuffers, 0), (CornerRef{0, 0}));
  EXPECT_EQ(cornerFromRunningNumber(*s.doc.skinBuffers, 6), (CornerRef{1, 0}));
  EXPECT_EQ(cornerFromRunningNumber(*s.doc.skinBuffers, 8), (CornerRef{1, 2}));
  EXPECT_EQ(cornerFromRunningNumber(*s.doc.skinBuffers, 9), (CornerRef{-1, -1}));
  EXPECT_TRUE(selectPickedCorner(s.doc, 1007));
  EXPECT_FALSE(selectPickedCorner(s.doc, 999));
  EXPECT_FALSE(selectPickedCorner(s.doc, 1009));
  EXPECT_EQ(s.doc.vertexSelection, (VertexSelection{{1, 1}}));
}

}  // namespace
}  // namespace lw
