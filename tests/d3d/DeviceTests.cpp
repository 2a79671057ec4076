#include <algorithm>
#include <cstring>
#include <iterator>
#include <tuple>
#include <utility>

#include "TestScene.h"
#include "d3d/Picking.h"

using d3d8::Fault;
using d3d8::ScopedFault;
using testpoly::Numbered;
using testpoly::Rectangle;

namespace {

// A device that makes every texture 8 x 8, whatever the size asked, and fails
// every other call.
#define FAILS(Method, ...) \
  HRESULT Method(__VA_ARGS__) override { return E_FAIL; }
struct EightByEightDevice : IDirect3DDevice8 {
  FakeTexture made{8, 8};
  DWORD AddRef() override { return 1; }
  DWORD Release() override { return 1; }
  HRESULT CreateTexture(UINT, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL,
                        IDirect3DTexture8** t) override {
    *t = &made;
    return S_OK;
  }
  FAILS(Clear, DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) FAILS(BeginScene)
  FAILS(EndScene) FAILS(Present, const RECT*, const RECT*, HWND, const void*)
  FAILS(Reset, D3DPRESENT_PARAMETERS*) FAILS(SetTransform, D3DTRANSFORMSTATETYPE, const D3DMATRIX*)
  FAILS(GetTransform, D3DTRANSFORMSTATETYPE, D3DMATRIX*) FAILS(SetVertexShader, DWORD)
  FAILS(SetRenderState, D3DRENDERSTATETYPE, DWORD) FAILS(GetRenderState, D3DRENDERSTATETYPE, DWORD*)
  FAILS(SetTextureStageState, DWORD, D3DTEXTURESTAGESTATETYPE, DWORD) FAILS(GetVertexShader, DWORD*)
  FAILS(GetTextureStageState, DWORD, D3DTEXTURESTAGESTATETYPE, DWORD*)
  FAILS(SetTexture, DWORD, IDirect3DBaseTexture8*) FAILS(GetTexture, DWORD, IDirect3DBaseTexture8**)
  FAILS(CreateVertexBuffer, UINT, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer8**)
  FAILS(SetStreamSource, UINT, IDirect3DVertexBuffer8*, UINT)
  FAILS(GetStreamSource, UINT, IDirect3DVertexBuffer8**, UINT*)
  FAILS(DrawPrimitive, D3DPRIMITIVETYPE, UINT, UINT)
};
#undef FAILS

}  // namespace

TEST(Device, WithoutADeviceEveryCallFailsCleanly) {
  d3d8::OffscreenWindow window(8, 8);
  dxMain main;
  dxDevice8* created = nullptr;
  ASSERT_EQ(main.CreateD3D(), S_OK);
  {
    ScopedFault fault(Fault::CreateDevice);
    EXPECT_EQ(main.CreateDevice(&window, true, &created, 0), E_FAIL);
  }
  const std::unique_ptr<dxDevice8> device(created);  // stored, without a device
  ASSERT_NE(device, nullptr);
  for (HRESULT result : {device->Clear(true), device->Present(),
                         device->Reset(main.GetPresentParameters(true)),
                         device->SetProjection(1, 3000, 1, 0.78f, 8, 8), device->SetEye(0, 0, 800),
                         device->SetLookAt(0, 0, 0)})
    EXPECT_EQ(result, E_FAIL);
  const DWORD pixel = 0;
  EXPECT_EQ(device->CreateTextureFromPixels(1, 1, D3DFMT_A8R8G8B8, &pixel), nullptr);
  dxBufferTextura buffer;
  buffer.AddPolygon(Rectangle(-1, -1, 1, 1, 0));
  EXPECT_EQ(device->AddBuffer(&buffer), E_FAIL);
  EXPECT_EQ(device->Render(&buffer, 0, 0), E_FAIL);
  dxBufferColor8* list[] = {&buffer};
  EXPECT_FALSE(device->Pick(4, 4, &window, 8, 8, 1, list));
}

