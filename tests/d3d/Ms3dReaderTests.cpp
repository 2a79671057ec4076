#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <type_traits>
#include <vector>

#include "d3d/Ms3dModel.h"

namespace {

// Writes models in the file layout, each field in its own size, little-endian.
class Ms3dWriter {
 public:
  std::vector<unsigned char> bytes;

  template <typename T>
  void operator()(T v) {
    static_assert(std::is_arithmetic_v<T>);
    unsigned char raw[sizeof(T)];
    std::memcpy(raw, &v, sizeof v);  // this machine is little-endian too
    bytes.insert(bytes.end(), raw, raw + sizeof v);
  }
  template <typename T, std::size_t N>
  void operator()(const T (&v)[N]) {
    for (const T& e : v) (*this)(e);
  }
  // A file's text field is one byte shorter than the terminated text.
  template <std::size_t N>
  void Text(const char (&text)[N]) {
    bytes.insert(bytes.end(), text, text + N - 1);
  }

  void Model(const Ms3dModel& m) {
    auto& w = *this;
    Text(m.id), w(m.version), w(m.numVertices);
    for (const Ms3dVertex& v : m.vertices)
      w(v.flags), w(v.position), w(v.boneId), w(v.referenceCount);
    w(m.numTriangles);
    for (const Ms3dTriangle& t : m.triangles)
      w(t.flags), w(t.vertexIndices), w(t.vertexNormals), w(t.s), w(t.t), w(t.smoothingGroup),
          w(t.groupIndex);
    w(m.numGroups);
    for (const Ms3dGroup& g : m.groups) {
      w(g.flags), Text(g.name), w(g.numTriangles);
      for (std::uint16_t i : g.triangleIndices) w(i);
      w(g.materialIndex);
    }
    w(m.numMaterials);
    for (const Ms3dMaterial& x : m.materials)
      Text(x.name), w(x.ambient), w(x.diffuse), w(x.specular), w(x.emissive), w(x.shininess),
          w(x.transparency), w(x.mode), Text(x.texture), Text(x.alphaMap);
    w(m.animationFps), w(m.currentTime), w(m.totalFrames), w(m.numJoints);
    for (const Ms3dJoint& j : m.joints) Joint(j);
  }

  void Joint(const Ms3dJoint& j) {
    auto& w = *this;
    w(j.flags), Text(j.name), Text(j.parentName), w(j.rotation), w(j.position);
    w(j.numRotationKeys), w(j.numPositionKeys);
    for (const auto* keys : {&j.rotationKeys, &j.positionKeys})
      for (const Ms3dJointKey& k : *keys) w(k.time), w(k.values);
  }
};

// Distinct values for every field, so a swapped or skipped field shows.
struct Filler {
  int next = 1;
  template <typename T>
  void operator()(T& v) {
    v = static_cast<T>(next++ % 100 + (std::is_floating_point_v<T> ? 0.25 : 0));
  }
  template <typename T, std::size_t N>
  void operator()(T (&v)[N]) {
    for (T& e : v) (*this)(e);
  }
  // Names fill the whole field when full is true.
  template <std::size_t N>
  void Text(char (&text)[N], bool full = false) {
    const std::size_t length = full ? N - 1 : static_cast<std::size_t>(next++ % 7 + 1);
    for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>('a' + (next + i) % 26);
  }
};

Ms3dModel SmallModel() {
  Filler f;
  Ms3dModel m;
  f.Text(m.id, true);
  m.version = 4;
  m.vertices.resize(m.numVertices = 3);
  for (Ms3dVertex& v : m.vertices) f(v.flags), f(v.position), f(v.boneId), f(v.referenceCount);
  m.triangles.resize(m.numTriangles = 2);
  for (Ms3dTriangle& t : m.triangles) {
    f(t.flags), f(t.vertexIndices), f(t.s), f(t.t), f(t.smoothingGroup), f(t.groupIndex);
    for (auto& normal : t.vertexNormals) f(normal);
  }
  m.groups.resize(m.numGroups = 2);  // the second without triangles
  m.groups[0].triangleIndices = {1, 0};
  m.groups[0].numTriangles = 2;
  for (Ms3dGroup& g : m.groups) f(g.flags), f.Text(g.name, true), f(g.materialIndex);
  m.materials.resize(m.numMaterials = 1);
  for (Ms3dMaterial& x : m.materials) {
    f(x.ambient), f(x.diffuse), f(x.specular), f(x.emissive), f(x.shininess), f(x.transparency);
    f(x.mode), f.Text(x.name), f.Text(x.texture, true), f.Text(x.alphaMap);
  }
  f(m.animationFps), f(m.currentTime), f(m.totalFrames);
  m.joints.resize(m.numJoints = 2);  // the second without keys
  m.joints[0].rotationKeys.resize(m.joints[0].numRotationKeys = 2);
  m.joints[0].positionKeys.resize(m.joints[0].numPositionKeys = 1);
  for (Ms3dJoint& j : m.joints) {
    f(j.flags), f.Text(j.name), f.Text(j.parentName, true), f(j.rotation), f(j.position);
    for (auto* keys : {&j.rotationKeys, &j.positionKeys})
      for (Ms3dJointKey& k : *keys) f(k.time), f(k.values);
  }
  return m;
}

std::vector<unsigned char> Bytes(const Ms3dModel& m) {
  Ms3dWriter writer;
  writer.Model(m);
  return writer.bytes;
}

class Ms3dFile : public ::testing::Test {
 protected:
  std::filesystem::path path = std::filesystem::path(::testing::TempDir()) /
                               ("ms3d-" + std::to_string(::getpid()) + ".ms3d");
  void TearDown() override { std::filesystem::remove(path); }

