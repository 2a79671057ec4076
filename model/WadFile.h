#pragma once
// The whole of an open WAD file in memory: the version word and twelve counted
// sections, in file order. Each section is a vector; its count is the vector's
// size, read through the num... accessors.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/WadRecords.h"

inline constexpr uint32_t kWadVersion = 129;
// The largest file ReadWad takes: far above any real WAD (a few megabytes),
// so that a damaged or foreign file cannot make an open take gigabytes.
inline constexpr uint64_t kMaxWadFileBytes = uint64_t{256} << 20;

struct WadFile {
  uint32_t version = 0;
  std::vector<WadTextureSample> textureSamples;
  std::vector<uint8_t> textureBytes;     // 3 bytes per pixel, pages of 256 x 256
  std::vector<uint32_t> meshPointers;    // byte offsets into meshWords
  std::vector<uint16_t> meshWords;
  std::vector<WadAnimation> animations;
  std::vector<WadStateChange> stateChanges;
  std::vector<WadDispatch> dispatches;
  std::vector<uint16_t> commandWords;
  std::vector<int32_t> links;            // 32-bit words; four make one WadLink
  std::vector<uint16_t> keyFrameWords;
  std::vector<WadMoveable> moveables;
  std::vector<WadStatic> statics;
  // Whatever the file holds after the statics, written back unchanged.
  std::vector<uint8_t> trailingBytes;

  uint32_t numTextureSamples() const { return Count(textureSamples); }
  uint32_t numTextureBytes() const { return Count(textureBytes); }
  uint32_t numMeshPointers() const { return Count(meshPointers); }
  uint32_t numMeshWords() const { return Count(meshWords); }
  uint32_t numAnimations() const { return Count(animations); }
  uint32_t numStateChanges() const { return Count(stateChanges); }
  uint32_t numDispatches() const { return Count(dispatches); }
  uint32_t numCommandWords() const { return Count(commandWords); }
  uint32_t numLinkWords() const { return Count(links); }
  uint32_t numKeyFrameWords() const { return Count(keyFrameWords); }
  uint32_t numMoveables() const { return Count(moveables); }
  uint32_t numStatics() const { return Count(statics); }

  bool operator==(const WadFile&) const = default;

 private:
  template <class T>
  static uint32_t Count(const std::vector<T>& v) { return static_cast<uint32_t>(v.size()); }
};

// The sections in file order, each with the name used in read errors. The
// reader and the writer both walk this list.
template <class V, class W>
  requires RecordOf<W, WadFile>
void VisitSections(V& v, W& wad) {
  v("texture samples", wad.textureSamples);
  v("texture bytes", wad.textureBytes);
  v("mesh pointers", wad.meshPointers);
  v("mesh words", wad.meshWords);
  v("animations", wad.animations);
  v("state changes", wad.stateChanges);
  v("dispatches", wad.dispatches);
  v("command words", wad.commandWords);
  v("link words", wad.links);
  v("keyframe words", wad.keyFrameWords);
  v("moveables", wad.moveables);
  v("statics", wad.statics);
}

// Reads the file into wad. Returns 1 on success; 0 when the file cannot be
// read, is no regular file (never waited on), is larger than
// kMaxWadFileBytes, its version is not 129, it is cut short or inconsistent,
// or an animation holds more keyframes than one can have, and then wad is
// left exactly as it was. Bytes after the last section are kept in
// trailingBytes. On failure, why (when given) says what was wrong.
int ReadWad(const std::string& fileName, WadFile& wad, std::string* why = nullptr);

// ReadWad over bytes already in memory; why names the section and byte offset
// at fault, or the animation.
int ReadWadBytes(std::span<const uint8_t> bytes, WadFile& wad, std::string* why = nullptr);

// Writes wad to the file, through a symbolic link to the file it names (as
// WriteFileAtomically does; a file of several names is rewritten in place).
// Returns 1 on success; 0 when the version is not 129 or a count does not
// fit the file (the target is not touched), when the target may not be
// replaced (not a regular file, not writable by the user) or any step of the
// write fails (an existing target keeps its old content). On failure, why
// (when given) says what was wrong.
int WriteWad(const std::string& fileName, const WadFile& wad, std::string* why = nullptr);

// The bytes WriteWad puts in the file: the sections, then trailingBytes.
std::vector<uint8_t> SerializeWad(const WadFile& wad);

// Number of animations of moveable i: from its animIndex up to the next
// moveable that has animations, or to the last animation. Always a range
// inside the animation table; 0 for a moveable without animations or an index
// outside the moveables.
uint32_t CountMoveableAnimations(const WadFile& wad, uint32_t i);

// The link that starts at word wordIndex of the link stream; false when the
// stream does not hold four words there.
bool LinkAt(const WadFile& wad, uint32_t wordIndex, WadLink& link);
