// Limbweaver's entry point.
#include <windows.h>

#include "app/program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, PWSTR, int showCommand) {
  return lw::runProgram(instance, previousInstance, showCommand);
}
