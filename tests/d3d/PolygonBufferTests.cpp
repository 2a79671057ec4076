#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "FakeTexture.h"
#include "PolygonBuilders.h"
#include "d3d/PolygonBuffer.h"

using testpoly::Numbered;

namespace {

// Where the world matrix takes a point, as a row vector (no projection).
std::array<float, 3> Through(const dxBufferColor8& buffer, float x, float y, float z) {
  const D3DXMATRIX m = buffer.GetWorldMatrix();
  return {x * m._11 + y * m._21 + z * m._31 + m._41, x * m._12 + y * m._22 + z * m._32 + m._42,
          x * m._13 + y * m._23 + z * m._33 + m._43};
}

#define EXPECT_POINT(p, ex, ey, ez) \
  EXPECT_NEAR((p)[0], ex, 1e-5f);   \
  EXPECT_NEAR((p)[1], ey, 1e-5f);   \
  EXPECT_NEAR((p)[2], ez, 1e-5f)

// Corner k of the numbered polygon with that base.
void ExpectCorner(const float p[3], float base, int k) {
  EXPECT_EQ(p[0], base + 3.0f * k);
  EXPECT_EQ(p[2], base + 3.0f * k + 2);
}

constexpr float kA = 100, kB = 200, kC = 300;

}  // namespace

TEST(PolygonBuffer, BuildsTheLastAddedPolygonFirst) {
  FakeTexture textureA{16, 16}, textureB{16, 16};
  dxBufferTextura buffer;
  auto* a = Numbered<dxTrianguloTex>(kA, POLY_CULL_CCW, 5);
  a->SetTexture(&textureA, 0, 0, 0, 0, 0, 0);
  auto* b = Numbered<dxCuadradoTex>(kB, POLY_WIREFRAME, 6);
  b->SetTexture(&textureB, 0, 0, 0, 0, 0, 0, 0, 0);
  buffer.AddPolygon(a);
  buffer.AddPolygon(b);
  buffer.AddPolygon(Numbered<dxTrianguloTex>(kC, 0, 7));
  EXPECT_EQ(buffer.GetNumTriangles(), 2);
  EXPECT_EQ(buffer.GetNumQuads(), 1);
  ASSERT_EQ(buffer.BuildVertexData(), 10 * 20);

  // Vertices 0-2 from C, 3-6 from B, 7-9 from A.
  const auto* v = static_cast<const dxVertexTextura*>(buffer.GetVertexData());
  const float bases[10] = {kC, kC, kC, kB, kB, kB, kB, kA, kA, kA};
  const int corners[10] = {0, 1, 2, 0, 1, 2, 3, 0, 1, 2};
  for (int i = 0; i < 10; ++i) {
    const float position[3] = {v[i].x, v[i].y, v[i].z};
    ExpectCorner(position, bases[i], corners[i]);
  }

  const DWORD flags[3] = {0 | 16, POLY_WIREFRAME | 17, POLY_CULL_CCW | 16};
  const DWORD groups[3] = {7, 6, 5};
  IDirect3DTexture8* textures[3] = {nullptr, &textureB, &textureA};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(buffer.GetPolygonFlags(i), flags[i]);
    EXPECT_EQ(buffer.GetPolygonGroup(i), groups[i]);
    EXPECT_EQ(buffer.GetPolygonTexture(i), textures[i]);
  }
  float p[4][3] = {};
  ASSERT_EQ(buffer.GetPolygonVertices(1, p[0], p[1], p[2], p[3]), 1);
  for (int k = 0; k < 4; ++k) ExpectCorner(p[k], kB, k);
  float untouched[3] = {-1, -1, -1};
  ASSERT_EQ(buffer.GetPolygonVertices(2, p[0], p[1], p[2], untouched), 0);
  for (int k = 0; k < 3; ++k) ExpectCorner(p[k], kA, k);
  EXPECT_EQ(untouched[0], -1.0f);
}

TEST(PolygonBuffer, EachKindBuildsOnlyItsOwnPolygonsCountingQuadsAsQuads) {
  dxBufferColor8 plain;
  ASSERT_EQ(plain.AddPolygon(Numbered<dxTriangulo>(kA, POLY_CULL_CW)), S_OK);
  ASSERT_EQ(plain.AddPolygon(Numbered<dxCuadrado>(kB, POLY_CULL_CW)), S_OK);
  EXPECT_EQ(plain.GetNumQuads(), 1);
  ASSERT_EQ(plain.BuildVertexData(), 7 * 16);
  EXPECT_EQ(plain.GetPolygonFlags(0), POLY_CULL_CW | POLY_QUAD);
  EXPECT_EQ(plain.GetPolygonFlags(1), POLY_CULL_CW);
  float p[4][3];
  ASSERT_EQ(plain.GetPolygonVertices(1, p[0], p[1], p[2], p[3]), 0);
  ExpectCorner(p[2], kA, 2);

  dxBufferTextura textured;
  dxTriangulo triangle(0, 0);
  dxCuadradoTex texQuad(0, 0);
  EXPECT_EQ(textured.AddPolygon(&triangle), E_FAIL);
  EXPECT_EQ(textured.AddPolygon(nullptr), E_FAIL);
  EXPECT_EQ(plain.AddPolygon(&texQuad), E_FAIL);
  EXPECT_EQ(plain.GetNumVertices(), 7);
  EXPECT_EQ(textured.GetNumVertices(), 0);
  EXPECT_EQ(textured.BuildVertexData(), -1);
}

