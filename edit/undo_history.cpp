#include "edit/undo_history.h"

#include <cstring>
#include <map>
#include <set>
#include <utility>

#include "core/joint.h"

namespace lw {

namespace {

// One corner whose weight list an edit replaced.
struct CornerChange {
  int32_t part = 0;
  int32_t corner = 0;
  WeightList before;
  WeightList after;
};

// Every corner's weights as they were at the last record, packed: joint names
// are kept once and each corner's entries lie in one array per part.
struct WeightShadow {
  struct Entry {
    uint32_t name = 0;
    float weight = 0;
  };
  struct Part {
    std::vector<uint32_t> offsets;  // corner c's entries: [offsets[c], offsets[c + 1])
    std::vector<Entry> entries;
  };
  std::vector<std::string> names;
  std::map<std::string, uint32_t> nameIds;
  std::vector<Part> parts;

  uint32_t nameId(const std::string& name) {
    const auto [it, added] = nameIds.emplace(name, static_cast<uint32_t>(names.size()));
    if (added) names.push_back(name);
    return it->second;
  }

  void take(size_t p, const SkinPart& part) {
    Part& packed = parts[p];
    packed.offsets.assign(1, 0);
    packed.entries.clear();
    for (const WeightList& list : part.skinWeights) {
      for (const JointWeight& w : list) packed.entries.push_back({nameId(w.jointName), w.weight});
      packed.offsets.push_back(static_cast<uint32_t>(packed.entries.size()));
    }
  }

  void takeAll(const SceneDocument& doc) {
    const size_t count = doc.skinBuffers ? doc.skinBuffers->parts.size() : 0;
    parts.assign(count, {});
    for (size_t p = 0; p < count; ++p) take(p, doc.skinBuffers->parts[p]);
  }

  bool sameShape(const SceneDocument& doc) const {
    const size_t count = doc.skinBuffers ? doc.skinBuffers->parts.size() : 0;
    if (count != parts.size()) return false;
    for (size_t p = 0; p < count; ++p) {
      if (doc.skinBuffers->parts[p].skinWeights.size() + 1 != parts[p].offsets.size()) return false;
    }
    return true;
  }

  bool same(size_t p, size_t c, const WeightList& list) const {
    const Part& packed = parts[p];
    const uint32_t first = packed.offsets[c];
    if (packed.offsets[c + 1] - first != list.size()) return false;
    for (size_t i = 0; i < list.size(); ++i) {
      const Entry& e = packed.entries[first + i];
      if (std::memcmp(&e.weight, &list[i].weight, sizeof e.weight) != 0 ||
          names[e.name] != list[i].jointName) {
        return false;
      }
    }
    return true;
  }

  WeightList list(size_t p, size_t c) const {
    WeightList out;
    const Part& packed = parts[p];
    for (uint32_t i = packed.offsets[c]; i < packed.offsets[c + 1]; ++i) {
      out.push_back({names[packed.entries[i].name], packed.entries[i].weight});
    }
    return out;
  }

