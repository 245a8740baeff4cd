// What the Open command shows once a project has been read: the reader's
// notices in the order they were met, then, for a failure, its message.
#pragma once

#include <vector>

#include "io/project_reader.h"

namespace lw {

// The message boxes for `result`, in the order they are shown. A failure
// without a message adds none.
std::vector<Notice> projectOpenMessages(const ProjectResult& result);

}  // namespace lw
