#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "FakeTexture.h"
#include "PolygonBuilders.h"
#include "d3d/PolygonBuffer.h"

using testpoly::Numbered;

namespace {

struct Point {
  float x, y, z;
};

// The point as a row vector times the world matrix.
Point Through(const D3DXMATRIX& m, Point p) {
  const float w = p.x * m._14 + p.y * m._24 + p.z * m._34 + m._44;
  return Point{(p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41) / w,
               (p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42) / w,
               (p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43) / w};
}

void ExpectPoint(Point actual, Point expected) {
  EXPECT_NEAR(actual.x, expected.x, 1e-5f);
  EXPECT_NEAR(actual.y, expected.y, 1e-5f);
  EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

void ExpectCorner(const float p[3], float base, int k) {
  EXPECT_EQ(p[0], base + 3.0f * k);
  EXPECT_EQ(p[1], base + 3.0f * k + 1);
  EXPECT_EQ(p[2], base + 3.0f * k + 2);
}

constexpr float kA = 100, kB = 200, kC = 300;

// Triangle A, then quad B, then triangle C, each textured.
struct ThreePolygons {
  FakeTexture textureA{16, 16}, textureB{16, 16}, textureC{16, 16};
  dxBufferTextura buffer;

  ThreePolygons() {
    auto* a = Numbered<dxTrianguloTex>(kA, POLY_CULL_CCW, 5);
    a->SetTexture(&textureA, 0, 0, 0, 0, 0, 0);
    auto* b = Numbered<dxCuadradoTex>(kB, POLY_WIREFRAME, 6);
    b->SetTexture(&textureB, 0, 0, 0, 0, 0, 0, 0, 0);
    auto* c = Numbered<dxTrianguloTex>(kC, 0, 7);
    c->SetTexture(&textureC, 0, 0, 0, 0, 0, 0);
    buffer.AddPolygon(a);
    buffer.AddPolygon(b);
    buffer.AddPolygon(c);
  }
};

}  // namespace

TEST(PolygonBuffer, BuildsTheLastAddedPolygonFirst) {
  ThreePolygons scene;
  dxBufferTextura& buffer = scene.buffer;
  EXPECT_EQ(buffer.GetNumTriangles(), 2);
  EXPECT_EQ(buffer.GetNumQuads(), 1);
  EXPECT_EQ(buffer.GetNumVertices(), 10);
  ASSERT_EQ(buffer.BuildVertexData(), 10 * 20);
  ASSERT_EQ(buffer.GetBuiltPolygonCount(), 3);

  // Vertices 0-2 from C, 3-6 from B, 7-9 from A.
  const auto* v = static_cast<const dxVertexTextura*>(buffer.GetVertexData());
  const float bases[10] = {kC, kC, kC, kB, kB, kB, kB, kA, kA, kA};
  const int corners[10] = {0, 1, 2, 0, 1, 2, 3, 0, 1, 2};
  for (int i = 0; i < 10; ++i) {
    const float p[3] = {v[i].x, v[i].y, v[i].z};
    ExpectCorner(p, bases[i], corners[i]);
  }

  EXPECT_EQ(buffer.GetPolygonFlags(0), 0u | 16u);
  EXPECT_EQ(buffer.GetPolygonFlags(1), POLY_WIREFRAME | 17u);
  EXPECT_EQ(buffer.GetPolygonFlags(2), POLY_CULL_CCW | 16u);
  EXPECT_EQ(buffer.GetPolygonGroup(0), 7u);
  EXPECT_EQ(buffer.GetPolygonGroup(2), 5u);
  EXPECT_EQ(buffer.GetPolygonTexture(0), &scene.textureC);
  EXPECT_EQ(buffer.GetPolygonTexture(1), &scene.textureB);
  EXPECT_EQ(buffer.GetPolygonTexture(2), &scene.textureA);
  EXPECT_EQ(buffer.GetPolygonFirstVertex(2), 7);

  float p[4][3] = {};
  ASSERT_EQ(buffer.GetPolygonVertices(1, p[0], p[1], p[2], p[3]), 1);
  for (int k = 0; k < 4; ++k) ExpectCorner(p[k], kB, k);
  float untouched[3] = {-1, -1, -1};
  ASSERT_EQ(buffer.GetPolygonVertices(2, p[0], p[1], p[2], untouched), 0);
  for (int k = 0; k < 3; ++k) ExpectCorner(p[k], kA, k);
  EXPECT_EQ(untouched[0], -1.0f);
}

TEST(PolygonBuffer, UntexturedBufferCountsAndBuildsQuadsAsQuads) {
  dxBufferColor8 buffer;
  ASSERT_EQ(buffer.AddPolygon(Numbered<dxTriangulo>(kA, POLY_CULL_CW)), S_OK);
  ASSERT_EQ(buffer.AddPolygon(Numbered<dxCuadrado>(kB, POLY_CULL_CW)), S_OK);
  EXPECT_EQ(buffer.GetNumTriangles(), 1);
  EXPECT_EQ(buffer.GetNumQuads(), 1);
  ASSERT_EQ(buffer.BuildVertexData(), 7 * 16);
  EXPECT_EQ(buffer.GetPolygonFlags(0), POLY_CULL_CW | POLY_QUAD);
  EXPECT_EQ(buffer.GetPolygonFlags(1), POLY_CULL_CW);
  EXPECT_EQ(buffer.GetPolygonTexture(0), nullptr);
  float p[4][3];
  ASSERT_EQ(buffer.GetPolygonVertices(1, p[0], p[1], p[2], p[3]), 0);
  ExpectCorner(p[2], kA, 2);
}

TEST(PolygonBuffer, RefusesPolygonsItCannotBuild) {
  dxBufferTextura textured;
  dxBufferColor8 plain;
  dxTriangulo triangle(0, 0);
  dxCuadrado quad(0, 0);
  dxTrianguloTex texTriangle(0, 0);
  dxCuadradoTex texQuad(0, 0);
  EXPECT_EQ(textured.AddPolygon(&triangle), E_FAIL);
  EXPECT_EQ(textured.AddPolygon(&quad), E_FAIL);
  EXPECT_EQ(textured.AddPolygon(nullptr), E_FAIL);
  EXPECT_EQ(plain.AddPolygon(&texTriangle), E_FAIL);
  EXPECT_EQ(plain.AddPolygon(&texQuad), E_FAIL);
  for (dxBufferColor8* b : {static_cast<dxBufferColor8*>(&textured), &plain}) {
    EXPECT_EQ(b->GetNumVertices(), 0);
    EXPECT_FALSE(b->IsDirty());
    EXPECT_EQ(b->BuildVertexData(), -1);
  }
}

TEST(PolygonBuffer, BuildsOnlyWhatIsNew) {
  dxBufferTextura buffer;
  EXPECT_EQ(buffer.BuildVertexData(), -1);  // nothing added
  EXPECT_EQ(buffer.GetVertexData(), nullptr);

  buffer.AddPolygon(Numbered<dxTrianguloTex>(kA));
  EXPECT_TRUE(buffer.IsDirty());
  EXPECT_EQ(buffer.BuildVertexData(), 60);
  EXPECT_TRUE(buffer.IsDirty());  // until the device has uploaded it
  EXPECT_EQ(buffer.BuildVertexData(), 60);
  buffer.ClearDirty();
  EXPECT_EQ(buffer.BuildVertexData(), -1);
  EXPECT_EQ(buffer.GetBuiltPolygonCount(), 1);  // the last build stays

  buffer.AddPolygon(Numbered<dxCuadradoTex>(kB));
  EXPECT_EQ(buffer.BuildVertexData(), 140);  // rebuilt from every polygon
  EXPECT_EQ(buffer.GetPolygonFlags(0) & POLY_QUAD, POLY_QUAD);
  EXPECT_EQ(buffer.GetPolygonFlags(1) & POLY_QUAD, 0u);
}

TEST(PolygonBuffer, PolygonAccessorsStayWithinTheLastBuild) {
  dxBufferTextura buffer;
  buffer.AddPolygon(Numbered<dxCuadradoTex>(kB, POLY_CULL_CCW));
  float p[4][3] = {{-1}, {-1}, {-1}, {-1}};
  // Added but never built: nothing to read.
  EXPECT_EQ(buffer.GetPolygonFlags(0), 0u);
  EXPECT_EQ(buffer.GetPolygonVertices(0, p[0], p[1], p[2], p[3]), 0);
  EXPECT_EQ(p[0][0], -1.0f);

  buffer.BuildVertexData();
  buffer.AddPolygon(Numbered<dxTrianguloTex>(kA));  // live count 2, built 1
  for (int i : {-1, 1, 2, 1 << 30}) {
    EXPECT_EQ(buffer.GetPolygonFlags(i), 0u);
    EXPECT_EQ(buffer.GetPolygonGroup(i), 0u);
    EXPECT_EQ(buffer.GetPolygonTexture(i), nullptr);
    EXPECT_EQ(buffer.GetPolygonVertices(i, p[0], p[1], p[2], p[3]), 0);
    EXPECT_EQ(p[0][0], -1.0f);
    buffer.SetPolygonFlags(i, POLY_WIREFRAME);
  }
  EXPECT_EQ(buffer.GetPolygonFlags(0), POLY_CULL_CCW | POLY_QUAD | POLY_TEXTURED);
}

TEST(PolygonBuffer, FlagEditsKeepTheBuiltShape) {
  dxBufferTextura buffer;
  buffer.AddPolygon(Numbered<dxTrianguloTex>(kA, POLY_CULL_CCW));
  buffer.AddPolygon(Numbered<dxCuadradoTex>(kB, POLY_CULL_CCW));
  buffer.BuildVertexData();
  buffer.SetPolygonFlags(0, POLY_WIREFRAME);               // a quad
  buffer.SetPolygonFlags(1, POLY_WIREFRAME | POLY_QUAD);   // a triangle
  EXPECT_EQ(buffer.GetPolygonFlags(0), POLY_WIREFRAME | POLY_QUAD);
  EXPECT_EQ(buffer.GetPolygonFlags(1), POLY_WIREFRAME);
  // The polygons keep their own flags.
  float p[4][3];
  EXPECT_EQ(buffer.GetPolygonVertices(1, p[0], p[1], p[2], p[3]), 0);
}

TEST(PolygonBuffer, NewestWorldOperationAppliesToVerticesFirst) {
  dxBufferColor8 buffer;
  buffer.Translate(1, 0, 0);
  buffer.RotateY(std::numbers::pi_v<float> / 2);
  ExpectPoint(Through(buffer.GetWorldMatrix(), {0, 0, 0}), {1, 0, 0});
  ExpectPoint(Through(buffer.GetWorldMatrix(), {1, 0, 0}), {1, 0, -1});

  buffer.ResetWorld();
  ExpectPoint(Through(buffer.GetWorldMatrix(), {3, 4, 5}), {3, 4, 5});

  // Translate, then scale, then a quarter turn about X (Y goes to Z): the
  // vertex is turned first, then scaled, then moved.
  buffer.Translate(0, 0, 5);
  buffer.Scale(2);
  buffer.RotateX(std::numbers::pi_v<float> / 2);
  ExpectPoint(Through(buffer.GetWorldMatrix(), {1, 1, 0}), {2, 0, 7});

  D3DXMATRIX shift;
  D3DXMatrixTranslation(&shift, 0, -10, 0);
  buffer.MultiplyWorld(shift);
  ExpectPoint(Through(buffer.GetWorldMatrix(), {0, 10, 0}), {0, 0, 5});
}
