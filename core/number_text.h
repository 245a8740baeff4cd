// Whether a field's text holds a number at all, read the way the dialogs read
// numbers (strtod / strtol base 10: leading blanks, a sign, digits; trailing text
// is ignored), and the message that names a field holding none.
#pragma once

#include <string>
#include <string_view>

namespace lw {

inline constexpr char kNotANumberTitle[] = "数値の入力";

// True when strtod reads at least one character of `text`.
bool holdsDecimal(std::string_view text);
// True when strtol (base 10) reads at least one character of `text`.
bool holdsInteger(std::string_view text);

// "「<fieldName>」に数値を入力してください。" (CP932).
std::string notANumberMessage(const std::string& fieldName);

}  // namespace lw
