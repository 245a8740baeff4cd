// The model and decoration drawing shared by the editing frame and the
// playback frame: materials, textures, client arrays, programs and uniforms.
#pragma once

#include "core/document.h"
#include "render/render_state.h"

namespace lw {

// The lit model from the skin buffers, part by part, with its programs and
// textures; the normal and texture-coordinate arrays and depth testing are
// enabled here, the vertex array and the lights by the caller. Point size 5 for
// drawMode 0. Reads the skin buffers as the frame's preparation left them.
// Leaves the arrays enabled for the shadow.
void drawModelParts(SceneDocument& doc, RenderState& rs);

// The decoration models from their rest shapes, lit by light 0 only. With
// setLight, light 0 is placed at viewDirection first; with respectEditMode the
// parts are left out in vertex weighting (isVertexWeightingMode) and while
// pointPickView is 1. Leaves arrays, depth testing, light 0 and lighting off.
void drawDecorations(SceneDocument& doc, bool setLight, bool respectEditMode);

// The GL primitive of a drawMode: 4 triangles, 3 one line strip, 0 points;
// anything else draws triangles.
unsigned int primitiveForDrawMode(int drawMode);

// Sets ambient (Ka, 1), diffuse (Kd, 1), specular (Ks, 1) and shininess Ns for
// front and back faces; GL's default material without one.
void setPartMaterial(const Material* material);

// The part's material, or null when its index is out of range.
Material* partMaterial(Mesh& mesh, const MeshPart& part);

}  // namespace lw
