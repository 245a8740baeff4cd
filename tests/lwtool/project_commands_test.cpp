// lwtool's project commands (info, export, make-sample), called directly on a
// copy of the sample character and its project.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "tools/lwtool/commands.h"

namespace lw::tool {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every "v" line of an OBJ text.
std::string positionLines(const std::string& obj) {
  std::string lines;
  for (size_t at = obj.find("\nv "); at != std::string::npos; at = obj.find("\nv ", at + 1)) {
    lines += obj.substr(at, obj.find('\n', at + 1) - at);
  }
  return lines;
}

class ProjectCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("lwtool_project_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const char* name : {"character.obj", "character.mtl", "character.bmp", "character.ojp"}) {
      fs::copy_file(fs::path(LW_SAMPLES_DIR) / name, folder / name);
    }
  }
  void TearDown() override { fs::remove_all(folder); }
  std::string file(const std::string& name) const { return (folder / name).string(); }

  fs::path folder;
  std::string out, err;
};

TEST_F(ProjectCommandsTest, InfoSummarisesTheProject) {
  ASSERT_EQ(runInfo({file("character.ojp")}, out, err), 0) << err;
  EXPECT_NE(out.find("model: character.obj\n"), std::string::npos) << out;
  EXPECT_NE(out.find("joints: 16\n"), std::string::npos);
  EXPECT_NE(out.find("keyframes: 5\n"), std::string::npos);
  EXPECT_NE(out.find("Hermite for 1 joints"), std::string::npos);
  EXPECT_NE(out.find("(weighted "), std::string::npos);
}

TEST_F(ProjectCommandsTest, ExportWritesTheStoredPoseOrThePoseAtATime) {
  ASSERT_EQ(runExport({file("character.ojp"), file("stored.obj")}, out, err), 0) << err;
  ASSERT_EQ(runExport({file("character.ojp"), file("wave.obj"), "--time", "1000"}, out, err), 0) << err;
  ASSERT_EQ(runExport({file("character.ojp"), file("end.obj"), "--time", "5000"}, out, err), 0) << err;
  const std::string stored = readAll(folder / "stored.obj");
  EXPECT_TRUE(stored.starts_with("# Created by Limbweaver[OBJ FILE]\n\nmtllib stored.mtl\n"));
  EXPECT_EQ(readAll(folder / "stored.mtl"), readAll(folder / "character.mtl"));
  // The project holds its last keyframe's pose (the rest pose); after the last
  // keyframe the animation rests in it too, and in the middle of the wave the
  // model is elsewhere.
  const std::string wave = positionLines(readAll(folder / "wave.obj"));
  const std::string end = positionLines(readAll(folder / "end.obj"));
  const std::string rest = positionLines(stored);
  EXPECT_TRUE(wave != rest);
  EXPECT_EQ(std::count(wave.begin(), wave.end(), '\n'), std::count(rest.begin(), rest.end(), '\n'));
  EXPECT_EQ(std::count(end.begin(), end.end(), '\n'), std::count(rest.begin(), rest.end(), '\n'));
  // Its first corner (the top of the head) agrees to the file's precision.
  EXPECT_EQ(end.substr(0, 17), rest.substr(0, 17));
}

TEST_F(ProjectCommandsTest, RefusalsAndUsage) {
  EXPECT_EQ(runExport({file("missing.ojp"), file("x.obj")}, out, err), 1);
  EXPECT_NE(err.find("missing.ojp"), std::string::npos);
  err.clear();
  EXPECT_EQ(runExport({file("character.ojp"), file("x.obj"), "--time", "soon"}, out, err), 2);
  EXPECT_EQ(runExport({file("character.ojp")}, out, err), 2);
  std::ofstream(folder / "empty.ojp") << "[JOINTDATA]\n";
  err.clear();
  EXPECT_EQ(runInfo({file("empty.ojp")}, out, err), 1);
  EXPECT_TRUE(err.starts_with("OJP")) << err;
  EXPECT_FALSE(fs::exists(folder / "x.obj"));
  // glTF takes --fps from 1 to 1000 and no --time.
  const char* const gltfUsage[][2] = {{"--fps", "0"}, {"--fps", "1001"}, {"--fps", "x"},
                                      {"--time", "10"}};
  for (const auto& [option, value] : gltfUsage) {
    EXPECT_EQ(runExport({file("character.ojp"), file("x.glb"), option, value}, out, err), 2) << value;
  }
  EXPECT_FALSE(fs::exists(folder / "x.glb"));
  ASSERT_EQ(runExport({file("character.ojp"), file("x.gltf"), "--fps", "1000"}, out, err), 0) << err;
  EXPECT_NE(out.find("over 2001 sampled times"), std::string::npos) << out;
}

