// Exporting the current pose as a Wavefront OBJ file beside a copy of its
// material library. Positions and normals come from the skin buffers (the shape
// last deformed, or the model as loaded), texture coordinates from the mesh. The
// file is unindexed: the k-th corner written carries the number k as its
// position, texture-coordinate and normal index.
#pragma once

#include <string>

#include "core/document.h"

namespace lw {

inline constexpr const char* kObjExportHeader = "# Created by Limbweaver[OBJ FILE]";

// The result of exportObj when the OBJ file cannot be written.
inline constexpr int kObjNotWritten = 1;

// The base of a saved name: the name without its last four characters (a dot
// and a three-letter extension), whatever the extension's real length.
std::string exportBaseName(const std::string& name);

// The text of the OBJ file: the header and an empty line, "mtllib" with
// `materialFileName`, every corner's "v" (skin positions), "vt" (mesh texture
// coordinates) and "vn" (skin normals) with "%f" numbers, then per part "g ",
// "usemtl" with its material's name (empty for a part without a material) and
// one "f" line per triangle, then an empty line. Parts without triangles write
// their two lines only; leftover corners of a part that is not whole triangles
// are numbered but make no face. Empty without a model and skin buffers.
std::string objExportText(const SceneDocument& doc, const std::string& materialFileName);

// Saves the model to `path` (fileTitle is its name without folder) as one unit:
// the OBJ, which names the base title + ".mtl"; a copy of the model's material
// library (doc.materialLibraryName) at the base path + ".mtl"; and a copy of
// each loaded texture the library names with a relative name, at that name in
// the OBJ's folder. All are written to temporary files first and replace their
// targets only when every one is complete; a file is never copied onto itself,
// and a library that cannot be read is not copied. Returns 0, or kObjNotWritten
// when there is no model or any file cannot be written (then every existing
// file is kept and no new one is left).
int exportObj(const SceneDocument& doc, const std::string& path, const std::string& fileTitle);

}  // namespace lw
