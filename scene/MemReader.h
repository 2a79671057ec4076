#pragma once
// A read cursor over a block of bytes that it does not own.

#include <cstdint>

struct MemReader {
  std::uint32_t size = 0;      // bytes in the block
  std::uint32_t position = 0;  // next byte to read
  const std::uint8_t* data = nullptr;

  void Init(std::uint32_t blockSize, const std::uint8_t* block);

  // Bytes left after the cursor.
  std::uint32_t Remaining() const;

  // Copies n bytes to dest and advances. A read that does not fit in what is
  // left copies nothing, leaves the cursor where it was and returns 0.
  std::uint32_t Read(void* dest, std::uint32_t n);
};
