// Writing the project file (OJP): the model's OBJ name, decoration names, the
// per-corner skin data, every joint, the joint relations, two document flags,
// the keyframes and the saved root bone vector, as text.
#pragma once

#include <string>
#include <string_view>

#include "core/document.h"

namespace lw {

inline constexpr const char* kProjectHeader = "# Created by Limbweaver OJP FILE";

// The result of writeProject when the file cannot be created or written.
inline constexpr int kProjectNotWritten = -1;

// The whole text of the project file for `doc`, lines ended by '\n'. Skin lines
// come from doc.skinBuffers (none without buffers); joints in creation order;
// keyframes in number order, poses in name order; "[ANIMATIONDATA]" only when
// there is a keyframe; "backupBasicBoneVec" only when none of its components is 999.
std::string projectText(const SceneDocument& doc);

// Writes projectText(doc) to `path` in text mode through a temporary file
// (writeFileReplacing).
// Returns 0, or kProjectNotWritten when the file could not be written completely
// (an existing file at `path` is then left as it was).
int writeProject(const SceneDocument& doc, const std::string& path);

}  // namespace lw
