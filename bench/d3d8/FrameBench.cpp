// The editor's frame on the software device: clear, ~1,500 textured polygons
// drawn one DrawPrimitive each with the full per-polygon state block, five
// statistics lines, present; and the raw textured fill rate.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "d3d8/D3DXFont.h"
#include "d3d8/D3DXMath.h"
#include "d3d8/Headless.h"

namespace {

constexpr int kViewWidth = 488;
constexpr int kViewHeight = 442;
constexpr DWORD kTexturedFormat = D3DFVF_XYZ | D3DFVF_TEX1;
constexpr int kTextureSize = 256;

struct Vertex {
  float x, y, z, u, v;
};

// One mesh as the editor uploads it: its polygons' vertices in one vertex
// buffer (quads as four strip corners, triangles as three), drawn with its
// own world matrix.
struct Mesh {
  IDirect3DVertexBuffer8* buffer = nullptr;
  std::vector<int> cornerCounts;  // 3 or 4 per polygon
  D3DXMATRIX world;
};

// A headless device of the editor's view size with the editor's camera.
class EditorView {
 public:
  EditorView() : window_(kViewWidth, kViewHeight) {
    d3d_ = Direct3DCreate8(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS params{};
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.Windowed = TRUE;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D16;
    d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &window_,
                       D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &device_);
    D3DXMATRIX view, projection;
    const D3DXVECTOR3 eye(0, 0, 800), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, std::numbers::pi_v<float> / 4, 1.0f, 1.0f, 3000.0f);
    device_->SetTransform(D3DTS_VIEW, &view);
    device_->SetTransform(D3DTS_PROJECTION, &projection);
    texture_ = MakePageTexture();
  }

  ~EditorView() {
    for (Mesh& mesh : meshes_) mesh.buffer->Release();
    if (font_) font_->Release();
    texture_->Release();
    device_->Release();
    d3d_->Release();
  }

  IDirect3DDevice8* device() const { return device_; }
  IDirect3DTexture8* texture() const { return texture_; }

  // A moveable-like body: `meshCount` closed tubes of `rings` x `sides`
  // quads capped by triangle fans, posed around the origin.
  void BuildMoveable(int meshCount, int rings, int sides) {
    for (int m = 0; m < meshCount; ++m) {
      std::vector<Vertex> vertices;
      Mesh mesh;
      AppendTube(rings, sides, 18.0f + 4 * (m % 3), 70.0f, vertices, mesh.cornerCounts);
      const UINT bytes = static_cast<UINT>(vertices.size() * sizeof(Vertex));
      device_->CreateVertexBuffer(bytes, 0, kTexturedFormat, D3DPOOL_MANAGED, &mesh.buffer);
      BYTE* data = nullptr;
      mesh.buffer->Lock(0, bytes, &data, 0);
      std::memcpy(data, vertices.data(), bytes);
      mesh.buffer->Unlock();
      // Limbs spread over a figure about 350 units tall, tilted and turned.
      D3DXMATRIX place, turn, tilt, scale;
      const float angle = m * 0.7f;
      D3DXMatrixTranslation(&place, 120 * std::sin(angle), 160 - 25.0f * m, 40 * std::cos(angle));
      D3DXMatrixRotationY(&turn, 0.5f + angle);
      D3DXMatrixRotationX(&tilt, 0.3f * m);
      D3DXMatrixScaling(&scale, 1.4f, 1.4f, 1.4f);
      mesh.world = tilt * turn * place * scale;
      meshes_.push_back(mesh);
    }
    const LOGFONT logFont = StatsLogFont();
    D3DXCreateFontIndirect(device_, &logFont, &font_);
  }

  int PolygonCount() const {
    int count = 0;
    for (const Mesh& mesh : meshes_) count += static_cast<int>(mesh.cornerCounts.size());
    return count;
  }

