#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "HeadlessDevice.h"
#include "PolygonBuilders.h"

namespace {

using Corner = std::array<float, 3>;

dxCuadradoTex* Quad(Corner a, Corner b, Corner c, Corner d, IDirect3DTexture8* texture) {
  auto* q = new dxCuadradoTex(0, 0);
  for (const Corner& p : {a, b, c, d}) q->AddVertex(p[0], p[1], p[2]);
  q->SetTexture(texture, 0, 0, 0, 1, 1, 0, 1, 1);
  return q;
}

// The six faces of a cube of the given half size around the origin.
void AddCube(dxBufferTextura& buffer, float h, IDirect3DTexture8* texture) {
  for (float s : {-h, h}) {
    buffer.AddPolygon(Quad({-h, h, s}, {-h, -h, s}, {h, h, s}, {h, -h, s}, texture));
    buffer.AddPolygon(Quad({s, h, -h}, {s, -h, -h}, {s, h, h}, {s, -h, h}, texture));
    buffer.AddPolygon(Quad({-h, s, h}, {-h, s, -h}, {h, s, h}, {h, s, -h}, texture));
  }
}

void AddTriangle(dxBufferTextura& buffer, Corner a, Corner b, Corner c,
                 IDirect3DTexture8* texture) {
  auto* t = new dxTrianguloTex(0, 0);
  for (const Corner& p : {a, b, c}) t->AddVertex(p[0], p[1], p[2]);
  t->SetTexture(texture, 0, 0, 1, 0, 0, 1);
  buffer.AddPolygon(t);
}

// Several buffers, each one colour, each placed by its own world matrix
// (each scaled, then turned, then moved); where they overlap on screen they
// lie far apart in depth.
struct Scene {
  static constexpr int kBuffers = 4;
  static constexpr DWORD kColours[kBuffers] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};

  HeadlessDevice& device;
  std::vector<OwnedTexture> textures;
  std::vector<std::unique_ptr<dxBufferTextura>> buffers;

  explicit Scene(HeadlessDevice& d) : device(d) {
    for (DWORD colour : kColours) {
      textures.emplace_back(device.SolidTexture(colour));
      buffers.push_back(std::make_unique<dxBufferTextura>());
    }
    // A wide wall far back, turned a little.
    buffers[0]->AddPolygon(
        Quad({-300, 300, 0}, {-300, -300, 0}, {300, 300, 0}, {300, -300, 0}, textures[0].get()));
    buffers[0]->Translate(-150, 0, -480);
    buffers[0]->RotateY(0.35f);
    // A cube, scaled, tumbled and moved.
    AddCube(*buffers[1], 80, textures[1].get());
    buffers[1]->Translate(-110, 50, 30);
    buffers[1]->RotateY(0.8f);
    buffers[1]->RotateX(0.6f);
    buffers[1]->Scale(1.3f);
    // Two triangles near the eye, turned almost edge-on.
    AddTriangle(*buffers[2], {0, 0, 0}, {100, 0, 0}, {0, 100, 0}, textures[2].get());
    AddTriangle(*buffers[2], {0, 0, 0}, {-80, 0, 0}, {0, -120, 0}, textures[2].get());
    buffers[2]->Translate(60, -40, 450);
    buffers[2]->RotateY(2.5f);
    // Behind the eye: neither drawn nor picked.
    buffers[3]->AddPolygon(
        Quad({-200, 200, 0}, {-200, -200, 0}, {200, 200, 0}, {200, -200, 0}, textures[3].get()));
    buffers[3]->Translate(0, 0, kEyeZ + 60);
    for (auto& b : buffers) EXPECT_EQ(device->AddBuffer(b.get()), S_OK);
  }

  void Draw() {
    device->Clear(true);
    for (auto& b : buffers) ASSERT_EQ(device->Render(b.get(), 0, 0), S_OK);
  }

  // Which buffer a pixel shows (-1: the clear colour).
  static int Shown(std::uint32_t pixel) {
    for (int i = 0; i < kBuffers; ++i)
      if (pixel == kColours[i]) return i;
    EXPECT_EQ(pixel, kClearColor);
    return -1;
  }

  int Picked(int x, int y) {
    std::vector<dxBufferColor8*> list;
    for (auto& b : buffers) list.push_back(b.get());
    if (!device->Pick(x, y, &device.window, device.Width(), device.Height(), kBuffers, list.data()))
      return -1;
    dxBufferColor8* picked = nullptr;
    device->GetPickResult(&picked);
    for (int i = 0; i < kBuffers; ++i)
      if (picked == buffers[i].get()) return i;
    return -2;
  }
};

}  // namespace

TEST(RenderAndPick, EveryPixelPicksTheBufferItShows) {
  HeadlessDevice device(96, 96);
  Scene scene(device);
  scene.Draw();
  const d3d8::PixelImage image = device.Pixels();
  const int w = image.width, h = image.height;
  std::vector<int> shown(static_cast<std::size_t>(w * h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      shown[static_cast<std::size_t>(y * w + x)] = Scene::Shown(image.At(x, y));
  auto shownAt = [&](int x, int y) { return shown[static_cast<std::size_t>(y * w + x)]; };

  int counts[Scene::kBuffers] = {};
  int silhouetteMisses = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int drawn = shownAt(x, y);
      if (drawn >= 0) ++counts[drawn];
      const int picked = scene.Picked(x, y);
      if (picked == drawn) continue;
      // A disagreement is allowed only on a one-pixel band where what the
      // picture shows changes.
      bool onEdge = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx >= 0 && ny >= 0 && nx < w && ny < h && shownAt(nx, ny) != drawn) onEdge = true;
        }
      EXPECT_TRUE(onEdge) << "pixel (" << x << ", " << y << ") shows " << drawn << ", picks "
                          << picked;
      ++silhouetteMisses;
    }
  // Each buffer in front of the eye really is on screen; the one behind is not.
  EXPECT_GT(counts[0], 300);
  EXPECT_GT(counts[1], 300);
  EXPECT_GT(counts[2], 100);
  EXPECT_EQ(counts[3], 0);
  EXPECT_LT(silhouetteMisses, 40);
}
