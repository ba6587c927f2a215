// Trimming unit-square draws to their visible texels (see quad_trim.h).
// Depends on the graphics device (render globals), meshes, textures and the
// lean-path switch.
#include "engine/graphics/quad_trim.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
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

// A rectangle in texel coordinates, [s0, s1) by [t0, t1); empty when s0 >= s1.
struct TexelRect {
    float s0, t0, s1, t1;
};

// How the draws showing one part of a texture are trimmed.
enum class TrimKind {
    Untrimmed, // nothing worth cutting
    Nothing,   // no visible texel: the draw is left out
    Box,       // the transforms narrowed to one box
    Bands,     // band rectangles drawn from the band vertex array
};

struct TrimLayout {
    TrimKind kind = TrimKind::Untrimmed;
    TexelRect box = {0, 0, 0, 0};
    int first = 0, count = 0; // Bands: vertices in the band vertex array
};

// The texture transform's terms that decide which texels a draw shows.
struct LayoutKey {
    float scaleS, offsetS, scaleT, offsetT;
    bool operator==(const LayoutKey& other) const {
        return memcmp(this, &other, sizeof other) == 0;
    }
};

struct LayoutKeyHash {
    size_t operator()(const LayoutKey& key) const {
        uint32_t words[4];
        memcpy(words, &key, sizeof words);
        uint64_t hash = 1469598103934665603ull;
        for (uint32_t word : words)
            hash = (hash ^ word) * 1099511628211ull;
        return (size_t)hash;
    }
};

// What one texture shows: for each block of BLOCK by BLOCK texels, 1 where a
// texel of it has any alpha; and the trim of each part of it drawn so far.
struct VisibleTexels {
    int width = 0, height = 0;          // in texels
    int blocksWide = 0, blocksHigh = 0; // in blocks
    std::unique_ptr<uint8_t[]> seen;    // blocksWide by blocksHigh, filled at upload
    std::unordered_map<LayoutKey, TrimLayout, LayoutKeyHash> layouts;
};

