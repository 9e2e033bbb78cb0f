#pragma once

#include <cstddef>

// The number of allocations through operator new since the program started.
int allocationCount();
// The bytes they asked for.
std::size_t allocatedBytes();