  void Write(const std::vector<unsigned char>& bytes, std::size_t length) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(length));
  }
  bool Read(Ms3dModel& m) { return ReadMs3dFile(path.string().c_str(), m); }
};

}  // namespace

TEST(Ms3dWriter, RecordsTakeTheirFileSizes) {
  EXPECT_EQ(Bytes(Ms3dModel{}).size(), 36u);
  Ms3dModel withGroup;
  withGroup.groups.resize(withGroup.numGroups = 1);
  withGroup.groups[0].triangleIndices.resize(withGroup.groups[0].numTriangles = 3);
  EXPECT_EQ(Bytes(withGroup).size(), 36u + 42u);
  Ms3dWriter joint;
  joint.Joint(SmallModel().joints[0]);  // 2 rotation keys, 1 position key
  EXPECT_EQ(joint.bytes.size(), 141u);
}

TEST_F(Ms3dFile, ReadsBackEveryField) {
  const Ms3dModel written = SmallModel();
  auto bytes = Bytes(written);
  bytes.insert(bytes.end(), {1, 2, 3});  // nothing after the joints is read
  Write(bytes, bytes.size());
  Ms3dModel read;
  ASSERT_TRUE(Read(read));
  EXPECT_TRUE(read == written);
  // Names that fill their field are still terminated strings.
  EXPECT_EQ(std::strlen(read.id), 10u);
  EXPECT_EQ(std::strlen(read.groups[1].name), 32u);
  EXPECT_EQ(std::strlen(read.joints[1].parentName), 32u);
  EXPECT_EQ(std::strlen(read.materials[0].texture), 128u);
}

TEST_F(Ms3dFile, EmptyModelReadsWithAllCountsZero) {
  Write(Bytes(Ms3dModel{}), 36);
  Ms3dModel read = SmallModel();  // a previous model is replaced
  ASSERT_TRUE(Read(read));
  EXPECT_TRUE(read == Ms3dModel{});
}

TEST_F(Ms3dFile, RefusesEveryTruncation) {
  const auto bytes = Bytes(SmallModel());
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    Write(bytes, length);
    Ms3dModel read = SmallModel();
    EXPECT_FALSE(Read(read)) << length;
    EXPECT_TRUE(read == Ms3dModel{}) << length;
  }
}

TEST(Ms3dReader, RefusesAMissingFileOrNoName) {
  Ms3dModel read = SmallModel();
  EXPECT_FALSE(ReadMs3dFile("/nonexistent/folder/model.ms3d", read));
  EXPECT_TRUE(read == Ms3dModel{});
  EXPECT_FALSE(ReadMs3dFile(nullptr, read));
}
