#include <gtest/gtest.h>

#include <cstring>
#include <nlohmann/json.hpp>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include "anim/anim_fixture.h"
#include "core/file_path.h"
#include "gltf/gltf_save.h"
#include "gltf/gltf_writer.h"
#include "gltf/png_image.h"
#include "gltf/rig_export.h"
#include "support/recording_ui.h"

namespace lw::test {
namespace {

// Joint0 -> A (Joint0_0) -> B (Joint0_0_0) -> C (Joint0_0_0_0), and a side
// joint S (Joint0_0_0_1) off C's chain; node indices in name order: 0 base,
// 1 A, 2 B, 3 C, 4 S.
class RigExport : public ::testing::Test {
 protected:
  void SetUp() override {
    addModel(doc, 6);
    Joint* base = placeBaseJoint(doc, {0, 1, 0.2f}, ui);
    Joint* a = addChildJoint(doc, base->jointName, {0, 2, 0.2f}, kNoMirror, ui);
    Joint* b = addChildJoint(doc, a->jointName, {0.5f, 2.1f, 0.3f}, kNoMirror, ui);
    addChildJoint(doc, b->jointName, {1.1f, 2.0f, 0.25f}, kNoMirror, ui);
    addChildJoint(doc, b->jointName, {0.6f, 2.7f, 0.1f}, kNoMirror, ui);
    ASSERT_EQ(fixJointPositionsCommand(doc, ui), kFixOk);
    evaluatePose(doc.skeleton);
  }
  void weigh(size_t corner, WeightList list) {
    doc.skinBuffers->parts[0].skinWeights[corner] = std::move(list);
  }
  // Rest, then turns on A, B and C with the base moved, then rest again.
  void animate() {
    keyPose(doc, ui, 0, "Joint0_0", {0, 0, 1}, 0);
    Joint& base = joint(doc, "Joint0");
    const Vector3 rest = base.initPoseBoneVector;
    base.initPoseBoneVector = rest + Vector3{0.3f, -0.1f, 0.2f};
    joint(doc, "Joint0_0_0").axisVector = {0.2f, 0.3f, 0.9f};
    joint(doc, "Joint0_0_0").axisAngle = 40;
    joint(doc, "Joint0_0_0_0").axisVector = {1, 0.1f, 0};
    joint(doc, "Joint0_0_0_0").axisAngle = 70;
    keyPose(doc, ui, 500, "Joint0_0", {0, 0.4f, 1}, 25);
    base.initPoseBoneVector = rest;
    resetAllRotations(doc);
    createKeyFrameCommand(doc, ui, 800);
  }
  NullShellUi ui;
  SceneDocument doc;
};

TEST_F(RigExport, CornerInfluencesFollowTheChainWeights) {
  using Influences = std::vector<std::pair<uint16_t, float>>;
  struct Case {
    WeightList weights;
    bool exact;
    Influences influences;
  };
  const Case cases[] = {
      {{{"Joint0_0_0_0", 1.0f}}, true, {{3, 1.0f}}},
      {{{"Joint0_0_0", 0.25f}, {"Joint0_0_0_0", 0.75f}}, true, {{3, 0.75f}, {2, 0.25f}}},
      // C is off the chain of S (the greater jointID): unused, so still exact.
      {{{"Joint0_0_0_0", 0.5f}, {"Joint0_0_0_1", 1.0f}}, true, {{4, 1.0f}}},
      {{}, true, {{0, 1.0f}}},
      {{{"Joint0", 0.4f}}, true, {{0, 1.0f}}},
      // Two levels up, a sum other than 1, a negative or only a zero weight.
      {{{"Joint0_0_0_0", 0.5f}, {"Joint0_0", 0.5f}}, false, {{1, 0.5f}, {3, 0.5f}}},
      {{{"Joint0_0_0_0", 0.6f}, {"Joint0_0_0", 0.2f}}, false, {{3, 0.75f}, {2, 0.25f}}},
      {{{"Joint0_0_0_0", 1.25f}, {"Joint0_0_0", -0.25f}}, false, {{3, 1.0f}}},
      {{{"Joint0_0_0_0", 0.0f}}, false, {{3, 1.0f}}},
  };
  for (size_t first = 0; first < std::size(cases); first += 6) {
    for (size_t i = first; i < std::min(first + 6, std::size(cases)); ++i) weigh(i - first, cases[i].weights);
    const ExportRig rig = buildExportRig(doc, 30);
    ASSERT_EQ(rig.nodes.size(), 5u);
    for (size_t i = first; i < std::min(first + 6, std::size(cases)); ++i) {
      const CornerSkin& skin = rig.parts[0][i - first];
      EXPECT_EQ(skin.exact, cases[i].exact) << "case " << i;
      ASSERT_EQ(skin.influences.size(), cases[i].influences.size()) << "case " << i;
      for (size_t k = 0; k < skin.influences.size(); ++k) {
        EXPECT_EQ(skin.influences[k].first, cases[i].influences[k].first) << "case " << i;
        EXPECT_FLOAT_EQ(skin.influences[k].second, cases[i].influences[k].second) << "case " << i;
      }
    }
  }
}

TEST_F(RigExport, NodesStartAtTheirBonesAndTheSkinFollowsTheDeformation) {
  weigh(0, {{"Joint0_0_0_0", 0.7f}, {"Joint0_0_0", 0.3f}});
  weigh(1, {{"Joint0_0_0", 1.0f}});
  weigh(2, {{"Joint0_0", 1.0f}});
  weigh(3, {});
  weigh(4, {{"Joint0_0_0_1", 0.5f}, {"Joint0_0_0", 0.5f}});
  weigh(5, {{"Joint0_0_0_0", 0.5f}, {"Joint0_0", 0.5f}});
  animate();
  const KeyJointPose* before = &doc.keyFrames->animationPoses.begin()->second;
  const ExportRig rig = buildExportRig(doc, 10);
  // The playback working poses are where they were.
  EXPECT_EQ(&doc.keyFrames->animationPoses.begin()->second, before);
  // C's node sits where C's bone starts, at B.
  const Vec3d restC = rig.nodes[3].restWorld;
  EXPECT_NEAR(restC[0], 0.5, 1e-6);
  EXPECT_NEAR(restC[1], 2.1, 1e-6);
  EXPECT_NEAR(restC[2], 0.3, 1e-6);
  ASSERT_EQ(rig.samples.size(), 9u);  // 0, 100, ..., 700 and the keyframes at 500 and 800
  EXPECT_EQ(rig.samples[5].timeMs, 500);
  EXPECT_EQ(rig.samples.back().timeMs, 800);
  EXPECT_NEAR(rig.samples[5].baseTranslation[0], 0.3, 1e-6);
  EXPECT_NEAR(rig.samples[5].baseTranslation[2], 0.4, 1e-6);

  const RigFidelity fidelity = measureRigFidelity(doc, rig);
  EXPECT_EQ(fidelity.inexactCorners, 1);
  EXPECT_EQ(fidelity.cornerCount, 6);
  EXPECT_GT(fidelity.largestDifference, 1e-3);  // the corner two levels up
  weigh(5, {{"Joint0_0_0_0", 1.0f}});
  const ExportRig exact = buildExportRig(doc, 10);
  const RigFidelity exactFidelity = measureRigFidelity(doc, exact);
  EXPECT_EQ(exactFidelity.inexactCorners, 0);
  EXPECT_LT(exactFidelity.largestDifference, 1e-6);
}

TEST(RigSampleTimes, KeyframesAndTheGridBetweenThem) {
  KeyframeStore store;
  for (int32_t t : {100, -40, 0}) store.byTime[t] = std::make_shared<KeyFrame>();
  EXPECT_EQ(rigSampleTimes(store, 30), (std::vector<int32_t>{-40, -7, 0, 27, 60, 93, 100}));
  EXPECT_EQ(rigSampleTimes(store, 1000).size(), 141u);
  EXPECT_EQ(rigSampleTimes(KeyframeStore{}, 30).size(), 0u);
}

TEST(GltfFileTitle, ExtensionsAndCase) {
  const std::pair<const char*, int> cases[] = {  // 0 not glTF, 1 .gltf, 2 .glb
      {"a.glb", 2},  {"a.GLB", 2},  {"a.gltf", 1},     {"x.y.GLTF", 1}, {"a.Glb", 0},
      {"a.gLTF", 0}, {"a.glbx", 0}, {"a.gltf.obj", 0}, {"glb", 0},      {"a.gl", 0}};
  for (const auto& [title, kind] : cases) {
    EXPECT_EQ(isGltfFileTitle(title), kind != 0) << title;
    if (kind != 0) {
      EXPECT_EQ(isBinaryGltfTitle(title), kind == 2) << title;
    }
  }
}

TEST(PngImage, RowsTopDownInRedGreenBlue) {
  BmpTexture texture;
  texture.width = 2;
  texture.height = 2;
  // Bottom row first, blue-green-red, rows padded to 8 bytes.
  texture.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 10, 20, 30, 40, 50, 60, 0, 0};
  const std::vector<uint8_t> png = pngFromBmp(texture);
  int w = 0, h = 0, channels = 0;
  unsigned char* rgb = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h,
                                             &channels, 3);
  ASSERT_NE(rgb, nullptr);
  const std::vector<unsigned char> pixels(rgb, rgb + 12);
  stbi_image_free(rgb);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 2);
  EXPECT_EQ(pixels, (std::vector<unsigned char>{30, 20, 10, 60, 50, 40, 3, 2, 1, 6, 5, 4}));
  texture.pixels.resize(15);  // one byte short of the image
  EXPECT_TRUE(pngFromBmp(texture).empty());
}

