// The logic of the two weighting dialogs and of the vertex selection: dialog 103
// "頂点を選択して重み付け" weights the selected corners (and every corner lying
// exactly on one of them), dialog 105 "重み付けボックスで重み付け" weights every
// corner inside the weighting box. Both have twenty rows of a joint number and a
// weight. The windows only gather the texts of the rows and show what these
// functions return: a message and title to show (the dialog stays open) or
// success (the dialog closes).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/document.h"
#include "core/joint.h"
#include "core/skin_data.h"

namespace lw {

inline constexpr int kWeightRowCount = 20;

enum class WeightDialogKind {
  Vertex,  // dialog 103: a number field reads at most 3 characters, a weight 29
  Box,     // dialog 105: both read at most 255 characters
};

inline constexpr int kVertexDialogNumberChars = 3;
inline constexpr int kVertexDialogWeightChars = 29;
inline constexpr int kBoxDialogFieldChars = 255;

// The name a joint number that no joint has looks up to.
inline constexpr char kNoJointName[] = "NONE";

// The texts of one row as typed (CP932).
struct WeightRowText {
  std::string jointNumber;
  std::string weight;
};
using WeightRowTexts = std::array<WeightRowText, kWeightRowCount>;

struct WeightRow {
  int32_t jointNumber = 0;
  double weight = 0;
};
using WeightRows = std::array<WeightRow, kWeightRowCount>;

// The outcome of a dialog's OK. Anything but Ok is shown as a message box (owned
// by the dialog) with weightCheckMessage / weightCheckTitle, and the dialog stays
// open with nothing changed.
enum class WeightCheck {
  Ok,
  WeightOutOfRange,  // some row's weight is below 0.0, above 1.0 or not a number
  UnknownJoint,      // dialog 103 only: a non-zero joint number that no joint has
};
const char* weightCheckMessage(WeightCheck check);  // "" for Ok
const char* weightCheckTitle(WeightCheck check);    // "" for Ok

// Shown by the 3D window when the vertex dialog is asked for with nothing selected.
inline constexpr char kNoVertexSelectedMessage[] = "頂点を1つ以上選択してください。";
inline constexpr char kNoVertexSelectedTitle[] = "頂点未選択";

// The first `maxChars` characters of a CP932 text (a double-byte character
// counts as one and is never split).
std::string firstChars(const std::string& text, int maxChars);

// Reads the rows as the dialog does: each field cut to the dialog's limit, the
// joint number as an integer (leading blanks and a sign allowed; values beyond
// the int range are clamped) and the weight as a decimal number; an empty or
// non-numeric text gives 0 and 0.0.
WeightRows readWeightRows(WeightDialogKind kind, const WeightRowTexts& texts);

// The first field, row by row and the joint number before the weight, whose
// text (cut as readWeightRows cuts it) is not empty yet holds no number, named
// for a message ("3行目のジョイント番号", "3行目の重み"); "" when every field reads.
// An empty field belongs to an unused row and reads as 0.
std::string weightFieldWithoutNumber(WeightDialogKind kind, const WeightRowTexts& texts);

// The jointName of the first joint in creation order whose jointID is `number`,
// or kNoJointName for 0 or a number no joint has.
std::string jointNameForNumber(const JointSet& skeleton, int32_t number);

// The range check (both dialogs; NaN counts as out of range), then for dialog 103
// the existence check.
WeightCheck checkWeightRows(WeightDialogKind kind, const WeightRows& rows,
                            const JointSet& skeleton);

// The list the rows give: one entry per row, in row order, for each row whose
// number is above 0 and names a joint in the joint map; the weight is rounded to
// float. Rows naming no joint are left out.
WeightList weightListFromRows(const WeightRows& rows, const JointSet& skeleton);

// Gives `list` to every selected corner and, when propagate is true, to every
// corner of every part whose position (skinPositions) equals a selected corner's
// exactly in x, y and z. Selection entries that name no corner are skipped.
// Linear in the number of corners; returns the number of corners given the list.
size_t applyVertexWeights(SkinBuffers& skin, const VertexSelection& selection,
                          const WeightList& list, bool propagate);

// Gives `list` to every corner of every part whose position lies inside the box
// (bounds included). Returns the number of corners given the list.
size_t applyBoxWeights(SkinBuffers& skin, const WeightBox& box, const WeightList& list);

// OK of dialog 103: reads and checks the rows, then weights the selected corners;
// while the 3D window is in the picked sub-state of WeightByVertex (kModeVertexPicked,
// always so when the dialog was opened by the right button) the list is also
// given to every corner coincident with a selected one. The selection is left
// as it is (the 3D window empties it when the dialog ends). Nothing changes
// unless the result is Ok.
WeightCheck acceptVertexWeightDialog(SceneDocument& doc, const WeightRowTexts& texts);

// OK of dialog 105: reads the rows and makes the range check (rows naming no
// joint are dropped silently), then, if weightBoxShown is 1, weights every corner
// inside the box. Nothing changes unless the result is Ok.
WeightCheck acceptBoxWeightDialog(SceneDocument& doc, const WeightRowTexts& texts);

// The texts dialog 103 opens with: with exactly one corner selected, its entries
// in order (the entry's joint's jointID as "%d", its weight as "%f"), at most 20;
// entries naming a joint that no longer exists are not shown. Otherwise empty.
WeightRowTexts vertexDialogInitialRows(const SceneDocument& doc);

// Vertex picking: the selection name of the corner with running number n
// (counted from 0 over all corners of all parts in part order) is
// kVertexPickBase + n.
inline constexpr int kVertexPickBase = 1000;

// The corner a running number stands for, or {-1, -1} when there is none.
CornerRef cornerFromRunningNumber(const SkinBuffers& skin, int64_t number);

// Appends the corner picked under selection name pickName to the selection.
// Returns false (and appends nothing) when the name is no corner.
bool selectPickedCorner(SceneDocument& doc, int pickName);

}  // namespace lw
