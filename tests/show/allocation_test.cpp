// Counts every operator new of this test executable while the show runs: a running frame
// must not allocate. The GL driver may compile state variants on first use, so every frame
// range is drawn once before the counted pass.
#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "show_fixture.h"

namespace {

std::atomic<bool> countingAllocations{false};
std::atomic<long> allocationCount{0};

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

int bangCount = 0;
void CountBang(const std::string&) {
    ++bangCount;
}

class AllocationTest : public ShowTest {
  protected:
    // The opening's end, the sun with its bangs, the collapse, the blast, the fade and the
    // restart into the next cycle.
    void DrawTheShowsTurningPoints() {
        showState.showFrame = 4990;
        RunUntilFrame(6100);
        showState.showFrame = 8990;
        RunUntilFrame(10);
    }
};

TEST_F(AllocationTest, RunningFramesAllocateNothing) {
    settings.useblur = 1;
    SetSoundEffectSpyForTests(&CountBang);

    DrawTheShowsTurningPoints();
    const int bangsBefore = bangCount;
    countingAllocations = true;
    DrawTheShowsTurningPoints();
    countingAllocations = false;

    EXPECT_EQ(allocationCount.load(), 0);
    EXPECT_GE(bangCount - bangsBefore, 40);  // the counted pass did play its bangs
}

}  // namespace

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
