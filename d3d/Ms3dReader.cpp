#include <cstdio>
#include <cstring>
#include <vector>

#include "d3d/Ms3dModel.h"

namespace {

// Sizes on file of the fixed-size records, fields packed without padding.
constexpr std::size_t kVertexBytes = 1 + 3 * 4 + 1 + 1;
constexpr std::size_t kTriangleBytes = 2 + 3 * 2 + 9 * 4 + 3 * 4 + 3 * 4 + 1 + 1;
constexpr std::size_t kMaterialBytes =
    MS3D_NAME_LENGTH + 4 * 4 * 4 + 4 + 4 + 1 + 2 * MS3D_FILE_NAME_LENGTH;
constexpr std::size_t kJointKeyBytes = 4 + 3 * 4;
// A joint before its keys: flags, name, parent name, rotation, position and
// the two key counts.
constexpr std::size_t kJointHeadBytes = 1 + 2 * MS3D_NAME_LENGTH + 6 * 4 + 2 + 2;
static_assert(kVertexBytes == 15);
static_assert(kTriangleBytes == 70);
static_assert(kMaterialBytes == 361);
static_assert(kJointKeyBytes == 16);
static_assert(kJointHeadBytes == 93);

// Little-endian reads from the bytes of the whole file. The first read past
// the end fails, and so does every read after it.
class ByteReader {
 public:
  explicit ByteReader(const std::vector<unsigned char>& bytes) : bytes(bytes) {}

  bool Ok() const { return ok; }

  // Whether count records of recordBytes each still fit, so that an array is
  // never sized from a count the file cannot back.
  bool Holds(std::size_t count, std::size_t recordBytes) {
    if (ok && count * recordBytes > bytes.size() - offset) ok = false;
    return ok;
  }

  void Bytes(void* out, std::size_t size) {
    if (!Holds(size, 1)) return;
    std::memcpy(out, bytes.data() + offset, size);
    offset += size;
  }

  std::uint32_t Unsigned(int size) {
    unsigned char raw[4] = {};
    Bytes(raw, static_cast<std::size_t>(size));
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | raw[i];
    return value;
  }

  void Read(std::uint8_t& v) { v = static_cast<std::uint8_t>(Unsigned(1)); }
  void Read(std::int8_t& v) { v = static_cast<std::int8_t>(Unsigned(1)); }
  void Read(std::uint16_t& v) { v = static_cast<std::uint16_t>(Unsigned(2)); }
  void Read(std::int32_t& v) { v = static_cast<std::int32_t>(Unsigned(4)); }
  void Read(float& v) {
    const std::uint32_t bits = Unsigned(4);
    std::memcpy(&v, &bits, sizeof v);
  }
  template <std::size_t N>
  void Read(float (&v)[N]) {
    for (float& f : v) Read(f);
  }
  // A text field of size bytes into a buffer one longer, terminated.
  template <std::size_t N>
  void Text(char (&text)[N]) {
    static_assert(N > 1);
    Bytes(text, N - 1);
    text[N - 1] = '\0';
  }

 private:
  const std::vector<unsigned char>& bytes;
  std::size_t offset = 0;
  bool ok = true;
};

bool ReadWholeFile(const char* path, std::vector<unsigned char>& bytes) {
  if (path == nullptr) return false;
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  unsigned char chunk[4096];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + got);
  const bool ok = std::ferror(file) == 0;
  std::fclose(file);
  return ok;
}

void ReadVertex(ByteReader& in, Ms3dVertex& v) {
  in.Read(v.flags);
  in.Read(v.position);
  in.Read(v.boneId);
  in.Read(v.referenceCount);
}

void ReadTriangle(ByteReader& in, Ms3dTriangle& t) {
  in.Read(t.flags);
  for (std::uint16_t& index : t.vertexIndices) in.Read(index);
  for (auto& normal : t.vertexNormals) in.Read(normal);
  in.Read(t.s);
  in.Read(t.t);
  in.Read(t.smoothingGroup);
  in.Read(t.groupIndex);
}

void ReadGroup(ByteReader& in, Ms3dGroup& g) {
  in.Read(g.flags);
  in.Text(g.name);
  in.Read(g.numTriangles);
  if (!in.Holds(g.numTriangles, sizeof(std::uint16_t))) return;
  g.triangleIndices.resize(g.numTriangles);
  for (std::uint16_t& index : g.triangleIndices) in.Read(index);
  in.Read(g.materialIndex);
}

void ReadMaterial(ByteReader& in, Ms3dMaterial& m) {
  in.Text(m.name);
  in.Read(m.ambient);
  in.Read(m.diffuse);
  in.Read(m.specular);
  in.Read(m.emissive);
  in.Read(m.shininess);
  in.Read(m.transparency);
  in.Read(m.mode);
  in.Text(m.texture);
  in.Text(m.alphaMap);
}

void ReadKeys(ByteReader& in, std::uint16_t count, std::vector<Ms3dJointKey>& keys) {
  if (!in.Holds(count, kJointKeyBytes)) return;
  keys.resize(count);
  for (Ms3dJointKey& key : keys) {
    in.Read(key.time);
    in.Read(key.values);
  }
}

// Both key counts come before the keys: all rotation keys, then all position
// keys.
void ReadJoint(ByteReader& in, Ms3dJoint& j) {
  in.Read(j.flags);
  in.Text(j.name);
  in.Text(j.parentName);
  in.Read(j.rotation);
  in.Read(j.position);
  in.Read(j.numRotationKeys);
  in.Read(j.numPositionKeys);
  ReadKeys(in, j.numRotationKeys, j.rotationKeys);
  ReadKeys(in, j.numPositionKeys, j.positionKeys);
}

// Reads a count and then that many records, each at least minimumBytes long.
template <typename Record, typename ReadRecord>
void ReadArray(ByteReader& in, std::uint16_t& count, std::vector<Record>& records,
               std::size_t minimumBytes, ReadRecord readRecord) {
  in.Read(count);
  if (!in.Holds(count, minimumBytes)) return;
  records.resize(count);
  for (Record& record : records) {
    readRecord(in, record);
    if (!in.Ok()) return;
  }
}

// The smallest group: flags, name, a zero triangle count and the material.
constexpr std::size_t kEmptyGroupBytes = 1 + MS3D_NAME_LENGTH + 2 + 1;

bool ParseModel(const std::vector<unsigned char>& bytes, Ms3dModel& model) {
  ByteReader in(bytes);
  in.Text(model.id);
  in.Read(model.version);
  ReadArray(in, model.numVertices, model.vertices, kVertexBytes, ReadVertex);
  ReadArray(in, model.numTriangles, model.triangles, kTriangleBytes, ReadTriangle);
  ReadArray(in, model.numGroups, model.groups, kEmptyGroupBytes, ReadGroup);
  ReadArray(in, model.numMaterials, model.materials, kMaterialBytes, ReadMaterial);
  in.Read(model.animationFps);
  in.Read(model.currentTime);
  in.Read(model.totalFrames);
  ReadArray(in, model.numJoints, model.joints, kJointHeadBytes, ReadJoint);
  return in.Ok();
}

}  // namespace

bool ReadMs3dFile(const char* path, Ms3dModel& model) {
  model = Ms3dModel{};
  std::vector<unsigned char> bytes;
  if (!ReadWholeFile(path, bytes) || !ParseModel(bytes, model)) {
    model = Ms3dModel{};
    return false;
  }
  return true;
}
