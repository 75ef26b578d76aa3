#include "test_allocation.h"

#include <cstdlib>
#include <new>

std::atomic<bool> countingAllocations{false};
std::atomic<long> allocationCount{0};

namespace {

std::atomic<bool> failNextNothrowArray{false};

void* CountedAllocation(std::size_t size) noexcept {
    if (countingAllocations.load(std::memory_order_relaxed)) {
        allocationCount.fetch_add(1, std::memory_order_relaxed);
    }
    return std::malloc(size == 0 ? 1 : size);
}

void* CountedAllocationOrThrow(std::size_t size) {
    if (void* memory = CountedAllocation(size)) return memory;
    throw std::bad_alloc();
}

}  // namespace

void FailNextNothrowArrayAllocation() {
    failNextNothrowArray = true;
}

// Every form that the libraries of this process may pair with our delete; all use malloc.
void* operator new(std::size_t size) {
    return CountedAllocationOrThrow(size);
}
void* operator new[](std::size_t size) {
    return CountedAllocationOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return CountedAllocation(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (failNextNothrowArray.exchange(false)) return nullptr;
    return CountedAllocation(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