TEST(PolygonBuffer, BuildsOnlyWhatIsNew) {
  dxBufferTextura buffer;
  EXPECT_EQ(buffer.BuildVertexData(), -1);  // nothing added
  EXPECT_EQ(buffer.GetVertexData(), nullptr);
  buffer.AddPolygon(Numbered<dxTrianguloTex>(kA));
  EXPECT_EQ(buffer.BuildVertexData(), 60);
  EXPECT_TRUE(buffer.IsDirty());  // until the device has uploaded it
  buffer.ClearDirty();
  EXPECT_EQ(buffer.BuildVertexData(), -1);
  EXPECT_EQ(buffer.GetBuiltPolygonCount(), 1);  // the last build stays
  buffer.AddPolygon(Numbered<dxCuadradoTex>(kB));
  EXPECT_EQ(buffer.BuildVertexData(), 140);  // rebuilt from every polygon
}

TEST(PolygonBuffer, PolygonAccessorsStayWithinTheLastBuildAndItsShapes) {
  dxBufferTextura buffer;
  buffer.AddPolygon(Numbered<dxTrianguloTex>(kA, POLY_CULL_CCW));
  buffer.AddPolygon(Numbered<dxCuadradoTex>(kB, POLY_CULL_CCW));
  float p[4][3] = {{-1}, {-1}, {-1}, {-1}};
  EXPECT_EQ(buffer.GetPolygonVertices(0, p[0], p[1], p[2], p[3]), 0);  // never built
  EXPECT_EQ(p[0][0], -1.0f);

  buffer.BuildVertexData();
  buffer.AddPolygon(Numbered<dxTrianguloTex>(kC));  // live count 3, built 2
  for (int i : {-1, 2, 1 << 30}) {
    EXPECT_EQ(buffer.GetPolygonFlags(i), 0u);
    EXPECT_EQ(buffer.GetPolygonGroup(i), 0u);
    EXPECT_EQ(buffer.GetPolygonTexture(i), nullptr);
    EXPECT_EQ(buffer.GetPolygonVertices(i, p[0], p[1], p[2], p[3]), 0);
    buffer.SetPolygonFlags(i, POLY_WIREFRAME);
  }
  EXPECT_EQ(p[0][0], -1.0f);
  // Flag edits take effect in the built copy but cannot change a shape.
  buffer.SetPolygonFlags(0, POLY_WIREFRAME);
  buffer.SetPolygonFlags(1, POLY_WIREFRAME | POLY_QUAD);
  EXPECT_EQ(buffer.GetPolygonFlags(0), POLY_WIREFRAME | POLY_QUAD);
  EXPECT_EQ(buffer.GetPolygonFlags(1), POLY_WIREFRAME);
  EXPECT_EQ(buffer.GetPolygonVertices(1, p[0], p[1], p[2], p[3]), 0);
}

TEST(PolygonBuffer, NewestWorldOperationAppliesToVerticesFirst) {
  dxBufferColor8 buffer;
  buffer.Translate(1, 0, 0);
  buffer.RotateY(std::numbers::pi_v<float> / 2);
  EXPECT_POINT(Through(buffer, 0, 0, 0), 1, 0, 0);
  EXPECT_POINT(Through(buffer, 1, 0, 0), 1, 0, -1);

  buffer.ResetWorld();
  EXPECT_POINT(Through(buffer, 3, 4, 5), 3, 4, 5);
  // A quarter turn about X (Y goes to Z), then doubled, then moved.
  buffer.Translate(0, 0, 5);
  buffer.Scale(2);
  buffer.RotateX(std::numbers::pi_v<float> / 2);
  EXPECT_POINT(Through(buffer, 1, 1, 0), 2, 0, 7);
  D3DXMATRIX shift;
  D3DXMatrixTranslation(&shift, 0, -10, 0);
  buffer.MultiplyWorld(shift);
  EXPECT_POINT(Through(buffer, 0, 10, 0), 0, 0, 5);
}
