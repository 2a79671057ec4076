#include <gtest/gtest.h>

#include "scene/TextureCoords.h"

namespace {

// A sample whose four corners all differ: P0 (10, 20), P1 (40, 20),
// P2 (40, 60), P3 (10, 60), in texels.
const SampleRect kSample{10, 20, 30, 40};

TexCoord P(int corner) {
  const float xs[4] = {10, 40, 40, 10};
  const float ys[4] = {20, 20, 60, 60};
  return {xs[corner] / 255.0f, ys[corner] / 255.0f};
}

void ExpectCorners(const TexCoord* got, std::initializer_list<int> corners) {
  int i = 0;
  for (int corner : corners) {
    EXPECT_FLOAT_EQ(got[i].u, P(corner).u) << "vertex " << i;
    EXPECT_FLOAT_EQ(got[i].v, P(corner).v) << "vertex " << i;
    ++i;
  }
}

}  // namespace

TEST(TextureCoords, DecodesQuadAndTriangleTextureWords) {
  const QuadTexture mirroredQuad = DecodeQuadTexture(static_cast<std::uint16_t>(-3));
  EXPECT_EQ(mirroredQuad.sample, 3);
  EXPECT_TRUE(mirroredQuad.mirrored);
  EXPECT_FALSE(DecodeQuadTexture(0x7FFF).mirrored);

  const TriangleTexture a = DecodeTriangleTexture(0x8012);
  EXPECT_EQ(a.sample, 0x12);
  EXPECT_EQ(a.cornerCode, 0);
  EXPECT_TRUE(a.mirrored);
  const TriangleTexture b = DecodeTriangleTexture(0x2805);
  EXPECT_EQ(b.sample, 5);
  EXPECT_EQ(b.cornerCode, 2);
  EXPECT_FALSE(b.mirrored);
  EXPECT_EQ(DecodeTriangleTexture(0x6FFF).sample, 0x7FF);
}

TEST(TextureCoords, QuadsTakeTheCornersInStripOrderOrMirrored) {
  const auto corners = SampleCorners(kSample);
  ExpectCorners(QuadTexCoords(corners, false).data(), {0, 1, 3, 2});
  ExpectCorners(QuadTexCoords(corners, true).data(), {1, 0, 2, 3});
}

TEST(TextureCoords, TrianglesStartAtTheCornerOfTheirCode) {
  const auto corners = SampleCorners(kSample);
  struct Row {
    std::uint8_t code;
    std::initializer_list<int> plain, mirrored;
  };
  const Row table[] = {{0, {0, 1, 3}, {1, 0, 2}},
                       {2, {1, 2, 0}, {0, 3, 1}},
                       {4, {2, 3, 1}, {3, 2, 0}},
                       {6, {3, 0, 2}, {2, 1, 3}}};
  for (const Row& row : table) {
    SCOPED_TRACE(int{row.code});
    ExpectCorners(TriangleTexCoords(corners, row.code, false).data(), row.plain);
    ExpectCorners(TriangleTexCoords(corners, row.code, true).data(), row.mirrored);
    // An odd code has no rule of its own; it is read as the even code below it.
    ExpectCorners(TriangleTexCoords(corners, row.code + 1, false).data(), row.plain);
  }
}

TEST(TextureCoords, SampleEdgesAreTexelNumbersOver255) {
  auto edge = SampleCorners(SampleRect{250, 0, 5, 0});
  EXPECT_FLOAT_EQ(edge[1].u, 1.0f);
  edge = SampleCorners(SampleRect{250, 0, 10, 0});
  EXPECT_FLOAT_EQ(edge[1].u, 260.0f / 255.0f);
}
