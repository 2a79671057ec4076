#pragma once
// How the meshes of a moveable hang together, from the WAD's link stream.
//
// Mesh k > 0 has one link of four 32-bit words (op, dx, dy, dz): its offset
// from its parent in WAD units (Y down) and how the parent is found:
//   op 0  the previous mesh
//   op 2  the previous mesh, which is also pushed on a stack
//   op 1  the mesh on top of the stack, which is popped
//   op 3  the mesh on top of the stack, which stays
// Links that the stream does not hold count as (0, 0, 0, 0), unknown ops as 0,
// and a pop or top on an empty stack as the root mesh.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

enum LinkOp : std::int32_t {
  LINK_CHILD = 0,
  LINK_POP = 1,
  LINK_PUSH = 2,
  LINK_TOP = 3,
};

constexpr std::size_t kLinkWords = 4;  // op, dx, dy, dz

struct MeshHierarchy {
  // Bind-pose position of each mesh in display units; mesh 0 at the origin.
  std::vector<std::array<float, 3>> pivots;
  // Offset of each mesh from its parent in display units, cut to whole
  // display units; entry 0 is 0.
  std::vector<float> relX, relY, relZ;
  // Parent of each mesh; -1 for mesh 0. Parents come before their children.
  std::vector<std::int32_t> parent;
};

// The hierarchy of numMeshes meshes whose links start at word linkIndex of the
// linkWordCount words of links.
MeshHierarchy BuildMeshHierarchy(const std::int32_t* links, std::size_t linkWordCount,
                                 std::size_t linkIndex, std::int32_t numMeshes);
