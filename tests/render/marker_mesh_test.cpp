// Vertex markers kept between frames: the same picture as whole octahedra sent
// one after another, after any change; and the vertex weighting overlay's markers.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

#include "render/primitives.h"
#include "render/scene.h"
#include "scene_fixture.h"
#include "skin/weight_dialogs.h"

namespace lw {
namespace {

struct Marker {
  Vector3 centre;
  Rgb3 colour;
};

class MarkerMeshTest : public test::GlTest {
 protected:
  // The whole picture of `draw` seen from close by at a slant, so that markers
  // cover one another and every face shows at some angle.
  std::vector<uint8_t> picture(const std::function<void()>& draw) {
    glViewport(0, 0, kWidth, kHeight);
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(50.0, static_cast<double>(kWidth) / kHeight, 0.01, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -0.12f);
    glRotatef(30.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(-40.0f, 0.0f, 1.0f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    draw();
    glFinish();
    std::vector<uint8_t> pixels(4u * kWidth * kHeight);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }
  // The markers as whole octahedra in one array each of points and colours.
  std::vector<uint8_t> oneByOne(const std::vector<Marker>& markers) {
    return picture([&] {
      MarkerBatch batch;
      for (const Marker& m : markers)
        appendOctahedron(batch, m.centre, m.colour, kVertexMarkerRadius);
      drawMarkerBatch(batch);
    });
  }
  std::vector<uint8_t> kept(MarkerMesh& mesh, const std::vector<Marker>& markers) {
    resizeMarkers(mesh, markers.size(), kVertexMarkerRadius);
    for (size_t k = 0; k < markers.size(); ++k) {
      setMarker(mesh, k, markers[k].centre, markers[k].colour, kVertexMarkerRadius);
    }
    return picture([&] { drawMarkerMesh(mesh); });
  }
};

TEST_F(MarkerMeshTest, KeptMarkersDrawWhatOneOctahedronAfterAnotherDraws) {
  // Overlapping markers at different depths, two on one centre, distinct colours.
  std::vector<Marker> markers = {{{0, 0, 0}, {1.0f, 0.6f, 0.5f}},
                                 {{0.011f, 0.005f, -0.003f}, {0.0f, 1.0f, 0.5f}},
                                 {{0, 0, 0}, {0.5f, 0.6f, 1.0f}},
                                 {{-0.03f, 0.021f, 0.012f}, {0.85f, 0.2f, 1.0f}},
                                 {{0.02f, -0.025f, 0.015f}, {0.2f, 0.3f, 0.9f}}};
  MarkerMesh mesh;
  const std::vector<uint8_t> first = oneByOne(markers);
  std::set<uint32_t> colours;
  for (size_t i = 0; i < first.size(); i += 4) {
    colours.insert(first[i] << 16 | first[i + 1] << 8 | first[i + 2]);
  }
  EXPECT_GE(colours.size(), 5u) << "the background and four markers in sight";
  EXPECT_EQ(kept(mesh, markers), first);
  // A new colour, a moved centre, then fewer markers and more again.
  markers[1].colour = {0.1f, 0.9f, 0.3f};
  markers[3].centre = {-0.02f, -0.01f, 0.03f};
  EXPECT_EQ(kept(mesh, markers), oneByOne(markers));
  const std::vector<Marker> fewer(markers.begin(), markers.begin() + 2);
  EXPECT_EQ(kept(mesh, fewer), oneByOne(fewer));
  markers[4].colour = {0.0f, 0.0f, 0.0f};  // the colour a newly grown marker starts with
  EXPECT_EQ(kept(mesh, markers), oneByOne(markers));
}

TEST_F(MarkerMeshTest, MoreMarkersThanOneDrawCallTakesDrawTheSame) {
  // 4097 markers on a 65 x 64 grid: the last is the first of a second draw call.
  std::vector<Marker> markers;
  for (int k = 0; k < 4097; ++k) {
    const float x = static_cast<float>(k % 65) * 0.0015f - 0.048f;
    const float y = static_cast<float>(k / 65) * 0.0015f - 0.047f;
    markers.push_back({{x, y, 0.01f * static_cast<float>(k % 3)},
                       {static_cast<float>(k % 7) / 7, 0.3f, static_cast<float>(k % 5) / 5}});
  }
  markers.back().colour = {1.0f, 0.0f, 0.25f};
  MarkerMesh mesh;
  EXPECT_EQ(kept(mesh, markers), oneByOne(markers));
}

TEST_F(MarkerMeshTest, DrawingLeavesTheColourAndTheArraysAsTheyWere) {
  MarkerMesh mesh;
  resizeMarkers(mesh, 1, kVertexMarkerRadius);
  setMarker(mesh, 0, {0, 0, 0}, {1.0f, 0.6f, 0.5f}, kVertexMarkerRadius);
  glColor3f(0.25f, 0.5f, 0.75f);
  glEnableClientState(GL_VERTEX_ARRAY);
  drawMarkerMesh(mesh);
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(colour[0], 0.25f);
  EXPECT_EQ(colour[1], 0.5f);
  EXPECT_EQ(colour[2], 0.75f);
  EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
  EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
  glDisableClientState(GL_VERTEX_ARRAY);
}

// Corners sharing the picked position are marked, the others keep their colour,
// and the picked corner is found by the count of corners before it, over parts.
class VertexMarkerOverlay : public test::SceneTest {};

TEST_F(VertexMarkerOverlay, PickedCornerMarksOnlyTheCornersAtItsPosition) {
  test::loadModel(doc, test::squarePart(0.5f, 0.0f), test::plainMaterial(1, 1, 1));
  doc.mesh->parts.push_back(test::squarePart(0.25f, 0.0f, 0.25f, 0.25f));
  doc.skinBuffers = makeSkinBuffers(*doc.mesh);
  doc.cameraDistance = -1.5f;  // markers a few pixels wide
  doc.editMode = 23;
  doc.selectedJoint = kVertexPickBase + 6 + 2;  // corner 2 of part 1: (0.5, 0.5, 0)
  frame();
  EXPECT_EQ(rs.clickedCorner.part, 1);
  EXPECT_EQ(rs.clickedCorner.corner, 2);
  EXPECT_EQ(rs.clickedCorner.position, (Vector3{0.5f, 0.5f, 0}));
  const auto shared = project(rs.camera, 0.5, 0.5, 0);  // corners 2 and 4 of part 0 too
  EXPECT_TRUE(colourNear(shared[0], shared[1], test::toRgb(1.0f, 0.6f, 0.5f), 0));
  const auto other = project(rs.camera, -0.5, -0.5, 0);
  EXPECT_TRUE(colourNear(other[0], other[1], test::toRgb(0.0f, 1.0f, 0.5f), 0));
  const auto inner = project(rs.camera, 0, 0, 0);  // part 1's first corner
  EXPECT_TRUE(colourNear(inner[0], inner[1], test::toRgb(0.0f, 1.0f, 0.5f), 0));
}

}  // namespace
}  // namespace lw
