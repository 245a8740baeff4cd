// Reading a material library (MTL): the subset the program uses, "newmtl",
// "map_Kd", "Ka", "Kd", "Ks" and "Ns".
#pragma once

#include <string>
#include <string_view>

#include "core/mesh.h"

namespace lw {

// Result of readMaterialLibrary when the file cannot be opened.
inline constexpr int kMtlCannotOpen = 75;

// Appends one Material to mesh.materials per "newmtl" line with a name (the first
// word), in file order; "Ka", "Kd", "Ks" (three floats each, into the first three
// components), "Ns" and "map_Kd" (the first word) fill the material begun last.
// Lines before the first material are ignored, and so are "newmtl" lines without a
// name (the lines after one still fill the previous material). Values that do not
// scan keep what the material held. Textures are not loaded here.
// Returns 0, or kMtlCannotOpen with "<path>の読み込みに失敗しました" in `errorText`.
int readMaterialLibrary(const std::string& path, Mesh& mesh, std::string& errorText);

// The same for library text in memory; always succeeds.
void readMaterialText(std::string_view text, Mesh& mesh);

// Reads the model's library `mesh.materialLibrary` (from `folder` unless the
// name is absolute; nothing when it is empty). A library that cannot be read
// leaves the materials plain and, when `warning` is still empty, puts the
// message and its reason there: the model opens without it.
void readModelLibrary(Mesh& mesh, const std::string& folder, std::string& warning);

// Loads the texture `material.textureFile` (from `folder` unless absolute) and
// records where it was read. A texture that cannot be loaded leaves the part
// untextured and, when `warning` is still empty, puts its name and the reason
// there.
void loadMaterialTexture(Material& material, const std::string& folder, std::string& warning);

}  // namespace lw
