// lwtool info FILE: what the program would see in an OBJ or TLO file.
#include <cstdio>
#include <memory>

#include "io/file_names.h"
#include "io/model_load.h"
#include "io/model_messages.h"
#include "io/mtl_reader.h"
#include "io/obj_reader.h"
#include "io/tlo.h"
#include "tools/lwtool/commands.h"

namespace lw::tool {

namespace {

std::string number(long long value) { return std::to_string(value); }

std::string colour(const float* c) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f %.3f %.3f", static_cast<double>(c[0]),
                static_cast<double>(c[1]), static_cast<double>(c[2]));
  return text;
}

void describeMaterials(const Mesh& mesh, std::string& out) {
  out += "materials: " + number(mesh.materialCount()) + "\n";
  for (const Material& m : mesh.materials) {
    out += "  " + utf8FromCp932(m.name) + "  Kd " + colour(m.diffuse);
    if (!m.textureFile.empty()) {
      out += "  texture " + utf8FromCp932(m.textureFile);
      if (m.texture) out += " (" + number(m.texture->width) + "x" + number(m.texture->height) + ")";
    }
    out += "\n";
  }
}

int objInfo(const std::string& path, std::string& out, std::string& err) {
  LoadResult check = checkTriangleFaces(path);
  if (check.status != LoadStatus::Loaded) {
    err = fileRefusalLine(check.title, check.message, path);
    return 1;
  }
  std::string errorText;
  std::unique_ptr<ObjMesh> obj = readObjFile(path, errorText);
  if (!obj) {
    err = fileRefusalLine(kObjReadErrorTitle, errorText, path);
    return 1;
  }
  out = "OBJ " + utf8FromCp932(path) + "\n";
  out += "positions: " + number(obj->vertexCount) + "\n";
  out += "texture coordinates: " + number(obj->texCoordCount) + "\n";
  out += "normals: " + number(obj->normalCount) + "\n";
  out += "faces: " + number(obj->faceCount) + " (corners " + number(3LL * obj->faceCount) + ")\n";
  if (int32_t leading = facesBeforeFirstGroup(*obj); leading > 0) {
    out += "faces before the first material: " + number(leading) + "\n";
  }
  out += "material groups: " + number(obj->groupCount) + "\n";
  for (int32_t g = 0; g < obj->groupCount; ++g) {
    const ObjMaterialGroup& group = obj->groups[static_cast<size_t>(g)];
    out += "  " + utf8FromCp932(group.materialName) + ": " +
           number(obj->groupFaceCounts[static_cast<size_t>(g)]) + " faces\n";
  }
  out += "material library: " + utf8FromCp932(obj->materialLibrary) + "\n";
  if (!obj->materialLibrary.empty()) {
    Mesh library;
    if (readMaterialLibrary(resolveInFolder(folderOf(path), obj->materialLibrary), library,
                            errorText) == 0) {
      describeMaterials(library, out);
    } else {
      out += "  (cannot be read)\n";
    }
  }
  return 0;
}

int tloInfo(const std::string& path, std::string& out, std::string& err) {
  std::string errorText;
  std::unique_ptr<Mesh> mesh = readTloFile(path, folderOf(path), errorText);
  if (!mesh) {
    err = fileRefusalLine(kTloErrorTitle, errorText, path);
    return 1;
  }
  if (!errorText.empty()) err = "warning: " + refusalLine(kTloErrorTitle, errorText);
  out = "TLO " + utf8FromCp932(path) + "\n";
  out += "faces: " + number(mesh->faceCount) + "\n";
  out += "parts: " + number(mesh->partCount()) + "\n";
  for (const MeshPart& part : mesh->parts) {
    std::string material = part.materialIndex >= 0
                               ? utf8FromCp932(mesh->materials[static_cast<size_t>(part.materialIndex)].name)
                               : std::string("(no material)");
    out += "  " + material + ": " + number(part.vertexCount) + " corners\n";
  }
  out += "material library: " + utf8FromCp932(mesh->materialLibrary) + "\n";
  describeMaterials(*mesh, out);
  return 0;
}

bool isTloTitle(const std::string& title) {
  size_t dot = title.find_last_of('.');
  std::string head = dot == std::string::npos ? "" : title.substr(dot + 1, 3);
  return head == "TLO" || head == "tlo";
}

}  // namespace

int runInfo(const Args& args, std::string& out, std::string& err) {
  if (args.size() != 1) {
    err = "usage: lwtool info FILE\n";
    return 2;
  }
  const std::string& path = args[0];
  const std::string title = fileTitleOf(path);
  if (isTloTitle(title)) return tloInfo(path, out, err);
  switch (fileKindOf(title)) {
    case FileKind::Obj:
      return objInfo(path, out, err);
    case FileKind::Project:
      return projectInfo(path, out, err);
    default:
      err = refusalLine(kNoExtensionTitle, kChooseExtensionMessage);
      return 1;
  }
}

}  // namespace lw::tool
