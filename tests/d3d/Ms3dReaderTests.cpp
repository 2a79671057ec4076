#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "d3d/Ms3dModel.h"

namespace {

// Writes models in the file layout, field by field, little-endian.
class Ms3dWriter {
 public:
  std::vector<unsigned char> bytes;

  void Unsigned(std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<unsigned char>(v >> (8 * i)));
  }
  void U8(int v) { Unsigned(static_cast<std::uint32_t>(v), 1); }
  void U16(int v) { Unsigned(static_cast<std::uint32_t>(v), 2); }
  void I32(std::int32_t v) { Unsigned(static_cast<std::uint32_t>(v), 4); }
  void F32(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    Unsigned(bits, 4);
  }
  template <std::size_t N>
  void Floats(const float (&v)[N]) {
    for (float f : v) F32(f);
  }
  // The file's field is one byte shorter than the terminated text.
  template <std::size_t N>
  void Text(const char (&text)[N]) {
    bytes.insert(bytes.end(), text, text + N - 1);
  }

  void Model(const Ms3dModel& m) {
    Text(m.id);
    I32(m.version);
    U16(m.numVertices);
    for (const Ms3dVertex& v : m.vertices) {
      U8(v.flags);
      Floats(v.position);
      U8(v.boneId);
      U8(v.referenceCount);
    }
    U16(m.numTriangles);
    for (const Ms3dTriangle& t : m.triangles) {
      U16(t.flags);
      for (auto i : t.vertexIndices) U16(i);
      for (auto& n : t.vertexNormals) Floats(n);
      Floats(t.s);
      Floats(t.t);
      U8(t.smoothingGroup);
      U8(t.groupIndex);
    }
    U16(m.numGroups);
    for (const Ms3dGroup& g : m.groups) {
      U8(g.flags);
      Text(g.name);
      U16(g.numTriangles);
      for (auto i : g.triangleIndices) U16(i);
      U8(g.materialIndex);
    }
    U16(m.numMaterials);
    for (const Ms3dMaterial& mat : m.materials) {
      Text(mat.name);
      Floats(mat.ambient);
      Floats(mat.diffuse);
      Floats(mat.specular);
      Floats(mat.emissive);
      F32(mat.shininess);
      F32(mat.transparency);
      U8(mat.mode);
      Text(mat.texture);
      Text(mat.alphaMap);
    }
    F32(m.animationFps);
    F32(m.currentTime);
    I32(m.totalFrames);
    U16(m.numJoints);
    for (const Ms3dJoint& j : m.joints) Joint(j);
  }

  void Joint(const Ms3dJoint& j) {
    U8(j.flags);
    Text(j.name);
    Text(j.parentName);
    Floats(j.rotation);
    Floats(j.position);
    U16(j.numRotationKeys);
    U16(j.numPositionKeys);
    for (const auto* keys : {&j.rotationKeys, &j.positionKeys})
      for (const Ms3dJointKey& k : *keys) {
        F32(k.time);
        Floats(k.values);
      }
  }
};

