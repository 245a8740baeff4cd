#include "app/commands.h"

namespace lw {

bool dispatchCommand(int id, LRESULT& result) {
  result = 0;
  if (runFileCommand(id, result)) return true;
  if (!runDisplayCommand(id)) runEditCommand(id);
  return false;
}

}  // namespace lw
