// Reading OBJ text into the indexed intermediate model.
#include "io/obj_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "io/line_reader.h"
#include "io/model_messages.h"
#include "io_test_support.h"

namespace lw {
namespace {

const char* const kVertices =
    "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\nvn 0 0 1\n";

std::unique_ptr<ObjMesh> read(const std::string& text, std::string& error) {
  return readObjText(text, error);
}

TEST(ReadObj, CountsMustAllBePresent) {
  std::string error;
  EXPECT_EQ(read("v 0 0 0\nvn 0 0 1\nf 1/1/1 1/1/1 1/1/1\n", error), nullptr);  // no vt
  EXPECT_EQ(error, kObjCountsMessage);
  error.clear();
  EXPECT_EQ(read(kVertices, error), nullptr);  // no f
  EXPECT_EQ(error, kObjCountsMessage);
  error.clear();
  EXPECT_EQ(read("", error), nullptr);
  EXPECT_EQ(error, kObjCountsMessage);
}

TEST(ReadObj, FacesWithEmptyTextureIndexAreSkippedButTheFileLoads) {
  std::string error;
  auto mesh = read(std::string(kVertices) + "usemtl m\nf 1//1 2//1 3//1\n", error);
  ASSERT_NE(mesh, nullptr) << error;
  EXPECT_EQ(mesh->faceCount, 0);
  EXPECT_EQ(mesh->groupCount, 1);
  EXPECT_EQ(mesh->groupFaceCounts[0], 0);
}

TEST(ReadObj, StoresCornersAsPositionTextureNormalWithZeroBasedIndices) {
  std::string error;
  auto mesh = read(std::string(kVertices) + "mtllib lib.mtl extra\nusemtl m\nf 3/1/1 2/3/1 1/2/1\n",
                   error);
  ASSERT_NE(mesh, nullptr) << error;
  EXPECT_EQ(mesh->materialLibrary, "lib.mtl");
  EXPECT_EQ(mesh->positionIndices[0], 2);
  EXPECT_EQ(mesh->texCoordIndices[1], 2);
  EXPECT_EQ(mesh->normalIndices[2], 0);
  EXPECT_EQ(mesh->texCoordIndices[2], 1);
}

TEST(ReadObj, ValuesThatDoNotScanKeepThePreviousLinesValues) {
  std::string error;
  auto mesh = read("v 1 2 3\nv 4 bad 6\nvn 7 8 9\nvn\nvt 0.5 0.25\nvt 0.75\n"
                   "f 1/1/1 2/2/2 1/1/1\n",
                   error);
  ASSERT_NE(mesh, nullptr) << error;
  EXPECT_EQ(mesh->positions[1], (Vector3{4, 2, 3}));
  EXPECT_EQ(mesh->normals[1], (Vector3{7, 8, 9}));
  EXPECT_EQ(mesh->texCoords[1].u, 0.75f);
  EXPECT_EQ(mesh->texCoords[1].v, 0.25f);
}

TEST(ReadObj, EveryUsemtlOpensAGroupEvenWithARepeatedName) {
  std::string error;
  auto mesh = read(std::string(kVertices) +
                       "usemtl a\nf 1/1/1 2/2/1 3/3/1\nusemtl a\nf 1/1/1 2/2/1 3/3/1\n"
                       "f 1/1/1 2/2/1 3/3/1\n",
                   error);
  ASSERT_NE(mesh, nullptr) << error;
  EXPECT_EQ(mesh->groupCount, 2);
  EXPECT_EQ(mesh->groups[1].firstFace, 1);
  EXPECT_EQ(mesh->groupFaceCounts[0], 1);
  EXPECT_EQ(mesh->groupFaceCounts[1], 2);
  EXPECT_EQ(mesh->groups[2].firstFace, kUnusedGroup);
}

TEST(ReadObj, IndicesOutsideTheStoredRangesAreRefusedWithTheLine) {
  const char* faces[] = {"f 4/1/1 2/2/1 3/3/1\n", "f 1/1/1 2/4/1 3/3/1\n", "f 1/1/1 2/2/2 3/3/1\n",
                         "f 0/1/1 2/2/1 3/3/1\n", "f -1/1/1 2/2/1 3/3/1\n",
                         "f 1/1/1 2/2/1 0x7fffffff/3/1\n"};
  for (const char* face : faces) {
    std::string error;
    EXPECT_EQ(read(std::string(kVertices) + "usemtl m\n" + face, error), nullptr) << face;
    EXPECT_EQ(error, std::string("9") + kObjIndexRangeMessage) << face;
  }
}

TEST(ReadObj, TwentyGroupsLoadAndATwentyFirstIsRefused) {
  std::string text = kVertices;
  for (int g = 0; g < 20; ++g) text += "usemtl m" + std::to_string(g) + "\nf 1/1/1 2/2/1 3/3/1\n";
  std::string error;
  auto mesh = read(text, error);
  ASSERT_NE(mesh, nullptr) << error;
  EXPECT_EQ(mesh->groupCount, 20);
  EXPECT_EQ(mesh->groupFaceCounts[19], 1);

  EXPECT_EQ(read(text + "usemtl extra\n", error), nullptr);
  EXPECT_EQ(error, kObjTooManyPartsMessage);
  // Faces before the first group need a part of their own: 21 parts.
  error.clear();
  EXPECT_EQ(read(std::string(kVertices) + "f 1/1/1 2/2/1 3/3/1\n" + text.substr(std::strlen(kVertices)),
                 error),
            nullptr);
  EXPECT_EQ(error, kObjTooManyPartsMessage);
}

TEST(ReadObj, FacesBeforeTheFirstGroupCountOnlyInFaceCount) {
  std::string error;
  auto mesh = read(std::string(kVertices) + "f 1/1/1 2/2/1 3/3/1\nusemtl a\nf 1/1/1 2/2/1 3/3/1\n",
                   error);
  ASSERT_NE(mesh, nullptr) << error;
  EXPECT_EQ(mesh->faceCount, 2);
  EXPECT_EQ(mesh->groupFaceCounts[0], 1);
  EXPECT_EQ(facesBeforeFirstGroup(*mesh), 1);
}

TEST(ReadObj, MissingFileNamesThePath) {
  std::string error;
  EXPECT_EQ(readObjFile("/nonexistent/m.obj", error), nullptr);
  EXPECT_EQ(error, std::string("/nonexistent/m.obj") + kCannotOpenSuffix);
}

// Every prefix of a valid file either reads or fails with a message; indices of
// what reads stay inside the arrays.
TEST(ReadObj, EveryTruncatedPrefixReadsOrFailsCleanly) {
  const std::string text = test::readFile(test::dataPath("tricky.obj"));
  ASSERT_FALSE(text.empty());
  for (size_t n = 0; n <= text.size(); ++n) {
    std::string error;
    auto mesh = read(text.substr(0, n), error);
    if (!mesh) {
      EXPECT_FALSE(error.empty()) << "prefix " << n;
      continue;
    }
    for (int32_t i = 0; i < 3 * mesh->faceCount; ++i) {
      ASSERT_LT(mesh->positionIndices[static_cast<size_t>(i)], mesh->vertexCount);
      ASSERT_LT(mesh->texCoordIndices[static_cast<size_t>(i)], mesh->texCoordCount);
      ASSERT_LT(mesh->normalIndices[static_cast<size_t>(i)], mesh->normalCount);
    }
  }
}

TEST(TriangleCheck, CountsSlashesOfEveryFaceLine) {
  auto check = [](const std::string& text) {
    LineReader reader;
    reader.openText(text);
    return firstNonTriangleLine(reader);
  };
  EXPECT_EQ(check("f 1/1/1 2/2/2 3/3/3\nf 1//1 2//2 3//3\n"), 0);
  EXPECT_EQ(check("v 1/2\nf 1/1/1 2/2/2 3/3/3\nf 1/1/1 2/2/2 3/3/3 4/4/4\n"), 3);
  EXPECT_EQ(check("f 1 2 3\n"), 1);
}

}  // namespace
}  // namespace lw
