#pragma once
// A model read from a MilkShape 3D binary file (version 4 layout): vertices,
// triangles, groups, materials, animation timing and joints with their keys.
// Text fields keep every byte of the file and one more for a terminating
// zero, so a full-length name is still a terminated string.

#include <cstdint>
#include <vector>

constexpr int MS3D_ID_LENGTH = 10;
constexpr int MS3D_NAME_LENGTH = 32;
constexpr int MS3D_FILE_NAME_LENGTH = 128;

struct Ms3dVertex {
  std::uint8_t flags = 0;
  float position[3] = {};
  std::int8_t boneId = 0;
  std::uint8_t referenceCount = 0;

  friend bool operator==(const Ms3dVertex&, const Ms3dVertex&) = default;
};

struct Ms3dTriangle {
  std::uint16_t flags = 0;
  std::uint16_t vertexIndices[3] = {};
  float vertexNormals[3][3] = {};  // one x, y, z triple per corner
  float s[3] = {};
  float t[3] = {};
  std::uint8_t smoothingGroup = 0;
  std::uint8_t groupIndex = 0;

  friend bool operator==(const Ms3dTriangle&, const Ms3dTriangle&) = default;
};

struct Ms3dGroup {
  std::uint8_t flags = 0;
  char name[MS3D_NAME_LENGTH + 1] = {};
  std::uint16_t numTriangles = 0;
  std::vector<std::uint16_t> triangleIndices;  // numTriangles entries
  std::int8_t materialIndex = 0;

  friend bool operator==(const Ms3dGroup&, const Ms3dGroup&) = default;
};

struct Ms3dMaterial {
  char name[MS3D_NAME_LENGTH + 1] = {};
  float ambient[4] = {};
  float diffuse[4] = {};
  float specular[4] = {};
  float emissive[4] = {};
  float shininess = 0.0f;
  float transparency = 0.0f;
  std::int8_t mode = 0;
  char texture[MS3D_FILE_NAME_LENGTH + 1] = {};
  char alphaMap[MS3D_FILE_NAME_LENGTH + 1] = {};

  friend bool operator==(const Ms3dMaterial&, const Ms3dMaterial&) = default;
};

struct Ms3dJointKey {
  float time = 0.0f;
  float values[3] = {};  // x, y, z of a rotation or a position

  friend bool operator==(const Ms3dJointKey&, const Ms3dJointKey&) = default;
};

struct Ms3dJoint {
  std::uint8_t flags = 0;
  char name[MS3D_NAME_LENGTH + 1] = {};
  char parentName[MS3D_NAME_LENGTH + 1] = {};
  float rotation[3] = {};
  float position[3] = {};
  std::uint16_t numRotationKeys = 0;
  std::uint16_t numPositionKeys = 0;
  std::vector<Ms3dJointKey> rotationKeys;  // numRotationKeys entries
  std::vector<Ms3dJointKey> positionKeys;  // numPositionKeys entries

  friend bool operator==(const Ms3dJoint&, const Ms3dJoint&) = default;
};

// Every count equals the size of its array.
struct Ms3dModel {
  char id[MS3D_ID_LENGTH + 1] = {};
  std::int32_t version = 0;
  std::uint16_t numVertices = 0;
  std::vector<Ms3dVertex> vertices;
  std::uint16_t numTriangles = 0;
  std::vector<Ms3dTriangle> triangles;
  std::uint16_t numGroups = 0;
  std::vector<Ms3dGroup> groups;
  std::uint16_t numMaterials = 0;
  std::vector<Ms3dMaterial> materials;
  float animationFps = 0.0f;
  float currentTime = 0.0f;
  std::int32_t totalFrames = 0;
  std::uint16_t numJoints = 0;
  std::vector<Ms3dJoint> joints;

  friend bool operator==(const Ms3dModel&, const Ms3dModel&) = default;
};

// Reads the file at path (an 8-bit file name) into model, replacing what the
// model held. Returns false, with model left empty, when the file cannot be
// opened or ends before the last field that its counts announce.
bool ReadMs3dFile(const char* path, Ms3dModel& model);
