// OBJ text through the triangle check, the reader, the TLO writer and the TLO
// reader, all in memory: whatever the input, nothing reads or writes out of
// bounds, and a model that reads converts to a TLO that reads back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "io/line_reader.h"
#include "io/obj_reader.h"
#include "io/tlo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  lw::LineReader reader;
  reader.openText(text);
  lw::firstNonTriangleLine(reader);

  std::string error;
  std::unique_ptr<lw::ObjMesh> obj = lw::readObjText(text, error);
  if (!obj) {
    if (error.empty()) std::abort();  // a failure always says why
    return 0;
  }
  obj->materialLibrary.clear();  // the library would be a file; mtl_fuzz covers its reader
  const std::string tlo = lw::tloText(*obj);
  std::unique_ptr<lw::Mesh> mesh = lw::readTloText(tlo, "", error);
  if (!mesh) std::abort();  // what the writer writes, the reader reads
  int64_t corners = 0;
  for (const lw::MeshPart& part : mesh->parts) corners += part.vertexCount;
  if (corners != 3 * static_cast<int64_t>(obj->faceCount)) std::abort();
  return 0;
}
