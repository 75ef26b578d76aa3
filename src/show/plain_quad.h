// The square that whole-view layers of the show are drawn with (the white layer over the
// sun, the collapse flash): one GL_QUADS polygon from (-5, -5, 0) to (5, 5, 0), corners in
// counter-clockwise order, in the current colour, without texture coordinates. It covers the
// 45-degree view when drawn 5 units or less in front of the camera at aspect ratios up to
// about 2.4:1.
#pragma once

void DrawPlainQuad();
