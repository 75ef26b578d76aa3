#include "show/random.h"

namespace {
std::uint32_t randomState = 1;
}

int NextRandom() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFF);
}

int Random(int n) {
    return NextRandom() % n;
}

std::uint32_t RandomState() {
    return randomState;
}

void SetRandomState(std::uint32_t state) {
    randomState = state;
}
