// The blast's three particle systems: the shock ring (sparks set out on a widening ring,
// drifting inward and fading), the comets (sparks falling through the scene from above and
// rising from below) and the debris (sparks thrown out from the centre). Their records and
// tables live in the show state.
//
// The set-up gives every particle its starting values once, in the order ring, comets, debris,
// so that the same draws land in the same particles on every run. The blast scene then calls
// the per-frame routines once per particle per frame, in the same order: every ring arm with
// layers 0, 1, 2, every comet, every debris particle. A per-frame routine advances its
// particle, draws it (leaving the matrix stack and the blend state as it found them) and, for
// the ring and the comets, respawns it in the same call once it has run its course; the
// debris is thrown out anew only by the blast's bursts.
#pragma once

// Every arm, and within an arm layers 0, 1, 2.
void InitialiseRingParticles();
void InitialiseComets();
// Also the blast's burst: every debris particle back at the centre with new values.
void InitialiseDebris();

// The caller has bound texStar, rotated by arm x 360 / ringArmCount degrees about y (whole
// degrees) and moved out by ringRadius along x. Layers 1 and 2 first draw a copy of the ring
// quad at the arm's ring point, scaled by the layer, in the colour left by the particle drawn
// before them.
void DrawRingParticle(int arm, int layer);
// spin: the scene's spinAngle, which turns the comets' paths.
void DrawComet(int index, int spin);
void DrawDebris(int index);
