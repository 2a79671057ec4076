#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "HeadlessDevice.h"
#include "PolygonBuilders.h"

using d3d8::DrawRecord;
using testpoly::Numbered;
using testpoly::Rectangle;

namespace {

// Every draw the device makes while the recorder lives.
class DrawRecorder {
 public:
  explicit DrawRecorder(dxDevice8& device) : device(device.GetDevice()) {
    d3d8::RecordDraws(this->device, &draws);
  }
  ~DrawRecorder() { d3d8::RecordDraws(device, nullptr); }
  std::vector<DrawRecord> draws;

 private:
  IDirect3DDevice8* device;
};

// In built order: triangle (group 0), quad (group 1), triangle (group 2),
// with the given flags, small enough to sit in view.
struct TriangleQuadTriangle {
  dxBufferTextura buffer;
  TriangleQuadTriangle(DWORD first, DWORD second, DWORD third, IDirect3DTexture8* texture) {
    auto* t2 = Numbered<dxTrianguloTex>(-10, third, 2);
    auto* q = Numbered<dxCuadradoTex>(-20, second, 1);
    auto* t0 = Numbered<dxTrianguloTex>(-30, first, 0);
    t2->SetTexture(texture, 0, 0, 0, 0, 0, 0);
    t0->SetTexture(texture, 0, 0, 0, 0, 0, 0);
    q->SetTexture(texture, 0, 0, 0, 0, 0, 0, 0, 0);
    buffer.AddPolygon(t2);
    buffer.AddPolygon(q);
    buffer.AddPolygon(t0);
  }
};

// A quad in the middle of the view mapping the whole texture.
dxCuadradoTex* TexturedSquare(float half, IDirect3DTexture8* texture, DWORD flags = 0) {
  auto* q = Rectangle(-half, -half, half, half, 0.0f, flags);
  q->SetTexture(texture, 0, 0, 0, 1, 1, 0, 1, 1);
  return q;
}

}  // namespace

TEST(Render, DrawsEachPolygonOfTheGroupWithTheStatesOfItsFlags) {
  HeadlessDevice device;
  OwnedTexture texture(device.SolidTexture(0xFF336699));
  TriangleQuadTriangle scene(POLY_CULL_CW, POLY_CULL_CW | POLY_CULL_CCW | POLY_WIREFRAME, 0,
                             texture.get());
  ASSERT_EQ(device->AddBuffer(&scene.buffer), S_OK);
  scene.buffer.SetPolygonFlags(2, 0);  // drops POLY_TEXTURED from the last
  const UINT scenes = d3d8::GetDeviceStats(device->GetDevice()).scenes;
  DrawRecorder recorder(*device);
  for (DWORD group : {0u, 1u, 2u, 9u}) ASSERT_EQ(device->Render(&scene.buffer, 0, group), S_OK);
  // Every call is a scene, also the one that draws nothing; counter-clockwise
  // culling wins; skipped polygons still advance the start by 3 and 4.
  EXPECT_EQ(d3d8::GetDeviceStats(device->GetDevice()).scenes, scenes + 4);
  const DrawRecord expected[3] = {
      {D3DPT_TRIANGLELIST, 0, 1, D3DFILL_SOLID, D3DCULL_CW, texture.get()},
      {D3DPT_TRIANGLESTRIP, 3, 2, D3DFILL_WIREFRAME, D3DCULL_CCW, texture.get()},
      {D3DPT_TRIANGLELIST, 7, 1, D3DFILL_SOLID, D3DCULL_NONE, nullptr}};
  ASSERT_EQ(recorder.draws.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const DrawRecord& d = recorder.draws[i];
    EXPECT_EQ(d.type, expected[i].type) << i;
    EXPECT_EQ(d.startVertex, expected[i].startVertex) << i;
    EXPECT_EQ(d.primitiveCount, expected[i].primitiveCount) << i;
    EXPECT_EQ(d.fillMode, expected[i].fillMode) << i;
    EXPECT_EQ(d.cullMode, expected[i].cullMode) << i;
    EXPECT_EQ(d.texture, expected[i].texture) << i;
  }
  // Colour from the texture alone, point sampled, flat, unlit, depth tested.
  IDirect3DDevice8* raw = device->GetDevice();
  DWORD value = 0;
  const std::pair<D3DTEXTURESTAGESTATETYPE, DWORD> stage[] = {{D3DTSS_COLOROP, D3DTOP_SELECTARG1},
                                                              {D3DTSS_COLORARG1, D3DTA_TEXTURE},
                                                              {D3DTSS_MAGFILTER, D3DTEXF_POINT},
                                                              {D3DTSS_MINFILTER, D3DTEXF_POINT}};
  for (auto [state, wanted] : stage)
    EXPECT_EQ((raw->GetTextureStageState(0, state, &value), value), wanted);
  const std::pair<D3DRENDERSTATETYPE, DWORD> render[] = {
      {D3DRS_LIGHTING, FALSE}, {D3DRS_ZENABLE, D3DZB_TRUE}, {D3DRS_SHADEMODE, D3DSHADE_FLAT}};
  for (auto [state, wanted] : render)
    EXPECT_EQ((raw->GetRenderState(state, &value), value), wanted);
}

