#include "skeleton/placement.h"
#include "core/command_ids.h"

#include <gtest/gtest.h>

#include <vector>

#include "skeleton/skeleton_helpers.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

using test::RecordingUi;

// Texts of the tree items under parent, in insertion order.
std::vector<std::string> treeChildren(const RecordingUi& ui, TreeItem parent) {
  std::vector<std::string> texts;
  for (TreeItem item : ui.treeOrder) {
    if (ui.tree.at(item).parent == parent) texts.push_back(ui.tree.at(item).text);
  }
  return texts;
}

TEST(Placement, BaseJointIsCreatedThenMovedWhileAloneThenFixed) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* base = placeBaseJoint(doc, {1, 2, 3}, ui);
  ASSERT_NE(base, nullptr);
  EXPECT_EQ(base->jointID, 1);
  EXPECT_EQ(base->jointName, "Joint0");
  EXPECT_EQ(base->TreeName, "Joint0");
  EXPECT_EQ(base->validJoint, 1);
  EXPECT_EQ(base->leafFlag, 1);
  EXPECT_EQ(base->position, (Vector3{1, 2, 3}));
  ASSERT_EQ(ui.treeOrder.size(), 1u);
  EXPECT_EQ(base->treeItem, ui.treeOrder[0]);
  EXPECT_EQ(ui.tree.at(base->treeItem).parent, nullptr);

  EXPECT_EQ(placeBaseJoint(doc, {4, 5, 6}, ui), base);
  EXPECT_EQ(base->jointWorldPosition, (Vector3{4, 5, 6}));
  EXPECT_EQ(base->position, (Vector3{4, 5, 6}));
  EXPECT_EQ(doc.skeleton.size(), 1u);

  addChildJoint(doc, "Joint0", {0, 1, 0}, kNoMirror, ui);
  EXPECT_EQ(placeBaseJoint(doc, {7, 7, 7}, ui), nullptr);
  EXPECT_EQ(base->jointWorldPosition, (Vector3{4, 5, 6}));
  EXPECT_EQ(doc.skeleton.size(), 2u);
}

TEST(Placement, ChildrenAreNumberedAndNamedAfterTheirParent) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* base = placeBaseJoint(doc, {0, 0, 0}, ui);
  Joint* a = addChildJoint(doc, "Joint0", {0, 1, 0}, kNoMirror, ui);
  Joint* b = addChildJoint(doc, "Joint0", {1, 1, 0}, kNoMirror, ui);
  Joint* c = addChildJoint(doc, "Joint0_0", {0, 2, 0}, kNoMirror, ui);
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(a->jointName, "Joint0_0");
  EXPECT_EQ(a->jointID, 2);
  EXPECT_EQ(b->jointName, "Joint0_1");
  EXPECT_EQ(b->jointID, 3);
  EXPECT_EQ(c->jointName, "Joint0_0_0");
  EXPECT_EQ(c->jointID, 4);
  EXPECT_EQ(c->parent, a);
  EXPECT_EQ(base->leafFlag, 0);
  EXPECT_EQ(a->leafFlag, 0);
  EXPECT_EQ(c->leafFlag, 1);
  EXPECT_EQ(base->children, (std::vector<Joint*>{a, b}));
  EXPECT_EQ(treeChildren(ui, base->treeItem), (std::vector<std::string>{"Joint0_0", "Joint0_1"}));
  EXPECT_EQ(treeChildren(ui, a->treeItem), (std::vector<std::string>{"Joint0_0_0"}));
  EXPECT_EQ(ui.treeExpands, 3);
  EXPECT_TRUE(ui.isEnabled(IDM_FIX_POSITIONS));
  EXPECT_TRUE(ui.isEnabled(IDM_MIRROR_ZX));
  EXPECT_EQ(jointNameForID(doc.skeleton, 3), "Joint0_1");
  EXPECT_EQ(jointNameForID(doc.skeleton, 9), "");
  // Creation order and name order both hold every joint.
  EXPECT_EQ(doc.skeleton.jointOrder[3].get(), c);
  EXPECT_EQ(doc.skeleton.joints.size(), 4u);
  // An unknown parent places nothing.
  EXPECT_EQ(addChildJoint(doc, "Joint9", {0, 0, 0}, kNoMirror, ui), nullptr);
  EXPECT_EQ(doc.skeleton.size(), 4u);
}

