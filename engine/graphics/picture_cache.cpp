// Settled pictures rendered once and then drawn texel for pixel (see
// picture_cache.h). Depends on the graphics device (render globals, world
// bounds), meshes, textures, the lean paths and the platform's client size.
#include "engine/graphics/picture_cache.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "engine/graphics/device.h"
#include "engine/graphics/draw_batch.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/quad_trim.h"
#include "engine/graphics/render_paths.h"
#include "engine/graphics/texture.h"
#include "engine/platform/platform.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

namespace {

// Everything that decides the pixels of a picture draw (no padding, so it is
// hashed and compared as bytes).
struct DrawKey {
    const Mesh* mesh;
    const Texture* texture;
    uint32_t textureName;
    uint32_t tint; // 0 when untinted
    uint32_t tinted;
    float model[4][4];
    float texture3[3][3];
    float worldMin[2];
};
static_assert(sizeof(DrawKey) == 2 * sizeof(void*) + 12 + 4 * (16 + 9 + 2), "DrawKey is padded");

// Hashes the key's bytes eight at a time.
struct DrawKeyHash {
    size_t operator()(const DrawKey& key) const {
        uint64_t words[sizeof(DrawKey) / 8];
        memcpy(words, &key, sizeof words);
        uint64_t hash = 0x9E3779B97F4A7C15ull;
        for (uint64_t word : words) {
            hash ^= word;
            hash *= 0xFF51AFD7ED558CCDull;
            hash ^= hash >> 32;
        }
        return (size_t)hash;
    }
};

struct DrawKeyEqual {
    bool operator()(const DrawKey& a, const DrawKey& b) const {
        return memcmp(&a, &b, sizeof a) == 0;
    }
};

// One draw seen lately: in how many frames in a row, and its copy once made.
struct Sighting {
    uint64_t lastFrame = 0;
    int framesInARow = 0;
    CachedPicture picture = {nullptr, 0, 0, 0, 0};
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

// Frames in a row a draw must be seen before its copy is made (the frame
// that makes it pays for the draw twice, and a split of the frame's work),
// and frames a copy is kept unseen: long enough for the cells of an animated
// backdrop (a level's field shows each for 5 to 21 frames) to settle, and
// for its whole cycle, so every later cycle is drawn from the copies.
constexpr int SETTLED_FRAMES = 4;
constexpr uint64_t KEEP_FRAMES = 120;
// Smaller draws (troops, health bars) are not worth a copy, or the work of
// counting them; larger copies are not made beyond the budget.
constexpr float MIN_PIXELS = 32768.0f;
constexpr int64_t MAX_CACHED_PIXELS = 8 << 20; // 32 MiB of copies
// Pixels kept around a copy, so that whatever rule the rasterizer uses for
// pixel centres on an edge, the copy holds every pixel the draw covers.
constexpr int MARGIN = 1;

std::unordered_map<DrawKey, Sighting, DrawKeyHash, DrawKeyEqual> sightings;
uint64_t frameNumber = 1;
int64_t cachedPixels = 0;
GLuint captureFrameBuffer = 0;
// What a capture changed, put back by EndPictureCapture.
bool captureOpen = false, captureBlend = false, captureScissor = false;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Deletes a copy's texture and gives its pixels back to the budget.
void DeleteCopy(CachedPicture* picture) {
    if (picture->copy == nullptr) return;
    DeleteTextureName(picture->copy->glName);
    cachedPixels -= (int64_t)picture->width * picture->height;
    delete picture->copy;
    picture->copy = nullptr;
}

// The key of the draw about to be made; false for draws the cache leaves
// alone: not a picture, read texel for pixel already, turned, or too small to
// matter. A fade changes the key every frame, so it never settles.
bool KeyOfDraw(const Mesh* mesh, DrawKey* key) {
    const Texture* texture = boundTexture;
    if (mesh == nullptr || !mesh->unitSquare || texture == nullptr || ExactSamplingChosen())
        return false;
    // The battle's many small pictures stop here, before any key is built.
    if (std::fabs(modelTransform[0][0] * modelTransform[1][1]) < MIN_PIXELS) return false;
    memset(key, 0, sizeof *key);
    float(&m)[4][4] = key->model;
    memcpy(m, modelTransform, sizeof m);
    SquareUp(m); // as the draw will be
    const Matrix3& t = textureTransform;
    if (m[0][1] != 0 || m[1][0] != 0 || t.m[0][1] != 0 || t.m[1][0] != 0) return false;
    key->mesh = mesh;
    key->texture = texture;
    key->textureName = texture->glName;
    key->tinted = useTint ? 1 : 0;
    key->tint = useTint ? tintColor : 0;
    memcpy(key->texture3, t.m, sizeof key->texture3);
    key->worldMin[0] = worldMinX;
    key->worldMin[1] = worldMinY;
    return true;
}

// The window pixels the draw can cover (with the margin), clipped to the client area.
bool PixelsOfDraw(int* x0, int* y0, int* width, int* height) {
    int clientWidth = 0, clientHeight = 0;
    PlatformGetClientSize(&clientWidth, &clientHeight);
    const float(&m)[4][4] = modelTransform;
    const float halfWidth = std::fabs(m[0][0]) / 2, halfHeight = std::fabs(m[1][1]) / 2;
    const float left = m[0][3] - halfWidth - worldMinX, right = m[0][3] + halfWidth - worldMinX;
    const float bottom = m[1][3] - halfHeight - worldMinY, top = m[1][3] + halfHeight - worldMinY;
    if (!(std::isfinite(left) && std::isfinite(right) && std::isfinite(bottom) &&
          std::isfinite(top)))
        return false;
    // Clamped as floats: a square far off screen must not overflow an int.
    auto pixel = [](float edge, int size) { return (int)std::clamp(edge, 0.0f, (float)size); };
    const int x1 = pixel(std::ceil(right) + MARGIN, clientWidth);
    const int y1 = pixel(std::ceil(top) + MARGIN, clientHeight);
    *x0 = pixel(std::floor(left) - MARGIN, clientWidth);
    *y0 = pixel(std::floor(bottom) - MARGIN, clientHeight);
    *width = x1 - *x0;
    *height = y1 - *y0;
    return *width > 0 && *height > 0;
}

} // namespace

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Counts the frames in a row the draw has been seen; settled draws get their
// copy's place in the window worked out here.
CachedPicture* PictureForDraw(const Mesh* mesh) {
    if (DrawingSuppressed()) return nullptr;
    DrawKey key;
    if (!KeyOfDraw(mesh, &key)) return nullptr;
    Sighting& seen = sightings[key];
    if (seen.lastFrame + 1 == frameNumber)
        seen.framesInARow++;
    else if (seen.lastFrame != frameNumber)
        seen.framesInARow = 1;
    seen.lastFrame = frameNumber;
    // Draws made in full count as sightings too; only the lean path uses copies.
    if (!LeanRendering()) return nullptr;
    if (seen.picture.copy != nullptr) return &seen.picture;
    if (seen.framesInARow < SETTLED_FRAMES) return nullptr;
    CachedPicture& picture = seen.picture;
    if (!PixelsOfDraw(&picture.x0, &picture.y0, &picture.width, &picture.height)) return nullptr;
    if (cachedPixels + (int64_t)picture.width * picture.height > MAX_CACHED_PIXELS) return nullptr;
    return &picture;
}

// The copy is cleared to transparent and drawn into without blending: it holds
// the colour and alpha the window's blend would have received. The viewport
// is the window's, moved by whole pixels, so every pixel samples the picture
// exactly where it would in the window.
bool BeginPictureCapture(CachedPicture* picture) {
    if (picture == nullptr || picture->copy != nullptr || captureOpen) return false;
    GLint frameBuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &frameBuffer);
    if (frameBuffer != 0) return false; // drawing into a render texture
    FlushDrawBatch();                   // what was gathered belongs to the window
    int clientWidth = 0, clientHeight = 0;
    PlatformGetClientSize(&clientWidth, &clientHeight);
    Texture* copy = new Texture{};
    glGenTextures(1, &copy->glName);
    BindTextureName(copy->glName);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, picture->width, picture->height, 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    if (captureFrameBuffer == 0) glGenFramebuffers(1, &captureFrameBuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, captureFrameBuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, copy->glName, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        fprintf(stderr, "Picture cache: a %dx%d copy cannot be drawn into; drawing it as always\n",
                picture->width, picture->height);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        DeleteTextureName(copy->glName);
        delete copy;
        return false;
    }
    copy->width = picture->width;
    copy->height = picture->height;
    snprintf(copy->name, sizeof copy->name, "copy of %.240s", boundTexture->name);
    picture->copy = copy;
    cachedPixels += (int64_t)picture->width * picture->height;
    captureBlend = glIsEnabled(GL_BLEND);
    captureScissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);
    glViewport(-picture->x0, -picture->y0, clientWidth, clientHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    captureOpen = true;
    return true;
}

