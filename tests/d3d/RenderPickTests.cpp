#include <algorithm>
#include <iterator>

#include "TestScene.h"

using testpoly::Quad;

// One-colour buffers, each placed by its own world matrix (scaled, then turned,
// then moved) and drawn nearest first, so that only the depth test keeps the
// nearest on top: two triangles near the eye turned almost edge-on, a tumbled
// cube, a wall far back and one behind the eye. At every pixel the buffer
// picked is the one shown (none on the clear colour), but on a one-pixel band
// where what the picture shows changes.
TEST(RenderAndPick, EveryPixelPicksTheBufferItShows) {
  HeadlessDevice device(96);
  const DWORD colours[] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFF00};
  std::vector<OwnedTexture> textures;
  std::vector<std::unique_ptr<dxBufferTextura>> buffers;
  std::vector<dxBufferColor8*> list;
  for (DWORD colour : colours) {
    const std::vector<DWORD> texels(4, colour);
    textures.emplace_back(device->CreateTextureFromPixels(2, 2, D3DFMT_A8R8G8B8, texels.data()));
    buffers.push_back(std::make_unique<dxBufferTextura>());
    list.push_back(buffers.back().get());
  }
  for (float sign : {1.0f, -1.0f}) {
    auto* t = new dxTrianguloTex(0, 0);
    t->AddVertex(0, 0, 0);
    t->AddVertex(sign * 100, 0, 0);
    t->AddVertex(0, sign * 120, 0);
    t->SetTexture(textures[0].get(), 0, 0, 1, 0, 0, 1);
    buffers[0]->AddPolygon(t);
  }
  buffers[0]->Translate(60, -40, 450);
  buffers[0]->RotateY(2.5f);
  const float h = 80;
  IDirect3DTexture8* green = textures[1].get();
  for (float s : {-h, h}) {
    buffers[1]->AddPolygon(Quad({{-h, h, s}, {-h, -h, s}, {h, h, s}, {h, -h, s}}, green));
    buffers[1]->AddPolygon(Quad({{s, h, -h}, {s, -h, -h}, {s, h, h}, {s, -h, h}}, green));
    buffers[1]->AddPolygon(Quad({{-h, s, h}, {-h, s, -h}, {h, s, h}, {h, s, -h}}, green));
  }
  buffers[1]->Translate(-110, 50, 30);
  buffers[1]->RotateY(0.8f);
  buffers[1]->RotateX(0.6f);
  buffers[1]->Scale(1.3f);
  buffers[2]->AddPolygon(testpoly::Rectangle(-300, -300, 300, 300, 0, textures[2].get()));
  buffers[2]->Translate(-150, 0, -480);
  buffers[2]->RotateY(0.35f);
  buffers[3]->AddPolygon(testpoly::Rectangle(-200, -200, 200, 200, 0, textures[3].get()));
  buffers[3]->Translate(0, 0, kEyeZ + 60);
  device->Clear(true);
  for (dxBufferColor8* b : list) {
    ASSERT_EQ(device->AddBuffer(b), S_OK);
    ASSERT_EQ(device->Render(b, 0, 0), S_OK);
  }

  const d3d8::PixelImage image = device.Pixels();
  auto shown = [&](int x, int y) {  // the index of the buffer, -1 for none
    const auto* c = std::find(std::begin(colours), std::end(colours), image.At(x, y));
    EXPECT_TRUE(c != std::end(colours) || image.At(x, y) == kClearColor) << image.At(x, y);
    return c == std::end(colours) ? -1 : static_cast<int>(c - colours);
  };
  int counts[4] = {}, misses = 0;
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 96; ++x) {
      const int drawn = shown(x, y);
      if (drawn >= 0) ++counts[drawn];
      const auto found = std::find(list.begin(), list.end(), device.PickAt(x, y, list));
      const int picked = found == list.end() ? -1 : static_cast<int>(found - list.begin());
      if (picked == drawn) continue;
      bool onEdge = false;
      for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, 95); ++ny)
        for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, 95); ++nx)
          onEdge = onEdge || shown(nx, ny) != drawn;
      EXPECT_TRUE(onEdge) << "(" << x << ", " << y << ") shows " << drawn << ", picks " << picked;
      ++misses;
    }
  // Each buffer in front of the eye shows; the one behind does not.
  EXPECT_TRUE(counts[0] > 100 && counts[1] > 300 && counts[2] > 300 && counts[3] == 0)
      << counts[0] << " " << counts[1] << " " << counts[2] << " " << counts[3];
  EXPECT_LT(misses, 40);
}
