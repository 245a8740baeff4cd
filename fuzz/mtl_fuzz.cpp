// Material library text through the MTL reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "io/mtl_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lw::Mesh mesh;
  lw::readMaterialText(std::string_view(reinterpret_cast<const char*>(data), size), mesh);
  for (const lw::Material& m : mesh.materials) {
    if (m.name.empty()) std::abort();  // nameless "newmtl" lines add no material
  }
  return 0;
}
