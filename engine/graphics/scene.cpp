// The scene clip and the draws left out (see scene.h).
// Depends on the graphics device (render globals, world bounds), meshes
// (their bounds), textures (their opacity) and the platform's client size.
#include "engine/graphics/scene.h"

#include <algorithm>
#include <cmath>

#include "engine/graphics/device.h"
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

bool suppressed = false;
bool hiddenBelow = false;
bool sceneClipOn = false;
bool sceneClipLifted = false;
int sceneScissor[4] = {0, 0, 0, 0};
WorldRect sceneRect = {0, 0, 0, 0};

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

} // namespace

// The clip is set in whole pixels: those whose centres the scene covers.
void BeginSceneClip(float scale) {
    int width = 0, height = 0;
    PlatformGetClientSize(&width, &height);
    if (width <= 0 || height <= 0 || scale <= 0) return;
    int x0, x1, y0, y1;
    PixelSpan(width, SCENE_WIDTH * scale / 2, &x0, &x1);
    PixelSpan(height, SCENE_HEIGHT * scale / 2, &y0, &y1);
    const int rect[4] = {x0, y0, x1 - x0, y1 - y0};
    std::copy(rect, rect + 4, sceneScissor);
    sceneRect = {x0 - width / 2.0f, x1 - width / 2.0f, y0 - height / 2.0f, y1 - height / 2.0f};
    sceneClipOn = true;
    sceneClipLifted = false;
}

void EndSceneClip() {
    sceneClipOn = false;
    sceneClipLifted = false;
}

void SetSceneClipLifted(bool lifted) {
    sceneClipLifted = sceneClipOn && lifted;
}

bool SceneClipRect(int rect[4]) {
    if (!sceneClipOn || sceneClipLifted) return false;
    std::copy(sceneScissor, sceneScissor + 4, rect);
    return true;
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

// The cursor is never under a covering picture.
bool CanSkipDraw(const Mesh* mesh) {
    if (suppressed || (hiddenBelow && !sceneClipLifted)) return true;
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
    return right < visible.left - 1 || left > visible.right + 1 || top < visible.bottom - 1 ||
           bottom > visible.top + 1;
}

// The square must be the unit square, axis-aligned, opaque and reach past
// every visible pixel centre.
bool CoversVisibleScene(const Mesh* mesh, const Texture* texture, bool tinted, uint32_t tint,
                        const Matrix3& model) {
    if (mesh == nullptr || !mesh->unitSquare || texture == nullptr || !texture->opaque ||
        (tinted && (tint >> 24) != 0xFF))
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
