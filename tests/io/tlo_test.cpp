// The TLO writer against hand-checked golden files, and the reader.
#include "io/tlo.h"

#include <gtest/gtest.h>

#include <string>

#include "io/model_messages.h"
#include "io/obj_reader.h"
#include "io_test_support.h"

namespace lw {
namespace {

std::unique_ptr<ObjMesh> readObjData(const std::string& name) {
  std::string error;
  auto obj = readObjFile(test::dataPath(name), error);
  EXPECT_NE(obj, nullptr) << error;
  return obj;
}

TEST(WriteTlo, MatchesHandCheckedGoldenFiles) {
  for (const char* name : {"quad", "tricky"}) {
    auto obj = readObjData(std::string(name) + ".obj");
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(tloText(*obj), test::readFile(test::dataPath(std::string(name) + ".tlo"))) << name;
  }
}

TEST(WriteTlo, FileBytesEqualTheTextAndUnwritablePathFails) {
  auto obj = readObjData("tricky.obj");
  ASSERT_NE(obj, nullptr);
  test::TempFolder temp;
  ASSERT_EQ(writeTloFile(temp.file("out.tlo"), *obj), 0);
  EXPECT_EQ(test::readFile(temp.file("out.tlo")), tloText(*obj));
  EXPECT_EQ(writeTloFile(temp.file("missing/out.tlo"), *obj), 1);
}

// Every declared part has its block: a group without faces at the end, and
// groups whose faces all failed to scan, each get "usemtl" and three empty lines.
TEST(WriteTlo, EveryDeclaredGroupWritesItsBlock) {
  const std::string head = "# Created by Limbweaver[TLO FILE]\n\n";
  std::string corners;
  for (const char* line : {"v 1.000000 2.000000 -3.000000\n", "vt 0.500000 0.250000\n",
                           "vn 0.000000 0.000000 1.000000\n"}) {
    corners += std::string(line) + line + line + "\n";
  }
  struct Case {
    const char* obj;
    std::string tlo;
    int firstPartCorners;
  };
  const Case cases[] = {
      {"v 1 2 -3\nvt 0.5 0.25\nvn 0 0 1\nusemtl a\nf 1/1/1 1/1/1 1/1/1\nusemtl b\n",
       head + "men_part_num 1\nmen_part_num 0\nmen_num 1\nmtllib \n\n\n\nusemtl a\n" + corners +
           "usemtl b\n\n\n\n",
       3},
      {"v 0 0 0\nvt 0 0\nvn 0 0 1\nusemtl a\nf 1//1 1//1 1//1\nusemtl b\n",
       head + "men_part_num 0\nmen_part_num 0\nmen_num 0\nmtllib \n\n\n\nusemtl a\n\n\n\n"
              "usemtl b\n\n\n\n",
       0},
  };
  for (const Case& c : cases) {
    std::string error;
    auto obj = readObjText(c.obj, error);
    ASSERT_NE(obj, nullptr) << error;
    EXPECT_EQ(tloText(*obj), c.tlo);
    auto mesh = readTloText(tloText(*obj), "", error);
    ASSERT_NE(mesh, nullptr) << error;
    ASSERT_EQ(mesh->partCount(), 2);
    EXPECT_EQ(mesh->parts[0].vertexCount, c.firstPartCorners);
    EXPECT_EQ(mesh->parts[1].vertexCount, 0);
  }
}

TEST(ReadTlo, GoldenFileReadsIntoPartsWithMaterialsAndTexture) {
  std::string error;
  auto mesh = readTloFile(test::dataPath("tricky.tlo"), test::dataPath(""), error);
  ASSERT_NE(mesh, nullptr) << error;
  EXPECT_EQ(mesh->faceCount, 3);
  EXPECT_EQ(mesh->materialLibrary, "lib.mtl");
  ASSERT_EQ(mesh->materialCount(), 2);
  ASSERT_EQ(mesh->partCount(), 5);
  // The face before the first material: a part of its own with no material.
  EXPECT_EQ(mesh->parts[0].materialIndex, -1);
  EXPECT_EQ(mesh->parts[0].positions[1], (Vector3{2, -0.25f, 0}));
  EXPECT_EQ(mesh->parts[1].materialIndex, 0);
  EXPECT_EQ(mesh->parts[1].vertexCount, 0);
  EXPECT_EQ(mesh->parts[2].materialIndex, 1);
  EXPECT_EQ(mesh->parts[2].positions[1], (Vector3{0.25f, 1.5f, -0.0f}));
  EXPECT_EQ(mesh->parts[2].texCoords[2], (TexCoord{0.1f, 0.9f}));
  EXPECT_EQ(mesh->parts[3].materialIndex, 0);
  EXPECT_EQ(mesh->parts[3].normals[2], (Vector3{0, 1, 0}));
  EXPECT_EQ(mesh->parts[4].materialIndex, -1);  // its group followed the last face
  ASSERT_NE(mesh->materials[1].texture, nullptr);
  EXPECT_EQ(mesh->materials[1].texture->width, 3);
  EXPECT_EQ(mesh->materials[0].texture, nullptr);
}

TEST(ReadTlo, CornersBeyondAPartAreDroppedAndMissingOnesReadZero) {
  std::string error;
  auto mesh = readTloText("men_part_num 1\nmen_num 1\nmtllib \n"
                          "v 1 1 1\nv 2 2 2\nv 3 3 3\nv 4 4 4\nvn 0 0 1\n",
                          "", error);
  ASSERT_NE(mesh, nullptr) << error;
  ASSERT_EQ(mesh->partCount(), 1);
  EXPECT_EQ(mesh->parts[0].positions[2], (Vector3{3, 3, 3}));
  EXPECT_EQ(mesh->parts[0].normals[1], (Vector3{0, 0, 0}));
}

TEST(ReadTlo, UnknownMaterialStartsAPartWithoutMaterial) {
  test::TempFolder temp;
  test::writeFile(temp.file("m.mtl"), "newmtl known\n");
  std::string error;
  auto mesh = readTloText("men_part_num 1\nmen_part_num 1\nmen_num 2\nmtllib m.mtl\n\n\n\n"
                          "usemtl unknown\nv 1 0 0\nv 1 0 0\nv 1 0 0\n\n\n\n"
                          "usemtl known\nv 2 0 0\n",
                          temp.folder(), error);
  ASSERT_NE(mesh, nullptr) << error;
  EXPECT_EQ(mesh->parts[0].materialIndex, -1);
  EXPECT_EQ(mesh->parts[0].positions[2].x, 1);
  EXPECT_EQ(mesh->parts[1].materialIndex, 0);
  EXPECT_EQ(mesh->parts[1].positions[0].x, 2);
}

TEST(ReadTlo, AtMostTwentyPartsAndNoneAfterMenNum) {
  std::string text;
  for (int i = 0; i < 22; ++i) text += "men_part_num 1\n";
  text += "men_num 22\nmen_part_num 1\nmtllib \n";
  std::string error;
  auto mesh = readTloText(text, "", error);
  ASSERT_NE(mesh, nullptr) << error;
  EXPECT_EQ(mesh->partCount(), kMaxMeshParts);
}

TEST(ReadTlo, DamagedCountsAndMissingFilesAreRefused) {
  std::string error;
  EXPECT_EQ(readTloText("men_part_num -1\nmen_num 1\n", "", error), nullptr);
  EXPECT_EQ(error, kTloPartSizeMessage);
  EXPECT_EQ(readTloText("men_part_num 2000000000\nmen_num 1\n", "", error), nullptr);
  EXPECT_EQ(error, kTloPartSizeMessage);
  EXPECT_EQ(readTloText("men_part_num 1\nv 1 2 3\n", "", error), nullptr);
  EXPECT_EQ(error, kTloNoFaceCountMessage);
  EXPECT_EQ(readTloFile("/nonexistent/x.TLO", "", error), nullptr);
  EXPECT_EQ(error, std::string("/nonexistent/x.TLO") + kCannotOpenSuffix);
}

// A library or texture that does not read is a warning: the mesh is read
// without it and errorText names the file and the reason.
TEST(ReadTlo, UnreadableLibraryOrTextureLeavesTheMeshWithAWarning) {
  test::TempFolder temp;
  test::writeFile(temp.file("m.mtl"), "newmtl a\nmap_Kd bad.bmp\n");
  test::writeFile(temp.file("bad.bmp"), "BM not really");
  std::string error;
  auto mesh = readTloText("men_part_num 1\nmen_num 1\nmtllib m.mtl\nusemtl a\nv 1 2 3\n",
                          temp.folder(), error);
  ASSERT_NE(mesh, nullptr);
  EXPECT_EQ(error, "bad.bmp\n" + temp.file("bad.bmp") + kTextureNotBmpSuffix);
  EXPECT_EQ(mesh->parts[0].materialIndex, 0);
  EXPECT_EQ(mesh->materials[0].texture, nullptr);
  EXPECT_EQ(mesh->parts[0].positions[0], (Vector3{1, 2, 3}));

  error.clear();
  mesh = readTloText("men_part_num 1\nmen_num 1\nmtllib nowhere.mtl\nusemtl a\nv 1 2 3\n",
                     "/nonexistent/", error);
  ASSERT_NE(mesh, nullptr);
  EXPECT_EQ(error, std::string(kTloMaterialOpenMessage) + "\n/nonexistent/nowhere.mtl" +
                       kMtlReadFailedSuffix);
  EXPECT_EQ(mesh->materialCount(), 0);
  EXPECT_EQ(mesh->parts[0].positions[0], (Vector3{1, 2, 3}));
}

TEST(ReadTlo, EachSelectedMaterialGetsItsOwnTexture) {
  test::TempFolder temp;
  test::writeFile(temp.file("m.mtl"), "newmtl a\nmap_Kd t.bmp\n");
  test::writeFile(temp.file("t.bmp"), test::readFile(test::dataPath("tex.bmp")));
  std::string text = "men_part_num 0\nmen_part_num 0\nmen_num 0\nmtllib m.mtl\nusemtl a\n";
  std::string error;
  auto once = readTloText(text, temp.folder(), error);
  ASSERT_NE(once, nullptr) << error;
  EXPECT_EQ(once->materials[0].texture->height, 2);
  std::string second = test::readFile(test::dataPath("tex.bmp"));
  second[22] = 1;  // height 1: still valid, smaller
  test::writeFile(temp.file("t2.bmp"), second);
  test::writeFile(temp.file("m.mtl"), "newmtl a\nmap_Kd t.bmp\nnewmtl b\nmap_Kd t2.bmp\n");
  auto twice = readTloText(text + "usemtl b\nusemtl a\n", temp.folder(), error);
  ASSERT_NE(twice, nullptr) << error;
  EXPECT_EQ(twice->materials[1].texture->height, 1);
  EXPECT_EQ(twice->parts[1].materialIndex, 1);
}

TEST(ReadTlo, EveryTruncatedPrefixReadsOrFailsCleanly) {
  const std::string text = test::readFile(test::dataPath("tricky.tlo"));
  for (size_t n = 0; n <= text.size(); ++n) {
    std::string error;
    auto mesh = readTloText(text.substr(0, n), test::dataPath(""), error);
    if (!mesh) {
      EXPECT_FALSE(error.empty()) << "prefix " << n;
      continue;
    }
    for (const MeshPart& part : mesh->parts) {
      EXPECT_EQ(part.positions.size(), static_cast<size_t>(part.vertexCount));
      EXPECT_LT(part.materialIndex, mesh->materialCount());
    }
  }
}

}  // namespace
}  // namespace lw
