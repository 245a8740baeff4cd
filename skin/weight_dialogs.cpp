#include "skin/weight_dialogs.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include "core/number_text.h"
#include "skin/weight_box.h"

namespace lw {
namespace {

// The picked sub-state of WeightByVertex (a vertex has been hit).

constexpr char kWeightRangeMessage[] = "重みの範囲は0.0～1.0を指定してください。";
constexpr char kWeightRangeTitle[] = "重みの値";
constexpr char kUnknownJointMessage[] = "実在しないジョイント番号が入力されています";
constexpr char kUnknownJointTitle[] = "ジョイント番号";

bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

int32_t parseInteger(const std::string& text) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str()) return 0;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

double parseDecimal(const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  return end == text.c_str() ? 0.0 : value;
}

bool isWeightInRange(double w) { return w >= 0.0 && w <= 1.0; }  // false for NaN

// An exact position as a hash key: +0 and -0 are the same position.
struct PositionKey {
  float x, y, z;
  friend bool operator==(const PositionKey& a, const PositionKey& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
  }
};

struct PositionHash {
  size_t operator()(const PositionKey& k) const {
    auto bits = [](float f) {
      uint32_t u = 0;
      const float g = f == 0.0f ? 0.0f : f;
      std::memcpy(&u, &g, sizeof u);
      return static_cast<size_t>(u);
    };
    size_t h = bits(k.x);
    h = h * 0x9E3779B97F4A7C15ull + bits(k.y);
    h = h * 0x9E3779B97F4A7C15ull + bits(k.z);
    return h ^ (h >> 29);
  }
};

bool isCorner(const SkinBuffers& skin, CornerRef ref) {
  return ref.part >= 0 && static_cast<size_t>(ref.part) < skin.parts.size() && ref.corner >= 0 &&
         static_cast<size_t>(ref.corner) < skin.parts[ref.part].skinWeights.size() &&
         static_cast<size_t>(ref.corner) < skin.parts[ref.part].skinPositions.size();
}

}  // namespace

const char* weightCheckMessage(WeightCheck check) {
  switch (check) {
    case WeightCheck::WeightOutOfRange: return kWeightRangeMessage;
    case WeightCheck::UnknownJoint: return kUnknownJointMessage;
    case WeightCheck::Ok: break;
  }
  return "";
}

const char* weightCheckTitle(WeightCheck check) {
  switch (check) {
    case WeightCheck::WeightOutOfRange: return kWeightRangeTitle;
    case WeightCheck::UnknownJoint: return kUnknownJointTitle;
    case WeightCheck::Ok: break;
  }
  return "";
}

std::string firstChars(const std::string& text, int maxChars) {
  size_t i = 0;
  for (int n = 0; n < maxChars && i < text.size(); ++n) {
    const bool wide = isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
    i += wide ? 2 : 1;
  }
  return text.substr(0, i);
}

WeightRows readWeightRows(WeightDialogKind kind, const WeightRowTexts& texts) {
  const bool vertex = kind == WeightDialogKind::Vertex;
  const int numberChars = vertex ? kVertexDialogNumberChars : kBoxDialogFieldChars;
  const int weightChars = vertex ? kVertexDialogWeightChars : kBoxDialogFieldChars;
  WeightRows rows;
  for (int r = 0; r < kWeightRowCount; ++r) {
    rows[r].jointNumber = parseInteger(firstChars(texts[r].jointNumber, numberChars));
    rows[r].weight = parseDecimal(firstChars(texts[r].weight, weightChars));
  }
  return rows;
}

std::string weightFieldWithoutNumber(WeightDialogKind kind, const WeightRowTexts& texts) {
  const bool vertex = kind == WeightDialogKind::Vertex;
  const int numberChars = vertex ? kVertexDialogNumberChars : kBoxDialogFieldChars;
  const int weightChars = vertex ? kVertexDialogWeightChars : kBoxDialogFieldChars;
  for (int r = 0; r < kWeightRowCount; ++r) {
    const std::string row = std::to_string(r + 1) + "行目の";
    const std::string number = firstChars(texts[r].jointNumber, numberChars);
    if (!number.empty() && !holdsInteger(number)) return row + "ジョイント番号";
    const std::string weight = firstChars(texts[r].weight, weightChars);
    if (!weight.empty() && !holdsDecimal(weight)) return row + "重み";
  }
  return "";
}

std::string jointNameForNumber(const JointSet& skeleton, int32_t number) {
  if (number == 0) return kNoJointName;
  for (const auto& joint : skeleton.jointOrder) {
    if (joint->jointID == number) return joint->jointName;
  }
  return kNoJointName;
}

WeightCheck checkWeightRows(WeightDialogKind kind, const WeightRows& rows,
                            const JointSet& skeleton) {
  for (const WeightRow& row : rows) {
    if (!isWeightInRange(row.weight)) return WeightCheck::WeightOutOfRange;
  }
  if (kind == WeightDialogKind::Vertex) {
    for (const WeightRow& row : rows) {
      if (row.jointNumber != 0 && jointNameForNumber(skeleton, row.jointNumber) == kNoJointName) {
        return WeightCheck::UnknownJoint;
      }
    }
  }
  return WeightCheck::Ok;
}

