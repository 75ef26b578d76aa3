// The preview's way to the screen: drawn offscreen, copied into the window with X requests.
//
// A preview lives inside another client's window, which that client may destroy at any moment.
// GL drawing into a window that has gone brings the software rasteriser down, and holding every
// other client still around each present freezes the whole display whenever the preview stalls.
// So a preview's GL context draws only into a pbuffer of its own, and each present reads the
// picture back and copies it into the window with core X and Render requests: when the window
// has gone, the copy fails with an X error that is trapped, and nothing else happens.
//
// Limits: the picture is drawn at most as large as the screen and as a pbuffer can be, with the
// window's aspect, and scaled up to the window by the X server; a window larger than the screen
// can never show more. Without the Render extension, or without a 24-bit pixmap depth, a preview
// shows nothing (its window stays black) but runs as usual.
#pragma once
#include <GL/glx.h>
#include <X11/Xlib.h>

struct PreviewPresent;

// The size the preview's picture is drawn at for a window of this size.
void PreviewDrawingSize(Display* display, GLXFBConfig config, int windowWidth, int windowHeight,
                        int* width, int* height);

// A pbuffer of the drawing size for contexts of `config`; null when none can be made.
PreviewPresent* CreatePreviewPresent(Display* display, GLXFBConfig config, int width, int height);
GLXDrawable PreviewDrawable(const PreviewPresent* present);
// Copies the current context's back buffer, which must be the pbuffer, into `window` (of the
// given visual and size), scaled to fill it. False when the window has gone or refuses it.
bool PresentPreview(Display* display, PreviewPresent* present, Window window, Visual* visual,
                    int windowWidth, int windowHeight);
// Not while the pbuffer is current.
void DestroyPreviewPresent(Display* display, PreviewPresent* present);
