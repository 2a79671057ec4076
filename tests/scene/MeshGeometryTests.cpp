#include <gtest/gtest.h>

#include "SceneTestSupport.h"
#include "d3d/Device8.h"
#include "scene/TexturePages.h"

using namespace scenetest;

namespace {

// One page of texture in two colours: the left half red, the right half blue.
struct Pages {
  explicit Pages(dxDevice8& device) {
    std::vector<std::uint8_t> rgb;
    for (std::uint32_t y = 0; y < 256; ++y)
      for (std::uint32_t x = 0; x < 256; ++x) {
        const bool left = x < 128;
        rgb.insert(rgb.end(), {std::uint8_t(left ? 255 : 0), 0, std::uint8_t(left ? 0 : 255)});
      }
    LoadTextureInfo(info, rgb.data(), static_cast<std::uint32_t>(rgb.size()));
    pages = std::make_unique<trTextura>(info);
    pages->CreateTextures(&device);
  }
  TextureInfo info;
  std::unique_ptr<trTextura> pages;
};

WadTextureSample Sample(std::uint8_t x, std::uint8_t y, std::uint8_t w, std::uint8_t h,
                        std::uint16_t page = 0) {
  WadTextureSample s;
  s.x = x;
  s.y = y;
  s.addW = w;
  s.addH = h;
  s.page = page;
  return s;
}

const dxVertexTextura* Vertices(const dxBufferTextura& buffer) {
  return static_cast<const dxVertexTextura*>(buffer.GetVertexData());
}

}  // namespace

TEST(MeshGeometry, PlacesVerticesAndTexturesQuadsAndTrianglesFromTheirSamples) {
  SceneDevice device;
  Pages pages(*device);
  WadBuilder b;
  TestMesh mesh;
  mesh.vertices = {{10, 20, 30}, {-10, 20, 30}, {-10, -20, 30}, {10, -20, 30}};
  mesh.polygons = {TestPolygon{MESH_SHAPE_QUAD, {0, 1, 2, 3}, static_cast<std::uint16_t>(-3), 0, 0},
                   TestPolygon{MESH_SHAPE_TRIANGLE, {2, 3, 0}, 0x2805, 0, 0}};
  b.AddMesh(mesh);
  WadFile& wad = b.Wad();
  wad.textureSamples.assign(6, Sample(0, 0, 0, 0));
  wad.textureSamples[3] = Sample(10, 20, 30, 40);
  wad.textureSamples[5] = Sample(100, 0, 50, 60);
  auto list = b.ParseMeshes();
  ASSERT_EQ(list->BuildD3D(*device, *pages.pages, wad), 0u);

  const dxBufferTextura& buffer = *list->GetBuffer(0);
  ASSERT_EQ(buffer.GetBuiltPolygonCount(), 2);
  ASSERT_EQ(buffer.GetUploadedPolygonCount(), 2);
  const dxVertexTextura* v = Vertices(buffer);
  // Polygon 0 is the triangle, added last: mesh vertices 2, 3, 0 with Y
  // turned up, in display units; corner code 2 of sample 5 gives P1, P2, P0.
  // Then the quad: mesh corners 0, 1, 3, 2; mirrored sample 3 gives P1, P0,
  // P2, P3.
  const dxVertexTextura want[7] = {
      {-1, 2, 3, 150, 0},  {1, 2, 3, 150, 60}, {1, -2, 3, 100, 0}, {1, -2, 3, 40, 20},
      {-1, -2, 3, 10, 20}, {1, 2, 3, 40, 60},  {-1, 2, 3, 10, 60}};
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    EXPECT_FLOAT_EQ(v[i].x, want[i].x);
    EXPECT_FLOAT_EQ(v[i].y, want[i].y);
    EXPECT_FLOAT_EQ(v[i].z, want[i].z);
    EXPECT_FLOAT_EQ(v[i].u, want[i].u / 255.0f);
    EXPECT_FLOAT_EQ(v[i].v, want[i].v / 255.0f);
  }
  EXPECT_EQ(buffer.GetPolygonTexture(0), pages.pages->GetTexture(0));
  EXPECT_EQ(buffer.GetPolygonFlags(1), POLY_CULL_CCW | POLY_TEXTURED | POLY_QUAD);
  EXPECT_EQ(buffer.GetPolygonGroup(1), 0u);
}

