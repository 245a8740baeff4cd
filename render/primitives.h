// The two shapes every overlay is made of: the octahedron marker of joints and
// corners, and the wire double pyramid of a bone. Immediate mode; they need a
// current context and are called between frames' matrix set-up and pop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/math.h"

namespace lw {

inline constexpr float kJointMarkerRadius = 0.05f;
inline constexpr float kVertexMarkerRadius = 0.02f;

struct Rgb3 {
  float r = 0, g = 0, b = 0;
};

// Sets `colour` and draws 10 triangles (30 vertices) with X+- = centre +- (r,0,0),
// Y+- and Z+- likewise: (Z-,X-,Y+) (Z-,X+,Y+) (Z-,X-,Y-) (Z-,X+,Y-) (Z+,X-,Y+)
// (Z+,X+,Y+) (Z+,X-,Y-) (Z+,X+,Y-) and the two inner ones (X-,X+,Y-) (Y+,Z-,Z+).
void drawOctahedron(Vector3 centre, Rgb3 colour, float radius);

// Many octahedra sent as one client-array draw: the same triangles in the same
// order as drawOctahedron calls would send, so the picture is the same. The
// buffers are kept between frames; appending allocates only while they grow.
struct MarkerBatch {
  std::vector<float> positions;  // 3 floats per vertex
  std::vector<float> colours;    // 3 floats per vertex
};

void appendOctahedron(MarkerBatch& batch, Vector3 centre, Rgb3 colour, float radius);

// Draws and empties the batch; leaves the last marker's colour current and the
// vertex and colour arrays as they were.
void drawMarkerBatch(MarkerBatch& batch);

// Octahedron markers kept from frame to frame: six points per marker, drawn by
// index as the same triangles in the same order as drawOctahedron sends them, so
// the picture is the same. setMarker rewrites a marker only when its centre or
// colour changes, so an unchanged picture costs no rebuilding.
struct MarkerMesh {
  std::vector<Vector3> centres;
  std::vector<Rgb3> markerColours;
  std::vector<float> positions;   // 6 points x 3 floats per marker
  std::vector<float> colours;     // 6 points x 3 floats per marker
};

// Keeps the first `count` markers (new ones are set before they are drawn). One
// mesh always takes the same radius.
void resizeMarkers(MarkerMesh& mesh, size_t count, float radius);
void setMarker(MarkerMesh& mesh, size_t marker, Vector3 centre, Rgb3 colour, float radius);
// Draws every marker; leaves the current colour and the vertex and colour arrays
// as they were.
void drawMarkerMesh(const MarkerMesh& mesh);

// One line strip from `from` to `to`: the centre line in the colour current
// before the call, then in `colour` the four edges from `from` over each base
// point to `to`, then the closed base ring. The base lies a third of the way
// along; its half-diagonals are d and d turned by 90 degrees about the bone,
// d = half of that third (zero components replaced by 0.01), each halved.
// Leaves blue (0, 0, 1) current, so the next bone's centre line is blue.
void drawBone(Vector3 from, Vector3 to, Rgb3 colour);

}  // namespace lw
