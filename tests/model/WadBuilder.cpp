#include "WadBuilder.h"

#include <type_traits>

namespace {

// Appends values little-endian, each by its own size; a section is its count,
// then its records.
struct Put {
  std::vector<uint8_t>& out;
  std::vector<std::size_t>* countAt;
  template <class T>
  void One(T v) {
    if constexpr (std::is_integral_v<T>) {
      for (std::size_t i = 0; i < sizeof(T); ++i) out.push_back(static_cast<uint8_t>(uint64_t(v) >> (8 * i)));
    } else {
      for (auto e : v) One(e);
    }
  }
  template <class... T>
  void operator()(T... values) { (One(values), ...); }
  template <class R, class F>
  void Section(const std::vector<R>& records, F fields) {
    if (countAt) countAt->push_back(out.size());
    One(static_cast<uint32_t>(records.size()));
    for (const R& r : records) fields(r);
  }
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
  version = kWadVersion;
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
      {142, 1, 10, 1, 0, 0, {}, 0, 0, 3, 0, 0, 3, 3, 16},
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
      5, 0, 9, 0, 9,            // animation 3: sound at frame 0, unknown types 0 and 9
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

std::vector<uint8_t> WadBuilder::Bytes(std::vector<std::size_t>* countAt) const {
  std::vector<uint8_t> out;
  Put put{out, countAt};
  put(version);
  put.Section(textureSamples, [&](auto& t) { put(t.x, t.y, t.page, t.flipX, t.addW, t.flipY, t.addH); });
  put.Section(textureBytes, put);
  put.Section(meshPointers, put);
  put.Section(meshWords, put);
  put.Section(animations, [&](auto& a) {
    put(a.keyFrameOffset, a.frameRate, a.frameSize, a.stateId, a.speed, a.accel, a.reserved, a.frameStart,
        a.frameEnd, a.nextAnimation, a.nextFrame, a.numStateChanges, a.stateChangeIndex, a.numCommands,
        a.commandOffset);
  });
  put.Section(stateChanges, [&](auto& c) { put(c.stateId, c.numDispatches, c.dispatchIndex); });
  put.Section(dispatches, [&](auto& d) { put(d.inFrame, d.outFrame, d.nextAnimation, d.nextFrame); });
  put.Section(commandWords, put);
  put.Section(links, put);
  put.Section(keyFrameWords, put);
  put.Section(moveables, [&](auto& m) {
    put(m.objectId, m.numMeshes, m.meshPointerIndex, m.linkIndex, m.keyFrameOffset, m.animIndex);
  });
  put.Section(statics, [&](auto& t) { put(t.objectId, t.meshPointerIndex, t.boxes, t.flags); });
  out.insert(out.end(), trailingBytes.begin(), trailingBytes.end());
  return out;
}
