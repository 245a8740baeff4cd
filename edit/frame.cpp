#include "edit/frame.h"

#include <algorithm>

#include "anim/interpolation.h"
#include "anim/playback_deform.h"
#include "skeleton/fk.h"
#include "skin/deform.h"

namespace lw {

namespace {

template <typename Deform>
void deformEveryPart(SceneDocument& doc, Deform deform) {
  if (doc.modelLoaded != 1 || !doc.mesh || !doc.skinBuffers) return;
  const int parts =
      std::min(doc.mesh->partCount(), static_cast<int>(doc.skinBuffers->parts.size()));
  for (int p = 0; p < parts; ++p) deform(doc, p, doc.mesh->parts[p].vertexCount);
}

}  // namespace

void prepareEditingFrame(SceneDocument& doc) {
  if (doc.decitionJointPosition == 1 && doc.keyFrames && doc.keyFrames->keyframeBoneView == 1) {
    evaluatePose(doc.skeleton);
  }
  if (doc.do_skinning == 1) deformEveryPart(doc, deformPart);
}

void preparePlaybackFrame(SceneDocument& doc) {
  if (doc.keyFrames) poseFrame(doc.keyFrames->animationPoses);
  deformEveryPart(doc, deformPartForPlayback);
}

}  // namespace lw
