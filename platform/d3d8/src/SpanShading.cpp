#include "SpanShading.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace d3d8 {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kOpaque = 0xFF000000u;
constexpr float kMaxDepth = 65535.0f;

std::uint16_t ToDepth(float z) {
  float scaled = z * kMaxDepth + 0.5f;
  if (!(scaled > 0.0f)) scaled = 0.0f;  // NaN as well
  if (scaled > kMaxDepth) scaled = kMaxDepth;
  return static_cast<std::uint16_t>(scaled);
}

// Pixels first .. count - 1 of the span, one at a time.
template <bool kTextured, bool kDepthTest>
void ShadePixels(const Fragments& out, std::size_t offset, int first, int count,
                 const SpanValues& start, const SpanValues& step) {
  std::uint32_t* color = out.target.color + offset;
  for (int k = first; k < count; ++k) {
    const float fk = static_cast<float>(k);
    if constexpr (kDepthTest) {
      std::uint16_t& stored = out.target.depth[offset + k];
      const std::uint16_t depth = ToDepth(start.z + step.z * fk);
      if (depth > stored) continue;
      stored = depth;
    }
    if constexpr (kTextured) {
      const float w = 1.0f / (start.invW + step.invW * fk);
      color[k] = out.sampler.Sample((start.uOverW + step.uOverW * fk) * w,
                                    (start.vOverW + step.vOverW * fk) * w);
    } else {
      color[k] = kWhite;
    }
  }
}

#if defined(__SSE2__)

// TexelSampler's wrap of four texel-space coordinates of a side whose size is
// a power of two, lane by lane with the same operations.
__m128i WrapMasked(__m128 t, __m128i mask) {
  const __m128 low = _mm_set1_ps(-TexelSampler::kCoordinateLimit);
  const __m128 above = _mm_cmpgt_ps(t, low);  // false for NaN
  t = _mm_or_ps(_mm_and_ps(above, t), _mm_andnot_ps(above, low));
  t = _mm_min_ps(t, _mm_set1_ps(TexelSampler::kCoordinateLimit));
  const __m128i i = _mm_cvttps_epi32(t);
  const __m128i below = _mm_castps_si128(_mm_cmplt_ps(t, _mm_cvtepi32_ps(i)));  // -1: floor
  return _mm_and_si128(_mm_add_epi32(i, below), mask);
}

int Log2(int powerOfTwo) {
  int shift = 0;
  while ((1 << shift) < powerOfTwo) ++shift;
  return shift;
}

#endif

SpanPainter::Shader ShaderFor(const Fragments& out) {
  if (out.sampler.Textured()) return out.depthTest ? ShadePixels<true, true> : ShadePixels<true, false>;
  return out.depthTest ? ShadePixels<false, true> : ShadePixels<false, false>;
}

}  // namespace

SpanPainter::SpanPainter(const Fragments& out, const SpanValues& step)
    : out_(out), step_(step), shade_(ShaderFor(out)) {
#if defined(__SSE2__)
  const TexelSampler& sampler = out.sampler;
  fourWide_ = sampler.Textured() && out.depthTest && sampler.Masked();
  if (!fourWide_) return;
  dz_ = _mm_set1_ps(step.z);
  dw_ = _mm_set1_ps(step.invW);
  du_ = _mm_set1_ps(step.uOverW);
  dv_ = _mm_set1_ps(step.vOverW);
  texWidth_ = _mm_set1_ps(static_cast<float>(sampler.Width()));
  texHeight_ = _mm_set1_ps(static_cast<float>(sampler.Height()));
  maskU_ = _mm_set1_epi32(sampler.Width() - 1);
  maskV_ = _mm_set1_epi32(sampler.Height() - 1);
  rowShift_ = _mm_cvtsi32_si128(Log2(sampler.Width()));
  pixels_ = static_cast<std::size_t>(out.target.width) * out.target.height;
#endif
}

#if defined(__SSE2__)

