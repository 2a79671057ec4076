#pragma once
// The decoded animation model: per WAD animation its keyframes, per keyframe
// its box, root offset and one pose per mesh. Each keyframe value exists as a
// committed copy (what a save writes) and a working copy (what the user is
// trying out until it is committed or reverted).

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// A 4 x 4 float matrix, row-major, laid out like the graphics library's own
// matrix type so the scene can convert by copy.
struct Matrix4 {
  float m[4][4];
  bool operator==(const Matrix4&) const = default;
};
static_assert(sizeof(Matrix4) == 64);

// The packed rotation of one mesh as the file held it. A save writes these
// words back unchanged as long as the committed angles still equal what they
// decode to, so values that whole degrees cannot express survive a save.
// Pasted angles bring the words they were read with, so a paste saves the
// copied rotation word for word.
struct StoredRotation {
  std::array<uint16_t, 2> words{};
  uint8_t count = 0;  // 1 or 2 words; 0 = not read from a file
  bool operator==(const StoredRotation&) const = default;
};

// Angles are whole degrees; 360 marks an axis left out of the packed rotation.
struct MeshPose {
  std::array<float, 3> angles{};         // committed x, y, z
  std::array<float, 3> workingAngles{};
  Matrix4 world{};                       // from the committed angles
  Matrix4 workingWorld{};                // from the working angles
  Matrix4 localRotation{};               // yaw-pitch-roll of (y, -x, -z)
  Matrix4 plainRotation{};               // yaw-pitch-roll of (y, x, z)
  StoredRotation stored;                 // the words of the committed angles
  StoredRotation workingStored;          // of the working angles; committed with them
  bool operator==(const MeshPose&) const = default;
};

// Corner A x, y, z, then corner B x, y, z, in WAD units.
using KeyFrameBox = std::array<int16_t, 6>;
// x, y, z in WAD units.
using RootOffset = std::array<int16_t, 3>;

struct KeyFrame {
  std::vector<MeshPose> meshes;
  KeyFrameBox box{};
  KeyFrameBox workingBox{};
  RootOffset rootOffset{};
  RootOffset workingRootOffset{};
  // The frame's words after its rotations, as read; written back while the
  // rotations take as many words as they did when read.
  std::vector<uint16_t> storedPadding;
  uint16_t storedRotationWords = 0;

  uint16_t numMeshes() const { return static_cast<uint16_t>(meshes.size()); }
  bool operator==(const KeyFrame&) const = default;
};

// Where the WAD kept an animation's keyframes: its keyFrameOffset and frame
// size as read, and how many frames were decoded from there. A save lays the
// stream out around these spans, so what it does not edit stays as read, and
// then moves them to where it wrote the frames.
struct StoredKeyFrameSpan {
  uint32_t offset = 0;      // bytes into the keyframe stream
  uint32_t frameBytes = 0;  // bytes per keyframe there
  uint32_t count = 0;       // keyframes decoded from offset on
  // Bytes per keyframe as the file was read: a save keeps it unless a
  // keyframe needs more. A save moves the span but keeps this, so a size one
  // save needed does not stay once the keyframes that needed it are gone.
  uint32_t readFrameBytes = 0;
  bool operator==(const StoredKeyFrameSpan&) const = default;
};

struct AnimKeyFrames {
  std::vector<KeyFrame> keyFrames;
  // Encoded bytes per keyframe; set by ComputeFrameBytes when the model is encoded.
  int32_t frameBytes = 0;
  // Absent for an animation the editor added; operations that replace an
  // entry keep it.
  std::optional<StoredKeyFrameSpan> stored;

  uint16_t numKeyFrames() const { return static_cast<uint16_t>(keyFrames.size()); }
  bool operator==(const AnimKeyFrames&) const = default;
};

// One entry per WAD animation, by global animation index; never a null entry.
// Entries are heap objects so that pointers to them stay valid while entries
// are inserted around them.
using AnimationModel = std::vector<std::unique_ptr<AnimKeyFrames>>;

inline constexpr uint32_t kMaxKeyFrames = 0xFFFF;
