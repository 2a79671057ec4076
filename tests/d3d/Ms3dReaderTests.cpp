#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <type_traits>
#include <vector>

#include "d3d/Ms3dModel.h"

namespace {

// Calls visit on every number of a field; a text field is its characters
// without the terminating one, which is not on file.
template <typename T, typename Visit>
void Each(T& field, Visit& visit) {
  if constexpr (std::is_array_v<T>) {
    using Element = std::remove_cv_t<std::remove_extent_t<T>>;
    for (std::size_t i = 0; i < std::extent_v<T> - std::is_same_v<Element, char>; ++i)
      Each(field[i], visit);
  } else {
    visit(field);
  }
}

// Calls visit on every number of the model in file order.
template <typename Model, typename Visit>
void Fields(Model& m, Visit visit) {
  auto f = [&](auto&... fields) { (Each(fields, visit), ...); };
  f(m.id, m.version, m.numVertices);
  for (auto& v : m.vertices) f(v.flags, v.position, v.boneId, v.referenceCount);
  f(m.numTriangles);
  for (auto& t : m.triangles)
    f(t.flags, t.vertexIndices, t.vertexNormals, t.s, t.t, t.smoothingGroup, t.groupIndex);
  f(m.numGroups);
  for (auto& g : m.groups) {
    f(g.flags, g.name, g.numTriangles);
    for (auto& i : g.triangleIndices) f(i);
    f(g.materialIndex);
  }
  f(m.numMaterials);
  for (auto& x : m.materials)
    f(x.name, x.ambient, x.diffuse, x.specular, x.emissive, x.shininess, x.transparency, x.mode,
      x.texture, x.alphaMap);
  f(m.animationFps, m.currentTime, m.totalFrames, m.numJoints);
  for (auto& j : m.joints) {
    f(j.flags, j.name, j.parentName, j.rotation, j.position, j.numRotationKeys, j.numPositionKeys);
    for (auto& k : j.rotationKeys) f(k.time, k.values);
    for (auto& k : j.positionKeys) f(k.time, k.values);
  }
}

// Every number little-endian (as this machine is) in its own size.
std::vector<unsigned char> Bytes(const Ms3dModel& m) {
  std::vector<unsigned char> bytes;
  Fields(m, [&](const auto& v) {
    const auto* raw = reinterpret_cast<const unsigned char*>(&v);
    bytes.insert(bytes.end(), raw, raw + sizeof v);
  });
  return bytes;
}

// Every field its own value, every text field its full length.
Ms3dModel SmallModel() {
  Ms3dModel m;
  // The second group has no triangles, the second joint no keys.
  m.vertices.resize(3), m.triangles.resize(2), m.groups.resize(2), m.materials.resize(1);
  m.joints.resize(2), m.groups[0].triangleIndices.resize(2);
  m.joints[0].rotationKeys.resize(2), m.joints[0].positionKeys.resize(1);
  int next = 1;
  Fields(m, [&](auto& v) {
    using T = std::remove_reference_t<decltype(v)>;
    if constexpr (std::is_same_v<T, char>) v = static_cast<char>('a' + next++ % 26);
    else v = static_cast<T>(next++ % 100 + (std::is_floating_point_v<T> ? 0.25 : 0));
  });
  // The counts were filled too: make them the array sizes again.
  m.numVertices = 3, m.numTriangles = 2, m.numGroups = 2, m.numMaterials = 1, m.numJoints = 2;
  m.groups[0].numTriangles = 2, m.groups[1].numTriangles = 0, m.joints[0].numRotationKeys = 2;
  m.joints[0].numPositionKeys = 1, m.joints[1].numRotationKeys = m.joints[1].numPositionKeys = 0;
  return m;
}

// Reads the first length bytes back from a file.
bool WriteAndRead(const std::vector<unsigned char>& bytes, std::size_t length, Ms3dModel& m) {
  const std::string path = ::testing::TempDir() + "ms3d-" + std::to_string(::getpid()) + ".ms3d";
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(length));
  const bool read = ReadMs3dFile(path.c_str(), m);
  std::remove(path.c_str());
  return read;
}

}  // namespace

TEST(Ms3dReader, ReadsBackEveryFieldWithFullLengthTextTerminated) {
  const Ms3dModel written = SmallModel();
  auto bytes = Bytes(written);
  // Header 16; vertices 3 x 15; triangles 2 + 2 x 70; groups 2 + 40 + 36;
  // materials 2 + 361; timing 12; joints 2 + (93 + 3 x 16) + 93.
  ASSERT_EQ(bytes.size(), 892u);
  bytes.insert(bytes.end(), {1, 2, 3});  // nothing after the joints is read
  Ms3dModel read;
  ASSERT_TRUE(WriteAndRead(bytes, bytes.size(), read));
  EXPECT_TRUE(read == written);  // text filling its field still ends with a zero
  ASSERT_TRUE(WriteAndRead(Bytes(Ms3dModel{}), 36, read));
  EXPECT_TRUE(read == Ms3dModel{});  // the model read before is gone
}

TEST(Ms3dReader, RefusesEveryTruncationAndAMissingFileLeavingTheModelEmpty) {
  const auto bytes = Bytes(SmallModel());
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    Ms3dModel read = SmallModel();
    EXPECT_FALSE(WriteAndRead(bytes, length, read)) << length;
    EXPECT_TRUE(read == Ms3dModel{}) << length;
  }
  Ms3dModel read = SmallModel();
  EXPECT_FALSE(ReadMs3dFile("/nonexistent/folder/model.ms3d", read));
  EXPECT_TRUE(read == Ms3dModel{});
  EXPECT_FALSE(ReadMs3dFile(nullptr, read));
}
