// The sample project stays readable and up to date with the project writer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/shell_ui.h"
#include "io/project_reader.h"
#include "io/project_writer.h"

namespace lw {
namespace {

TEST(SampleProject, OpensRiggedWeightedAndAnimatedAndSavesToTheSameBytes) {
  namespace fs = std::filesystem;
  const fs::path samples = fs::path(__FILE__).parent_path() / ".." / ".." / "samples";
  // Read a copy: opening converts the OBJ through a temporary file beside it.
  const fs::path dir = fs::temp_directory_path() / "lw_sample_project_test";
  std::error_code cleared;
  fs::remove_all(dir, cleared);
  fs::create_directories(dir);
  for (const char* name : {"character.obj", "character.mtl", "character.bmp", "character.ojp"}) {
    fs::copy_file(samples / name, dir / name);
  }
  SceneDocument doc;
  NullShellUi ui;
  ASSERT_EQ(readProject(doc, (dir / "character.ojp").string(), ui).code, kProjectRead);
  EXPECT_GE(doc.skeleton.size(), 15u);
  size_t corners = 0;
  for (const SkinPart& part : doc.skinBuffers->parts) {
    for (const WeightList& weights : part.skinWeights) {
      EXPECT_FALSE(weights.empty());
      ++corners;
    }
  }
  EXPECT_GT(corners, 0u);
  EXPECT_GE(doc.keyFrames->byTime.size(), 4u);
  int hermite = 0;
  for (const auto& [time, kf] : doc.keyFrames->byTime) {
    for (const auto& [name, pose] : kf->poses) hermite += pose.kf_hokanMode == 1;
  }
  EXPECT_GE(hermite, 1);

  std::stringstream text;
  {
    std::ifstream file(dir / "character.ojp");
    text << file.rdbuf();
  }
  EXPECT_TRUE(projectText(doc) == text.str()) << "regenerate with lwtool make-sample";
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace
}  // namespace lw
