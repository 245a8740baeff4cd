#include "edit/undo_labels.h"

#include "core/command_ids.h"
#include "core/document.h"

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

const char* commandLabel(int id) {
  switch (id) {
    case IDM_FIX_POSITIONS:
      return "ジョイントの位置を確定する";
    case IDM_ROTATE_FK:
      return "FKでジョイントを回転";
    case IDM_ROTATE_IK:
      return "IKでジョイントを回転";
    case IDM_RESET_ROTATIONS:
      return "すべてのジョイント回転を元に戻す";
    case IDM_WEIGHT_BOX:
      return "重み付けボックス内の頂点に重みをつける";
    case IDM_SHOW_WEIGHT_BOX:
      return "重み付けボックスの表示/非表示";
    case IDM_WEIGHT_BY_VERTEX:
      return "頂点選択で重み付け";
    case IDM_SKINNING_ON:
    case IDM_SKINNING_OFF:
      return "スキニング処理";
    case IDM_AXIS_REVERSED:
      return "回転軸を逆方向にする";
    case IDM_KEYFRAME_CREATE:
      return "現在の姿勢をキーフレームにする";
    case IDM_KEYFRAME_NEXT:
      return "次のキーフレームを参照";
    case IDM_KEYFRAME_PREVIOUS:
      return "前のキーフレームを参照";
    case IDM_KEYFRAME_DELETE:
      return "表示しているキーフレームを削除";
    case IDM_KEYFRAME_BONES:
      return "キーフレームのボーン表示";
    case IDM_INTERPOLATION:
      return "補間方法";
    case IDM_PLAY_ALL:
    case IDM_PLAY_RANGE:
      return "フレーム選択";
    default:
      return nullptr;
  }
}

}  // namespace

std::string undoLabelForCommand(int id, int32_t editMode) {
  const char* label = commandLabel(id);
  return label ? std::string(label) : undoLabelForEditMode(editMode);
}

std::string undoLabelForEditMode(int32_t editMode) {
  const char* label = kModeLabels[0].label;
  for (const ModeLabel& m : kModeLabels) {
    if (m.entry <= editMode) label = m.label;
  }
  return label;
}

}  // namespace lw