TEST(Render, WireframeModeDrawsUntexturedWithoutTouchingTheFlags) {
  HeadlessDevice device;
  OwnedTexture texture(device.SolidTexture(0xFF336699));
  TriangleQuadTriangle scene(POLY_CULL_CCW, POLY_CULL_CCW, POLY_CULL_CCW, texture.get());
  ASSERT_EQ(device->AddBuffer(&scene.buffer), S_OK);
  DrawRecorder recorder(*device);
  for (DWORD g = 0; g < 3; ++g) device->Render(&scene.buffer, RENDER_MODE_WIREFRAME, g);
  ASSERT_EQ(recorder.draws.size(), 3u);
  for (const DrawRecord& d : recorder.draws) {
    EXPECT_EQ(d.fillMode, D3DFILL_WIREFRAME);
    EXPECT_EQ(d.texture, nullptr);
    EXPECT_EQ(d.cullMode, D3DCULL_CCW);
  }
  EXPECT_EQ(scene.buffer.GetPolygonFlags(1), POLY_CULL_CCW | POLY_TEXTURED | POLY_QUAD);
}

TEST(Render, DrawsOnlyWhatWasUploaded) {
  HeadlessDevice device;
  EXPECT_EQ(device->Render(nullptr, 0, 0), E_FAIL);

  dxBufferTextura never;
  never.AddPolygon(Numbered<dxTrianguloTex>(0));
  never.BuildVertexData();  // built, never uploaded
  DrawRecorder recorder(*device);
  EXPECT_EQ(device->Render(&never, 0, 0), S_OK);
  EXPECT_TRUE(recorder.draws.empty());

  dxBufferTextura grown;
  grown.AddPolygon(Numbered<dxTrianguloTex>(0));
  ASSERT_EQ(device->AddBuffer(&grown), S_OK);
  grown.AddPolygon(Numbered<dxCuadradoTex>(0));
  {
    d3d8::ScopedFault fault(d3d8::Fault::CreateVertexBuffer);
    EXPECT_EQ(device->AddBuffer(&grown), E_FAIL);
  }
  EXPECT_EQ(device->Render(&grown, 0, 0), S_OK);
  EXPECT_TRUE(recorder.draws.empty());
}

TEST(Render, ShowsTheTextureAcrossTheSquare) {
  HeadlessDevice device(64, 64);
  // 2 x 2 texels: red, green on the top row; blue, yellow below.
  const std::uint32_t texels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
  OwnedTexture texture(device->CreateTextureFromPixels(2, 2, D3DFMT_A8R8G8B8, texels));
  ASSERT_NE(texture, nullptr);
  dxBufferTextura buffer;
  buffer.AddPolygon(TexturedSquare(200, texture.get(), POLY_CULL_CCW));
  ASSERT_EQ(device->AddBuffer(&buffer), S_OK);
  device->Clear(true);
  ASSERT_EQ(device->Render(&buffer, 0, 0), S_OK);
  const d3d8::PixelImage image = device.Pixels();
  // The square spans 200 / (800 tan(pi/8)) of the half-view: about pixels
  // 13 to 51. World +X (the texture's right half) shows on the left.
  EXPECT_EQ(image.At(22, 22), 0xFF00FF00u);
  EXPECT_EQ(image.At(42, 22), 0xFFFF0000u);
  EXPECT_EQ(image.At(22, 42), 0xFFFFFF00u);
  EXPECT_EQ(image.At(42, 42), 0xFF0000FFu);
  EXPECT_EQ(image.At(4, 4), kClearColor);
  EXPECT_EQ(image.At(60, 32), kClearColor);
}

TEST(Render, WireframeModeOutlinesInWhite) {
  HeadlessDevice device(64, 64);
  OwnedTexture texture(device.SolidTexture(0xFFFF0000));
  dxBufferTextura buffer;
  buffer.AddPolygon(TexturedSquare(200, texture.get()));
  ASSERT_EQ(device->AddBuffer(&buffer), S_OK);
  device->Clear(true);
  ASSERT_EQ(device->Render(&buffer, RENDER_MODE_WIREFRAME, 0), S_OK);
  const d3d8::PixelImage image = device.Pixels();
  int white = 0, red = 0;
  for (std::uint32_t p : image.pixels) {
    white += p == 0xFFFFFFFFu;
    red += p == 0xFFFF0000u;
  }
  EXPECT_EQ(red, 0);
  // Four sides and the diagonal of a square about 39 pixels wide.
  EXPECT_GT(white, 4 * 35 + 35);
  EXPECT_LT(white, 4 * 42 + 60);
  EXPECT_EQ(image.At(32 + 8, 32 - 3), kClearColor);  // inside, off the diagonal
}
