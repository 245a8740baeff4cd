// Dialogs 103 and 105: twenty rows of a joint number and a weight. Dialog 103
// weights the selected corners (and the corners lying on them), dialog 105 every
// corner inside the weighting box. The rows are read and checked by the skin
// library; this file only moves texts between the fields and those functions.
#include "app/dialogs.h"
#include "app/win_text.h"
#include "core/number_text.h"
#include "resources/resource.h"
#include "skin/weight_dialogs.h"

namespace lw {

namespace {

struct RowIds {
  int jointNumber;
  int weight;
};
using RowTable = RowIds[kWeightRowCount];

constexpr RowTable kVertexRows = {
    {IDC_VW_JOINT1, IDC_VW_WEIGHT1},   {IDC_VW_JOINT2, IDC_VW_WEIGHT2},
    {IDC_VW_JOINT3, IDC_VW_WEIGHT3},   {IDC_VW_JOINT4, IDC_VW_WEIGHT4},
    {IDC_VW_JOINT5, IDC_VW_WEIGHT5},   {IDC_VW_JOINT6, IDC_VW_WEIGHT6},
    {IDC_VW_JOINT7, IDC_VW_WEIGHT7},   {IDC_VW_JOINT8, IDC_VW_WEIGHT8},
    {IDC_VW_JOINT9, IDC_VW_WEIGHT9},   {IDC_VW_JOINT10, IDC_VW_WEIGHT10},
    {IDC_VW_JOINT11, IDC_VW_WEIGHT11}, {IDC_VW_JOINT12, IDC_VW_WEIGHT12},
    {IDC_VW_JOINT13, IDC_VW_WEIGHT13}, {IDC_VW_JOINT14, IDC_VW_WEIGHT14},
    {IDC_VW_JOINT15, IDC_VW_WEIGHT15}, {IDC_VW_JOINT16, IDC_VW_WEIGHT16},
    {IDC_VW_JOINT17, IDC_VW_WEIGHT17}, {IDC_VW_JOINT18, IDC_VW_WEIGHT18},
    {IDC_VW_JOINT19, IDC_VW_WEIGHT19}, {IDC_VW_JOINT20, IDC_VW_WEIGHT20},
};

constexpr RowTable kBoxRows = {
    {IDC_BW_JOINT1, IDC_BW_WEIGHT1},   {IDC_BW_JOINT2, IDC_BW_WEIGHT2},
    {IDC_BW_JOINT3, IDC_BW_WEIGHT3},   {IDC_BW_JOINT4, IDC_BW_WEIGHT4},
    {IDC_BW_JOINT5, IDC_BW_WEIGHT5},   {IDC_BW_JOINT6, IDC_BW_WEIGHT6},
    {IDC_BW_JOINT7, IDC_BW_WEIGHT7},   {IDC_BW_JOINT8, IDC_BW_WEIGHT8},
    {IDC_BW_JOINT9, IDC_BW_WEIGHT9},   {IDC_BW_JOINT10, IDC_BW_WEIGHT10},
    {IDC_BW_JOINT11, IDC_BW_WEIGHT11}, {IDC_BW_JOINT12, IDC_BW_WEIGHT12},
    {IDC_BW_JOINT13, IDC_BW_WEIGHT13}, {IDC_BW_JOINT14, IDC_BW_WEIGHT14},
    {IDC_BW_JOINT15, IDC_BW_WEIGHT15}, {IDC_BW_JOINT16, IDC_BW_WEIGHT16},
    {IDC_BW_JOINT17, IDC_BW_WEIGHT17}, {IDC_BW_JOINT18, IDC_BW_WEIGHT18},
    {IDC_BW_JOINT19, IDC_BW_WEIGHT19}, {IDC_BW_JOINT20, IDC_BW_WEIGHT20},
};

WeightRowTexts readRowTexts(HWND dialog, const RowTable& rows) {
  WeightRowTexts texts;
  for (int i = 0; i < kWeightRowCount; ++i) {
    texts[i].jointNumber = fieldText(dialog, rows[i].jointNumber);
    texts[i].weight = fieldText(dialog, rows[i].weight);
  }
  return texts;
}

// The end of OK: a refused row is explained on top of the dialog, which stays
// open; otherwise the dialog closes. The weight range message belongs to the
// dialog; the unknown joint message, like the program's other messages, has no
// owner.
void finishOk(HWND dialog, WeightCheck check) {
  if (check == WeightCheck::Ok) {
    EndDialog(dialog, IDOK);
    return;
  }
  const HWND owner = check == WeightCheck::WeightOutOfRange ? dialog : nullptr;
  showMessageBox(owner, weightCheckMessage(check), weightCheckTitle(check));
}

void onVertexWeightInit(HWND dialog, SceneDocument& doc) {
  const WeightRowTexts texts = vertexDialogInitialRows(doc);
  for (int i = 0; i < kWeightRowCount; ++i) {
    setWindowTextCp932(GetDlgItem(dialog, kVertexRows[i].jointNumber), texts[i].jointNumber);
    setWindowTextCp932(GetDlgItem(dialog, kVertexRows[i].weight), texts[i].weight);
  }
}

// A field that holds text but no number is named over the dialog, which stays
// open with nothing changed. Returns true when one was.
bool refusedFieldWithoutNumber(HWND dialog, WeightDialogKind kind, const WeightRowTexts& texts) {
  const std::string field = weightFieldWithoutNumber(kind, texts);
  if (field.empty()) return false;
  showMessageBox(dialog, notANumberMessage(field), kNotANumberTitle);
  return true;
}

void onVertexWeightOk(HWND dialog, SceneDocument& doc) {
  const WeightRowTexts texts = readRowTexts(dialog, kVertexRows);
  if (refusedFieldWithoutNumber(dialog, WeightDialogKind::Vertex, texts)) return;
  finishOk(dialog, acceptVertexWeightDialog(doc, texts));
}

void onBoxWeightOk(HWND dialog, SceneDocument& doc) {
  const WeightRowTexts texts = readRowTexts(dialog, kBoxRows);
  if (refusedFieldWithoutNumber(dialog, WeightDialogKind::Box, texts)) return;
  finishOk(dialog, acceptBoxWeightDialog(doc, texts));
}

}  // namespace

INT_PTR showVertexWeightDialog(HWND owner, SceneDocument& doc) {
  return runDocumentDialog(owner, IDD_VERTEX_WEIGHT, doc, onVertexWeightInit, onVertexWeightOk);
}

INT_PTR showBoxWeightDialog(HWND owner, SceneDocument& doc) {
  return runDocumentDialog(owner, IDD_BOX_WEIGHT, doc, nullptr, onBoxWeightOk);
}

}  // namespace lw
