// Trimming unit-square draws to their visible texels (see quad_trim.h).
// Depends on the graphics device (render globals), meshes, textures and the
// lean-path switch.
#include "engine/graphics/quad_trim.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

#include "engine/graphics/device.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/render_paths.h"
#include "engine/graphics/texture.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

namespace {

// A rectangle of texels, [x0, x1) by [y0, y1); empty when x0 >= x1.
struct TexelBox {
    int x0, y0, x1, y1;
};

// What one texture shows: for each block of BLOCK by BLOCK texels, 1 where a
// texel of it has any alpha; and the visible boxes of the regions asked about
// so far (whole blocks, so a box may hold a few transparent texels more).
struct VisibleTexels {
    int width = 0, height = 0;          // in texels
    int blocksWide = 0, blocksHigh = 0; // in blocks
    std::unique_ptr<uint8_t[]> seen;    // blocksWide by blocksHigh, filled at upload
    // No texel near the texture's edges has alpha, so the repeating sampler
    // never brings one in from the far side.
    bool edgesClear = false;
    std::unordered_map<uint64_t, TexelBox> boxes;
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

std::unordered_map<const Texture*, VisibleTexels> visibleTexels;

// Texels kept around the visible box: the linear filter reads one texel
// beyond a sample, and the half-size copy's texels each cover two.
constexpr int FILTER_MARGIN = 2;
// Texels per side of a block of the visibility map (reading every texel once
// at upload; the map and its scans are sixteen times smaller).
constexpr int BLOCK = 4;
// Below this share of the quad saved, the draw is left as it is.
constexpr float WORTHWHILE_CUT = 0.9f;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// The box of texels with any alpha inside `region` (empty box when none),
// rounded out to whole blocks and cut to the texture.
TexelBox ScanVisibleBox(const VisibleTexels& texels, const TexelBox& region) {
    const int x0 = region.x0 / BLOCK, x1 = (region.x1 + BLOCK - 1) / BLOCK;
    const int y0 = region.y0 / BLOCK, y1 = (region.y1 + BLOCK - 1) / BLOCK;
    TexelBox box = {x1, y1, x0, y0};
    for (int y = y0; y < y1; y++) {
        const uint8_t* row = &texels.seen[(size_t)y * texels.blocksWide];
        int first = x0;
        while (first < x1 && !row[first])
            first++;
        if (first == x1) continue;
        int last = x1 - 1;
        while (!row[last])
            last--;
        box.x0 = std::min(box.x0, first), box.x1 = std::max(box.x1, last + 1);
        box.y0 = std::min(box.y0, y), box.y1 = std::max(box.y1, y + 1);
    }
    if (box.x0 >= box.x1) return {region.x1, region.y1, region.x0, region.y0};
    return {box.x0 * BLOCK, box.y0 * BLOCK, std::min(box.x1 * BLOCK, texels.width),
            std::min(box.y1 * BLOCK, texels.height)};
}

// The visible box of `region`, scanned once per texture and region.
TexelBox VisibleBox(VisibleTexels& texels, const TexelBox& region) {
    const uint64_t key = (uint64_t)(uint16_t)region.x0 | (uint64_t)(uint16_t)region.y0 << 16 |
                         (uint64_t)(uint16_t)region.x1 << 32 | (uint64_t)(uint16_t)region.y1 << 48;
    auto known = texels.boxes.find(key);
    if (known != texels.boxes.end()) return known->second;
    TexelBox box = ScanVisibleBox(texels, region);
    texels.boxes.emplace(key, box);
    return box;
}

// Narrows [low, high] (texel coordinates along one axis, inside [0, size])
// to the visible span [first, end) plus the filter margin. A side whose
// filter could reach across the texture's edge (the sampler repeats) keeps
// its place.
void NarrowSpan(float low, float high, int size, bool edgesClear, int first, int end, float* newLow,
                float* newHigh) {
    const bool lowAtEdge = !edgesClear && low < FILTER_MARGIN;
    const bool highAtEdge = !edgesClear && high > size - FILTER_MARGIN;
    *newLow = lowAtEdge ? low : std::max(low, (float)(first - FILTER_MARGIN));
    *newHigh = highAtEdge ? high : std::min(high, (float)(end + FILTER_MARGIN));
}

// Whether any block on the texture's edges (wider than the ring of texels the
// repeating filter reaches across them) has alpha.
bool EdgeBlocksSeen(const VisibleTexels& texels) {
    for (int y = 0; y < texels.blocksHigh; y++) {
        const uint8_t* row = &texels.seen[(size_t)y * texels.blocksWide];
        const bool edgeRow = y == 0 || y == texels.blocksHigh - 1;
        for (int x = 0; x < texels.blocksWide; x += edgeRow ? 1 : texels.blocksWide - 1) {
            if (row[x]) return true;
            if (texels.blocksWide == 1) break;
        }
    }
    return false;
}

} // namespace

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

void RememberVisibleTexels(const Texture* texture, const uint32_t* pixels) {
    if (texture == nullptr || pixels == nullptr || texture->opaque) return;
    const int width = texture->width, height = texture->height;
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) return;
    VisibleTexels& texels = visibleTexels[texture];
    texels.width = width, texels.height = height;
    texels.blocksWide = (width + BLOCK - 1) / BLOCK,
    texels.blocksHigh = (height + BLOCK - 1) / BLOCK;
    const size_t blocks = (size_t)texels.blocksWide * texels.blocksHigh;
    texels.seen.reset(new uint8_t[blocks]());
    for (int y = 0; y < height; y++) {
        const uint32_t* row = pixels + (size_t)y * width;
        uint8_t* blockRow = &texels.seen[(size_t)(y / BLOCK) * texels.blocksWide];
        for (int x = 0; x < width; x += BLOCK) {
            uint32_t alphas = 0;
            for (int k = 0; k < BLOCK && x + k < width; k++)
                alphas |= row[x + k];
            blockRow[x / BLOCK] |= (alphas >> 24) != 0;
        }
    }
    texels.boxes.clear();
    texels.edgesClear = !EdgeBlocksSeen(texels);
}

