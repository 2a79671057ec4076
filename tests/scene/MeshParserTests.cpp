#include <gtest/gtest.h>

#include "MeshWordsBuilder.h"
#include "scene/MemReader.h"
#include "scene/MeshList.h"
#include "scene/MeshParser.h"

using namespace scenetest;

namespace {

std::unique_ptr<Lista_Mesh> Parse(const std::vector<std::uint8_t>& bytes,
                                  int format = MESH_FORMAT_WAD) {
  std::unique_ptr<Lista_Mesh> list;
  EXPECT_EQ(ParseMeshData(bytes.data(), static_cast<std::uint32_t>(bytes.size()), list, format),
            1u);
  return list;
}

TestPolygon Quad(std::uint16_t texture = 0) {
  return TestPolygon{MESH_SHAPE_QUAD, {0, 1, 2, 3}, texture, 0, 0};
}

// A mesh with normals and one polygon of each kind, the last of an unknown shape.
TestMesh MixedMesh() {
  TestMesh mesh;
  mesh.vertices = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {-1, -2, -3}};
  mesh.normals = {{0, 16384, 0}, {16384, 0, 0}};
  mesh.polygons = {TestPolygon{MESH_SHAPE_TRIANGLE, {3, 2, 1}, 0x8012, 7, 9}, Quad(0xFFFD),
                   TestPolygon{5, {}, 44, 1, 2}};
  return mesh;
}

}  // namespace

TEST(MemReader, RefusesAReadThatDoesNotFitAndKeepsItsPosition) {
  const std::uint8_t block[4] = {1, 2, 3, 4};
  MemReader reader;
  reader.Init(sizeof block, block);
  std::uint8_t out[4] = {9, 9, 9, 9};
  ASSERT_EQ(reader.Read(out, 3), 1u);
  EXPECT_EQ(reader.Read(out, 2), 0u);
  EXPECT_EQ(reader.position, 3u);
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[3], 9);  // the failed read copied nothing
  EXPECT_EQ(reader.Read(out, 1), 1u);
  EXPECT_EQ(out[0], 4);
}

TEST(MeshParser, ReadsEveryFieldOfNormalsShadesAndEachPolygonShape) {
  MeshWordsBuilder words;
  const std::uint32_t first = words.Add(MixedMesh());
  TestMesh shaded;
  shaded.shades = {10, 20, 30, 40, 50};
  const std::uint32_t second = words.Add(shaded);
  auto list = Parse(words.Bytes());

  ASSERT_EQ(list->Count(), 2);
  const MeshRecord& a = *list->Get(0);
  EXPECT_EQ(a.dataOffset, first);
  EXPECT_EQ(a.centerZ, 3);
  EXPECT_EQ(a.radius, 100);
  ASSERT_EQ(a.numVertices, 4);
  EXPECT_EQ(a.vertices[3].z, -3);
  ASSERT_EQ(a.numNormals, 2);
  EXPECT_EQ(a.normals[1].x, 16384);
  EXPECT_TRUE(a.shades.empty());
  ASSERT_EQ(a.numPolygons, 3);
  EXPECT_EQ(a.polygons[0].indices[0], 3);
  EXPECT_EQ(a.polygons[0].texture, 0x8012);
  EXPECT_EQ(a.polygons[0].attribute, 7);
  EXPECT_EQ(a.polygons[0].extra, 9);
  EXPECT_EQ(a.polygons[1].indices[3], 3);
  EXPECT_EQ(a.polygons[2].shape, 5);
  EXPECT_EQ(a.polygons[2].texture, 44);  // an unknown shape has no indices

  const MeshRecord& b = *list->Get(1);
  EXPECT_EQ(b.dataOffset, second);
  EXPECT_EQ(b.numNormals, -5);
  EXPECT_TRUE(b.normals.empty());
  ASSERT_EQ(b.shades.size(), 5u);
  EXPECT_EQ(b.shades[4], 50);
}

TEST(MeshParser, PadsAMeshToFourBytesAndStartsTheNextAfterThePad) {
  // One triangle, no normals: 12 header bytes + 6 per vertex + 2 + 2 + 12.
  for (std::size_t vertexCount : {1u, 2u, 3u}) {
    TestMesh mesh;
    mesh.vertices.resize(vertexCount, MeshVertex{0, 0, 0});
    mesh.polygons = {TestPolygon{MESH_SHAPE_TRIANGLE, {0, 0, 0}, 0, 0, 0}};
    const std::uint32_t content = 12 + 6 * static_cast<std::uint32_t>(vertexCount) + 2 + 2 + 12;
    const bool padded = content % 4 != 0;
    MeshWordsBuilder words;
    words.Add(mesh);
    const std::uint32_t next = words.Add(mesh);
    EXPECT_EQ(next, content + (padded ? 2 : 0));
    auto list = Parse(words.Bytes());
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Get(0)->hasPad, padded);
    EXPECT_EQ(list->Get(1)->dataOffset, next);
  }
}