// A vertex of the band vertex array: a point of the unit square and the
// texture coordinates the square has there.
struct BandVertex {
    float x, y, u, v;
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

std::unordered_map<const Texture*, VisibleTexels> visibleTexels;

// Texels kept around what is visible: the linear filter reads one texel
// beyond a sample, and the half-size copy's texels each cover two.
constexpr int FILTER_MARGIN = 2;
// Texels per side of a block of the visibility map (reading every texel once
// at upload; the map and its scans are sixteen times smaller).
constexpr int BLOCK = 4;
// Below this share of the quad saved, a box is not worth it.
constexpr float WORTHWHILE_CUT = 0.9f;
// Bands are drawn only when they cost this share of the box or less.
constexpr float BANDS_WORTHWHILE = 0.85f;
// The rasterizer shades whole 4 by 4 blocks of pixels, so a rectangle pays
// for about three rows and columns more than it covers, and for its set-up
// (counted as this many pixels).
constexpr float PARTIAL_BLOCKS = 3.0f;
constexpr float RECTANGLE_SETUP = 64.0f;
// Bounds on what is kept: trims per texture (a scrolling texture makes a new
// one every frame) and band vertices in all.
constexpr size_t MAX_LAYOUTS = 512;
constexpr size_t MAX_BAND_VERTICES = 1 << 16;

GLuint bandVertexArray = 0, bandBuffer = 0;
std::vector<BandVertex> bandVertices;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Roughly what the rasterizer pays to fill `rect`, drawn at the given pixels per texel.
float FillCost(const TexelRect& rect, float pixelsPerS, float pixelsPerT) {
    return ((rect.s1 - rect.s0) * pixelsPerS + PARTIAL_BLOCKS) *
               ((rect.t1 - rect.t0) * pixelsPerT + PARTIAL_BLOCKS) +
           RECTANGLE_SETUP;
}

// The texel span [*s0, *s1) of `shown` that block row `row` must draw: every
// texel whose filter can reach a visible texel of that row or the rows next
// to it, including the texels the repeating sampler brings in across the
// texture's edges next to which the shown part lies. Empty when none.
void NeededSpan(const VisibleTexels& texels, const TexelRect& shown, int row, float* s0,
                float* s1) {
    const bool wrapLeft = shown.s0 < FILTER_MARGIN;
    const bool wrapRight = shown.s1 > texels.width - FILTER_MARGIN;
    const bool wrapTop = shown.t0 < FILTER_MARGIN;
    const bool wrapBottom = shown.t1 > texels.height - FILTER_MARGIN;
    // Block columns within the filter's reach of the shown texels.
    const int firstColumn = std::max(0, (int)std::floor(shown.s0) - 1) / BLOCK;
    const int endColumn =
        std::min(texels.blocksWide, ((int)std::ceil(shown.s1) + 1 + BLOCK - 1) / BLOCK);
    int first = endColumn, last = firstColumn - 1;
    bool reachesLeft = false, reachesRight = false;
    for (int neighbour = row - 1; neighbour <= row + 1; neighbour++) {
        int scanned = neighbour;
        if (scanned < 0 && wrapTop) scanned = texels.blocksHigh - 1;
        if (scanned >= texels.blocksHigh && wrapBottom) scanned = 0;
        if (scanned < 0 || scanned >= texels.blocksHigh) continue;
        const uint8_t* blocks = &texels.seen[(size_t)scanned * texels.blocksWide];
        for (int column = firstColumn; column < endColumn; column++)
            if (blocks[column]) first = std::min(first, column), last = std::max(last, column);
        reachesLeft = reachesLeft || (wrapLeft && blocks[texels.blocksWide - 1]);
        reachesRight = reachesRight || (wrapRight && blocks[0]);
    }
    float from = first <= last ? (float)(first * BLOCK - FILTER_MARGIN) : shown.s1;
    float to = first <= last ? (float)((last + 1) * BLOCK + FILTER_MARGIN) : shown.s0;
    if (reachesLeft) from = shown.s0, to = std::max(to, (float)FILTER_MARGIN);
    if (reachesRight) to = shown.s1, from = std::min(from, (float)(texels.width - FILTER_MARGIN));
    *s0 = std::max(from, shown.s0);
    *s1 = std::min(to, shown.s1);
}

// The rectangles covering every texel of `shown` that can reach a visible
// one: runs of block rows, each as wide as its widest row, split where that
// costs the rasterizer least (found by trying every split, bottom row up).
std::vector<TexelRect> PlanBands(const VisibleTexels& texels, const TexelRect& shown,
                                 float pixelsPerS, float pixelsPerT) {
    const int firstRow = std::max(0, (int)std::floor(shown.t0) / BLOCK);
    const int endRow = std::min(texels.blocksHigh, ((int)std::ceil(shown.t1) + BLOCK - 1) / BLOCK);
    const int rows = std::max(0, endRow - firstRow);
    std::vector<float> from(rows), to(rows);
    for (int i = 0; i < rows; i++)
        NeededSpan(texels, shown, firstRow + i, &from[i], &to[i]);
    // best[j]: the least cost of rows [0, j); start[j]: where its last run begins.
    std::vector<float> best(rows + 1, 0.0f);
    std::vector<int> start(rows + 1, 0);
    auto runOf = [&](int i, int j, float s0, float s1) {
        return TexelRect{s0, std::max((float)((firstRow + i) * BLOCK), shown.t0), s1,
                         std::min((float)((firstRow + j) * BLOCK), shown.t1)};
    };
    for (int j = 1; j <= rows; j++) {
        best[j] = 1e30f;
        float s0 = shown.s1, s1 = shown.s0;
        for (int i = j - 1; i >= 0; i--) {
            s0 = std::min(s0, from[i]), s1 = std::max(s1, to[i]);
            const float cost = s0 < s1 ? FillCost(runOf(i, j, s0, s1), pixelsPerS, pixelsPerT) : 0;
            if (best[i] + cost < best[j]) best[j] = best[i] + cost, start[j] = i;
        }
    }
    std::vector<TexelRect> runs;
    for (int j = rows; j > 0; j = start[j]) {
        float s0 = shown.s1, s1 = shown.s0;
        for (int i = start[j]; i < j; i++)
            s0 = std::min(s0, from[i]), s1 = std::max(s1, to[i]);
        const TexelRect run = runOf(start[j], j, s0, s1);
        if (run.s0 < run.s1 && run.t0 < run.t1) runs.push_back(run);
    }
    return runs;
}

// The unit square's (u, v) where texture transform `t` reads the corners of
// `rect` (texel coordinates of a texture `width` by `height`): u in s0, s1
// and v in t0, t1, in the rectangle's order.
TexelRect SquareCoordinates(const TexelRect& rect, const Matrix3& t, int width, int height) {
    return {(rect.s0 / width - t.m[0][2]) / t.m[0][0], (rect.t0 / height - t.m[1][2]) / t.m[1][1],
            (rect.s1 / width - t.m[0][2]) / t.m[0][0], (rect.t1 / height - t.m[1][2]) / t.m[1][1]};
}

// Makes the band vertex array the first time it is needed.
bool EnsureBandVertexArray() {
    if (bandVertexArray != 0) return true;
    GLint previous = 0;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &previous);
    glGenVertexArrays(1, &bandVertexArray);
    glGenBuffers(1, &bandBuffer);
    if (bandVertexArray == 0 || bandBuffer == 0) return false;
    glBindVertexArray(bandVertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, bandBuffer);
    // The unit square's position (z = 0) and texture coordinates; the colour
    // attribute stays off, as no textured draw reads it.
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(BandVertex), nullptr);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(BandVertex),
                          reinterpret_cast<const void*>(offsetof(BandVertex, u)));
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(2);
    glBindVertexArray((GLuint)previous);
    return true;
}

