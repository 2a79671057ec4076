#include "d3d/Device8.h"
#include "d3d/Picking.h"

namespace {

// Hits at this distance or beyond are never recorded.
constexpr int kFarthestPick = 10000;

void ToWorld(const D3DXMATRIX& world, float p[3]) {
  const float x = p[0], y = p[1], z = p[2];
  p[0] = TransformCoordX(world, x, y, z);
  p[1] = TransformCoordY(world, x, y, z);
  p[2] = TransformCoordZ(world, x, y, z);
}

}  // namespace

bool dxDevice8::Pick(int x, int y, HWND, int width, int height, int count,
                     dxBufferColor8* const* candidates) {
  pickedPolygon = 0;
  if (device == nullptr || width <= 0 || height <= 0 || (count > 0 && candidates == nullptr))
    return false;
  D3DXMATRIX proj, camera;
  device->GetTransform(D3DTS_PROJECTION, &proj);
  device->GetTransform(D3DTS_VIEW, &camera);
  if (proj._11 == 0.0f || proj._22 == 0.0f) return false;

  // The ray through the pixel in view space, then in world space.
  const float vx = (2.0f * static_cast<float>(x) / static_cast<float>(width) - 1.0f) / proj._11;
  const float vy = -(2.0f * static_cast<float>(y) / static_cast<float>(height) - 1.0f) / proj._22;
  const float vz = 1.0f;
  D3DXMATRIX m;
  if (D3DXMatrixInverse(&m, nullptr, &camera) == nullptr) return false;
  const D3DXVECTOR3 direction(vx * m._11 + vy * m._21 + vz * m._31,
                              vx * m._12 + vy * m._22 + vz * m._32,
                              vx * m._13 + vy * m._23 + vz * m._33);
  const D3DXVECTOR3 origin(m._41, m._42, m._43);

  // Distances are compared in whole units: a later hit wins only when it is
  // nearer than the truncated distance of the best so far.
  int best = kFarthestPick;
  bool recorded = false;
  for (int b = 0; b < count; ++b)
    if (candidates[b] != nullptr && PickBuffer(candidates[b], origin, direction, best))
      recorded = true;
  return recorded;
}

bool dxDevice8::Pick(int x, int y, HWND window, int width, int height, int count,
                     dxBufferTextura* const* candidates) {
  std::vector<dxBufferColor8*> bases;
  for (int b = 0; candidates != nullptr && b < count; ++b) bases.push_back(candidates[b]);
  return Pick(x, y, window, width, height, count, bases.data());
}

bool dxDevice8::PickBuffer(dxBufferColor8* buffer, const D3DXVECTOR3& origin,
                           const D3DXVECTOR3& direction, int& best) {
  const float o[3] = {origin.x, origin.y, origin.z};
  const float d[3] = {direction.x, direction.y, direction.z};
  const D3DXMATRIX world = buffer->GetWorldMatrix();
  bool recorded = false;
  const int count = buffer->GetUploadedPolygonCount();
  for (int i = 0; i < count; ++i) {
    float p[4][3];
    const bool quad = buffer->GetPolygonVertices(i, p[0], p[1], p[2], p[3]) == 1;
    for (int k = 0; k < (quad ? 4 : 3); ++k) ToWorld(world, p[k]);
    float t = 0.0f, u = 0.0f, v = 0.0f;
    const bool hit = IntersectTriangle(o, d, p[0], p[1], p[2], &t, &u, &v) ||
                     (quad && IntersectTriangle(o, d, p[3], p[2], p[1], &t, &u, &v));
    // A hit behind the eye is not under the cursor.
    if (!hit || t < 0.0f || !(static_cast<float>(best) > t)) continue;
    best = static_cast<int>(t);
    pickedPolygon = i;
    pickedBuffer = buffer;
    recorded = true;
  }
  return recorded;
}

int dxDevice8::GetPickResult(dxBufferColor8** buffer) const {
  if (buffer != nullptr) *buffer = pickedBuffer;
  return pickedPolygon;
}
