#include "TestWad.h"

#include <stdexcept>
#include <vector>

#include "EditorSession.h"

namespace uitest {

namespace {

constexpr std::uint16_t kQuadShape = 9;
constexpr int kPageBytes = 256 * 256 * 3;
constexpr std::uint8_t kRed = 0xC8, kGreen = 0x28, kBlue = 0x28;
constexpr std::uint16_t kAxisX = 0x4000, kAxisY = 0x8000;
constexpr int kHeaderWords = 9;

// Packed rotation fields: 1024 steps a turn in the two-word form, 4096 in the one-word form.
std::uint32_t Field10(int degrees) { return static_cast<std::uint32_t>(degrees * 1024 / 360); }
std::uint16_t OneWord(std::uint16_t axis, int degrees) {
  return static_cast<std::uint16_t>(axis | (degrees * 4096 / 360));
}

void Push(std::vector<std::uint16_t>& words, std::int32_t value) {
  words.push_back(static_cast<std::uint16_t>(value & 0xFFFF));
}

// A square of the given half size in the z = 0 plane, drawn from both sides.
std::uint32_t AddSquare(WadFile& wad, int half) {
  const auto offset = static_cast<std::uint32_t>(wad.meshWords.size() * 2);
  auto& w = wad.meshWords;
  for (int c : {0, 0, 0}) Push(w, c);  // centre
  Push(w, half * 2), Push(w, 0);       // radius, 32 bits
  Push(w, 4);                          // vertices
  for (auto [x, y] : {std::pair{-half, -half}, {half, -half}, {half, half}, {-half, half}})
    Push(w, x), Push(w, y), Push(w, 0);
  Push(w, -4);  // four shades
  for (int i = 0; i < 4; ++i) Push(w, 0);
  Push(w, 2);  // polygons
  for (const auto& corners : {std::array{0, 1, 2, 3}, std::array{3, 2, 1, 0}}) {
    Push(w, kQuadShape);
    for (int c : corners) Push(w, c);
    Push(w, 0);  // texture sample 0
    Push(w, 0);  // attribute, extra
  }
  if (w.size() % 2 != 0) Push(w, 0);  // meshes start on 4 bytes
  wad.meshPointers.push_back(offset);
  return offset;
}

void AddPlateKeyFrame(WadFile& wad, const PlateKeyFrame& k) {
  auto& w = wad.keyFrameWords;
  for (int c : {-kPlateSquareHalf, kPlateSquareHalf, -kPlateSquareHalf, kPlateSquareHalf, -1, 1})
    Push(w, c);
  for (std::int16_t c : k.root) Push(w, c);
  const std::uint32_t v =
      Field10(k.bigMesh[0]) << 20 | Field10(k.bigMesh[1]) << 10 | Field10(k.bigMesh[2]);
  Push(w, static_cast<std::int32_t>(v >> 16));
  Push(w, static_cast<std::int32_t>(v & 0xFFFF));
  w.push_back(OneWord(kAxisX, k.smallMeshX));
}

WadAnimation Animation(std::uint32_t keyFrameOffset, int frameRate, int frameWords, int start,
                       int end, int next) {
  WadAnimation a;
  a.keyFrameOffset = keyFrameOffset;
  a.frameRate = static_cast<std::uint8_t>(frameRate);
  a.frameSize = static_cast<std::uint8_t>(frameWords);
  a.frameStart = static_cast<std::uint16_t>(start);
  a.frameEnd = static_cast<std::uint16_t>(end);
  a.nextAnimation = static_cast<std::uint16_t>(next);
  a.nextFrame = static_cast<std::uint16_t>(start);
  return a;
}

WadMoveable Moveable(std::uint32_t objectId, int meshes, int firstMesh, std::uint32_t link,
                     std::uint32_t keyFrameOffset, int animIndex) {
  WadMoveable m;
  m.objectId = objectId;
  m.numMeshes = static_cast<std::uint16_t>(meshes);
  m.meshPointerIndex = static_cast<std::uint16_t>(firstMesh);
  m.linkIndex = link;
  m.keyFrameOffset = keyFrameOffset;
  m.animIndex = static_cast<std::int16_t>(animIndex);
  return m;
}

}  // namespace

WadFile BuildTestWad() {
  WadFile wad;
  wad.version = kWadVersion;
  wad.textureSamples.push_back(WadTextureSample{0, 0, 0, 0, 255, 0, 255});
  wad.textureBytes.resize(kPageBytes);
  for (std::size_t i = 0; i < wad.textureBytes.size(); i += 3) {
    wad.textureBytes[i] = kRed;
    wad.textureBytes[i + 1] = kGreen;
    wad.textureBytes[i + 2] = kBlue;
  }
  AddSquare(wad, kPlateSquareHalf);
  AddSquare(wad, kPlateSquareHalf / 2);
  wad.links = {0, kSmallSquareOffset, 0, 0};

  const int plateFrameWords = kHeaderWords + 3;
  for (const PlateKeyFrame& k : kPlateKeyFrames) AddPlateKeyFrame(wad, k);
  const auto secondOffset = static_cast<std::uint32_t>(wad.keyFrameWords.size() * 2);
  for (int degrees : {90, 270}) {
    for (int c = 0; c < kHeaderWords; ++c) Push(wad.keyFrameWords, 0);
    wad.keyFrameWords.push_back(OneWord(kAxisY, degrees));
  }
  const int plateEnd = (static_cast<int>(kPlateKeyFrames.size()) - 1) * kPlateFrameRate;
  wad.animations.push_back(Animation(0, kPlateFrameRate, plateFrameWords, 0, plateEnd, 0));
  wad.animations.push_back(Animation(secondOffset, 1, 0, plateEnd + 1, plateEnd + 1, 1));
  WadAnimation second =
      Animation(secondOffset, 1, kHeaderWords + 1, kSecondFrameStart, kSecondFrameEnd, 2);
  second.nextFrame = kSecondFrameStart + 1;
  second.stateId = kSecondStateId;
  second.speed = kSecondSpeed;
  second.accel = kSecondAccel;
  wad.animations.push_back(second);

  wad.moveables.push_back(Moveable(0, 2, 0, 0, 0, 0));
  wad.moveables.push_back(Moveable(7, 1, 1, 0, secondOffset, 2));
  // A moveable without animations points where the stream ends.
  const auto streamEnd = static_cast<std::uint32_t>(wad.keyFrameWords.size() * 2);
  wad.moveables.push_back(Moveable(500, 1, 0, 0, streamEnd, -1));
  return wad;
}

WadFile BuildFullFrameWad() {
  constexpr int kMeshes = 255 - kHeaderWords;
  WadFile wad = BuildTestWad();
  wad.meshPointers.assign(kMeshes, wad.meshPointers[0]);
  wad.links.assign(4 * (kMeshes - 1), 0);
  wad.keyFrameWords.assign(kHeaderWords, 0);
  wad.keyFrameWords.resize(kHeaderWords + kMeshes, OneWord(kAxisY, 180));
  wad.animations = {Animation(0, 1, kHeaderWords + kMeshes, 0, 0, 0)};
  wad.moveables = {Moveable(0, kMeshes, 0, 0, 0, 0)};
  return wad;
}

std::filesystem::path OpenTestWad(EditorSession& session) {
  const std::filesystem::path file = WriteTestWad(session.Folder() / "test.wad", BuildTestWad());
  session.Open(file);
  return file;
}

std::filesystem::path OpenAndPickPlate(EditorSession& session) {
  const std::filesystem::path file = OpenTestWad(session);
  session.Choose(0, 0);
  session.Frames(1);
  session.ClickPanel(kPlateX, kPlateY);
  return file;
}

std::filesystem::path WriteTestWad(const std::filesystem::path& file, const WadFile& wad) {
  if (WriteWad(file.string(), wad) == 0) throw std::runtime_error("test WAD not written");
  return file;
}

}  // namespace uitest
