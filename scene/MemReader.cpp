#include "scene/MemReader.h"

#include <cstring>

void MemReader::Init(std::uint32_t blockSize, const std::uint8_t* block) {
  size = blockSize;
  data = block;
  position = 0;
}

std::uint32_t MemReader::Remaining() const {
  return position < size ? size - position : 0;
}

std::uint32_t MemReader::Read(void* dest, std::uint32_t n) {
  if (data == nullptr || n > Remaining()) return 0;
  if (n > 0) std::memcpy(dest, data + position, n);
  position += n;
  return 1;
}
