// Lean draw paths and the scene clip (see render_paths.h for what they do).
// Depends on the graphics device (render globals, world bounds), meshes (their
// bounds and colours), textures (their opacity) and the platform's client size.
#include "engine/graphics/render_paths.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

#include "engine/graphics/device.h"
#include "engine/graphics/draw_batch.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"
#include "engine/platform/platform.h"

namespace {

// A rectangle in world units (client pixels from the centre, y up).
struct WorldRect {
    float left, right, bottom, top;
};

// The layout every screen is designed for.
constexpr float SCENE_WIDTH = 1280.0f;
constexpr float SCENE_HEIGHT = 720.0f;

bool lean = true;
bool suppressed = false;
bool hiddenBelow = false;
bool sceneClipOn = false;
bool sceneClipLifted = false;
WorldRect sceneRect = {0, 0, 0, 0};
bool blendOn = true; // the fixed render state starts with blending on
// Nearest-texel samplers for pictures drawn one texel to one pixel (level 0)
// or two by two texels to one pixel (level 1, the picture's half-size copy):
// every pixel centre then falls on a texel centre of that level, where the
// linear filter reads exactly that texel (0: not made yet).
GLuint exactSamplers[2] = {0, 0};
int exactLevelBound = -1;   // -1: the texture's own linear filter
int exactLevelChosen = -1;  // ExactLevel of the draw being made
GLuint copyFrameBuffer = 0; // reads a window-order copy for a blit
// Draws sent this frame and the frame before (see BlitInsteadOfDraw).
int drawsThisFrame = 0, drawsLastFrame = 0;
// From this many draws in a frame, the thread sending them is the frame's
// longest task: a 200-troop battle sends over 600, a menu a few dozen.
constexpr int HEAVY_FRAME_DRAWS = 300;

// The pixel span [first, end) whose centres lie in [centre - half, centre + half).
void PixelSpan(int size, float half, int* first, int* end) {
    *first = std::clamp((int)std::ceil(size / 2.0f - half - 0.5f), 0, size);
    *end = std::clamp((int)std::ceil(size / 2.0f + half - 0.5f), 0, size);
}

// What a draw can reach now: the scene, or the whole client area.
WorldRect VisibleRect() {
    if (sceneClipOn && !sceneClipLifted) return sceneRect;
    return {worldMinX, worldMaxX, worldMinY, worldMaxY};
}

// Whether a 0xAARRGGBB tint leaves the alpha alone.
bool TintKeepsOpacity(bool tinted, uint32_t tint) {
    return !tinted || (tint >> 24) == 0xFF;
}

} // namespace

void SetLeanRendering(bool on) {
    FlushDrawBatch();
    lean = on;
    ApplyRenderPathState();
}

bool LeanRendering() {
    return lean;
}

// The scissor is set in whole pixels: those whose centres the scene covers.
void BeginSceneClip(float scale) {
    int width = 0, height = 0;
    PlatformGetClientSize(&width, &height);
    if (width <= 0 || height <= 0 || scale <= 0) return;
    FlushDrawBatch();
    int x0, x1, y0, y1;
    PixelSpan(width, SCENE_WIDTH * scale / 2, &x0, &x1);
    PixelSpan(height, SCENE_HEIGHT * scale / 2, &y0, &y1);
    glScissor(x0, y0, x1 - x0, y1 - y0);
    glEnable(GL_SCISSOR_TEST);
    sceneRect = {x0 - width / 2.0f, x1 - width / 2.0f, y0 - height / 2.0f, y1 - height / 2.0f};
    sceneClipOn = true;
    sceneClipLifted = false;
}

void EndSceneClip() {
    FlushDrawBatch();
    if (sceneClipOn) glDisable(GL_SCISSOR_TEST);
    sceneClipOn = false;
    sceneClipLifted = false;
}

