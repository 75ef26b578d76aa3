// The sun's sphere and its rays' cones, sent to GL in immediate mode exactly as a GLU quadric
// with texture coordinates, smooth normals, outside orientation and filled style sends them:
// the same primitives (one GL_QUAD_STRIP per stack), the same vertex order, normals and
// texture coordinates, and the same float and double roundings, but with the sines and
// cosines of base/portable_trig.h, so that the meshes' vertices have the same bits on every
// system. Nothing is allocated; each call works on arrays on the stack.
//
// As GLU does, slices are capped at kMaxMeshSlices and stacks at kMaxMeshStacks, and a shape
// with fewer than 2 slices, no stack or a negative size draws nothing.
#pragma once

inline constexpr int kMaxMeshSlices = 239;
inline constexpr int kMaxMeshStacks = 239;

// A sphere around the origin, its poles on the z axis; texture t runs from 0 at -z to 1 at +z.
void DrawTexturedSphere(double radius, int slices, int stacks);

// A cylinder (a cone if one radius is 0) from z = 0 (baseRadius) to z = height (topRadius).
void DrawTexturedCylinder(double baseRadius, double topRadius, double height, int slices,
                          int stacks);
