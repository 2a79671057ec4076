#include "d3d/PolygonBuffer.h"

#include "d3d/Device8.h"

#include <cstring>
#include <typeinfo>

namespace {

void CopyPosition(const unsigned char* vertex, float out[3]) {
  std::memcpy(out, vertex, 3 * sizeof(float));
}

}  // namespace

dxBufferColor8::dxBufferColor8() : dxBufferColor8(FVF_VERTEX_COLOR8, sizeof(dxVertexColor8)) {}

dxBufferColor8::dxBufferColor8(DWORD fvf, DWORD stride) : fvf(fvf), stride(stride) {
  D3DXMatrixIdentity(&world);
}

dxBufferColor8::~dxBufferColor8() {
  if (registeredWith != nullptr) registeredWith->Unregister(this);
  if (vertexBuffer != nullptr) vertexBuffer->Release();
}

bool dxBufferColor8::Builds(const dxPoligono& polygon) const {
  const std::type_info& type = typeid(polygon);
  return type == typeid(dxTriangulo) || type == typeid(dxCuadrado);
}

HRESULT dxBufferColor8::AddPolygon(dxPoligono* polygon) {
  if (polygon == nullptr || !Builds(*polygon)) return E_FAIL;
  polygons.emplace_back(polygon);
  if (polygon->GetVertexCount() == 4)
    ++numQuads;
  else
    ++numTriangles;
  dirty = true;
  return S_OK;
}

int dxBufferColor8::BuildVertexData() {
  if (!dirty) return -1;
  const int count = static_cast<int>(polygons.size());
  // Every byte is copied from a polygon below: nothing to clear first.
  vertexBytes = static_cast<std::size_t>(GetNumVertices()) * stride;
  vertexData.reset(new unsigned char[vertexBytes]);
  polygonFlags.assign(polygons.size(), 0);
  polygonGroups.assign(polygons.size(), 0);
  polygonFirstVertex.assign(polygons.size(), 0);
  uploaded = false;
  StartBuild(count);

  int v = 0;
  for (int i = 0; i < count; ++i) {
    const dxPoligono& polygon = *polygons[static_cast<std::size_t>(count - 1 - i)];
    const int corners = polygon.GetVertexCount();
    std::memcpy(&vertexData[static_cast<std::size_t>(v) * stride], polygon.GetVertices(),
                static_cast<std::size_t>(corners) * stride);
    polygonFlags[i] = polygon.GetFlags() | AddedFlags() | (corners == 4 ? POLY_QUAD : 0);
    polygonGroups[i] = polygon.GetGroup();
    polygonFirstVertex[i] = v;
    BuildPolygon(i, polygon);
    v += corners;
  }
  return static_cast<int>(vertexBytes);
}

const void* dxBufferColor8::GetVertexData() const {
  return vertexBytes == 0 ? nullptr : vertexData.get();
}

int dxBufferColor8::GetPolygonFirstVertex(int i) const {
  return IsBuilt(i) ? polygonFirstVertex[i] : 0;
}

int dxBufferColor8::GetPolygonVertices(int i, float p0[3], float p1[3], float p2[3],
                                       float p3[3]) const {
  if (!IsBuilt(i)) return 0;
  const unsigned char* first =
      &vertexData[static_cast<std::size_t>(polygonFirstVertex[i]) * stride];
  CopyPosition(first, p0);
  CopyPosition(first + stride, p1);
  CopyPosition(first + 2 * stride, p2);
  if ((polygonFlags[i] & POLY_QUAD) == 0) return 0;
  CopyPosition(first + 3 * stride, p3);
  return 1;
}

IDirect3DTexture8* dxBufferColor8::GetPolygonTexture(int) const { return nullptr; }

void dxBufferColor8::SetVertexBuffer(IDirect3DVertexBuffer8* buffer) {
  if (vertexBuffer != nullptr && vertexBuffer != buffer) vertexBuffer->Release();
  vertexBuffer = buffer;
  uploaded = buffer != nullptr;
}

DWORD dxBufferColor8::GetPolygonFlags(int i) const { return IsBuilt(i) ? polygonFlags[i] : 0; }

void dxBufferColor8::SetPolygonFlags(int i, DWORD flags) {
  if (IsBuilt(i)) polygonFlags[i] = (flags & ~POLY_QUAD) | (polygonFlags[i] & POLY_QUAD);
}

DWORD dxBufferColor8::GetPolygonGroup(int i) const { return IsBuilt(i) ? polygonGroups[i] : 0; }

void dxBufferColor8::PreMultiply(const D3DXMATRIX& m) {
  const D3DXMATRIX previous = world;
  D3DXMatrixMultiply(&world, &m, &previous);
}

HRESULT dxBufferColor8::Translate(float x, float y, float z) {
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, x, y, z);
  PreMultiply(m);
  return S_OK;
}

void dxBufferColor8::RotateX(float radians) {
  D3DXMATRIX m;
  D3DXMatrixRotationX(&m, radians);
  PreMultiply(m);
}

void dxBufferColor8::RotateY(float radians) {
  D3DXMATRIX m;
  D3DXMatrixRotationY(&m, radians);
  PreMultiply(m);
}

void dxBufferColor8::Scale(float s) {
  D3DXMATRIX m;
  D3DXMatrixScaling(&m, s, s, s);
  PreMultiply(m);
}

void dxBufferColor8::MultiplyWorld(D3DXMATRIX matrix) { PreMultiply(matrix); }

void dxBufferColor8::ResetWorld() { D3DXMatrixIdentity(&world); }

dxBufferTextura::dxBufferTextura() : dxBufferColor8(FVF_VERTEX_TEXTURA, sizeof(dxVertexTextura)) {}

bool dxBufferTextura::Builds(const dxPoligono& polygon) const {
  // Quads first: most polygons are, and a type that matches compares at once.
  const std::type_info& type = typeid(polygon);
  return type == typeid(dxCuadradoTex) || type == typeid(dxTrianguloTex);
}

void dxBufferTextura::StartBuild(int polygonCount) {
  polygonTextures.assign(static_cast<std::size_t>(polygonCount), nullptr);
}

void dxBufferTextura::BuildPolygon(int i, const dxPoligono& polygon) {
  polygonTextures[i] = polygon.GetTexture();
}

IDirect3DTexture8* dxBufferTextura::GetPolygonTexture(int i) const {
  return IsBuilt(i) ? polygonTextures[i] : nullptr;
}
