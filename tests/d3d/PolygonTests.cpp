#include <numbers>
#include <tuple>
#include <type_traits>
#include <utility>

#include "TestScene.h"
#include "d3d/PolygonBuffer.h"

using testpoly::Numbered;

// Polygons and buffers are deleted through their base classes.
static_assert(std::has_virtual_destructor_v<dxPoligono>);
static_assert(std::has_virtual_destructor_v<dxBufferColor8>);

// Where the corners land is checked through the buffers below.
TEST(Polygons, EveryKindRefusesACornerMoreThanItHas) {
  dxTriangulo triangle(0, 0);
  dxCuadrado quad(0, 0);
  dxTrianguloTex texTriangle(0, 0);
  dxCuadradoTex texQuad(0, 0);
  for (auto [p, corners] : {std::pair<dxPoligono*, int>{&triangle, 3}, {&quad, 4},
                            {&texTriangle, 3}, {&texQuad, 4}}) {
    ASSERT_EQ(p->GetVertexCount(), corners);
    for (int k = 0; k < corners; ++k) EXPECT_EQ(p->AddVertex(1, 2, 3), S_OK);
    EXPECT_EQ(p->AddVertex(1, 2, 3), E_FAIL) << corners;
  }
}

TEST(Polygons, TextureRectMapsTexelsWithoutTakingAReferenceAndRefusesUnusableTextures) {
  FakeTexture texture(256, 128), unreadable(256, 256, false), empty(0, 256);
  dxCuadradoTex quad(0, 0);
  for (FakeTexture* bad : {static_cast<FakeTexture*>(nullptr), &unreadable, &empty})
    EXPECT_EQ(quad.SetTextureRect(bad, 0, 0, 64, 64), E_FAIL);
  EXPECT_EQ(quad.GetTexture(), nullptr);
  // Texels (128, 32) to (192, 64) of 256 x 128, corners in strip order.
  ASSERT_EQ(quad.SetTextureRect(&texture, 128, 32, 64, 32), S_OK);
  const auto* v = static_cast<const dxVertexTextura*>(quad.GetVertices());
  const float uv[4][2] = {{0.5f, 0.25f}, {0.5f, 0.5f}, {0.75f, 0.25f}, {0.75f, 0.5f}};
  for (int k = 0; k < 4; ++k) EXPECT_TRUE(v[k].u == uv[k][0] && v[k].v == uv[k][1]) << k;
  EXPECT_EQ(quad.GetTexture(), &texture);
  EXPECT_EQ(texture.references, 1u);
}

TEST(PolygonBuffer, BuildsTheLastAddedFirstAddingTheQuadAndTextureFlags) {
  FakeTexture textureA(16, 16), textureB(16, 16);
  dxBufferTextura buffer;
  buffer.AddPolygon(Numbered<dxTrianguloTex>(100, POLY_CULL_CCW, 5, &textureA));
  buffer.AddPolygon(Numbered<dxCuadradoTex>(200, POLY_WIREFRAME, 6, &textureB));
  buffer.AddPolygon(Numbered<dxTrianguloTex>(300, 0, 7));
  EXPECT_EQ(std::pair(buffer.GetNumTriangles(), buffer.GetNumQuads()), std::pair(2, 1));
  ASSERT_EQ(buffer.BuildVertexData(), 10 * 20);
  const std::tuple<DWORD, DWORD, IDirect3DTexture8*, float, int> built[] = {
      {POLY_TEXTURED, 7, nullptr, 300, 3},
      {POLY_WIREFRAME | POLY_TEXTURED | POLY_QUAD, 6, &textureB, 200, 4},
      {POLY_CULL_CCW | POLY_TEXTURED, 5, &textureA, 100, 3}};
  for (int i = 0; i < 3; ++i) {
    const auto [flags, group, texture, base, corners] = built[i];
    EXPECT_EQ(buffer.GetPolygonFlags(i), flags) << i;
    EXPECT_EQ(buffer.GetPolygonGroup(i), group) << i;
    EXPECT_EQ(buffer.GetPolygonTexture(i), texture) << i;
    float p[4][3] = {};
    EXPECT_EQ(buffer.GetPolygonVertices(i, p[0], p[1], p[2], p[3]), corners == 4 ? 1 : 0);
    for (int k = 0; k < corners; ++k)
      EXPECT_TRUE(p[k][0] == base + 3.0f * k && p[k][2] == base + 3.0f * k + 2) << i << k;
  }
}

