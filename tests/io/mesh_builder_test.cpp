// The Mesh built in memory against the Mesh of the TLO file round trip: the
// two must agree bit for bit, failures included.
#include "io/mesh_builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "io/model_messages.h"
#include "io/scan.h"
#include "io/text_format.h"
#include "io/tlo.h"
#include "io_test_support.h"

namespace lw {
namespace {

template <typename T>
bool sameBits(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// The first difference between two meshes, or "" when they are identical.
std::string difference(const Mesh& a, const Mesh& b) {
  if (a.faceCount != b.faceCount) return "faceCount";
  if (a.materialLibrary != b.materialLibrary) return "materialLibrary";
  if (a.parts.size() != b.parts.size()) return "part count";
  for (size_t p = 0; p < a.parts.size(); ++p) {
    const MeshPart &x = a.parts[p], &y = b.parts[p];
    const std::string at = " of part " + std::to_string(p);
    if (x.vertexCount != y.vertexCount || x.materialIndex != y.materialIndex) return "part" + at;
    if (!sameBits(x.positions, y.positions)) return "positions" + at;
    if (!sameBits(x.texCoords, y.texCoords)) return "texture coordinates" + at;
    if (!sameBits(x.normals, y.normals)) return "normals" + at;
  }
  if (a.materials.size() != b.materials.size()) return "material count";
  for (size_t m = 0; m < a.materials.size(); ++m) {
    const Material &x = a.materials[m], &y = b.materials[m];
    const std::string at = " of material " + std::to_string(m);
    if (x.name != y.name || x.textureFile != y.textureFile) return "names" + at;
    if (std::memcmp(x.ambient, y.ambient, sizeof x.ambient) ||
        std::memcmp(x.diffuse, y.diffuse, sizeof x.diffuse) ||
        std::memcmp(x.specular, y.specular, sizeof x.specular) || x.shininess != y.shininess) {
      return "colours" + at;
    }
    if (!x.texture != !y.texture) return "texture" + at;
    if (x.texture &&
        (x.texture->width != y.texture->width || x.texture->pixels != y.texture->pixels)) {
      return "texture pixels" + at;
    }
  }
  return "";
}

// Both ways from the OBJ text, names resolved in `folder`: the mesh (or the
// failure's message) must be the same.
void expectSameWays(const std::string& objText, const std::string& folder, bool throughFile) {
  std::string error;
  auto obj = readObjText(objText, error);
  ASSERT_NE(obj, nullptr) << error;
  std::string fileError, builtError;
  std::unique_ptr<Mesh> fromFile;
  if (throughFile) {
    test::TempFolder temp;
    ASSERT_EQ(writeTloFile(temp.file("round.tlo"), *obj), 0);
    fromFile = readTloFile(temp.file("round.tlo"), folder, fileError);
  } else {
    fromFile = readTloText(tloText(*obj), folder, fileError);
  }
  auto built = buildMeshFromObj(*obj, folder, builtError);
  EXPECT_EQ(builtError, fileError);
  ASSERT_EQ(built == nullptr, fromFile == nullptr) << fileError;
  if (built) {
    EXPECT_EQ(difference(*built, *fromFile), "");
  }
}

// Every float that prints below 2^32, halfway cases and the specials: the
// numeric read-back equals printing and scanning.
TEST(BuildMesh, Fixed6ReadBackEqualsPrintingAndScanning) {
  std::mt19937 rng(4);
  std::vector<float> values = {0.0f,       -0.0f,         0.0000005f,    -0.0000015f,
                               1.0000005f, 4294967040.0f, 4294967296.0f, 1e38f,
                               -1e-45f,    0.5f,          8388607.5f};
  for (float special : {INFINITY, -INFINITY, NAN}) values.push_back(special);
  for (int i = 0; i < 2000000; ++i) {
    // Exponents from 2^-30 to 2^33 mostly, any bits otherwise.
    uint32_t bits = static_cast<uint32_t>(rng());
    if (i % 8 != 0) bits = (bits & 0x807FFFFFu) | ((97u + static_cast<uint32_t>(rng() % 64)) << 23);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    values.push_back(value);
  }
  int differ = 0;
  for (float value : values) {
    char text[kMaxFixed6Chars];
    const char* p = text;
    float scanned = 0;
    ASSERT_TRUE(scanFloat(p, formatFixed6(value, text), scanned));
    const float fast = fixed6ReadBack(value);
    differ += std::memcmp(&fast, &scanned, sizeof fast) != 0;
  }
  EXPECT_EQ(differ, 0);
}

const std::string kSamples = std::string(LW_TEST_DATA_DIR) + "/../../../samples/";

TEST(BuildMesh, GoldenModelsAndTheSampleMatchTheFileRoundTrip) {
  for (const std::string& path :
       {test::dataPath("quad.obj"), test::dataPath("tricky.obj"), kSamples + "character.obj"}) {
    SCOPED_TRACE(path);
    expectSameWays(test::readFile(path), path.substr(0, path.find_last_of('/') + 1), true);
  }
}

// Random models over the awkward corners of the format: numbers at every
// scale, "%f" ties, signed zeros, infinities and NaN, stale values, groups
// before the first face, back to back, repeated, unknown or after the last face,
// up to 20 groups with and without faces before them.
std::string randomObj(std::mt19937& rng) {
  const char* numbers[] = {"-0",  "0.0000005", "-0.0000015", "2.5e-7",    "1e40", "-inf",
                           "nan", "0x1p-3",    "x",          "123456789", "0.1",  "1.0000005"};
  auto number = [&]() -> std::string {
    const int kind = static_cast<int>(rng() % 4);
    if (kind == 0) return numbers[rng() % std::size(numbers)];
    char text[40];
    const double scale = kind == 1 ? 1.0 : kind == 2 ? 1e-5 : 3e7;
    std::snprintf(text, sizeof text, "%.9g",
                  std::uniform_real_distribution<double>(-scale, scale)(rng));
    return text;
  };
  std::string text = "mtllib lib.mtl\n";
  const int values = 1 + static_cast<int>(rng() % 12);
  for (const char* key : {"v", "vt", "vn"}) {
    for (int i = 0; i < values; ++i) {
      text.append(key).append(" ").append(number()).append(" ").append(number());
      if (key[1] != 't') text.append(" ").append(number());
      text += '\n';
    }
  }
  const char* materials[] = {"a", "b", "c", "", "a"};
  const int faces = static_cast<int>(rng() % 40), maxGroups = 1 + static_cast<int>(rng() % 20);
  int groups = 0;
  auto index = [&] { return std::to_string(1 + rng() % static_cast<unsigned>(values)); };
  for (int f = 0; f <= faces; ++f) {
    while (groups < maxGroups && rng() % 3 == 0) {
      text.append("usemtl ").append(materials[rng() % std::size(materials)]) += '\n';
      ++groups;
    }
    if (f == faces) break;
    text += "f";
    for (int c = 0; c < 3; ++c) {
      text.append(" ").append(index()).append("/").append(index()).append("/").append(index());
    }
    text += "\n";
  }
  return text;
}

TEST(BuildMesh, RandomModelsMatchTheTextRoundTrip) {
  std::mt19937 rng(17);
  int compared = 0;
  for (int round = 0; round < 400; ++round) {
    const std::string text = randomObj(rng);
    std::string error;
    if (!readObjText(text, error)) continue;  // too many parts, or no faces at all
    SCOPED_TRACE(text);
    expectSameWays(text, test::dataPath(""), false);
    ++compared;
  }
  EXPECT_GT(compared, 300);
}

TEST(BuildMesh, MissingLibraryOrTextureWarnsAsTheFileRoundTripDoes) {
  test::TempFolder temp;
  const std::string textured =
      "mtllib lib.mtl\nv 1 2 3\nvt 0 1\nvn 0 0 1\nusemtl a\n"
      "f 1/1/1 1/1/1 1/1/1\nusemtl b\nf 1/1/1 1/1/1 1/1/1\n";
  expectSameWays(textured, temp.folder(), false);  // no library
  std::string error;
  auto mesh = buildMeshFromObj(*readObjText(textured, error), temp.folder(), error);
  ASSERT_NE(mesh, nullptr);
  EXPECT_TRUE(mesh->materials.empty());
  EXPECT_EQ(error.rfind(kTloMaterialOpenMessage, 0), 0u) << error;
  test::writeFile(temp.file("lib.mtl"), test::readFile(test::dataPath("lib.mtl")));
  expectSameWays(textured, temp.folder(), false);  // a library without its texture
  mesh = buildMeshFromObj(*readObjText(textured, error), temp.folder(), error);
  ASSERT_NE(mesh, nullptr);
  EXPECT_EQ(error.rfind("tex.bmp\n", 0), 0u) << error;  // the texture's name, then why
}

}  // namespace
}  // namespace lw
