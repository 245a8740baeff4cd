// The project branch of the Open command: reading the project and the state the
// document and the menu are left in, on success or failure.
#pragma once

#include <string>

#include "core/document.h"
#include "core/shell_ui.h"
#include "io/project_reader.h"

namespace lw {

// Reads the project at `path` (readProject with loadModel) into a document the
// Open command has already discarded. On failure the reader's message is shown
// with its title (none again for kProjectModelObjFailed, which the reader has
// shown), the error texts are emptied and the reduced discard runs
// (discardAfterFailedProjectOpen). On success: playback items 40025, 40026,
// 40059, 40097 are enabled when keyframes were read (playbackMenuLock, then
// cleared); modelLoaded 1, drawMode 4, decitionJointPosition 1; the drawing,
// posing, weighting, keyframe and root-move items are enabled, the keyframe items
// by applyKeyframeMenuRules; saveFilter offers OBJ, OJP and BMP; the motion panel
// is refreshed when there are keyframes; adding decorations and the IK items are
// enabled; redraw. Returns the reader's result.
int openProjectCommand(SceneDocument& doc, ShellUi& ui, const std::string& path,
                       const ProjectModelLoader& loadModel = loadProjectModel);

}  // namespace lw