  // One frame as the render loop draws it.
  void DrawFrame() {
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF00FFFFu, 1.0f, 0);
    for (const Mesh& mesh : meshes_) DrawMesh(mesh);
    font_->Begin();
    static const char* const kLines[5] = {"Frames por segundo: 312.50", "Numero de Vertices: 6120",
                                          "Numero de Tris: 300", "Numero de Cuads: 1200",
                                          "N\xBA VertexBuffers: 15"};
    for (int i = 0; i < 5; ++i) {
      RECT rect{0, 20 * i, 200, 20 * i + 20};
      font_->DrawTextA(kLines[i], -1, &rect, DT_TOP | DT_LEFT, 0xFF000000u);
    }
    font_->End();
    device_->Present(nullptr, nullptr, nullptr, nullptr);
  }

 private:
  static LOGFONT StatsLogFont() {
    LOGFONT logFont{};
    logFont.lfWeight = FW_BOLD;
    logFont.lfQuality = ANTIALIASED_QUALITY;
    std::strcpy(logFont.lfFaceName, "Times");
    return logFont;
  }

  IDirect3DTexture8* MakePageTexture() {
    IDirect3DTexture8* texture = nullptr;
    device_->CreateTexture(kTextureSize, kTextureSize, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture);
    D3DLOCKED_RECT locked;
    texture->LockRect(0, &locked, nullptr, 0);
    for (int y = 0; y < kTextureSize; ++y)
      for (int x = 0; x < kTextureSize; ++x) {
        const std::uint32_t texel = 0xFF000000u | ((x * 7) & 0xFF) << 16 | ((y * 5) & 0xFF) << 8 | ((x ^ y) & 0xFF);
        std::memcpy(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch + x * 4, &texel, 4);
      }
    texture->UnlockRect(0);
    return texture;
  }

  static void AppendTube(int rings, int sides, float radius, float length,
                         std::vector<Vertex>& vertices, std::vector<int>& corners) {
    auto at = [&](int ring, int side) {
      const float a = 2 * std::numbers::pi_v<float> * side / sides;
      return Vertex{radius * std::cos(a), length * ring / rings - length / 2, radius * std::sin(a),
                    static_cast<float>(side) / sides, static_cast<float>(ring) / rings};
    };
    for (int ring = 0; ring < rings; ++ring)
      for (int side = 0; side < sides; ++side) {
        vertices.push_back(at(ring + 1, side));
        vertices.push_back(at(ring + 1, side + 1));
        vertices.push_back(at(ring, side));
        vertices.push_back(at(ring, side + 1));
        corners.push_back(4);
      }
    for (int end : {0, rings})
      for (int side = 0; side < sides; ++side) {
        const Vertex centre{0, length * end / rings - length / 2, 0, 0.5f, 0.5f};
        const bool top = end == rings;
        vertices.push_back(centre);
        vertices.push_back(at(end, top ? side + 1 : side));
        vertices.push_back(at(end, top ? side : side + 1));
        corners.push_back(3);
      }
  }

  void DrawMesh(const Mesh& mesh) {
    device_->SetStreamSource(0, mesh.buffer, sizeof(Vertex));
    device_->SetVertexShader(kTexturedFormat);
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device_->SetTransform(D3DTS_WORLD, &mesh.world);
    device_->BeginScene();
    UINT start = 0;
    for (int corners : mesh.cornerCounts) {
      device_->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
      device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
      device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
      device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
      device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
      device_->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
      device_->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
      device_->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
      device_->SetTexture(0, texture_);
      if (corners == 4)
        device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, start, 2);
      else
        device_->DrawPrimitive(D3DPT_TRIANGLELIST, start, 1);
      start += corners;
    }
    device_->EndScene();
  }

  d3d8::OffscreenWindow window_;
  IDirect3D8* d3d_ = nullptr;
  IDirect3DDevice8* device_ = nullptr;
  IDirect3DTexture8* texture_ = nullptr;
  ID3DXFont* font_ = nullptr;
  std::vector<Mesh> meshes_;
};

double CoveredShare(IDirect3DDevice8* device) {
  const d3d8::PixelImage image = d3d8::ReadColorBuffer(device);
  int covered = 0;
  for (std::uint32_t pixel : image.pixels) covered += pixel != 0xFF00FFFFu;
  return static_cast<double>(covered) / image.pixels.size();
}

void BM_EditorFrame(benchmark::State& state) {
  EditorView view;
  view.BuildMoveable(15, 5, 16);  // 15 x (80 quads + 32 triangles) = 1,680 polygons
  view.DrawFrame();
  for (auto _ : state) view.DrawFrame();
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                             benchmark::Counter::kIsRate);
  state.counters["polygons"] = view.PolygonCount();
  state.counters["covered"] = CoveredShare(view.device());
  if (const char* path = std::getenv("D3D8_BENCH_PNG"))
    d3d8::WritePng(path, d3d8::ReadColorBuffer(view.device()));
}
BENCHMARK(BM_EditorFrame)->Unit(benchmark::kMillisecond);

void BM_TexturedFillRate(benchmark::State& state) {
  EditorView view;
  IDirect3DDevice8* device = view.device();
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  device->SetTransform(D3DTS_WORLD, &identity);
  device->SetTransform(D3DTS_VIEW, &identity);
  device->SetTransform(D3DTS_PROJECTION, &identity);
  // Two triangles covering the screen, the 256 x 256 page repeated twice
  // across (about one texel per pixel, as a close-up of a mesh shows it).
  const Vertex quad[4] = {{-1, 1, 0.5f, 0, 0}, {1, 1, 0.5f, 2, 0}, {-1, -1, 0.5f, 0, 2}, {1, -1, 0.5f, 2, 2}};
  IDirect3DVertexBuffer8* buffer = nullptr;
  device->CreateVertexBuffer(sizeof quad, 0, kTexturedFormat, D3DPOOL_MANAGED, &buffer);
  BYTE* data = nullptr;
  buffer->Lock(0, sizeof quad, &data, 0);
  std::memcpy(data, quad, sizeof quad);
  buffer->Unlock();
  device->SetStreamSource(0, buffer, sizeof(Vertex));
  device->SetVertexShader(kTexturedFormat);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetTexture(0, view.texture());
  constexpr int kLayers = 10;
  for (auto _ : state) {
    device->BeginScene();
    for (int layer = 0; layer < kLayers; ++layer) device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    device->EndScene();
  }
  state.counters["Mpixels/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kLayers * kViewWidth * kViewHeight / 1e6,
      benchmark::Counter::kIsRate);
  device->SetStreamSource(0, nullptr, 0);
  device->SetTexture(0, nullptr);
  buffer->Release();
}
BENCHMARK(BM_TexturedFillRate)->Unit(benchmark::kMillisecond);

}  // namespace