TEST(Placement, MirroredChildOfTheBaseGetsATwinUnderTheBase) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* base = placeBaseJoint(doc, {0, 0, 0}, ui);
  Joint* c = addChildJoint(doc, "Joint0", {1, 2, 3}, kMirrorYZ, ui);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->jointName, "Joint0_0");
  EXPECT_EQ(c->jointID, 2);
  Joint& twin = test::jointNamed(doc, "Joint0_1");
  EXPECT_EQ(twin.jointID, 3);
  EXPECT_EQ(twin.parent, base);
  EXPECT_EQ(twin.jointWorldPosition, (Vector3{-1, 2, 3}));
  EXPECT_EQ(twin.validJoint, 1);
  EXPECT_EQ(twin.TreeName, "Joint0_1");
  // The twin's item goes in first.
  EXPECT_EQ(treeChildren(ui, base->treeItem), (std::vector<std::string>{"Joint0_1", "Joint0_0"}));
}

TEST(Placement, MirroredChildOfAJointFindsItsPartnerOrMakesNoTwin) {
  SceneDocument doc;
  RecordingUi ui;
  placeBaseJoint(doc, {0, 0, 0}, ui);
  // Shoulders mirrored in the XY plane: (1, 1, 2) and (1, 1, -2).
  addChildJoint(doc, "Joint0", {1, 1, 2}, kMirrorXY, ui);
  ASSERT_EQ(doc.skeleton.size(), 3u);
  // A child of Joint0_0 mirrored in XY: the partner keeps X and Y.
  Joint* elbow = addChildJoint(doc, "Joint0_0", {1, 0, 2}, kMirrorXY, ui);
  ASSERT_NE(elbow, nullptr);
  Joint& twin = test::jointNamed(doc, "Joint0_1_0");
  EXPECT_EQ(twin.parent, &test::jointNamed(doc, "Joint0_1"));
  EXPECT_EQ(twin.jointWorldPosition, (Vector3{1, 0, -2}));
  EXPECT_EQ(twin.jointID, 5);
  // In the YZ plane no joint shares Joint0_0's Y and Z: a single joint.
  addChildJoint(doc, "Joint0_0", {1, 0, 5}, kMirrorYZ, ui);
  EXPECT_EQ(doc.skeleton.size(), 6u);
  EXPECT_NE(findJoint(doc.skeleton, "Joint0_0_1"), nullptr);
}

TEST(Placement, MirroredChildNeverBecomesTheParentOfItsOwnTwin) {
  // The child shares its parent's X and Y exactly (straight along Z), and in the
  // second case so does the base joint.
  for (Vector3 basePoint : {Vector3{0, 0, 0}, Vector3{1, 1, 0}}) {
    SceneDocument doc;
    RecordingUi ui;
    placeBaseJoint(doc, basePoint, ui);
    addChildJoint(doc, "Joint0", {1, 1, 2}, kMirrorXY, ui);  // twin Joint0_1 at (1, 1, -2)
    Joint* child = addChildJoint(doc, "Joint0_0", {1, 1, 3}, kMirrorXY, ui);
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(child->children.empty());
    const Joint* twin = findJoint(doc.skeleton, "Joint0_1_0");
    ASSERT_NE(twin, nullptr);
    EXPECT_EQ(twin->parent, findJoint(doc.skeleton, "Joint0_1"));
    EXPECT_EQ(twin->jointWorldPosition, (Vector3{1, 1, -3}));
  }
}

TEST(Placement, DeletingAJointOnceThePositionsAreFixedIsRefusedWithAMessage) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* tip = test::fixedChain(doc, ui, {{0, 0, 0}, {0, 1, 0}, {0, 2, 0.5f}});
  doc.decitionJointPosition = 1;
  const Vector3 rest = tip->initPoseBoneVector;
  EXPECT_FALSE(deleteJoint(doc, tip->parent->jointID, ui));
  EXPECT_EQ(doc.skeleton.size(), 3u);
  EXPECT_EQ(tip->initPoseBoneVector, rest);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kDeleteAfterFixText);
  EXPECT_EQ(ui.messages[0].title, kDeleteAfterFixTitle);
}

TEST(Placement, NoJointIsPlacedOnceThePositionsAreFixed) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* tip = placeChain(doc, ui, {{0, 1, 0}});
  ASSERT_EQ(fixJointPositionsCommand(doc, ui), kFixOk);
  // A click left armed in placement mode after the fix.
  EXPECT_EQ(placeBaseJoint(doc, {5, 5, 5}, ui), nullptr);
  EXPECT_EQ(tip->position, (Vector3{0, 1, 0}));
  EXPECT_EQ(addChildJoint(doc, "Joint0", {1, 1, 0}, kMirrorYZ, ui), nullptr);
  EXPECT_EQ(doc.skeleton.size(), 1u);
  EXPECT_EQ(ui.treeOrder.size(), 1u);
}

