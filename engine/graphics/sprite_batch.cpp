// Sprite batch (see sprite_batch.h): gathering, flushing and every OpenGL
// state change of the engine.
// Depends on the graphics device (error check, message boxes for shader logs
// through the platform layer).
#include "engine/graphics/sprite_batch.h"

#include <GL/glew.h>

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "engine/graphics/device.h"
#include "engine/platform/platform.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

namespace {

// Vertices [first, first + count) of the frame's array, drawn with one state.
struct Run {
    BatchState state;
    int first, count;
};

// What OpenGL holds now (valid false after start-up: set everything once).
struct GLState {
    bool valid;
    GLuint texture;
    bool nearest, blend, scissorOn;
    int scissor[4];
    int viewport[2];
    float worldHalf[2];
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

// Every vertex has w = 1, so interpolating the texture coordinates without
// perspective gives the same values; with perspective Mesa's llvmpipe samples
// whole tiles of mirrored pictures wrongly on its fast path. Positions are
// divided by the half size, not multiplied by its rounded reciprocal: an edge
// on a pixel centre (half-pixel edges are common at scales like 0.75) then
// lands exactly there, and the rasterizer's tie rule decides it the same way
// on every driver.
const char* const VERTEX_SHADER = R"(#version 330
layout(location = 0) in vec2 position;
layout(location = 1) in vec2 texCoord;
layout(location = 2) in vec4 color;
uniform vec2 worldHalf;
noperspective out vec2 fragUV;
out vec4 fragColor;
void main() {
    gl_Position = vec4(position / worldHalf, 0.0, 1.0);
    fragUV = texCoord;
    fragColor = color;
}
)";

const char* const FRAGMENT_SHADER = R"(#version 330
noperspective in vec2 fragUV;
in vec4 fragColor;
uniform sampler2D colorTexture;
out vec4 outColor;
void main() {
    outColor = texture(colorTexture, fragUV) * fragColor;
}
)";

GLuint program = 0, vertexArray = 0, vertexBuffer = 0, whiteTexture = 0, nearestSampler = 0;
GLint worldHalfAt = -1;
std::vector<BatchVertex> vertices;
std::vector<Run> runs;
GLState gl = {};
bool rasterizing = true;
// The last frame sent whole since its clear, kept to tell whether the next
// one draws the same picture; then nothing is sent and the window keeps it.
std::vector<BatchVertex> shownVertices;
std::vector<Run> shownRuns;
bool shownKnown = false; // false: the window's picture may differ from it
bool wholeFrame = false; // cleared, and nothing of it sent yet
bool held = false;       // this frame is the one on screen: nothing was sent
BatchCounters counting = {}, lastFrame = {};

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Whether two states draw alike (the clip rectangle matters only when clipped).
bool SameState(const BatchState& a, const BatchState& b) {
    if (a.texture != b.texture || a.nearest != b.nearest || a.blend != b.blend ||
        a.clipped != b.clipped || memcmp(a.viewport, b.viewport, sizeof a.viewport) != 0 ||
        memcmp(a.worldHalf, b.worldHalf, sizeof a.worldHalf) != 0)
        return false;
    return !a.clipped || memcmp(a.clip, b.clip, sizeof a.clip) == 0;
}

// Whether the gathered frame is the shown one, vertex for vertex.
bool SameAsShown() {
    if (runs.size() != shownRuns.size() || vertices.size() != shownVertices.size()) return false;
    for (size_t i = 0; i < runs.size(); i++)
        if (runs[i].first != shownRuns[i].first || runs[i].count != shownRuns[i].count ||
            !SameState(runs[i].state, shownRuns[i].state))
            return false;
    const size_t bytes = vertices.size() * sizeof(BatchVertex);
    return bytes == 0 || memcmp(vertices.data(), shownVertices.data(), bytes) == 0;
}

// Binds a texture name on unit 0 unless it is bound already.
void BindTexture2D(GLuint name) {
    if (gl.valid && gl.texture == name) return;
    glBindTexture(GL_TEXTURE_2D, name);
    gl.texture = name;
    counting.stateChanges++;
}

// Shows the log of a stage or program whose status (compile or link) is not
// GL_TRUE in a message box, when it has one.
void ShowLogOnFailure(GLuint object, GLenum status, PFNGLGETSHADERIVPROC getStatus,
                      PFNGLGETSHADERINFOLOGPROC getLog, const char* caption) {
    GLint ok = GL_FALSE;
    getStatus(object, status, &ok);
    if (ok == GL_TRUE) return;
    char log[4096] = "";
    getLog(object, sizeof log, nullptr, log);
    if (log[0] != '\0') PlatformMessageBox(log, caption, MESSAGEBOX_ERROR);
}