// After a failed upload the old vertex buffer holds 4 vertices while the
// rebuilt arrays describe 8; neither that buffer nor one never uploaded may
// be drawn or picked.
TEST(Device, AddBufferUploadsWhatIsNewAndWhatIsNotUploadedIsNeitherDrawnNorPicked) {
  for (Fault fault : {Fault::CreateVertexBuffer, Fault::LockVertexBuffer}) {
    HeadlessDevice device;
    dxBufferTextura buffer, never;
    never.AddPolygon(Rectangle(-100, -100, 100, 100, 0));
    never.BuildVertexData();
    EXPECT_EQ(device->AddBuffer(&buffer), E_FAIL);  // nothing added
    buffer.AddPolygon(Rectangle(-100, -100, 100, 100, 0));
    ASSERT_EQ(device->AddBuffer(&buffer), S_OK);
    EXPECT_EQ(device->AddBuffer(&buffer), E_FAIL);  // nothing new
    buffer.AddPolygon(Rectangle(-100, -100, 100, 100, 10));
    {
      ScopedFault failing(fault);  // a vertex buffer made before its lock failed is released
      EXPECT_EQ(device->AddBuffer(&buffer), E_FAIL);
    }
    for (dxBufferTextura* b : {&never, &buffer}) {
      EXPECT_EQ(device->Render(b, 0, 0), S_OK);
      EXPECT_EQ(device.PickAt(32, 32, {b}), nullptr);
    }
    EXPECT_TRUE(device.draws.empty());
    ASSERT_EQ(device->AddBuffer(&buffer), S_OK);  // still dirty: the retry uploads
    EXPECT_EQ(device.PickAt(32, 32, {&buffer}), &buffer);
    EXPECT_EQ(device->GetBufferCount(), 1);
  }
}

// Every cage rebuild registers a buffer: an ordinary session passes 1,000.
// A destroyed buffer leaves the registry (and the pick result), so a new
// buffer at its address is a new entry; buffers may outlive the device.
TEST(Device, RegistersEveryLiveBufferBeyondAThousandAndForgetsDestroyedOnes) {
  auto device = std::make_unique<HeadlessDevice>(64);
  std::vector<std::unique_ptr<dxBufferTextura>> kept(1200);
  for (auto& buffer : kept) {
    buffer = std::make_unique<dxBufferTextura>();
    buffer->AddPolygon(Rectangle(-100, -100, 100, 100, 0));
    ASSERT_EQ((*device)->AddBuffer(buffer.get()), S_OK);
  }
  EXPECT_EQ((*device)->GetBufferCount(), 1200);
  ASSERT_EQ(device->PickAt(32, 32, {kept[0].get()}), kept[0].get());
  kept[0].reset();
  dxBufferColor8* picked = kept[1].get();
  (*device)->GetPickResult(&picked);
  EXPECT_EQ(picked, nullptr);
  kept.resize(200);
  EXPECT_EQ((*device)->GetBufferCount(), 199);
  for (int round = 0; round < 3; ++round) {  // the cages rebuilt again and again
    kept[1] = std::make_unique<dxBufferTextura>();
    kept[1]->AddPolygon(Rectangle(-100, -100, 100, 100, 0));
    ASSERT_EQ((*device)->AddBuffer(kept[1].get()), S_OK);
    EXPECT_EQ((*device)->GetBufferCount(), 199);
  }
  device.reset();
  kept.clear();  // after the device: nothing to leave
}

// Rows are copied by the pitch: see the picture drawn below.
TEST(Device, TexturesFromPixelsRefuseWhatTheyCannotMakeExactly) {
  HeadlessDevice device(8);
  const std::vector<unsigned char> pixels(16 * 16 * 4, 0x55);
  for (D3DFORMAT made : {D3DFMT_R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_X1R5G5B5})
    EXPECT_NE(OwnedTexture(device->CreateTextureFromPixels(16, 16, made, pixels.data())), nullptr);
  EXPECT_EQ(device->CreateTextureFromPixels(16, 16, D3DFMT_A8R8G8B8, nullptr), nullptr);
  for (D3DFORMAT other : {D3DFMT_X8R8G8B8, D3DFMT_D16})
    EXPECT_EQ(device->CreateTextureFromPixels(16, 16, other, pixels.data()), nullptr) << other;
  for (Fault fault : {Fault::CreateTexture, Fault::LockTexture}) {
    ScopedFault failing(fault);  // a texture made before its lock failed is released
    EXPECT_EQ(device->CreateTextureFromPixels(16, 16, D3DFMT_A8R8G8B8, pixels.data()), nullptr);
  }
  EightByEightDevice eightByEight;
  dxDevice8 wrapper;
  wrapper.SetDevice(&eightByEight);
  EXPECT_EQ(wrapper.CreateTextureFromPixels(4, 4, D3DFMT_A8R8G8B8, pixels.data()), nullptr);
  EXPECT_EQ(eightByEight.made.references, 0u);  // released
}

