// Mesh words to records, and records to textured buffers.

#include <gmock/gmock.h>

#include "SceneTestSupport.h"
#include "scene/MemReader.h"
#include "scene/TexturePages.h"

using namespace scenetest;

namespace {

// Normals and three shapes (the unknown one has no indices); shades; and two
// meshes of 34 bytes (padded) and 40 bytes (not), in both layouts.
std::vector<TestMesh> SampleMeshes() {
  TestMesh mixed, shaded, one, two;
  mixed.vertices = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {-1, -2, -3}};
  mixed.normals = {{0, 16384, 0}, {16384, 0, -5}};
  mixed.polygons = {{MESH_SHAPE_TRIANGLE, {3, 2, 1}, 0x8012, 7, 9},
                    {MESH_SHAPE_QUAD, {0, 1, 2, 3}, 0xFFFD, 4, 0},
                    {5, {}, 44, 1, 2}};
  shaded.shades = {10, 20, 30, 40, -50};
  one.vertices = {{0, 0, 0}};
  two.vertices = {{0, 0, 0}, {1, 1, 1}};
  return {mixed, shaded, one, two};
}
const bool kPadded[] = {false, false, true, false};

// A parsed record as the builder's input: writing it again must give the same words.
TestMesh AsWritten(const MeshRecord& r) {
  TestMesh t{r.vertices, r.normals, r.shades, {}};
  for (const MeshPolygon& p : r.polygons) {
    const int n = p.shape == MESH_SHAPE_QUAD ? 4 : p.shape == MESH_SHAPE_TRIANGLE ? 3 : 0;
    t.polygons.push_back(
        {p.shape, {p.indices.begin(), p.indices.begin() + n}, p.texture, p.attribute, p.extra});
  }
  return t;
}

}  // namespace

TEST(MemReader, AReadThatDoesNotFitCopiesNothingAndKeepsThePosition) {
  const std::uint8_t block[4] = {1, 2, 3, 4};
  MemReader reader;
  reader.Init(sizeof block, block);
  std::uint8_t out[4] = {9, 9, 9, 9};
  ASSERT_EQ(reader.Read(out, 3), 1u);
  EXPECT_EQ(reader.Read(out + 1, 2), 0u);
  EXPECT_EQ(reader.position, 3u);
  EXPECT_THAT(out, testing::ElementsAre(1, 2, 3, 9));
}

TEST(MeshParser, ParsedMeshesWriteBackToTheSameWords) {
  MeshWords words, again;
  for (const TestMesh& mesh : SampleMeshes()) words.Add(mesh);
  auto list = Parse(words.bytes);
  ASSERT_EQ(list->Count(), 4);
  for (std::int32_t m = 0; m < 4; ++m) {
    const MeshRecord& r = *list->Get(m);
    EXPECT_EQ(r.dataOffset, again.Add(AsWritten(r)));
    EXPECT_EQ(std::tuple(r.centerX, r.centerY, r.centerZ, r.radius, r.hasPad),
              std::tuple(1, 2, 3, 100000, kPadded[m]));
  }
  EXPECT_EQ(again.bytes, words.bytes);
}

TEST(MeshParser, EveryTruncationOfEitherLayoutKeepsExactlyTheMeshesThatFit) {
  for (int format : {MESH_FORMAT_WAD, MESH_FORMAT_SPLIT}) {
    MeshWords words;
    std::vector<std::size_t> ends;
    for (const TestMesh& mesh : SampleMeshes()) {
      words.Add(mesh, format == MESH_FORMAT_SPLIT);
      ends.push_back(words.bytes.size());
    }
    std::unique_ptr<Lista_Mesh> list;  // each parse replaces the list before
    for (std::size_t size = 1; size <= ends.back(); ++size) {
      // An exact-size copy, so that a read past its end is caught.
      const std::vector<std::uint8_t> cut(words.bytes.begin(), words.bytes.begin() + size);
      ASSERT_EQ(ParseMeshData(cut.data(), std::uint32_t(size), list, format), 1u);
      // A mesh missing only its trailing pad still has all its geometry.
      std::int32_t fitting = 0;
      for (std::size_t m = 0; m < 4; ++m) fitting += ends[m] - (kPadded[m] ? 2 : 0) <= size;
      EXPECT_EQ(list->Count(), fitting) << "format " << format << ", size " << size;
    }
    EXPECT_EQ(list->Get(0)->rects.size(), format == MESH_FORMAT_SPLIT ? 1u : 0u);
    const Lista_Mesh* kept = list.get();
    EXPECT_EQ(ParseMeshData(words.bytes.data(), 0, list, format), 0u);
    EXPECT_EQ(ParseMeshData(words.bytes.data(), 8, list, 3), 0u);
    EXPECT_EQ(list.get(), kept);
  }
}

namespace {

// One page, its left half red and its right half blue.
TextureInfo RedBlueInfo() {
  std::vector<std::uint8_t> rgb;
  for (int texel = 0; texel < 256 * 256; ++texel)
    rgb.insert(rgb.end(), {std::uint8_t(texel % 256 < 128 ? 255 : 0), 0,
                           std::uint8_t(texel % 256 < 128 ? 0 : 255)});
  TextureInfo info;
  LoadTextureInfo(info, rgb.data(), static_cast<std::uint32_t>(rgb.size()));
  return info;
}

WadTextureSample Sample(std::uint8_t x, std::uint8_t y, std::uint8_t w, std::uint8_t h,
                        std::uint16_t page = 0) {
  return {x, y, page, 0, w, 0, h};
}

// A device and the page, on which the meshes of b build.
struct Built {
  std::unique_ptr<Lista_Mesh> Build(const TestMesh& mesh) {
    b.AddMesh(mesh);
    auto list = b.ParseMeshes();
    EXPECT_EQ(list->BuildD3D(*device, pages, b.wad), 0u);
    return list;
  }

