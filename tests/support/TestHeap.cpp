// The test program's own operator new and delete, in every form but the
// over-aligned ones (a sanitizer's own forms would not pair with these):
// they count the heap bytes held and can fail an allocation on purpose.

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "FailingAllocations.h"
#include "HeapMeter.h"

namespace {

std::atomic<std::size_t> inUse{0}, peak{0};
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

std::size_t heapmeter::InUse() { return inUse; }
std::size_t heapmeter::Peak() { return peak; }
void heapmeter::ResetPeak() { peak = inUse.load(); }

void failingallocations::FailAllocation(std::size_t n) {
  failed = false;
  untilFailure = n;
}

bool failingallocations::Disarm() {
  untilFailure = 0;
  return failed;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  void* p = Chosen() ? nullptr : std::malloc(size ? size : 1);
  if (p == nullptr) return p;
  const std::size_t now = inUse += malloc_usable_size(p);
  for (std::size_t seen = peak; now > seen && !peak.compare_exchange_weak(seen, now);) {}
  return p;
}

void* operator new(std::size_t size) {
  if (void* p = operator new(size, std::nothrow)) return p;
  throw std::bad_alloc();
}

void* operator new[](std::size_t size) { return operator new(size); }
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }

// The replaced operator new above allocates with malloc, so free is its match.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
  if (p != nullptr) inUse -= malloc_usable_size(p);
  std::free(p);
}

void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { operator delete(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { operator delete(p); }
