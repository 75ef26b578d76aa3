// Sine and cosine that give the same bits on every system and every x86-64 processor.
//
// Each C library computes sin and cos its own way (glibc even picks its code by the processor),
// and a last-bit difference in a vertex moves the edge of a triangle by a pixel. Everything that
// places the show's geometry (the camera, the scenes' motion, the sun's meshes, the projection)
// takes its sines and cosines from here instead.
//
// Contract:
//   - Input: any double, in radians. Output: a double within one unit in the last place of the
//     true value for |x| up to 2^19 * pi/2 (about 823,000), which covers every angle the show
//     makes. Beyond that the argument is first reduced by the double nearest 2 pi, which keeps
//     the result the same everywhere but lets its error grow with x.
//   - NaN or an infinity gives NaN, as the C library does.
//   - Plain double arithmetic only (no library calls but exact ones: fabs, fmod, isfinite); the
//     file is compiled without contraction into fused multiply-adds, so the bits depend on
//     neither the compiler's choices nor the CPU. Float users narrow the double result.
#pragma once

double PortableSin(double x);
double PortableCos(double x);
