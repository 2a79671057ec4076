#include "WadBuilder.h"

namespace {

class Bytes {
 public:
  explicit Bytes(std::vector<uint8_t>& out) : out_(out) {}
  void u8(uint8_t v) { out_.push_back(v); }
  void u16(uint16_t v) { u8(v & 0xFF); u8(v >> 8); }
  void u32(uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); }
  std::size_t size() const { return out_.size(); }

 private:
  std::vector<uint8_t>& out_;
};

}  // namespace

// Fixture: moveable 0 (3 meshes, 2 links) owns animations 0-2, moveable 1 has
// no animations, moveable 2 (1 mesh) owns animation 3.
//   animation 0: frame size 13 words, 2 keyframes; rotations two-word, one-word
//     X, one-word Y (keyframe 1 holds 0x4FFF, 359.9 degrees, which whole
//     degrees round to 360, and 0x8000, a Y of 0.0)
//   animation 1: frame size 15 words, 3 keyframes; one-word Z, two-word with
//     zero y and z fields, two zero words; a padding word 0xBEEF
//   animation 2: frame size 0, no keyframes
//   animation 3: frame size 10 words, 1 keyframe; one-word X
WadBuilder::WadBuilder() {
  textureSamples = {{1, 2, 0, 0, 31, 0, 31}, {32, 64, 1, 1, 15, 1, 7}};
  textureBytes = {255, 0, 255, 10, 20, 30};
  meshPointers = {0, 4, 8, 12, 16};
  meshWords = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  links = {0, 0, -100, 0, 2, 25, -15, 40};

  // offset, rate, size, state, speed, accel, reserved, start, end, next, next frame,
  // state changes (count, index), commands (count, offset)
  animations = {
      {0, 1, 13, 2, 0x00038000, -5, {1, 2, 3, 4, 5, 6, 7, 8}, 0, 9, 1, 10, 1, 0, 1, 0},
      {52, 2, 15, 3, 0, 0, {}, 10, 19, 2, 20, 1, 1, 2, 3},
      {142, 1, 0, 4, 0, 0, {}, 20, 24, 0, 0, 1, 2, 2, 10},
      {142, 1, 10, 1, 0, 0, {}, 0, 0, 3, 0, 0, 3, 1, 16},
  };
  stateChanges = {{2, 2, 0}, {3, 1, 2}, {4, 2, 3}};
  dispatches = {
      {0, 4, 1, 12}, {5, 9, 2, 22},     // animation 0
      {10, 19, 2, 21},                  // animation 1
      {20, 24, 0, 5}, {22, 23, 3, 0},   // animation 2; the last targets moveable 2
  };
  commandWords = {
      5, 3, 77,                 // animation 0: sound at frame 3
      1, 10, 20, 30, 6, 15, 4,  // animation 1: position reference, effect at frame 15
      6, 23, 2, 2, 5, 6,        // animation 2: effect at frame 23, jumping reference
      5, 0, 9,                  // animation 3: sound at frame 0
  };
  keyFrameWords = {
      // animation 0, keyframe 0: box, root offset, (90, 45, 10), X 90, Y 45
      0xFF9C, 100, 0xFF38, 0, 0xFFCE, 50, 0, 0xFFFB, 3, 0x1002, 0x001C, 0x4400, 0x8200,
      // animation 0, keyframe 1: (180, 90, 360), X 359.9, Y 0.0
      0xFF92, 110, 0xFF2E, 10, 0xFFC4, 60, 1, 0xFFFA, 4, 0x2004, 0x0000, 0x4FFF, 0x8000,
      // animation 1, keyframes 0-2: Z 90 / 180 / 270, (90, -, -), (-, -, -), padding
      1, 2, 3, 4, 5, 6, 7, 8, 9, 0xC400, 0x1000, 0x0000, 0x0000, 0x0000, 0xBEEF,
      11, 12, 13, 14, 15, 16, 17, 18, 19, 0xC800, 0x1000, 0x0000, 0x0000, 0x0000, 0xBEEF,
      21, 22, 23, 24, 25, 26, 27, 28, 29, 0xCC00, 0x1000, 0x0000, 0x0000, 0x0000, 0xBEEF,
      // animation 3, keyframe 0: X 45
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0x4200,
  };
  // object, meshes, first mesh pointer, first link word, keyframe offset, first animation
  moveables = {{5, 3, 0, 0, 0, 0}, {7, 1, 3, 8, 142, -1}, {9, 1, 4, 8, 142, 3}};
  statics = {{300, 2, {-1, 2, -3, 4, -5, 6, -7, 8, -9, 10, -11, 12}, 3}};
}

