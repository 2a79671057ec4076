#pragma once
// Builds the bytes of a WAD file for tests, field by field from the format's
// own table, independently of the model's writer. The defaults are a small
// but complete WAD (see WadBuilder.cpp); a test overrides only what it is about.

#include <cstdint>
#include <vector>

#include "model/WadFile.h"

struct WadBuilder {
  WadBuilder();  // the default fixture

  uint32_t version = kWadVersion;
  std::vector<WadTextureSample> textureSamples;
  std::vector<uint8_t> textureBytes;
  std::vector<uint32_t> meshPointers;
  std::vector<uint16_t> meshWords;
  std::vector<WadAnimation> animations;
  std::vector<WadStateChange> stateChanges;
  std::vector<WadDispatch> dispatches;
  std::vector<uint16_t> commandWords;
  std::vector<int32_t> links;
  std::vector<uint16_t> keyFrameWords;
  std::vector<WadMoveable> moveables;
  std::vector<WadStatic> statics;

  std::vector<uint8_t> Bytes() const;
  // Byte offset of each of the twelve section counts in Bytes().
  std::vector<std::size_t> CountOffsets() const;
  // The record ReadWadBytes must make of Bytes().
  WadFile Expected() const;
};

// An empty WAD of version 129: the version and twelve zero counts.
WadBuilder EmptyWad();