// Compiles one stage; a failure is shown and the (broken) stage kept.
GLuint CompileStage(GLenum type, const char* source) {
    GLuint stage = glCreateShader(type);
    glShaderSource(stage, 1, &source, nullptr);
    glCompileShader(stage);
    // One caption for both stages.
    ShowLogOnFailure(stage, GL_COMPILE_STATUS, glGetShaderiv, glGetShaderInfoLog,
                     "Vertex Shader Compilation Error");
    return stage;
}

// Links the batch's program; a failed link is shown and the program kept.
GLuint LinkProgram() {
    GLuint vertexStage = CompileStage(GL_VERTEX_SHADER, VERTEX_SHADER);
    GLuint fragmentStage = CompileStage(GL_FRAGMENT_SHADER, FRAGMENT_SHADER);
    GLuint linked = glCreateProgram();
    glAttachShader(linked, vertexStage);
    glAttachShader(linked, fragmentStage);
    glLinkProgram(linked);
    ShowLogOnFailure(linked, GL_LINK_STATUS, glGetProgramiv, glGetProgramInfoLog,
                     "Shader Linking Error");
    glDetachShader(linked, vertexStage);
    glDetachShader(linked, fragmentStage);
    glDeleteShader(vertexStage);
    glDeleteShader(fragmentStage);
    return linked;
}

// The vertex array of the batch's one layout over its one buffer.
void MakeVertexArray() {
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &vertexBuffer);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(BatchVertex), nullptr);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(BatchVertex),
                          reinterpret_cast<const void*>(offsetof(BatchVertex, u)));
    glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(BatchVertex),
                          reinterpret_cast<const void*>(offsetof(BatchVertex, rgba)));
    for (GLuint location = 0; location < 3; location++)
        glEnableVertexAttribArray(location);
}

// Sets what differs between OpenGL's state and the run's.
void Apply(const BatchState& s) {
    BindTexture2D(s.texture != 0 ? s.texture : whiteTexture);
    const bool all = !gl.valid;
    if (all || gl.nearest != s.nearest) {
        glBindSampler(0, s.nearest ? nearestSampler : 0);
        gl.nearest = s.nearest;
        counting.stateChanges++;
    }
    if (all || gl.blend != s.blend) {
        s.blend ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
        gl.blend = s.blend;
        counting.stateChanges++;
    }
    if (all || gl.scissorOn != s.clipped) {
        s.clipped ? glEnable(GL_SCISSOR_TEST) : glDisable(GL_SCISSOR_TEST);
        gl.scissorOn = s.clipped;
        counting.stateChanges++;
    }
    if (s.clipped && (all || memcmp(gl.scissor, s.clip, sizeof gl.scissor) != 0)) {
        glScissor(s.clip[0], s.clip[1], s.clip[2], s.clip[3]);
        memcpy(gl.scissor, s.clip, sizeof gl.scissor);
        counting.stateChanges++;
    }
    if (all || memcmp(gl.viewport, s.viewport, sizeof gl.viewport) != 0) {
        glViewport(0, 0, s.viewport[0], s.viewport[1]);
        memcpy(gl.viewport, s.viewport, sizeof gl.viewport);
        counting.stateChanges++;
    }
    if (all || memcmp(gl.worldHalf, s.worldHalf, sizeof s.worldHalf) != 0) {
        glUniform2f(worldHalfAt, s.worldHalf[0], s.worldHalf[1]);
        memcpy(gl.worldHalf, s.worldHalf, sizeof s.worldHalf);
        counting.stateChanges++;
    }
    gl.valid = true;
}

