#include "gl_test_context.h"

#include "display/virtual_mode.h"
#include "platform/offscreen_gl.h"

namespace {

OffscreenGlContext* made = nullptr;

// The fresh context's whole server and client state is pushed once, below everything a test
// pushes: popping it back and pushing it again returns the context to GL's defaults.
OffscreenGlContext* MakeContextKeepingDefaults() {
    OffscreenGlContext* context = CreateOffscreenGlContext();
    if (context == nullptr) return nullptr;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    return context;
}

template <typename Pop>
void PopDownTo(GLenum depthQuery, int depth, Pop pop) {
    GLint held = 0;
    glGetIntegerv(depthQuery, &held);
    for (; held > depth; --held) pop();
}

// The matrices are outside the attribute stack: each goes back to one identity matrix.
void ResetMatrices() {
    constexpr struct {
        GLenum mode;
        GLenum depth;
    } kStacks[] = {{GL_TEXTURE, GL_TEXTURE_STACK_DEPTH},
                   {GL_PROJECTION, GL_PROJECTION_STACK_DEPTH},
                   {GL_MODELVIEW, GL_MODELVIEW_STACK_DEPTH}};
    for (const auto& stack : kStacks) {
        glMatrixMode(stack.mode);
        PopDownTo(stack.depth, 1, glPopMatrix);
        glLoadIdentity();
    }
}

void RestoreDefaults() {
    ResetMatrices();
    PopDownTo(GL_ATTRIB_STACK_DEPTH, 0, glPopAttrib);
    PopDownTo(GL_CLIENT_ATTRIB_STACK_DEPTH, 0, glPopClientAttrib);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
}

}  // namespace

OffscreenGlContext* TestGlContext() {
    static OffscreenGlContext* const context = made = MakeContextKeepingDefaults();
    if (context != nullptr) SetOffscreenGlContextCurrent(context, true);
    return context;
}

void ResetTestGlContext() {
    if (made == nullptr) return;
    if (SetOffscreenGlContextCurrent(made, true)) RestoreDefaults();
    SetOffscreenGlContextCurrent(made, false);
}

GlTestContext::GlTestContext() : context_(TestGlContext()) {
    if (context_ == nullptr || !EnterVirtualMode(kWidth, kHeight, kColourDepth)) return;
    ready_ = true;
    glViewport(0, 0, kWidth, kHeight);
}

GlTestContext::~GlTestContext() {
    if (ready_) LeaveVirtualMode();
}

