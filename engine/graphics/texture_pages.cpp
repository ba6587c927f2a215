// Texture pages (see texture_pages.h).
// Depends on the graphics device (matrices), textures and the sprite batch.
#include "engine/graphics/texture_pages.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/graphics/device.h"
#include "engine/graphics/sprite_batch.h"
#include "engine/graphics/texture.h"

namespace {

// A picture's place on a page: its top-left border corner in page texels.
struct Placed {
    Texture* texture;
    int x, y;
};

struct Page {
    unsigned name;
    std::vector<Texture*> pictures;
    int width, height, columns; // texels; cells of the table below, and one
    // Summed-area table of the covered cells (any texel with alpha): entry
    // (row + 1, column + 1) counts the covered cells up to row and column.
    std::vector<uint32_t> coveredSums;
};

// Texels of copied border around each picture: the linear filter reads one
// texel beyond a sample.
constexpr int BORDER = 2;
// Pages wider or higher than this are not made (every driver takes 4096).
constexpr int MAX_PAGE_SIDE = 4096;
// Texels per side of the cells the trim reads. Measured on level 1's page (1632x1723) in the
// 200-troop battle, the trimmed squares keep of their area, by cell side 1, 2, 4, 8: 0.517,
// 0.526, 0.546, 0.614; 4 holds a 174 KiB table, 1 would hold 11 MiB.
constexpr int COVER_CELL = 4;

std::vector<Page> pages; // a level's troop page: one

// Copies a picture into the page with its border: the texels round its
// opposite edges, which the repeating sampler would read beyond them. Rows are
// copied whole; only the border texels wrap (a modulo per texel cost most of
// a level's page).
void CopyWithBorder(const Placed& placed, const std::vector<uint32_t>& texels,
                    std::vector<uint32_t>& page, int pageWidth) {
    const int width = placed.texture->width, height = placed.texture->height;
    for (int y = -BORDER; y < height + BORDER; y++) {
        const uint32_t* row = &texels[(size_t)(((y % height) + height) % height) * width];
        uint32_t* out = &page[(size_t)(placed.y + BORDER + y) * pageWidth + placed.x];
        memcpy(out + BORDER, row, (size_t)width * sizeof *row);
        for (int x = 0; x < BORDER; x++) {
            out[x] = row[((x - BORDER) % width + width) % width];
            out[BORDER + width + x] = row[x % width];
        }
    }
}

// Shelves of pictures, tallest first, each shelf at most `limit` wide; sets
// the page's size.
std::vector<Placed> LayOut(std::vector<Texture*> pictures, int limit, int* width, int* height) {
    std::stable_sort(pictures.begin(), pictures.end(),
                     [](const Texture* a, const Texture* b) { return a->height > b->height; });
    std::vector<Placed> placed;
    int x = 0, y = 0, shelfHeight = 0;
    *width = 0;
    for (Texture* picture : pictures) {
        const int w = picture->width + 2 * BORDER, h = picture->height + 2 * BORDER;
        if (x > 0 && x + w > limit) y += shelfHeight, x = 0, shelfHeight = 0;
        placed.push_back({picture, x, y});
        x += w;
        shelfHeight = std::max(shelfHeight, h);
        *width = std::max(*width, x);
    }
    *height = y + shelfHeight;
    return placed;
}

// Whether [low, high] lies within [0, 1].
bool WithinPicture(float low, float high) {
    return std::min(low, high) >= -1e-4f && std::max(low, high) <= 1 + 1e-4f;
}

// The page's table of covered cells (see Page), `columns` cells and one wide.
std::vector<uint32_t> SumCoveredCells(const std::vector<uint32_t>& texels, int width, int columns) {
    const size_t height = texels.size() / width;
    std::vector<uint32_t> sums((size_t)columns * ((height - 1) / COVER_CELL + 2));
    for (size_t y = 0; y < height; y++) {
        uint32_t* cells = &sums[(y / COVER_CELL + 1) * columns + 1];
        for (size_t x = 0; x < (size_t)width; x++)
            if (texels[y * width + x] >> 24 != 0) cells[x / COVER_CELL] = 1; // alpha
    }
    for (size_t i = 1; i < sums.size(); i++) // along the rows, then down the columns
        sums[i] += i % columns != 0 ? sums[i - 1] : 0;
    for (size_t i = columns; i < sums.size(); i++)
        sums[i] += sums[i - columns];
    return sums;
}

// Covered cells in columns [cells[0][0], cells[0][1]] and rows [cells[1][0],
// cells[1][1]].
uint32_t CoveredCells(const Page& page, const int cells[2][2]) {
    const size_t columns = page.columns;
    const uint32_t* sums = page.coveredSums.data();
    const size_t left = cells[0][0], right = cells[0][1] + 1;
    const size_t below = cells[1][0] * columns, above = (cells[1][1] + 1) * columns;
    return sums[above + right] - sums[below + right] - sums[above + left] + sums[below + left];
}

// The part of the unit square that `t` reads from inside texel edges `rect`
// (left, bottom, right, top) of a picture of `size`; false when none. A zero
// scale (one texel stretched) gives infinities: the whole side.
bool RectPart(const Matrix3& t, const int rect[4], const int size[2], float part[4]) {
    for (int axis = 0; axis < 2; axis++) {
        const float scale = t.m[axis][axis] * size[axis], offset = t.m[axis][2] * size[axis];
        const float a = (rect[axis] - offset) / scale, b = (rect[axis + 2] - offset) / scale;
        part[axis] = std::clamp(std::min(a, b), 0.0f, 1.0f);
        part[axis + 2] = std::clamp(std::max(a, b), 0.0f, 1.0f);
    }
    return rect[0] < rect[2] && rect[1] < rect[3] && part[0] < part[2] && part[1] < part[3];
}

// Deletes the page at `index` and takes its pictures off it.
void DeletePage(size_t index) {
    for (Texture* picture : pages[index].pictures)
        picture->pageName = 0;
    BatchDeleteTexture(pages[index].name);
    pages.erase(pages.begin() + (std::ptrdiff_t)index);
}

} // namespace