TEST(Placement, MoveAndMirrorSetWorldPositions) {
  SceneDocument doc;
  RecordingUi ui;
  placeBaseJoint(doc, {0, 0, 0}, ui);
  Joint* a = addChildJoint(doc, "Joint0", {1, 2, 3}, kNoMirror, ui);
  Joint* b = addChildJoint(doc, "Joint0", {0, 0, 0}, kNoMirror, ui);
  moveJoint(*a, {4, 5, 6});
  EXPECT_EQ(a->jointWorldPosition, (Vector3{4, 5, 6}));
  mirrorJointOnto(*a, *b, kMirrorXY);
  EXPECT_EQ(b->jointWorldPosition, (Vector3{4, 5, -6}));
  mirrorJointOnto(*a, *b, kMirrorYZ);
  EXPECT_EQ(b->jointWorldPosition, (Vector3{-4, 5, 6}));
  mirrorJointOnto(*a, *b, kMirrorZX);
  EXPECT_EQ(b->jointWorldPosition, (Vector3{4, -5, 6}));
  doc.pickPoint[0] = 0.5;
  doc.pickPoint[1] = -1.25;
  doc.pickPoint[2] = 2.0;
  EXPECT_EQ(pickPointVector(doc), (Vector3{0.5f, -1.25f, 2.0f}));
}

TEST(Placement, DeletingAJointHandsItsChildrenToItsParentAndRebuildsTheTree) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* base = placeBaseJoint(doc, {0, 0, 0}, ui);
  Joint* a = addChildJoint(doc, "Joint0", {0, 1, 0}, kNoMirror, ui);
  Joint* b = addChildJoint(doc, "Joint0", {1, 0, 0}, kNoMirror, ui);
  Joint* a0 = addChildJoint(doc, "Joint0_0", {0, 2, 0}, kNoMirror, ui);
  Joint* a1 = addChildJoint(doc, "Joint0_0", {1, 2, 0}, kNoMirror, ui);
  renameJoint(doc.skeleton, *a1, "左手", ui);

  ASSERT_TRUE(deleteJoint(doc, a->jointID, ui));
  EXPECT_EQ(base->children, (std::vector<Joint*>{b, a0, a1}));
  EXPECT_EQ(a0->parent, base);
  EXPECT_EQ(a1->parent, base);
  EXPECT_EQ(a0->jointName, "Joint0_0_0");
  EXPECT_EQ(findJoint(doc.skeleton, "Joint0_0"), nullptr);
  EXPECT_EQ(doc.skeleton.size(), 4u);
  EXPECT_EQ(findJointByID(doc.skeleton, 2), nullptr);
  // The rebuilt tree: the base at the root, the rest under it in name order.
  ASSERT_EQ(ui.treeOrder.size(), 4u);
  EXPECT_EQ(ui.tree.at(ui.treeOrder[0]).text, "Joint0");
  EXPECT_EQ(treeChildren(ui, base->treeItem),
            (std::vector<std::string>{"Joint0_0_0", "左手", "Joint0_1"}));
  EXPECT_EQ(a0->treeItem, ui.treeOrder[1]);
  EXPECT_GE(ui.treeDeletes, 2);
}

TEST(Placement, DeletingTheBaseOrNothingIsRefused) {
  SceneDocument doc;
  RecordingUi ui;
  placeChain(doc, ui, {{0, 0, 0}, {0, 1, 0}});
  const int deletes = ui.treeDeletes;
  EXPECT_FALSE(deleteJoint(doc, kBaseJointID, ui));
  EXPECT_FALSE(deleteJoint(doc, kNoJointPicked, ui));
  EXPECT_EQ(doc.skeleton.size(), 2u);
  EXPECT_EQ(ui.treeDeletes, deletes);
}

TEST(Placement, IdsAndNamesStayUniqueAfterDeletions) {
  SceneDocument doc;
  RecordingUi ui;
  placeBaseJoint(doc, {0, 0, 0}, ui);
  Joint* a = addChildJoint(doc, "Joint0", {0, 1, 0}, kNoMirror, ui);  // Joint0_0, ID 2
  addChildJoint(doc, "Joint0", {1, 0, 0}, kNoMirror, ui);              // Joint0_1, ID 3
  ASSERT_TRUE(deleteJoint(doc, a->jointID, ui));
  // One child left: the plain count would repeat the name Joint0_1 and the
  // list size would repeat ID 3.
  Joint* n1 = addChildJoint(doc, "Joint0", {2, 0, 0}, kNoMirror, ui);
  ASSERT_NE(n1, nullptr);
  EXPECT_EQ(n1->jointName, "Joint0_2");
  EXPECT_EQ(n1->jointID, 4);
  EXPECT_EQ(doc.skeleton.size(), 3u);
  // Deleting the newest joint frees its number for the next one, never a live one.
  ASSERT_TRUE(deleteJoint(doc, 4, ui));
  EXPECT_EQ(nextJointID(doc.skeleton), 4);
  Joint* n2 = addChildJoint(doc, "Joint0", {3, 0, 0}, kNoMirror, ui);
  EXPECT_EQ(n2->jointName, "Joint0_2");
  EXPECT_EQ(n2->jointID, 4);
  for (const auto& j : doc.skeleton.jointOrder) {
    EXPECT_EQ(findJointByID(doc.skeleton, j->jointID), j.get());
  }
}

