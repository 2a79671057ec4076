#pragma once
// The parsed meshes of the open WAD, in mesh-data order, each with the textured
// polygon buffer that draws it once BuildD3D has run.

#include <cstdint>
#include <memory>
#include <vector>

#include "scene/MeshRecord.h"

class dxBufferTextura;
class dxDevice8;
class trTextura;
struct WadFile;

class Lista_Mesh {
 public:
  explicit Lista_Mesh(int format);
  ~Lista_Mesh();
  Lista_Mesh(const Lista_Mesh&) = delete;
  Lista_Mesh& operator=(const Lista_Mesh&) = delete;

  // Appends a record.
  void Add(std::unique_ptr<MeshRecord> record);

  // The record at position i; 0 when there is none.
  std::uint32_t Get(std::int32_t i, MeshRecord** out) const;
  const MeshRecord* Get(std::int32_t i) const;

  // Position of the first record that starts at the given byte offset; -1 when none.
  std::int32_t Find(std::uint32_t offset) const;

  std::int32_t Count() const { return count; }
  int Format() const { return format; }

  // Builds one uploaded textured buffer per mesh from the WAD's texture samples
  // and the texture pages: 0 when built, -1 (as u32) for a list not in the WAD
  // format, E_FAIL for a list without meshes.
  std::uint32_t BuildD3D(dxDevice8& device, const trTextura& pages, const WadFile& wad);

  // The buffer of mesh i; null when i is not a position or nothing was built.
  dxBufferTextura* GetBuffer(std::int32_t i) const;

 private:
  std::vector<std::unique_ptr<MeshRecord>> records;
  std::int32_t count = 0;
  int format;
  std::vector<std::unique_ptr<dxBufferTextura>> buffers;
};
