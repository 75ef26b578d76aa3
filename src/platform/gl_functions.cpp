// The table of entry points past OpenGL 1.1, the same on every system; only GlProcAddress is
// the system's.
#include "platform/gl_functions.h"

#include <cstdlib>
#include <cstring>

GlFunctions glFunctions;

namespace {

constexpr int kFramebufferCoreVersion = 3;
constexpr const char* kFramebufferExtension = "GL_ARB_framebuffer_object";

// Whether the current context offers framebuffer objects: in its core from 3.0 on, or by the
// extension. The names alone prove nothing, since some lookups (GLX's) answer for any name.
bool ContextHasFramebuffers() {
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version == nullptr) return false;
    if (std::atoi(version) >= kFramebufferCoreVersion) return true;
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return extensions != nullptr && ExtensionListed(extensions, kFramebufferExtension);
}

// Fetches one entry point into its field; false when the driver has none by that name.
template <typename Function>
bool Fetch(Function& entry, const char* name) {
    entry = reinterpret_cast<Function>(GlProcAddress(name));
    return entry != nullptr;
}

}  // namespace

bool ExtensionListed(const char* extensions, const char* name) {
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(extensions, name); at != nullptr;
         at = std::strstr(at + length, name)) {
        const bool starts = at == extensions || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) return true;
    }
    return false;
}

bool LoadGlFunctions() {
    GlFunctions& f = glFunctions;
    if (!ContextHasFramebuffers()) {
        f = GlFunctions{};
        return false;
    }
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