std::vector<unsigned char> GlTestContext::Pixel(int x, int y) const {
    std::vector<unsigned char> rgba(4);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

namespace {
constexpr int kFeedbackFloats = 1 << 20;
constexpr int kValuesPerVertex = 12;  // GL_4D_COLOR_TEXTURE: x y z w, r g b a, s t r q
}  // namespace

std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()>& draw) {
    std::vector<float> buffer(kFeedbackFloats);
    glFeedbackBuffer(kFeedbackFloats, GL_4D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int used = glRenderMode(GL_RENDER);
    std::vector<FeedbackPrimitive> primitives;
    auto vertex = [&](int& i) {
        std::vector<float> v(buffer.begin() + i, buffer.begin() + i + kValuesPerVertex);
        v.erase(v.begin() + 3);  // w
        i += kValuesPerVertex;
        return v;
    };
    for (int i = 0; i < used;) {
        const auto token = static_cast<GLenum>(buffer[i++]);
        FeedbackPrimitive p{token, {}};
        if (token == GL_POINT_TOKEN) {
            p.vertices.push_back(vertex(i));
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            p.kind = GL_LINE_TOKEN;
            p.vertices.push_back(vertex(i));
            p.vertices.push_back(vertex(i));
        } else if (token == GL_POLYGON_TOKEN) {
            const int n = static_cast<int>(buffer[i++]);
            for (int k = 0; k < n; ++k) p.vertices.push_back(vertex(i));
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            ++i;
            continue;
        } else {
            vertex(i);  // bitmap and pixel tokens: one vertex each, never drawn by the show
            continue;
        }
        primitives.push_back(std::move(p));
    }
    return primitives;
}

namespace {

constexpr const char* kPassThrough =
    "#version 120\n"
    "void main() { gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex; }\n";
constexpr int kMaxSegments = 1 << 16;

GLuint PassThroughProgram() {
    const auto glCreateShader = TestGlEntry<PFNGLCREATESHADERPROC>("glCreateShader");
    const auto glShaderSource = TestGlEntry<PFNGLSHADERSOURCEPROC>("glShaderSource");
    const auto glCompileShader = TestGlEntry<PFNGLCOMPILESHADERPROC>("glCompileShader");
    const auto glCreateProgram = TestGlEntry<PFNGLCREATEPROGRAMPROC>("glCreateProgram");
    const auto glAttachShader = TestGlEntry<PFNGLATTACHSHADERPROC>("glAttachShader");
    const auto glTransformFeedbackVaryings =
        TestGlEntry<PFNGLTRANSFORMFEEDBACKVARYINGSPROC>("glTransformFeedbackVaryings");
    const auto glLinkProgram = TestGlEntry<PFNGLLINKPROGRAMPROC>("glLinkProgram");
    const auto glDeleteShader = TestGlEntry<PFNGLDELETESHADERPROC>("glDeleteShader");
    const GLuint shader = glCreateShader(GL_VERTEX_SHADER);
    glShaderSource(shader, 1, &kPassThrough, nullptr);
    glCompileShader(shader);
    const GLuint program = glCreateProgram();
    glAttachShader(program, shader);
    const char* varying = "gl_Position";
    glTransformFeedbackVaryings(program, 1, &varying, GL_INTERLEAVED_ATTRIBS);
    glLinkProgram(program);
    glDeleteShader(shader);
    return program;
}

}  // namespace

std::vector<Segment> CaptureLines(const std::function<void()>& draw) {
    const auto glGenBuffers = TestGlEntry<PFNGLGENBUFFERSPROC>("glGenBuffers");
    const auto glBindBuffer = TestGlEntry<PFNGLBINDBUFFERPROC>("glBindBuffer");
    const auto glBufferData = TestGlEntry<PFNGLBUFFERDATAPROC>("glBufferData");
    const auto glBindBufferBase = TestGlEntry<PFNGLBINDBUFFERBASEPROC>("glBindBufferBase");
    const auto glGenQueries = TestGlEntry<PFNGLGENQUERIESPROC>("glGenQueries");
    const auto glUseProgram = TestGlEntry<PFNGLUSEPROGRAMPROC>("glUseProgram");
    const auto glBeginQuery = TestGlEntry<PFNGLBEGINQUERYPROC>("glBeginQuery");
    const auto glBeginTransformFeedback =
        TestGlEntry<PFNGLBEGINTRANSFORMFEEDBACKPROC>("glBeginTransformFeedback");
    const auto glEndTransformFeedback =
        TestGlEntry<PFNGLENDTRANSFORMFEEDBACKPROC>("glEndTransformFeedback");
    const auto glEndQuery = TestGlEntry<PFNGLENDQUERYPROC>("glEndQuery");
    const auto glGetQueryObjectuiv = TestGlEntry<PFNGLGETQUERYOBJECTUIVPROC>("glGetQueryObjectuiv");
    const auto glGetBufferSubData = TestGlEntry<PFNGLGETBUFFERSUBDATAPROC>("glGetBufferSubData");
    const auto glDeleteQueries = TestGlEntry<PFNGLDELETEQUERIESPROC>("glDeleteQueries");
    const auto glDeleteBuffers = TestGlEntry<PFNGLDELETEBUFFERSPROC>("glDeleteBuffers");
    const auto glDeleteProgram = TestGlEntry<PFNGLDELETEPROGRAMPROC>("glDeleteProgram");
    const GLuint program = PassThroughProgram();
    GLuint buffer = 0, query = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, buffer);
    glBufferData(GL_TRANSFORM_FEEDBACK_BUFFER, kMaxSegments * 2 * 4 * sizeof(float), nullptr,
                 GL_STATIC_READ);
    glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, buffer);
    glGenQueries(1, &query);
    glUseProgram(program);
    glEnable(GL_RASTERIZER_DISCARD);
    glBeginQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN, query);
    glBeginTransformFeedback(GL_LINES);
    draw();
    glEndTransformFeedback();
    glEndQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN);
    glDisable(GL_RASTERIZER_DISCARD);
    glUseProgram(0);
    GLuint written = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &written);
    std::vector<float> data(written * 2 * 4);
    glGetBufferSubData(GL_TRANSFORM_FEEDBACK_BUFFER, 0, data.size() * sizeof(float), data.data());
    std::vector<Segment> segments(written);
    for (GLuint i = 0; i < written; ++i) {
        const float* v = &data[i * 8];
        segments[i] = {{v[0], v[1], v[2]}, {v[4], v[5], v[6]}};
    }
    glDeleteQueries(1, &query);
    glDeleteBuffers(1, &buffer);
    glDeleteProgram(program);
    return segments;
}
