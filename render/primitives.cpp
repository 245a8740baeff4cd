#include "render/primitives.h"

#include <cstddef>

#include "render/gl_headers.h"

namespace lw {

namespace {

void vertex(Vector3 v) { glVertex3f(v.x, v.y, v.z); }

Vector3 scaled(Vector3 v, float s) { return {v.x * s, v.y * s, v.z * s}; }

float nonZero(float v) { return v == 0.0f ? 0.01f : v; }

// The 30 corners of the octahedron's 10 triangles, in drawing order.
void octahedronTriangles(Vector3 c, float r, Vector3 (&triangles)[30]) {
  const Vector3 xm{c.x - r, c.y, c.z}, xp{c.x + r, c.y, c.z};
  const Vector3 ym{c.x, c.y - r, c.z}, yp{c.x, c.y + r, c.z};
  const Vector3 zm{c.x, c.y, c.z - r}, zp{c.x, c.y, c.z + r};
  const Vector3 order[30] = {zm, xm, yp, zm, xp, yp, zm, xm, ym, zm, xp, ym, zp, xm, yp,
                             zp, xp, yp, zp, xm, ym, zp, xp, ym, xm, xp, ym, yp, zm, zp};
  for (int i = 0; i < 30; ++i) triangles[i] = order[i];
}

}  // namespace

void drawOctahedron(Vector3 c, Rgb3 colour, float r) {
  Vector3 triangles[30];
  octahedronTriangles(c, r, triangles);
  glColor3f(colour.r, colour.g, colour.b);
  glBegin(GL_TRIANGLES);
  for (const Vector3& v : triangles) vertex(v);
  glEnd();
}

void appendOctahedron(MarkerBatch& batch, Vector3 c, Rgb3 colour, float r) {
  Vector3 triangles[30];
  octahedronTriangles(c, r, triangles);
  for (const Vector3& v : triangles) {
    batch.positions.insert(batch.positions.end(), {v.x, v.y, v.z});
    batch.colours.insert(batch.colours.end(), {colour.r, colour.g, colour.b});
  }
}

void drawMarkerBatch(MarkerBatch& batch) {
  if (batch.positions.empty()) return;
  const GLboolean vertexArray = glIsEnabled(GL_VERTEX_ARRAY);
  const GLboolean colourArray = glIsEnabled(GL_COLOR_ARRAY);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, batch.positions.data());
  glColorPointer(3, GL_FLOAT, 0, batch.colours.data());
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(batch.positions.size() / 3));
  if (!colourArray) glDisableClientState(GL_COLOR_ARRAY);
  if (!vertexArray) glDisableClientState(GL_VERTEX_ARRAY);
  const std::size_t last = batch.colours.size() - 3;
  glColor3f(batch.colours[last], batch.colours[last + 1], batch.colours[last + 2]);
  batch.positions.clear();
  batch.colours.clear();
}

void drawBone(Vector3 from, Vector3 to, Rgb3 colour) {
  const Vector3 base{from.x * 2.0f / 3.0f + to.x / 3.0f, from.y * 2.0f / 3.0f + to.y / 3.0f,
                     from.z * 2.0f / 3.0f + to.z / 3.0f};
  Vector3 d = scaled(base - from, 0.5f);
  d = {nonZero(d.x), nonZero(d.y), nonZero(d.z)};
  const Vector3 w1 = rotateVector(axisAngleToQuaternion({-d.y, d.x, 0.0f}, 90.0), d);
  const Vector3 w2 = rotateVector(axisAngleToQuaternion(d, 90.0), w1);
  const Vector3 ring[4] = {base + scaled(w1, 0.5f), base + scaled(w2, 0.5f),
                           base - scaled(w1, 0.5f), base - scaled(w2, 0.5f)};
  glBegin(GL_LINE_STRIP);
  vertex(from);
  vertex(to);
  glColor3f(colour.r, colour.g, colour.b);
  for (const Vector3& q : ring) {
    vertex(from);
    vertex(q);
    vertex(to);
  }
  for (const Vector3& q : ring) vertex(q);
  vertex(ring[0]);
  glEnd();
  glColor3f(0.0f, 0.0f, 1.0f);
}

}  // namespace lw
