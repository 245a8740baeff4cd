// TLO text through the TLO reader, with a material library and a texture in a
// scratch folder so "mtllib" and "usemtl" lines reach the MTL and BMP readers.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <unistd.h>

#include "io/tlo.h"

namespace {

std::string folder;

void writeFile(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// A 2x1 24-bit BMP: headers and one padded row.
std::string smallBmp() {
  std::string bmp = std::string("BM") + std::string(52, '\0') + std::string(8, '\x7f');
  auto put32 = [&bmp](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
  };
  put32(2, static_cast<uint32_t>(bmp.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, 2);
  put32(22, 1);
  bmp[26] = 1;
  bmp[28] = 24;
  return bmp;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char pattern[] = "/tmp/lw_tlo_fuzz_XXXXXX";
  if (!mkdtemp(pattern)) std::abort();
  folder = std::string(pattern) + "/";
  writeFile(folder + "m.mtl", "newmtl a\nKd 1 0 0\nmap_Kd t.bmp\nnewmtl b\nKd 0 1 0\n");
  writeFile(folder + "t.bmp", smallBmp());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Device files would never end; real models do not name them.
  for (std::string_view device : {"/dev", "/proc", "/sys"}) {
    if (text.find(device) != std::string_view::npos) return 0;
  }
  std::string error;
  std::unique_ptr<lw::Mesh> mesh = lw::readTloText(text, folder, error);
  if (!mesh) {
    if (error.empty()) std::abort();
    return 0;
  }
  for (const lw::MeshPart& part : mesh->parts) {
    if (part.positions.size() != static_cast<size_t>(part.vertexCount)) std::abort();
    if (part.materialIndex >= mesh->materialCount()) std::abort();
  }
  return 0;
}
