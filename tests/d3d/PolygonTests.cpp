#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

#include "FakeTexture.h"
#include "d3d/Polygons.h"

namespace {

const dxVertexTextura* TexturedVertices(const dxPoligono& p) {
  return static_cast<const dxVertexTextura*>(p.GetVertices());
}

const dxVertexColor8* PlainVertices(const dxPoligono& p) {
  return static_cast<const dxVertexColor8*>(p.GetVertices());
}

// Fills every corner k with (k, 10 + k, 20 + k).
void FillCorners(dxPoligono& p) {
  for (int k = 0; k < p.GetVertexCount(); ++k) {
    const float f = static_cast<float>(k);
    ASSERT_EQ(p.AddVertex(f, 10 + f, 20 + f), S_OK);
  }
}

template <typename Vertex>
void ExpectCorners(const Vertex* v, int count) {
  for (int k = 0; k < count; ++k) {
    EXPECT_EQ(v[k].x, static_cast<float>(k));
    EXPECT_EQ(v[k].y, 10.0f + static_cast<float>(k));
    EXPECT_EQ(v[k].z, 20.0f + static_cast<float>(k));
  }
}

}  // namespace

TEST(Polygons, AreDeletedThroughTheirBase) {
  static_assert(std::has_virtual_destructor_v<dxPoligono>);
  // Sized deallocation would report a mismatch here without one.
  std::unique_ptr<dxPoligono> quad = std::make_unique<dxCuadradoTex>(8, 0);
  quad.reset();
}

TEST(Polygons, EveryKindFillsItsCornersInOrderThenRefuses) {
  dxTrianguloTex texTriangle(0, 0);
  dxCuadradoTex texQuad(0, 0);
  dxTriangulo triangle(0, 0);
  dxCuadrado quad(0, 0);
  EXPECT_EQ(texQuad.GetTexture(), nullptr);
  EXPECT_EQ(TexturedVertices(texQuad)[3].x, 0.0f);
  for (dxPoligono* p :
       std::initializer_list<dxPoligono*>{&texTriangle, &texQuad, &triangle, &quad}) {
    FillCorners(*p);
    EXPECT_EQ(p->AddVertex(99, 99, 99), E_FAIL);
  }
  ExpectCorners(TexturedVertices(texTriangle), 3);
  ExpectCorners(TexturedVertices(texQuad), 4);
  ExpectCorners(PlainVertices(triangle), 3);
  ExpectCorners(PlainVertices(quad), 4);
}

TEST(Polygons, SetTextureStoresCoordinatesWithoutTakingTheTexture) {
  FakeTexture texture(256, 256);
  dxTrianguloTex triangle(0, 0);
  EXPECT_EQ(triangle.SetTexture(&texture, 1, 2, 3, 4, 5, 6), S_OK);
  EXPECT_EQ(triangle.GetTexture(), &texture);
  EXPECT_EQ(TexturedVertices(triangle)[1].u, 3.0f);
  EXPECT_EQ(TexturedVertices(triangle)[2].v, 6.0f);
  dxCuadradoTex quad(0, 0);
  EXPECT_EQ(quad.SetTexture(&texture, 1, 2, 3, 4, 5, 6, 7, 8), S_OK);
  EXPECT_EQ(TexturedVertices(quad)[3].u, 7.0f);
  EXPECT_EQ(texture.references, 1u);
  EXPECT_EQ(triangle.SetTexture(nullptr, 0, 0, 0, 0, 0, 0), E_FAIL);
  EXPECT_EQ(triangle.GetTexture(), &texture);
}

TEST(Polygons, TextureRectMapsTexelsOntoTheStrip) {
  FakeTexture texture(256, 128);
  dxCuadradoTex quad(0, 0);
  ASSERT_EQ(quad.SetTextureRect(&texture, 0, 0, 64, 64), S_OK);
  const dxVertexTextura* v = TexturedVertices(quad);
  const float expected[4][2] = {{0, 0}, {0, 0.5f}, {0.25f, 0}, {0.25f, 0.5f}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(v[k].u, expected[k][0]) << k;
    EXPECT_EQ(v[k].v, expected[k][1]) << k;
  }
  ASSERT_EQ(quad.SetTextureRect(&texture, 128, 32, 64, 32), S_OK);
  EXPECT_EQ(v[0].u, 0.5f);
  EXPECT_EQ(v[0].v, 0.25f);
  EXPECT_EQ(v[3].u, 0.75f);
  EXPECT_EQ(v[3].v, 0.5f);
}

TEST(Polygons, TextureRectRefusesTexturesWithoutAUsableSize) {
  FakeTexture unreadable(256, 256, false);
  FakeTexture empty(0, 256);
  dxCuadradoTex quad(0, 0);
  EXPECT_EQ(quad.SetTextureRect(nullptr, 0, 0, 64, 64), E_FAIL);
  EXPECT_EQ(quad.SetTextureRect(&unreadable, 0, 0, 64, 64), E_FAIL);
  EXPECT_EQ(quad.SetTextureRect(&empty, 0, 0, 64, 64), E_FAIL);
  EXPECT_EQ(quad.GetTexture(), nullptr);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(TexturedVertices(quad)[k].u, 0.0f);
    EXPECT_EQ(TexturedVertices(quad)[k].v, 0.0f);
  }
}