void SetSceneClipLifted(bool lifted) {
    if (!sceneClipOn || lifted == sceneClipLifted) return;
    FlushDrawBatch();
    sceneClipLifted = lifted;
    lifted ? glDisable(GL_SCISSOR_TEST) : glEnable(GL_SCISSOR_TEST);
}

void SetDrawingSuppressed(bool on) {
    suppressed = on;
}

bool DrawingSuppressed() {
    return suppressed;
}

void SetDrawsHidden(bool on) {
    hiddenBelow = on;
}

// Left out: everything while suppressed; with lean rendering, a draw under a
// later opaque picture (the cursor is never under one) or one whose bounds
// lie wholly outside what can be seen.
bool CanSkipDraw(const Mesh* mesh) {
    if (suppressed) return true;
    if (!lean) return false;
    if (hiddenBelow && !sceneClipLifted) return true;
    float left = 1e30f, right = -1e30f, bottom = 1e30f, top = -1e30f;
    for (float x : {mesh->minX, mesh->maxX})
        for (float y : {mesh->minY, mesh->maxY}) {
            float wx = modelTransform[0][0] * x + modelTransform[0][1] * y + modelTransform[0][3];
            float wy = modelTransform[1][0] * x + modelTransform[1][1] * y + modelTransform[1][3];
            left = std::min(left, wx), right = std::max(right, wx);
            bottom = std::min(bottom, wy), top = std::max(top, wy);
        }
    // A pixel is drawn when its centre is inside; one pixel of margin is plenty.
    const WorldRect visible = VisibleRect();
    const bool outside = right < visible.left - 1 || left > visible.right + 1 ||
                         top < visible.bottom - 1 || bottom > visible.top + 1;
    drawsThisFrame += !outside;
    return outside;
}

void BeginFrameDraws() {
    drawsLastFrame = drawsThisFrame;
    drawsThisFrame = 0;
}

// Blending changes nothing where every source pixel is opaque: the picture's
// (or, untextured, the vertex colours') alpha is 1 and the tint keeps it.
void ChooseBlending(const Mesh* mesh) {
    bool blend = true;
    if (lean) {
        bool opaque = boundTexture != nullptr ? boundTexture->opaque : mesh->opaqueColors;
        blend = !(opaque && TintKeepsOpacity(useTint, tintColor));
    }
    if (blend == blendOn) return;
    FlushDrawBatch();
    blend ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
    blendOn = blend;
}

// The mip level whose texels fall one to one on the pixels when the unit
// square under the model transform shows the bound texture, or one cell of a
// sprite sheet, at full or half size, its edges on pixel edges and on texel
// edges of that level; -1 otherwise.
int ExactLevel(const Mesh* mesh) {
    const Texture* texture = boundTexture;
    if (!mesh->unitSquare || texture == nullptr || useTint) return -1;
    const Matrix3& t = textureTransform;
    const float(&m)[4][4] = modelTransform;
    if (t.m[0][1] != 0 || t.m[1][0] != 0 || std::fabs(m[0][1]) > 1e-3f ||
        std::fabs(m[1][0]) > 1e-3f)
        return -1;
    const float width = std::fabs(m[0][0]), height = std::fabs(m[1][1]);
    const float left = m[0][3] - width / 2 - worldMinX, bottom = m[1][3] - height / 2 - worldMinY;
    auto whole = [](float v) { return std::fabs(v - std::round(v)) < 1e-3f; };
    if (!whole(left) || !whole(bottom)) return -1;
    // The shown part of the texture, in texels.
    const float cellWidth = std::fabs(t.m[0][0]) * texture->width;
    const float cellHeight = std::fabs(t.m[1][1]) * texture->height;
    const float cellX = t.m[0][2] * texture->width, cellY = t.m[1][2] * texture->height;
    for (int level = 0; level < 2; level++) {
        const float texels = (float)(1 << level);
        if (whole(cellWidth / texels - width) && whole(cellHeight / texels - height) &&
            std::fabs(cellWidth / texels - width) < 1e-3f &&
            std::fabs(cellHeight / texels - height) < 1e-3f && whole(cellX / texels) &&
            whole(cellY / texels))
            return level;
    }
    return -1;
}

