#pragma once
// The heap bytes the test program holds through operator new, and the most
// it held since the meter was last reset, in a test program that links
// wad_test_heap (TestHeap.cpp).

#include <cstddef>

namespace heapmeter {

std::size_t InUse();
std::size_t Peak();
void ResetPeak();  // to what is in use now

}  // namespace heapmeter
