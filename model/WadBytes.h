#pragma once
// The file's integers, little-endian: typed reads from bytes held in memory,
// each checking the bytes left (a failed read leaves the cursor where it was),
// and the matching writes.

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>
#include <vector>

class WadByteReader {
 public:
  explicit WadByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Offset() const { return offset_; }
  std::size_t Remaining() const { return bytes_.size() - offset_; }
  std::span<const uint8_t> Rest() const { return bytes_.subspan(offset_); }

  template <std::integral T>
  bool Read(T& value) {
    if (Remaining() < sizeof(T)) return false;
    std::make_unsigned_t<T> v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
      v |= static_cast<std::make_unsigned_t<T>>(bytes_[offset_ + i]) << (8 * i);
    value = static_cast<T>(v);
    offset_ += sizeof(T);
    return true;
  }

  template <std::integral T, std::size_t N>
  bool Read(std::array<T, N>& values) {
    if (Remaining() < sizeof(T) * N) return false;
    for (T& v : values) Read(v);
    return true;
  }

 private:
  std::span<const uint8_t> bytes_;
  std::size_t offset_ = 0;
};

class WadByteWriter {
 public:
  explicit WadByteWriter(std::vector<uint8_t>& out) : out_(out) {}

  template <std::integral T>
  void Write(T value) {
    auto v = static_cast<std::make_unsigned_t<T>>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }

  template <std::integral T, std::size_t N>
  void Write(const std::array<T, N>& values) {
    for (T v : values) Write(v);
  }

 private:
  std::vector<uint8_t>& out_;
};
