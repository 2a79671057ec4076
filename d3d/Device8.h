#pragma once
// The wrapper of the one Direct3D device: clears and presents, keeps the
// projection and the camera, uploads polygon buffers into vertex buffers,
// makes textures from blocks of pixels, draws buffers and picks polygons
// under the mouse. A wrapper without a device (its creation failed) fails
// every call: E_FAIL, a null texture or false.

#include <unordered_set>

#include "d3d/PolygonBuffer.h"
#include "d3d8/D3DXMath.h"
#include "win32/NativeWindow.h"

// Render mode that draws every polygon as untextured wireframe.
constexpr int RENDER_MODE_WIREFRAME = 2;

class dxDevice8 {
 public:
  dxDevice8();
  ~dxDevice8();
  dxDevice8(const dxDevice8&) = delete;
  dxDevice8& operator=(const dxDevice8&) = delete;

  IDirect3DDevice8* GetDevice() const { return device; }
  // Takes over the caller's reference; the wrapper releases it.
  void SetDevice(IDirect3DDevice8* newDevice);

  // Only the low 8 bits of each component count.
  HRESULT SetClearColor(int red, int green, int blue);
  // Clears the colour target, and the depth buffer to 1.0 when withDepth.
  HRESULT Clear(bool withDepth);
  HRESULT Present();
  HRESULT Reset(D3DPRESENT_PARAMETERS parameters);

  // Left-handed perspective; width and height are the view's size in pixels.
  HRESULT SetProjection(float nearPlane, float farPlane, float aspect, float fieldOfView, int width,
                        int height);
  // The camera looks from the eye at the target, up being +Y. Callers set
  // the eye first.
  HRESULT SetEye(float x, float y, float z);
  HRESULT SetLookAt(float x, float y, float z);

  // Builds the buffer's arrays and uploads its vertices into a new vertex
  // buffer, registering the buffer once. E_FAIL when the buffer holds
  // nothing new or the upload fails; the buffer then draws nothing until an
  // upload succeeds.
  HRESULT AddBuffer(dxBufferColor8* buffer);
  // Number of distinct buffers uploaded that still exist.
  int GetBufferCount() const { return static_cast<int>(buffers.size()); }

  // Texture files are not loaded: always null.
  IDirect3DTexture8* LoadTexture(const char* fileName);
  // A texture of exactly width x height from packed rows of pixels in
  // D3DFMT_R8G8B8, D3DFMT_A8R8G8B8 or D3DFMT_X1R5G5B5; null for any other
  // format, null pixels, or when the device cannot make or fill it. The
  // caller owns the texture.
  IDirect3DTexture8* CreateTextureFromPixels(UINT width, UINT height, D3DFORMAT format,
                                             const void* pixels);

  // Draws the uploaded polygons of the buffer whose group is the one asked,
  // each by its flags, or every one as untextured wireframe in
  // RENDER_MODE_WIREFRAME. One scene of its own per call.
  HRESULT Render(dxBufferColor8* buffer, int mode, DWORD group);

  // Casts the ray under client pixel (x, y) of a width x height view and
  // records the nearest polygon hit in front of the eye among the buffers.
  // True only when it recorded one.
  bool Pick(int x, int y, HWND window, int width, int height, int count,
            dxBufferColor8* const* buffers);
  bool Pick(int x, int y, HWND window, int width, int height, int count,
            dxBufferTextura* const* buffers);
  // The buffer and the polygon index of the last recorded hit.
  int GetPickResult(dxBufferColor8** buffer) const;

 private:
  HRESULT UpdateView();
  HRESULT Upload(dxBufferColor8& buffer, UINT bytes);
  void Register(dxBufferColor8* buffer);
  // A buffer being destroyed leaves the registry and the pick result.
  friend class dxBufferColor8;
  void Unregister(dxBufferColor8* buffer);
  void DrawPolygon(const dxBufferColor8& buffer, int i, int mode, DWORD group, UINT& start);
  bool PickBuffer(dxBufferColor8* buffer, const D3DXVECTOR3& origin, const D3DXVECTOR3& direction,
                  int& best);

  IDirect3DDevice8* device = nullptr;    // owned reference
  // Every live buffer uploaded, by address (not owned): it keeps a buffer
  // from being registered twice. Each buffer knows the device that holds it
  // and leaves when destroyed; a destroyed device lets go of its buffers.
  std::unordered_set<dxBufferColor8*> buffers;
  int clearRed = 0;
  int clearGreen = 0;
  int clearBlue = 0;
  D3DXMATRIX projection;
  D3DXMATRIX view;
  D3DXVECTOR3 lookAt{0.0f, 0.0f, 0.0f};
  D3DXVECTOR3 eye{0.0f, 0.0f, -1.0f};
  int viewWidth = 0;
  int viewHeight = 0;
  int pickedPolygon = 0;
  dxBufferColor8* pickedBuffer = nullptr;
};
