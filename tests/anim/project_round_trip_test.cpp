// A project made through the program's own operations saves, reads back through
// the OBJ import pipeline and saves again to the same bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "anim/anim_fixture.h"
#include "anim/interpolation.h"
#include "io/model_load.h"
#include "io/project_reader.h"
#include "io/project_writer.h"
#include "skeleton/ik.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

void writeText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Two triangles in one material; the hat is one triangle.
constexpr const char* kArmObj =
    "mtllib arm.mtl\n"
    "v 0 1.5 0\nv 0.5 2 0.1\nv 1 2.1 -0.1\nv 0.2 1.8 0.3\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvn 0 0 1\n"
    "usemtl skin\nf 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/2/1\n";
constexpr const char* kHatObj =
    "mtllib arm.mtl\nv 0 2 0\nv 1 2 0\nv 0 3 0\nvt 0 0\nvn 0 0 1\n"
    "usemtl skin\nf 1/1/1 2/1/1 3/1/1\n";
constexpr const char* kMtl = "newmtl skin\nKd 0.8 0.6 0.5\n";

class ProjectRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    // One folder per test: CTest runs the tests of this suite side by side.
    dir_ = std::filesystem::temp_directory_path() /
           (std::string("lw_project_round_trip_") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    writeText(dir_ / "arm.obj", kArmObj);
    writeText(dir_ / "hat.obj", kHatObj);
    writeText(dir_ / "arm.mtl", kMtl);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
  test::RecordingUi ui_;
};

TEST_F(ProjectRoundTrip, SavedReadAndSavedAgainGivesTheSameBytes) {
  SceneDocument doc;
  ASSERT_EQ(openModelFile(doc, ui_, (dir_ / "arm.obj").string(), "arm.obj").status, LoadStatus::Loaded);
  ASSERT_EQ(addDecorationFile(doc, ui_, (dir_ / "hat.obj").string(), "hat.obj").status,
            LoadStatus::Loaded);
  Joint* base = placeBaseJoint(doc, {0, 1, 0}, ui_);
  Joint* upper = addChildJoint(doc, base->jointName, {0, 2, 0}, kNoMirror, ui_);
  Joint* hand = addChildJoint(doc, upper->jointName, {1, 2.2f, 0.3f}, kNoMirror, ui_);
  ASSERT_EQ(fixJointPositionsCommand(doc, ui_), kFixOk);
  evaluatePose(doc.skeleton);
  renameJoint(doc.skeleton, *hand, "hand", ui_);
  SkinPart& skin = doc.skinBuffers->parts[0];
  for (size_t c = 0; c < skin.skinWeights.size(); ++c) {
    skin.skinWeights[c].push_back({c % 2 ? "Joint0_0_0" : "Joint0_0", 0.75f});
    skin.skinWeights[c].push_back({"Joint0", 0.25f});
  }
  ASSERT_TRUE(nudgeBaseJoint(doc, 1, 0, false));

  test::keyPose(doc, ui_, 0, "Joint0_0", {1, 0, 1}, 15);
  test::keyPose(doc, ui_, 400, "Joint0_0_0", {0, 1, 1}, 50);
  test::keyPose(doc, ui_, -200, "Joint0_0", {0, 0, 1}, 80);
  const std::string handId = std::to_string(hand->jointID);
  InterpolationChoice hermite{"0", handId, true, "1.25", "-0.5"};
  ASSERT_TRUE(applyInterpolationChoice(*doc.keyFrames, doc.skeleton, hermite, ui_));
  // IK state left on the joints after the last keyframe.
  hand->ikWorkPosition = hand->jointDrawPositionAfterPosEnter;
  ASSERT_EQ(ikSolve(*hand, {0.8f, 2.6f, 0.4f}), kIkOk);
  upper->ik_stopFlg = 1;
  // Opening a project shows the keyframe after the last one read; start from there.
  ASSERT_GT(showNextKeyFrame(doc), -1);

  const std::string path = (dir_ / "arm.ojp").string();
  ASSERT_EQ(writeProject(doc, path), 0);
  const std::string first = projectText(doc);
  EXPECT_NE(first.find("kf_hokanMode 1\nkf_speed 1.25 -0.5\n"), std::string::npos);
  EXPECT_NE(first.find("ik_Flag 1\n"), std::string::npos);
  EXPECT_NE(first.find("\nbackupBasicBoneVec "), std::string::npos);
  EXPECT_NE(first.find("\nSUB_MODEL_FILENAME hat.obj\n"), std::string::npos);

  SceneDocument read;
  ASSERT_EQ(readProject(read, path, ui_).code, kProjectRead);
  EXPECT_EQ(projectText(read), first);
  EXPECT_EQ(read.materialLibraryName, (dir_ / "arm.mtl").string());
  ASSERT_EQ(writeProject(read, path), 0);
  SceneDocument again;
  ASSERT_EQ(readProject(again, path, ui_).code, kProjectRead);
  EXPECT_EQ(projectText(again), first);
}

TEST_F(ProjectRoundTrip, ProjectWithoutItsObjIsRefused) {
  SceneDocument doc;
  writeText(dir_ / "lost.ojp", "MODEL_FILENAME gone.obj\njointID 1\n");
  const ProjectResult result = readProject(doc, (dir_ / "lost.ojp").string(), ui_);
  EXPECT_EQ(result.code, kProjectModelObjFailed);
  EXPECT_FALSE(result.message.empty());
  EXPECT_EQ(result.title, "OBJ読み込みエラー");
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(doc.mesh, nullptr);
  EXPECT_TRUE(doc.skeleton.empty());
}

}  // namespace
}  // namespace lw