template <std::size_t N>
void SetText(char (&field)[N], const std::string& text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

// A distinct value for every numbered field, so a swapped field shows.
float Value(int n) { return 0.5f + static_cast<float>(n); }

Ms3dModel SmallModel() {
  Ms3dModel m;
  SetText(m.id, "MS3D000000");
  m.version = 4;
  m.numVertices = 3;
  for (int i = 0; i < 3; ++i) {
    Ms3dVertex v;
    v.flags = static_cast<std::uint8_t>(i + 1);
    v.position[0] = Value(i * 3);
    v.position[1] = -Value(i * 3 + 1);
    v.position[2] = Value(i * 3 + 2);
    v.boneId = static_cast<std::int8_t>(-1 - i);
    v.referenceCount = static_cast<std::uint8_t>(200 + i);
    m.vertices.push_back(v);
  }
  m.numTriangles = 2;
  for (int i = 0; i < 2; ++i) {
    Ms3dTriangle t;
    t.flags = static_cast<std::uint16_t>(0x8001 + i);
    for (int c = 0; c < 3; ++c) {
      t.vertexIndices[c] = static_cast<std::uint16_t>((c + i) % 3);
      for (int k = 0; k < 3; ++k) t.vertexNormals[c][k] = Value(100 + i * 9 + c * 3 + k);
      t.s[c] = Value(200 + i * 3 + c);
      t.t[c] = Value(300 + i * 3 + c);
    }
    t.smoothingGroup = static_cast<std::uint8_t>(7 + i);
    t.groupIndex = static_cast<std::uint8_t>(i);
    m.triangles.push_back(t);
  }
  m.numGroups = 2;
  Ms3dGroup body;
  body.flags = 2;
  SetText(body.name, std::string(MS3D_NAME_LENGTH, 'G'));  // full length
  body.numTriangles = 2;
  body.triangleIndices = {1, 0};
  body.materialIndex = 0;
  Ms3dGroup empty;
  SetText(empty.name, "empty");
  empty.materialIndex = -1;
  m.groups = {body, empty};
  m.numMaterials = 1;
  Ms3dMaterial mat;
  SetText(mat.name, "skin");
  for (int k = 0; k < 4; ++k) {
    mat.ambient[k] = Value(400 + k);
    mat.diffuse[k] = Value(410 + k);
    mat.specular[k] = Value(420 + k);
    mat.emissive[k] = Value(430 + k);
  }
  mat.shininess = 12.5f;
  mat.transparency = 0.25f;
  mat.mode = -3;
  SetText(mat.texture, std::string(MS3D_FILE_NAME_LENGTH, 't'));
  SetText(mat.alphaMap, "alpha.bmp");
  m.materials.push_back(mat);
  m.animationFps = 24.0f;
  m.currentTime = 1.5f;
  m.totalFrames = 30;
  m.numJoints = 2;
  Ms3dJoint root;
  root.flags = 8;
  SetText(root.name, "root");
  root.rotation[1] = 1.25f;
  root.position[2] = -7.0f;
  root.numRotationKeys = 2;
  root.numPositionKeys = 1;
  root.rotationKeys = {{0.0f, {1, 2, 3}}, {1.0f, {4, 5, 6}}};
  root.positionKeys = {{0.5f, {7, 8, 9}}};
  Ms3dJoint child;
  SetText(child.name, "child");
  SetText(child.parentName, std::string(MS3D_NAME_LENGTH, 'p'));
  m.joints = {root, child};
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

TEST_F(Ms3dFile, RecordsTakeTheirFileSizes) {
  Ms3dModel empty;
  EXPECT_EQ(Bytes(empty).size(), 36u);

  Ms3dGroup g;
  g.numTriangles = 3;
  g.triangleIndices = {0, 1, 2};
  Ms3dModel withGroup;
  withGroup.numGroups = 1;
  withGroup.groups = {g};
  EXPECT_EQ(Bytes(withGroup).size(), 36u + 42u);

  Ms3dWriter joint;
  joint.Joint(SmallModel().joints[0]);
  EXPECT_EQ(joint.bytes.size(), 141u);
}

TEST_F(Ms3dFile, ReadsBackEveryField) {
  const Ms3dModel written = SmallModel();
  const auto bytes = Bytes(written);
  Write(bytes, bytes.size());
  Ms3dModel read;
  ASSERT_TRUE(Read(read));
  EXPECT_TRUE(read == written);
  // Spot checks that the comparison itself looks at the fields.
  EXPECT_EQ(read.joints[0].positionKeys[0].values[2], 9.0f);
  EXPECT_EQ(read.groups[0].triangleIndices[1], 0);
  EXPECT_EQ(read.triangles[1].flags, 0x8002);
}

TEST_F(Ms3dFile, FullLengthNamesAreTerminated) {
  const auto bytes = Bytes(SmallModel());
  Write(bytes, bytes.size());
  Ms3dModel read;
  ASSERT_TRUE(Read(read));
  EXPECT_EQ(std::strlen(read.id), 10u);
  EXPECT_EQ(std::strlen(read.groups[0].name), 32u);
  EXPECT_EQ(std::strlen(read.joints[1].parentName), 32u);
  EXPECT_EQ(std::strlen(read.materials[0].texture), 128u);
}

TEST_F(Ms3dFile, EmptyModelReadsWithAllCountsZero) {
  Write(Bytes(Ms3dModel{}), 36);
  Ms3dModel read = SmallModel();  // a previous model is replaced
  ASSERT_TRUE(Read(read));
  EXPECT_TRUE(read == Ms3dModel{});
}

TEST_F(Ms3dFile, IgnoresBytesAfterTheJoints) {
  auto bytes = Bytes(SmallModel());
  bytes.insert(bytes.end(), {1, 2, 3, 4, 5});
  Write(bytes, bytes.size());
  Ms3dModel read;
  ASSERT_TRUE(Read(read));
  EXPECT_TRUE(read == SmallModel());
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

TEST_F(Ms3dFile, RefusesCountsTheFileCannotHold) {
  Ms3dWriter w;
  w.Model(Ms3dModel{});
  // Announce 65535 vertices, then end the file.
  w.bytes[14] = 0xFF;
  w.bytes[15] = 0xFF;
  Write(w.bytes, w.bytes.size());
  Ms3dModel read;
  EXPECT_FALSE(Read(read));
  EXPECT_TRUE(read.vertices.empty());
}

TEST(Ms3dReader, RefusesAMissingFileOrNoName) {
  Ms3dModel read = SmallModel();
  EXPECT_FALSE(ReadMs3dFile("/nonexistent/folder/model.ms3d", read));
  EXPECT_TRUE(read == Ms3dModel{});
  EXPECT_FALSE(ReadMs3dFile(nullptr, read));
}