TEST(MeshGeometry, SkipsBadIndicesAndLeavesMissingSamplesAndPagesUntextured) {
  SceneDevice device;
  Pages pages(*device);
  WadBuilder b;
  TestMesh mesh;  // three vertices
  mesh.polygons = {TestPolygon{MESH_SHAPE_TRIANGLE, {0, 1, 3}, 0, 0, 0},  // index 3 missing
                   TestPolygon{MESH_SHAPE_TRIANGLE, {0, 1, 2}, 7, 0, 0},  // sample 7 missing
                   TestPolygon{MESH_SHAPE_TRIANGLE, {0, 1, 2}, 1, 0, 0},  // page 4 missing
                   TestPolygon{MESH_SHAPE_TRIANGLE, {0, 1, 2}, 0, 0, 0}};
  b.AddMesh(mesh);
  TestMesh bare;
  bare.polygons.clear();
  b.AddMesh(bare);
  WadFile& wad = b.Wad();
  wad.textureSamples = {Sample(0, 0, 10, 10), Sample(0, 0, 10, 10, 4)};
  auto list = b.ParseMeshes();
  ASSERT_EQ(list->BuildD3D(*device, *pages.pages, wad), 0u);

  const dxBufferTextura& buffer = *list->GetBuffer(0);
  ASSERT_EQ(buffer.GetBuiltPolygonCount(), 3);
  EXPECT_NE(buffer.GetPolygonTexture(0), nullptr);
  EXPECT_EQ(buffer.GetPolygonTexture(1), nullptr);
  EXPECT_EQ(buffer.GetPolygonTexture(2), nullptr);
  // The mesh without polygons still has its (empty) buffer.
  ASSERT_NE(list->GetBuffer(1), nullptr);
  EXPECT_EQ(list->GetBuffer(1)->GetBuiltPolygonCount(), 0);
  EXPECT_EQ(list->GetBuffer(2), nullptr);
}

TEST(MeshGeometry, DrawsTextureColoursAndWhiteWhereThereIsNoTexture) {
  SceneDevice device(64, 64);
  Pages pages(*device);
  WadBuilder b;
  TestMesh mesh;
  // A square filling the middle of the view, in both windings so that one of
  // them survives the counter-clockwise cull.
  mesh.vertices = {{-2000, -2000, 0}, {2000, -2000, 0}, {2000, 2000, 0}, {-2000, 2000, 0}};
  mesh.polygons = {TestPolygon{MESH_SHAPE_QUAD, {0, 1, 2, 3}, 0, 0, 0},
                   TestPolygon{MESH_SHAPE_QUAD, {3, 2, 1, 0}, 0, 0, 0}};
  b.AddMesh(mesh);
  WadFile& wad = b.Wad();
  for (std::uint8_t x : {std::uint8_t{0}, std::uint8_t{200}})
    wad.textureSamples.push_back(Sample(x, 0, 40, 40));
  auto list = b.ParseMeshes();
  ASSERT_EQ(list->BuildD3D(*device, *pages.pages, wad), 0u);

  device->Clear(true);
  dxBufferTextura* buffer = list->GetBuffer(0);
  ASSERT_EQ(device->Render(buffer, 0, 0), S_OK);
  const auto centre = device.Pixels().At(32, 32);
  EXPECT_EQ(centre, 0xFFFF0000u);  // sample 0 lies in the red half of the page

  wad.textureSamples.clear();  // every sample gone: untextured, white
  ASSERT_EQ(list->BuildD3D(*device, *pages.pages, wad), 0u);
  device->Clear(true);
  device->Render(list->GetBuffer(0), 0, 0);
  EXPECT_EQ(device.Pixels().At(32, 32), 0xFFFFFFFFu);
}

TEST(MeshGeometry, BuildsOnlyAWadFormatListWithMeshes) {
  SceneDevice device;
  Pages pages(*device);
  WadBuilder b;
  b.AddMesh(TestMesh{});
  WadFile& wad = b.Wad();
  Lista_Mesh split(MESH_FORMAT_SPLIT);
  EXPECT_EQ(split.BuildD3D(*device, *pages.pages, wad), 0xFFFFFFFFu);
  Lista_Mesh empty(MESH_FORMAT_WAD);
  EXPECT_EQ(empty.BuildD3D(*device, *pages.pages, wad), static_cast<std::uint32_t>(E_FAIL));
  EXPECT_EQ(empty.GetBuffer(0), nullptr);
}
