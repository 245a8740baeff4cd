#include "edit/project_open.h"

namespace lw {

std::vector<Notice> projectOpenMessages(const ProjectResult& result) {
  std::vector<Notice> shown = result.notices;
  if (result.code != kProjectRead && !result.message.empty()) {
    shown.push_back({result.message, result.title});
  }
  return shown;
}

}  // namespace lw
