// The model and decoration drawing shared by the editing frame and the
// playback frame: materials, textures, client arrays, programs and uniforms.
#pragma once

#include "core/document.h"
#include "render/render_state.h"

namespace lw {

// Deforms corners 0 .. cornerCount-1 of one model part into its skin buffers
// (deformPart, or the playback variant); returns 0, or -1 when it did nothing.
using PartDeformer = int (*)(SceneDocument& doc, int partIndex, int cornerCount);

// Which lights the model is drawn with.
enum class ModelLights {
  Editing,   // the three lights of setUpLights
  Playback,  // light 0 as the last editing frame placed it
};

// The lit model from the skin buffers, part by part, with its programs and
// textures; the normal and texture-coordinate arrays and depth testing are
// enabled here, the vertex array by the caller. Point size 5 for drawMode 0.
// Editing frames set up the three lights; playback frames only switch on light 0
// and lighting. Each part is first deformed by `deform` unless it is null.
// Leaves lighting and the arrays enabled for the shadow.
void drawModelParts(SceneDocument& doc, RenderState& rs, ModelLights lights, PartDeformer deform);

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