  SceneDevice device;
  TextureInfo info = RedBlueInfo();
  trTextura pages{info};
  HRESULT created = pages.CreateTextures(&*device);
  WadBuilder b;
};

}  // namespace

TEST(MeshGeometry, PlacesVerticesAndTexturesQuadsAndTrianglesFromTheirSamples) {
  Built s;
  s.b.wad.textureSamples.resize(6);
  s.b.wad.textureSamples[3] = Sample(10, 20, 30, 40);
  s.b.wad.textureSamples[5] = Sample(100, 0, 50, 60);
  TestMesh mesh;
  mesh.vertices = {{10, 20, 30}, {-10, 20, 30}, {-10, -20, 30}, {10, -20, 30}};
  mesh.polygons = {{MESH_SHAPE_QUAD, {0, 1, 2, 3}, std::uint16_t(-3)},
                   {MESH_SHAPE_TRIANGLE, {2, 3, 0}, 0x2805}};
  auto list = s.Build(mesh);
  const dxBufferTextura& buffer = *list->GetBuffer(0);
  ASSERT_EQ(buffer.GetUploadedPolygonCount(), 2);
  // The triangle comes first: mesh vertices 2, 3, 0 with Y turned up, in
  // display units; corner code 2 of sample 5 gives P1, P2, P0. Then the quad:
  // mesh corners 0, 1, 3, 2; mirrored sample 3 gives P1, P0, P2, P3. u and v
  // in texels.
  const float want[7][5] = {{-1, 2, 3, 150, 0},  {1, 2, 3, 150, 60}, {1, -2, 3, 100, 0},
                            {1, -2, 3, 40, 20},  {-1, -2, 3, 10, 20}, {1, 2, 3, 40, 60},
                            {-1, 2, 3, 10, 60}};
  const auto* v = static_cast<const dxVertexTextura*>(buffer.GetVertexData());
  for (int i = 0; i < 7; ++i)
    EXPECT_THAT((std::array{v[i].x, v[i].y, v[i].z, v[i].u * 255, v[i].v * 255}),
                testing::Pointwise(testing::FloatNear(1e-4f), want[i]))
        << "vertex " << i;
  EXPECT_EQ(buffer.GetPolygonTexture(1), s.pages.GetTexture(0));
}

TEST(MeshGeometry, SkipsBadIndicesAndLeavesMissingSamplesAndPagesUntextured) {
  Built s;
  s.b.wad.textureSamples = {Sample(0, 0, 10, 10), Sample(0, 0, 10, 10, 4)};
  s.b.AddMesh(TestMesh{{{0, 0, 0}}, {}, {}, {}});  // no polygons: an empty buffer
  TestMesh mesh;                                   // three vertices
  mesh.polygons = {{MESH_SHAPE_TRIANGLE, {0, 1, 3}, 0},   // vertex 3 missing: not built
                   {MESH_SHAPE_TRIANGLE, {0, 1, 2}, 7},   // sample 7 missing
                   {MESH_SHAPE_TRIANGLE, {0, 1, 2}, 1},   // page 4 missing
                   {MESH_SHAPE_TRIANGLE, {0, 1, 2}, 0}};  // textured
  auto list = s.Build(mesh);
  EXPECT_EQ(list->GetBuffer(0)->GetBuiltPolygonCount(), 0);
  const dxBufferTextura& buffer = *list->GetBuffer(1);
  ASSERT_EQ(buffer.GetBuiltPolygonCount(), 3);
  EXPECT_NE(buffer.GetPolygonTexture(0), nullptr);
  EXPECT_EQ(buffer.GetPolygonTexture(1), nullptr);
  EXPECT_EQ(buffer.GetPolygonTexture(2), nullptr);
  EXPECT_EQ(list->GetBuffer(2), nullptr);
}

TEST(MeshGeometry, DrawsTheSampleColourOrWhiteWithoutASample) {
  Built s;
  s.b.wad.textureSamples = {Sample(0, 0, 40, 40), Sample(200, 0, 40, 40)};
  TestMesh mesh;
  // A square over the whole view in both windings, so that one survives the cull.
  mesh.vertices = {{-2000, -2000, 0}, {2000, -2000, 0}, {2000, 2000, 0}, {-2000, 2000, 0}};
  mesh.polygons = {{MESH_SHAPE_QUAD, {0, 1, 2, 3}, 1}, {MESH_SHAPE_QUAD, {3, 2, 1, 0}, 1}};
  auto list = s.Build(mesh);
  for (std::uint32_t want : {0xFF0000FFu, kWhitePixel}) {
    s.device->Clear(true);
    ASSERT_EQ(s.device->Render(list->GetBuffer(0), 0, 0), S_OK);
    EXPECT_EQ(s.device.Pixels().At(32, 32), want);
    s.b.wad.textureSamples.resize(1);  // sample 1 gone: untextured
    ASSERT_EQ(list->BuildD3D(*s.device, s.pages, s.b.wad), 0u);  // replaces the buffers
  }
}
