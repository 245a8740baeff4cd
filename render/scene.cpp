#include "render/scene.h"

#include "render/camera.h"
#include "render/gl_headers.h"
#include "render/lights.h"
#include "render/model_draw.h"
#include "skeleton/fk.h"
#include "skin/deform.h"

namespace lw {

namespace {

void drawModelWithShadow(SceneDocument& doc, RenderState& rs) {
  drawModelParts(doc, rs, ModelLights::Editing, doc.do_skinning == 1 ? deformPart : nullptr);
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
    // The pose first: the model is skinned from the pose this frame draws.
    if (doc.decitionJointPosition == 1 && doc.keyFrames && doc.keyFrames->keyframeBoneView == 1) {
      evaluatePose(doc.skeleton);
    }
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

}  // namespace lw
