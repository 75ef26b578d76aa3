// The show's one random generator, with the C runtime's rand contract:
// state = state * 214013 + 2531011 (mod 2^32), result = (state >> 16) & 0x7FFF.
// It starts from state 1 and the program never reseeds it, so every run draws the same
// numbers in the same order. (glibc's rand() is a different algorithm.)
#pragma once
#include <cstdint>

// The next number, 0 to 32767.
int NextRandom();
// r(n): the next number modulo n, 0 to n - 1; one draw.
int Random(int n);

std::uint32_t RandomState();
// For tests and the offscreen renderer's replay only; the saver never calls it.
void SetRandomState(std::uint32_t state);
