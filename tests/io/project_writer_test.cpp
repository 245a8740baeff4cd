#include "io/project_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "io/project_fixture.h"

namespace lw {
namespace {

const std::string kDataDir = LW_TEST_DATA_DIR;

TEST(ProjectWriter, ReproducesTheHandCheckedFile) {
  SceneDocument doc;
  test::buildSmallProject(doc);
  EXPECT_EQ(projectText(doc), test::readFileText(kDataDir + "/small.ojp"));
}

TEST(ProjectWriter, NoAnimationSectionWithoutKeyframesAndNoUnsetRootBone) {
  SceneDocument doc;
  test::buildSmallProject(doc);
  doc.keyFrames = std::make_unique<KeyframeStore>();
  doc.backupBasicBoneVec = {999, 999, 999};
  std::string text = projectText(doc);
  EXPECT_EQ(text.find("[ANIMATIONDATA]"), std::string::npos);
  EXPECT_EQ(text.find("keyframe"), std::string::npos);
  EXPECT_EQ(text.find("backupBasicBoneVec"), std::string::npos);
  EXPECT_TRUE(text.ends_with("do_skinning 1\ndecitionJointPosition 1\n\n"));
}

TEST(ProjectWriter, RootBoneWithAny999ComponentIsNotWritten) {
  SceneDocument doc;
  test::buildSmallProject(doc);
  doc.backupBasicBoneVec = {1, 999, 2};
  EXPECT_EQ(projectText(doc).find("backupBasicBoneVec"), std::string::npos);
  doc.backupBasicBoneVec = {1, -999, 2};
  EXPECT_TRUE(projectText(doc).ends_with("backupBasicBoneVec 1 -999 2\n"));
}

TEST(ProjectWriter, NamesWithSpacesAreWrittenInFull) {
  SceneDocument doc;
  test::buildSmallProject(doc);
  Joint& arm = *doc.skeleton.joints["Joint0_0"];
  arm.TreeName = "left upper arm";
  std::string text = projectText(doc);
  EXPECT_NE(text.find("\nTreeName left upper arm\n"), std::string::npos);
  EXPECT_NE(text.find("\nSUB_MODEL_FILENAME hat 1.obj\n"), std::string::npos);
}

TEST(ProjectWriter, RelationBlocksOpenOnlyForJointsWithChildren) {
  SceneDocument doc;
  Joint& root = test::addJoint(doc, 1, "Joint0", nullptr);
  Joint& a = test::addJoint(doc, 2, "Joint0_0", &root);
  test::addJoint(doc, 3, "Joint0_1", &root);
  test::addJoint(doc, 4, "Joint0_0_0", &a);
  std::string text = projectText(doc);
  EXPECT_NE(text.find("[JOINTRERATION]\n"
                      "relation Joint0\n[down]\n"
                      "relation Joint0_0\n[down]\nrelation Joint0_0_0\n[up]\n"
                      "relation Joint0_1\n[up]\n"
                      "do_skinning 0\n"),
            std::string::npos);
}

TEST(ProjectWriter, KeyframesInNumberOrder) {
  SceneDocument doc;
  test::addJoint(doc, 1, "Joint0", nullptr);
  createKeyFrame(*doc.keyFrames, doc.skeleton, 900);
  createKeyFrame(*doc.keyFrames, doc.skeleton, -100);
  std::string text = projectText(doc);
  size_t first = text.find("frameNumber 0\nframeTime 900\n");
  size_t second = text.find("frameNumber 1\nframeTime -100\n");
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(second, std::string::npos);
  EXPECT_LT(first, second);
}

class ProjectFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("lw_project_writer_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(ProjectFileTest, WritesThroughATemporaryFileAndReplacesTheTarget) {
  SceneDocument doc;
  test::buildSmallProject(doc);
  std::string path = (dir_ / "scene.ojp").string();
  test::writeFileText(path, "old contents\n");
  ASSERT_EQ(writeProject(doc, path), 0);
  EXPECT_EQ(test::readFileText(path), projectText(doc));
  int files = 0;
  for (auto& entry : std::filesystem::directory_iterator(dir_)) files += entry.is_regular_file();
  EXPECT_EQ(files, 1);  // no temporary file left behind
}

TEST_F(ProjectFileTest, FailureLeavesTheExistingFileAlone) {
  SceneDocument doc;
  test::buildSmallProject(doc);
  EXPECT_EQ(writeProject(doc, (dir_ / "missing" / "scene.ojp").string()), kProjectNotWritten);
  // A target that is a folder cannot be replaced: the temporary file goes away.
  std::filesystem::create_directories(dir_ / "taken.ojp" / "inside");
  EXPECT_EQ(writeProject(doc, (dir_ / "taken.ojp").string()), kProjectNotWritten);
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "taken.ojp" / "inside"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "taken.ojp.lwtmp"));
}

}  // namespace
}  // namespace lw
