#include "model/KeyFrameLayout.h"

#include <algorithm>

#include "model/KeyFrameCodec.h"

namespace {

constexpr uint32_t kFrameHeaderBytes = 2 * kKeyFrameHeaderWords;

// An animation's place in the stream: its offset, then its index.
struct Placed {
  uint64_t offset = 0;
  uint32_t g = 0;
  auto operator<=>(const Placed&) const = default;
};

}  // namespace

std::vector<StoredKeyFrameSpan> KeyFrameSpans(const WadFile& wad) {
  const uint64_t streamBytes = 2ull * wad.numKeyFrameWords();
  std::vector<StoredKeyFrameSpan> spans(wad.numAnimations());
  // Every animation with a frame size bounds the one placed before it;
  // animations without one often store 0 or any other offset and bound nothing.
  std::vector<Placed> placed;
  for (uint32_t g = 0; g < wad.numAnimations(); ++g) {
    const WadAnimation& animation = wad.animations[g];
    spans[g] = {animation.keyFrameOffset, 2u * animation.frameSize, 0, 2u * animation.frameSize};
    if (animation.frameSize != 0) placed.push_back({std::min<uint64_t>(animation.keyFrameOffset, streamBytes), g});
  }
  std::sort(placed.begin(), placed.end());
  for (std::size_t i = 0; i < placed.size(); ++i) {
    StoredKeyFrameSpan& span = spans[placed[i].g];
    const uint64_t begin = span.offset;
    if (span.frameBytes < kFrameHeaderBytes || begin % 2 != 0 || begin >= streamBytes) continue;
    const uint64_t end = i + 1 < placed.size() ? placed[i + 1].offset : streamBytes;
    span.count = static_cast<uint32_t>((end - begin) / span.frameBytes);
  }
  return spans;
}

int64_t FirstOverfullAnimation(const std::vector<StoredKeyFrameSpan>& spans) {
  for (std::size_t g = 0; g < spans.size(); ++g)
    if (spans[g].count > kMaxKeyFrames) return static_cast<int64_t>(g);
  return -1;
}

namespace {

// The animations whose frames were read from the file, in stream order, with
// those whose frames no longer lie inside the old stream after the ones before
// them left out (their words then stay as words between frames).
std::vector<Placed> ReadFrames(const AnimationModel& model, uint64_t oldBytes) {
  std::vector<Placed> read;
  for (uint32_t g = 0; g < model.size(); ++g) {
    const std::optional<StoredKeyFrameSpan>& span = model[g]->stored;
    if (span && span->count > 0) read.push_back({span->offset, g});
  }
  std::sort(read.begin(), read.end());
  uint64_t end = 0;
  std::erase_if(read, [&](const Placed& p) {
    const StoredKeyFrameSpan& span = *model[p.g]->stored;
    const uint64_t spanEnd = p.offset + uint64_t{span.count} * span.frameBytes;
    if (p.offset % 2 != 0 || p.offset < end || spanEnd > oldBytes) return true;
    end = spanEnd;
    return false;
  });
  return read;
}

}  // namespace

KeyFrameLayout::KeyFrameLayout(const AnimationModel& model, const std::vector<uint16_t>& oldStream)
    : starts_(model.size()), oldBytes_(static_cast<uint32_t>(2 * oldStream.size())) {
  const std::vector<Placed> read = ReadFrames(model, oldBytes_);
  std::vector<bool> wasRead(model.size(), false);
  for (const Placed& p : read) wasRead[p.g] = true;

  // Frames of animations that were not read go right after the frames of the
  // animation before them, or first when no animation before them was read.
  auto placeUnread = [&](uint32_t from) {
    for (uint32_t g = from; g < model.size() && !wasRead[g]; ++g) Place(*model[g], g);
  };
  placeUnread(0);
  uint32_t oldCursor = 0;
  for (const Placed& p : read) {
    const AnimKeyFrames& animation = *model[p.g];
    const StoredKeyFrameSpan& span = *animation.stored;
    CopyOldWords(oldStream, oldCursor, span.offset);
    oldCursor = span.offset + span.count * span.frameBytes;
    Place(animation, p.g);
    segments_.push_back({span.offset, oldCursor, starts_[p.g], span.frameBytes,
                         static_cast<uint32_t>(animation.frameBytes), animation.numKeyFrames()});
    placeUnread(p.g + 1);
  }
  CopyOldWords(oldStream, oldCursor, oldBytes_);
}

void KeyFrameLayout::Place(const AnimKeyFrames& animation, uint32_t g) {
  starts_[g] = static_cast<uint32_t>(2 * words_.size());
  for (const KeyFrame& keyFrame : animation.keyFrames) AppendEncodedKeyFrame(keyFrame, animation.frameBytes, words_);
}

void KeyFrameLayout::CopyOldWords(const std::vector<uint16_t>& oldStream, uint32_t from, uint32_t to) {
  if (to <= from) return;
  segments_.push_back({from, to, static_cast<uint32_t>(2 * words_.size()), 0, 0, 0});
  words_.insert(words_.end(), oldStream.begin() + from / 2, oldStream.begin() + to / 2);
}

uint32_t KeyFrameLayout::Moved(uint32_t oldOffset) const {
  if (oldOffset > oldBytes_) return oldOffset;
  if (oldOffset == oldBytes_) return static_cast<uint32_t>(2 * words_.size());
  // The segment holding the offset: the last one starting at or before it.
  auto after = std::upper_bound(segments_.begin(), segments_.end(), oldOffset,
                                [](uint32_t offset, const Segment& s) { return offset < s.oldStart; });
  const Segment& s = *(after - 1);
  const uint32_t into = oldOffset - s.oldStart;
  if (s.oldFrameBytes == 0) return s.newStart + into;
  // Inside a frame: the same place in the same frame, as far as the frame
  // still reaches; past the frames that are left, their end.
  const uint32_t frame = into / s.oldFrameBytes;
  if (frame >= s.newCount) return s.newStart + s.newCount * s.newFrameBytes;
  return s.newStart + frame * s.newFrameBytes + std::min(into % s.oldFrameBytes, s.newFrameBytes);
}
