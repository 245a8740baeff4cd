// lwtool's commands, called directly.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "io/model_load.h"
#include "io/obj_reader.h"
#include "io/tlo.h"
#include "tools/lwtool/commands.h"

namespace lw::tool {
namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// UTF-8 text: plain literals here are compiled to CP932.
std::string utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string ioData(const std::string& name) { return std::string(LW_IO_TEST_DATA_DIR) + "/" + name; }

class LwtoolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("lwtool_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::string file(const std::string& name) const { return (folder / name).string(); }

  std::filesystem::path folder;
  std::string out, err;
};

TEST_F(LwtoolTest, ConvertWritesTheGoldenTlo) {
  ASSERT_EQ(runConvert({ioData("tricky.obj"), file("out.tlo")}, out, err), 0) << err;
  EXPECT_EQ(readAll(file("out.tlo")), readAll(ioData("tricky.tlo")));
  EXPECT_TRUE(err.empty());
}

TEST_F(LwtoolTest, ConvertWritesWhatThePipelineReadsBack) {
  const std::string sample = std::string(LW_SAMPLES_DIR) + "/character.obj";
  ASSERT_EQ(runConvert({sample, file("c.tlo")}, out, err), 0) << err;
  std::string error;
  auto obj = readObjFile(sample, error);
  ASSERT_NE(obj, nullptr);
  EXPECT_EQ(readAll(file("c.tlo")), tloText(*obj));
}

TEST_F(LwtoolTest, RefusalsPrintTitleAndMessageInUtf8) {
  EXPECT_EQ(runConvert({file("model.Obj"), file("o.tlo")}, out, err), 1);
  EXPECT_EQ(err, utf8(u8"拡張子無し: 拡張子を指定してください。\n"));
  { std::ofstream(file("quad4.obj")) << "f 1/1/1 2/2/2 3/3/3 4/4/4\n"; }
  EXPECT_EQ(runConvert({file("quad4.obj"), file("o.tlo")}, out, err), 1);
  EXPECT_EQ(err, utf8(u8"OBJファイル形式: 三角面のみで構成されたOBJファイルを使用してください。\n") +
                     file("quad4.obj") + "\n");
  EXPECT_EQ(runConvert({file("absent.obj"), file("o.tlo")}, out, err), 1);
  EXPECT_EQ(err, utf8(u8"File Open Error: ファイルオープンエラー\n") + file("absent.obj") + "\n");
  { std::ofstream(file("novt.obj")) << "v 0 0 0\nvn 0 0 1\nf 1/1/1 1/1/1 1/1/1\n"; }
  EXPECT_EQ(runInfo({file("novt.obj")}, out, err), 1);
  EXPECT_EQ(err, utf8(u8"OBJ読み込みエラー: objファイル内のv, vt, vn, fの数を示したコメントの形式が不正です\n") +
                     file("novt.obj") + "\n");
  EXPECT_EQ(runConvert({ioData("quad.obj"), file("missing/o.tlo")}, out, err), 1);
  EXPECT_EQ(err, utf8(u8"OBJ→TLO変換エラー: 変換に失敗！\n") + file("missing/o.tlo") + "\n");
  EXPECT_FALSE(std::filesystem::exists(file("o.tlo")));
  EXPECT_EQ(runConvert({ioData("quad.obj")}, out, err), 2);
}

TEST_F(LwtoolTest, InfoSummarisesObjAndTlo) {
  ASSERT_EQ(runInfo({ioData("tricky.obj")}, out, err), 0) << err;
  EXPECT_NE(out.find("faces: 3 (corners 9)\n"), std::string::npos) << out;
  EXPECT_NE(out.find("faces before the first material: 1\n"), std::string::npos) << out;
  EXPECT_NE(out.find("material groups: 4\n  a: 0 faces\n  b: 1 faces\n"), std::string::npos) << out;
  EXPECT_NE(out.find("  b  Kd 1.000 0.000 0.000  texture tex.bmp\n"), std::string::npos) << out;

  ASSERT_EQ(runInfo({ioData("tricky.tlo")}, out, err), 0) << err;
  EXPECT_NE(out.find("parts: 5\n  (no material): 3 corners\n  a: 0 corners\n  b: 3 corners\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("texture tex.bmp (3x2)"), std::string::npos) << out;
}

// An output that is the input is refused before anything is written, however
// the two names are spelled.
TEST_F(LwtoolTest, ConvertNeverWritesOverItsInput) {
  const std::string model = file("m.obj");
  std::filesystem::copy_file(ioData("quad.obj"), model);
  const std::string before = readAll(model);
  for (const std::string& output : {model, (folder / "." / "m.obj").string()}) {
    err.clear();
    EXPECT_EQ(runConvert({model, output}, out, err), 1) << output;
    EXPECT_EQ(err, utf8(u8"保存エラー: ") + output +
                       utf8(u8"は読み込むファイルと同じです。別の名前を指定してください。\n"));
    EXPECT_EQ(readAll(model), before);
  }
}

// Names arrive as UTF-8 and are used as CP932 inside; a name CP932 cannot
// hold, or bytes that are not UTF-8, are refused as usage errors.
TEST(ArgumentsFromUtf8, ConvertsOrRefusesEachWord) {
  std::string words[] = {utf8(u8"モデル.obj"), "plain", utf8(u8"😀.obj"), "\xff.obj"};
  char* argv[] = {words[0].data(), words[1].data(), words[2].data(), words[3].data()};
  Args args;
  std::string err;
  EXPECT_EQ(argumentsFromUtf8(argv, argv + 2, args, err), 0);
  EXPECT_EQ(args, (Args{"\x83\x82\x83\x66\x83\x8b.obj", "plain"}));
  EXPECT_TRUE(err.empty());
  for (char** word : {argv + 2, argv + 3}) {
    err.clear();
    EXPECT_EQ(argumentsFromUtf8(word, word + 1, args, err), 2);
    EXPECT_NE(err.find(*word), std::string::npos) << err;
  }
}

TEST(Cp932ToUtf8, ConvertsNamesAndMarksBytesThatAreNotCp932) {
  EXPECT_EQ(utf8FromCp932("\x83\x65\x83\x58\x83\x67"), utf8(u8"テスト"));
  EXPECT_EQ(utf8FromCp932(std::string("a\x81", 2)), "a?");
  EXPECT_EQ(utf8FromCp932("plain"), "plain");
}

}  // namespace
}  // namespace lw::tool
