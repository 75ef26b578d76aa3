// The virtual video mode: the show always draws into an offscreen framebuffer of the chosen
// mode's size and depth (RGB565 at 16 bits, RGB8 at 32, a 16-bit depth buffer); each swap
// presents it to the window scaled to fit with its aspect kept (black bars). The monitor's
// real mode is never touched, and the colour buffer keeps the previous frame exactly, as the
// motion blur expects. GL only: the window layer and the offscreen renderer share it.
#pragma once
#include <cstdint>
#include <vector>

// Makes and binds the framebuffer for drawing; false (nothing kept) when the size cannot be
// made: 0 x 0, above the GL limits, or an incomplete framebuffer. Needs a current context.
bool EnterVirtualMode(int width, int height, int colorDepth);
// As EnterVirtualMode where the context has framebuffer objects. Where it has none (Windows'
// own generic OpenGL 1.1) the mode is drawn straight into the window instead, at the scaled
// size and place the presentation would give it, and a frame no longer starts from the last.
bool EnterVirtualOrDirectMode(int width, int height, int colorDepth);
// The viewport for a picture of width x height: all of the framebuffer, or the picture's
// place in the window when drawing straight into it.
void SetPictureViewport(int width, int height);
// Releases the framebuffer; safe when none is held.
void LeaveVirtualMode();
bool InVirtualMode();
// Copies the picture to the default framebuffer of a window of the given size, scaled to fit
// with black bars, and binds the virtual framebuffer again for the next frame; drawing
// straight into the window, moves the picture's place to follow the window's size.
void PresentVirtualMode(int windowWidth, int windowHeight);
// Reads the picture back as RGB rows, top row first (for PNG files and tests).
std::vector<std::uint8_t> ReadVirtualModePixels();
