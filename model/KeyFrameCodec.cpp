#include "model/KeyFrameCodec.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr uint16_t kFormMask = 0xC000;
constexpr uint16_t kFormX = 0x4000;
constexpr uint16_t kFormY = 0x8000;
constexpr uint16_t kFormZ = 0xC000;
constexpr uint16_t kOneWordValueMask = 0x3FFF;
constexpr int kOneWordSteps = 4096;  // steps per full turn in a one-word rotation
constexpr int kTwoWordSteps = 1024;  // steps per full turn in each 10-bit field
constexpr uint32_t kFieldMask = 0x3FF;
constexpr int kXShift = 20;
constexpr int kYShift = 10;
constexpr int kZShift = 0;
constexpr float kFullTurn = 360.0f;
constexpr int kWordBits = 16;

// Frame word i of the header holds box[kBoxWordOrder[i]].
constexpr std::array<int, 6> kBoxWordOrder = {0, 3, 1, 4, 2, 5};

float OneWordAngle(uint16_t w) { return (w & kOneWordValueMask) * kFullTurn / kOneWordSteps; }

float TwoWordAngle(uint32_t v, int shift) {
  const uint32_t field = (v >> shift) & kFieldMask;
  return field == 0 ? kAbsentAngle : field * kFullTurn / kTwoWordSteps;
}

// The angle in steps of a full turn, taken modulo the turn.
uint32_t Quantise(float angle, int steps) {
  if (!std::isfinite(angle)) return 0;
  double turn = std::fmod(static_cast<double>(angle), static_cast<double>(kFullTurn));
  if (turn < 0) turn += kFullTurn;
  // A turn a hair below 360 may still round up to a whole turn: the mask makes it 0.
  return static_cast<uint32_t>(turn * steps / kFullTurn) & static_cast<uint32_t>(steps - 1);
}

bool StoredWordsStillMatch(const MeshPose& pose) {
  float x = 0, y = 0, z = 0;
  std::span<const uint16_t> words(pose.stored.words.data(), pose.stored.count);
  if (DecodeRotation(x, y, z, words) == 0) return false;
  return static_cast<float>(RoundAngle(x)) == pose.angles[0] &&
         static_cast<float>(RoundAngle(y)) == pose.angles[1] &&
         static_cast<float>(RoundAngle(z)) == pose.angles[2];
}

}  // namespace

uint32_t ReadRotationDword(std::span<const uint16_t, 2> words) {
  return static_cast<uint32_t>(words[0]) << kWordBits | words[1];
}

int DecodeRotation(float& x, float& y, float& z, std::span<const uint16_t> words) {
  if (words.empty()) return 0;
  const uint16_t w = words[0];
  switch (w & kFormMask) {
    case kFormX: x = OneWordAngle(w); y = z = kAbsentAngle; return 1;
    case kFormY: y = OneWordAngle(w); x = z = kAbsentAngle; return 1;
    case kFormZ: z = OneWordAngle(w); x = y = kAbsentAngle; return 1;
    default: break;
  }
  if (words.size() < 2) return 0;
  const uint32_t v = ReadRotationDword(words.first<2>());
  x = TwoWordAngle(v, kXShift);
  y = TwoWordAngle(v, kYShift);
  z = TwoWordAngle(v, kZShift);
  return 3;
}

