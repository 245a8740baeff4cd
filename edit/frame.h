// Preparing a frame of the 3D window: everything a frame changes in the
// document happens here, before anything is drawn, so that drawing only reads.
//
// Order, and why:
//  1. the pose: the joints' drawn positions and bone vectors come from the
//     stored angles (editing) or from the working poses (playback);
//  2. the skin: every model part is deformed from that pose into its skin
//     buffers, part by part in part order (the editing deformation also resets
//     the drawn bone vectors of IK joints on each part's chains, which the
//     skeleton drawn afterwards shows).
// Drawing then reads the skin buffers as often as it needs them: the model, its
// shadow and the overlays all see the same deformed corners.
#pragma once

#include "core/document.h"

namespace lw {

// Before a normal editing frame (and before a depth probe, which draws one):
// with the joint positions fixed and keyframeBoneView 1 the pose is evaluated;
// with a model loaded and do_skinning 1 every part is deformed (deformPart).
// Picking passes need no preparation: they draw from what the last frame left.
void prepareEditingFrame(SceneDocument& doc);

// Before a playback frame: the working poses are posed (poseFrame) and, with a
// model loaded, every part is deformed from them (deformPartForPlayback),
// whatever do_skinning says.
void preparePlaybackFrame(SceneDocument& doc);

}  // namespace lw
