#include "SceneTestSupport.h"

namespace scenetest {

SceneDevice::SceneDevice(int width, int height) : window(width, height) {
  EXPECT_EQ(main.CreateD3D(), S_OK);
  dxDevice8* created = nullptr;
  EXPECT_EQ(main.CreateDevice(&window, true, &created, D3DCREATE_HARDWARE_VERTEXPROCESSING), S_OK);
  wrapper.reset(created);
  if (wrapper) SetEditorCamera(*wrapper, width, height);
}

void MeshWords::I16(std::int32_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value));
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

std::uint32_t MeshWords::Add(const TestMesh& mesh, bool split) {
  const auto start = static_cast<std::uint32_t>(bytes.size());
  for (std::int32_t word : {1, 2, 3, 100000 & 0xFFFF, 100000 >> 16}) I16(word);
  auto vectors = [this](const std::vector<MeshVertex>& vs) {
    for (const MeshVertex& v : vs) I16(v.x), I16(v.y), I16(v.z);
  };
  I16(static_cast<std::int32_t>(mesh.vertices.size()));
  vectors(mesh.vertices);
  if (!mesh.normals.empty()) {
    I16(static_cast<std::int32_t>(mesh.normals.size()));
    vectors(mesh.normals);
  } else {
    I16(-static_cast<std::int32_t>(mesh.shades.size()));
    for (std::int16_t s : mesh.shades) I16(s);
  }
  if (!split) {
    I16(static_cast<std::int32_t>(mesh.polygons.size()));
    for (const TestPolygon& p : mesh.polygons) {
      I16(p.shape);
      for (std::uint16_t index : p.indices) I16(index);
      I16(p.texture);
      I16(p.attribute | p.extra << 8);
    }
  } else {
    for (std::uint16_t shape : {MESH_SHAPE_QUAD, MESH_SHAPE_TRIANGLE}) {
      std::int32_t count = 0;
      for (const TestPolygon& p : mesh.polygons) count += p.shape == shape;
      I16(count);
      for (const TestPolygon& p : mesh.polygons)
        if (p.shape == shape) {
          for (std::uint16_t index : p.indices) I16(index);
          I16(p.texture);
          I16(p.attribute);
        }
    }
  }
  if ((bytes.size() - start) % 4 != 0) I16(0x7777);
  return start;
}

std::unique_ptr<Lista_Mesh> Parse(const std::vector<std::uint8_t>& bytes, int format) {
  std::unique_ptr<Lista_Mesh> list;
  EXPECT_EQ(ParseMeshData(bytes.data(), static_cast<std::uint32_t>(bytes.size()), list, format),
            1u);
  return list;
}

std::uint32_t WadBuilder::AddMoveable(std::uint32_t objectId,
                                      const std::vector<std::uint32_t>& offsets,
                                      const std::vector<std::int32_t>& links,
                                      std::int16_t animIndex) {
  WadMoveable m;
  m.objectId = objectId;
  m.numMeshes = static_cast<std::uint16_t>(offsets.size());
  m.meshPointerIndex = static_cast<std::uint16_t>(wad.meshPointers.size());
  m.linkIndex = static_cast<std::uint32_t>(wad.links.size());
  m.animIndex = animIndex;
  wad.meshPointers.insert(wad.meshPointers.end(), offsets.begin(), offsets.end());
  wad.links.insert(wad.links.end(), links.begin(), links.end());
  wad.moveables.push_back(m);
  return static_cast<std::uint32_t>(wad.moveables.size() - 1);
}

KeyFrame MakeKeyFrame(std::size_t meshCount, std::array<float, 3> angles) {
  KeyFrame keyFrame;
  keyFrame.meshes.resize(meshCount);
  for (MeshPose& pose : keyFrame.meshes) pose.angles = pose.workingAngles = angles;
  return keyFrame;
}

std::unique_ptr<AnimKeyFrames> MakeAnimation(std::vector<KeyFrame> keyFrames) {
  auto anim = std::make_unique<AnimKeyFrames>();
  anim->keyFrames = std::move(keyFrames);
  return anim;
}

std::array<float, 3> Carry(const Matrix4& m, std::array<float, 3> p) {
  std::array<float, 3> out{};
  for (int c = 0; c < 3; ++c)
    out[c] = p[0] * m.m[0][c] + p[1] * m.m[1][c] + p[2] * m.m[2][c] + m.m[3][c];
  return out;
}

}  // namespace scenetest
