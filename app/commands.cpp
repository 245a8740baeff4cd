#include "app/commands.h"

#include "app/program.h"
#include "resources/resource.h"

namespace lw {

bool dispatchCommand(int id, LRESULT& result) {
  result = 0;
  if (id == IDM_FILE_EXIT) {
    SendMessageW(program().windows.main, WM_CLOSE, 0, 0);
    return false;
  }
  if (runDisplayCommand(id)) return false;
  runEditCommand(id);
  return false;
}

}  // namespace lw
