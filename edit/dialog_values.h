// The text a dialog field shows for a number and the number it reads back.
#pragma once

#include <string>

namespace lw {

// The "%f" text of value.
std::string formatDialogFloat(double value);

// The number at the start of text as strtod reads it (trailing text ignored;
// text that is not a number reads as 0, no range check), as a float.
float parseDialogFloat(const std::string& text);

}  // namespace lw
