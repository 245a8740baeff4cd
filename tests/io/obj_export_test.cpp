#include "io/obj_export.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "io/project_fixture.h"
#include "io/project_save.h"
#include "support/file_size_limit.h"

namespace lw {
namespace {

// A model of parts with the given triangle counts; corner k (from 0 overall) at
// (k, 2k, -k / 2), normal (0, 0, 1), texture coordinate (k / 8, 1 - k / 8).
void buildModel(SceneDocument& doc, std::vector<int> triangles) {
  auto mesh = std::make_unique<Mesh>();
  int k = 0;
  for (size_t p = 0; p < triangles.size(); ++p) {
    MeshPart part;
    for (int c = 0; c < 3 * triangles[p]; ++c, ++k) {
      part.positions.push_back({float(k), 2.0f * k, -k / 2.0f});
      part.normals.push_back({0, 0, 1});
      part.texCoords.push_back({k / 8.0f, 1 - k / 8.0f});
    }
    part.vertexCount = 3 * triangles[p];
    part.materialIndex = static_cast<int32_t>(p);
    mesh->parts.push_back(std::move(part));
    mesh->materials.push_back(Material{});
    mesh->materials.back().name = "mat" + std::to_string(p);
  }
  doc.skinBuffers = makeSkinBuffers(*mesh);
  doc.mesh = std::move(mesh);
}

TEST(ObjExport, TwoPartsNumberCornersAcrossParts) {
  SceneDocument doc;
  buildModel(doc, {2, 1});
  doc.skinBuffers->parts[1].skinPositions[2] = {-1.5f, 1e-7f, 123456.789f};
  doc.skinBuffers->parts[1].skinNormals[2] = {0.25f, -0.5f, 0.75f};
  std::string expected =
      "# Created by Limbweaver[OBJ FILE]\n\nmtllib pose.mtl\n"
      "v 0.000000 0.000000 0.000000\nv 1.000000 2.000000 -0.500000\n"
      "v 2.000000 4.000000 -1.000000\nv 3.000000 6.000000 -1.500000\n"
      "v 4.000000 8.000000 -2.000000\nv 5.000000 10.000000 -2.500000\n"
      "v 6.000000 12.000000 -3.000000\nv 7.000000 14.000000 -3.500000\n"
      "v -1.500000 0.000000 123456.789062\n"
      "vt 0.000000 1.000000\nvt 0.125000 0.875000\nvt 0.250000 0.750000\n"
      "vt 0.375000 0.625000\nvt 0.500000 0.500000\nvt 0.625000 0.375000\n"
      "vt 0.750000 0.250000\nvt 0.875000 0.125000\nvt 1.000000 0.000000\n"
      "vn 0.000000 0.000000 1.000000\nvn 0.000000 0.000000 1.000000\n"
      "vn 0.000000 0.000000 1.000000\nvn 0.000000 0.000000 1.000000\n"
      "vn 0.000000 0.000000 1.000000\nvn 0.000000 0.000000 1.000000\n"
      "vn 0.000000 0.000000 1.000000\nvn 0.000000 0.000000 1.000000\n"
      "vn 0.250000 -0.500000 0.750000\n"
      "g \nusemtl mat0\nf 1/1/1 2/2/2 3/3/3\nf 4/4/4 5/5/5 6/6/6\n"
      "g \nusemtl mat1\nf 7/7/7 8/8/8 9/9/9\n\n";
  EXPECT_EQ(objExportText(doc, "pose.mtl"), expected);
}

TEST(ObjExport, PartWithoutTrianglesKeepsItsLinesAndShiftsNothing) {
  SceneDocument doc;
  buildModel(doc, {1, 0, 1});
  doc.mesh->parts[2].materialIndex = -1;
  std::string text = objExportText(doc, "m.mtl");
  EXPECT_TRUE(text.ends_with("g \nusemtl mat0\nf 1/1/1 2/2/2 3/3/3\n"
                             "g \nusemtl mat1\n"
                             "g \nusemtl \nf 4/4/4 5/5/5 6/6/6\n\n"));
}

TEST(ObjExport, BaseNameDropsExactlyFourCharacters) {
  EXPECT_EQ(exportBaseName("C:\\work\\pose.obj"), "C:\\work\\pose");
  EXPECT_EQ(exportBaseName("pose.objx"), "pose.");
  EXPECT_EQ(exportBaseName("a.b"), "");
}

class ObjExportFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("lw_obj_export_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ / "out");
    buildModel(doc_, {1});
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
  SceneDocument doc_;
};

TEST_F(ObjExportFileTest, CopiesTheMaterialLibraryBesideTheObj) {
  test::writeFileText((dir_ / "src.mtl").string(), "newmtl mat0\n");
  test::writeFileText((dir_ / "out" / "pose.mtl").string(), "old\n");
  doc_.materialLibraryName = (dir_ / "src.mtl").string();
  std::string path = (dir_ / "out" / "pose.obj").string();
  ASSERT_EQ(exportObj(doc_, path, "pose.obj"), 0);
  EXPECT_EQ(test::readFileText((dir_ / "out" / "pose.mtl").string()), "newmtl mat0\n");
  EXPECT_EQ(test::readFileText(path), objExportText(doc_, "pose.mtl"));
  // Saved beside its own library under the same name: the library stays whole.
  ASSERT_EQ(exportObj(doc_, (dir_ / "src.obj").string(), "src.obj"), 0);
  EXPECT_EQ(test::readFileText((dir_ / "src.mtl").string()), "newmtl mat0\n");
}

TEST_F(ObjExportFileTest, MissingMaterialLibraryStillWritesTheObj) {
  doc_.materialLibraryName = (dir_ / "absent.mtl").string();
  std::string path = (dir_ / "out" / "pose.obj").string();
  ASSERT_EQ(exportObj(doc_, path, "pose.obj"), 0);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out" / "pose.mtl"));
  EXPECT_TRUE(test::readFileText(path).starts_with("# Created by Limbweaver[OBJ FILE]\n\nmtllib pose.mtl\n"));
}

// The OBJ, its library and its texture are one save: a failure at any point
// (the OBJ cut short, the texture cut short) keeps all three old files and
// leaves no new one; with room, all three are replaced.
TEST_F(ObjExportFileTest, TexturesAreCopiedAndAFailedSaveKeepsEveryOldFile) {
  namespace fs = std::filesystem;
  fs::create_directories(dir_ / "src");
  test::writeFileText((dir_ / "src" / "src.mtl").string(), "newmtl mat0\nmap_Kd skin.bmp\n");
  const std::string texture(20000, 't');
  test::writeFileText((dir_ / "src" / "skin.bmp").string(), texture);
  doc_.materialLibraryName = (dir_ / "src" / "src.mtl").string();
  doc_.mesh->materials[0].textureFile = "skin.bmp";
  doc_.mesh->materials[0].texturePath = (dir_ / "src" / "skin.bmp").string();
  const std::string path = (dir_ / "out" / "pose.obj").string();
  const long long objBytes = static_cast<long long>(objExportText(doc_, "pose.mtl").size());
  for (long long limit : {0LL, objBytes - 1, objBytes}) {
    for (const char* name : {"pose.obj", "pose.mtl", "skin.bmp"}) {
      test::writeFileText((dir_ / "out" / name).string(), std::string("old ") + name);
    }
    int result;
    {
      test::FileSizeLimit cap(limit);
      if (!cap.active()) GTEST_SKIP() << "no file size limits here";
      result = exportObj(doc_, path, "pose.obj");
    }
    EXPECT_EQ(result, kObjNotWritten) << limit;
    for (const char* name : {"pose.obj", "pose.mtl", "skin.bmp"}) {
      EXPECT_EQ(test::readFileText((dir_ / "out" / name).string()), std::string("old ") + name) << limit;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "out"), {}), 3) << limit;
  }
  ASSERT_EQ(exportObj(doc_, path, "pose.obj"), 0);
  EXPECT_EQ(test::readFileText(path), objExportText(doc_, "pose.mtl"));
  EXPECT_EQ(test::readFileText((dir_ / "out" / "pose.mtl").string()), "newmtl mat0\nmap_Kd skin.bmp\n");
  EXPECT_EQ(test::readFileText((dir_ / "out" / "skin.bmp").string()), texture);
  // Exported beside its own texture: the texture is not copied onto itself.
  ASSERT_EQ(exportObj(doc_, (dir_ / "src" / "again.obj").string(), "again.obj"), 0);
  EXPECT_EQ(test::readFileText((dir_ / "src" / "skin.bmp").string()), texture);
  // Into a folder that does not exist: no library is left anywhere either.
  EXPECT_EQ(exportObj(doc_, (dir_ / "nowhere" / "p.obj").string(), "p.obj"), kObjNotWritten);
  EXPECT_FALSE(fs::exists(dir_ / "nowhere"));
}

