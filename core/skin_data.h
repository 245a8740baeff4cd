// Per-corner skinning data: the deformed positions and normals that drawing and
// saving use, and each corner's list of joint influences.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/math.h"

namespace lw {

struct JointWeight {
  std::string jointName;  // joints are referred to by name, not number
  float weight = 0;       // 0.0 to 1.0; lists are not normalised
};

struct SkinRecord {
  Vector3 position;                  // deformed (or rest) corner position
  std::vector<JointWeight> weights;  // in entry order, at most 20 from a dialog
};

// One entry per mesh part, corners in the part's order.
struct SkinPart {
  std::vector<Vector3> skinNormals;
  std::vector<SkinRecord> skinRecords;
};

struct SkinBuffers {
  std::vector<SkinPart> parts;
};

// The weighting box: eight corners (x, y, z in double) in a fixed order; see skin/.
struct WeightBox {
  std::array<std::array<double, 3>, 8> corners{};
};

struct CornerRef {
  int part = 0;
  int corner = 0;
  friend bool operator==(const CornerRef&, const CornerRef&) = default;
};

// Corners picked for the vertex weighting dialog, in pick order.
using VertexSelection = std::vector<CornerRef>;

}  // namespace lw

namespace lw {

struct Mesh;

// Skin buffers for a freshly loaded model: per part, a copy of the corner normals
// and one record per corner whose position starts as the corner position, with no
// weights. The only place that builds them.
std::unique_ptr<SkinBuffers> makeSkinBuffers(const Mesh& mesh);

}  // namespace lw
