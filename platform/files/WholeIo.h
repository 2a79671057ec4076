#pragma once
// Reads and writes that go on until every byte is done: the system may move
// fewer bytes than asked, or be interrupted by a signal, and go on from there.

#include <cstddef>
#include <cstdint>
#include <span>

// Reads exactly count bytes from offset into buffer. False, with errno set,
// when a read fails; with errno 0 when the file ends before them.
bool ReadAllAt(int fd, std::uint64_t offset, void* buffer, std::size_t count);

// Writes every byte from offset on; false with errno set when a write fails.
bool WriteAllAt(int fd, std::uint64_t offset, std::span<const std::uint8_t> bytes);
