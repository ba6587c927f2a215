// Texture pages (see texture_pages.h).
// Depends on the graphics device (render globals, texture binding) and textures.
#include "engine/graphics/texture_pages.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "engine/graphics/device.h"
#include "engine/graphics/texture.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

namespace {

// Where a picture sits in a page: page coordinate = scale * picture
// coordinate + offset, per axis. An axis the picture spans repeats there.
struct Placement {
    float scaleS, offsetS, scaleT, offsetT;
    bool spansS;
};

struct Page {
    GLuint name;
    const Texture* host;
    Placement hostPlacement;
    std::unordered_map<const Texture*, Placement> guests;
};

// A picture's texels (upload order, blue first) and size.
struct Picture {
    const Texture* texture;
    std::vector<uint32_t> texels;
    int x; // guests: the left edge of its place on the shelf, border included
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

// Texels of copied border around each picture: the linear filter reads one
// texel beyond a sample.
constexpr int BORDER = 2;
// Pages higher or wider than this are not made.
constexpr int MAX_PAGE_SIDE = 4096;

std::vector<Page> pages; // a level's troop sheets: a score at most

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

// Copies a picture into the page with its border (texels taken round its
// edges), its texel (0, 0) landing at page texel (left, top).
void CopyWithBorder(const Picture& picture, std::vector<uint32_t>& page, int pageWidth, int left,
                    int top, int across) {
    const int width = picture.texture->width, height = picture.texture->height;
    for (int y = -BORDER; y < height + BORDER; y++) {
        const int row = ((y % height) + height) % height;
        for (int x = -across; x < width + across; x++) {
            const int column = ((x % width) + width) % width;
            page[(size_t)(top + y) * pageWidth + left + x] =
                picture.texels[(size_t)row * width + column];
        }
    }
}

// The page of one host: the guests that fit side by side on a shelf at the
// top, the host below it across the whole width.
Page MakePage(const Picture& host, std::vector<Picture>& guests) {
    const int width = host.texture->width;
    int shelfWidth = 0, shelfHeight = 0;
    std::vector<Picture*> shelved;
    for (Picture& guest : guests) {
        const int placeWidth = guest.texture->width + 2 * BORDER;
        if (shelfWidth + placeWidth > width) continue;
        guest.x = shelfWidth;
        shelfWidth += placeWidth;
        shelfHeight = std::max(shelfHeight, guest.texture->height + 2 * BORDER);
        shelved.push_back(&guest);
    }
    const int hostTop = shelfHeight + BORDER,
              height = shelfHeight + host.texture->height + 2 * BORDER;
    std::vector<uint32_t> texels((size_t)width * height, 0);
    Page page = {0, host.texture, {}, {}};
    const float w = (float)width, h = (float)height;
    for (const Picture* guest : shelved) {
        CopyWithBorder(*guest, texels, width, guest->x + BORDER, BORDER, BORDER);
        page.guests[guest->texture] = {guest->texture->width / w, (guest->x + BORDER) / w,
                                       guest->texture->height / h, BORDER / h, false};
    }
    CopyWithBorder(host, texels, width, 0, hostTop, 0);
    page.hostPlacement = {1.0f, 0.0f, host.texture->height / h, hostTop / h, true};
    page.name = CreateTextureName(width, height, texels.data());
    return page;
}

// Whether the shown span [low, high] of a bordered axis stays within the
// picture (a page cannot repeat it across the quad).
bool WithinPicture(float low, float high) {
    if (low > high) std::swap(low, high);
    const float slack = 1e-4f;
    return low >= -slack && high <= 1 + slack;
}

// The page whose host is `host`, or whose texture is `name`; null when none is.
const Page* FindPage(const Texture* host, GLuint name) {
    for (const Page& page : pages)
        if (page.host == host || page.name == name) return &page;
    return nullptr;
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

int ShareTexturePages(Texture* const* hosts, int hostCount, Texture* const* guests,
                      int guestCount) {
    std::vector<Picture> guestPictures;
    for (int i = 0; i < guestCount; i++)
        if (guests[i] != nullptr && guests[i]->width > 0 && guests[i]->height > 0)
            guestPictures.push_back({guests[i], ReadTexels(guests[i]), 0});
    int made = 0;
    for (int i = 0; i < hostCount; i++) {
        const Texture* host = hosts[i];
        if (host == nullptr || FindPage(host, 0) != nullptr || host->width <= 0 ||
            host->width > MAX_PAGE_SIDE || host->height + 2 * BORDER > MAX_PAGE_SIDE)
            continue;
        const Picture hostPicture = {host, ReadTexels(host), 0};
        pages.push_back(MakePage(hostPicture, guestPictures));
        made++;
    }
    CheckGLError();
    return made;
}

// The square's texture coordinates read the picture at t * (u, v, 1); the
// page reads the same texel at placement * t * (u, v, 1).
bool PagedSampling(unsigned* textureName, Matrix3* transform) {
    if (pages.empty() || boundTexture == nullptr) return false;
    const Page* page = FindPage(boundTexture, 0);
    const Placement* placement = page != nullptr ? &page->hostPlacement : nullptr;
    if (page == nullptr) { // a guest is read from the page in use, if it holds it
        page = FindPage(nullptr, BoundTextureName());
        if (page == nullptr) return false;
        auto guest = page->guests.find(boundTexture);
        if (guest == page->guests.end()) return false;
        placement = &guest->second;
    }
    const Matrix3& t = textureTransform;
    if (t.m[0][1] != 0 || t.m[1][0] != 0 || t.m[2][0] != 0 || t.m[2][1] != 0 || t.m[2][2] != 1)
        return false;
    if ((!placement->spansS && !WithinPicture(t.m[0][2], t.m[0][0] + t.m[0][2])) ||
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
        if (pages[i].host == texture || pages[i].guests.count(texture)) DeletePage(i);
}

void FreeTexturePages() {
    while (!pages.empty())
        DeletePage(pages.size() - 1);
}

void DropTexturePages() {
    pages.clear();
}
