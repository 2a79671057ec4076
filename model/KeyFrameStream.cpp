#include "model/KeyFrameStream.h"

#include <algorithm>
#include <limits>
#include <span>
#include <string>

#include "model/KeyFrameCodec.h"
#include "model/KeyFrameLayout.h"

namespace {

constexpr uint64_t kMaxStreamBytes = std::numeric_limits<uint32_t>::max();

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

AnimKeyFrames DecodeAnimation(const WadFile& wad, const StoredKeyFrameSpan& span, uint16_t numMeshes) {
  AnimKeyFrames animation;
  animation.stored = span;
  animation.stored->count = std::min<uint32_t>(span.count, kMaxKeyFrames);
  const std::span<const uint16_t> stream(wad.keyFrameWords);
  const std::size_t frameWords = span.frameBytes / 2;
  animation.keyFrames.reserve(animation.stored->count);
  for (uint32_t k = 0; k < animation.stored->count; ++k) {
    const std::size_t first = span.offset / 2 + std::size_t{k} * frameWords;
    animation.keyFrames.push_back(DecodeKeyFrame(stream.subspan(first, frameWords), numMeshes));
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
  const std::vector<StoredKeyFrameSpan> spans = KeyFrameSpans(wad);
  animaciones.reserve(wad.numAnimations());
  for (uint32_t g = 0; g < wad.numAnimations(); ++g) {
    animaciones.push_back(std::make_unique<AnimKeyFrames>(DecodeAnimation(wad, spans[g], meshCounts[g])));
    total += animaciones.back()->numKeyFrames();
  }
  return 1;
}

void ComputeFrameBytes(AnimKeyFrames& animation) {
  int bytes = animation.stored ? static_cast<int>(animation.stored->readFrameBytes) : 0;
  for (const KeyFrame& keyFrame : animation.keyFrames) bytes = std::max(bytes, KeyFrameByteSize(keyFrame));
  animation.frameBytes = (bytes + 1) & ~1;
}

EncodeResult RebuildKeyFrameData(AnimationModel& animaciones, WadFile& wad) {
  const uint32_t numAnimations = wad.numAnimations();
  if (animaciones.size() != numAnimations)
    return EncodeResult::Refused("The animation model holds " + std::to_string(animaciones.size()) +
                                 " animations but the WAD has " + std::to_string(numAnimations) + ".");

  for (uint32_t g = 0; g < numAnimations; ++g) {
    if (!animaciones[g]) return EncodeResult::Refused(AnimationName(g) + " is missing from the model.");
    AnimKeyFrames& animation = *animaciones[g];
    ComputeFrameBytes(animation);
    if (animation.frameBytes > kMaxFrameBytes)
      return EncodeResult::Refused(AnimationName(g) + " has a keyframe of " +
                                   std::to_string(animation.frameBytes) + " bytes; a keyframe can take at most " +
                                   std::to_string(kMaxFrameBytes) + " bytes.");
  }
  if (2ull * wad.numKeyFrameWords() > kMaxStreamBytes)
    return EncodeResult::Refused("The keyframes take more bytes than a WAD can address.");

  const KeyFrameLayout layout(animaciones, wad.keyFrameWords);
  if (2ull * layout.Words().size() > kMaxStreamBytes)
    return EncodeResult::Refused("The keyframes take more bytes than a WAD can address.");

  for (uint32_t g = 0; g < numAnimations; ++g) {
    AnimKeyFrames& animation = *animaciones[g];
    WadAnimation& record = wad.animations[g];
    // An animation without keyframes keeps the offset it was read with, moved
    // with the words it pointed at; an added one takes its place in the order.
    record.keyFrameOffset = !animation.keyFrames.empty() || !animation.stored
                                ? layout.AnimationStart(g)
                                : layout.Moved(animation.stored->offset);
    record.frameSize = static_cast<uint8_t>(animation.frameBytes / 2);
    const uint32_t readFrameBytes = animation.stored ? animation.stored->readFrameBytes : 0;
    animation.stored = StoredKeyFrameSpan{record.keyFrameOffset, static_cast<uint32_t>(animation.frameBytes),
                                          animation.numKeyFrames(), readFrameBytes};
  }
  // A moveable's offset points at its first keyframe, or wherever the file
  // had it point: it follows those words.
  for (WadMoveable& moveable : wad.moveables) moveable.keyFrameOffset = layout.Moved(moveable.keyFrameOffset);
  wad.keyFrameWords = layout.Words();
  return EncodeResult::Done();
}

int FreeAnimations(AnimationModel& animaciones, int n) {
  if (n < 1) return 0;
  animaciones.clear();
  return 1;
}
