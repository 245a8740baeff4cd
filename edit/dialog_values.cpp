#include "edit/dialog_values.h"

#include <cstdio>
#include <cstdlib>

namespace lw {

std::string formatDialogFloat(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%f", value);
  return text;
}

float parseDialogFloat(const std::string& text) {
  return static_cast<float>(std::strtod(text.c_str(), nullptr));
}

}  // namespace lw
