#include "render/model_draw.h"

#include <algorithm>

#include "render/gl_headers.h"
#include "render/shaders.h"
#include "render/textures.h"

namespace lw {

namespace {

constexpr float kPointSize = 5.0f;

int cornerCount(const MeshPart& part, const SkinPart& skin) {
  const size_t n = std::min({static_cast<size_t>(std::max(part.vertexCount, 0)),
                             skin.skinPositions.size(), skin.skinNormals.size()});
  return static_cast<int>(n);
}

// Binds the part's material texture (and the toon ramp) as the frame does;
// returns true when the part is textured.
bool bindPartTexture(Material* material, const ShaderProgram* program, bool toon,
                     bool glslActive) {
  const unsigned int name = material && material->texture
                                ? ensureTextureUploaded(*material->texture, glslActive)
                                : 0;
  if (name == 0) {
    // The toon program reads the ramp for untextured parts too.
    if (toon && program->toonTexture) {
      program->gl.activeTexture(GL_TEXTURE1);
      glBindTexture(GL_TEXTURE_2D, program->toonTexture->glTexture);
      program->gl.activeTexture(GL_TEXTURE0);
    }
    return false;
  }
  glEnable(GL_TEXTURE_2D);
  if (program) program->gl.activeTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, name);
  if (toon && program->toonTexture) {
    program->gl.activeTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, program->toonTexture->glTexture);
  }
  return true;
}

void unbindPartTexture(const ShaderProgram* program, bool toon) {
  glBindTexture(GL_TEXTURE_2D, 0);
  if (toon) {
    glBindTexture(GL_TEXTURE_2D, 1);
    program->gl.activeTexture(GL_TEXTURE0);
    glDisable(GL_TEXTURE_2D);
    program->gl.activeTexture(GL_TEXTURE1);
  }
  glDisable(GL_TEXTURE_2D);
}

}  // namespace

unsigned int primitiveForDrawMode(int drawMode) {
  switch (drawMode) {
    case 0: return GL_POINTS;
    case 3: return GL_LINE_STRIP;
    default: return GL_TRIANGLES;
  }
}

Material* partMaterial(Mesh& mesh, const MeshPart& part) {
  if (part.materialIndex < 0 || part.materialIndex >= mesh.materialCount()) return nullptr;
  return &mesh.materials[part.materialIndex];
}

void setPartMaterial(const Material* m) {
  if (!m) {
    const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f}, diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    const GLfloat specular[4] = {0, 0, 0, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0.0f);
    return;
  }
  const GLfloat ambient[4] = {m->ambient[0], m->ambient[1], m->ambient[2], 1.0f};
  const GLfloat diffuse[4] = {m->diffuse[0], m->diffuse[1], m->diffuse[2], 1.0f};
  const GLfloat specular[4] = {m->specular[0], m->specular[1], m->specular[2], 1.0f};
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
  // GL accepts shininess 0..128 only; a value outside is clamped rather than ignored.
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(m->shininess, 0.0f, 128.0f));
}

void drawModelParts(SceneDocument& doc, RenderState& rs) {
  if (!doc.mesh || !doc.skinBuffers) return;
  Mesh& mesh = *doc.mesh;
  const ShaderProgram* program = activeProgram(doc, rs.shader.get());
  const bool toon = program && doc.shaderState.toonLoaded == 1;
  const unsigned int primitive = primitiveForDrawMode(doc.drawMode);

  glEnable(GL_DEPTH_TEST);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  const int parts = std::min(mesh.partCount(), static_cast<int>(doc.skinBuffers->parts.size()));
  for (int p = 0; p < parts; ++p) {
    const MeshPart& part = mesh.parts[p];
    Material* material = partMaterial(mesh, part);
    setPartMaterial(material);
    const bool textured = bindPartTexture(material, program, toon, program != nullptr);
    const SkinPart& skin = doc.skinBuffers->parts[p];
    const int count = cornerCount(part, skin);
    const bool hasTexCoords = part.texCoords.size() >= static_cast<size_t>(count);
    glNormalPointer(GL_FLOAT, 0, skin.skinNormals.data());
    if (hasTexCoords) {
      glTexCoordPointer(2, GL_FLOAT, 0, part.texCoords.data());
    } else {
      glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    glVertexPointer(3, GL_FLOAT, 0, skin.skinPositions.data());
    if (doc.drawMode == 0) glPointSize(kPointSize);
    if (program) useProgramForPart(doc, *program, textured);
    glDrawArrays(primitive, 0, count);
    if (program) program->gl.useProgram(0);
    if (textured) {
      unbindPartTexture(program, toon);
    } else if (toon) {
      program->gl.activeTexture(GL_TEXTURE1);
      glBindTexture(GL_TEXTURE_2D, 0);
      program->gl.activeTexture(GL_TEXTURE0);
    }
    if (!hasTexCoords) glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  }
}

void drawDecorations(SceneDocument& doc, bool setLight, bool respectEditMode) {
  const bool hideParts =
      respectEditMode && (isVertexWeightingMode(doc.editMode) || doc.pointPickView == 1);
  const unsigned int primitive = primitiveForDrawMode(doc.drawMode);
  for (auto& entry : doc.decorations) {
    if (!entry.second) continue;
    Mesh& mesh = *entry.second;
    glEnable(GL_DEPTH_TEST);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    if (setLight) {
      const GLfloat direction[4] = {doc.viewDirection.x, doc.viewDirection.y,
                                    doc.viewDirection.z, 0.0f};
      glLightfv(GL_LIGHT0, GL_POSITION, direction);
    }
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glShadeModel(GL_SMOOTH);
    for (const MeshPart& part : mesh.parts) {
      Material* material = partMaterial(mesh, part);
      setPartMaterial(material);
      const bool textured = bindPartTexture(material, nullptr, false, false);
      const size_t count = std::min({static_cast<size_t>(std::max(part.vertexCount, 0)),
                                     part.positions.size(), part.normals.size(),
                                     part.texCoords.size()});
      if (!hideParts) {
        glNormalPointer(GL_FLOAT, 0, part.normals.data());
        glTexCoordPointer(2, GL_FLOAT, 0, part.texCoords.data());
        glVertexPointer(3, GL_FLOAT, 0, part.positions.data());
        if (doc.drawMode == 0) glPointSize(kPointSize);
        glDrawArrays(primitive, 0, static_cast<GLsizei>(count));
      }
      if (textured) {
        glBindTexture(GL_TEXTURE_2D, 0);
        glDisable(GL_TEXTURE_2D);
      }
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
  }
}

}  // namespace lw
