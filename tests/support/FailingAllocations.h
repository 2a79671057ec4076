#pragma once
// Makes an allocation through operator new fail on purpose, in a test
// program that links wad_test_heap (TestHeap.cpp).

#include <cstddef>

namespace failingallocations {

// The n-th allocation from now on (1 for the next) fails: std::bad_alloc
// from the throwing forms, null from the nothrow ones. Only that one.
void FailAllocation(std::size_t n);
// Ends the countdown; true when an allocation was made to fail.
bool Disarm();

}  // namespace failingallocations
