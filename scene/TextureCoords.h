#pragma once
// Texture coordinates of WAD polygons from their texture words and samples.
//
// A sample names a rectangle of texels on a page: (x, y) top-left and
// (x + addW, y + addH) bottom-right; every coordinate is a texel number / 255.
// Its corners are P0 top-left, P1 top-right, P2 bottom-right, P3 bottom-left.
//
// Quad texture word, read as signed: t >= 0 names sample t, t < 0 sample -t
// mirrored left to right.
// Triangle texture word: bits 0-10 the sample, bits 12-14 the corner code
// (0, 2, 4, 6: the corner P0, P1, P2, P3 where the first vertex sits), bit 15
// mirrored. Not mirrored, the second vertex takes the next corner clockwise
// and the third the one before the first.

#include <array>
#include <cstdint>

struct TexCoord {
  float u, v;
};

struct SampleRect {
  std::uint8_t x, y, addW, addH;
};

struct QuadTexture {
  std::uint16_t sample;
  bool mirrored;
};

struct TriangleTexture {
  std::uint16_t sample;
  std::uint8_t cornerCode;  // 0 to 7; the lowest bit plays no part
  bool mirrored;
};

QuadTexture DecodeQuadTexture(std::uint16_t word);
TriangleTexture DecodeTriangleTexture(std::uint16_t word);

// P0, P1, P2, P3 of a sample.
std::array<TexCoord, 4> SampleCorners(const SampleRect& sample);

// Coordinates of a quad's vertices in their strip order (indices 0, 1, 3, 2).
std::array<TexCoord, 4> QuadTexCoords(const std::array<TexCoord, 4>& corners, bool mirrored);

// Coordinates of a triangle's vertices 0, 1, 2.
std::array<TexCoord, 3> TriangleTexCoords(const std::array<TexCoord, 4>& corners,
                                          std::uint8_t cornerCode, bool mirrored);
