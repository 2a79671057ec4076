#pragma once
// Depth test and colour of the pixels of the spans of one triangle or line.

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "Rasterizer.h"

namespace d3d8 {

// The values that vary linearly on the screen, at a span's first pixel or as
// steps from one pixel to the next.
struct SpanValues {
  float z, invW, uOverW, vOverW;
};

// Depth-tests and shades spans that share their steps: pixel k of a span
// takes start + step * k of each value, its depth the 16-bit value of z
// (less-or-equal passes and is written) and its colour the texel at u, v
// (1/w times u/w and v/w) or white. What stays the same from span to span is
// set up once.
class SpanPainter {
 public:
  SpanPainter(const Fragments& out, const SpanValues& step);

  // The `count` pixels from `offset` of the target on.
  void Paint(std::size_t offset, int count, const SpanValues& start) const {
#if defined(__SSE2__)
    if (fourWide_) return PaintFourWide(offset, count, start);
#endif
    shade_(out_, offset, 0, count, start, step_);
  }

  using Shader = void (*)(const Fragments& out, std::size_t offset, int first, int count,
                          const SpanValues& start, const SpanValues& step);

 private:
  const Fragments& out_;
  SpanValues step_;
  Shader shade_;
#if defined(__SSE2__)
  // Depth-tested, textured, both texture sides a power of two: four pixels
  // at a time.
  void PaintFourWide(std::size_t offset, int count, const SpanValues& start) const;

  bool fourWide_ = false;
  __m128 dz_, dw_, du_, dv_;
  __m128 texWidth_, texHeight_;
  __m128i maskU_, maskV_, rowShift_;
  std::size_t pixels_ = 0;
#endif
};

}  // namespace d3d8
