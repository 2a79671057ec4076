#include "Rasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace d3d8 {
namespace {

// Vertex positions are snapped to 1/256 pixel; edge functions are exact in
// 64-bit integers for every position the clipper lets through.
constexpr int kSubpixelBits = 8;
constexpr double kSubpixel = 1 << kSubpixelBits;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr float kMaxDepth = 65535.0f;

std::int64_t FloorDiv(std::int64_t n, std::int64_t d) {
  std::int64_t q = n / d;
  if ((n % d != 0) && ((n < 0) != (d < 0))) --q;
  return q;
}

std::int64_t CeilDiv(std::int64_t n, std::int64_t d) { return -FloorDiv(-n, d); }

int PowerOfTwoMask(int size) { return (size & (size - 1)) == 0 ? size - 1 : -1; }

std::uint16_t ToDepth(float z) {
  float scaled = z * kMaxDepth + 0.5f;
  if (!(scaled > 0.0f)) scaled = 0.0f;  // NaN as well
  if (scaled > kMaxDepth) scaled = kMaxDepth;
  return static_cast<std::uint16_t>(scaled);
}

// The values that vary linearly on the screen, at a span's first pixel or as
// steps from one pixel to the next.
struct SpanValues {
  float z, invW, uOverW, vOverW;
};

// Depth-tests and shades `count` pixels from `offset` of the target on.
template <bool kTextured, bool kDepthTest>
void ShadeSpan(const Fragments& out, std::size_t offset, int count, const SpanValues& start,
               const SpanValues& step) {
  std::uint32_t* color = out.target.color + offset;
  for (int k = 0; k < count; ++k) {
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

using SpanShader = void (*)(const Fragments&, std::size_t, int, const SpanValues&,
                            const SpanValues&);

SpanShader ShaderFor(const Fragments& out) {
  if (out.sampler.Textured())
    return out.depthTest ? ShadeSpan<true, true> : ShadeSpan<true, false>;
  return out.depthTest ? ShadeSpan<false, true> : ShadeSpan<false, false>;
}

// An attribute that varies linearly on the screen: value at (x, y) =
// base + dx * (x - x0) + dy * (y - y0).
struct Gradient {
  double base, dx, dy;
};

Gradient MakeGradient(double a0, double a1, double a2, double ex1, double ey1, double ex2,
                      double ey2, double det) {
  const double d1 = a1 - a0, d2 = a2 - a0;
  return Gradient{a0, (d1 * ey2 - d2 * ey1) / det, (d2 * ex1 - d1 * ex2) / det};
}

// One edge as a*px + b*py + c >= bias over pixel coordinates.
struct EdgeFunction {
  std::int64_t a, b, c, bias;
};

EdgeFunction MakeEdge(std::int64_t xa, std::int64_t ya, std::int64_t xb, std::int64_t yb) {
  const std::int64_t dx = xb - xa, dy = yb - ya;
  const bool topLeft = dy < 0 || (dy == 0 && dx > 0);
  return EdgeFunction{-dy << kSubpixelBits, dx << kSubpixelBits, dy * xa - dx * ya,
                      topLeft ? 0 : 1};
}

}  // namespace

TexelSampler::TexelSampler(const TexelImage& image)
    : texels_(image.width > 0 && image.height > 0 ? image.texels : nullptr),
      width_(image.width),
      height_(image.height),
      maskU_(PowerOfTwoMask(image.width)),
      maskV_(PowerOfTwoMask(image.height)) {}

void FillTriangle(const Fragments& out, const ScreenVertex& v0, const ScreenVertex& v1,
                  const ScreenVertex& v2) {
  const ScreenVertex* v[3] = {&v0, &v1, &v2};
  std::int64_t fx[3], fy[3];
  for (int i = 0; i < 3; ++i) {
    fx[i] = std::llround(v[i]->x * kSubpixel);
    fy[i] = std::llround(v[i]->y * kSubpixel);
  }
  std::int64_t area = (fx[1] - fx[0]) * (fy[2] - fy[0]) - (fy[1] - fy[0]) * (fx[2] - fx[0]);
  if (area == 0) return;
  if (area < 0) {  // make the edge functions positive inside
    std::swap(v[1], v[2]);
    std::swap(fx[1], fx[2]);
    std::swap(fy[1], fy[2]);
  }
  const EdgeFunction edges[3] = {MakeEdge(fx[0], fy[0], fx[1], fy[1]),
                                 MakeEdge(fx[1], fy[1], fx[2], fy[2]),
                                 MakeEdge(fx[2], fy[2], fx[0], fy[0])};

  const std::int64_t minX = std::min({fx[0], fx[1], fx[2]}), maxX = std::max({fx[0], fx[1], fx[2]});
  const std::int64_t minY = std::min({fy[0], fy[1], fy[2]}), maxY = std::max({fy[0], fy[1], fy[2]});
  const std::int64_t xFirst = std::max<std::int64_t>(0, CeilDiv(minX, 1 << kSubpixelBits));
  const std::int64_t xLast =
      std::min<std::int64_t>(out.target.width - 1, FloorDiv(maxX, 1 << kSubpixelBits));
  const std::int64_t yFirst = std::max<std::int64_t>(0, CeilDiv(minY, 1 << kSubpixelBits));
  const std::int64_t yLast =
      std::min<std::int64_t>(out.target.height - 1, FloorDiv(maxY, 1 << kSubpixelBits));
  if (xFirst > xLast || yFirst > yLast) return;

  // Attribute planes from the snapped positions, relative to vertex 0.
  const double x0 = fx[0] / kSubpixel, y0 = fy[0] / kSubpixel;
  const double ex1 = fx[1] / kSubpixel - x0, ey1 = fy[1] / kSubpixel - y0;
  const double ex2 = fx[2] / kSubpixel - x0, ey2 = fy[2] / kSubpixel - y0;
  const double det = ex1 * ey2 - ex2 * ey1;
  auto gradient = [&](float ScreenVertex::*field) {
    return MakeGradient(v[0]->*field, v[1]->*field, v[2]->*field, ex1, ey1, ex2, ey2, det);
  };
  const Gradient gz = gradient(&ScreenVertex::z);
  const Gradient gw = gradient(&ScreenVertex::invW);
  const Gradient gu = gradient(&ScreenVertex::uOverW);
  const Gradient gv = gradient(&ScreenVertex::vOverW);
  const SpanShader shade = ShaderFor(out);
  const SpanValues step{static_cast<float>(gz.dx), static_cast<float>(gw.dx),
                        static_cast<float>(gu.dx), static_cast<float>(gv.dx)};

  for (std::int64_t py = yFirst; py <= yLast; ++py) {
    std::int64_t lo = xFirst, hi = xLast;
    for (const EdgeFunction& e : edges) {
      const std::int64_t r = e.bias - (e.b * py + e.c);
      if (e.a > 0)
        lo = std::max(lo, CeilDiv(r, e.a));
      else if (e.a < 0)
        hi = std::min(hi, FloorDiv(r, e.a));
      else if (r > 0)
        hi = lo - 1;
    }
    if (lo > hi) continue;

    // Values at the span's first pixel; the steps along x are the same for
    // every row.
    const double rowX = static_cast<double>(lo) - x0, rowY = static_cast<double>(py) - y0;
    auto at = [&](const Gradient& g) {
      return static_cast<float>(g.base + g.dx * rowX + g.dy * rowY);
    };
    shade(out, static_cast<std::size_t>(py) * out.target.width + static_cast<std::size_t>(lo),
          static_cast<int>(hi - lo) + 1, SpanValues{at(gz), at(gw), at(gu), at(gv)}, step);
  }
}

void DrawLine(const Fragments& out, const ScreenVertex& a, const ScreenVertex& b) {
  const float dx = b.x - a.x, dy = b.y - a.y;
  const bool alongX = std::fabs(dx) >= std::fabs(dy);
  const float startMajor = alongX ? a.x : a.y, endMajor = alongX ? b.x : b.y;
  const float startMinor = alongX ? a.y : a.x, minorDelta = alongX ? dy : dx;
  const float majorDelta = endMajor - startMajor;
  const int majorLimit = alongX ? out.target.width : out.target.height;
  const int minorLimit = alongX ? out.target.height : out.target.width;
  const SpanShader shade = ShaderFor(out);
  constexpr SpanValues kNoStep{0, 0, 0, 0};

  int first = static_cast<int>(std::floor(startMajor + 0.5f));
  int last = static_cast<int>(std::floor(endMajor + 0.5f));
  if (first > last) std::swap(first, last);
  first = std::max(first, 0);
  last = std::min(last, majorLimit - 1);
  for (int major = first; major <= last; ++major) {
    const float t = majorDelta != 0.0f
                        ? std::clamp((static_cast<float>(major) - startMajor) / majorDelta, 0.0f, 1.0f)
                        : 0.0f;
    const int minor = static_cast<int>(std::floor(startMinor + minorDelta * t + 0.5f));
    if (minor < 0 || minor >= minorLimit) continue;
    const int x = alongX ? major : minor, y = alongX ? minor : major;
    auto lerp = [t](float p, float q) { return p + (q - p) * t; };
    const SpanValues values{lerp(a.z, b.z), lerp(a.invW, b.invW), lerp(a.uOverW, b.uOverW),
                            lerp(a.vOverW, b.vOverW)};
    shade(out, static_cast<std::size_t>(y) * out.target.width + x, 1, values, kNoStep);
  }
}

}  // namespace d3d8
