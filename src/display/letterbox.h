// Where a picture goes inside a window when it is scaled to fit with its aspect kept: as
// large as fits, centred, the rest left for black bars. Pure arithmetic, in pixels.
#pragma once

struct LetterboxRect {
    int x0, y0, x1, y1;  // x1 and y1 one past the last pixel
};

// Both sizes must be positive.
LetterboxRect FitPicture(int pictureWidth, int pictureHeight, int windowWidth, int windowHeight);
