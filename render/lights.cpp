#include "render/lights.h"

#include <algorithm>

#include "render/gl_headers.h"
#include "render/model_draw.h"

namespace lw {

namespace {

constexpr float kPointSize = 5.0f;
constexpr char kRootJointName[] = "Joint0";

void placeLight(GLenum light, Vector3 direction) {
  const GLfloat position[4] = {direction.x, direction.y, direction.z, 0.0f};
  glLightfv(light, GL_POSITION, position);
}

void setLightColour(GLenum light, const Colour& c) {
  const GLfloat colour[4] = {c.r, c.g, c.b, c.a};
  glLightfv(light, GL_DIFFUSE, colour);
  glLightfv(light, GL_SPECULAR, colour);
}

Vector3 rootPosition(const SceneDocument& doc) {
  const auto it = doc.skeleton.joints.find(kRootJointName);
  return it == doc.skeleton.joints.end() ? Vector3{} : it->second->position;
}

}  // namespace

void setUpLights(const SceneDocument& doc) {
  const Vector3 v = doc.viewDirection;
  placeLight(GL_LIGHT0, v);
  placeLight(GL_LIGHT1, {v.x + 1.0f, v.y, v.z});
  setLightColour(GL_LIGHT1, doc.lightColour[0]);
  placeLight(GL_LIGHT2, {v.x - 1.0f, v.y, v.z});
  setLightColour(GL_LIGHT2, doc.lightColour[1]);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  if (doc.rightLightOn == 1) glEnable(GL_LIGHT1);
  if (doc.leftLightOn == 1) glEnable(GL_LIGHT2);
  glShadeModel(GL_SMOOTH);
}

void beginAntiAliasing(const SceneDocument& doc) {
  if (doc.antiAliasing != 1) return;
  glEnable(GL_POINT_SMOOTH);
  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_POLYGON_SMOOTH);
  glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
  glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void endAntiAliasing(const SceneDocument& doc) {
  if (doc.antiAliasing != 1) return;
  glDisable(GL_BLEND);
  glDisable(GL_POLYGON_SMOOTH);
  glDisable(GL_LINE_SMOOTH);
  glDisable(GL_POINT_SMOOTH);
}

std::array<float, 16> shadowMatrix(Vector3 d, const float plane[4]) {
  const float dir[4] = {d.x, d.y, d.z, 0.0f};
  const float dot = plane[0] * dir[0] + plane[1] * dir[1] + plane[2] * dir[2] + plane[3] * dir[3];
  std::array<float, 16> m{};
  for (int col = 0; col < 4; ++col) {
    for (int row = 0; row < 4; ++row) {
      m[col * 4 + row] = (row == col ? dot : 0.0f) - dir[row] * plane[col];
    }
  }
  return m;
}

void drawPlanarShadow(SceneDocument& doc, bool playback) {
  const Vector3 direction = normalize(doc.shadowLightPosition - rootPosition(doc));
  if (isNoDirection(direction) || !doc.mesh || !doc.skinBuffers) return;
  const std::array<float, 16> m = shadowMatrix(direction, kShadowPlane);

  glClearStencil(0);
  glEnable(GL_STENCIL_TEST);
  glStencilFunc(GL_ALWAYS, 1, ~0u);
  glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  glDepthMask(GL_FALSE);
  // Only positions are needed to mark the stencil; the other arrays are switched
  // off so that none of them can belong to another part.
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);

  const GLfloat shadowColour[4] = {0.0f, 0.0f, 0.0f, kShadowAlpha};
  const GLfloat shadowSpecular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  const bool hideParts =
      !playback && (isVertexWeightingMode(doc.editMode) || doc.pointPickView == 1);
  const unsigned int primitive = primitiveForDrawMode(doc.drawMode);
  glPushMatrix();
  glMultMatrixf(m.data());
  const int parts = std::min(doc.mesh->partCount(), static_cast<int>(doc.skinBuffers->parts.size()));
  for (int p = 0; p < parts; ++p) {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, shadowColour);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, shadowSpecular);
    if (hideParts) continue;
    const MeshPart& part = doc.mesh->parts[p];
    const SkinPart& skin = doc.skinBuffers->parts[p];
    const size_t count = std::min(static_cast<size_t>(std::max(part.vertexCount, 0)),
                                  skin.skinPositions.size());
    glVertexPointer(3, GL_FLOAT, 0, skin.skinPositions.data());
    if (!playback && doc.drawMode == 0) glPointSize(kPointSize);
    glDrawArrays(primitive, 0, static_cast<GLsizei>(count));
  }
  glPopMatrix();

  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glDepthMask(GL_TRUE);
  glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
  glStencilFunc(GL_EQUAL, 1, ~0u);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor3f(0.0f, 0.0f, 0.0f);
  glBegin(GL_QUADS);
  glVertex3f(kFloorHalfSize, 0.0f, kFloorHalfSize);
  glVertex3f(-kFloorHalfSize, 0.0f, kFloorHalfSize);
  glVertex3f(-kFloorHalfSize, 0.0f, -kFloorHalfSize);
  glVertex3f(kFloorHalfSize, 0.0f, -kFloorHalfSize);
  glEnd();
  glDisable(GL_BLEND);
  glDisable(GL_STENCIL_TEST);
}

}  // namespace lw
