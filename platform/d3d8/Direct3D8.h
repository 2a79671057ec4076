#pragma once
// Direct3D 8 as the editor uses it: a software device that rasterises into a
// 32-bit colour buffer and a 16-bit depth buffer and presents each finished
// frame to its window (a NativeWindow). Only the calls, states and formats the
// editor uses are here; their numbers are the platform's, so that values
// stored or passed as plain integers keep their meaning.
//
// What the device draws: triangle lists and strips from vertex stream 0, with
// row-vector transforms world x view x projection, clipping against the near
// and far planes, the viewport covering the whole back buffer, pixel (i, j)
// sampled at screen coordinate (i, j) with the top-left fill rule, culling on
// screen winding, solid or wireframe fill, a less-or-equal depth test with
// depth writes, and colour taken from the texture of stage 0 (point sampled at
// level 0, wrap addressing, perspective correct) or white with no texture.
// Lighting, vertex colours, blending, alpha test and the other texture stage
// operations are not drawn: their states are kept and read back only.

#include "win32/NativeWindow.h"
#include "win32/Win32Types.h"

typedef DWORD D3DCOLOR;  // 0xAARRGGBB

constexpr D3DCOLOR D3DCOLOR_ARGB(DWORD a, DWORD r, DWORD g, DWORD b) {
  return ((a & 0xFFu) << 24) | ((r & 0xFFu) << 16) | ((g & 0xFFu) << 8) | (b & 0xFFu);
}
constexpr D3DCOLOR D3DCOLOR_XRGB(DWORD r, DWORD g, DWORD b) { return D3DCOLOR_ARGB(0xFF, r, g, b); }

constexpr UINT D3D_SDK_VERSION = 220;
constexpr UINT D3DADAPTER_DEFAULT = 0;

// Failure codes of the device (facility 0x876).
constexpr HRESULT MakeD3DError(DWORD code) { return static_cast<HRESULT>(0x88760000u | code); }
constexpr HRESULT D3DERR_OUTOFVIDEOMEMORY = MakeD3DError(380);
constexpr HRESULT D3DERR_DEVICELOST = MakeD3DError(2152);
constexpr HRESULT D3DERR_DEVICENOTRESET = MakeD3DError(2153);
constexpr HRESULT D3DERR_NOTAVAILABLE = MakeD3DError(2154);
constexpr HRESULT D3DERR_INVALIDCALL = MakeD3DError(2156);

enum D3DFORMAT : DWORD {
  D3DFMT_UNKNOWN = 0,
  D3DFMT_R8G8B8 = 20,    // 3 bytes: blue, green, red
  D3DFMT_A8R8G8B8 = 21,  // 4 bytes: blue, green, red, alpha
  D3DFMT_X8R8G8B8 = 22,  // 4 bytes: blue, green, red, unused
  D3DFMT_X1R5G5B5 = 24,  // 16 bits: 1 unused, 5 red, 5 green, 5 blue
  D3DFMT_D16 = 80,       // 16-bit depth
};

enum D3DPOOL : DWORD {
  D3DPOOL_DEFAULT = 0,
  D3DPOOL_MANAGED = 1,  // survives Reset (every pool does here)
  D3DPOOL_SYSTEMMEM = 2,
};

enum D3DDEVTYPE : DWORD {
  D3DDEVTYPE_HAL = 1,
  D3DDEVTYPE_REF = 2,
};

enum D3DSWAPEFFECT : DWORD {
  D3DSWAPEFFECT_DISCARD = 1,
  D3DSWAPEFFECT_FLIP = 2,
  D3DSWAPEFFECT_COPY = 3,
};

enum D3DMULTISAMPLE_TYPE : DWORD {
  D3DMULTISAMPLE_NONE = 0,
};

enum D3DRESOURCETYPE : DWORD {
  D3DRTYPE_SURFACE = 1,
  D3DRTYPE_TEXTURE = 3,
  D3DRTYPE_VERTEXBUFFER = 6,
};

// Behaviour flags of CreateDevice; accepted and otherwise ignored.
constexpr DWORD D3DCREATE_MULTITHREADED = 0x4;
constexpr DWORD D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x20;
constexpr DWORD D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x40;
constexpr DWORD D3DCREATE_MIXED_VERTEXPROCESSING = 0x80;

// Clear flags.
constexpr DWORD D3DCLEAR_TARGET = 1;
constexpr DWORD D3DCLEAR_ZBUFFER = 2;

// Resource usage and lock flags; accepted and otherwise ignored.
constexpr DWORD D3DUSAGE_WRITEONLY = 0x8;
constexpr DWORD D3DUSAGE_DYNAMIC = 0x200;
constexpr DWORD D3DLOCK_READONLY = 0x10;
constexpr DWORD D3DLOCK_NOOVERWRITE = 0x1000;
constexpr DWORD D3DLOCK_DISCARD = 0x2000;

