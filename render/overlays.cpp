// The editing overlays of the weighting commands: the weighting box with the
// model's corners, and the vertex markers of vertex weighting.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "edit/view_input.h"
#include "render/gl_headers.h"
#include "render/picking.h"
#include "render/primitives.h"
#include "render/scene.h"
#include "skin/weight_box.h"
#include "skin/weight_dialogs.h"

namespace lw {

namespace {

constexpr Rgb3 kInsideOrPicked{1.0f, 0.6f, 0.5f};
constexpr Rgb3 kPlainCorner{0.0f, 1.0f, 0.5f};
constexpr Rgb3 kSelectedCorner{0.5f, 0.6f, 1.0f};
constexpr Rgb3 kBoundCorner{0.85f, 0.2f, 1.0f};
constexpr int32_t kNoTreeJoint = -999;
// Twice a vertex marker's radius: the octahedron lies inside that sphere with room to spare.
constexpr double kCullRadius = 2.0 * kVertexMarkerRadius;

// One polygon through every deformed corner of every part, drawn as black lines
// with back faces culled.
void drawModelOutline(const SceneDocument& doc, float lineWidth, bool fillBackFaces) {
  glColor3f(0.0f, 0.0f, 0.0f);
  glFrontFace(GL_CW);
  glPolygonMode(GL_FRONT, GL_LINE);
  glPolygonMode(GL_BACK, fillBackFaces ? GL_FILL : GL_LINE);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glLineWidth(lineWidth);
  glBegin(GL_POLYGON);
  for (const SkinPart& part : doc.skinBuffers->parts) {
    for (const Vector3& p : part.skinPositions) glVertex3f(p.x, p.y, p.z);
  }
  glEnd();
  glLineWidth(1.0f);
  glDisable(GL_CULL_FACE);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glFrontFace(GL_CCW);
}

bool inVertexSelection(const SceneDocument& doc, int part, int corner, Vector3 position) {
  for (const CornerRef& ref : doc.vertexSelection) {
    if (ref.part == part && ref.corner == corner) return true;
    if (ref.part >= 0 && ref.part < static_cast<int>(doc.skinBuffers->parts.size())) {
      const auto& positions = doc.skinBuffers->parts[ref.part].skinPositions;
      if (ref.corner >= 0 && ref.corner < static_cast<int>(positions.size()) &&
          positions[ref.corner] == position) {
        return true;
      }
    }
  }
  return false;
}

bool namesJoint(const WeightList& weights, const std::string* jointName) {
  if (!jointName) return false;
  return std::any_of(weights.begin(), weights.end(),
                     [&](const JointWeight& w) { return w.jointName == *jointName; });
}

// Colour of a corner that is not the one just picked.
Rgb3 cornerColour(const SceneDocument& doc, const std::string* treeJointName, int part,
                  int corner) {
  const SkinPart& skin = doc.skinBuffers->parts[part];
  if (doc.treeSelectedJoint == kNoTreeJoint) {
    return inVertexSelection(doc, part, corner, skin.skinPositions[corner]) ? kSelectedCorner
                                                                             : kPlainCorner;
  }
  return namesJoint(skin.skinWeights[corner], treeJointName) ? kBoundCorner : kPlainCorner;
}

// The six planes (a, b, c, d; inside where a x + b y + c z + d >= 0, with
// (a, b, c) of unit length) of the current view volume in model coordinates,
// from projection x model-view. In a picking pass the volume is the pick region.
struct ViewVolume {
  double planes[6][4];
};

ViewVolume currentViewVolume() {
  double p[16], mv[16], m[16];
  glGetDoublev(GL_PROJECTION_MATRIX, p);
  glGetDoublev(GL_MODELVIEW_MATRIX, mv);
  for (int col = 0; col < 4; ++col) {
    for (int row = 0; row < 4; ++row) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += p[k * 4 + row] * mv[col * 4 + k];
      m[col * 4 + row] = sum;
    }
  }
  ViewVolume volume;
  for (int i = 0; i < 6; ++i) {
    const int axis = i / 2;
    const double sign = i % 2 == 0 ? 1.0 : -1.0;
    double length = 0;
    for (int col = 0; col < 4; ++col) {
      // Row 3 plus or minus row `axis` of the combined matrix.
      volume.planes[i][col] = m[col * 4 + 3] + sign * m[col * 4 + axis];
      if (col < 3) length += volume.planes[i][col] * volume.planes[i][col];
    }
    length = std::sqrt(length);
    if (length > 0) {
      for (double& v : volume.planes[i]) v /= length;
    }
  }
  return volume;
}

// False only when a sphere of `radius` around p lies wholly outside the volume:
// such a marker can neither show nor be hit, so it need not be sent.
bool mayBeVisible(const ViewVolume& volume, Vector3 p, double radius) {
  for (const auto& plane : volume.planes) {
    if (plane[0] * p.x + plane[1] * p.y + plane[2] * p.z + plane[3] < -radius) return false;
  }
  return true;
}

int cornersOf(const SkinPart& skin) {
  return static_cast<int>(std::min(skin.skinPositions.size(), skin.skinWeights.size()));
}

// Works out again which corner comes first at each position, when any corner
// has moved since the last time. Positions are compared bit for bit: only
// identical numbers make identical markers.
void updateFirstCorners(const std::vector<SkinPart>& parts, VertexMarkers& kept) {
  size_t total = 0;
  bool same = true;
  for (const SkinPart& skin : parts) {
    const size_t corners = static_cast<size_t>(cornersOf(skin));
    same = same && total + corners <= kept.cornerPositions.size() &&
           std::memcmp(&kept.cornerPositions[total], skin.skinPositions.data(),
                       corners * sizeof(Vector3)) == 0;
    total += corners;
  }
  if (same && total == kept.cornerPositions.size()) return;
  struct Bits {
    uint32_t v[3];
    bool operator==(const Bits& o) const { return std::memcmp(v, o.v, sizeof v) == 0; }
  };
  struct Hash {
    size_t operator()(const Bits& b) const {
      return (b.v[0] * 73856093u) ^ (b.v[1] * 19349663u) ^ (b.v[2] * 83492791u);
    }
  };
  std::unordered_set<Bits, Hash> seen;
  seen.reserve(total);
  kept.cornerPositions.clear();
  kept.firsts.clear();
  for (int p = 0; p < static_cast<int>(parts.size()); ++p) {
    const int corners = cornersOf(parts[p]);
    for (int i = 0; i < corners; ++i) {
      const Vector3 position = parts[p].skinPositions[i];
      kept.cornerPositions.push_back(position);
      Bits bits;
      std::memcpy(bits.v, &position, sizeof bits.v);
      if (seen.insert(bits).second) kept.firsts.push_back({p, i});
    }
  }
}

const std::string* treeSelectedJointName(const SceneDocument& doc) {
  for (const auto& joint : doc.skeleton.jointOrder) {
    if (joint->jointID == doc.treeSelectedJoint) return &joint->jointName;
  }
  return nullptr;
}

}  // namespace