  size_t bytes() const {
    size_t total = names.capacity() * sizeof(std::string) + nameIds.size() * 64;
    for (const Part& p : parts) {
      total += p.offsets.capacity() * sizeof(uint32_t) + p.entries.capacity() * sizeof(Entry);
    }
    return total;
  }
};

// The corners whose lists differ from the shadow, which is brought up to date.
// A document whose parts or corner counts differ from the shadow's (a model that
// came without a reset) is taken as it is, without a change.
std::vector<CornerChange> takeWeightChanges(const SceneDocument& doc, WeightShadow& shadow) {
  std::vector<CornerChange> changes;
  if (!shadow.sameShape(doc)) {
    shadow.takeAll(doc);
    return changes;
  }
  for (size_t p = 0; p < shadow.parts.size(); ++p) {
    const SkinPart& part = doc.skinBuffers->parts[p];
    const size_t before = changes.size();
    for (size_t c = 0; c < part.skinWeights.size(); ++c) {
      if (shadow.same(p, c, part.skinWeights[c])) continue;
      changes.push_back({static_cast<int32_t>(p), static_cast<int32_t>(c), shadow.list(p, c),
                         part.skinWeights[c]});
    }
    if (changes.size() != before) shadow.take(p, part);
  }
  return changes;
}

size_t stringBytes(const std::string& text) {
  return text.capacity() > 15 ? text.capacity() + 1 : 0;
}

size_t listBytes(const WeightList& list) {
  size_t total = list.size() * sizeof(JointWeight);
  for (const JointWeight& w : list) total += stringBytes(w.jointName);
  return total;
}

size_t skeletonBytes(const SkeletonValue& value) {
  size_t total = sizeof value + value.joints.capacity() * sizeof(JointValue) +
                 value.names.capacity() * sizeof(value.names[0]);
  for (const JointValue& j : value.joints) {
    total += j.children.capacity() * sizeof(int32_t) + stringBytes(j.fields.jointName) +
             stringBytes(j.fields.TreeName);
  }
  for (const auto& [name, i] : value.names) total += stringBytes(name);
  return total;
}

size_t frameBytes(const KeyFrame& frame) {
  // A map node holds its key and value behind four pointer-sized words.
  return sizeof frame + frame.poses.size() * (sizeof(PoseMap::value_type) + 32);
}

}  // namespace

std::string undoneText(const std::string& label) { return "元に戻しました：" + label; }
std::string redoneText(const std::string& label) { return "やり直しました：" + label; }

struct UndoHistory::Shadow {
  std::shared_ptr<const SkeletonValue> skeleton = std::make_shared<SkeletonValue>();
  std::shared_ptr<const KeyframesValue> keyframes = std::make_shared<KeyframesValue>();
  WeightShadow weights;
  DocumentFields fields;
  EditFields edit;
  MenuState menu;
};

struct UndoHistory::Step {
  std::string label;
  DocumentFields fieldsBefore, fieldsAfter;
  EditFields editBefore, editAfter;
  MenuState menuBefore, menuAfter;
  // Null when the step left them as they were.
  std::shared_ptr<const SkeletonValue> skeletonBefore, skeletonAfter;
  std::shared_ptr<const KeyframesValue> keyframesBefore, keyframesAfter;
  std::vector<CornerChange> weights;
};

UndoHistory::UndoHistory() : shadow_(std::make_unique<Shadow>()) {}
UndoHistory::~UndoHistory() = default;

void UndoHistory::reset(const SceneDocument& doc, const MenuState& menu) {
  steps_.clear();
  undone_ = 0;
  shadow_ = std::make_unique<Shadow>();
  shadow_->skeleton = std::make_shared<SkeletonValue>(skeletonValue(doc.skeleton));
  if (doc.keyFrames) {
    shadow_->keyframes = std::make_shared<KeyframesValue>(keyframesValue(*doc.keyFrames, nullptr));
  }
  shadow_->weights.takeAll(doc);
  shadow_->fields = documentFields(doc);
  shadow_->edit = editFields(doc);
  shadow_->menu = menu;
}

void UndoHistory::absorb(const SceneDocument& doc, const MenuState& menu) {
  Shadow& s = *shadow_;
  s.skeleton = std::make_shared<SkeletonValue>(skeletonValue(doc.skeleton));
  if (doc.keyFrames) {
    s.keyframes =
        std::make_shared<KeyframesValue>(keyframesValue(*doc.keyFrames, s.keyframes.get()));
  }
  takeWeightChanges(doc, s.weights);
  s.fields = documentFields(doc);
  s.edit = editFields(doc);
  s.menu = menu;
}

bool UndoHistory::record(const SceneDocument& doc, const std::string& label,
                         const MenuState& menu) {
  Shadow& s = *shadow_;
  auto step = std::make_unique<Step>();
  auto skeleton = std::make_shared<SkeletonValue>(skeletonValue(doc.skeleton));
  if (!(*skeleton == *s.skeleton)) {
    step->skeletonBefore = s.skeleton;
    step->skeletonAfter = skeleton;
  }
  auto keyframes = std::make_shared<KeyframesValue>(
      doc.keyFrames ? keyframesValue(*doc.keyFrames, s.keyframes.get()) : KeyframesValue{});
  if (!(*keyframes == *s.keyframes)) {
    step->keyframesBefore = s.keyframes;
    step->keyframesAfter = keyframes;
  }
  step->weights = takeWeightChanges(doc, s.weights);
  step->fieldsBefore = s.fields;
  step->fieldsAfter = documentFields(doc);
  step->editBefore = std::move(s.edit);
  step->editAfter = editFields(doc);
  step->menuBefore = std::move(s.menu);
  step->menuAfter = menu;
  s.edit = step->editAfter;
  s.menu = menu;
  if (!step->skeletonAfter && !step->keyframesAfter && step->weights.empty() &&
      step->fieldsBefore == step->fieldsAfter) {
    return false;
  }
  if (step->skeletonAfter) s.skeleton = step->skeletonAfter;
  if (step->keyframesAfter) s.keyframes = step->keyframesAfter;
  s.fields = step->fieldsAfter;
  step->label = label;
  steps_.resize(steps_.size() - undone_);
  undone_ = 0;
  steps_.push_back(std::move(step));
  while (steps_.size() > kUndoStepLimit) steps_.pop_front();
  return true;
}

std::optional<std::string> UndoHistory::undo(SceneDocument& doc, ShellUi& ui) {
  if (!canUndo()) return std::nullopt;
  ++undone_;
  const Step& step = *steps_[steps_.size() - undone_];
  apply(step, false, doc, ui);
  return step.label;
}

std::optional<std::string> UndoHistory::redo(SceneDocument& doc, ShellUi& ui) {
  if (!canRedo()) return std::nullopt;
  const Step& step = *steps_[steps_.size() - undone_];
  --undone_;
  apply(step, true, doc, ui);
  return step.label;
}

void UndoHistory::apply(const Step& step, bool forward, SceneDocument& doc, ShellUi& ui) {
  Shadow& s = *shadow_;
  if (step.skeletonAfter) {
    s.skeleton = forward ? step.skeletonAfter : step.skeletonBefore;
    restoreSkeleton(*s.skeleton, doc.skeleton);
    rebuildBoneTree(doc.skeleton, ui);
  }
  if (step.keyframesAfter) {
    s.keyframes = forward ? step.keyframesAfter : step.keyframesBefore;
    if (doc.keyFrames) restoreKeyframes(*s.keyframes, *doc.keyFrames);
  }
  if (!step.weights.empty() && s.weights.sameShape(doc)) {
    std::set<int32_t> parts;
    for (const CornerChange& change : step.weights) {
      doc.skinBuffers->parts[change.part].skinWeights[change.corner] =
          forward ? change.after : change.before;
      parts.insert(change.part);
    }
    for (int32_t p : parts) s.weights.take(p, doc.skinBuffers->parts[p]);
  }
  s.fields = forward ? step.fieldsAfter : step.fieldsBefore;
  restoreDocumentFields(s.fields, doc);
  s.edit = forward ? step.editAfter : step.editBefore;
  restoreEditFields(s.edit, doc);
  s.menu = forward ? step.menuAfter : step.menuBefore;
  applyMenuState(s.menu, ui);
  // The frame display shows the keyframe at the cursor, or nothing.
  if (doc.keyFrames && findKeyFrameByNumber(*doc.keyFrames, doc.keyFrames->currentNumber)) {
    ui.refreshMotionPanel();
  } else {
    ui.resetFrameDisplay();
  }
  ui.redraw();
}

size_t UndoHistory::stepBytes() const {
  size_t total = 0;
  std::set<const void*> counted;
  const auto once = [&](const void* value) { return value && counted.insert(value).second; };
  for (const auto& step : steps_) {
    total +=
        sizeof(Step) + stringBytes(step->label) +
        (step->menuBefore.capacity() + step->menuAfter.capacity()) * sizeof(MenuItemState) +
        (step->editBefore.vertexSelection.capacity() + step->editAfter.vertexSelection.capacity()) *
            sizeof(CornerRef) +
        step->weights.capacity() * sizeof(CornerChange);
    for (const CornerChange& change : step->weights) {
      total += listBytes(change.before) + listBytes(change.after);
    }
    for (const auto& skeleton : {step->skeletonBefore, step->skeletonAfter}) {
      if (once(skeleton.get())) total += skeletonBytes(*skeleton);
    }
    for (const auto& keyframes : {step->keyframesBefore, step->keyframesAfter}) {
      if (!once(keyframes.get())) continue;
      total += sizeof(KeyframesValue) + keyframes->frames.capacity() * sizeof(FrozenKeyFrame);
      for (const FrozenKeyFrame& frame : keyframes->frames) {
        if (once(frame.get())) total += frameBytes(*frame);
      }
    }
  }
  return total;
}

size_t UndoHistory::weightShadowBytes() const { return shadow_->weights.bytes(); }

}  // namespace lw
