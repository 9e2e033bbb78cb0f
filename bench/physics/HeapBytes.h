#pragma once

#include <cstddef>

// The bytes taken through operator new since the program started.
std::size_t heapBytes();
