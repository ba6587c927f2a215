// Texture pages (see texture_pages.h).
// Depends on the graphics device (render globals, texture binding) and textures.
#include "engine/graphics/texture_pages.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <unordered_map>
#include <vector>

#include "engine/graphics/device.h"
#include "engine/graphics/texture.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

namespace {

// Where a picture sits in a page: page coordinate = scale * picture
// coordinate + offset, per axis.
struct Placement {
    float scaleS, offsetS, scaleT, offsetT;
    bool host; // read from this page even when another texture is bound
};

struct Page {
    GLuint name;
    std::unordered_map<const Texture*, Placement> pictures;
};

// A picture's texels (upload order, blue first), size with its border, and
// the page texel its border's top left corner lands on.
struct Picture {
    const Texture* texture;
    std::vector<uint32_t> texels;
    int width, height, x, y;
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

// Texels of copied border around each picture: the linear filter reads one
// texel beyond a sample.
constexpr int BORDER = 2;
// Pages higher or wider than this are not made.
constexpr int MAX_PAGE_SIDE = 4096;

std::vector<Page> pages; // a level's troop pages: a handful

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// The texels of a texture's level 0, in upload order (blue first).
std::vector<uint32_t> ReadTexels(const Texture* texture) {
    std::vector<uint32_t> texels((size_t)texture->width * texture->height);
    BindTextureName(texture->glName);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

// A picture of the texture, unplaced; its texels are read only when placed.
Picture Unplaced(const Texture* texture) {
    return {texture, {}, texture->width + 2 * BORDER, texture->height + 2 * BORDER, -1, -1};
}

// Copies a placed picture into the page with its border: the texels round
// its opposite edges, which the repeating sampler would read beyond them.
void CopyWithBorder(const Picture& picture, std::vector<uint32_t>& page, int pageWidth) {
    const int width = picture.texture->width, height = picture.texture->height;
    const int left = picture.x + BORDER, top = picture.y + BORDER;
    for (int y = -BORDER; y < height + BORDER; y++) {
        const int row = ((y % height) + height) % height;
        for (int x = -BORDER; x < width + BORDER; x++) {
            const int column = ((x % width) + width) % width;
            page[(size_t)(top + y) * pageWidth + left + x] =
                picture.texels[(size_t)row * width + column];
        }
    }
}

// Lays the hosts out in a grid of `columns`, below a shelf of the guests that
// fit side by side in its width; sets the page's size. The small guests come
// first, near the page's corner, where coordinates keep their precision.
void LayOut(std::vector<Picture>& hosts, std::vector<Picture>& guests, int columns, int* width,
            int* height) {
    int cellWidth = 0, cellHeight = 0;
    for (const Picture& host : hosts)
        cellWidth = std::max(cellWidth, host.width), cellHeight = std::max(cellHeight, host.height);
    *width = cellWidth * columns;
    int shelfWidth = 0, shelfHeight = 0;
    for (Picture& guest : guests) {
        if (shelfWidth + guest.width > *width) continue;
        guest.x = shelfWidth, guest.y = 0;
        shelfWidth += guest.width;
        shelfHeight = std::max(shelfHeight, guest.height);
    }
    for (size_t i = 0; i < hosts.size(); i++) {
        hosts[i].x = (int)(i % columns) * cellWidth;
        hosts[i].y = shelfHeight + (int)(i / columns) * cellHeight;
    }
    const int rows = ((int)hosts.size() + columns - 1) / columns;
    *height = shelfHeight + rows * cellHeight;
}

// The columns that make the page closest to square.
int SquarestColumns(const std::vector<Picture>& hosts) {
    int best = 1;
    float bestRatio = 1e30f;
    for (int columns = 1; columns <= (int)hosts.size(); columns++) {
        const int rows = ((int)hosts.size() + columns - 1) / columns;
        const float ratio = (float)(columns * hosts[0].width) / (float)(rows * hosts[0].height);
        const float distance = std::max(ratio, 1 / ratio);
        if (distance < bestRatio) best = columns, bestRatio = distance;
    }
    return best;
}

// Whether the shown span [low, high] of a bordered axis stays within the
// picture (a page cannot repeat it across the quad).
bool WithinPicture(float low, float high) {
    if (low > high) std::swap(low, high);
    const float slack = 1e-4f;
    return low >= -slack && high <= 1 + slack;
}

// The page with texture name `name`, or null.
const Page* PageNamed(GLuint name) {
    for (const Page& page : pages)
        if (page.name == name) return &page;
    return nullptr;
}

// Where `picture` sits in `page` (null when it is not there, or is a guest
// and only hosts are asked for).
const Placement* PlacementIn(const Page* page, const Texture* picture, bool hostsOnly) {
    if (page == nullptr) return nullptr;
    auto found = page->pictures.find(picture);
    if (found == page->pictures.end() || (hostsOnly && !found->second.host)) return nullptr;
    return &found->second;
}

// Deletes the page at `index` and forgets it.
void DeletePage(size_t index) {
    DeleteTextureName(pages[index].name);
    pages.erase(pages.begin() + (std::ptrdiff_t)index);
}

} // namespace

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

bool ShareTexturePage(Texture* const* hosts, int hostCount, Texture* const* guests,
                      int guestCount) {
    std::vector<Picture> hostPictures, guestPictures;
    for (int i = 0; i < hostCount; i++)
        if (hosts[i] != nullptr && hosts[i]->width > 0 && hosts[i]->height > 0)
            hostPictures.push_back(Unplaced(hosts[i]));
    for (int i = 0; i < guestCount; i++)
        if (guests[i] != nullptr && guests[i]->width > 0 && guests[i]->height > 0)
            guestPictures.push_back(Unplaced(guests[i]));
    if (hostPictures.empty()) return false;
    int width = 0, height = 0;
    LayOut(hostPictures, guestPictures, SquarestColumns(hostPictures), &width, &height);
    if (width > MAX_PAGE_SIDE || height > MAX_PAGE_SIDE) {
        fprintf(stderr, "Texture pages: a %dx%d page would be too large; %d pictures stay apart\n",
                width, height, hostCount);
        return false;
    }
    std::vector<uint32_t> texels((size_t)width * height, 0);
    Page page = {0, {}};
    const float w = (float)width, h = (float)height;
    for (std::vector<Picture>* pictures : {&hostPictures, &guestPictures})
        for (Picture& picture : *pictures) {
            if (picture.x < 0) continue; // a guest with no room on the shelf
            picture.texels = ReadTexels(picture.texture);
            CopyWithBorder(picture, texels, width);
            page.pictures[picture.texture] = {picture.texture->width / w, (picture.x + BORDER) / w,
                                              picture.texture->height / h, (picture.y + BORDER) / h,
                                              pictures == &hostPictures};
        }
    page.name = CreateTextureName(width, height, texels.data());
    pages.push_back(page);
    CheckGLError();
    return true;
}

// The square's texture coordinates read the picture at t * (u, v, 1); the
// page reads the same texel at placement * t * (u, v, 1).
bool PagedSampling(unsigned* textureName, Matrix3* transform) {
    if (pages.empty() || boundTexture == nullptr) return false;
    const Page* page = PageNamed(BoundTextureName());
    const Placement* placement = PlacementIn(page, boundTexture, false);
    for (size_t i = 0; placement == nullptr && i < pages.size(); i++)
        page = &pages[i], placement = PlacementIn(page, boundTexture, true);
    if (placement == nullptr) return false;
    const Matrix3& t = textureTransform;
    if (t.m[0][1] != 0 || t.m[1][0] != 0 || t.m[2][0] != 0 || t.m[2][1] != 0 || t.m[2][2] != 1)
        return false;
    if (!WithinPicture(t.m[0][2], t.m[0][0] + t.m[0][2]) ||
        !WithinPicture(t.m[1][2], t.m[1][1] + t.m[1][2]))
        return false;
    const Matrix3 place = {{{placement->scaleS, 0, placement->offsetS},
                            {0, placement->scaleT, placement->offsetT},
                            {0, 0, 1}}};
    Matrix3Concat(*transform, place, t);
    *textureName = page->name;
    return true;
}

void UnpageTexture(const Texture* texture) {
    for (size_t i = pages.size(); i-- > 0;)
        if (pages[i].pictures.count(texture)) DeletePage(i);
}

void FreeTexturePages() {
    while (!pages.empty())
        DeletePage(pages.size() - 1);
}

void DropTexturePages() {
    pages.clear();
}
