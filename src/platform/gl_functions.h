// The OpenGL entry points past version 1.1 that the saver calls: the framebuffer objects of
// the virtual video mode. Windows' opengl32 exports only 1.1, and even where a library exports
// more, an entry point belongs to the driver of the current context; so each is fetched from
// that driver, once a context is current, into one table.
//
//   - LoadGlFunctions fills glFunctions for the context current now (call it again after
//     making another current: the drivers of two contexts may differ). It returns true when
//     the context offers framebuffer objects (OpenGL 3.0, or GL_ARB_framebuffer_object) and
//     every entry was found; otherwise an entry may be null, and the caller must then not use
//     framebuffer objects at all (Windows' own generic OpenGL 1.1 has none).
//   - GlProcAddress is each system's own lookup: the entry point of the current context named
//     `name`, or null.
#pragma once
#include <GL/gl.h>
#include <GL/glext.h>

struct GlFunctions {
    PFNGLGENFRAMEBUFFERSPROC GenFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC BindFramebuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC CheckFramebufferStatus = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer = nullptr;
    PFNGLBLITFRAMEBUFFERPROC BlitFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC GenRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC BindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage = nullptr;
};

extern GlFunctions glFunctions;

bool LoadGlFunctions();
// Whether `name` is a whole word of a space-separated extension list (GL's, GLX's, WGL's): a
// plain search would take a name for any longer name it begins.
bool ExtensionListed(const char* extensions, const char* name);
void* GlProcAddress(const char* name);
