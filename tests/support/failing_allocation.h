// Lets a test make one allocation fail the way running out of memory does. It
// replaces the global operator new of the whole test program: include it in
// exactly one file of that program. Disarmed (the default) it fails nothing.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace lw::test {

// Counts down allocations of at least failingSize bytes; the one met at 0
// throws std::bad_alloc and disarms the hook (-1).
inline std::atomic<int> allowedAllocations{-1};
inline std::atomic<std::size_t> failingSize{0};

// Of the allocations of at least minBytes from now on, `allowed` succeed and
// the next one throws std::bad_alloc; smaller ones all succeed.
inline void failAllocation(int allowed, std::size_t minBytes = 0) {
  failingSize = minBytes;
  allowedAllocations = allowed;
}

// Disarms the hook. True when it had made an allocation fail since it was armed.
inline bool disarmAllocationFailure() { return allowedAllocations.exchange(-1) < 0; }

}  // namespace lw::test

void* operator new(std::size_t size) {
  using lw::test::allowedAllocations;
  if (size >= lw::test::failingSize.load() && allowedAllocations.load() >= 0 &&
      allowedAllocations.fetch_sub(1) == 0) {
    allowedAllocations = -1;
    throw std::bad_alloc();
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
// The library's nothrow allocations (stable_sort's buffer) must come from the
// same heap as the deletes below.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
// Not inlined: GCC would otherwise see malloc's memory reach a delete and warn
// of a mismatch that these replacements do not have.
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }
