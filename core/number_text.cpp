#include "core/number_text.h"

#include <cstdlib>

namespace lw {

bool holdsDecimal(std::string_view text) {
  const std::string copy(text);
  char* end = nullptr;
  std::strtod(copy.c_str(), &end);
  return end != copy.c_str();
}

bool holdsInteger(std::string_view text) {
  const std::string copy(text);
  char* end = nullptr;
  std::strtol(copy.c_str(), &end, 10);
  return end != copy.c_str();
}

std::string notANumberMessage(const std::string& fieldName) {
  return "「" + fieldName + "」に数値を入力してください。";
}

}  // namespace lw
