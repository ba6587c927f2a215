// Sprite batch (see sprite_batch.h): gathering, flushing and every OpenGL
// state change of the engine.
// Depends on the graphics device (error check, message boxes for shader logs
// through the platform layer).
#include "engine/graphics/sprite_batch.h"

#include <GL/glew.h>

#include <algorithm>
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

// What one BatchAdd gathered: the unit in which two frames are compared.
struct Piece {
    int first, count, run;
};

// Window pixels x0 <= x < x1, y0 <= y < y1, rows counted from the bottom.
struct PixelRect {
    int x0, y0, x1, y1;
};

// What OpenGL holds now (valid false after start-up: set everything once).
struct GLState {
    bool valid;
    GLuint texture, frameBuffer;
    bool nearest, blend, scissorOn;
    int scissor[4];
    int viewport[2];
    float worldHalf[2];
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

// Pieces of either frame looked through for a match before a piece counts as
// changed (a troop born or killed shifts the pieces after it by one or two).
constexpr size_t DIFF_LOOKAHEAD = 32;

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
std::vector<Piece> pieces;
GLState gl = {};
bool rasterizing = true;
// The frame is drawn into the canvas, kept from frame to frame, and shown
// with one opaque draw. A frame that differs a little from the last is drawn
// again only inside the rectangle round what changed: the field under a few
// walking troops is not shaded again. Pixels are what a frame costs where
// there is no GPU (a full-screen picture is a quarter of a core at 1920x1080
// on Mesa's llvmpipe); on a GPU the one extra draw costs next to nothing.
GLuint canvasTexture = 0, canvasFrameBuffer = 0;
int frameSize[2] = {0, 0}; // the client area the frame is drawn for
bool clearPending = false; // the frame's clear is done as it is sent
bool canvasAhead = false;  // the canvas holds draws the window does not show
// Frames go straight to the window (drawn whole, or held): it has sample
// buffers (the canvas has one sample a pixel, and edges the window would
// smooth would come out hard), or no canvas could be made.
bool drawStraight = false;
PixelRect damage = {0, 0, 0, 0}; // where the frame differs from the shown one
// The last frame sent whole since its clear, kept to tell what the next one
// changes; an unchanged frame sends nothing and the window keeps it.
std::vector<BatchVertex> shownVertices;
std::vector<Run> shownRuns;
std::vector<Piece> shownPieces;
bool shownKnown = false; // false: the canvas's picture may differ from it
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

bool Empty(const PixelRect& r) {
    return r.x0 >= r.x1 || r.y0 >= r.y1;
}

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

// The union's bounds (an empty rectangle adds nothing).
PixelRect Union(const PixelRect& a, const PixelRect& b) {
    if (Empty(a)) return b;
    if (Empty(b)) return a;
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

// The pixels a run may touch: its clip, or the whole frame.
PixelRect Reach(const BatchState& s) {
    if (!s.clipped) return {0, 0, frameSize[0], frameSize[1]};
    return {s.clip[0], s.clip[1], s.clip[0] + s.clip[2], s.clip[1] + s.clip[3]};
}

// The canvas pixels a piece can touch: its vertices' bounds with a pixel of
// margin for rounding, inside its clip.
PixelRect PieceBounds(const Piece& p, const std::vector<BatchVertex>& v,
                      const std::vector<Run>& r) {
    const BatchState& s = r[p.run].state;
    const PixelRect canvas = {0, 0, frameSize[0], frameSize[1]};
    if (s.worldHalf[0] <= 0 || s.worldHalf[1] <= 0) return canvas;
    float x0 = 1e30f, y0 = 1e30f, x1 = -1e30f, y1 = -1e30f;
    for (int i = p.first; i < p.first + p.count; i++) {
        x0 = std::min(x0, v[i].x), x1 = std::max(x1, v[i].x);
        y0 = std::min(y0, v[i].y), y1 = std::max(y1, v[i].y);
    }
    // World units to pixels, clamped before the conversion to whole numbers.
    auto pixel = [&](float world, int axis) {
        const float at = (world / s.worldHalf[axis] + 1) * s.viewport[axis] / 2;
        return (int)std::clamp(at, -1.0f, frameSize[axis] + 1.0f);
    };
    const PixelRect b = {pixel(x0, 0) - 1, pixel(y0, 1) - 1, pixel(x1, 0) + 2, pixel(y1, 1) + 2};
    return Intersect(Intersect(b, Reach(s)), canvas);
}

// Whether a piece of the shown frame and one of the gathered frame draw alike.
bool SamePiece(const Piece& shown, const Piece& now) {
    return shown.count == now.count && SameState(shownRuns[shown.run].state, runs[now.run].state) &&
           memcmp(&shownVertices[shown.first], &vertices[now.first],
                  now.count * sizeof(BatchVertex)) == 0;
}

// The rectangle where the gathered frame may differ from the shown one. Each
// gathered piece is matched with the next equal shown piece not far ahead;
// the shown pieces skipped and the gathered left unmatched add their bounds.
// A pixel outside them all is drawn by the same pieces in the same order in
// both frames. One rectangle: each more would cost a pass over the runs.
void FindDamage() {
    damage = {0, 0, 0, 0};
    size_t i = 0;
    for (const Piece& now : pieces) {
        size_t k = i;
        while (k < shownPieces.size() && k - i < DIFF_LOOKAHEAD && !SamePiece(shownPieces[k], now))
            k++;
        if (k == shownPieces.size() || k - i == DIFF_LOOKAHEAD) {
            damage = Union(damage, PieceBounds(now, vertices, runs));
            continue;
        }
        for (; i < k; i++)
            damage = Union(damage, PieceBounds(shownPieces[i], shownVertices, shownRuns));
        i = k + 1;
    }
    for (; i < shownPieces.size(); i++)
        damage = Union(damage, PieceBounds(shownPieces[i], shownVertices, shownRuns));
}

// Whether a piece of OpenGL's state must be set (it differs from `wanted`,
// or nothing is known); if so it is noted as set, and counted.
template <typename T> bool Differs(T& held, const T& wanted) {
    if (gl.valid && memcmp(&held, &wanted, sizeof held) == 0) return false;
    memcpy(&held, &wanted, sizeof held);
    counting.stateChanges++;
    return true;
}

// Binds a texture name on unit 0 unless it is bound already.
void BindTexture2D(GLuint name) {
    if (Differs(gl.texture, name)) glBindTexture(GL_TEXTURE_2D, name);
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

// Sets the scissor a run is drawn under (its clip, inside `limit` when only
// that is drawn again); false when nothing is left to draw.
bool Scissor(const BatchState& s, const PixelRect* limit) {
    const PixelRect r = limit != nullptr ? Intersect(Reach(s), *limit) : Reach(s);
    const bool on = s.clipped || limit != nullptr;
    if (on && Empty(r)) return false;
    const int box[4] = {r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0};
    if (Differs(gl.scissorOn, on)) on ? glEnable(GL_SCISSOR_TEST) : glDisable(GL_SCISSOR_TEST);
    if (on && Differs(gl.scissor, box)) glScissor(box[0], box[1], box[2], box[3]);
    return true;
}

// Sets what differs between OpenGL's state and the run's; false when the run
// has nothing inside `limit`.
bool Apply(const BatchState& s, const PixelRect* limit) {
    if (!Scissor(s, limit)) return false;
    BindTexture2D(s.texture != 0 ? s.texture : whiteTexture);
    if (Differs(gl.nearest, s.nearest)) glBindSampler(0, s.nearest ? nearestSampler : 0);
    if (Differs(gl.blend, s.blend)) s.blend ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
    if (Differs(gl.viewport, s.viewport)) glViewport(0, 0, s.viewport[0], s.viewport[1]);
    if (Differs(gl.worldHalf, s.worldHalf))
        glUniform2f(worldHalfAt, s.worldHalf[0], s.worldHalf[1]);
    gl.valid = true;
    return true;
}

// Draws into `frameBuffer` (0: the window) with the batch's program, vertex
// array and buffer.
void Target(GLuint frameBuffer) {
    if (!gl.valid) { // after start-up, or after others changed OpenGL's state
        glUseProgram(program);
        glBindVertexArray(vertexArray);
        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    }
    if (Differs(gl.frameBuffer, frameBuffer)) glBindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
}

void DeleteCanvas() {
    if (canvasFrameBuffer != 0) glDeleteFramebuffers(1, &canvasFrameBuffer);
    if (canvasTexture != 0) glDeleteTextures(1, &canvasTexture);
    if (gl.texture == canvasTexture || gl.frameBuffer == canvasFrameBuffer) gl.valid = false;
    canvasFrameBuffer = canvasTexture = 0;
}

// The canvas at the client area's size, made afresh when that changes (its
// picture is then unknown). Without one the frame goes straight to the window.
void MakeCanvas() {
    int width = 0, height = 0;
    PlatformGetClientSize(&width, &height);
    if (width == frameSize[0] && height == frameSize[1] && (canvasFrameBuffer != 0 || drawStraight))
        return;
    DeleteCanvas();
    shownKnown = false;
    frameSize[0] = width, frameSize[1] = height;
    if (width <= 0 || height <= 0 || drawStraight) return;
    canvasTexture = BatchCreateTexture(width, height, nullptr); // shown with nearest sampling
    glGenFramebuffers(1, &canvasFrameBuffer);
    Target(canvasFrameBuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, canvasTexture, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) return;
    fprintf(stderr, "graphics: no off-screen canvas of %dx%d; frames go straight to the window\n",
            width, height);
    DeleteCanvas();
    drawStraight = true;
}

// One upload of every gathered vertex into fresh storage (no waiting on the
// driver for the old), then the clear if the frame still owes it and one draw
// call per run, into the canvas: whole, or inside `only`. The gathered stay.
void Send(const PixelRect* only) {
    if (runs.empty() && !clearPending) return;
    if (rasterizing) MakeCanvas();
    Target(canvasFrameBuffer);
    if (!runs.empty()) {
        glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(vertices.size() * sizeof(BatchVertex)),
                     vertices.data(), GL_STREAM_DRAW);
        counting.uploads++;
    }
    if (clearPending && rasterizing && Scissor({}, only)) glClear(GL_COLOR_BUFFER_BIT);
    clearPending = false;
    for (const Run& run : runs) {
        if (!Apply(run.state, only) || !rasterizing) continue;
        glDrawArrays(GL_TRIANGLES, run.first, run.count);
        counting.drawCalls++;
    }
    canvasAhead = canvasAhead || rasterizing;
}

// Shows the canvas in the window, if it holds something new or `always`:
// one opaque draw, texel for pixel. A hidden window's frames send nothing.
void Present(bool always) {
    if (canvasFrameBuffer == 0 || !rasterizing || !(canvasAhead || always)) return;
    canvasAhead = false;
    Target(0);
    const float w = frameSize[0] / 2.0f, h = frameSize[1] / 2.0f;
    const BatchVertex quad[6] = {{-w, -h, 0, 0, ~0u}, {w, -h, 1, 0, ~0u}, {w, h, 1, 1, ~0u},
                                 {-w, -h, 0, 0, ~0u}, {w, h, 1, 1, ~0u},  {-w, h, 0, 1, ~0u}};
    glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STREAM_DRAW);
    counting.uploads++;
    const BatchState state = {canvasTexture, true, false, false, {}, {frameSize[0], frameSize[1]},
                              {w, h}};
    Apply(state, nullptr);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    counting.drawCalls++;
    // The canvas stays bound to be drawn into; sampled too, it would be a
    // feedback loop, which drivers may resolve by copying it.
    BindTexture2D(whiteTexture);
}

} // namespace

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// A new context holds none of the old objects: everything is made afresh.
bool BatchInit() {
    vertices.clear();
    runs.clear();
    pieces.clear();
    gl = {};
    shownKnown = held = wholeFrame = clearPending = canvasAhead = false;
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
    GLint sampleBuffers = 0;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &sampleBuffers);
    drawStraight = sampleBuffers > 0;
    frameSize[0] = frameSize[1] = 0;
    CheckGLError();
    return program != 0;
}

