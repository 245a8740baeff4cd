// The program's own mesh file (TLO): a triangle model without indices, one
// position, texture coordinate and normal line per face corner, in blocks, one
// block per material. `lwtool convert` writes it; an OBJ that is opened becomes
// the Mesh this file would read back as (buildMeshFromObj), without the file.
//
// Layout (lines end in '\n'; numbers "%f" of 32-bit floats, "%d" of ints):
//   # Created by Limbweaver[TLO FILE]
//   (empty line)
//   men_part_num N      one per part, in part order
//   men_num N           total faces
//   mtllib NAME         (nothing after the space when the model names no library)
//   then blocks of corners: "v x y z" lines, an empty line, "vt u v" lines, an
//   empty line, "vn x y z" lines, an empty line; "usemtl NAME" between blocks
//   names the material of the block after it.
// The first block holds the faces before the model's first material group; it is
// empty for a model that names a material before its first face. When it is not
// empty it is a part of its own (the first "men_part_num" line), with no material.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/mesh.h"

namespace lw {

struct ObjMesh;

inline constexpr const char* kTloHeader = "# Created by Limbweaver[TLO FILE]";

// The whole TLO text of `obj`. Every index of `obj` must lie inside its arrays
// (readObjFile guarantees it).
std::string tloText(const ObjMesh& obj);

// Writes tloText(obj) to `path`. Returns 0 when written, 1 when the file cannot be
// created or written completely (no message; a partly written file is removed).
int writeTloFile(const std::string& path, const ObjMesh& obj);

// Reads the TLO file at `path` as a Mesh. Parts come from the "men_part_num"
// lines (at most 20, each 3 x N corners, zero-filled); a "usemtl" line starts the
// next part with the first material of that name from the library named on the
// "mtllib" line, or with no material (-1) when the library has none of that name;
// corner lines before any "usemtl" start the next part with no material. Corner
// lines beyond a part's size are dropped. The material library, and a material's
// texture each time a "usemtl" selects it, are read from `folder` (the folder of
// the model; empty for the current folder) unless their names are absolute.
// Returns nullptr with the message in `errorText` when the file cannot be opened,
// has no "men_num" line, or declares a negative part size or more corners than
// the file could hold. A material library that cannot be read leaves the mesh
// without materials, a texture that cannot be loaded leaves its material
// untextured; the mesh is then returned with the first such problem in
// `errorText` (its first line the library message or the texture's name, then
// the file and the reason). Otherwise `errorText` is left empty.
std::unique_ptr<Mesh> readTloFile(const std::string& path, const std::string& folder,
                                  std::string& errorText);

// The same for TLO text in memory.
std::unique_ptr<Mesh> readTloText(std::string_view text, const std::string& folder,
                                  std::string& errorText);

}  // namespace lw