// No command writes over a file it reads: the project, its model or its texture.
TEST_F(ProjectCommandsTest, OutputsThatAreInputsAreRefused) {
  const std::vector<std::pair<int (*)(const Args&, std::string&, std::string&), Args>> cases = {
      {runExport, {file("character.ojp"), file("character.ojp")}},
      {runExport, {file("character.ojp"), file("character.obj")}},
      {runMakeSample, {file("character.obj"), file("character.obj")}},
  };
  std::vector<std::string> before;
  for (const char* name : {"character.obj", "character.mtl", "character.bmp", "character.ojp"}) {
    before.push_back(readAll(folder / name));
  }
  for (const auto& [run, args] : cases) {
    err.clear();
    EXPECT_EQ(run(args, out, err), 1) << args[1];
    EXPECT_NE(err.find(args[1] + "\xe3\x81\xaf"), std::string::npos) << err;  // "<path>は..."
  }
  size_t i = 0;
  for (const char* name : {"character.obj", "character.mtl", "character.bmp", "character.ojp"}) {
    EXPECT_TRUE(readAll(folder / name) == before[i++]) << name;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 4);
}

// The export opens from another folder: the library and its texture come along.
TEST_F(ProjectCommandsTest, ExportCopiesTheTexturesItsLibraryNames) {
  fs::create_directory(folder / "away");
  ASSERT_EQ(runExport({file("character.ojp"), file("away/pose.obj")}, out, err), 0) << err;
  EXPECT_TRUE(readAll(folder / "away" / "character.bmp") == readAll(folder / "character.bmp"));
  ASSERT_EQ(runInfo({file("away/pose.obj")}, out, err), 0) << err;
  EXPECT_NE(out.find("texture character.bmp"), std::string::npos) << out;
}

// Keyframes are counted as they are listed, and --time needs two of them.
TEST_F(ProjectCommandsTest, KeyframeCountAndTimeNeedTwoKeyframes) {
  std::string project = readAll(folder / "character.ojp");
  const std::string shared = project;
  project.replace(project.find("frameTime 600\n"), 14, "frameTime 1000");
  std::ofstream(folder / "shared.ojp", std::ios::binary) << project;
  ASSERT_EQ(runInfo({file("shared.ojp")}, out, err), 0) << err;
  EXPECT_NE(out.find("keyframes: 4\n"), std::string::npos) << out;
  int listed = 0;
  for (size_t at = out.find(" ms (#"); at != std::string::npos; at = out.find(" ms (#", at + 1)) ++listed;
  EXPECT_EQ(listed, 4);
  std::ofstream(folder / "still.ojp", std::ios::binary) << shared.substr(0, shared.find("[ANIMATIONDATA]"));
  err.clear();
  EXPECT_EQ(runExport({file("still.ojp"), file("t.obj"), "--time", "500"}, out, err), 1);
  EXPECT_EQ(err, "lwtool export: --time needs at least two keyframes; the project has 0\n");
  EXPECT_FALSE(fs::exists(folder / "t.obj"));
}

TEST_F(ProjectCommandsTest, MakeSampleReproducesTheSampleProject) {
  ASSERT_EQ(runMakeSample({file("character.obj"), file("made.ojp")}, out, err), 0) << err;
  EXPECT_TRUE(readAll(folder / "made.ojp") == readAll(folder / "character.ojp"))
      << "regenerate samples/character.ojp with lwtool make-sample";
}

}  // namespace
}  // namespace lw::tool
