#include "display/letterbox.h"

LetterboxRect FitPicture(int pictureWidth, int pictureHeight, int windowWidth, int windowHeight) {
    // Cross-multiplied in 64 bits so that no size combination overflows or rounds wrongly.
    const long long pictureByWindow = static_cast<long long>(pictureWidth) * windowHeight;
    const long long windowByPicture = static_cast<long long>(windowWidth) * pictureHeight;
    int width = windowWidth;
    int height = windowHeight;
    if (pictureByWindow > windowByPicture) {
        height = static_cast<int>(windowByPicture / pictureWidth);
    } else {
        width = static_cast<int>(pictureByWindow / pictureHeight);
    }
    const int x0 = (windowWidth - width) / 2;
    const int y0 = (windowHeight - height) / 2;
    return {x0, y0, x0 + width, y0 + height};
}