// The shelves are as wide as the square root of the pictures' area, so the
// page comes out near square.
bool ShareTexturePage(Texture* const* pictures, int count) {
    std::vector<Texture*> chosen;
    double area = 0;
    for (int i = 0; i < count; i++) {
        Texture* picture = pictures[i];
        if (picture == nullptr || picture->width <= 0 || picture->height <= 0 ||
            picture->pageName != 0 || std::count(chosen.begin(), chosen.end(), picture))
            continue;
        chosen.push_back(picture);
        area += (double)(picture->width + 2 * BORDER) * (picture->height + 2 * BORDER);
    }
    if (chosen.empty()) return false;
    int width = 0, height = 0;
    const std::vector<Placed> placed = LayOut(chosen, (int)std::sqrt(area), &width, &height);
    if (width > MAX_PAGE_SIDE || height > MAX_PAGE_SIDE) {
        fprintf(stderr, "Texture pages: a %dx%d page would be too large; %d pictures stay apart\n",
                width, height, (int)chosen.size());
        return false;
    }
    std::vector<uint32_t> page((size_t)width * height, 0), texels;
    for (const Placed& p : placed) {
        texels.resize((size_t)p.texture->width * p.texture->height);
        BatchReadTexture(p.texture->glName, p.texture->width, p.texture->height, texels.data());
        CopyWithBorder(p, texels, page, width);
    }
    const unsigned name = BatchCreateTexture(width, height, page.data());
    for (const Placed& p : placed) {
        Texture* t = p.texture;
        t->pageName = name;
        t->pageScale[0] = (float)t->width / width, t->pageScale[1] = (float)t->height / height;
        t->pageOffset[0] = (float)(p.x + BORDER) / width;
        t->pageOffset[1] = (float)(p.y + BORDER) / height;
    }
    const int columns = (width - 1) / COVER_CELL + 2;
    pages.push_back({name, chosen, width, height, columns, SumCoveredCells(page, width, columns)});
    CheckGLError();
    return true;
}

bool ShowsTextureOnce(const Matrix3& t) {
    return t.m[0][1] == 0 && t.m[1][0] == 0 && t.m[2][0] == 0 && t.m[2][1] == 0 && t.m[2][2] == 1 &&
           WithinPicture(t.m[0][2], t.m[0][0] + t.m[0][2]) &&
           WithinPicture(t.m[1][2], t.m[1][1] + t.m[1][2]);
}

// The square's texture coordinates read the picture at t * (u, v, 1); the
// page reads the same texel at placement * t * (u, v, 1).
bool ReadFromPage(const Texture* texture, unsigned* name, Matrix3* t) {
    if (texture->pageName == 0 || !ShowsTextureOnce(*t)) return false;
    const Matrix3 place = {{{texture->pageScale[0], 0, texture->pageOffset[0]},
                            {0, texture->pageScale[1], texture->pageOffset[1]},
                            {0, 0, 1}}};
    Matrix3Concat(*t, place, *t);
    *name = texture->pageName;
    return true;
}

// Per axis: the page texels the filter reads for the shown range, narrowed to
// the cells holding a covered texel; then the samples that may read one (half
// a texel round it) grown to a whole texel, so rounding cannot matter.
bool CoveredPart(unsigned pageName, const Matrix3& t, float part[4]) {
    auto page = std::ranges::find(pages, pageName, &Page::name);
    const int size[2] = {page->width, page->height};
    int texels[2][2], cells[2][2], rect[4];
    for (int axis = 0; axis < 2; axis++) {
        const float scale = t.m[axis][axis] * size[axis], offset = t.m[axis][2] * size[axis];
        const float low = offset + std::min(scale, 0.0f), high = offset + std::max(scale, 0.0f);
        texels[axis][0] = std::clamp((int)std::floor(low - 0.5f), 0, size[axis] - 1);
        texels[axis][1] = std::clamp((int)std::floor(high + 0.5f), 0, size[axis] - 1);
        cells[axis][0] = texels[axis][0] / COVER_CELL,
        cells[axis][1] = texels[axis][1] / COVER_CELL;
    }
    if (CoveredCells(*page, cells) == 0) return false;
    for (int axis = 0; axis < 2; axis++) {
        for (int end = 0; end < 2; end++) // inwards while its strip holds no covered cell
            for (int strip[2][2];; cells[axis][end] += end == 0 ? 1 : -1) {
                memcpy(strip, cells, sizeof strip);
                strip[axis][1 - end] = strip[axis][end];
                if (CoveredCells(*page, strip) != 0) break;
            }
        rect[axis] = std::max(texels[axis][0], cells[axis][0] * COVER_CELL) - 1;
        rect[axis + 2] =
            std::min(texels[axis][1], cells[axis][1] * COVER_CELL + COVER_CELL - 1) + 2;
    }
    return RectPart(t, rect, size, part);
}

void UnpageTexture(const Texture* texture) {
    for (size_t i = pages.size(); i-- > 0;)
        if (std::count(pages[i].pictures.begin(), pages[i].pictures.end(), texture)) DeletePage(i);
}

void FreeTexturePages() {
    while (!pages.empty())
        DeletePage(pages.size() - 1);
}
