#include "d3d/Device8.h"

#include <algorithm>
#include <cstring>

#include "d3d8/D3DXTexture.h"

namespace {

constexpr float kClearDepth = 1.0f;
constexpr DWORD kOpaque = 0xFF000000;

DWORD ClearColor(int red, int green, int blue) {
  return kOpaque | (static_cast<DWORD>(red & 255) << 16) | (static_cast<DWORD>(green & 255) << 8) |
         static_cast<DWORD>(blue & 255);
}

// Bytes per pixel of the formats textures are made from; 0 for any other.
UINT BytesPerPixel(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_A8R8G8B8:
      return 4;
    case D3DFMT_X1R5G5B5:
      return 2;
    case D3DFMT_R8G8B8:
      return 3;
    default:
      return 0;
  }
}

// Copies packed rows into the locked top level of the texture, each row to
// the start of its line. False when the texture is not exactly the size
// asked or cannot take the rows.
bool FillTopLevel(IDirect3DTexture8* texture, UINT width, UINT height, std::size_t rowBytes,
                  const unsigned char* pixels) {
  D3DSURFACE_DESC desc{};
  if (FAILED(texture->GetLevelDesc(0, &desc)) || desc.Width != width || desc.Height != height)
    return false;
  D3DLOCKED_RECT locked{};
  if (FAILED(texture->LockRect(0, &locked, nullptr, 0))) return false;
  const bool fits = locked.pBits != nullptr && locked.Pitch >= 0 &&
                    static_cast<std::size_t>(locked.Pitch) >= rowBytes;
  if (fits) {
    auto* target = static_cast<unsigned char*>(locked.pBits);
    for (UINT row = 0; row < height; ++row)
      std::memcpy(target + static_cast<std::size_t>(row) * static_cast<std::size_t>(locked.Pitch),
                  pixels + static_cast<std::size_t>(row) * rowBytes, rowBytes);
  }
  texture->UnlockRect(0);
  return fits;
}

}  // namespace

dxDevice8::dxDevice8() {
  D3DXMatrixIdentity(&projection);
  D3DXMatrixIdentity(&view);
}

dxDevice8::~dxDevice8() {
  for (dxBufferColor8* buffer : buffers) buffer->registeredWith = nullptr;
  if (device != nullptr) device->Release();
}

void dxDevice8::SetDevice(IDirect3DDevice8* newDevice) {
  if (device != nullptr && device != newDevice) device->Release();
  device = newDevice;
}

HRESULT dxDevice8::SetClearColor(int red, int green, int blue) {
  clearRed = red;
  clearGreen = green;
  clearBlue = blue;
  return S_OK;
}

HRESULT dxDevice8::Clear(bool withDepth) {
  if (device == nullptr) return E_FAIL;
  const DWORD targets = D3DCLEAR_TARGET | (withDepth ? D3DCLEAR_ZBUFFER : 0);
  device->Clear(0, nullptr, targets, ClearColor(clearRed, clearGreen, clearBlue), kClearDepth, 0);
  return S_OK;
}

HRESULT dxDevice8::Present() {
  if (device == nullptr) return E_FAIL;
  const HRESULT result = device->Present(nullptr, nullptr, nullptr, nullptr);
  return FAILED(result) ? E_FAIL : result;
}

HRESULT dxDevice8::Reset(D3DPRESENT_PARAMETERS parameters) {
  if (device == nullptr) return E_FAIL;
  device->Reset(&parameters);
  return S_OK;
}

HRESULT dxDevice8::SetProjection(float nearPlane, float farPlane, float aspect, float fieldOfView,
                                 int width, int height) {
  D3DXMatrixPerspectiveFovLH(&projection, fieldOfView, aspect, nearPlane, farPlane);
  viewWidth = width;
  viewHeight = height;
  if (device == nullptr) return E_FAIL;
  device->SetTransform(D3DTS_PROJECTION, &projection);
  return S_OK;
}

HRESULT dxDevice8::SetEye(float x, float y, float z) {
  eye = D3DXVECTOR3(x, y, z);
  return UpdateView();
}

HRESULT dxDevice8::SetLookAt(float x, float y, float z) {
  lookAt = D3DXVECTOR3(x, y, z);
  return UpdateView();
}

HRESULT dxDevice8::UpdateView() {
  const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
  D3DXMatrixLookAtLH(&view, &eye, &lookAt, &up);
  if (device == nullptr) return E_FAIL;
  device->SetTransform(D3DTS_VIEW, &view);
  return S_OK;
}

HRESULT dxDevice8::AddBuffer(dxBufferColor8* buffer) {
  if (device == nullptr || buffer == nullptr) return E_FAIL;
  const int bytes = buffer->BuildVertexData();
  if (bytes == -1) return E_FAIL;
  if (FAILED(Upload(*buffer, static_cast<UINT>(bytes)))) return E_FAIL;
  Register(buffer);
  buffer->ClearDirty();
  return S_OK;
}

// Copies the built vertices into a new vertex buffer of exactly their size
// and hands it to the buffer; on failure the new vertex buffer is released
// and the buffer stays not uploaded (and dirty, so the next call retries).
HRESULT dxDevice8::Upload(dxBufferColor8& buffer, UINT bytes) {
  IDirect3DVertexBuffer8* vertices = nullptr;
  if (FAILED(device->CreateVertexBuffer(bytes, 0, buffer.GetFVF(), D3DPOOL_MANAGED, &vertices)) ||
      vertices == nullptr)
    return E_FAIL;
  BYTE* target = nullptr;
  if (FAILED(vertices->Lock(0, bytes, &target, 0)) || target == nullptr) {
    vertices->Release();
    return E_FAIL;
  }
  std::memcpy(target, buffer.GetVertexData(), bytes);
  vertices->Unlock();
  buffer.SetVertexBuffer(vertices);
  return S_OK;
}

void dxDevice8::Register(dxBufferColor8* buffer) {
  if (buffer->registeredWith != nullptr && buffer->registeredWith != this)
    buffer->registeredWith->Unregister(buffer);
  buffers.insert(buffer);
  buffer->registeredWith = this;
}

void dxDevice8::Unregister(dxBufferColor8* buffer) {
  buffers.erase(buffer);
  buffer->registeredWith = nullptr;
  if (pickedBuffer == buffer) pickedBuffer = nullptr;
}

IDirect3DTexture8* dxDevice8::LoadTexture(const char*) { return nullptr; }

IDirect3DTexture8* dxDevice8::CreateTextureFromPixels(UINT width, UINT height, D3DFORMAT format,
                                                      const void* pixels) {
  const UINT bytesPerPixel = BytesPerPixel(format);
  if (device == nullptr || pixels == nullptr || bytesPerPixel == 0) return nullptr;
  IDirect3DTexture8* texture = nullptr;
  const UINT fullMipChain = 0;
  if (FAILED(D3DXCreateTexture(device, width, height, fullMipChain, 0, format, D3DPOOL_MANAGED,
                               &texture)) ||
      texture == nullptr)
    return nullptr;
  if (!FillTopLevel(texture, width, height, std::size_t{width} * bytesPerPixel,
                    static_cast<const unsigned char*>(pixels))) {
    texture->Release();
    return nullptr;
  }
  return texture;
}