WeightList weightListFromRows(const WeightRows& rows, const JointSet& skeleton) {
  WeightList list;
  for (const WeightRow& row : rows) {
    if (row.jointNumber <= 0) continue;
    std::string name = jointNameForNumber(skeleton, row.jointNumber);
    if (skeleton.joints.find(name) == skeleton.joints.end()) continue;
    list.push_back({std::move(name), static_cast<float>(row.weight)});
  }
  return list;
}

size_t applyVertexWeights(SkinBuffers& skin, const VertexSelection& selection,
                          const WeightList& list, bool propagate) {
  std::unordered_set<PositionKey, PositionHash> picked;
  size_t given = 0;
  for (CornerRef ref : selection) {
    if (!isCorner(skin, ref)) continue;
    SkinPart& part = skin.parts[ref.part];
    part.skinWeights[ref.corner] = list;
    ++given;
    const Vector3 p = part.skinPositions[ref.corner];
    picked.insert({p.x, p.y, p.z});
  }
  if (!propagate || picked.empty()) return given;
  given = 0;
  for (SkinPart& part : skin.parts) {
    const size_t n = std::min(part.skinPositions.size(), part.skinWeights.size());
    for (size_t c = 0; c < n; ++c) {
      const Vector3 p = part.skinPositions[c];
      if (picked.count({p.x, p.y, p.z}) == 0) continue;
      part.skinWeights[c] = list;
      ++given;
    }
  }
  return given;
}

size_t applyBoxWeights(SkinBuffers& skin, const WeightBox& box, const WeightList& list) {
  size_t given = 0;
  for (SkinPart& part : skin.parts) {
    const size_t n = std::min(part.skinPositions.size(), part.skinWeights.size());
    for (size_t c = 0; c < n; ++c) {
      if (!isInsideWeightBox(box, part.skinPositions[c])) continue;
      part.skinWeights[c] = list;
      ++given;
    }
  }
  return given;
}

WeightCheck acceptVertexWeightDialog(SceneDocument& doc, const WeightRowTexts& texts) {
  const WeightRows rows = readWeightRows(WeightDialogKind::Vertex, texts);
  const WeightCheck check = checkWeightRows(WeightDialogKind::Vertex, rows, doc.skeleton);
  if (check != WeightCheck::Ok || !doc.skinBuffers) return check;
  applyVertexWeights(*doc.skinBuffers, doc.vertexSelection, weightListFromRows(rows, doc.skeleton),
                     doc.editMode == kModeVertexPicked);
  return WeightCheck::Ok;
}

WeightCheck acceptBoxWeightDialog(SceneDocument& doc, const WeightRowTexts& texts) {
  const WeightRows rows = readWeightRows(WeightDialogKind::Box, texts);
  const WeightCheck check = checkWeightRows(WeightDialogKind::Box, rows, doc.skeleton);
  if (check != WeightCheck::Ok || !doc.skinBuffers || doc.weightBoxShown != 1) return check;
  applyBoxWeights(*doc.skinBuffers, doc.weightBox, weightListFromRows(rows, doc.skeleton));
  return WeightCheck::Ok;
}

WeightRowTexts vertexDialogInitialRows(const SceneDocument& doc) {
  WeightRowTexts texts;
  if (doc.vertexSelection.size() != 1 || !doc.skinBuffers) return texts;
  const CornerRef ref = doc.vertexSelection.front();
  if (!isCorner(*doc.skinBuffers, ref)) return texts;
  int row = 0;
  for (const JointWeight& entry : doc.skinBuffers->parts[ref.part].skinWeights[ref.corner]) {
    if (row == kWeightRowCount) break;
    const auto joint = doc.skeleton.joints.find(entry.jointName);
    if (joint == doc.skeleton.joints.end()) continue;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d", joint->second->jointID);
    texts[row].jointNumber = buffer;
    std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(entry.weight));
    texts[row].weight = buffer;
    ++row;
  }
  return texts;
}

CornerRef cornerFromRunningNumber(const SkinBuffers& skin, int64_t number) {
  if (number < 0) return {-1, -1};
  for (size_t p = 0; p < skin.parts.size(); ++p) {
    const int64_t count = static_cast<int64_t>(skin.parts[p].skinPositions.size());
    if (number < count) return {static_cast<int>(p), static_cast<int>(number)};
    number -= count;
  }
  return {-1, -1};
}

bool selectPickedCorner(SceneDocument& doc, int pickName) {
  if (!doc.skinBuffers) return false;
  const CornerRef ref =
      cornerFromRunningNumber(*doc.skinBuffers, static_cast<int64_t>(pickName) - kVertexPickBase);
  if (ref.part < 0) return false;
  doc.vertexSelection.push_back(ref);
  return true;
}

}  // namespace lw
