// The table of entry points past OpenGL 1.1, the same on every system; only GlProcAddress is
// the system's.
#include "platform/gl_functions.h"

GlFunctions glFunctions;

namespace {

// Fetches one entry point into its field; false when the driver has none by that name.
template <typename Function>
bool Fetch(Function& entry, const char* name) {
    entry = reinterpret_cast<Function>(GlProcAddress(name));
    return entry != nullptr;
}

}  // namespace

bool LoadGlFunctions() {
    GlFunctions& f = glFunctions;
    bool all = Fetch(f.GenFramebuffers, "glGenFramebuffers");
    all &= Fetch(f.DeleteFramebuffers, "glDeleteFramebuffers");
    all &= Fetch(f.BindFramebuffer, "glBindFramebuffer");
    all &= Fetch(f.CheckFramebufferStatus, "glCheckFramebufferStatus");
    all &= Fetch(f.FramebufferRenderbuffer, "glFramebufferRenderbuffer");
    all &= Fetch(f.BlitFramebuffer, "glBlitFramebuffer");
    all &= Fetch(f.GenRenderbuffers, "glGenRenderbuffers");
    all &= Fetch(f.DeleteRenderbuffers, "glDeleteRenderbuffers");
    all &= Fetch(f.BindRenderbuffer, "glBindRenderbuffer");
    all &= Fetch(f.RenderbufferStorage, "glRenderbufferStorage");
    return all;
}
