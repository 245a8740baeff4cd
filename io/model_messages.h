// The texts of the io module, which shows no message itself: messages the
// readers leave in their error text, the messages and titles the Open, Add and
// Save as commands show, and the project reader's. All CP932.
#pragma once

#include <string>

namespace lw {

// Readers (left in ErrorText).
inline constexpr const char* kCannotOpenSuffix = "を開くことができません";  // after the path
inline constexpr const char* kObjCountsMessage =
    "objファイル内のv, vt, vn, fの数を示したコメントの形式が不正です";
inline constexpr const char* kObjIndexRangeMessage =
    "行目の面（f）が存在しない頂点・テクスチャ座標・法線の番号を指しています。";  // after the line number
inline constexpr const char* kObjTooManyPartsMessage =
    "マテリアルごとの部品（usemtl）が20個を超えています。";
inline constexpr const char* kTloMaterialOpenMessage =
    "mtlファイルが開けませんでした。　エラーコード：THROW_LOADMTL_FILEOPEN_ERROR";
inline constexpr const char* kTloNoFaceCountMessage =
    "TLOファイルの形式が不正です（men_numの行がありません）。";
inline constexpr const char* kTloPartSizeMessage =
    "TLOファイルの面の数（men_part_num）が不正です。";
inline constexpr const char* kMtlReadFailedSuffix = "の読み込みに失敗しました";  // after the name
inline constexpr const char* kNotRegularFileSuffix = "は通常のファイルではありません";  // after the path
inline constexpr const char* kTextureNotBmpSuffix =
    "は24ビット非圧縮のBMPではありません。テクスチャなしで表示します。";  // after the path

// A message whose first line a command fixes, followed by what went wrong.
inline std::string withReason(const std::string& first, const std::string& reason) {
  return reason.empty() ? first : first + "\n" + reason;
}

// Open ("ファイルを開く") and Add ("ファイルを追加する") commands.
inline constexpr const char* kOpenDialogTitle = "ファイルを開く";
inline constexpr const char* kSavePromptMessage = "現在のデータを保存しますか？";
inline constexpr const char* kSavePromptTitle = "保存";
inline constexpr const char* kSavedMessage = "保存されました。";
inline constexpr const char* kSaveNoExtensionMessage = "拡張子（OJP/TLO）をつけてください";
inline constexpr const char* kNoExtensionTitle = "拡張子無し";
inline constexpr const char* kChooseExtensionMessage = "拡張子を指定してください。";
inline constexpr const char* kFileOpenErrorMessage = "ファイルオープンエラー";
inline constexpr const char* kFileOpenErrorTitle = "File Open Error";
inline constexpr const char* kTrianglesOnlyMessage =
    "三角面のみで構成されたOBJファイルを使用してください。";
inline constexpr const char* kObjFormatTitle = "OBJファイル形式";
inline constexpr const char* kObjReadErrorTitle = "OBJ読み込みエラー";
inline constexpr const char* kConvertFailedMessage = "変換に失敗！";
inline constexpr const char* kConvertFailedTitle = "OBJ→TLO変換エラー";
inline constexpr const char* kTloErrorTitle = "TLOエラー";

// Project reading (readProject).
inline constexpr const char* kProjectTloNotFoundText =
    "TLOファイルがOJPと同じ場所に見つかりません。　エラーコード：THROW_LOADOJP_NOTFOUND_TLO";
inline constexpr const char* kProjectCannotOpenSuffix = "を開くことができません";
// The start of the one message an opened project shows when some of its lines
// did not fit the model or the joints and were skipped; "\nN行目：..." follows
// for each of them.
inline constexpr const char* kProjectSkippedLinesMessage =
    "プロジェクトファイルの次の行はモデルやジョイントと合わないため読み飛ばしました。";
inline constexpr const char* kProjectNoModelNameText =
    "プロジェクトファイルにモデルファイル名（MODEL_FILENAME）がありません。";

// Writing the chosen file (saveChosenFile).
inline constexpr const char* kSaveFailedSuffix = "に保存できませんでした。";  // after the path
inline constexpr const char* kSaveFailedTitle = "保存エラー";

// File-type filter texts of the open and save dialogs.
inline constexpr const char* kObjFilterLabel = "OBJファイル(*.OBJ)";
inline constexpr const char* kObjFilterPattern = "*.OBJ";
inline constexpr const char* kOjpFilterLabel = "OJPファイル(*.OJP)";
inline constexpr const char* kOjpFilterPattern = "*.OJP";
inline constexpr const char* kBmpFilterLabel = "BMPファイル(*.bmp)";
inline constexpr const char* kBmpFilterPattern = "*.bmp";

}  // namespace lw
