#pragma once
// The fixed-size records of a WAD file, each declared once. VisitFields lists a
// record's fields in file order; the reader, the writer and the size checks
// below all go through it, so a record's layout lives in one place. In memory
// the records use natural alignment (WadMoveable takes 20 bytes); on file they
// are packed, little-endian.

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <type_traits>

// One texture sample: a rectangle of a texture page.
struct WadTextureSample {
  uint8_t x = 0;        // left texel column in its page
  uint8_t y = 0;        // top texel row
  uint16_t page = 0;    // texture page number
  uint8_t flipX = 0;    // carried unchanged
  uint8_t addW = 0;     // right column is x + addW
  uint8_t flipY = 0;    // carried unchanged
  uint8_t addH = 0;     // bottom row is y + addH
  bool operator==(const WadTextureSample&) const = default;
};

struct WadAnimation {
  uint32_t keyFrameOffset = 0;  // bytes into keyFrameWords of the first keyframe
  uint8_t frameRate = 0;        // one keyframe shown per frameRate x 25 ms
  uint8_t frameSize = 0;        // 16-bit words per encoded keyframe; 0 = no keyframes
  uint16_t stateId = 0;
  int32_t speed = 0;
  int32_t accel = 0;
  std::array<uint8_t, 8> reserved{};  // carried unchanged
  uint16_t frameStart = 0;      // first absolute frame number
  uint16_t frameEnd = 0;        // last absolute frame number
  uint16_t nextAnimation = 0;   // global animation index
  uint16_t nextFrame = 0;       // absolute frame number inside nextAnimation
  uint16_t numStateChanges = 0;
  uint16_t stateChangeIndex = 0;  // first WadStateChange
  uint16_t numCommands = 0;
  uint16_t commandOffset = 0;   // word index of the first command word; 0 when none
  bool operator==(const WadAnimation&) const = default;
};

struct WadStateChange {
  uint16_t stateId = 0;
  uint16_t numDispatches = 0;
  uint16_t dispatchIndex = 0;  // first WadDispatch
  bool operator==(const WadStateChange&) const = default;
};

struct WadDispatch {
  uint16_t inFrame = 0;   // absolute frame range in which it applies
  uint16_t outFrame = 0;
  uint16_t nextAnimation = 0;  // global animation index
  uint16_t nextFrame = 0;      // absolute frame number in nextAnimation
  bool operator==(const WadDispatch&) const = default;
};

struct WadMoveable {
  uint32_t objectId = 0;
  uint16_t numMeshes = 0;
  uint16_t meshPointerIndex = 0;  // first entry in meshPointers
  uint32_t linkIndex = 0;         // first word in links
  uint32_t keyFrameOffset = 0;    // bytes into keyFrameWords of its first keyframe
  int16_t animIndex = -1;         // global index of its first animation; -1 = none
  bool operator==(const WadMoveable&) const = default;
};

// Static objects are carried through unchanged.
struct WadStatic {
  uint32_t objectId = 0;
  uint16_t meshPointerIndex = 0;
  std::array<int16_t, 12> boxes{};
  uint16_t flags = 0;
  bool operator==(const WadStatic&) const = default;
};

// One mesh link: four 32-bit words of the link stream.
struct WadLink {
  int32_t op = 0;  // 0 child of previous, 1 pop, 2 push, 3 use top
  int32_t dx = 0;
  int32_t dy = 0;
  int32_t dz = 0;
  bool operator==(const WadLink&) const = default;
};

template <class R, class T>
concept RecordOf = std::same_as<std::remove_const_t<R>, T>;

template <class V, RecordOf<WadTextureSample> R>
constexpr void VisitFields(V& v, R& r) {
  v(r.x); v(r.y); v(r.page); v(r.flipX); v(r.addW); v(r.flipY); v(r.addH);
}

template <class V, RecordOf<WadAnimation> R>
constexpr void VisitFields(V& v, R& r) {
  v(r.keyFrameOffset); v(r.frameRate); v(r.frameSize); v(r.stateId);
  v(r.speed); v(r.accel); v(r.reserved);
  v(r.frameStart); v(r.frameEnd); v(r.nextAnimation); v(r.nextFrame);
  v(r.numStateChanges); v(r.stateChangeIndex); v(r.numCommands); v(r.commandOffset);
}

template <class V, RecordOf<WadStateChange> R>
constexpr void VisitFields(V& v, R& r) {
  v(r.stateId); v(r.numDispatches); v(r.dispatchIndex);
}

template <class V, RecordOf<WadDispatch> R>
constexpr void VisitFields(V& v, R& r) {
  v(r.inFrame); v(r.outFrame); v(r.nextAnimation); v(r.nextFrame);
}

template <class V, RecordOf<WadMoveable> R>
constexpr void VisitFields(V& v, R& r) {
  v(r.objectId); v(r.numMeshes); v(r.meshPointerIndex);
  v(r.linkIndex); v(r.keyFrameOffset); v(r.animIndex);
}

template <class V, RecordOf<WadStatic> R>
constexpr void VisitFields(V& v, R& r) {
  v(r.objectId); v(r.meshPointerIndex); v(r.boxes); v(r.flags);
}

struct FieldSizeCounter {
  std::size_t bytes = 0;
  template <class T>
  constexpr void operator()(const T&) { bytes += sizeof(T); }
};

// Bytes a record takes in the file: the sum of its fields' sizes.
template <class R>
constexpr std::size_t FileSizeOf() {
  if constexpr (std::is_integral_v<R>) {
    return sizeof(R);
  } else {
    FieldSizeCounter counter;
    R record{};
    VisitFields(counter, record);
    return counter.bytes;
  }
}

static_assert(FileSizeOf<WadTextureSample>() == 8);
static_assert(FileSizeOf<WadAnimation>() == 40);
static_assert(FileSizeOf<WadStateChange>() == 6);
static_assert(FileSizeOf<WadDispatch>() == 8);
static_assert(FileSizeOf<WadMoveable>() == 18);
static_assert(FileSizeOf<WadStatic>() == 32);