// Forgets every layout that draws bands (their vertices are about to go).
void ForgetBandLayouts() {
    for (auto& texture : visibleTexels)
        for (auto entry = texture.second.layouts.begin(); entry != texture.second.layouts.end();)
            entry = entry->second.kind == TrimKind::Bands ? texture.second.layouts.erase(entry)
                                                          : std::next(entry);
    bandVertices.clear();
}

// Adds the bands (texel rectangles of a texture `width` by `height` shown
// through texture transform `t`) to the band vertex array as two triangles
// each, in the unit square's order; false when they cannot be added.
bool AddBands(const std::vector<TexelRect>& bands, const Matrix3& t, int width, int height,
              int* first, int* count) {
    if (!EnsureBandVertexArray()) return false;
    if (bandVertices.size() + bands.size() * 6 > MAX_BAND_VERTICES) ForgetBandLayouts();
    *first = (int)bandVertices.size();
    for (const TexelRect& band : bands) {
        // The square's (u, v), and its (x, y) = (u - 1/2, 1/2 - v).
        const TexelRect uv = SquareCoordinates(band, t, width, height);
        const float u0 = uv.s0, u1 = uv.s1, v0 = uv.t0, v1 = uv.t1;
        const BandVertex topLeft = {u0 - 0.5f, 0.5f - v0, u0, v0};
        const BandVertex bottomLeft = {u0 - 0.5f, 0.5f - v1, u0, v1};
        const BandVertex bottomRight = {u1 - 0.5f, 0.5f - v1, u1, v1};
        const BandVertex topRight = {u1 - 0.5f, 0.5f - v0, u1, v0};
        for (const BandVertex& vertex :
             {topLeft, bottomLeft, bottomRight, topLeft, bottomRight, topRight})
            bandVertices.push_back(vertex);
    }
    *count = (int)bandVertices.size() - *first;
    // A fresh store each time: the rasterizer may still be reading the old
    // one, and a store it is not using is never waited for.
    glBindBuffer(GL_ARRAY_BUFFER, bandBuffer);
    glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(bandVertices.size() * sizeof(BandVertex)),
                 bandVertices.data(), GL_STATIC_DRAW);
    return true;
}

// How draws showing `shown` of the texture through texture transform `t`
// are trimmed, at the pixels per texel of the first such draw.
TrimLayout PlanTrim(const VisibleTexels& texels, const TexelRect& shown, const Matrix3& t,
                    float pixelsPerS, float pixelsPerT) {
    TrimLayout layout;
    const std::vector<TexelRect> bands = PlanBands(texels, shown, pixelsPerS, pixelsPerT);
    if (bands.empty()) {
        layout.kind = TrimKind::Nothing;
        return layout;
    }
    TexelRect box = bands[0];
    float bandsCost = 0;
    for (const TexelRect& band : bands) {
        box = {std::min(box.s0, band.s0), std::min(box.t0, band.t0), std::max(box.s1, band.s1),
               std::max(box.t1, band.t1)};
        bandsCost += FillCost(band, pixelsPerS, pixelsPerT);
    }
    layout.box = box;
    if (bands.size() > 1 && bandsCost <= BANDS_WORTHWHILE * FillCost(box, pixelsPerS, pixelsPerT) &&
        AddBands(bands, t, texels.width, texels.height, &layout.first, &layout.count)) {
        layout.kind = TrimKind::Bands;
    } else if ((box.s1 - box.s0) * (box.t1 - box.t0) <=
               WORTHWHILE_CUT * (shown.s1 - shown.s0) * (shown.t1 - shown.t0)) {
        layout.kind = TrimKind::Box;
    }
    return layout;
}

