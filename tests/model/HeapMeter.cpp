// Replaces the global operator new and delete of the test program (every
// form but the over-aligned ones, which keep their own pair) so that every
// allocation through them is counted.

#include "HeapMeter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> inUse{0};
std::atomic<std::size_t> peak{0};

void Track(void* p) {
  const std::size_t now = inUse += malloc_usable_size(p);
  std::size_t seen = peak;
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {}
}

}  // namespace

namespace heapmeter {

std::size_t InUse() { return inUse; }
std::size_t Peak() { return peak; }
void ResetPeak() { peak = inUse.load(); }

}  // namespace heapmeter

void* operator new(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (p == nullptr) throw std::bad_alloc();
  Track(p);
  return p;
}

void* operator new[](std::size_t size) { return operator new(size); }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  void* p = std::malloc(size ? size : 1);
  if (p != nullptr) Track(p);
  return p;
}

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
