#pragma once
// Memory for polygons. A WAD brings tens of thousands of them (its cages
// alone are four quads per keyframe), made and destroyed together on every
// open: they take their memory from free lists of their own size rather than
// from the general heap. One thread only, as all drawing.

#include <cstddef>

namespace polygonpool {

void* Allocate(std::size_t bytes);
void Release(void* memory, std::size_t bytes) noexcept;

}  // namespace polygonpool