// Every lane computes exactly what ShadePixels computes for its pixel, so the
// pixels are the same. The last group may reach past the span (spans are
// mostly a few pixels): its lanes beyond the span count as failing the depth
// test, so the pixels there are written back as they were. Only a group that
// would reach past the end of the buffers is left to ShadePixels.
void SpanPainter::PaintFourWide(std::size_t offset, int count, const SpanValues& start) const {
  const std::uint32_t* texels = out_.sampler.Texels();
  std::uint32_t* color = out_.target.color + offset;
  std::uint16_t* depth = out_.target.depth + offset;
  const __m128 z0 = _mm_set1_ps(start.z), w0 = _mm_set1_ps(start.invW);
  const __m128 u0 = _mm_set1_ps(start.uOverW), v0 = _mm_set1_ps(start.vOverW);
  const __m128 maxDepth = _mm_set1_ps(kMaxDepth);
  const __m128i spanEnd = _mm_set1_epi32(count);
  for (int k = 0; k < count; k += 4) {
    if (offset + static_cast<std::size_t>(k) + 4 > pixels_)
      return ShadePixels<true, true>(out_, offset, k, count, start, step_);
    const __m128i lane = _mm_add_epi32(_mm_set1_epi32(k), _mm_setr_epi32(0, 1, 2, 3));
    const __m128 fk = _mm_cvtepi32_ps(lane);  // exact: small whole numbers
    const __m128i beyond = _mm_xor_si128(_mm_cmplt_epi32(lane, spanEnd), _mm_set1_epi32(-1));
    // ToDepth: NaN and below 0 give 0, above 65535 gives 65535.
    __m128 scaled =
        _mm_add_ps(_mm_mul_ps(_mm_add_ps(z0, _mm_mul_ps(dz_, fk)), maxDepth), _mm_set1_ps(0.5f));
    scaled = _mm_and_ps(_mm_cmpgt_ps(scaled, _mm_setzero_ps()), scaled);
    const __m128i newDepth = _mm_cvttps_epi32(_mm_min_ps(scaled, maxDepth));
    const __m128i stored =
        _mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(depth + k)),
                           _mm_setzero_si128());
    const __m128i failed = _mm_or_si128(_mm_cmpgt_epi32(newDepth, stored), beyond);
    if (_mm_movemask_epi8(failed) == 0xFFFF) continue;
    // Back to 16 bits through the signed pack: shift into its range and back.
    const __m128i kept = _mm_sub_epi32(
        _mm_or_si128(_mm_and_si128(failed, stored), _mm_andnot_si128(failed, newDepth)),
        _mm_set1_epi32(0x8000));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(depth + k),
                     _mm_xor_si128(_mm_packs_epi32(kept, kept), _mm_set1_epi16(-0x8000)));

    const __m128 w = _mm_div_ps(_mm_set1_ps(1.0f), _mm_add_ps(w0, _mm_mul_ps(dw_, fk)));
    const __m128 u = _mm_mul_ps(_mm_add_ps(u0, _mm_mul_ps(du_, fk)), w);
    const __m128 v = _mm_mul_ps(_mm_add_ps(v0, _mm_mul_ps(dv_, fk)), w);
    const __m128i x = WrapMasked(_mm_mul_ps(u, texWidth_), maskU_);
    const __m128i y = WrapMasked(_mm_mul_ps(v, texHeight_), maskV_);
    alignas(16) std::int32_t at[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(at), _mm_or_si128(_mm_sll_epi32(y, rowShift_), x));
    const __m128i texel = _mm_or_si128(
        _mm_setr_epi32(static_cast<int>(texels[at[0]]), static_cast<int>(texels[at[1]]),
                       static_cast<int>(texels[at[2]]), static_cast<int>(texels[at[3]])),
        _mm_set1_epi32(static_cast<int>(kOpaque)));
    __m128i* four = reinterpret_cast<__m128i*>(color + k);
    const __m128i old = _mm_loadu_si128(four);
    _mm_storeu_si128(four, _mm_or_si128(_mm_and_si128(failed, old), _mm_andnot_si128(failed, texel)));
  }
}

#endif

}  // namespace d3d8
