// Material libraries and BMP textures.
#include <gtest/gtest.h>

#include <string>

#include "io/bmp.h"
#include "io/model_messages.h"
#include "io/mtl_reader.h"
#include "io_test_support.h"

namespace lw {
namespace {

TEST(ReadMaterials, LinesBeforeTheFirstMaterialAndNamelessNewmtlAreIgnored) {
  Mesh mesh;
  std::string error;
  ASSERT_EQ(readMaterialLibrary(test::dataPath("lib.mtl"), mesh, error), 0);
  ASSERT_EQ(mesh.materialCount(), 2);
  const Material& a = mesh.materials[0];
  EXPECT_EQ(a.name, "a");
  EXPECT_EQ(a.ambient[0], 0.9f);  // the "Ka" after the nameless "newmtl"
  EXPECT_EQ(a.ambient[2], 0.7f);
  EXPECT_EQ(a.ambient[3], 1.0f);  // not read from the file
  EXPECT_EQ(a.diffuse[1], 0.5f);
  EXPECT_EQ(a.specular[2], 1.0f);
  EXPECT_EQ(a.shininess, 20.0f);
  EXPECT_TRUE(a.textureFile.empty());
  const Material& b = mesh.materials[1];
  EXPECT_EQ(b.name, "b");  // "b two words" is cut at the first space
  EXPECT_EQ(b.textureFile, "tex.bmp");
  EXPECT_EQ(b.diffuse[0], 1.0f);
  EXPECT_EQ(b.diffuse[1], 0.0f);
}

TEST(ReadMaterials, ShortAndMalformedLinesKeepValues) {
  Mesh mesh;
  readMaterialText("newmtl m\nKd 0.5 0.5 0.5\nK\nKd\nKd 0.25 x\nNs\nN\nmap_Kd\nKe 9 9 9\n", mesh);
  ASSERT_EQ(mesh.materialCount(), 1);
  EXPECT_EQ(mesh.materials[0].diffuse[0], 0.25f);
  EXPECT_EQ(mesh.materials[0].diffuse[1], 0.5f);
  EXPECT_EQ(mesh.materials[0].shininess, 0.0f);
  EXPECT_TRUE(mesh.materials[0].textureFile.empty());
}

TEST(ReadMaterials, MissingFileGivesCode75AndTheName) {
  Mesh mesh;
  std::string error;
  EXPECT_EQ(readMaterialLibrary("/nonexistent/x.mtl", mesh, error), kMtlCannotOpen);
  EXPECT_EQ(error, std::string("/nonexistent/x.mtl") + kMtlReadFailedSuffix);
}

std::string bmpBytes() { return test::readFile(test::dataPath("tex.bmp")); }

bool decode(const std::string& bytes, BmpTexture& texture) {
  return decodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), texture);
}

TEST(DecodeBmp, KeepsPaddedRowsAsStored) {
  BmpTexture texture;
  ASSERT_TRUE(decode(bmpBytes(), texture));
  EXPECT_EQ(texture.width, 3);
  EXPECT_EQ(texture.height, 2);
  ASSERT_EQ(texture.pixels.size(), 24u);  // two rows of 9 bytes padded to 12
  EXPECT_EQ(texture.pixels[0], 255);      // first pixel of the bottom row, blue
  EXPECT_EQ(texture.pixels[12], 10);      // second row starts after the padding
}

TEST(DecodeBmp, PixelDataIsTakenFromItsOffset) {
  std::string bytes = bmpBytes();
  bytes.insert(54, "XXXX");
  bytes[10] = 58;
  BmpTexture texture;
  ASSERT_TRUE(decode(bytes, texture));
  EXPECT_EQ(texture.pixels[0], 255);
}

TEST(DecodeBmp, RefusesOtherFormatsAndInconsistentSizes) {
  struct Case {
    size_t at;
    char value;
  };
  const Case cases[] = {
      {0, 'X'},       // signature
      {28, 32},       // 32 bits per pixel
      {30, 1},        // RLE compression
      {18, 0},        // width 0
      {25, '\xff'},   // negative height (top-down)
      {22, 3},        // three rows declared, two stored
      {10, 20},       // pixel data inside the headers
      {13, '\x7f'},   // pixel data far past the end
  };
  for (const Case& c : cases) {
    std::string bytes = bmpBytes();
    bytes[c.at] = c.value;
    BmpTexture texture;
    EXPECT_FALSE(decode(bytes, texture)) << "byte " << c.at;
    EXPECT_EQ(texture.width, 0);
  }
  // The largest sizes a header can hold: their product must not overflow.
  std::string huge = bmpBytes();
  huge.replace(18, 8, "\xff\xff\xff\x7f\xfe\xff\xff\x7f");
  BmpTexture texture;
  EXPECT_FALSE(decode(huge, texture));
}

TEST(DecodeBmp, EveryTruncatedPrefixIsRefused) {
  const std::string bytes = bmpBytes();
  for (size_t n = 0; n < bytes.size(); ++n) {
    BmpTexture texture;
    EXPECT_FALSE(decode(bytes.substr(0, n), texture)) << "prefix " << n;
  }
}

TEST(LoadBmpTexture, FailureGivesTheFileAndTheReason) {
  std::string error;
  EXPECT_EQ(loadBmpTexture("/nonexistent/t.bmp", error), nullptr);
  EXPECT_EQ(error, std::string("/nonexistent/t.bmp") + kCannotOpenSuffix);
  EXPECT_EQ(loadBmpTexture(LW_TEST_DATA_DIR, error), nullptr);
  EXPECT_EQ(error, std::string(LW_TEST_DATA_DIR) + kNotRegularFileSuffix);
  EXPECT_EQ(loadBmpTexture(test::dataPath("lib.mtl"), error), nullptr);
  EXPECT_EQ(error, test::dataPath("lib.mtl") + kTextureNotBmpSuffix);
  auto texture = loadBmpTexture(test::dataPath("tex.bmp"), error);
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(texture->glTexture, 0u);
}

}  // namespace
}  // namespace lw
