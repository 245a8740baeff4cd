// The save-as command once its dialog has chosen a file: the writer is chosen by
// the extension of the file title (project, OBJ export or BMP picture). The
// command bakes the IK pose into FK (enterFkMode) before it shows the dialog.
#pragma once

#include <functional>
#include <string>

#include "core/document.h"
#include "io/model_messages.h"

namespace lw {

enum class SaveOutcome {
  Written,           // the file was written
  NotWritten,        // the file could not be written
  MissingExtension,  // no usable extension
};

// What a save gives the command, which shows the message when there is one.
struct FileSaveResult {
  SaveOutcome outcome = SaveOutcome::NotWritten;
  std::string message;  // empty: no message box
  std::string title;
};

// Writes the chosen file by the first three characters of the title's last
// "."-separated piece: "OJP"/"ojp" -> writeProject, "OBJ"/"obj" -> exportObj,
// "BMP"/"bmp" -> writeBitmap(path) (which redraws and writes the 3D window's
// picture, false when the file cannot be written); anything else is refused
// with "拡張子を指定してください。" titled "拡張子無し". A write that fails gives the
// path followed by kSaveFailedSuffix titled kSaveFailedTitle (an existing file
// keeps its contents), so the caller never discards a document it could not save.
FileSaveResult saveChosenFile(const SceneDocument& doc, const std::string& path,
                              const std::string& fileTitle,
                              const std::function<bool(const std::string&)>& writeBitmap);

// The NotWritten result of a write to `path` that failed.
FileSaveResult saveFailed(const std::string& path);

}  // namespace lw