TEST_F(RigExport, BinaryFileHoldsFlippedTexCoordsAndUtf8Names) {
  joint(doc, "Joint0_0_0").TreeName = "左肘";
  doc.mesh->parts[0].texCoords[4] = {0.25f, 0.125f};
  const ExportRig rig = buildExportRig(doc, 30);
  const GltfFiles files = buildGltf(doc, rig, "out/model.glb", "model.glb");
  ASSERT_EQ(files.files.size(), 1u);
  const std::vector<uint8_t>& glb = files.files[0].second;
  uint32_t header[5];
  ASSERT_GT(glb.size(), sizeof header);
  std::memcpy(header, glb.data(), sizeof header);
  EXPECT_EQ(header[0], 0x46546C67u);
  EXPECT_EQ(header[2], glb.size());
  const auto json = nlohmann::json::parse(glb.begin() + 20, glb.begin() + 20 + header[3]);
  EXPECT_EQ(json["nodes"][2]["name"], "\xE5\xB7\xA6\xE8\x82\x98");  // the name in UTF-8
  EXPECT_EQ(json["nodes"][1]["name"], "Joint0_0");
  const size_t binStart = 20 + header[3] + 8;
  const auto& accessor = json["accessors"][json["meshes"][0]["primitives"][0]["attributes"]["TEXCOORD_0"].get<int>()];
  const auto& view = json["bufferViews"][accessor["bufferView"].get<int>()];
  float uv[2];
  std::memcpy(uv, glb.data() + binStart + view["byteOffset"].get<size_t>() + 4 * sizeof(float) * 2, sizeof uv);
  EXPECT_EQ(uv[0], 0.25f);
  EXPECT_EQ(uv[1], 0.875f);
  EXPECT_FALSE(json.contains("animations"));  // no keyframes
}

TEST_F(RigExport, SaveAsWritesGltfOnlyWithFixedJointsAndReportsAFailedWrite) {
  EXPECT_TRUE(savesAsGltf(doc, "rig.gltf"));
  doc.decitionJointPosition = 0;
  EXPECT_FALSE(savesAsGltf(doc, "rig.glb"));
  const std::string missing = "no_such_folder/rig.glb";
  const FileSaveResult failed = saveGltfFile(doc, missing, "rig.glb");
  EXPECT_EQ(failed.outcome, SaveOutcome::NotWritten);
  EXPECT_EQ(failed.message, missing + kSaveFailedSuffix);
  EXPECT_EQ(failed.title, kSaveFailedTitle);
  const FileSaveResult saved = saveGltfFile(doc, "saved.gltf", "saved.gltf");
  EXPECT_EQ(saved.outcome, SaveOutcome::Written);
  EXPECT_TRUE(saved.message.empty());
  EXPECT_TRUE(fileExists("saved.gltf") && fileExists("saved.bin"));
  EXPECT_FALSE(fileExists("saved.gltf.lwtmp"));
}

}  // namespace
}  // namespace lw::test
