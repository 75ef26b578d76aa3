// This test program's own allocation functions, which replace the standard library's (as C++
// lets a program do) so that a test can watch and provoke what the show's allocations meet:
// they count while counting is on, and can fail a nothrow array allocation as an exhausted
// heap would. All of them allocate with malloc.
#pragma once
#include <atomic>

extern std::atomic<bool> countingAllocations;
extern std::atomic<long> allocationCount;

// The next nothrow array allocation (new (std::nothrow) T[n]) of any thread returns nullptr.
void FailNextNothrowArrayAllocation();