// A model whose text is several times the piece the export writes at once:
// the file holds all of it.
TEST_F(ObjExportFileTest, ALargeModelIsWrittenWhole) {
  buildModel(doc_, {9000, 3001});
  const std::string path = (dir_ / "out" / "big.obj").string();
  ASSERT_EQ(exportObj(doc_, path, "big.obj"), 0);
  const std::string expected = objExportText(doc_, "big.mtl");
  ASSERT_GT(expected.size(), 3u << 20);
  EXPECT_TRUE(test::readFileText(path) == expected);
}

TEST_F(ObjExportFileTest, UnwritableTargetOrNoModelIsReported) {
  EXPECT_EQ(exportObj(doc_, (dir_ / "nowhere" / "pose.obj").string(), "pose.obj"), kObjNotWritten);
  SceneDocument empty;
  EXPECT_EQ(exportObj(empty, (dir_ / "out" / "e.obj").string(), "e.obj"), kObjNotWritten);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out" / "e.obj"));
}

TEST_F(ObjExportFileTest, SaveAsChoosesTheWriterByExtension) {
  int bitmaps = 0;
  auto bitmap = [&](const std::string&) { return ++bitmaps > 0; };
  std::string base = (dir_ / "out" / "s").string();
  for (const char* title : {"s.OJP", "s.v2.obj", "s.bmp"}) {
    const FileSaveResult saved = saveChosenFile(doc_, base + (title + 1), title, bitmap);
    EXPECT_EQ(saved.outcome, SaveOutcome::Written) << title;
    EXPECT_TRUE(saved.message.empty() && saved.title.empty()) << title;
  }
  EXPECT_TRUE(test::readFileText(base + ".OJP").starts_with("# Created by Limbweaver OJP FILE\n"));
  EXPECT_TRUE(
      test::readFileText(base + ".v2.obj").starts_with("# Created by Limbweaver[OBJ FILE]"));
  EXPECT_EQ(bitmaps, 1);

  const std::string refused = (dir_ / "out" / "r").string();
  for (const char* title : {"r.Ojp", "r"}) {
    const FileSaveResult saved = saveChosenFile(doc_, refused + (title + 1), title, bitmap);
    EXPECT_EQ(saved.outcome, SaveOutcome::MissingExtension) << title;
    EXPECT_EQ(saved.message, "拡張子を指定してください。");
    EXPECT_EQ(saved.title, "拡張子無し");
  }
  EXPECT_FALSE(std::filesystem::exists(refused + ".Ojp"));
  EXPECT_FALSE(std::filesystem::exists(refused));

  std::string bad = (dir_ / "nowhere" / "s.ojp").string();
  const FileSaveResult failed = saveChosenFile(doc_, bad, "s.ojp", bitmap);
  EXPECT_EQ(failed.outcome, SaveOutcome::NotWritten);
  EXPECT_EQ(failed.message, bad + "に保存できませんでした。");
  EXPECT_EQ(failed.title, "保存エラー");
}

}  // namespace
}  // namespace lw