TEST(Placement, ChildNamesSkipNamesThatBeginAnExistingJoint) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* base = placeBaseJoint(doc, {0, 0, 0}, ui);
  Joint* a = addChildJoint(doc, "Joint0", {0, 1, 0}, kNoMirror, ui);  // Joint0_0
  Joint* b = addChildJoint(doc, "Joint0", {1, 0, 0}, kNoMirror, ui);  // Joint0_1
  addChildJoint(doc, "Joint0_1", {2, 0, 0}, kNoMirror, ui);            // Joint0_1_0
  ASSERT_TRUE(deleteJoint(doc, b->jointID, ui));
  ASSERT_TRUE(deleteJoint(doc, a->jointID, ui));
  // Joint0 keeps one child, Joint0_1_0: a new "Joint0_1" would own its name.
  Joint* n = addChildJoint(doc, "Joint0", {0, 0, 1}, kNoMirror, ui);
  EXPECT_EQ(n->jointName, "Joint0_2");
  Joint* g = addChildJoint(doc, "Joint0_2", {0, 0, 2}, kNoMirror, ui);
  EXPECT_EQ(g->jointName, "Joint0_2_0");
  // Only a "name_" prefix clashes: Joint0_1_0 does not block Joint0_10.
  for (int i = 0; i < 7; ++i) addChildJoint(doc, "Joint0", {1, 0, 0}, kNoMirror, ui);
  EXPECT_NE(findJoint(doc.skeleton, "Joint0_9"), nullptr);
  Joint* ten = addChildJoint(doc, "Joint0", {1, 0, 0}, kNoMirror, ui);
  EXPECT_EQ(ten->jointName, "Joint0_10");
  // Name order still visits every parent before its children.
  for (auto it = doc.skeleton.joints.begin(); it != doc.skeleton.joints.end(); ++it) {
    Joint* j = it->second;
    if (j->parent == nullptr) continue;
    EXPECT_LT(j->parent->jointName, j->jointName);
    EXPECT_EQ(j->jointName.compare(0, j->parent->jointName.size() + 1, j->parent->jointName + "_"),
              0);
  }
  EXPECT_EQ(base->children.size(), 10u);
}

TEST(Placement, RenameChangesOnlyTheTreeName) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* a = placeChain(doc, ui, {{0, 0, 0}, {0, 1, 0}});
  renameJoint(doc.skeleton, *a, "首", ui);
  EXPECT_EQ(a->TreeName, "首");
  EXPECT_EQ(a->jointName, "Joint0_0");
  ASSERT_EQ(ui.treeOrder.size(), 2u);
  EXPECT_EQ(ui.tree.at(ui.treeOrder[1]).text, "首");
  EXPECT_EQ(ui.tree.at(ui.treeOrder[1]).parent, ui.treeOrder[0]);
}

TEST(Placement, NudgingTheBaseSavesItsBoneOnceAndTracksTheOffset) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* tip = test::fixedChain(doc, ui, {{1, 0, 0}, {1, 1, 0}});
  Joint* base = baseJoint(doc.skeleton);
  const Vector3 rest = base->initPoseBoneVector;
  ASSERT_TRUE(nudgeBaseJoint(doc, kBaseJointID, 1, false));
  EXPECT_EQ(doc.backupBasicBoneVec, rest);
  ASSERT_TRUE(nudgeBaseJoint(doc, kBaseJointID, 1, false));
  ASSERT_TRUE(nudgeBaseJoint(doc, kBaseJointID, 1, true));
  EXPECT_EQ(doc.backupBasicBoneVec, rest);
  EXPECT_FLOAT_EQ(base->initPoseBoneVector.y, rest.y + 0.02f);
  EXPECT_FLOAT_EQ(doc.rootMoveOffset.y, 0.02f);
  EXPECT_EQ(doc.rootMoveOffset.x, 0.0f);
  EXPECT_EQ(base->initPoseBoneVector.x, rest.x);
  // Only the base joint moves.
  const Vector3 tipRest = tip->initPoseBoneVector;
  EXPECT_FALSE(nudgeBaseJoint(doc, tip->jointID, 0, true));
  EXPECT_FALSE(nudgeBaseJoint(doc, kBaseJointID, 3, true));
  EXPECT_EQ(tip->initPoseBoneVector, tipRest);
  EXPECT_FLOAT_EQ(doc.rootMoveOffset.y, 0.02f);
}

}  // namespace
}  // namespace lw
