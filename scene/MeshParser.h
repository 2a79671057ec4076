#pragma once
// Parsing the WAD's mesh words into mesh records, and the two record layouts'
// byte sizes.
//
// Mesh layout (little-endian, meshes back to back):
//   i16 centerX, centerY, centerZ; i32 radius
//   i16 numVertices;  numVertices x (i16 x, y, z)
//   i16 numNormals;   > 0: numNormals x (i16 x, y, z)
//                     < 0: -numNormals x i16 shade
//   format 2: i16 numPolygons; per polygon u16 shape, then 3 (shape 8) or
//             4 (shape 9) u16 vertex indices, none for other shapes, then
//             u16 texture, u8 attribute, u8 extra
//   format 1: i16 numRects; numRects x MeshRect; i16 numTris; numTris x MeshTri
//   2 pad bytes when the mesh's size so far is not a multiple of 4
// A count of 0 or less stands for an empty array.

#include <cstdint>
#include <memory>

#include "scene/MeshRecord.h"

class Lista_Mesh;

// Parses sizeBytes bytes of mesh data into a new list of the given format,
// stored in out, and returns 1. Returns 0, leaving out untouched, when there
// is no data or the format is unknown. Parsing stops at the first mesh that
// does not fit in the data; the complete meshes before it are kept.
std::uint32_t ParseMeshData(const std::uint8_t* data, std::uint32_t sizeBytes,
                            std::unique_ptr<Lista_Mesh>& out, int format);

// Byte size of a record in the given layout. In format 2 the polygon list is
// left out of the count.
std::int32_t MeshByteSize(const MeshRecord& record, int format);

// Fills dst with the format-1 form of the format-2 record src: quads become
// rects and triangles become tris, in order; polygons of other shapes are
// dropped. Returns dst's format-1 byte size, pad included.
std::int32_t ConvertWadMesh(const MeshRecord& src, MeshRecord& dst);