// Narrows the model and texture transforms (the caller's are in `trim`) to
// the square showing `box`, mapped onto the same texels.
void NarrowToBox(const TexelRect& box, int width, int height, QuadTrim* trim) {
    const Matrix3 t = textureTransform;
    // Back to the square's (u, v), then to its (x, y).
    const TexelRect uv = SquareCoordinates(box, t, width, height);
    float u0 = uv.s0, u1 = uv.s1, v0 = uv.t0, v1 = uv.t1;
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
    texels.layouts.clear();
}

void ForgetVisibleTexels(const Texture* texture) {
    visibleTexels.erase(texture);
}

// The shown part of the texture is an axis-aligned rectangle of texels when
// the texture transform has no rotation; the unit square's (u, v) are
// (x + 1/2, 1/2 - y). Every pixel still drawn samples where it did.
bool BeginQuadTrim(const Mesh* mesh, QuadTrim* trim) {
    trim->active = false;
    trim->bandVertexArray = 0;
    trim->bandFirst = trim->bandCount = 0;
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
    TexelRect shown = {t.m[0][2] * width, t.m[1][2] * height, (t.m[0][0] + t.m[0][2]) * width,
                       (t.m[1][1] + t.m[1][2]) * height};
    if (shown.s0 > shown.s1) std::swap(shown.s0, shown.s1);
    if (shown.t0 > shown.t1) std::swap(shown.t0, shown.t1);
    const float slack = 1e-3f;
    if (shown.s0 < -slack || shown.t0 < -slack || shown.s1 > width + slack ||
        shown.t1 > height + slack)
        return true; // the texture repeats across the quad
    const LayoutKey key = {t.m[0][0], t.m[0][2], t.m[1][1], t.m[1][2]};
    auto known = texels.layouts.find(key);
    if (known == texels.layouts.end()) {
        if (texels.layouts.size() >= MAX_LAYOUTS) texels.layouts.clear();
        // Pixels per texel along each side of the square.
        const float(&m)[4][4] = modelTransform;
        const float pixelsPerS = std::hypot(m[0][0], m[1][0]) / (shown.s1 - shown.s0);
        const float pixelsPerT = std::hypot(m[0][1], m[1][1]) / (shown.t1 - shown.t0);
        known =
            texels.layouts.emplace(key, PlanTrim(texels, shown, t, pixelsPerS, pixelsPerT)).first;
    }
    const TrimLayout& layout = known->second;
    switch (layout.kind) {
    case TrimKind::Nothing:
        EndQuadTrim(*trim);
        return false;
    case TrimKind::Box:
        NarrowToBox(layout.box, texels.width, texels.height, trim);
        return true;
    case TrimKind::Bands:
        trim->bandVertexArray = bandVertexArray;
        trim->bandFirst = layout.first;
        trim->bandCount = layout.count;
        return true;
    case TrimKind::Untrimmed:
        return true;
    }
    return true;
}

void EndQuadTrim(const QuadTrim& trim) {
    if (!trim.active) return;
    memcpy(modelTransform, trim.model, sizeof trim.model);
    memcpy(textureTransform.m, trim.texture, sizeof trim.texture);
}

const float* TrimBandVertices(int first) {
    static_assert(sizeof(BandVertex) == 4 * sizeof(float), "band vertices are four floats");
    return &bandVertices[(size_t)first].x;
}

void FreeTrimGeometry() {
    if (bandVertexArray != 0) glDeleteVertexArrays(1, &bandVertexArray);
    if (bandBuffer != 0) glDeleteBuffers(1, &bandBuffer);
    DropTrimGeometry();
}

void DropTrimGeometry() {
    bandVertexArray = bandBuffer = 0;
    ForgetBandLayouts();
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
