// Replaces every form of the global operator new and delete but the
// over-aligned ones (a sanitizer's own forms would not pair with these
// ones), so that every allocation through them is counted.

#include "HeapMeter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> inUse{0}, peak{0};

}  // namespace

std::size_t heapmeter::InUse() { return inUse; }
std::size_t heapmeter::Peak() { return peak; }
void heapmeter::ResetPeak() { peak = inUse.load(); }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  void* p = std::malloc(size ? size : 1);
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
