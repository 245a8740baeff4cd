#include "render/primitives.h"

#include "render/gl_headers.h"

namespace lw {

namespace {

void vertex(Vector3 v) { glVertex3f(v.x, v.y, v.z); }

Vector3 scaled(Vector3 v, float s) { return {v.x * s, v.y * s, v.z * s}; }

float nonZero(float v) { return v == 0.0f ? 0.01f : v; }

}  // namespace

void drawOctahedron(Vector3 c, Rgb3 colour, float r) {
  const Vector3 xm{c.x - r, c.y, c.z}, xp{c.x + r, c.y, c.z};
  const Vector3 ym{c.x, c.y - r, c.z}, yp{c.x, c.y + r, c.z};
  const Vector3 zm{c.x, c.y, c.z - r}, zp{c.x, c.y, c.z + r};
  const Vector3 triangles[30] = {zm, xm, yp, zm, xp, yp, zm, xm, ym, zm, xp, ym, zp,
                                 xm, yp, zp, xp, yp, zp, xm, ym, zp, xp, ym, xm, xp,
                                 ym, yp, zm, zp};
  glColor3f(colour.r, colour.g, colour.b);
  glBegin(GL_TRIANGLES);
  for (const Vector3& v : triangles) vertex(v);
  glEnd();
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