// Flexible vertex format bits. The position must be D3DFVF_XYZ; the other
// parts are laid out after it in this order: normal, point size, diffuse,
// specular, then the texture coordinate sets (two floats each).
constexpr DWORD D3DFVF_XYZ = 0x002;
constexpr DWORD D3DFVF_POSITION_MASK = 0x00E;
constexpr DWORD D3DFVF_NORMAL = 0x010;
constexpr DWORD D3DFVF_PSIZE = 0x020;
constexpr DWORD D3DFVF_DIFFUSE = 0x040;
constexpr DWORD D3DFVF_SPECULAR = 0x080;
constexpr DWORD D3DFVF_TEXCOUNT_MASK = 0xF00;
constexpr DWORD D3DFVF_TEXCOUNT_SHIFT = 8;
constexpr DWORD D3DFVF_TEX0 = 0x000;
constexpr DWORD D3DFVF_TEX1 = 0x100;
constexpr DWORD D3DFVF_TEX2 = 0x200;

enum D3DPRIMITIVETYPE : DWORD {
  D3DPT_POINTLIST = 1,
  D3DPT_LINELIST = 2,
  D3DPT_LINESTRIP = 3,
  D3DPT_TRIANGLELIST = 4,   // drawn
  D3DPT_TRIANGLESTRIP = 5,  // drawn; every second triangle's winding reversed
  D3DPT_TRIANGLEFAN = 6,
};

enum D3DTRANSFORMSTATETYPE : DWORD {
  D3DTS_VIEW = 2,
  D3DTS_PROJECTION = 3,
  D3DTS_WORLD = 256,
};

// Render states. The device keeps every state number below 256; only ZENABLE,
// FILLMODE and CULLMODE change what it draws.
enum D3DRENDERSTATETYPE : DWORD {
  D3DRS_ZENABLE = 7,
  D3DRS_FILLMODE = 8,
  D3DRS_SHADEMODE = 9,
  D3DRS_CULLMODE = 22,
  D3DRS_LIGHTING = 137,
};
constexpr DWORD D3DRS_STATE_COUNT = 256;

enum D3DZBUFFERTYPE : DWORD {
  D3DZB_FALSE = 0,
  D3DZB_TRUE = 1,
};

enum D3DFILLMODE : DWORD {
  D3DFILL_POINT = 1,  // drawn as solid
  D3DFILL_WIREFRAME = 2,
  D3DFILL_SOLID = 3,
};

enum D3DSHADEMODE : DWORD {
  D3DSHADE_FLAT = 1,
  D3DSHADE_GOURAUD = 2,
};

enum D3DCULL : DWORD {
  D3DCULL_NONE = 1,
  D3DCULL_CW = 2,   // removes triangles that appear clockwise on the screen
  D3DCULL_CCW = 3,  // removes triangles that appear counter-clockwise
};

// Texture stage states, kept for stages 0 to 7; drawing always takes the
// colour of the stage-0 texture, point sampled.
enum D3DTEXTURESTAGESTATETYPE : DWORD {
  D3DTSS_COLOROP = 1,
  D3DTSS_COLORARG1 = 2,
  D3DTSS_COLORARG2 = 3,
  D3DTSS_MAGFILTER = 16,
  D3DTSS_MINFILTER = 17,
};
constexpr DWORD D3DTSS_STAGE_COUNT = 8;
constexpr DWORD D3DTSS_STATE_COUNT = 32;

enum D3DTEXTUREOP : DWORD {
  D3DTOP_DISABLE = 1,
  D3DTOP_SELECTARG1 = 2,
  D3DTOP_SELECTARG2 = 3,
  D3DTOP_MODULATE = 4,
};

// Texture argument sources.
constexpr DWORD D3DTA_DIFFUSE = 0;
constexpr DWORD D3DTA_CURRENT = 1;
constexpr DWORD D3DTA_TEXTURE = 2;

enum D3DTEXTUREFILTERTYPE : DWORD {
  D3DTEXF_NONE = 0,
  D3DTEXF_POINT = 1,
  D3DTEXF_LINEAR = 2,
};

// A 4 x 4 matrix, rows first; points are row vectors multiplied on the left.
struct D3DMATRIX {
  float _11, _12, _13, _14;
  float _21, _22, _23, _24;
  float _31, _32, _33, _34;
  float _41, _42, _43, _44;

  // Element at a zero-based row and column.
  float& operator()(UINT row, UINT col) { return this->*kCells[row & 3][col & 3]; }
  float operator()(UINT row, UINT col) const { return this->*kCells[row & 3][col & 3]; }

 private:
  static constexpr float D3DMATRIX::*kCells[4][4] = {
      {&D3DMATRIX::_11, &D3DMATRIX::_12, &D3DMATRIX::_13, &D3DMATRIX::_14},
      {&D3DMATRIX::_21, &D3DMATRIX::_22, &D3DMATRIX::_23, &D3DMATRIX::_24},
      {&D3DMATRIX::_31, &D3DMATRIX::_32, &D3DMATRIX::_33, &D3DMATRIX::_34},
      {&D3DMATRIX::_41, &D3DMATRIX::_42, &D3DMATRIX::_43, &D3DMATRIX::_44}};
};
static_assert(sizeof(D3DMATRIX) == 64);

struct D3DVECTOR {
  float x, y, z;
};
static_assert(sizeof(D3DVECTOR) == 12);