void drawWeightBoxOverlay(SceneDocument& doc, RenderState& rs, const ViewInputState& input) {
  glEnable(GL_DEPTH_TEST);
  glInitNames();
  if (doc.editMode != kModeBoxFacePicking && doc.skinBuffers) {
    if (doc.pointPickView == 0) drawModelOutline(doc, 1.8f, false);
    for (const SkinPart& part : doc.skinBuffers->parts) {
      for (const Vector3& p : part.skinPositions) {
        appendOctahedron(rs.markers, p,
                         isInsideWeightBox(doc.weightBox, p) ? kInsideOrPicked : kPlainCorner,
                         kVertexMarkerRadius);
      }
    }
    drawMarkerBatch(rs.markers);
  }
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthMask(GL_FALSE);
  const int32_t base = input.pressedPick;
  glPushName(static_cast<GLuint>(boxFacePickName(base, kBoxFaceZMinus)));
  const bool highlight = isBoxFaceChosen(doc.editMode);
  const auto& c = doc.weightBox.corners;
  for (int face = kBoxFaceZMinus; face <= kBoxFaceCount; ++face) {
    const int32_t name = boxFacePickName(base, static_cast<BoxFace>(face));
    const std::array<int, 4> corners = boxFaceCorners(face);
    glLoadName(static_cast<GLuint>(name));
    if (highlight && name == doc.selectedJoint) {
      glColor4f(1.0f, 0.5f, 0.5f, 0.5f);
    } else {
      glColor4f(0.0f, 0.0f, 1.0f, 0.5f);
    }
    glBegin(GL_QUADS);
    for (int k : corners) glVertex3d(c[k][0], c[k][1], c[k][2]);
    glEnd();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_LINE_LOOP);
    for (int k : corners) glVertex3d(c[k][0], c[k][1], c[k][2]);
    glEnd();
  }
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
}

