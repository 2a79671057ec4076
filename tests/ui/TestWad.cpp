#include "TestWad.h"

#include <stdexcept>

namespace uitest {

namespace {

constexpr int kHeaderWords = 9;
constexpr std::uint16_t kAxisX = 0x4000, kAxisY = 0x8000;

// Packed rotations: 1024 steps a turn in the two-word form, 4096 in the one-word form.
std::uint32_t Field10(int degrees) { return static_cast<std::uint32_t>(degrees * 1024 / 360); }
std::uint16_t OneWord(std::uint16_t axis, int degrees) {
  return static_cast<std::uint16_t>(axis | (degrees * 4096 / 360));
}

void Push(std::vector<std::uint16_t>& words, std::initializer_list<int> values) {
  for (int v : values) words.push_back(static_cast<std::uint16_t>(v & 0xFFFF));
}

// A square of the given half size in the z = 0 plane, one quad for each side:
// centre, 32-bit radius, four vertices, four shades, two quads of texture
// sample 0. Its 38 words keep the next mesh on 4 bytes.
void AddSquare(WadFile& wad, int h) {
  wad.meshPointers.push_back(static_cast<std::uint32_t>(wad.meshWords.size() * 2));
  Push(wad.meshWords, {0, 0, 0, h * 2, 0, 4, -h, -h, 0, h, -h, 0, h, h, 0, -h, h, 0, -4,
                       0, 0, 0, 0,     2, 9, 0,  1,  2, 3, 0,  0, 9, 3, 2, 1,  0, 0, 0});
}

}  // namespace

WadFile BuildTestWad() {
  WadFile wad;
  wad.version = kWadVersion;
  wad.textureSamples = {WadTextureSample{.addW = 255, .addH = 255}};
  for (int i = 0; i < 256 * 256; ++i)
    wad.textureBytes.insert(wad.textureBytes.end(), {0xC8, 0x28, 0x28});
  AddSquare(wad, 100);
  AddSquare(wad, 50);
  wad.links = {0, 300, 0, 0};
  const std::uint32_t turn = Field10(180) << 20 | Field10(0) << 10 | Field10(90);
  for (int k = 0; k < 3; ++k)
    Push(wad.keyFrameWords, {-100, 100, -100, 100, -1, 1, 10 + k, -20 - k, 30 + k,
                             static_cast<int>(turn >> 16), static_cast<int>(turn), kAxisX});
  const auto second = static_cast<std::uint32_t>(wad.keyFrameWords.size() * 2);
  for (int degrees : {90, 270})
    Push(wad.keyFrameWords, {0, 0, 0, 0, 0, 0, 0, 0, 0, OneWord(kAxisY, degrees)});
  const auto end = static_cast<std::uint32_t>(wad.keyFrameWords.size() * 2);
  wad.animations = {{.frameRate = kPlateFrameRate, .frameSize = kFrameWords, .frameEnd = 4},
                    {.keyFrameOffset = second,
                     .frameRate = 1,
                     .frameStart = 5,
                     .frameEnd = 5,
                     .nextAnimation = 1,
                     .nextFrame = 5},
                    {.keyFrameOffset = second,
                     .frameRate = 1,
                     .frameSize = kHeaderWords + 1,
                     .stateId = 0xFFFF,
                     .speed = -229376,
                     .accel = -7,
                     .frameStart = 10,
                     .frameEnd = 11,
                     .nextAnimation = 2,
                     .nextFrame = 11}};
  // A moveable without animations points where the stream ends.
  wad.moveables = {{.objectId = 0, .numMeshes = 2, .animIndex = 0},
                   {.objectId = 7,
                    .numMeshes = 1,
                    .meshPointerIndex = 1,
                    .keyFrameOffset = second,
                    .animIndex = 2},
                   {.objectId = 500, .numMeshes = 1, .keyFrameOffset = end, .animIndex = -1}};
  return wad;
}

WadFile BuildFullFrameWad() {
  constexpr int kMeshes = 255 - kHeaderWords;
  WadFile wad = BuildTestWad();
  wad.meshPointers.assign(kMeshes, wad.meshPointers[0]);
  wad.links.assign(4 * (kMeshes - 1), 0);
  wad.keyFrameWords.assign(kHeaderWords, 0);
  wad.keyFrameWords.resize(kHeaderWords + kMeshes, OneWord(kAxisY, 180));
  wad.animations = {{.frameRate = 1, .frameSize = kHeaderWords + kMeshes}};
  wad.moveables = {{.objectId = 0, .numMeshes = kMeshes, .animIndex = 0}};
  return wad;
}

std::filesystem::path WriteTestWad(const std::filesystem::path& file, const WadFile& wad) {
  if (WriteWad(file.string(), wad) == 0) throw std::runtime_error("test WAD not written");
  return file;
}

TestWadSession::TestWadSession(std::optional<std::string> stringsXml)
    : EditorSession(std::move(stringsXml)),
      file(WriteTestWad(Folder() / "test.wad", BuildTestWad())) {
  Open(file);
  Choose(0, 0);
  Frames(1);
}

}  // namespace uitest
