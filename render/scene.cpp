#include "render/scene.h"

#include "render/camera.h"
#include "render/gl_headers.h"
#include "render/lights.h"
#include "render/model_draw.h"

namespace lw {

namespace {

void drawModelWithShadow(SceneDocument& doc, RenderState& rs) {
  setUpLights(doc);
  drawModelParts(doc, rs);
  if (doc.shadowMap == 1) drawPlanarShadow(doc, false);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHT0);
  glDisable(GL_LIGHT1);
  glDisable(GL_LIGHT2);
  glDisable(GL_LIGHTING);
}

}  // namespace

int drawScene(SceneDocument& doc, RenderState& rs, const ViewInputState& input, bool pickingPass) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  applyCamera(doc, rs.camera);
  beginAntiAliasing(doc);
  if (!pickingPass) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnable(GL_DEPTH_TEST);
    if (doc.showWorldAxes == 1) drawWorldAxes();
    glDisable(GL_DEPTH_TEST);
    if (doc.modelLoaded == 1) drawModelWithShadow(doc, rs);
    if (!doc.decorations.empty() && doc.showDecorations == 1) drawDecorations(doc, true, true);
  }
  if (doc.weightBoxShown == 1 && isWeightBoxMode(doc.editMode)) {
    drawWeightBoxOverlay(doc, rs, input);
  }
  if (isVertexWeightingMode(doc.editMode)) drawVertexWeightOverlay(doc, rs, pickingPass);
  if (!hidesSkeleton(doc.editMode)) {
    glDisable(GL_DEPTH_TEST);
    drawSkeleton(doc, input);
  }
  const bool numbersDrawn = doc.showJointNumbers != 1 || drawJointNumbers(doc, rs);
  endAntiAliasing(doc);
  glPopMatrix();
  return numbersDrawn ? 0 : kDrawSceneFailed;
}

void drawPlaybackFrame(SceneDocument& doc, RenderState& rs) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPushMatrix();
  multiplyCameraTransform(doc);
  const Colour& bg = doc.backgroundColour;
  glClearColor(bg.r, bg.g, bg.b, bg.a);
  drawWorldAxes();
  glEnable(GL_DEPTH_TEST);
  // The vertex array carries the model's positions; without it nothing is drawn.
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnable(GL_LIGHT0);
  glEnable(GL_LIGHTING);
  beginAntiAliasing(doc);
  if (doc.modelLoaded == 1) drawModelParts(doc, rs);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  if (doc.shadowMap == 1 && doc.modelLoaded == 1) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glClear(GL_STENCIL_BUFFER_BIT);
    drawPlanarShadow(doc, true);
    glDisableClientState(GL_VERTEX_ARRAY);
  }
  glDisable(GL_LIGHTING);
  glDisable(GL_LIGHT0);
  if (!doc.decorations.empty() && doc.showDecorations == 1) drawDecorations(doc, false, false);
  glPopMatrix();
  endAntiAliasing(doc);
  glDisable(GL_DEPTH_TEST);
}

}  // namespace lw
