#include "render/picking.h"

#include "render/camera.h"
#include "render/gl_headers.h"
#include "render/scene.h"

namespace lw {

namespace {

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

// Back to render mode with the projection pushed by beginSelection popped.
// Returns the hit count (negative when the buffer overflowed).
int32_t endSelection() {
  const int32_t hits = glRenderMode(GL_RENDER);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  return hits;
}

PickResult resultOf(const RenderState& rs, int drawResult, int32_t hits, PickChoice choice) {
  PickResult result;
  result.drawOk = drawResult == 0;
  if (!result.drawOk) return result;
  result.hitCount = hits;
  const ChosenHit hit = chooseHit(rs.selectBuffer.data(), kSelectBufferWords, hits, choice);
  if (hit.found) {
    result.name = hit.named ? static_cast<int32_t>(hit.name) : -1;
    result.meanDepth = hit.meanDepth;
  }
  return result;
}

}  // namespace

float hitDepth(uint32_t word) { return static_cast<float>(word * kHitDepthScale); }

ChosenHit chooseHit(const uint32_t* buffer, size_t words, int32_t hitCount, PickChoice choice) {
  ChosenHit best;
  float bestMin = 0;
  size_t at = 0;
  for (int32_t i = 0; i < hitCount; ++i) {
    if (at + 3 > words) break;
    const uint32_t nameCount = buffer[at];
    if (nameCount > words - at - 3) break;
    const float minDepth = hitDepth(buffer[at + 1]);
    if (!best.found || (choice == PickChoice::Nearest && minDepth < bestMin)) {
      best.found = true;
      best.named = nameCount > 0;
      best.name = best.named ? buffer[at + 3] : 0;
      best.meanDepth = static_cast<float>((double(minDepth) + hitDepth(buffer[at + 2])) / 2.0);
      bestMin = minDepth;
    }
    if (choice == PickChoice::First) break;
    at += 3 + nameCount;
  }
  return best;
}

PickResult pickPassWith(SceneDocument& doc, RenderState& rs, const ViewInputState& input, int x,
                        int y, PickChoice choice, SceneDrawFn draw) {
  beginSelection(rs, x, y);
  setViewAndProjection(doc, true);
  const int drawResult = draw(doc, rs, input, true);
  const int32_t hits = endSelection();
  return resultOf(rs, drawResult, hits, choice);
}

PickResult probeDepthWith(SceneDocument& doc, RenderState& rs, const ViewInputState& input, int x,
                          int y, SceneDrawFn draw) {
  const bool axesWereShown = doc.showWorldAxes == 1;
  if (axesWereShown) doc.showWorldAxes = 0;
  const int32_t mode = doc.editMode;
  beginSelection(rs, x, y);
  doc.editMode = kModeDepthProbe;
  setViewAndProjection(doc, true);
  const int drawResult = draw(doc, rs, input, false);
  doc.editMode = mode;
  if (axesWereShown) doc.showWorldAxes = 1;
  const int32_t hits = endSelection();
  return resultOf(rs, drawResult, hits, PickChoice::First);
}

PickResult pickPass(SceneDocument& doc, RenderState& rs, const ViewInputState& input, int x, int y,
                    PickChoice choice) {
  return pickPassWith(doc, rs, input, x, y, choice, drawScene);
}

PickResult probeDepth(SceneDocument& doc, RenderState& rs, const ViewInputState& input, int x,
                      int y) {
  return probeDepthWith(doc, rs, input, x, y, drawScene);
}

int windowToWorld(SceneDocument& doc, const RenderState& rs, float depth, int x, int y,
                  double point[3]) {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  double world[3];
  if (gluUnProject(x, viewport[3] - y, depth, rs.camera.modelView, rs.camera.projection,
                   viewport, &world[0], &world[1], &world[2]) != GL_TRUE) {
    doc.ErrorText = kWindowToWorldFailedText;
    return 1;
  }
  for (int i = 0; i < 3; ++i) point[i] = world[i];
  return 0;
}

}  // namespace lw