WadBuilder EmptyWad() {
  WadBuilder wad;
  wad.textureSamples.clear();
  wad.textureBytes.clear();
  wad.meshPointers.clear();
  wad.meshWords.clear();
  wad.animations.clear();
  wad.stateChanges.clear();
  wad.dispatches.clear();
  wad.commandWords.clear();
  wad.links.clear();
  wad.keyFrameWords.clear();
  wad.moveables.clear();
  wad.statics.clear();
  return wad;
}

std::vector<uint8_t> WadBuilder::Bytes() const {
  std::vector<uint8_t> out;
  ::Bytes b(out);
  b.u32(version);
  b.u32(textureSamples.size());
  for (const auto& s : textureSamples) {
    b.u8(s.x); b.u8(s.y); b.u16(s.page); b.u8(s.flipX); b.u8(s.addW); b.u8(s.flipY); b.u8(s.addH);
  }
  b.u32(textureBytes.size());
  for (uint8_t v : textureBytes) b.u8(v);
  b.u32(meshPointers.size());
  for (uint32_t v : meshPointers) b.u32(v);
  b.u32(meshWords.size());
  for (uint16_t v : meshWords) b.u16(v);
  b.u32(animations.size());
  for (const auto& a : animations) {
    b.u32(a.keyFrameOffset); b.u8(a.frameRate); b.u8(a.frameSize); b.u16(a.stateId);
    b.u32(a.speed); b.u32(a.accel);
    for (uint8_t v : a.reserved) b.u8(v);
    b.u16(a.frameStart); b.u16(a.frameEnd); b.u16(a.nextAnimation); b.u16(a.nextFrame);
    b.u16(a.numStateChanges); b.u16(a.stateChangeIndex); b.u16(a.numCommands); b.u16(a.commandOffset);
  }
  b.u32(stateChanges.size());
  for (const auto& s : stateChanges) { b.u16(s.stateId); b.u16(s.numDispatches); b.u16(s.dispatchIndex); }
  b.u32(dispatches.size());
  for (const auto& d : dispatches) { b.u16(d.inFrame); b.u16(d.outFrame); b.u16(d.nextAnimation); b.u16(d.nextFrame); }
  b.u32(commandWords.size());
  for (uint16_t v : commandWords) b.u16(v);
  b.u32(links.size());
  for (int32_t v : links) b.u32(v);
  b.u32(keyFrameWords.size());
  for (uint16_t v : keyFrameWords) b.u16(v);
  b.u32(moveables.size());
  for (const auto& m : moveables) {
    b.u32(m.objectId); b.u16(m.numMeshes); b.u16(m.meshPointerIndex);
    b.u32(m.linkIndex); b.u32(m.keyFrameOffset); b.u16(m.animIndex);
  }
  b.u32(statics.size());
  for (const auto& s : statics) {
    b.u32(s.objectId); b.u16(s.meshPointerIndex);
    for (int16_t v : s.boxes) b.u16(v);
    b.u16(s.flags);
  }
  return out;
}

std::vector<std::size_t> WadBuilder::CountOffsets() const {
  const std::size_t recordBytes[] = {8, 1, 4, 2, 40, 6, 8, 2, 4, 2, 18, 32};
  const std::size_t counts[] = {textureSamples.size(), textureBytes.size(), meshPointers.size(),
                                meshWords.size(),      animations.size(),   stateChanges.size(),
                                dispatches.size(),     commandWords.size(), links.size(),
                                keyFrameWords.size(),  moveables.size(),    statics.size()};
  std::vector<std::size_t> offsets;
  std::size_t at = 4;
  for (int i = 0; i < 12; ++i) {
    offsets.push_back(at);
    at += 4 + counts[i] * recordBytes[i];
  }
  return offsets;
}

WadFile WadBuilder::Expected() const {
  WadFile wad;
  wad.version = version;
  wad.textureSamples = textureSamples;
  wad.textureBytes = textureBytes;
  wad.meshPointers = meshPointers;
  wad.meshWords = meshWords;
  wad.animations = animations;
  wad.stateChanges = stateChanges;
  wad.dispatches = dispatches;
  wad.commandWords = commandWords;
  wad.links = links;
  wad.keyFrameWords = keyFrameWords;
  wad.moveables = moveables;
  wad.statics = statics;
  return wad;
}
