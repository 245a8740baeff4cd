#include "render/primitives.h"

#include <algorithm>
#include <cstddef>

#include "render/gl_headers.h"

namespace lw {

namespace {

void vertex(Vector3 v) { glVertex3f(v.x, v.y, v.z); }

Vector3 scaled(Vector3 v, float s) { return {v.x * s, v.y * s, v.z * s}; }

float nonZero(float v) { return v == 0.0f ? 0.01f : v; }

// The octahedron's six points: X-, X+, Y-, Y+, Z-, Z+.
enum OctahedronPoint { kXm, kXp, kYm, kYp, kZm, kZp };
void octahedronPoints(Vector3 c, float r, Vector3 (&points)[6]) {
  points[kXm] = {c.x - r, c.y, c.z};
  points[kXp] = {c.x + r, c.y, c.z};
  points[kYm] = {c.x, c.y - r, c.z};
  points[kYp] = {c.x, c.y + r, c.z};
  points[kZm] = {c.x, c.y, c.z - r};
  points[kZp] = {c.x, c.y, c.z + r};
}

// The 10 triangles in drawing order: eight faces, then the two inner ones.
constexpr uint8_t kOctahedronOrder[30] = {kZm, kXm, kYp, kZm, kXp, kYp, kZm, kXm, kYm, kZm,
                                          kXp, kYm, kZp, kXm, kYp, kZp, kXp, kYp, kZp, kXm,
                                          kYm, kZp, kXp, kYm, kXm, kXp, kYm, kYp, kZm, kZp};
constexpr int kMarkerIndices = 30;
// Markers per draw call: their 6 points each stay within 16-bit indices.
constexpr size_t kRunMarkers = 4096;

// The 30 corners of the octahedron's 10 triangles, in drawing order.
void octahedronTriangles(Vector3 c, float r, Vector3 (&triangles)[30]) {
  Vector3 points[6];
  octahedronPoints(c, r, points);
  for (int i = 0; i < 30; ++i) triangles[i] = points[kOctahedronOrder[i]];
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

namespace {

void writePoints(MarkerMesh& mesh, size_t marker, Vector3 centre, float radius) {
  Vector3 points[6];
  octahedronPoints(centre, radius, points);
  float* out = &mesh.positions[18 * marker];
  for (const Vector3& p : points) {
    *out++ = p.x;
    *out++ = p.y;
    *out++ = p.z;
  }
}

}  // namespace

void resizeMarkers(MarkerMesh& mesh, size_t count, float radius) {
  const size_t before = mesh.centres.size();
  if (count == before) return;
  mesh.centres.resize(count);
  mesh.markerColours.resize(count);
  mesh.positions.resize(18 * count);
  mesh.colours.resize(18 * count);
  for (size_t k = before; k < count; ++k) {
    mesh.centres[k] = {0, 0, 0};
    mesh.markerColours[k] = {};  // the colours grow as zeros
    writePoints(mesh, k, mesh.centres[k], radius);
  }
}

void setMarker(MarkerMesh& mesh, size_t marker, Vector3 centre, Rgb3 colour, float radius) {
  if (!(mesh.centres[marker] == centre)) {
    mesh.centres[marker] = centre;
    writePoints(mesh, marker, centre, radius);
  }
  Rgb3& was = mesh.markerColours[marker];
  if (was.r != colour.r || was.g != colour.g || was.b != colour.b) {
    was = colour;
    float* out = &mesh.colours[18 * marker];
    for (int i = 0; i < 6; ++i) {
      *out++ = colour.r;
      *out++ = colour.g;
      *out++ = colour.b;
    }
  }
}

void drawMarkerMesh(const MarkerMesh& mesh) {
  if (mesh.centres.empty()) return;
  const GLboolean vertexArray = glIsEnabled(GL_VERTEX_ARRAY);
  const GLboolean colourArray = glIsEnabled(GL_COLOR_ARRAY);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  // The markers go in runs of kRunMarkers, each run drawn with the same 16-bit
  // indices and the arrays starting at its first marker.
  static const std::vector<uint16_t> runIndices = [] {
    std::vector<uint16_t> indices(kMarkerIndices * kRunMarkers);
    for (size_t k = 0; k < kRunMarkers; ++k) {
      for (int i = 0; i < kMarkerIndices; ++i) {
        indices[kMarkerIndices * k + static_cast<size_t>(i)] =
            static_cast<uint16_t>(6 * k + kOctahedronOrder[i]);
      }
    }
    return indices;
  }();
  const size_t count = mesh.centres.size();
  for (size_t first = 0; first < count; first += kRunMarkers) {
    const size_t run = std::min(kRunMarkers, count - first);
    glVertexPointer(3, GL_FLOAT, 0, &mesh.positions[18 * first]);
    glColorPointer(3, GL_FLOAT, 0, &mesh.colours[18 * first]);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(kMarkerIndices * run), GL_UNSIGNED_SHORT,
                   runIndices.data());
  }
  if (!colourArray) glDisableClientState(GL_COLOR_ARRAY);
  if (!vertexArray) glDisableClientState(GL_VERTEX_ARRAY);
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
