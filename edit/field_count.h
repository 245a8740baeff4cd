// The number of initialisers a plain struct takes, for checks that fail to
// compile when a struct gains a field that code walking its fields does not
// know yet. An array member counts once per element (its braces are elided).
#pragma once

#include <cstddef>

namespace lw {

namespace field_count_detail {

// Converts to any member type; only ever named in unevaluated code.
struct AnyField {
  template <class T>
  operator T() const;
};

template <class T, class... Fields>
constexpr std::size_t countFrom() {
  if constexpr (requires { T{Fields{}..., AnyField{}}; }) {
    return countFrom<T, Fields..., AnyField>();
  } else {
    return sizeof...(Fields);
  }
}

}  // namespace field_count_detail

template <class T>
constexpr std::size_t fieldCount() {
  return field_count_detail::countFrom<T>();
}

}  // namespace lw