TEST(MeshParser, EveryTruncationKeepsExactlyTheMeshesThatFit) {
  MeshWordsBuilder words;
  std::vector<std::uint32_t> ends;
  for (int i = 0; i < 3; ++i) {
    TestMesh mesh = MixedMesh();
    mesh.vertices.resize(static_cast<std::size_t>(i + 1), MeshVertex{5, 5, 5});
    words.Add(mesh);
    ends.push_back(static_cast<std::uint32_t>(words.Bytes().size()));
  }
  auto whole = Parse(words.Bytes());
  ASSERT_EQ(whole->Count(), 3);
  for (std::uint32_t size = 2; size < ends.back(); size += 2) {
    // A truncated copy, so that any read past its end is caught.
    const std::vector<std::uint8_t> cut(words.Bytes().begin(), words.Bytes().begin() + size);
    auto list = Parse(cut);
    std::int32_t fitting = 0;
    for (std::size_t m = 0; m < ends.size(); ++m) {
      const MeshRecord& full = *whole->Get(static_cast<std::int32_t>(m));
      // A mesh missing nothing but its trailing pad still has all its geometry.
      const std::uint32_t needed = ends[m] - (full.hasPad ? 2 : 0);
      fitting += needed <= size;
    }
    ASSERT_EQ(list->Count(), fitting) << "size " << size;
    for (std::int32_t m = 0; m < fitting; ++m) {
      EXPECT_EQ(list->Get(m)->dataOffset, whole->Get(m)->dataOffset);
      EXPECT_EQ(list->Get(m)->polygons.size(), whole->Get(m)->polygons.size());
    }
  }
}

TEST(MeshParser, RefusesCountsTheDataCannotHold) {
  MeshWordsBuilder words;
  for (std::int16_t c : {0, 0, 0}) words.I16(c);
  words.I32(0);
  words.I16(32767);  // vertices that are not there
  words.I16(0);
  auto list = Parse(words.Bytes());
  EXPECT_EQ(list->Count(), 0);

  MeshWordsBuilder polygons;
  TestMesh mesh;
  mesh.polygons.clear();
  polygons.Add(mesh);
  std::vector<std::uint8_t> bytes = polygons.Bytes();
  // Patch the polygon count (the last word before any pad) to a huge value.
  const std::size_t countAt = 12 + 6 * 3 + 2;
  bytes[countAt] = 0xFF;
  bytes[countAt + 1] = 0x7F;
  EXPECT_EQ(Parse(bytes)->Count(), 0);
}

TEST(MeshParser, ReadsTheSplitLayoutLikeTheConvertedWadLayout) {
  TestMesh mesh = MixedMesh();
  mesh.polygons.push_back(Quad(12));  // the unknown shape is dropped by conversion
  MeshWordsBuilder split;
  split.AddSplit(mesh);  // writes only the quads and triangles
  MeshWordsBuilder wad;
  wad.Add(mesh);
  auto fromSplit = Parse(split.Bytes(), MESH_FORMAT_SPLIT);
  auto fromWad = Parse(wad.Bytes());
  ASSERT_EQ(fromSplit->Count(), 1);
  MeshRecord converted;
  const std::int32_t size = ConvertWadMesh(*fromWad->Get(0), converted);

  const MeshRecord& read = *fromSplit->Get(0);
  EXPECT_EQ(size, static_cast<std::int32_t>(split.Bytes().size()));
  EXPECT_EQ(fromSplit->TotalBytes(), split.Bytes().size());
  ASSERT_EQ(read.numRects, 2);
  ASSERT_EQ(converted.numRects, 2);
  ASSERT_EQ(read.numTris, 1);
  ASSERT_EQ(converted.numTris, 1);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(read.rects[i].texture, converted.rects[i].texture);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(read.rects[i].indices[c], converted.rects[i].indices[c]);
  }
  EXPECT_EQ(read.tris[0].texture, 0x8012);
  EXPECT_EQ(converted.tris[0].texture, 0x8012);
  EXPECT_EQ(converted.tris[0].indices[0], 3);
  EXPECT_EQ(converted.vertices.size(), 4u);
  // 14 + 4 vertices x 6 + 2 normals x 6 + 4 + 2 rects x 12 + 1 tri x 10 = 88;
  // the WAD layout leaves the polygons out: 14 + 24 + 12 = 50, padded to 52.
  EXPECT_EQ(size, 88);
  EXPECT_EQ(MeshByteSize(*fromWad->Get(0), MESH_FORMAT_WAD), 52);
}

TEST(MeshList, FindsMeshesByOffsetAndRefusesPositionsPastTheEnd) {
  Lista_Mesh empty(MESH_FORMAT_WAD);
  EXPECT_EQ(empty.Find(0), -1);
  MeshRecord* out = nullptr;
  EXPECT_EQ(empty.Get(0, &out), 0u);

  MeshWordsBuilder words;
  const std::uint32_t a = words.Add(TestMesh{});
  const std::uint32_t b = words.Add(TestMesh{});  // same contents, other offset
  auto list = Parse(words.Bytes());
  EXPECT_EQ(list->Find(a), 0);
  EXPECT_EQ(list->Find(b), 1);
  EXPECT_EQ(list->Find(b + 2), -1);
  EXPECT_EQ(list->Get(2, &out), 0u);
  EXPECT_EQ(list->Get(-1, &out), 0u);
  ASSERT_EQ(list->Get(1, &out), 1u);
  EXPECT_EQ(out->dataOffset, b);
  EXPECT_EQ(list->GetBuffer(0), nullptr);  // nothing built yet
}
