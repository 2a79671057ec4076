#include "model/KeyFrameStream.h"

#include <algorithm>
#include <limits>
#include <span>
#include <string>

#include "model/KeyFrameCodec.h"

namespace {

// Mesh count of every animation: that of the first moveable whose range holds
// it, 0 for an animation that no moveable claims.
std::vector<uint16_t> MeshCountsByAnimation(const WadFile& wad) {
  std::vector<uint16_t> meshCounts(wad.numAnimations(), 0);
  std::vector<bool> claimed(wad.numAnimations(), false);
  for (uint32_t m = 0; m < wad.numMoveables(); ++m) {
    const uint32_t count = CountMoveableAnimations(wad, m);
    for (uint32_t local = 0; local < count; ++local) {
      const uint32_t g = wad.moveables[m].animIndex + local;
      if (claimed[g]) continue;
      claimed[g] = true;
      meshCounts[g] = wad.moveables[m].numMeshes;
    }
  }
  return meshCounts;
}

// Whole frames of animation g between its offset and the next animation's
// (or the end of the stream), counting only what lies inside the stream.
uint32_t StoredKeyFrameCount(const WadFile& wad, uint32_t g) {
  const WadAnimation& animation = wad.animations[g];
  const uint64_t streamBytes = 2ull * wad.numKeyFrameWords();
  const uint64_t frameBytes = 2ull * animation.frameSize;
  const uint64_t begin = animation.keyFrameOffset;
  if (frameBytes == 0 || begin % 2 != 0 || begin > streamBytes) return 0;
  uint64_t end = g + 1 < wad.numAnimations() ? wad.animations[g + 1].keyFrameOffset : streamBytes;
  end = std::min(end, streamBytes);
  if (end < begin) return 0;
  return static_cast<uint32_t>(std::min<uint64_t>((end - begin) / frameBytes, kMaxKeyFrames));
}

AnimKeyFrames DecodeAnimation(const WadFile& wad, uint32_t g, uint16_t numMeshes) {
  const WadAnimation& stored = wad.animations[g];
  AnimKeyFrames animation;
  animation.storedFrameBytes = 2 * stored.frameSize;
  const uint32_t count = StoredKeyFrameCount(wad, g);
  const std::span<const uint16_t> stream(wad.keyFrameWords);
  animation.keyFrames.reserve(count);
  for (uint32_t k = 0; k < count; ++k) {
    const std::size_t first = stored.keyFrameOffset / 2 + std::size_t{k} * stored.frameSize;
    animation.keyFrames.push_back(DecodeKeyFrame(stream.subspan(first, stored.frameSize), numMeshes));
  }
  return animation;
}

std::string AnimationName(uint32_t g) { return "Animation " + std::to_string(g); }

}  // namespace

int DecodeKeyFrames(AnimationModel& animaciones, const WadFile& wad, uint32_t& total) {
  total = 0;
  animaciones.clear();
  if (wad.numAnimations() == 0) return 0;

  const std::vector<uint16_t> meshCounts = MeshCountsByAnimation(wad);
  animaciones.reserve(wad.numAnimations());
  for (uint32_t g = 0; g < wad.numAnimations(); ++g) {
    animaciones.push_back(std::make_unique<AnimKeyFrames>(DecodeAnimation(wad, g, meshCounts[g])));
    total += animaciones.back()->numKeyFrames();
  }
  return 1;
}

void ComputeFrameBytes(AnimKeyFrames& animation) {
  int bytes = animation.storedFrameBytes;
  for (const KeyFrame& keyFrame : animation.keyFrames) bytes = std::max(bytes, KeyFrameByteSize(keyFrame));
  animation.frameBytes = (bytes + 1) & ~1;
}

EncodeResult RebuildKeyFrameData(AnimationModel& animaciones, WadFile& wad) {
  const uint32_t numAnimations = wad.numAnimations();
  if (animaciones.size() != numAnimations)
    return EncodeResult::Refused("The animation model holds " + std::to_string(animaciones.size()) +
                                 " animations but the WAD has " + std::to_string(numAnimations) + ".");

  uint64_t totalWords = 0;
  for (uint32_t g = 0; g < numAnimations; ++g) {
    if (!animaciones[g]) return EncodeResult::Refused(AnimationName(g) + " is missing from the model.");
    AnimKeyFrames& animation = *animaciones[g];
    ComputeFrameBytes(animation);
    if (animation.frameBytes > kMaxFrameBytes)
      return EncodeResult::Refused(AnimationName(g) + " has a keyframe of " +
                                   std::to_string(animation.frameBytes) + " bytes; a keyframe can take at most " +
                                   std::to_string(kMaxFrameBytes) + " bytes.");
    totalWords += uint64_t{animation.numKeyFrames()} * (animation.frameBytes / 2);
  }
  if (2 * totalWords > std::numeric_limits<uint32_t>::max())
    return EncodeResult::Refused("The keyframes take more bytes than a WAD can address.");

  std::vector<uint16_t> words;
  words.reserve(totalWords);
  std::vector<uint32_t> offsets(numAnimations + 1);
  for (uint32_t g = 0; g < numAnimations; ++g) {
    offsets[g] = static_cast<uint32_t>(2 * words.size());
    const AnimKeyFrames& animation = *animaciones[g];
    for (const KeyFrame& keyFrame : animation.keyFrames)
      AppendEncodedKeyFrame(keyFrame, animation.frameBytes, words);
  }
  offsets[numAnimations] = static_cast<uint32_t>(2 * words.size());

  for (uint32_t g = 0; g < numAnimations; ++g) {
    wad.animations[g].keyFrameOffset = offsets[g];
    wad.animations[g].frameSize = static_cast<uint8_t>(animaciones[g]->frameBytes / 2);
  }
  // A moveable without animations takes the offset where the next moveable's
  // animations start.
  uint32_t nextAnimation = 0;
  for (uint32_t m = 0; m < wad.numMoveables(); ++m) {
    const uint32_t count = CountMoveableAnimations(wad, m);
    if (count > 0) nextAnimation = wad.moveables[m].animIndex;
    wad.moveables[m].keyFrameOffset = offsets[std::min(nextAnimation, numAnimations)];
    nextAnimation += count;
  }
  wad.keyFrameWords = std::move(words);
  return EncodeResult::Done();
}

int FreeAnimations(AnimationModel& animaciones, int n) {
  if (n < 1) return 0;
  animaciones.clear();
  return 1;
}
