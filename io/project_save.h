// The save-as command once its dialog has chosen a file: the writer is chosen by
// the extension of the file title (project, OBJ export or BMP picture). The
// command bakes the IK pose into FK (enterFkMode) before it shows the dialog.
#pragma once

#include <functional>
#include <string>

#include "core/document.h"
#include "core/shell_ui.h"

namespace lw {

enum class SaveOutcome {
  Written,           // the file was written
  NotWritten,        // the file could not be written; the message has been shown
  MissingExtension,  // no usable extension; "拡張子を指定してください。" has been shown
};

inline constexpr const char* kSaveFailedSuffix = "に保存できませんでした。";  // after the path
inline constexpr const char* kSaveFailedTitle = "保存エラー";

// Writes the chosen file by the first three characters of the title's last
// "."-separated piece: "OJP"/"ojp" -> writeProject, "OBJ"/"obj" -> exportObj,
// "BMP"/"bmp" -> writeBitmap(path) (which redraws and writes the 3D window's
// picture, false when the file cannot be written); anything else shows
// "拡張子を指定してください。" titled "拡張子無し". A write that fails shows the path
// followed by kSaveFailedSuffix titled kSaveFailedTitle (an existing file keeps
// its contents), so the caller never discards a document it could not save.
SaveOutcome saveChosenFile(const SceneDocument& doc, ShellUi& ui, const std::string& path,
                           const std::string& fileTitle,
                           const std::function<bool(const std::string&)>& writeBitmap);

}  // namespace lw