// The window as the target again, with the viewport, blending and scissor it had.
void EndPictureCapture() {
    if (!captureOpen) return;
    FlushDrawBatch(); // the picture's draw belongs to the copy
    captureOpen = false;
    int clientWidth = 0, clientHeight = 0;
    PlatformGetClientSize(&clientWidth, &clientHeight);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, clientWidth, clientHeight);
    if (captureBlend) glEnable(GL_BLEND);
    if (captureScissor) glEnable(GL_SCISSOR_TEST);
    CheckGLError();
}

// Draws not seen in the frame just ended are forgotten; their copies wait
// KEEP_FRAMES for the draw to come back (a button hovered and left, the
// next round of an animation).
void PictureCacheNewFrame() {
    for (auto it = sightings.begin(); it != sightings.end();) {
        Sighting& seen = it->second;
        const bool recent = seen.lastFrame >= frameNumber; // drawn in the frame just ended
        const bool kept =
            seen.picture.copy != nullptr && seen.lastFrame + KEEP_FRAMES >= frameNumber;
        if (recent || kept) {
            ++it;
            continue;
        }
        DeleteCopy(&seen.picture);
        it = sightings.erase(it);
    }
    frameNumber++;
}

void ForgetCachedPictures(const Texture* texture) {
    for (auto it = sightings.begin(); it != sightings.end();) {
        if (it->first.texture != texture) {
            ++it;
            continue;
        }
        DeleteCopy(&it->second.picture);
        it = sightings.erase(it);
    }
}

void FreePictureCache() {
    for (auto& [key, seen] : sightings)
        DeleteCopy(&seen.picture);
    sightings.clear();
    if (captureFrameBuffer != 0) glDeleteFramebuffers(1, &captureFrameBuffer);
    captureFrameBuffer = 0;
    cachedPixels = 0;
}

void DropPictureCache() {
    for (auto& [key, seen] : sightings)
        delete seen.picture.copy;
    sightings.clear();
    captureFrameBuffer = 0;
    cachedPixels = 0;
    captureOpen = false;
}
