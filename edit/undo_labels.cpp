#include "edit/undo_labels.h"

#include "core/document.h"
#include "skeleton/view_input.h"

namespace lw {

namespace {

struct ModeLabel {
  int32_t entry;  // the family's entry value; its sub-states lie above it
  const char* label;
};

// In ascending order of entry value: a mode belongs to the last entry not above it.
constexpr ModeLabel kModeLabels[] = {
    {Idle, "3Dウィンドウでの操作"},
    {PlaceChildJoint, "子ジョイントの配置"},
    {MoveChildJoint, "子ジョイントの移動"},
    {PlaceWeightBox, "重み付けボックスの配置"},
    {kModeChildParentPicking, "子ジョイントの配置"},  // the child placement's second click
    {PlaceRootJoint, "基準ジョイント配置"},
    {MoveWeightBoxFace, "重み付けボックスの面の移動"},
    {RotateFk, "FKでジョイントを回転"},
    {WeightByVertex, "頂点選択で重み付け"},
    {EditFkAxis, "FK用の回転軸の編集"},
    {RotateIk, "IKでジョイントを回転"},
    {EqualiseBoneLengths, "ボーンの長さを揃える"},
    {StopIk, "IKでのジョイントの回転停止"},
    {DeleteChildJoint, "子ジョイントの削除"},
    {NameJoint, "ジョイントに名前をつける"},
    {MirrorJoint, "ジョイントを対称位置にする"},
    {MoveRootJoint, "基準ジョイントの移動"},
    {Animation, "3Dウィンドウでの操作"},
};

}  // namespace

std::string undoLabelForEditMode(int32_t editMode) {
  const char* label = kModeLabels[0].label;
  for (const ModeLabel& m : kModeLabels) {
    if (m.entry <= editMode) label = m.label;
  }
  return label;
}

}  // namespace lw
