#pragma once
// A polygon buffer owns the polygons of one drawable unit and builds from them
// one vertex array plus per-polygon flags, groups and textures, in the form
// the device uploads (dxDevice8::AddBuffer), draws (dxDevice8::Render) and
// picks (dxDevice8::Pick). Polygon 0 of the built arrays is the polygon added
// last. Each buffer carries its own world matrix, which callers compose every
// frame: every operation multiplies its matrix on the left, so a vertex goes
// through the most recently applied operation first.
//
// dxBufferColor8 builds untextured polygons (dxTriangulo, dxCuadrado) into
// 16-byte vertices; dxBufferTextura builds textured ones (dxTrianguloTex,
// dxCuadradoTex) into 20-byte vertices.

#include <memory>
#include <vector>

#include "d3d/Polygons.h"
#include "d3d8/D3DXMath.h"

class dxDevice8;

class dxBufferColor8 {
 public:
  dxBufferColor8();
  virtual ~dxBufferColor8();
  dxBufferColor8(const dxBufferColor8&) = delete;
  dxBufferColor8& operator=(const dxBufferColor8&) = delete;

  // Takes ownership of the polygon and marks the buffer dirty. A polygon of a
  // kind this buffer does not build (or null) is refused with E_FAIL and
  // stays the caller's.
  HRESULT AddPolygon(dxPoligono* polygon);

  // Rebuilds every array from all polygons; returns the vertex data size in
  // bytes, or -1, changing nothing, when nothing was added since the last
  // upload. Rebuilding leaves the buffer not uploaded until the device gives
  // it a vertex buffer again.
  int BuildVertexData();
  // The built vertex array, dxVertexColor8 or dxVertexTextura by the kind
  // of buffer (null before the first build).
  const void* GetVertexData() const;
  // Corner positions of built polygon i into p0..p3 (p3 only for a quad);
  // returns 1 for a quad, 0 for a triangle, and also 0, writing nothing, for
  // an index outside the built polygons.
  int GetPolygonVertices(int i, float p0[3], float p1[3], float p2[3], float p3[3]) const;
  // Texture of built polygon i; untextured buffers have none.
  virtual IDirect3DTexture8* GetPolygonTexture(int i) const;

  // The vertex buffer holding the built vertices. Storing one releases the
  // previous one and marks the built arrays as uploaded when it is not null.
  IDirect3DVertexBuffer8* GetVertexBuffer() const { return vertexBuffer; }
  void SetVertexBuffer(IDirect3DVertexBuffer8* buffer);

  // Counts of all polygons added, built or not.
  int GetNumTriangles() const { return numTriangles; }
  int GetNumQuads() const { return numQuads; }
  int GetNumVertices() const { return numTriangles * 3 + numQuads * 4; }

  // Polygons in the built arrays, and the number of them that drawing and
  // picking may use: the built ones once uploaded, else 0.
  int GetBuiltPolygonCount() const { return static_cast<int>(polygonFlags.size()); }
  int GetUploadedPolygonCount() const { return uploaded ? GetBuiltPolygonCount() : 0; }
  // First vertex of built polygon i in the vertex array (0 outside them).
  int GetPolygonFirstVertex(int i) const;

  DWORD GetFVF() const { return fvf; }
  DWORD GetStride() const { return stride; }
  void ClearDirty() { dirty = false; }

  // The built copy of the flags; the polygons keep their own. Entries outside
  // the built polygons read as 0 and ignore writes; a write keeps the entry's
  // POLY_QUAD bit, which describes the built vertices.
  DWORD GetPolygonFlags(int i) const;
  void SetPolygonFlags(int i, DWORD flags);
  DWORD GetPolygonGroup(int i) const;

  HRESULT Translate(float x, float y, float z);
  void RotateX(float radians);
  void RotateY(float radians);
  void Scale(float s);
  void MultiplyWorld(D3DXMATRIX matrix);
  void ResetWorld();
  D3DXMATRIX GetWorldMatrix() const { return world; }

 protected:
  dxBufferColor8(DWORD fvf, DWORD stride);

  // Whether this buffer builds polygons of that exact class.
  virtual bool Builds(const dxPoligono& polygon) const;
  // Hooks of the build for what a derived buffer keeps per polygon: first the
  // polygon count, then each polygon in built order.
  virtual void StartBuild(int polygonCount) {}
  virtual void BuildPolygon(int i, const dxPoligono& polygon) {}
  // Flag bits the build adds to every polygon's flags besides POLY_QUAD.
  virtual DWORD AddedFlags() const { return 0; }

  bool IsBuilt(int i) const { return i >= 0 && i < GetBuiltPolygonCount(); }

 private:
  friend class dxDevice8;  // keeps registeredWith

  void PreMultiply(const D3DXMATRIX& m);

  // Built vertices, stride bytes each, copied unchanged from the polygons.
  std::unique_ptr<unsigned char[]> vertexData;
  std::size_t vertexBytes = 0;
  IDirect3DVertexBuffer8* vertexBuffer = nullptr;  // owned reference
  std::vector<DWORD> polygonFlags;
  std::vector<DWORD> polygonGroups;
  std::vector<int> polygonFirstVertex;
  int numTriangles = 0;
  int numQuads = 0;
  bool dirty = false;
  bool uploaded = false;  // vertexBuffer holds the built vertices
  // In the order added; the build walks them from the last one.
  std::vector<std::unique_ptr<dxPoligono>> polygons;
  DWORD fvf;
  DWORD stride;
  D3DXMATRIX world;
  // The device whose registry holds this buffer; a destroyed buffer leaves it.
  dxDevice8* registeredWith = nullptr;
};

class dxBufferTextura : public dxBufferColor8 {
 public:
  dxBufferTextura();

  IDirect3DTexture8* GetPolygonTexture(int i) const override;

 protected:
  bool Builds(const dxPoligono& polygon) const override;
  void StartBuild(int polygonCount) override;
  void BuildPolygon(int i, const dxPoligono& polygon) override;
  DWORD AddedFlags() const override { return POLY_TEXTURED; }

 private:
  std::vector<IDirect3DTexture8*> polygonTextures;  // not owned
};