void ForgetVisibleTexels(const Texture* texture) {
    visibleTexels.erase(texture);
}

// The shown part of the texture is an axis-aligned rectangle of texels when
// the texture transform has no rotation; the unit square's (u, v) are
// (x + 1/2, 1/2 - y). The narrowed square is mapped onto the same texels by
// composing both transforms with the square's own scale and offset, so every
// pixel still drawn samples where it did.
bool BeginQuadTrim(const Mesh* mesh, QuadTrim* trim) {
    trim->active = false;
    if (!LeanRendering() || mesh == nullptr || !mesh->unitSquare) return true;
    memcpy(trim->model, modelTransform, sizeof trim->model);
    memcpy(trim->texture, textureTransform.m, sizeof trim->texture);
    trim->active = true;
    SquareUp(modelTransform);
    const Texture* texture = boundTexture;
    if (texture == nullptr || texture->opaque) return true;
    auto found = visibleTexels.find(texture);
    if (found == visibleTexels.end()) return true;
    const Matrix3& t = textureTransform;
    if (t.m[0][1] != 0 || t.m[1][0] != 0 || t.m[0][0] == 0 || t.m[1][1] == 0 || t.m[2][0] != 0 ||
        t.m[2][1] != 0 || t.m[2][2] != 1)
        return true;
    VisibleTexels& texels = found->second;
    const float width = (float)texels.width, height = (float)texels.height;
    // The shown texel rectangle (texel coordinates, low to high).
    float sLow = t.m[0][2] * width, sHigh = (t.m[0][0] + t.m[0][2]) * width;
    float tLow = t.m[1][2] * height, tHigh = (t.m[1][1] + t.m[1][2]) * height;
    if (sLow > sHigh) std::swap(sLow, sHigh);
    if (tLow > tHigh) std::swap(tLow, tHigh);
    const float slack = 1e-3f;
    if (sLow < -slack || tLow < -slack || sHigh > width + slack || tHigh > height + slack)
        return true; // the texture repeats across the quad
    TexelBox region = {(int)std::floor(sLow) - 1, (int)std::floor(tLow) - 1,
                       (int)std::ceil(sHigh) + 1, (int)std::ceil(tHigh) + 1};
    region.x0 = std::max(region.x0, 0), region.y0 = std::max(region.y0, 0);
    region.x1 = std::min(region.x1, texels.width), region.y1 = std::min(region.y1, texels.height);
    const TexelBox box = VisibleBox(texels, region);
    const bool touchesEdge =
        !texels.edgesClear && (sLow < FILTER_MARGIN || tLow < FILTER_MARGIN ||
                               sHigh > width - FILTER_MARGIN || tHigh > height - FILTER_MARGIN);
    if (box.x0 >= box.x1 && !touchesEdge) { // no visible texel: nothing to draw
        EndQuadTrim(*trim);
        return false;
    }
    if (box.x0 >= box.x1) return true;
    float sFrom, sTo, tFrom, tTo;
    NarrowSpan(sLow, sHigh, texels.width, texels.edgesClear, box.x0, box.x1, &sFrom, &sTo);
    NarrowSpan(tLow, tHigh, texels.height, texels.edgesClear, box.y0, box.y1, &tFrom, &tTo);
    if ((sTo - sFrom) * (tTo - tFrom) > WORTHWHILE_CUT * (sHigh - sLow) * (tHigh - tLow))
        return true;
    // Back to the square's (u, v), then to its (x, y).
    float u0 = (sFrom / width - t.m[0][2]) / t.m[0][0], u1 = (sTo / width - t.m[0][2]) / t.m[0][0];
    float v0 = (tFrom / height - t.m[1][2]) / t.m[1][1];
    float v1 = (tTo / height - t.m[1][2]) / t.m[1][1];
    if (u0 > u1) std::swap(u0, u1);
    if (v0 > v1) std::swap(v0, v1);
    const float scaleX = u1 - u0, scaleY = v1 - v0;
    const float centreX = (u0 + u1) / 2 - 0.5f, centreY = 0.5f - (v0 + v1) / 2;
    float model[4][4];
    memcpy(model, modelTransform, sizeof model);
    for (int row = 0; row < 4; row++) {
        const float* m = model[row];
        modelTransform[row][0] = m[0] * scaleX;
        modelTransform[row][1] = m[1] * scaleY;
        modelTransform[row][3] = m[0] * centreX + m[1] * centreY + m[3];
    }
    // uv of the old square = (scaleX u' + u0, scaleY v' + v0) for the new one's (u', v').
    for (int row = 0; row < 3; row++) {
        const float* m = trim->texture[row];
        textureTransform.m[row][0] = m[0] * scaleX;
        textureTransform.m[row][1] = m[1] * scaleY;
        textureTransform.m[row][2] = m[0] * u0 + m[1] * v0 + m[2];
    }
    return true;
}

void EndQuadTrim(const QuadTrim& trim) {
    if (!trim.active) return;
    memcpy(modelTransform, trim.model, sizeof trim.model);
    memcpy(textureTransform.m, trim.texture, sizeof trim.texture);
}

// A square turned by a multiple of a quarter turn carries the rounding of its
// sine and cosine (sin pi is not 0 in floats), which tilts it by a millionth
// of a pixel; squared up, the rasterizer fills it as a rectangle, which is
// cheaper than two triangles.
void SquareUp(float (&model)[4][4]) {
    const float largest = std::max({std::fabs(model[0][0]), std::fabs(model[0][1]),
                                    std::fabs(model[1][0]), std::fabs(model[1][1])});
    for (int row = 0; row < 2; row++)
        for (int column = 0; column < 2; column++)
            if (std::fabs(model[row][column]) < 1e-5f * largest) model[row][column] = 0;
}
