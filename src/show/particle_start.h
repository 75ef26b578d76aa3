// The starting values of the three particle systems, drawn from the show's generator once
// the tables exist. The set-up calls them in this order (ring, comets, debris), so that the
// same draws land in the same particles on every run.
#pragma once

// Every arm, and within an arm layers 0, 1, 2.
void InitialiseRingParticles();
void InitialiseComets();
void InitialiseDebris();
