// Small documents for drawing tests: a flat quad model, a joint chain, and a
// fixture that draws editing frames and picks in them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/document.h"
#include "core/mesh.h"
#include "core/skin_data.h"
#include "edit/frame.h"
#include "gl_fixture.h"
#include "render/picking.h"
#include "render/scene.h"

namespace lw::test {

// A square of two triangles in the plane z = `z` (or y = `y` when horizontal),
// centred on (cx, cy), normals towards +z (+y), texture coordinates 0..1.
inline MeshPart squarePart(float half, float z, float cx = 0, float cy = 0,
                           bool horizontal = false, float y = 0) {
  MeshPart part;
  const float u[6] = {0, 1, 1, 0, 1, 0}, v[6] = {0, 0, 1, 0, 1, 1};
  for (int i = 0; i < 6; ++i) {
    const float a = cx + (u[i] * 2 - 1) * half, b = cy + (v[i] * 2 - 1) * half;
    part.positions.push_back(horizontal ? Vector3{a, y, -b} : Vector3{a, b, z});
    part.normals.push_back(horizontal ? Vector3{0, 1, 0} : Vector3{0, 0, 1});
    part.texCoords.push_back({u[i], v[i]});
  }
  part.vertexCount = 6;
  part.materialIndex = 0;
  return part;
}

inline Material plainMaterial(float r, float g, float b) {
  Material m;
  m.name = "plain";
  m.diffuse[0] = r;
  m.diffuse[1] = g;
  m.diffuse[2] = b;
  return m;
}

// Installs a one-part model with the given material and fresh skin buffers.
inline void loadModel(SceneDocument& doc, MeshPart part, Material material) {
  auto mesh = std::make_unique<Mesh>();
  mesh->parts.push_back(std::move(part));
  mesh->materials.push_back(std::move(material));
  mesh->faceCount = 2;
  doc.skinBuffers = makeSkinBuffers(*mesh);
  doc.mesh = std::move(mesh);
  doc.modelLoaded = 1;
  doc.drawMode = 4;
}

// Adds a joint at `at` (placement and posed positions alike).
inline Joint* addJoint(SceneDocument& doc, const std::string& name, int id, Joint* parent,
                       Vector3 at) {
  auto joint = std::make_unique<Joint>();
  joint->jointName = name;
  joint->jointID = id;
  joint->validJoint = 1;
  joint->parent = parent;
  joint->jointWorldPosition = at;
  joint->jointDrawPositionAfterPosEnter = at;
  joint->position = at;
  if (parent) {
    parent->children.push_back(joint.get());
    joint->initPoseBoneVector = at - parent->jointDrawPositionAfterPosEnter;
  } else {
    joint->initPoseBoneVector = at;
  }
  joint->drawBoneVector = joint->initPoseBoneVector;
  Joint* raw = joint.get();
  doc.skeleton.joints[name] = raw;
  doc.skeleton.jointOrder.push_back(std::move(joint));
  return raw;
}

class SceneTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    doc.showWorldAxes = 0;
  }
  // One editing frame; returns drawScene's result.
  int frame(bool pickingPass = false) {
    if (!pickingPass) prepareEditingFrame(doc);
    setViewAndProjection(doc, false);
    const int result = drawScene(doc, rs, input, pickingPass);
    glFinish();
    return result;
  }
  // The repaint of the 3D window in picking value `mode` at window position
  // (x, y from the bottom): the picking pass with the family's hit choice, the
  // input state machine's answer to it, then the normal frame. Returns false
  // when a pass failed to draw.
  bool pickAt(int32_t mode, double x, double y) {
    doc.editMode = mode;
    const PickFamily* family = pickFamilyFor(mode);
    if (family == nullptr) return false;
    setViewAndProjection(doc, false);
    const PickResult result =
        pickPass(doc, rs, input, static_cast<int>(std::lround(x)),
                 kHeight - static_cast<int>(std::lround(y)), family->choice);
    if (!result.drawOk) return false;
    applyPickResult(doc, input, result);
    return frame() == 0;
  }
  Rgb background() const { return toRgb(doc.backgroundColour.r, doc.backgroundColour.g,
                                         doc.backgroundColour.b); }
  RenderState rs;
  ViewInputState input;
};

}  // namespace lw::test
