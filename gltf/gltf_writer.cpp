#include "gltf/gltf_writer.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <memory>
#include <string_view>

#include <nlohmann/json.hpp>

#include "core/replacing_file.h"
#include "core/text_encoding.h"
#include "gltf/png_image.h"

namespace lw {

namespace {

using nlohmann::json;

constexpr int kFloat = 5126;
constexpr int kUnsignedShort = 5123;
constexpr int kArrayBuffer = 34962;

std::string lastPiece(std::string_view title) {
  const size_t dot = title.find_last_of('.');
  return dot == std::string_view::npos ? std::string() : std::string(title.substr(dot + 1));
}

// Bytes outside the unreserved set of a URI as %XX.
std::string uriOf(const std::string& utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : utf8) {
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

// The binary buffer and the JSON lists that describe pieces of it.
class Assembler {
 public:
  json root = json::object();
  std::vector<uint8_t> bin;

  int view(const void* data, size_t bytes, int target) {
    while (bin.size() % 4 != 0) bin.push_back(0);
    json v = {{"buffer", 0}, {"byteOffset", bin.size()}, {"byteLength", bytes}};
    if (target != 0) v["target"] = target;
    const auto* p = static_cast<const uint8_t*>(data);
    bin.insert(bin.end(), p, p + bytes);
    return append("bufferViews", std::move(v));
  }

  int accessor(const std::vector<float>& values, const char* type, int components, int target,
               bool bounds) {
    json a = {{"bufferView", view(values.data(), values.size() * sizeof(float), target)},
              {"componentType", kFloat},
              {"count", values.size() / static_cast<size_t>(components)},
              {"type", type}};
    if (bounds) {
      std::vector<double> low(static_cast<size_t>(components)), high(low.size());
      for (size_t i = 0; i < values.size(); ++i) {
        const size_t k = i % low.size();
        low[k] = i < low.size() ? values[i] : std::min<double>(low[k], values[i]);
        high[k] = i < high.size() ? values[i] : std::max<double>(high[k], values[i]);
      }
      a["min"] = low;
      a["max"] = high;
    }
    return append("accessors", std::move(a));
  }

  int jointAccessor(const std::vector<uint16_t>& values) {
    json a = {{"bufferView", view(values.data(), values.size() * 2, kArrayBuffer)},
              {"componentType", kUnsignedShort},
              {"count", values.size() / 4},
              {"type", "VEC4"}};
    return append("accessors", std::move(a));
  }

  int append(const char* list, json item) {
    json& array = root[list];
    if (array.is_null()) array = json::array();
    array.push_back(std::move(item));
    return static_cast<int>(array.size()) - 1;
  }
};

std::string nodeName(const Joint& joint) {
  return utf8FromCp932(joint.TreeName.empty() ? joint.jointName : joint.TreeName);
}

void addNodes(Assembler& out, const ExportRig& rig, const std::string& meshName) {
  json scene = {{"nodes", json::array()}};
  for (size_t i = 0; i < rig.nodes.size(); ++i) {
    const RigNode& node = rig.nodes[i];
    json n = {{"name", nodeName(*node.joint)}};
    const auto& t = node.restTranslation;
    if (t[0] != 0 || t[1] != 0 || t[2] != 0) {
      n["translation"] = {static_cast<float>(t[0]), static_cast<float>(t[1]),
                          static_cast<float>(t[2])};
    }
    json children = json::array();
    for (size_t c = 0; c < rig.nodes.size(); ++c) {
      if (rig.nodes[c].parent == static_cast<int>(i)) children.push_back(c);
    }
    if (!children.empty()) n["children"] = children;
    if (node.parent < 0) scene["nodes"].push_back(i);
    out.append("nodes", std::move(n));
  }
  scene["nodes"].push_back(rig.nodes.size());
  json meshNode = {{"name", meshName}, {"mesh", 0}};
  if (!rig.nodes.empty()) meshNode["skin"] = 0;
  out.append("nodes", std::move(meshNode));
  out.root["scene"] = 0;
  out.append("scenes", std::move(scene));
}

void addSkin(Assembler& out, const ExportRig& rig) {
  if (rig.nodes.empty()) return;
  std::vector<float> matrices;
  json joints = json::array();
  for (size_t i = 0; i < rig.nodes.size(); ++i) {
    const Vec3d& w = rig.nodes[i].restWorld;
    // Column-major: the inverse of the rest pose is a translation back to the origin.
    const float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -static_cast<float>(w[0]),
                         -static_cast<float>(w[1]), -static_cast<float>(w[2]), 1};
    matrices.insert(matrices.end(), m, m + 16);
    joints.push_back(i);
  }
  int roots = 0;
  for (const RigNode& node : rig.nodes) roots += node.parent < 0 ? 1 : 0;
  json skin = {{"joints", joints},
               {"inverseBindMatrices", out.accessor(matrices, "MAT4", 16, 0, false)}};
  if (roots == 1) skin["skeleton"] = 0;
  out.append("skins", std::move(skin));
}

void addAnimation(Assembler& out, const ExportRig& rig) {
  if (rig.samples.empty() || rig.nodes.empty()) return;
  std::vector<float> times;
  for (const RigSample& s : rig.samples) {
    times.push_back(static_cast<float>((s.timeMs - rig.samples.front().timeMs) / 1000.0));
  }
  const int input = out.accessor(times, "SCALAR", 1, 0, true);
  json samplers = json::array(), channels = json::array();
  auto channel = [&](size_t node, const char* path, const std::vector<float>& values,
                     const char* type, int components) {
    channels.push_back({{"sampler", samplers.size()}, {"target", {{"node", node}, {"path", path}}}});
    samplers.push_back({{"input", input},
                        {"output", out.accessor(values, type, components, 0, false)},
                        {"interpolation", "LINEAR"}});
  };
  for (size_t i = 0; i < rig.nodes.size(); ++i) {
    std::vector<float> rotations;
    for (const RigSample& s : rig.samples) {
      for (double v : s.rotations[i]) rotations.push_back(static_cast<float>(v));
    }
    channel(i, "rotation", rotations, "VEC4", 4);
  }
  std::vector<float> translations;
  for (const RigSample& s : rig.samples) {
    for (double v : s.baseTranslation) translations.push_back(static_cast<float>(v));
  }
  channel(0, "translation", translations, "VEC3", 3);
  out.append("animations", {{"name", "animation"}, {"samplers", samplers}, {"channels", channels}});
}

// Materials in part order of first use; the index for each part.
std::vector<int> addMaterials(Assembler& out, const Mesh& mesh, GltfFiles& files,
                              const std::string& sideBase, bool binary) {
  std::vector<int> forMaterial(mesh.materials.size() + 1, -1);  // the last: no material
  std::vector<int> forPart;
  for (const MeshPart& part : mesh.parts) {
    const bool known = part.materialIndex >= 0 && part.materialIndex < mesh.materialCount();
    const size_t key = known ? static_cast<size_t>(part.materialIndex) : mesh.materials.size();
    if (forMaterial[key] < 0) {
      json pbr = {{"metallicFactor", 0.0}, {"roughnessFactor", 1.0}};
      json material = json::object();
      if (known) {
        const Material& m = mesh.materials[key];
        material["name"] = utf8FromCp932(m.name);
        json colour = json::array();
        for (float c : m.diffuse) colour.push_back(std::clamp(c, 0.0f, 1.0f));
        pbr["baseColorFactor"] = colour;
        if (m.diffuse[3] < 1.0f) material["alphaMode"] = "BLEND";
        std::vector<uint8_t> png = m.texture ? pngFromBmp(*m.texture) : std::vector<uint8_t>();
        if (!png.empty()) {
          json image = {{"mimeType", "image/png"}};
          const int imageIndex = out.root.contains("images") ? static_cast<int>(out.root["images"].size()) : 0;
          if (binary) {
            image["bufferView"] = out.view(png.data(), png.size(), 0);
          } else {
            const std::string name = sideBase.substr(sideBase.find_last_of("/\\") + 1) + "_" +
                                     std::to_string(imageIndex) + ".png";
            image["uri"] = uriOf(utf8FromCp932(name));
            files.files.emplace_back(sideBase + "_" + std::to_string(imageIndex) + ".png",
                                     std::move(png));
          }
          out.append("images", std::move(image));
          pbr["baseColorTexture"] = {{"index", out.append("textures", {{"source", imageIndex}})}};
        }
      } else {
        pbr["baseColorFactor"] = {0.5, 0.5, 0.5, 1.0};
      }
      material["pbrMetallicRoughness"] = pbr;
      forMaterial[key] = out.append("materials", std::move(material));
    }
    forPart.push_back(forMaterial[key]);
  }
  return forPart;
}

void addMesh(Assembler& out, const Mesh& mesh, const ExportRig& rig,
             const std::vector<int>& materialOfPart) {
  json primitives = json::array();
  for (size_t p = 0; p < mesh.parts.size(); ++p) {
    const MeshPart& part = mesh.parts[p];
    const size_t n = static_cast<size_t>(part.vertexCount);
    if (n == 0 || part.positions.size() < n || part.normals.size() < n ||
        part.texCoords.size() < n) {
      continue;
    }
    std::vector<float> positions, normals, uvs;
    for (size_t c = 0; c < n; ++c) {
      const Vector3 v = part.positions[c];
      positions.insert(positions.end(), {v.x, v.y, v.z});
      const Vector3 d = part.normals[c];
      const double length = std::sqrt(double(d.x) * d.x + double(d.y) * d.y + double(d.z) * d.z);
      if (length > 0) {
        normals.insert(normals.end(), {static_cast<float>(d.x / length),
                                       static_cast<float>(d.y / length),
                                       static_cast<float>(d.z / length)});
      } else {
        normals.insert(normals.end(), {0.0f, 1.0f, 0.0f});  // a normal needs a direction
      }
      uvs.insert(uvs.end(), {part.texCoords[c].u, 1.0f - part.texCoords[c].v});
    }
    json attributes = {{"POSITION", out.accessor(positions, "VEC3", 3, kArrayBuffer, true)},
                       {"NORMAL", out.accessor(normals, "VEC3", 3, kArrayBuffer, false)},
                       {"TEXCOORD_0", out.accessor(uvs, "VEC2", 2, kArrayBuffer, false)}};
    if (!rig.nodes.empty() && p < rig.parts.size() && rig.parts[p].size() >= n) {
      size_t sets = 1;
      for (size_t c = 0; c < n; ++c) sets = std::max(sets, (rig.parts[p][c].influences.size() + 3) / 4);
      for (size_t s = 0; s < sets; ++s) {
        std::vector<uint16_t> joints(4 * n, 0);
        std::vector<float> weights(4 * n, 0.0f);
        for (size_t c = 0; c < n; ++c) {
          const auto& influences = rig.parts[p][c].influences;
          for (size_t k = 4 * s; k < influences.size() && k < 4 * s + 4; ++k) {
            joints[4 * c + k - 4 * s] = influences[k].first;
            weights[4 * c + k - 4 * s] = influences[k].second;
          }
        }
        attributes["JOINTS_" + std::to_string(s)] = out.jointAccessor(joints);
        attributes["WEIGHTS_" + std::to_string(s)] =
            out.accessor(weights, "VEC4", 4, kArrayBuffer, false);
      }
    }
    primitives.push_back({{"attributes", attributes}, {"material", materialOfPart[p]}});
  }
  out.append("meshes", {{"primitives", primitives}});
}

void appendChunk(std::vector<uint8_t>& file, uint32_t type, const std::vector<uint8_t>& data,
                 uint8_t pad) {
  std::vector<uint8_t> chunk = data;
  while (chunk.size() % 4 != 0) chunk.push_back(pad);
  const uint32_t header[2] = {static_cast<uint32_t>(chunk.size()), type};
  const auto* h = reinterpret_cast<const uint8_t*>(header);
  file.insert(file.end(), h, h + sizeof header);
  file.insert(file.end(), chunk.begin(), chunk.end());
}

}  // namespace

bool isGltfFileTitle(std::string_view fileTitle) {
  const std::string piece = lastPiece(fileTitle);
  return piece == "glb" || piece == "GLB" || piece == "gltf" || piece == "GLTF";
}

bool isBinaryGltfTitle(std::string_view fileTitle) {
  const std::string piece = lastPiece(fileTitle);
  return piece == "glb" || piece == "GLB";
}

GltfFiles buildGltf(const SceneDocument& doc, const ExportRig& rig, const std::string& path,
                    const std::string& fileTitle) {
  const bool binary = isBinaryGltfTitle(fileTitle);
  const std::string sideBase = path.substr(0, path.size() - lastPiece(fileTitle).size() - 1);
  GltfFiles files;
  files.files.emplace_back(path, std::vector<uint8_t>());
  Assembler out;
  out.root["asset"] = {{"version", "2.0"}, {"generator", "Limbweaver"}};
  static const Mesh kNoMesh;
  const Mesh& mesh = doc.mesh ? *doc.mesh : kNoMesh;
  addNodes(out, rig, utf8FromCp932(doc.modelFileName.empty() ? "model" : doc.modelFileName));
  const std::vector<int> materialOfPart = addMaterials(out, mesh, files, sideBase, binary);
  addMesh(out, mesh, rig, materialOfPart);
  addSkin(out, rig);
  addAnimation(out, rig);
  json buffer = {{"byteLength", out.bin.size()}};
  if (!binary) {
    const std::string binName = sideBase + ".bin";
    buffer["uri"] = uriOf(utf8FromCp932(binName.substr(binName.find_last_of("/\\") + 1)));
    files.files.emplace_back(binName, out.bin);
  }
  out.root["buffers"] = json::array({buffer});
  const std::string text = out.root.dump(-1, ' ', false, json::error_handler_t::replace);
  std::vector<uint8_t>& first = files.files.front().second;
  if (!binary) {
    first.assign(text.begin(), text.end());
    return files;
  }
  const uint32_t header[3] = {0x46546C67u, 2, 0};  // "glTF", version, length
  first.resize(sizeof header);
  appendChunk(first, 0x4E4F534Au, std::vector<uint8_t>(text.begin(), text.end()), ' ');
  appendChunk(first, 0x004E4942u, out.bin, 0);
  std::memcpy(first.data(), header, 8);
  const uint32_t length = static_cast<uint32_t>(first.size());
  std::memcpy(first.data() + 8, &length, 4);
  return files;
}

bool writeGltfFiles(const GltfFiles& gltf) {
  // The JSON, its buffer and its images are one unit: none replaces an old file
  // unless all of them were written completely.
  std::vector<std::unique_ptr<ReplacingFile>> files;
  for (const auto& [name, bytes] : gltf.files) {
    files.push_back(std::make_unique<ReplacingFile>(name));
    files.back()->write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  return commitAll(files);
}

int exportGltf(SceneDocument& doc, const std::string& path, const std::string& fileTitle) {
  const ExportRig rig = buildExportRig(doc, kDefaultExportFps);
  return writeGltfFiles(buildGltf(doc, rig, path, fileTitle)) ? 0 : 1;
}

}  // namespace lw
