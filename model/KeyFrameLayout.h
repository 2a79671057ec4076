#pragma once
// Where each animation's keyframes lie in the keyframe stream, and how a save
// lays the stream out again. Words that no decoded keyframe covers (before the
// first animation, between animations, after the last, frames too short to
// decode) are carried over unchanged, and every stored offset into the stream
// follows the words it pointed at, so a save without edits gives the stream
// and its offsets back exactly as they were read.

#include <cstdint>
#include <vector>

#include "model/AnimationModel.h"
#include "model/WadFile.h"

// The whole frames of each animation, by global index: from its keyFrameOffset
// up to the next offset in the stream (of an animation with a frame size; the
// later index first among equal offsets), or to the end of the stream. No
// frames when the frame size is shorter than a frame header or the offset is
// odd or outside the stream. Spans never overlap, so every word is decoded at
// most once and the model stays as large as the stream at most. count is not
// capped; an animation can hold kMaxKeyFrames keyframes.
std::vector<StoredKeyFrameSpan> KeyFrameSpans(const WadFile& wad);

// The first animation whose frames are more than an animation can hold, or -1.
int64_t FirstOverfullAnimation(const std::vector<StoredKeyFrameSpan>& spans);

// The keyframe stream laid out anew: the frames read from the file in the
// order the file had them, the words between them kept between them, and the
// frames of an animation that was not read (added by the editor, or without
// keyframes until now) right after those of the animation before it. Built
// from the old stream and the spans the model read from it.
class KeyFrameLayout {
 public:
  KeyFrameLayout(const AnimationModel& model, const std::vector<uint16_t>& oldStream);

  const std::vector<uint16_t>& Words() const { return words_; }
  // Byte offset of animation g's first keyframe in the new stream.
  uint32_t AnimationStart(uint32_t g) const { return starts_[g]; }
  // A byte offset into the old stream moved to where its word is in the new one;
  // an offset past the old stream is returned unchanged.
  uint32_t Moved(uint32_t oldOffset) const;

 private:
  // A stretch of the old stream: copied words, or one animation's frames.
  struct Segment {
    uint32_t oldStart = 0;
    uint32_t oldEnd = 0;
    uint32_t newStart = 0;
    uint32_t oldFrameBytes = 0;  // 0 for copied words
    uint32_t newFrameBytes = 0;
    uint32_t newCount = 0;
  };

  void Place(const AnimKeyFrames& animation, uint32_t g);
  void CopyOldWords(const std::vector<uint16_t>& oldStream, uint32_t from, uint32_t to);

  std::vector<uint16_t> words_;
  std::vector<uint32_t> starts_;
  std::vector<Segment> segments_;  // in old-stream order, covering all of it
  uint32_t oldBytes_ = 0;
};