int RoundAngle(float a) {
  if (std::isnan(a)) return 0;
  if (a >= static_cast<float>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (a <= static_cast<float>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  const int t = static_cast<int>(a);
  return t + (a >= t + 0.5f ? 1 : 0);
}

int EncodeRotation(const std::array<float, 3>& angles, std::array<uint16_t, 2>& words) {
  const bool absentX = angles[0] == kAbsentAngle;
  const bool absentY = angles[1] == kAbsentAngle;
  const bool absentZ = angles[2] == kAbsentAngle;
  auto oneWord = [&](uint16_t form, float angle) {
    words = {static_cast<uint16_t>(form | Quantise(angle, kOneWordSteps)), 0};
    return 1;
  };
  if (absentX && absentY && !absentZ) return oneWord(kFormZ, angles[2]);
  if (absentX && !absentY && absentZ) return oneWord(kFormY, angles[1]);
  if (!absentX && absentY && absentZ) return oneWord(kFormX, angles[0]);

  const uint32_t v = Quantise(angles[0], kTwoWordSteps) << kXShift |
                     Quantise(angles[1], kTwoWordSteps) << kYShift |
                     Quantise(angles[2], kTwoWordSteps) << kZShift;
  words = {static_cast<uint16_t>(v >> kWordBits), static_cast<uint16_t>(v)};
  return 2;
}

int MeshRotationWords(const MeshPose& pose, std::array<uint16_t, 2>& words) {
  if (StoredWordsStillMatch(pose)) {
    words = pose.stored.words;
    return pose.stored.count;
  }
  return EncodeRotation(pose.angles, words);
}

int KeyFrameByteSize(const KeyFrame& keyFrame) {
  int words = kKeyFrameHeaderWords;
  int rotationWords = 0;
  std::array<uint16_t, 2> scratch{};
  for (const MeshPose& pose : keyFrame.meshes) rotationWords += MeshRotationWords(pose, scratch);
  words += rotationWords;
  if (rotationWords == keyFrame.storedRotationWords) words += static_cast<int>(keyFrame.storedPadding.size());
  return 2 * words;
}

KeyFrame DecodeKeyFrame(std::span<const uint16_t> frame, uint16_t numMeshes) {
  KeyFrame keyFrame;
  std::array<uint16_t, kKeyFrameHeaderWords> header{};
  const std::size_t headerWords = std::min<std::size_t>(frame.size(), header.size());
  std::copy_n(frame.begin(), headerWords, header.begin());
  for (std::size_t i = 0; i < kBoxWordOrder.size(); ++i)
    keyFrame.box[kBoxWordOrder[i]] = static_cast<int16_t>(header[i]);
  for (std::size_t i = 0; i < keyFrame.rootOffset.size(); ++i)
    keyFrame.rootOffset[i] = static_cast<int16_t>(header[kBoxWordOrder.size() + i]);
  keyFrame.workingBox = keyFrame.box;
  keyFrame.workingRootOffset = keyFrame.rootOffset;

  // One pose per rotation the frame holds, up to the moveable's meshes: a
  // damaged mesh count never asks for more poses than the file has words.
  std::size_t cursor = headerWords;
  keyFrame.meshes.reserve(std::min<std::size_t>(numMeshes, frame.size() - cursor));
  while (keyFrame.meshes.size() < numMeshes) {
    float x = 0, y = 0, z = 0;
    const int form = DecodeRotation(x, y, z, frame.subspan(cursor));
    if (form == 0) break;
    MeshPose& pose = keyFrame.meshes.emplace_back();
    const uint8_t count = form == 1 ? 1 : 2;
    pose.angles = {static_cast<float>(RoundAngle(x)), static_cast<float>(RoundAngle(y)),
                   static_cast<float>(RoundAngle(z))};
    pose.workingAngles = pose.angles;
    pose.stored.count = count;
    std::copy_n(frame.begin() + cursor, count, pose.stored.words.begin());
    pose.workingStored = pose.stored;
    cursor += count;
  }
  keyFrame.storedRotationWords = static_cast<uint16_t>(cursor - headerWords);
  keyFrame.storedPadding.assign(frame.begin() + cursor, frame.end());
  return keyFrame;
}

void AppendEncodedKeyFrame(const KeyFrame& keyFrame, int frameBytes, std::vector<uint16_t>& out) {
  const std::size_t start = out.size();
  for (int index : kBoxWordOrder) out.push_back(static_cast<uint16_t>(keyFrame.box[index]));
  for (int16_t v : keyFrame.rootOffset) out.push_back(static_cast<uint16_t>(v));

  int rotationWords = 0;
  std::array<uint16_t, 2> words{};
  for (const MeshPose& pose : keyFrame.meshes) {
    const int count = MeshRotationWords(pose, words);
    out.insert(out.end(), words.begin(), words.begin() + count);
    rotationWords += count;
  }
  if (rotationWords == keyFrame.storedRotationWords)
    out.insert(out.end(), keyFrame.storedPadding.begin(), keyFrame.storedPadding.end());

  const std::size_t frameWords = static_cast<std::size_t>(frameBytes > 0 ? frameBytes / 2 : 0);
  if (out.size() - start < frameWords) out.resize(start + frameWords, 0);
}

std::vector<uint16_t> EncodeKeyFrame(const KeyFrame& keyFrame, int frameBytes) {
  std::vector<uint16_t> words;
  AppendEncodedKeyFrame(keyFrame, frameBytes, words);
  return words;
}
