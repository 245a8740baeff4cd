// CP932 text (names read from files, the program's messages) for places that
// speak UTF-8: lwtool's terminal output and the names inside exported files.
#pragma once

#include <string>

namespace lw {

// `text` as UTF-8; each byte that does not begin a CP932 character (or a lead
// byte cut off at the end) becomes '?'.
std::string utf8FromCp932(const std::string& text);

}  // namespace lw