void BatchShutdown() {
    vertices.clear();
    runs.clear();
    pieces.clear();
    if (program == 0) return;
    DeleteCanvas();
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
    pieces.push_back({first, count, (int)runs.size() - 1});
    vertices.resize(vertices.size() + count);
    return &vertices[first];
}

// Sent before the frame's end, the frame is no longer comparable whole, and
// the canvas no longer holds the shown frame.
void BatchFlush() {
    if (runs.empty() && !clearPending) return;
    wholeFrame = shownKnown = false;
    Send(nullptr);
    vertices.clear();
    runs.clear();
    pieces.clear();
}

// The clear is the frame's first draw: done as the frame is sent, where it
// is drawn again.
void BatchClear() {
    BatchFlush();
    clearPending = true;
    wholeFrame = true;
    held = false;
}

// A frame equal to the shown one is held back; one that differs is drawn
// again only where it differs. Any window event may mean the window system
// lost or resized the picture: the frame is then drawn whole.
void BatchEndFrame() {
    if (PlatformTakeWindowEvents()) shownKnown = false;
    if (rasterizing) MakeCanvas();
    const bool comparable = wholeFrame && shownKnown && rasterizing;
    if (comparable) FindDamage();
    held = comparable && Empty(damage);
    const bool partly = comparable && canvasFrameBuffer != 0;
    counting.damagedPixels =
        !held && partly ? (long long)(damage.x1 - damage.x0) * (damage.y1 - damage.y0) : 0;
    if (!held) {
        Send(partly ? &damage : nullptr);
        Present(false);
        shownKnown = wholeFrame && rasterizing;
        vertices.swap(shownVertices);
        runs.swap(shownRuns);
        pieces.swap(shownPieces);
    }
    vertices.clear();
    runs.clear();
    pieces.clear();
    wholeFrame = clearPending = false;
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
    gl.frameBuffer = 0;
}

void BatchDeleteRenderTarget(unsigned frameBuffer, unsigned depthBuffer) {
    BatchFlush();
    glDeleteRenderbuffers(1, &depthBuffer);
    glDeleteFramebuffers(1, &frameBuffer);
}

// The shown frame sent again whole: Send works on the gathered arrays, so
// the shown ones stand in for them meanwhile.
void BatchRedrawShownWhole() {
    BatchFlush();
    vertices.swap(shownVertices), runs.swap(shownRuns);
    clearPending = true;
    Send(nullptr);
    vertices.swap(shownVertices), runs.swap(shownRuns);
}

// What is gathered goes to the canvas, and the canvas to the window, which is
// read (a held frame is shown again, to be read).
std::vector<uint8_t> BatchReadPixels(int width, int height) {
    std::vector<uint8_t> rgba((size_t)(width > 0 ? width : 0) * (height > 0 ? height : 0) * 4);
    if (held && canvasFrameBuffer == 0) BatchRedrawShownWhole(); // into the window
    BatchFlush();
    Present(true);
    held = false;
    if (rgba.empty()) return rgba;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}