TEST(PolygonBuffer, EachKindTakesOnlyItsOwnClassesAndCountsQuadsAsQuads) {
  dxBufferColor8 plain;
  dxBufferTextura textured;
  dxTriangulo triangle(0, 0);
  dxCuadradoTex texQuad(0, 0);
  EXPECT_EQ(textured.AddPolygon(&triangle), E_FAIL);
  EXPECT_EQ(plain.AddPolygon(&texQuad), E_FAIL);
  EXPECT_EQ(plain.AddPolygon(nullptr), E_FAIL);
  EXPECT_EQ(textured.BuildVertexData(), -1);  // nothing was taken
  ASSERT_EQ(plain.AddPolygon(Numbered<dxCuadrado>(10, POLY_CULL_CW)), S_OK);
  ASSERT_EQ(plain.AddPolygon(Numbered<dxTriangulo>(20)), S_OK);
  EXPECT_EQ(std::pair(plain.GetNumTriangles(), plain.GetNumQuads()), std::pair(1, 1));
  ASSERT_EQ(plain.BuildVertexData(), 7 * 16);
  EXPECT_EQ(std::pair(plain.GetPolygonFlags(0), plain.GetPolygonFlags(1)),
            std::pair(DWORD{0}, POLY_CULL_CW | POLY_QUAD));
  float p[4][3] = {};
  EXPECT_EQ(plain.GetPolygonVertices(1, p[0], p[1], p[2], p[3]), 1);
  EXPECT_TRUE(p[0][0] == 10 && p[1][0] == 13 && p[2][0] == 16 && p[3][2] == 21);
}

TEST(PolygonBuffer, RebuildsOnlyAfterAnAddAndAccessorsStayWithinTheLastBuild) {
  dxBufferTextura buffer;
  EXPECT_EQ(buffer.BuildVertexData(), -1);
  buffer.AddPolygon(Numbered<dxTrianguloTex>(0, POLY_CULL_CCW));
  float p[4][3] = {{-1}};
  EXPECT_EQ(buffer.GetPolygonVertices(0, p[0], p[1], p[2], p[3]), 0);  // not built yet
  EXPECT_EQ(buffer.BuildVertexData(), 60);
  EXPECT_EQ(buffer.BuildVertexData(), 60);  // dirty until the device uploads it
  buffer.ClearDirty();
  EXPECT_EQ(buffer.BuildVertexData(), -1);
  buffer.AddPolygon(Numbered<dxCuadradoTex>(0));  // 2 polygons, 1 built
  for (int i : {-1, 1, 1 << 30}) {
    buffer.SetPolygonFlags(i, POLY_WIREFRAME);
    EXPECT_EQ(buffer.GetPolygonFlags(i) | buffer.GetPolygonGroup(i), 0u);
    EXPECT_EQ(buffer.GetPolygonTexture(i), nullptr);
    EXPECT_EQ(buffer.GetPolygonVertices(i, p[0], p[1], p[2], p[3]), 0);
  }
  EXPECT_EQ(p[0][0], -1.0f);
  // Edits reach the built copy of the flags but never change a shape.
  buffer.SetPolygonFlags(0, POLY_WIREFRAME | POLY_QUAD);
  EXPECT_EQ(buffer.GetPolygonFlags(0), POLY_WIREFRAME);
  EXPECT_EQ(buffer.BuildVertexData(), 140);  // rebuilt from every polygon
  buffer.SetPolygonFlags(0, 0);
  EXPECT_EQ(buffer.GetPolygonFlags(0), POLY_QUAD);
}

// Each operation multiplies on the left: the vertex goes through the newest
// first. (1, 11, 0) is shifted to (1, 1, 0), turned about X to (1, 0, 1), about
// Y to (1, 0, -1), doubled and moved to (2, 0, 3).
TEST(PolygonBuffer, NewestWorldOperationAppliesToVerticesFirst) {
  dxBufferColor8 buffer;
  buffer.Scale(5);
  buffer.ResetWorld();
  buffer.Translate(0, 0, 5);
  buffer.Scale(2);
  buffer.RotateY(std::numbers::pi_v<float> / 2);
  buffer.RotateX(std::numbers::pi_v<float> / 2);
  D3DXMATRIX m;
  buffer.MultiplyWorld(*D3DXMatrixTranslation(&m, 0, -10, 0));
  m = buffer.GetWorldMatrix();
  EXPECT_NEAR(1 * m._11 + 11 * m._21 + m._41, 2, 1e-5f);
  EXPECT_NEAR(1 * m._12 + 11 * m._22 + m._42, 0, 1e-5f);
  EXPECT_NEAR(1 * m._13 + 11 * m._23 + m._43, 3, 1e-5f);
}
