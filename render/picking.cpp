#include "render/picking.h"

#include "render/camera.h"
#include "render/gl_headers.h"
#include "render/scene.h"

namespace lw {

namespace {

constexpr PickingRule kRules[] = {
    {3, 2, 2, HitChoice::First, false},      {10, 1, 11, HitChoice::First, false},
    {15, 14, 14, HitChoice::Nearest, false}, {19, 17, 18, HitChoice::First, false},
    {22, 21, 23, HitChoice::Nearest, false}, {24, 26, 25, HitChoice::First, false},
    {29, 28, 30, HitChoice::First, true},    {33, 32, 34, HitChoice::First, true},
    {36, 35, 37, HitChoice::First, false},   {40, 39, 41, HitChoice::First, false},
    {43, 42, 44, HitChoice::First, false},   {47, 46, 48, HitChoice::First, true},
    {51, 50, 52, HitChoice::First, true},    {56, 55, 57, HitChoice::First, true},
    {71, 70, 72, HitChoice::First, false},   {74, 73, 75, HitChoice::First, false},
    {661, 660, 662, HitChoice::First, true},
};

constexpr int32_t kMoveJointPick = 3;
constexpr int32_t kMoveJointDrag = 4;
constexpr int32_t kBoxFacePick = 15;
constexpr int32_t kBoxFaceDrag = 16;
constexpr int32_t kRootMovePick = 661;
constexpr uint32_t kFirstBoxFaceName = 100;
constexpr uint32_t kBoxFaceNameSpan = 599;
const char kUnprojectFailed[] = "ウインドウ座標をワールド座標変換できません";

// Selection mode through a 1 x 1 region around (x, height - y); the projection
// matrix is pushed and left current.
void beginSelection(RenderState& rs, int x, int y) {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glSelectBuffer(kSelectBufferWords, rs.selectBuffer.data());
  glRenderMode(GL_SELECT);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluPickMatrix(x, viewport[3] - y, 1.0, 1.0, viewport);
}

void restoreProjection() {
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
}

}  // namespace

const PickingRule* pickingRule(int32_t editMode) {
  for (const PickingRule& rule : kRules) {
    if (rule.subState == editMode) return &rule;
  }
  return nullptr;
}

float hitDepth(uint32_t word) { return static_cast<float>(word * kHitDepthScale); }

ChosenHit chooseHit(const uint32_t* buffer, size_t words, int32_t hitCount, HitChoice choice) {
  ChosenHit best;
  float bestMin = 0;
  size_t at = 0;
  for (int32_t i = 0; i < hitCount; ++i) {
    if (at + 3 > words) break;
    const uint32_t nameCount = buffer[at];
    if (nameCount > words - at - 3) break;
    const float minDepth = hitDepth(buffer[at + 1]);
    if (!best.found || (choice == HitChoice::Nearest && minDepth < bestMin)) {
      best.found = true;
      best.name = nameCount > 0 ? buffer[at + 3] : 0;
      best.meanDepth = static_cast<float>((double(minDepth) + hitDepth(buffer[at + 2])) / 2.0);
      bestMin = minDepth;
    }
    if (choice == HitChoice::First) break;
    at += 3 + nameCount;
  }
  return best;
}

int pickPassWith(SceneDocument& doc, RenderState& rs, ViewInput& input, int x, int y,
                 SceneDrawFn draw) {
  const PickingRule* rule = pickingRule(doc.editMode);
  beginSelection(rs, x, y);
  setViewAndProjection(doc, true);
  const int pickResult = draw(doc, rs, input, true);
  const int32_t hits = glRenderMode(GL_RENDER);
  if (pickResult != 0) {
    restoreProjection();
    return pickResult;
  }

  if (rule) {
    const uint32_t* buffer = rs.selectBuffer.data();
    if (hits < 1) {
      doc.selectedJoint = -1;
      doc.editMode = rule->missState;
    } else if (input.dragActive) {
      if (rule->subState == kMoveJointPick) {
        const ChosenHit hit = chooseHit(buffer, kSelectBufferWords, hits, HitChoice::First);
        doc.selectedJoint = static_cast<int32_t>(hit.name);
        input.pickDepth = hit.meanDepth;
        doc.editMode = kMoveJointDrag;
      } else if (rule->subState == kBoxFacePick) {
        const ChosenHit hit = chooseHit(buffer, kSelectBufferWords, hits, HitChoice::Nearest);
        if (hit.name - kFirstBoxFaceName <= kBoxFaceNameSpan) {
          doc.selectedJoint = static_cast<int32_t>(hit.name);
          doc.editMode = kBoxFaceDrag;
          input.prevX = x;
          input.prevY = y;
        }
      }
    } else {
      const ChosenHit hit = chooseHit(buffer, kSelectBufferWords, hits, rule->choice);
      doc.selectedJoint = static_cast<int32_t>(hit.name);
      if (rule->keepDepth) input.pickDepth = hit.meanDepth;
      if (rule->subState == kRootMovePick) {
        doc.dragStarted = 0;
        doc.dragCounter = 0;
        doc.dragVector = Vector3{};
      }
      doc.editMode = rule->hitState;
    }
  }

  restoreProjection();
  setViewAndProjection(doc, false);
  return draw(doc, rs, input, false);
}

int probeDepthWith(SceneDocument& doc, RenderState& rs, ViewInput& input, int x, int y,
                   SceneDrawFn draw) {
  const bool axesWereShown = doc.showWorldAxes == 1;
  if (axesWereShown) doc.showWorldAxes = 0;
  beginSelection(rs, x, y);
  doc.editMode = kProbeSubState;
  setViewAndProjection(doc, true);
  const int result = draw(doc, rs, input, false);
  doc.editMode = PlaceRootJoint;
  if (axesWereShown) doc.showWorldAxes = 1;
  const int32_t hits = glRenderMode(GL_RENDER);
  restoreProjection();
  if (hits > 0) {
    const ChosenHit hit =
        chooseHit(rs.selectBuffer.data(), kSelectBufferWords, hits, HitChoice::First);
    doc.selectedJoint = hit.found && rs.selectBuffer[0] > 0 ? static_cast<int32_t>(hit.name) : -1;
    input.pickDepth = hit.meanDepth;
  } else if (hits == 0) {
    input.pickDepth = kProbeMissDepth;
  }
  return result;
}

int pickPass(SceneDocument& doc, RenderState& rs, ViewInput& input, int x, int y) {
  return pickPassWith(doc, rs, input, x, y, drawScene);
}

int probeDepth(SceneDocument& doc, RenderState& rs, ViewInput& input, int x, int y) {
  return probeDepthWith(doc, rs, input, x, y, drawScene);
}

int windowToWorld(SceneDocument& doc, const RenderState& rs, float depth, int x, int y,
                  double point[3]) {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  double world[3];
  if (gluUnProject(x, viewport[3] - y, depth, rs.camera.modelView, rs.camera.projection,
                   viewport, &world[0], &world[1], &world[2]) != GL_TRUE) {
    doc.ErrorText = kUnprojectFailed;
    return 1;
  }
  for (int i = 0; i < 3; ++i) point[i] = world[i];
  return 0;
}

}  // namespace lw
