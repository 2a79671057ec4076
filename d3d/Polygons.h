#pragma once
// One triangle or quad of a drawable model: its vertices, its flags (see
// VertexFormats.h), the group the renderer filters by and, for the textured
// kinds, a texture that the polygon uses but does not own. Callers fill the
// vertices in corner order with AddVertex; for a quad that is triangle-strip
// order (corners 0, 1, 2 form the first triangle, 1, 2, 3 the second).

#include <cstddef>

#include "d3d/PolygonPool.h"
#include "d3d/VertexFormats.h"

class dxPoligono {
 public:
  virtual ~dxPoligono() = default;
  static void* operator new(std::size_t bytes) { return polygonpool::Allocate(bytes); }
  static void operator delete(void* memory, std::size_t bytes) noexcept {
    polygonpool::Release(memory, bytes);
  }
  dxPoligono(const dxPoligono&) = delete;
  dxPoligono& operator=(const dxPoligono&) = delete;

  // The class's own vertex array: dxVertexColor8 for the untextured kinds,
  // dxVertexTextura for the textured ones.
  virtual const void* GetVertices() const = 0;

  // Writes the next corner's position; E_FAIL, writing nothing, once every
  // corner has one.
  virtual HRESULT AddVertex(float x, float y, float z) = 0;

  // The texture of the textured kinds; none for the others.
  virtual IDirect3DTexture8* GetTexture() const { return nullptr; }

  DWORD GetFlags() const { return flags; }
  DWORD GetGroup() const { return group; }
  // 3 for the triangles, 4 for the quads.
  int GetVertexCount() const { return lastVertex + 1; }

 protected:
  dxPoligono(DWORD flags, DWORD group, int lastVertex)
      : flags(flags), lastVertex(lastVertex), group(group) {}

  // Writes x, y, z into vertices[currentVertex] and moves on; E_FAIL once
  // every corner is set.
  template <typename Vertex>
  HRESULT WriteNextVertex(Vertex* vertices, float x, float y, float z) {
    if (currentVertex > lastVertex) return E_FAIL;
    Vertex& v = vertices[currentVertex++];
    v.x = x;
    v.y = y;
    v.z = z;
    return S_OK;
  }

  DWORD flags;
  int currentVertex = 0;
  int lastVertex;
  DWORD group;
};

class dxTriangulo : public dxPoligono {
 public:
  dxTriangulo(DWORD flags, DWORD group) : dxPoligono(flags, group, 2) {}
  const void* GetVertices() const override { return vertices; }
  HRESULT AddVertex(float x, float y, float z) override {
    return WriteNextVertex(vertices, x, y, z);
  }

 private:
  dxVertexColor8 vertices[3] = {};
};

class dxCuadrado : public dxPoligono {
 public:
  dxCuadrado(DWORD flags, DWORD group) : dxPoligono(flags, group, 3) {}
  const void* GetVertices() const override { return vertices; }
  HRESULT AddVertex(float x, float y, float z) override {
    return WriteNextVertex(vertices, x, y, z);
  }

 private:
  dxVertexColor8 vertices[4] = {};
};

class dxTrianguloTex : public dxTriangulo {
 public:
  dxTrianguloTex(DWORD flags, DWORD group) : dxTriangulo(flags, group) {}
  const void* GetVertices() const override { return texVertices; }
  HRESULT AddVertex(float x, float y, float z) override {
    return WriteNextVertex(texVertices, x, y, z);
  }

  // Stores the texture and the (u, v) of vertices 0, 1, 2; E_FAIL for a null
  // texture, changing nothing.
  HRESULT SetTexture(IDirect3DTexture8* texture, float u0, float v0, float u1, float v1, float u2,
                     float v2);
  IDirect3DTexture8* GetTexture() const override { return texture; }

 private:
  dxVertexTextura texVertices[3] = {};
  IDirect3DTexture8* texture = nullptr;  // not owned
};

class dxCuadradoTex : public dxCuadrado {
 public:
  dxCuadradoTex(DWORD flags, DWORD group) : dxCuadrado(flags, group) {}
  const void* GetVertices() const override { return texVertices; }
  HRESULT AddVertex(float x, float y, float z) override {
    return WriteNextVertex(texVertices, x, y, z);
  }

  // Stores the texture and the (u, v) of vertices 0 to 3; E_FAIL for a null
  // texture, changing nothing.
  HRESULT SetTexture(IDirect3DTexture8* texture, float u0, float v0, float u1, float v1, float u2,
                     float v2, float u3, float v3);

  // Maps the rectangle of texels (x, y, w, h) of the texture's top level onto
  // the strip: vertex 0 top-left, 1 bottom-left, 2 top-right, 3 bottom-right.
  // E_FAIL, changing nothing, for a null texture or one whose size cannot be
  // read or is 0.
  HRESULT SetTextureRect(IDirect3DTexture8* texture, int x, int y, int w, int h);
  IDirect3DTexture8* GetTexture() const override { return texture; }

  // texel / size as a texture coordinate (0 for a size of 0).
  static float TexelToU(int texel, int size);
  static float TexelToV(int texel, int size);

 private:
  dxVertexTextura texVertices[4] = {};
  IDirect3DTexture8* texture = nullptr;  // not owned
};
