// The two layers that the frame driver lays over the whole picture: the motion-blur overlay,
// which darkens the kept previous frame so that moving lights leave trails, and the end
// fade to black. Both blend with (GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA) and set the show's
// (GL_SRC_ALPHA, GL_ONE) back; both leave texturing enabled. They cover the view at any
// aspect ratio of the viewport.
#pragma once

// detailLevel 0, 1 or 2: alpha 64, 96 or 128 of 255; the higher, the shorter the trails.
void DrawBlurOverlay(int detailLevel);
// alpha 0 leaves the picture as it is, 1 makes it black.
void DrawEndFade(float alpha);
