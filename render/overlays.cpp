// The editing overlays of the weighting commands: the weighting box with the
// model's corners, and the vertex markers of vertex weighting.
#include <algorithm>
#include <array>
#include <cstdint>

#include "render/gl_headers.h"
#include "render/picking.h"
#include "render/primitives.h"
#include "render/scene.h"
#include "skin/weight_box.h"

namespace lw {

namespace {

constexpr Rgb3 kInsideOrPicked{1.0f, 0.6f, 0.5f};
constexpr Rgb3 kPlainCorner{0.0f, 1.0f, 0.5f};
constexpr Rgb3 kSelectedCorner{0.5f, 0.6f, 1.0f};
constexpr Rgb3 kBoundCorner{0.85f, 0.2f, 1.0f};
constexpr int32_t kNoTreeJoint = -999;

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

const std::string* treeSelectedJointName(const SceneDocument& doc) {
  for (const auto& joint : doc.skeleton.jointOrder) {
    if (joint->jointID == doc.treeSelectedJoint) return &joint->jointName;
  }
  return nullptr;
}

}  // namespace

void drawWeightBoxOverlay(SceneDocument& doc, const ViewInput& input) {
  glEnable(GL_DEPTH_TEST);
  glInitNames();
  if (doc.editMode != 15 && doc.skinBuffers) {
    if (doc.pointPickView == 0) drawModelOutline(doc, 1.8f, false);
    for (const SkinPart& part : doc.skinBuffers->parts) {
      for (const Vector3& p : part.skinPositions) {
        drawOctahedron(p, isInsideWeightBox(doc.weightBox, p) ? kInsideOrPicked : kPlainCorner,
                       kVertexMarkerRadius);
      }
    }
  }
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthMask(GL_FALSE);
  const int32_t base = input.pressedPick;
  glPushName(static_cast<GLuint>(base + kBoxFaceNameStep));
  const bool highlight = doc.editMode == 14 || doc.editMode == 16;
  const auto& c = doc.weightBox.corners;
  for (int face = kBoxFaceZMinus; face <= kBoxFaceCount; ++face) {
    const int32_t name = base + kBoxFaceNameStep * face;
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

void drawVertexWeightOverlay(SceneDocument& doc, ViewInput& input) {
  if (!doc.skinBuffers) return;
  if (doc.editMode != 22 && doc.drawMode != 0) {
    drawModelOutline(doc, 1.5f, true);
    glDisable(GL_DEPTH_TEST);
  }
  glEnable(GL_DEPTH_TEST);
  input.clickedCorner = ClickedCorner{};
  const std::string* treeJointName = treeSelectedJointName(doc);
  const bool picked = doc.editMode == 23;
  glPushName(kCornerNameBase);
  int32_t n = 0;
  const int parts = static_cast<int>(doc.skinBuffers->parts.size());
  for (int p = 0; p < parts; ++p) {
    const SkinPart& skin = doc.skinBuffers->parts[p];
    const int corners = static_cast<int>(std::min(skin.skinPositions.size(), skin.skinWeights.size()));
    for (int i = 0; i < corners; ++i, ++n) {
      const Vector3 position = skin.skinPositions[i];
      glLoadName(static_cast<GLuint>(kCornerNameBase + n));
      if (picked && kCornerNameBase + n == doc.selectedJoint) {
        input.clickedCorner = {p, i, position};
        drawOctahedron(position, kInsideOrPicked, kVertexMarkerRadius);
      } else {
        drawOctahedron(position, cornerColour(doc, treeJointName, p, i), kVertexMarkerRadius);
      }
    }
    if (picked && input.clickedCorner.part >= 0) {
      // Every corner sharing the picked position is marked too.
      for (int i = 0; i < corners; ++i) {
        const Vector3 position = skin.skinPositions[i];
        drawOctahedron(position,
                       position == input.clickedCorner.position
                           ? kInsideOrPicked
                           : cornerColour(doc, treeJointName, p, i),
                       kVertexMarkerRadius);
      }
    }
  }
  glDisable(GL_DEPTH_TEST);
}

}  // namespace lw
