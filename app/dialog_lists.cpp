// Drop-down lists of numbers shared by the range and interpolation dialogs.
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "app/dialogs.h"
#include "app/win_text.h"

namespace lw {

void fillNumberList(HWND dialog, int id, const std::vector<int32_t>& numbers) {
  HWND list = GetDlgItem(dialog, id);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (int32_t number : numbers) {
    char text[16];
    std::snprintf(text, sizeof(text), "%d", static_cast<int>(number));
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(text).c_str()));
  }
  if (!numbers.empty()) SendMessageW(list, CB_SETCURSEL, numbers.size() - 1, 0);
}

void fillKeyframeTimes(HWND dialog, int id, const KeyframeStore& store) {
  std::vector<int32_t> times;
  times.reserve(store.byTime.size());
  for (const auto& entry : store.byTime) times.push_back(entry.first);
  fillNumberList(dialog, id, times);
}

int32_t fieldInt(HWND dialog, int id) {
  const std::string text = fieldText(dialog, id);
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

}  // namespace lw