// A one-level copy of `level` of the texture with its rows in the order the
// window keeps them, made by two frame buffers and an exact flipped blit.
static GLuint MakeWindowOrderCopy(const Texture* texture, int level) {
    const int width = std::max(1, texture->width >> level);
    const int height = std::max(1, texture->height >> level);
    GLuint copy = 0, frameBuffers[2] = {0, 0};
    glGenTextures(1, &copy);
    BindTextureName(copy);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glGenFramebuffers(2, frameBuffers);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, frameBuffers[0]);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           texture->glName, level);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, frameBuffers[1]);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, copy, 0);
    const bool scissored = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    glBlitFramebuffer(0, 0, width, height, 0, height, width, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    if (scissored) glEnable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(2, frameBuffers);
    return copy;
}

// A nearest-texel sampler reading only `level`.
GLuint MakeExactSampler(int level) {
    GLuint sampler = 0;
    glGenSamplers(1, &sampler);
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER,
                        level == 0 ? GL_NEAREST : GL_NEAREST_MIPMAP_NEAREST);
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, (float)level);
    glSamplerParameterf(sampler, GL_TEXTURE_MAX_LOD, (float)level);
    return sampler;
}

// Binds the nearest-texel sampler for such draws (making the half-size copy
// the first time a picture is drawn at half size), and lets the texture's own
// linear filter apply to every other draw.
void ChooseSampler(const Mesh* mesh) {
    const int level = lean ? ExactLevel(mesh) : -1;
    if (level >= 0 && exactSamplers[level] == 0) exactSamplers[level] = MakeExactSampler(level);
    if (level == 1 && !boundTexture->mipmapsMade) {
        FlushDrawBatch(); // the texture may be the one gathered draws read
        BindTextureName(boundTexture->glName);
        // Only the half-size level: the box-filtered halves the filter reads at 2:1.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 1);
        glGenerateMipmap(GL_TEXTURE_2D);
        boundTexture->mipmapsMade = true;
    }
    exactLevelChosen = level;
    if (level == exactLevelBound) return;
    FlushDrawBatch();
    glBindSampler(0, level >= 0 ? exactSamplers[level] : 0);
    exactLevelBound = level;
}

bool ExactSamplingChosen() {
    return exactLevelBound >= 0;
}

