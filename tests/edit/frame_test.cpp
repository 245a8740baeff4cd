#include "edit/frame.h"

#include <gtest/gtest.h>

#include "anim/playback_deform.h"
#include "skin/deform.h"
#include "skin/skin_test_support.h"

namespace lw {
namespace {

// Every corner of every part, bit for bit.
void expectSameSkin(const SceneDocument& a, const SceneDocument& b, const char* what) {
  ASSERT_EQ(a.skinBuffers->parts.size(), b.skinBuffers->parts.size());
  for (size_t p = 0; p < a.skinBuffers->parts.size(); ++p) {
    const SkinPart& x = a.skinBuffers->parts[p];
    const SkinPart& y = b.skinBuffers->parts[p];
    ASSERT_EQ(x.skinPositions.size(), y.skinPositions.size());
    for (size_t c = 0; c < x.skinPositions.size(); ++c) {
      ASSERT_TRUE(test::sameBits(x.skinPositions[c], y.skinPositions[c]))
          << what << " " << p << "/" << c;
      ASSERT_TRUE(test::sameBits(x.skinNormals[c], y.skinNormals[c]))
          << what << " " << p << "/" << c;
    }
  }
}

void deformByHand(SceneDocument& doc, int (*deform)(SceneDocument&, int, int)) {
  for (int p = 0; p < doc.mesh->partCount(); ++p) deform(doc, p, doc.mesh->parts[p].vertexCount);
}

TEST(PrepareFrame, SkinsEveryPartOnlyWhenTheFrameShowsTheSkin) {
  auto doc = test::makeRandomSkinDocument(31);
  auto twin = test::makeRandomSkinDocument(31);
  doc->modelLoaded = 1;
  doc->do_skinning = 0;
  prepareEditingFrame(*doc);
  expectSameSkin(*doc, *twin, "skinning off: the rest shape stays");

  doc->do_skinning = 1;
  doc->modelLoaded = 0;
  prepareEditingFrame(*doc);
  expectSameSkin(*doc, *twin, "no model loaded");

  doc->modelLoaded = 1;
  prepareEditingFrame(*doc);
  deformByHand(*twin, deformPart);
  expectSameSkin(*doc, *twin, "editing");
  EXPECT_FALSE(test::sameBits(doc->skinBuffers->parts[1].skinPositions.back(),
                              doc->mesh->parts[1].positions.back()))
      << "the last corner of the last part moved";

  // Playback skins from the working poses whatever do_skinning says.
  doc->do_skinning = 0;
  preparePlaybackFrame(*doc);
  deformByHand(*twin, deformPartForPlayback);
  expectSameSkin(*doc, *twin, "playback");
}

}  // namespace
}  // namespace lw