// One upload of every gathered vertex into fresh storage (no waiting on the
// driver for the old), then one draw call per run; the gathered stay.
void Send() {
    if (runs.empty()) return;
    if (!gl.valid) { // after start-up, or after others changed OpenGL's state
        glUseProgram(program);
        glBindVertexArray(vertexArray);
        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    }
    glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(vertices.size() * sizeof(BatchVertex)),
                 vertices.data(), GL_STREAM_DRAW);
    counting.uploads++;
    for (const Run& run : runs) {
        Apply(run.state);
        if (!rasterizing) continue;
        glDrawArrays(GL_TRIANGLES, run.first, run.count);
        counting.drawCalls++;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// A new context holds none of the old objects: everything is made afresh.
bool BatchInit() {
    vertices.clear();
    runs.clear();
    gl = {};
    shownKnown = held = wholeFrame = false;
    program = LinkProgram();
    worldHalfAt = glGetUniformLocation(program, "worldHalf");
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "colorTexture"), 0);
    MakeVertexArray();
    const uint32_t white = 0xFFFFFFFF;
    whiteTexture = BatchCreateTexture(1, 1, &white);
    glGenSamplers(1, &nearestSampler);
    glSamplerParameteri(nearestSampler, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glSamplerParameteri(nearestSampler, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    // Every geometry lies at depth 0 in painter's order: no depth test.
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glActiveTexture(GL_TEXTURE0);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    CheckGLError();
    return program != 0;
}

void BatchShutdown() {
    vertices.clear();
    runs.clear();
    if (program == 0) return;
    glDeleteSamplers(1, &nearestSampler);
    BatchDeleteTexture(whiteTexture);
    glBindVertexArray(0);
    glDeleteVertexArrays(1, &vertexArray);
    glDeleteBuffers(1, &vertexBuffer);
    glUseProgram(0);
    glDeleteProgram(program);
    program = vertexArray = vertexBuffer = whiteTexture = nearestSampler = 0;
    gl = {};
}

// A run grows while the state stays the same.
BatchVertex* BatchAdd(const BatchState& state, int count) {
    const int first = (int)vertices.size();
    if (!runs.empty() && SameState(runs.back().state, state))
        runs.back().count += count;
    else
        runs.push_back({state, first, count});
    vertices.resize(vertices.size() + count);
    return &vertices[first];
}

// Sent before the frame's end, the frame is no longer comparable whole.
void BatchFlush() {
    if (runs.empty()) return;
    wholeFrame = false;
    Send();
    vertices.clear();
    runs.clear();
}

// The clear covers the whole window: the scissor goes off first.
void BatchClear() {
    BatchFlush();
    if (!gl.valid || gl.scissorOn) {
        glDisable(GL_SCISSOR_TEST);
        gl.scissorOn = false;
    }
    glClear(GL_COLOR_BUFFER_BIT);
    wholeFrame = true;
    held = false;
}

// A frame equal to the shown one is held back. Any window event may mean the
// window system lost or resized the picture: the frame is then drawn.
void BatchEndFrame() {
    if (PlatformTakeWindowEvents()) shownKnown = false;
    held = wholeFrame && shownKnown && rasterizing && SameAsShown();
    if (!held) {
        Send();
        shownKnown = wholeFrame && rasterizing;
        vertices.swap(shownVertices);
        runs.swap(shownRuns);
    }
    vertices.clear();
    runs.clear();
    wholeFrame = false;
    CheckGLError();
    lastFrame = counting;
    counting = {};
}

void BatchStateChangedOutside() {
    gl.valid = false;
    shownKnown = false;
}

bool BatchFrameHeld() {
    return held;
}

BatchCounters BatchLastFrameCounters() {
    return lastFrame;
}

// What is gathered is sent under the setting it was gathered with.
void BatchSetRasterizing(bool on) {
    if (on == rasterizing) return;
    BatchFlush();
    rasterizing = on;
    shownKnown = false;
}

// Blue-first texels with the unsized format: the driver keeps them as given.
unsigned BatchCreateTexture(int32_t width, int32_t height, const uint32_t* texels) {
    GLuint name = 0;
    shownKnown = false; // the name may be a deleted picture's
    glGenTextures(1, &name);
    BindTexture2D(name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    return name;
}

void BatchReadTexture(unsigned name, int32_t width, int32_t height, uint32_t* texels) {
    BindTexture2D(name);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels);
    (void)width, (void)height;
}

// Gathered draws may still read it: they go first.
void BatchDeleteTexture(unsigned name) {
    if (name == 0) return;
    BatchFlush();
    glDeleteTextures(1, &name);
    if (gl.texture == name) gl.valid = false; // OpenGL unbinds a deleted texture
}

void BatchCreateRenderTarget(unsigned texture, int32_t width, int32_t height, unsigned* frameBuffer,
                             unsigned* depthBuffer) {
    BatchFlush();
    glGenFramebuffers(1, frameBuffer);
    glGenRenderbuffers(1, depthBuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, *frameBuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glBindRenderbuffer(GL_RENDERBUFFER, *depthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, *depthBuffer);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        fprintf(stderr, "CreateRenderTexture: frame buffer of %dx%d is incomplete\n", width,
                height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void BatchDeleteRenderTarget(unsigned frameBuffer, unsigned depthBuffer) {
    BatchFlush();
    glDeleteRenderbuffers(1, &depthBuffer);
    glDeleteFramebuffers(1, &frameBuffer);
}

// A held frame is drawn after all, to be read.
std::vector<uint8_t> BatchReadPixels(int width, int height) {
    std::vector<uint8_t> rgba((size_t)(width > 0 ? width : 0) * (height > 0 ? height : 0) * 4);
    if (held) vertices = shownVertices, runs = shownRuns, held = false;
    BatchFlush();
    if (rgba.empty()) return rgba;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}
