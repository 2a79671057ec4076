#include "Rasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>

#include "SpanShading.h"

namespace d3d8 {
namespace {

// Vertex positions are snapped to 1/256 pixel; edge functions are exact in
// 64-bit integers for every position the clipper lets through.
constexpr int kSubpixelBits = 8;
constexpr double kSubpixel = 1 << kSubpixelBits;

// v in 1/256 pixel, rounded half away from zero. v * 256 is exact in double,
// and so is adding one half to it for every position the clipper lets
// through (below one half the sum cannot round up to 1).
std::int64_t Snap(float v) {
  const double scaled = static_cast<double>(v) * kSubpixel;
  return static_cast<std::int64_t>(scaled + std::copysign(0.5, scaled));
}

// Whole pixels at or above / at or below a subpixel position.
std::int64_t PixelAtOrAbove(std::int64_t subpixels) { return -((-subpixels) >> kSubpixelBits); }
std::int64_t PixelAtOrBelow(std::int64_t subpixels) { return subpixels >> kSubpixelBits; }

int PowerOfTwoMask(int size) { return (size & (size - 1)) == 0 ? size - 1 : -1; }

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
  const bool topLeft = (dy < 0) | ((dy == 0) & (dx > 0));
  return EdgeFunction{-dy << kSubpixelBits, dx << kSubpixelBits, dy * xa - dx * ya,
                      topLeft ? 0 : 1};
}

// n = quotient * divisor + remainder with 0 <= remainder < divisor > 0. The
// quotient comes from a division in double (exact for every n the edges
// give), and the remainder corrects it should it ever be off.
void FloorDivide(std::int64_t n, std::int64_t divisor, std::int64_t& quotient,
                 std::int64_t& remainder) {
  const double q = static_cast<double>(n) / static_cast<double>(divisor);
  quotient = static_cast<std::int64_t>(q);
  quotient -= static_cast<double>(quotient) > q ? 1 : 0;  // towards minus infinity
  remainder = n - quotient * divisor;
  while (remainder < 0) {
    remainder += divisor;
    --quotient;
  }
  while (remainder >= divisor) {
    remainder -= divisor;
    ++quotient;
  }
}

// The pixels of each row inside all three edges, row after row, exact. With
// R = b * py + c - bias, a pixel is inside an edge when a * px + R >= 0: for
// a > 0 the row's first pixel is -floor(R / a), for a < 0 its last is
// floor(R / -a), and a horizontal edge (a = 0) keeps the rows where R >= 0.
// R grows by b from row to row, so floor(R / |a|) is carried as a quotient
// and a remainder.
class RowSpans {
 public:
  // Narrows firstRow..lastRow to the rows that horizontal edges keep.
  RowSpans(const EdgeFunction (&edges)[3], std::int64_t& firstRow, std::int64_t& lastRow) {
    for (const EdgeFunction& e : edges) {
      if (e.a != 0) continue;
      std::int64_t q, r;
      if (e.b > 0) {  // R >= 0 from row -floor((c - bias) / b) on
        FloorDivide(e.c - e.bias, e.b, q, r);
        firstRow = std::max(firstRow, -q);
      } else {  // up to row floor((c - bias) / -b)
        FloorDivide(e.c - e.bias, -e.b, q, r);
        lastRow = std::min(lastRow, q);
      }
    }
    for (int i = 0; i < 3; ++i) {
      const EdgeFunction& e = edges[i];
      Walk& w = walks_[i];
      // A horizontal edge, done with above, bounds nothing: a first pixel
      // far to the left on every row.
      const bool horizontal = e.a == 0;
      const bool left = e.a >= 0;
      w.leftMask = -static_cast<std::int64_t>(left);
      w.divisor = horizontal ? 1 : left ? e.a : -e.a;
      const std::int64_t step = horizontal ? 0 : e.b;
      const std::int64_t first = horizontal ? -kNoBound : e.b * firstRow + e.c - e.bias;
      FloorDivide(first, w.divisor, w.quotient, w.remainder);
      FloorDivide(step, w.divisor, w.stepQuotient, w.stepRemainder);
    }
  }

  // Narrows first..last to the current row's pixels, then moves to the next row.
  // Without branches: which bound an edge sets differs from one triangle to
  // the next, and the carries from one row to the next.
  void Next(std::int64_t& first, std::int64_t& last) {
    for (Walk& w : walks_) {
      first = std::max(first, (-w.quotient & w.leftMask) | (kNoBound & ~w.leftMask));
      last = std::min(last, (w.quotient & ~w.leftMask) | (-kNoBound & w.leftMask));
      w.remainder += w.stepRemainder;
      const std::int64_t carry = w.remainder >= w.divisor ? 1 : 0;
      w.remainder -= w.divisor & -carry;
      w.quotient += w.stepQuotient + carry;
    }
  }

 private:
  // Below every pixel position, however the quotients move.
  static constexpr std::int64_t kNoBound = -(std::int64_t{1} << 60);

