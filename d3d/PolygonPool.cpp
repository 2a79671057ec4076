#include "d3d/PolygonPool.h"

#include <array>
#include <memory>
#include <new>
#include <vector>

namespace polygonpool {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooled = false;  // the heap's own checks see every polygon
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif
#else
constexpr bool kPooled = true;
#endif

constexpr std::size_t kGrain = 16;  // sizes are rounded up to this
constexpr std::size_t kLargest = 256;
constexpr std::size_t kPerBlock = 256;

struct FreeNode {
  FreeNode* next;
};

struct Pools {
  std::array<FreeNode*, kLargest / kGrain + 1> free{};
  // Kept for the life of the program; memory is reused, never given back.
  std::vector<std::unique_ptr<std::byte[]>> blocks;
};

Pools& TheSizes() {
  static Pools pools;
  return pools;
}

}  // namespace

void* Allocate(std::size_t bytes) {
  if (!kPooled || bytes > kLargest) return ::operator new(bytes);
  const std::size_t size = (bytes + kGrain - 1) / kGrain;
  Pools& pools = TheSizes();
  FreeNode*& head = pools.free[size];
  if (head == nullptr) {
    const std::size_t stride = size * kGrain;
    pools.blocks.push_back(std::make_unique<std::byte[]>(stride * kPerBlock));
    std::byte* block = pools.blocks.back().get();
    for (std::size_t i = kPerBlock; i-- > 0;)
      head = new (block + i * stride) FreeNode{head};
  }
  FreeNode* node = head;
  head = node->next;
  return node;
}

void Release(void* memory, std::size_t bytes) noexcept {
  if (memory == nullptr) return;
  if (!kPooled || bytes > kLargest) return ::operator delete(memory);
  FreeNode*& head = TheSizes().free[(bytes + kGrain - 1) / kGrain];
  head = new (memory) FreeNode{head};
}

}  // namespace polygonpool
