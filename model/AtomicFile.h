#pragma once
// Replacing a file without ever leaving it half written.

#include <cstdint>
#include <span>
#include <string>

// Writes bytes to a new file beside path, flushes it to disk and renames it
// over path. On any failure the temporary file is removed, path keeps what it
// held and false is returned. An existing path keeps its permission bits.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);
