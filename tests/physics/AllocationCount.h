#pragma once

// The number of allocations through operator new since the program started.
int allocationCount();
