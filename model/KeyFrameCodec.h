#pragma once
// One encoded keyframe (a frame) in the keyframe stream, 16-bit words:
//
//   0..5   box: corner A x, corner B x, corner A y, corner B y, corner A z, corner B z
//   6..8   root offset x, y, z
//   9..    one packed rotation per mesh, in mesh order
//   rest   padding up to the animation's frame size
//
// A packed rotation is chosen by the top two bits of its first word w:
//   01  x = (w & 0x3FFF) * 360 / 4096, y and z absent
//   10  y = (w & 0x3FFF) * 360 / 4096, x and z absent
//   11  z = (w & 0x3FFF) * 360 / 4096, x and y absent
//   00  two words, high word first: v = w << 16 | w2, with 10-bit fields
//       x = bits 29..20, y = bits 19..10, z = bits 9..0, each * 360 / 1024;
//       a field that decodes to 0 is stored as 360 (absent)
// An absent axis is held as the angle 360 and means no rotation about it.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "model/AnimationModel.h"

inline constexpr float kAbsentAngle = 360.0f;
inline constexpr int kKeyFrameHeaderWords = 9;
// frameSize is a byte count of 16-bit words.
inline constexpr int kMaxFrameBytes = 2 * 0xFF;

// The two words of a two-word rotation as one value, the first word high.
uint32_t ReadRotationDword(std::span<const uint16_t, 2> words);

// Decodes the rotation at the start of words into x, y, z. Returns 1 for a
// one-word rotation, 3 for a two-word one, and 0 (angles untouched) when words
// is too short to hold the rotation.
int DecodeRotation(float& x, float& y, float& z, std::span<const uint16_t> words);

// a truncated towards zero, plus one when a is at least half above that:
// 89.5 gives 90, -2.7 gives -2. NaN gives 0; values beyond int saturate.
int RoundAngle(float a);

// Packs whole-degree angles into words; returns how many words (1 or 2). An
// angle outside 0..360 is taken modulo 360, so it never reaches the bits of
// another axis or of the form.
int EncodeRotation(const std::array<float, 3>& angles, std::array<uint16_t, 2>& words);

// The words a mesh's committed rotation is written as: its stored words while
// the committed angles still equal what they decode to, else the angles packed
// afresh. Returns the word count.
int MeshRotationWords(const MeshPose& pose, std::array<uint16_t, 2>& words);

// Bytes EncodeKeyFrame writes for the keyframe before any padding.
int KeyFrameByteSize(const KeyFrame& keyFrame);

// Decodes one frame of the keyframe stream for a moveable of numMeshes
// meshes. Reads only inside frame: a frame too short for every mesh's
// rotation gives poses only for the rotations it holds. Angles are rounded to
// whole degrees; each mesh keeps the words it was read from, the keyframe the
// words after its rotations and how many rotation words came before them;
// working copies equal the committed ones.
KeyFrame DecodeKeyFrame(std::span<const uint16_t> frame, uint16_t numMeshes);

// Appends the encoded keyframe to out, padded with zero bytes to frameBytes
// (nothing is cut when the keyframe is longer).
void AppendEncodedKeyFrame(const KeyFrame& keyFrame, int frameBytes, std::vector<uint16_t>& out);

// The encoded keyframe on its own.
std::vector<uint16_t> EncodeKeyFrame(const KeyFrame& keyFrame, int frameBytes);