struct D3DRECT {
  LONG x1, y1, x2, y2;
};

struct D3DDISPLAYMODE {
  UINT Width;
  UINT Height;
  UINT RefreshRate;
  D3DFORMAT Format;
};

// Width and height 0 (windowed) take the device window's client area.
struct D3DPRESENT_PARAMETERS {
  UINT BackBufferWidth;
  UINT BackBufferHeight;
  D3DFORMAT BackBufferFormat;  // unknown, X8R8G8B8 or A8R8G8B8
  UINT BackBufferCount;
  D3DMULTISAMPLE_TYPE MultiSampleType;
  D3DSWAPEFFECT SwapEffect;
  HWND hDeviceWindow;  // null: the focus window given to CreateDevice
  BOOL Windowed;       // only windowed devices are offered
  BOOL EnableAutoDepthStencil;
  D3DFORMAT AutoDepthStencilFormat;  // D16 only
  DWORD Flags;
  UINT FullScreen_RefreshRateInHz;
  UINT FullScreen_PresentationInterval;
};

struct D3DLOCKED_RECT {
  INT Pitch;  // bytes from one row to the next, at least a row's size
  void* pBits;
};

struct D3DSURFACE_DESC {
  D3DFORMAT Format;
  D3DRESOURCETYPE Type;
  DWORD Usage;
  D3DPOOL Pool;
  UINT Size;  // bytes of the level, rows at their pitch
  D3DMULTISAMPLE_TYPE MultiSampleType;
  UINT Width;
  UINT Height;
};

struct D3DVERTEXBUFFER_DESC {
  D3DFORMAT Format;
  D3DRESOURCETYPE Type;
  DWORD Usage;
  D3DPOOL Pool;
  UINT Size;
  DWORD FVF;
};

// Reference counting shared by every interface: a created object starts with
// one reference and is destroyed by the Release that drops the last one.
class ID3DUnknown {
 public:
  virtual DWORD AddRef() = 0;
  virtual DWORD Release() = 0;

 protected:
  virtual ~ID3DUnknown() = default;
};

class IDirect3DDevice8;

class IDirect3DBaseTexture8 : public ID3DUnknown {
 public:
  virtual DWORD GetLevelCount() = 0;
};

class IDirect3DTexture8 : public IDirect3DBaseTexture8 {
 public:
  virtual HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) = 0;
  // rect null locks the whole level; one lock per level at a time.
  virtual HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
  virtual HRESULT UnlockRect(UINT level) = 0;
};

class IDirect3DVertexBuffer8 : public ID3DUnknown {
 public:
  // sizeToLock 0 locks from offsetToLock to the end; one lock at a time.
  virtual HRESULT Lock(UINT offsetToLock, UINT sizeToLock, BYTE** data, DWORD flags) = 0;
  virtual HRESULT Unlock() = 0;
  virtual HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) = 0;
};

class IDirect3DDevice8 : public ID3DUnknown {
 public:
  // Only whole-target clears (count 0, rects null); inside or outside a scene.
  virtual HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                        DWORD stencil) = 0;
  virtual HRESULT BeginScene() = 0;
  virtual HRESULT EndScene() = 0;
  // Hands the back buffer to the device window (or destWindowOverride). The
  // rectangles and dirty region must be null. D3DERR_DEVICELOST once the
  // device is lost, until Reset.
  virtual HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                          const void* dirtyRegion) = 0;
  // New back and depth buffers (sized as at creation), default states, no
  // texture or stream bound; every vertex buffer and texture stays valid.
  virtual HRESULT Reset(D3DPRESENT_PARAMETERS* params) = 0;

  virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) = 0;
  virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) = 0;
  virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
  virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) = 0;
  virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) = 0;
  virtual HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) = 0;

  // Binding holds a reference until the stage is rebound, reset or the device
  // is destroyed; null unbinds. GetTexture adds a reference to its result.
  virtual HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) = 0;
  virtual HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture8** texture) = 0;

  virtual HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                D3DFORMAT format, D3DPOOL pool, IDirect3DTexture8** texture) = 0;
  virtual HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                     IDirect3DVertexBuffer8** buffer) = 0;

  // Stream 0 only; binding holds a reference like SetTexture.
  virtual HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) = 0;
  virtual HRESULT GetStreamSource(UINT stream, IDirect3DVertexBuffer8** buffer, UINT* stride) = 0;
  // Sets the flexible vertex format of the vertices drawn.
  virtual HRESULT SetVertexShader(DWORD fvf) = 0;
  virtual HRESULT GetVertexShader(DWORD* fvf) = 0;

  // Triangle lists and strips, inside a scene; fails without drawing when a
  // vertex would be read past the end of the bound vertex buffer.
  virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) = 0;
};

class IDirect3D8 : public ID3DUnknown {
 public:
  virtual UINT GetAdapterCount() = 0;
  virtual HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) = 0;
  // Windowed devices only; params receives the back buffer size and format chosen.
  virtual HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                               D3DPRESENT_PARAMETERS* params, IDirect3DDevice8** device) = 0;
};

// Null for another SDK version.
IDirect3D8* Direct3DCreate8(UINT sdkVersion);