void drawVertexWeightOverlay(SceneDocument& doc, RenderState& rs, bool pickingPass) {
  if (!doc.skinBuffers) return;
  if (doc.editMode != kModeVertexPicking && doc.drawMode != 0) {
    drawModelOutline(doc, 1.5f, true);
    glDisable(GL_DEPTH_TEST);
  }
  glEnable(GL_DEPTH_TEST);
  const std::vector<SkinPart>& parts = doc.skinBuffers->parts;
  // The corner under the cursor in kModeVertexPicked: its name counts the corners before it.
  rs.clickedCorner = ClickedCorner{};
  if (doc.editMode == kModeVertexPicked) {
    int32_t n = doc.selectedJoint - kVertexPickBase;
    for (int p = 0; p < static_cast<int>(parts.size()) && n >= 0; ++p) {
      const int corners = cornersOf(parts[p]);
      if (n < corners) rs.clickedCorner = {p, n, parts[p].skinPositions[n]};
      n -= corners;
    }
  }
  const bool picked = rs.clickedCorner.part >= 0;
  const std::string* treeJointName = treeSelectedJointName(doc);
  // Every corner that shares the picked position is marked as picked.
  auto colourOf = [&](int p, int i) {
    return picked && parts[p].skinPositions[i] == rs.clickedCorner.position
               ? kInsideOrPicked
               : cornerColour(doc, treeJointName, p, i);
  };
  if (!pickingPass) {
    // Corners that share a position (the same vertex of neighbouring triangles)
    // would draw the same octahedron at the same depths again, and under the
    // depth test only the first of them shows: each position gets one marker,
    // in its first corner's colour. The markers stay from frame to frame; only
    // those whose corner moved or whose colour changed are rewritten.
    VertexMarkers& kept = rs.vertexMarkers;
    updateFirstCorners(parts, kept);
    resizeMarkers(kept.mesh, kept.firsts.size(), kVertexMarkerRadius);
    for (size_t k = 0; k < kept.firsts.size(); ++k) {
      const CornerRef c = kept.firsts[k];
      setMarker(kept.mesh, k, parts[c.part].skinPositions[c.corner], colourOf(c.part, c.corner),
                kVertexMarkerRadius);
    }
    drawMarkerMesh(kept.mesh);
    // What follows (the first bone's centre line) is drawn in the colour of the
    // last corner's marker that can show, as if every corner had been drawn one
    // by one.
    const ViewVolume volume = currentViewVolume();
    for (int p = static_cast<int>(parts.size()); p-- > 0;) {
      for (int i = cornersOf(parts[p]); i-- > 0;) {
        if (!mayBeVisible(volume, parts[p].skinPositions[i], kCullRadius)) continue;
        const Rgb3 colour = colourOf(p, i);
        glColor3f(colour.r, colour.g, colour.b);
        glDisable(GL_DEPTH_TEST);
        return;
      }
    }
    glDisable(GL_DEPTH_TEST);
    return;
  }
  // In a picking pass only the markers in the pick region are sent, and corners
  // that share a position (the same vertex of neighbouring triangles) answer
  // once, under the first one's name: weighting one of them weights them all,
  // and a separate record for each would overflow the selection buffer wherever
  // a few vertices lie under the cursor.
  const ViewVolume volume = currentViewVolume();
  std::vector<Vector3>& sent = rs.pickedPositions;
  sent.clear();
  glPushName(kVertexPickBase);
  int32_t n = 0;
  for (int p = 0; p < static_cast<int>(parts.size()); ++p) {
    const int corners = cornersOf(parts[p]);
    for (int i = 0; i < corners; ++i, ++n) {
      const Vector3 position = parts[p].skinPositions[i];
      if (!mayBeVisible(volume, position, kCullRadius)) continue;
      if (std::find(sent.begin(), sent.end(), position) != sent.end()) continue;
      sent.push_back(position);
      glLoadName(static_cast<GLuint>(kVertexPickBase + n));
      drawOctahedron(position, colourOf(p, i), kVertexMarkerRadius);
    }
  }
  glDisable(GL_DEPTH_TEST);
}

}  // namespace lw
