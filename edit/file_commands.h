// The document side of the file commands.
#pragma once

#include "core/document.h"
#include "core/shell_ui.h"

namespace lw {

// After a project has been read: the model counts as loaded (faces and lines
// drawn, joint positions decided), the items that need a model, a skeleton or
// keyframes are enabled (the playback items again when playback had locked
// them), Save as offers the project, picture and glTF types, the motion panel
// is refreshed when there are keyframes, and the 3D window is redrawn.
void finishProjectOpen(SceneDocument& doc, ShellUi& ui);

}  // namespace lw
