// Replaces every form of the global operator new and delete but the
// over-aligned ones (a sanitizer's own forms would not pair with these
// ones), so that any allocation can be made to fail.

#include "FailingAllocations.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> untilFailure{0};  // 0: no allocation is to fail
std::atomic<bool> failed{false};

// True for the allocation chosen to fail.
bool Chosen() {
  std::size_t left = untilFailure;
  while (left != 0 && !untilFailure.compare_exchange_weak(left, left - 1)) {}
  if (left != 1) return false;
  failed = true;
  return true;
}

}  // namespace

void failingallocations::FailAllocation(std::size_t n) {
  failed = false;
  untilFailure = n;
}

bool failingallocations::Disarm() {
  untilFailure = 0;
  return failed;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return Chosen() ? nullptr : std::malloc(size ? size : 1);
}

void* operator new(std::size_t size) {
  if (void* p = operator new(size, std::nothrow)) return p;
  throw std::bad_alloc();
}

void* operator new[](std::size_t size) { return operator new(size); }
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }

// The replaced operator new above allocates with malloc, so free is its match.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
