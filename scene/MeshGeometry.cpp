// Lista_Mesh::BuildD3D: one textured polygon buffer per parsed mesh.

#include <memory>

#include "d3d/Device8.h"
#include "model/WadFile.h"
#include "scene/DisplayUnits.h"
#include "scene/MeshList.h"
#include "scene/MeshParser.h"
#include "scene/TextureCoords.h"
#include "scene/TexturePages.h"

namespace {

constexpr DWORD kMeshPolygonFlags = POLY_CULL_CCW;
constexpr DWORD kMeshGroup = 0;
constexpr std::uint32_t kBuildWrongFormat = 0xFFFFFFFFu;

// What the polygons of one mesh need besides their own words.
struct MeshContext {
  const MeshRecord& mesh;
  const WadFile& wad;
  const trTextura& pages;
};

void AddMeshVertex(dxPoligono& polygon, const MeshVertex& v) {
  const DisplayPoint p = ToDisplay(v.x, v.y, v.z);
  polygon.AddVertex(p.x, p.y, p.z);
}

bool IndicesInRange(const std::uint16_t* indices, int count, const MeshRecord& mesh) {
  for (int i = 0; i < count; ++i)
    if (indices[i] >= mesh.vertices.size()) return false;
  return true;
}

// The page texture and corners of a sample; null texture when the sample or
// its page does not exist, which leaves the polygon untextured.
IDirect3DTexture8* SampleTexture(const MeshContext& c, std::uint16_t sample,
                                 std::array<TexCoord, 4>& corners) {
  if (sample >= c.wad.textureSamples.size()) return nullptr;
  const WadTextureSample& s = c.wad.textureSamples[sample];
  corners = SampleCorners(SampleRect{s.x, s.y, s.addW, s.addH});
  return c.pages.GetTexture(s.page);
}

void Add(dxBufferTextura& buffer, std::unique_ptr<dxPoligono> polygon) {
  if (SUCCEEDED(buffer.AddPolygon(polygon.get()))) polygon.release();
}

void AddQuad(dxBufferTextura& buffer, const MeshContext& c, const MeshRect& rect) {
  if (!IndicesInRange(rect.indices, 4, c.mesh)) return;
  auto quad = std::make_unique<dxCuadradoTex>(kMeshPolygonFlags, kMeshGroup);
  // Strip order: the quad's corners 0, 1, 3, 2.
  for (int corner : {0, 1, 3, 2}) AddMeshVertex(*quad, c.mesh.vertices[rect.indices[corner]]);
  const QuadTexture texture = DecodeQuadTexture(rect.texture);
  std::array<TexCoord, 4> corners{};
  if (IDirect3DTexture8* page = SampleTexture(c, texture.sample, corners)) {
    const auto uv = QuadTexCoords(corners, texture.mirrored);
    quad->SetTexture(page, uv[0].u, uv[0].v, uv[1].u, uv[1].v, uv[2].u, uv[2].v, uv[3].u,
                     uv[3].v);
  }
  Add(buffer, std::move(quad));
}

void AddTriangle(dxBufferTextura& buffer, const MeshContext& c, const MeshTri& tri) {
  if (!IndicesInRange(tri.indices, 3, c.mesh)) return;
  auto triangle = std::make_unique<dxTrianguloTex>(kMeshPolygonFlags, kMeshGroup);
  for (int corner : {0, 1, 2}) AddMeshVertex(*triangle, c.mesh.vertices[tri.indices[corner]]);
  const TriangleTexture texture = DecodeTriangleTexture(tri.texture);
  std::array<TexCoord, 4> corners{};
  if (IDirect3DTexture8* page = SampleTexture(c, texture.sample, corners)) {
    const auto uv = TriangleTexCoords(corners, texture.cornerCode, texture.mirrored);
    triangle->SetTexture(page, uv[0].u, uv[0].v, uv[1].u, uv[1].v, uv[2].u, uv[2].v);
  }
  Add(buffer, std::move(triangle));
}

}  // namespace

std::uint32_t Lista_Mesh::BuildD3D(dxDevice8& device, const trTextura& pages,
                                   const WadFile& wad) {
  if (format != MESH_FORMAT_WAD) return kBuildWrongFormat;
  buffers.clear();
  if (count == 0) return static_cast<std::uint32_t>(E_FAIL);
  buffers.reserve(static_cast<std::size_t>(count));
  MeshRecord split;
  for (const auto& record : records) {
    ConvertWadMesh(*record, split);
    auto buffer = std::make_unique<dxBufferTextura>();
    const MeshContext context{split, wad, pages};
    for (const MeshRect& rect : split.rects) AddQuad(*buffer, context, rect);
    for (const MeshTri& tri : split.tris) AddTriangle(*buffer, context, tri);
    // A mesh without polygons has nothing to upload; it stays an empty buffer.
    device.AddBuffer(buffer.get());
    buffers.push_back(std::move(buffer));
  }
  return 0;
}
