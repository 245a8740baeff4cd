#include "app/commands.h"

#include "app/undo_keys.h"

namespace lw {

bool dispatchCommand(int id, LRESULT& result) {
  result = 0;
  recordPendingStep();
  const bool failedOpen = runFileCommand(id, result);
  if (!failedOpen && !runDisplayCommand(id)) runEditCommand(id);
  recordCommand(id);
  return failedOpen;
}

}  // namespace lw
