#pragma once
// Builds the bytes of a WAD file for tests, field by field from the format's
// own table, independently of the model's writer. The defaults are a small
// but complete WAD (see WadBuilder.cpp); a test overrides only what it is about.

#include <cstdint>
#include <vector>

#include "model/WadFile.h"

struct WadBuilder : WadFile {
  WadBuilder();  // the default fixture

  // The file's bytes; countAt, when given, receives the byte offset of each
  // of the twelve section counts.
  std::vector<uint8_t> Bytes(std::vector<std::size_t>* countAt = nullptr) const;
  // The record ReadWadBytes must make of Bytes().
  WadFile Expected() const { return *this; }
};
