#include "core/skin_data.h"

#include <atomic>
#include <utility>

#include "core/mesh.h"

namespace lw {
namespace {

std::atomic<uint64_t> gWeightChanges{0};

void countWeightChange() { gWeightChanges.fetch_add(1, std::memory_order_relaxed); }

}  // namespace

uint64_t weightChangeCount() { return gWeightChanges.load(std::memory_order_relaxed); }

WeightList::WeightList(std::initializer_list<JointWeight> entries) : entries_(entries) {}

WeightList::WeightList(WeightList&& other) noexcept : entries_(std::move(other.entries_)) {
  other.entries_.clear();
  countWeightChange();  // `other` has been emptied
}

WeightList& WeightList::operator=(const WeightList& other) {
  entries_ = other.entries_;
  countWeightChange();
  return *this;
}

WeightList& WeightList::operator=(WeightList&& other) noexcept {
  entries_ = std::move(other.entries_);
  other.entries_.clear();
  countWeightChange();
  return *this;
}

void WeightList::clear() {
  entries_.clear();
  countWeightChange();
}

void WeightList::push_back(JointWeight entry) {
  entries_.push_back(std::move(entry));
  countWeightChange();
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