  struct Walk {
    std::int64_t quotient, remainder;          // R = quotient * divisor + remainder
    std::int64_t stepQuotient, stepRemainder;  // b, likewise
    std::int64_t divisor;                      // |a|
    std::int64_t leftMask;  // all ones when the edge bounds the first pixel (a >= 0)
  };
  Walk walks_[3];
};

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
    fx[i] = Snap(v[i]->x);
    fy[i] = Snap(v[i]->y);
  }
  const std::int64_t minX = std::min(std::min(fx[0], fx[1]), fx[2]);
  const std::int64_t maxX = std::max(std::max(fx[0], fx[1]), fx[2]);
  const std::int64_t minY = std::min(std::min(fy[0], fy[1]), fy[2]);
  const std::int64_t maxY = std::max(std::max(fy[0], fy[1]), fy[2]);
  const std::int64_t xFirst = std::max<std::int64_t>(0, PixelAtOrAbove(minX));
  const std::int64_t xLast = std::min<std::int64_t>(out.target.width - 1, PixelAtOrBelow(maxX));
  std::int64_t yFirst = std::max<std::int64_t>(0, PixelAtOrAbove(minY));
  std::int64_t yLast = std::min<std::int64_t>(out.target.height - 1, PixelAtOrBelow(maxY));
  if ((xFirst > xLast) | (yFirst > yLast)) return;  // no pixel centre within reach
  const std::int64_t area = (fx[1] - fx[0]) * (fy[2] - fy[0]) - (fy[1] - fy[0]) * (fx[2] - fx[0]);
  if (area == 0) return;
  // Corners 1 and 2 in the order that makes the edge functions positive inside.
  const bool flip = area < 0;
  const ScreenVertex* corner1 = flip ? v[2] : v[1];
  const ScreenVertex* corner2 = flip ? v[1] : v[2];
  const std::int64_t fx1 = flip ? fx[2] : fx[1], fy1 = flip ? fy[2] : fy[1];
  const std::int64_t fx2 = flip ? fx[1] : fx[2], fy2 = flip ? fy[1] : fy[2];
  v[1] = corner1, v[2] = corner2, fx[1] = fx1, fy[1] = fy1, fx[2] = fx2, fy[2] = fy2;
  const EdgeFunction edges[3] = {MakeEdge(fx[0], fy[0], fx[1], fy[1]),
                                 MakeEdge(fx[1], fy[1], fx[2], fy[2]),
                                 MakeEdge(fx[2], fy[2], fx[0], fy[0])};
  const int left = static_cast<int>(xFirst), top = static_cast<int>(yFirst);
  const int right = static_cast<int>(xLast), bottom = static_cast<int>(yLast);
  out.target.colorTouched->Add(left, top, right, bottom);
  if (out.depthTest) out.target.depthTouched->Add(left, top, right, bottom);

  // Attribute planes from the snapped positions, relative to vertex 0; made
  // at the first row that has pixels (many small triangles have none).
  const double x0 = fx[0] / kSubpixel, y0 = fy[0] / kSubpixel;
  Gradient gz{}, gw{}, gu{}, gv{};
  std::optional<SpanPainter> painter;
  auto makePlanes = [&] {
    const double ex1 = fx[1] / kSubpixel - x0, ey1 = fy[1] / kSubpixel - y0;
    const double ex2 = fx[2] / kSubpixel - x0, ey2 = fy[2] / kSubpixel - y0;
    const double det = ex1 * ey2 - ex2 * ey1;
    auto gradient = [&](float ScreenVertex::*field) {
      return MakeGradient(v[0]->*field, v[1]->*field, v[2]->*field, ex1, ey1, ex2, ey2, det);
    };
    gz = gradient(&ScreenVertex::z);
    gw = gradient(&ScreenVertex::invW);
    gu = gradient(&ScreenVertex::uOverW);
    gv = gradient(&ScreenVertex::vOverW);
    painter.emplace(out, SpanValues{static_cast<float>(gz.dx), static_cast<float>(gw.dx),
                                    static_cast<float>(gu.dx), static_cast<float>(gv.dx)});
  };

  RowSpans rows(edges, yFirst, yLast);
  for (std::int64_t py = yFirst; py <= yLast; ++py) {
    std::int64_t lo = xFirst, hi = xLast;
    rows.Next(lo, hi);
    if (lo > hi) continue;
    if (!painter) makePlanes();

    // Values at the span's first pixel; the steps along x are the same for
    // every row.
    const double rowX = static_cast<double>(lo) - x0, rowY = static_cast<double>(py) - y0;
    auto at = [&](const Gradient& g) {
      return static_cast<float>(g.base + g.dx * rowX + g.dy * rowY);
    };
    painter->Paint(static_cast<std::size_t>(py) * out.target.width + static_cast<std::size_t>(lo),
                   static_cast<int>(hi - lo) + 1, SpanValues{at(gz), at(gw), at(gu), at(gv)});
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
  const SpanPainter painter(out, SpanValues{0, 0, 0, 0});

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
    out.target.colorTouched->Add(x, y, x, y);
    if (out.depthTest) out.target.depthTouched->Add(x, y, x, y);
    auto lerp = [t](float p, float q) { return p + (q - p) * t; };
    const SpanValues values{lerp(a.z, b.z), lerp(a.invW, b.invW), lerp(a.uOverW, b.uOverW),
                            lerp(a.vOverW, b.vOverW)};
    painter.Paint(static_cast<std::size_t>(y) * out.target.width + x, 1, values);
  }
}

}  // namespace d3d8
