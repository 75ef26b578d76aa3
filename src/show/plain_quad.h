// The square that whole-view layers of the show are drawn with (the white-out, the white layer
// over the sun, the collapse flash): one GL_QUADS polygon from (-5, -5, 0) to (5, 5, 0),
// corners in counter-clockwise order, in the current colour, without texture coordinates. It
// covers the 45-degree view when drawn 5 units or less in front of the camera. Up to an aspect
// of about 2.4:1 that takes no more than the square; on wider viewports (a 32:9 monitor) it
// grows sideways with the aspect, so that no side bands are left.
#pragma once

// The current viewport's width over its height (1 for an empty viewport).
double ViewportAspect();

void DrawPlainQuad();