// Built: a triangle (group 0), a textured square across the view (group 1)
// and a triangle (group 2), the triangles without area. Skipped polygons still
// advance the start; counter-clockwise culling wins over clockwise; only
// POLY_TEXTURED draws a texture; mode 2 draws white wireframe and keeps the
// flags.
TEST(Render, DrawsTheGroupAskedPolygonByPolygonWithTheStatesOfItsFlags) {
  HeadlessDevice device;
  // 2 x 2 texels: red, green on the top row; blue, yellow below. Locked rows
  // are longer than the texels: the second must still start its own line.
  const DWORD texels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
  d3d8::SetTexturePitchPadding(40);
  OwnedTexture texture(device->CreateTextureFromPixels(2, 2, D3DFMT_A8R8G8B8, texels));
  d3d8::SetTexturePitchPadding(0);
  IDirect3DTexture8* t = texture.get();
  dxBufferTextura buffer;
  buffer.AddPolygon(Numbered<dxTrianguloTex>(-10, POLY_WIREFRAME, 2, t));
  buffer.AddPolygon(Rectangle(-200, -200, 200, 200, 0, t, POLY_CULL_CW | POLY_CULL_CCW));
  buffer.AddPolygon(Numbered<dxTrianguloTex>(-30, POLY_CULL_CW, 0, t));
  ASSERT_EQ(device->AddBuffer(&buffer), S_OK);
  buffer.SetPolygonFlags(0, POLY_CULL_CW);  // drops POLY_TEXTURED
  device->Clear(true);
  for (DWORD group : {0u, 1u, 2u}) ASSERT_EQ(device->Render(&buffer, 0, group), S_OK);
  // The square spans 200 / (800 tan(pi/8)) of the half-view: about pixels 13
  // to 51. World +X, the texture's right half, shows on the left.
  const d3d8::PixelImage image = device.Pixels();
  EXPECT_EQ(std::vector<DWORD>({image.At(22, 22), image.At(42, 22), image.At(22, 42),
                                image.At(42, 42), image.At(4, 4)}),
            std::vector<DWORD>({texels[1], texels[0], texels[3], texels[2], kClearColor}));
  device->Clear(true);
  EXPECT_EQ(d3d8::ReadDepthBuffer(device->GetDevice()).At(32, 32), 65535);
  for (DWORD group : {0u, 1u, 2u})
    ASSERT_EQ(device->Render(&buffer, RENDER_MODE_WIREFRAME, group), S_OK);
  const auto pixels = device.Pixels().pixels;
  const auto white = std::count(pixels.begin(), pixels.end(), 0xFFFFFFFFu);
  // Four sides and the diagonal of a square about 39 pixels wide, and no texel.
  EXPECT_TRUE(white > 4 * 35 + 35 && white < 4 * 42 + 60) << white;
  EXPECT_EQ(white + std::count(pixels.begin(), pixels.end(), kClearColor), 64 * 64);

  using Draw = std::tuple<D3DPRIMITIVETYPE, UINT, UINT, DWORD, DWORD, IDirect3DBaseTexture8*>;
  const Draw expected[] = {{D3DPT_TRIANGLELIST, 0, 1, D3DFILL_SOLID, D3DCULL_CW, nullptr},
                           {D3DPT_TRIANGLESTRIP, 3, 2, D3DFILL_SOLID, D3DCULL_CCW, t},
                           {D3DPT_TRIANGLELIST, 7, 1, D3DFILL_WIREFRAME, D3DCULL_NONE, t},
                           {D3DPT_TRIANGLELIST, 0, 1, D3DFILL_WIREFRAME, D3DCULL_CW, nullptr},
                           {D3DPT_TRIANGLESTRIP, 3, 2, D3DFILL_WIREFRAME, D3DCULL_CCW, nullptr},
                           {D3DPT_TRIANGLELIST, 7, 1, D3DFILL_WIREFRAME, D3DCULL_NONE, nullptr}};
  ASSERT_EQ(device.draws.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const d3d8::DrawRecord& d = device.draws[i];
    EXPECT_EQ(Draw(d.type, d.startVertex, d.primitiveCount, d.fillMode, d.cullMode, d.texture),
              expected[i]) << i;
  }
  EXPECT_EQ(buffer.GetPolygonFlags(1), POLY_CULL_CW | POLY_CULL_CCW | POLY_TEXTURED | POLY_QUAD);
  // Colour from the texture alone, point sampled, flat, unlit, depth tested.
  IDirect3DDevice8* raw = device->GetDevice();
  DWORD v[7] = {};
  for (auto [i, state] : {std::pair{0, D3DTSS_COLOROP}, {1, D3DTSS_COLORARG1},
                          {2, D3DTSS_MAGFILTER}, {3, D3DTSS_MINFILTER}})
    raw->GetTextureStageState(0, state, &v[i]);
  for (auto [i, state] : {std::pair{4, D3DRS_SHADEMODE}, {5, D3DRS_LIGHTING}, {6, D3DRS_ZENABLE}})
    raw->GetRenderState(state, &v[i]);
  EXPECT_EQ(std::vector<DWORD>(v, v + 7),
            (std::vector<DWORD>{D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTEXF_POINT, D3DTEXF_POINT,
                                D3DSHADE_FLAT, FALSE, D3DZB_TRUE}));
}

