#include "core/skin_data.h"

#include <utility>

#include "core/mesh.h"

namespace lw {

WeightList::WeightList(std::initializer_list<JointWeight> entries) : entries_(entries) {}

WeightList::WeightList(WeightList&& other) noexcept : entries_(std::move(other.entries_)) {
  other.entries_.clear();
  other.countChange();  // `other` has been emptied
}

WeightList& WeightList::operator=(const WeightList& other) {
  entries_ = other.entries_;
  countChange();
  return *this;
}

WeightList& WeightList::operator=(WeightList&& other) noexcept {
  entries_ = std::move(other.entries_);
  other.entries_.clear();
  countChange();
  other.countChange();
  return *this;
}

void WeightList::clear() {
  entries_.clear();
  countChange();
}

void WeightList::push_back(JointWeight entry) {
  entries_.push_back(std::move(entry));
  countChange();
}

std::unique_ptr<SkinBuffers> makeSkinBuffers(const Mesh& mesh) {
  auto buffers = std::make_unique<SkinBuffers>();
  buffers->parts.resize(mesh.parts.size());
  for (size_t p = 0; p < mesh.parts.size(); ++p) {
    const MeshPart& part = mesh.parts[p];
    SkinPart& skin = buffers->parts[p];
    skin.skinPositions = part.positions;
    skin.skinNormals = part.normals;
    skin.skinNormals.resize(part.positions.size());
    skin.skinWeights.resize(part.positions.size());
  }
  return buffers;
}

}  // namespace lw
