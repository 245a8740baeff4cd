// The Mesh of an OBJ model built straight from its ObjMesh, without the TLO
// text in between. The result is bit for bit the Mesh that writing the TLO and
// reading it back gives: every number takes the value its "%f" text reads back
// as, parts and materials are laid out and chosen the same way, and the same
// failures are reported with the same messages.
#pragma once

#include <memory>
#include <string>

#include "core/mesh.h"
#include "io/obj_reader.h"

namespace lw {

// The value the "%f" text of `value` reads back as with "%f" (formatFixed6 then
// scanFloat).
float fixed6ReadBack(float value);

// Builds the Mesh of `obj` (every index inside its arrays, as readObjFile
// guarantees). The material library and the textures are read from `folder`
// (empty for the current folder) unless their names are absolute. A library or
// texture that cannot be read leaves the mesh without it and the first such
// problem (file and reason) in `errorText`, as a warning.
std::unique_ptr<Mesh> buildMeshFromObj(const ObjMesh& obj, const std::string& folder,
                                       std::string& errorText);

}  // namespace lw
