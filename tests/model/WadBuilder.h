#pragma once
// Builds the bytes of a WAD file for tests, field by field from the format's
// own table, independently of the model's writer. The defaults are a small
// but complete WAD (see WadBuilder.cpp); a test overrides only what it is about.

#include <cstdint>
#include <vector>

#include "model/WadFile.h"

struct WadBuilder : WadFile {
  WadBuilder();  // the default fixture

  std::vector<uint8_t> Bytes() const;
  // Byte offset of each of the twelve section counts in Bytes().
  std::vector<std::size_t> CountOffsets() const;
  // The record ReadWadBytes must make of Bytes().
  WadFile Expected() const { return *this; }
};

// An empty WAD of version 129: the version and twelve zero counts.
WadBuilder EmptyWad();
