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

}  // namespace lw