// Every edge counts (a quad's two triangles share its diagonal); the distance
// is in units of the direction's length. Hits from the back count too: see the
// agreement of pixels and picks, whose cube shows faces of both windings.
TEST(Pick, IntersectTriangleCountsItsEdgesButNoTriangleWithoutArea) {
  const float a[3] = {0, 0, 0}, b[3] = {1, 0, 0}, c[3] = {0, 1, 0}, onX[3] = {2, 0, 0};
  const float down[3] = {0, 0, -2};
  float t = 0, u, v;
  for (auto [x, y, hit] : {std::tuple{0.0f, 0.5f, true}, {0.5f, 0.0f, true}, {0.5f, 0.5f, true},
                           {-0.01f, 0.5f, false}, {0.5f, -0.01f, false}, {0.51f, 0.5f, false}}) {
    const float origin[3] = {x, y, 10};
    ASSERT_EQ(IntersectTriangle(origin, down, a, b, c, &t, &u, &v), hit) << x << ", " << y;
    if (!hit) continue;
    EXPECT_FLOAT_EQ(t, 5.0f);
  }
  EXPECT_FALSE(IntersectTriangle(c, down, a, b, onX, &t, &u, &v));  // no area
}

// At the window centre the ray runs from the eye straight down -Z, one unit of
// distance per world unit. A later hit wins only when it is nearer than the
// whole units of the best so far.
TEST(Pick, KeepsTheNearestHitInWholeUnits) {
  HeadlessDevice device;
  dxBufferTextura at57, at53, mixed;
  at57.AddPolygon(Rectangle(-100, -100, 100, 100, kEyeZ - 5.7f));
  at53.AddPolygon(Rectangle(-100, -100, 100, 100, kEyeZ - 5.3f));
  mixed.AddPolygon(Rectangle(-100, -100, 100, 100, kEyeZ - 4.9f));  // built 1
  mixed.AddPolygon(Rectangle(200, 200, 300, 300, kEyeZ - 2));        // built 0, off the ray
  for (dxBufferTextura* b : {&at57, &at53, &mixed}) ASSERT_EQ(device->AddBuffer(b), S_OK);
  int polygon = -1;
  EXPECT_EQ(device.PickAt(32, 32, {&at57, &at53}), &at57);
  EXPECT_EQ(device.PickAt(32, 32, {&at57, &at53, &mixed, nullptr}, &polygon), &mixed);
  EXPECT_EQ(polygon, 1);
  dxBufferTextura* meshes[] = {&at53};  // as the mesh lists keep them
  EXPECT_TRUE(device->Pick(32, 32, &device.window, 64, 64, 1, meshes));
  device->SetEye(0, 0, 20000);  // everything is too far to count
  EXPECT_EQ(device.PickAt(32, 32, {&at57}), nullptr);
}