// An opaque picture drawn texel for pixel into the window is copied there
// instead: Mesa's software rasterizer keeps the window's rows top first, and a
// blit from a copy of the picture in that order, one texel to one pixel, is a
// plain copy of rows where a draw would shade every pixel. The blit covers the
// pixels whose centres the square covers, clipped to what can be seen, and
// gives each the texel the draw would have read. The copy runs on the thread
// that sends the draws, where a drawn picture is shared by the rasterizer's
// threads: after a heavy frame the picture is drawn, which keeps that thread's
// share of the frame short at the cost of some more work in all.
bool BlitInsteadOfDraw(const Mesh* mesh) {
    Texture* texture = boundTexture;
    const int level = exactLevelChosen;
    if (!lean || drawsLastFrame >= HEAVY_FRAME_DRAWS || level < 0 || mesh == nullptr ||
        !mesh->unitSquare || texture == nullptr || !texture->opaque || useTint)
        return false;
    GLint frameBuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &frameBuffer);
    if (frameBuffer != 0) return false; // drawing into a render texture
    const float(&m)[4][4] = modelTransform;
    const Matrix3& t = textureTransform;
    if (m[0][1] != 0 || m[1][0] != 0) return false;
    // The square's pixel rectangle, clipped to what can be seen (world units).
    const WorldRect visible = VisibleRect();
    const float left = std::max(m[0][3] - std::fabs(m[0][0]) / 2, visible.left);
    const float right = std::min(m[0][3] + std::fabs(m[0][0]) / 2, visible.right);
    const float bottom = std::max(m[1][3] - std::fabs(m[1][1]) / 2, visible.bottom);
    const float top = std::min(m[1][3] + std::fabs(m[1][1]) / 2, visible.top);
    if (left >= right || bottom >= top) return true; // nothing of it can be seen
    FlushDrawBatch();
    if (texture->windowOrderCopy[level] == 0)
        texture->windowOrderCopy[level] = MakeWindowOrderCopy(texture, level);
    const int width = std::max(1, texture->width >> level);
    const int height = std::max(1, texture->height >> level);
    // Texel coordinates (of the level) along each axis at a world x or y.
    auto texelS = [&](float x) {
        return (t.m[0][0] * ((x - m[0][3]) / m[0][0] + 0.5f) + t.m[0][2]) * width;
    };
    auto texelT = [&](float y) {
        return (t.m[1][1] * (0.5f - (y - m[1][3]) / m[1][1]) + t.m[1][2]) * height;
    };
    // The copy keeps row r of the level as row height - r.
    const int src[4] = {(int)std::lround(texelS(left)), (int)std::lround(height - texelT(bottom)),
                        (int)std::lround(texelS(right)), (int)std::lround(height - texelT(top))};
    const int dst[4] = {(int)std::lround(left - worldMinX), (int)std::lround(bottom - worldMinY),
                        (int)std::lround(right - worldMinX), (int)std::lround(top - worldMinY)};
    if (copyFrameBuffer == 0) glGenFramebuffers(1, &copyFrameBuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, copyFrameBuffer);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           texture->windowOrderCopy[level], 0);
    const bool scissored = sceneClipOn && !sceneClipLifted;
    if (scissored) glDisable(GL_SCISSOR_TEST);
    // The copy is upside down for OpenGL, so the blit turns it over.
    glBlitFramebuffer(src[0], src[1], src[2], src[3], dst[0], dst[1], dst[2], dst[3],
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
    if (scissored) glEnable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    return true;
}

// Every geometry of the game lies at depth 0 and is drawn in painter's order,
// so the depth test never rejects a pixel: the lean path leaves it off.
// Blending starts on for either path.
void ApplyRenderPathState() {
    FlushDrawBatch();
    glEnable(GL_BLEND);
    blendOn = true;
    glBindSampler(0, 0);
    exactLevelBound = -1;
    exactSamplers[0] = exactSamplers[1] = 0; // a new context has none
    copyFrameBuffer = 0;
    if (lean) {
        glDisable(GL_DEPTH_TEST);
        glDepthMask(GL_FALSE);
    } else {
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_TRUE);
    }
}

bool DepthBufferInUse() {
    return !lean;
}

std::vector<uint8_t> ReadClientPixels(int width, int height) {
    std::vector<uint8_t> rgba((size_t)std::max(width, 0) * std::max(height, 0) * 4);
    if (rgba.empty()) return rgba;
    FlushDrawBatch();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

// The square must be the unit square, axis-aligned, opaque and reach past
// every visible pixel centre.
bool CoversVisibleScene(const Mesh* mesh, const Texture* texture, bool tinted, uint32_t tint,
                        const Matrix3& model) {
    if (mesh == nullptr || !mesh->unitSquare || texture == nullptr || !texture->opaque ||
        !TintKeepsOpacity(tinted, tint))
        return false;
    if (std::fabs(model.m[0][1]) > 1e-3f || std::fabs(model.m[1][0]) > 1e-3f) return false;
    const float halfWidth = std::fabs(model.m[0][0]) / 2, halfHeight = std::fabs(model.m[1][1]) / 2;
    const float x = model.m[0][2], y = model.m[1][2];
    const WorldRect visible = VisibleRect();
    // Pixel centres lie half a pixel inside the visible rectangle.
    const float slack = 0.25f;
    return x - halfWidth <= visible.left + slack && x + halfWidth >= visible.right - slack &&
           y - halfHeight <= visible.bottom + slack && y + halfHeight >= visible.top - slack;
}
