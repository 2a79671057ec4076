#include "SceneTestSupport.h"

#include "OpenedScene.h"
#include "scene/MeshParser.h"

namespace scenetest {

SceneDevice::SceneDevice(int width, int height) : window(width, height) {
  EXPECT_EQ(main.CreateD3D(), S_OK);
  dxDevice8* created = nullptr;
  EXPECT_EQ(main.CreateDevice(&window, true, &created, D3DCREATE_HARDWARE_VERTEXPROCESSING), S_OK);
  wrapper.reset(created);
  if (!wrapper) return;
  SetEditorCamera(*wrapper, width, height);
}

std::uint32_t WadBuilder::AddMoveable(std::uint32_t objectId,
                                      const std::vector<std::uint32_t>& meshOffsets,
                                      const std::vector<TestLink>& links, std::int16_t animIndex) {
  WadMoveable m;
  m.objectId = objectId;
  m.numMeshes = static_cast<std::uint16_t>(meshOffsets.size());
  m.meshPointerIndex = static_cast<std::uint16_t>(wad.meshPointers.size());
  m.linkIndex = static_cast<std::uint32_t>(wad.links.size());
  m.animIndex = animIndex;
  wad.meshPointers.insert(wad.meshPointers.end(), meshOffsets.begin(), meshOffsets.end());
  for (const TestLink& l : links) wad.links.insert(wad.links.end(), {l.op, l.dx, l.dy, l.dz});
  wad.moveables.push_back(m);
  return static_cast<std::uint32_t>(wad.moveables.size() - 1);
}

WadFile& WadBuilder::Wad() {
  wad.version = kWadVersion;
  const auto& bytes = words.Bytes();
  wad.meshWords.assign(bytes.size() / 2, 0);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    wad.meshWords[i / 2] = static_cast<std::uint16_t>(bytes[i] | bytes[i + 1] << 8);
  return wad;
}

std::unique_ptr<Lista_Mesh> WadBuilder::ParseMeshes() {
  const WadFile& w = Wad();
  std::unique_ptr<Lista_Mesh> list;
  ParseMeshData(reinterpret_cast<const std::uint8_t*>(w.meshWords.data()),
                static_cast<std::uint32_t>(w.meshWords.size() * 2), list, MESH_FORMAT_WAD);
  return list;
}

KeyFrame MakeKeyFrame(std::size_t meshCount, std::array<float, 3> angles) {
  KeyFrame keyFrame;
  keyFrame.meshes.resize(meshCount);
  for (MeshPose& pose : keyFrame.meshes) {
    pose.angles = angles;
    pose.workingAngles = angles;
  }
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
