// Textures and the exit-time resource report (see texture.h).
// Depends on the graphics device (bound texture, GL errors), meshes and fonts
// (for the report), the game file layer and the platform's message box.
#include "engine/graphics/texture.h"

#include <stb_image.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

#include "engine/debug_ui.h"
#include "engine/file.h"
#include "engine/graphics/device.h"
#include "engine/graphics/font.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/sprite_batch.h"
#include "engine/graphics/texture_pages.h"
#include "engine/platform/platform.h"

namespace {

// What renders into a render texture.
struct RenderTarget {
    unsigned frameBuffer;
    unsigned depthBuffer;
};

const size_t MAX_PATH_LENGTH = 255;
// Texels per side of the cells in which a picture's alpha is described.
constexpr int ALPHA_CELL = 4;

std::vector<Texture*> textureList;
std::map<Texture*, RenderTarget> renderTextures;

// Decodes a game file into RGBA, rows top to bottom; null and one stderr line
// naming the path when it cannot be opened or decoded.
unsigned char* DecodeImageFile(const char* caller, const char* path, int* width, int* height) {
    if (strlen(path) > MAX_PATH_LENGTH) {
        fprintf(stderr, "%s: path longer than %zu characters: %s\n", caller, MAX_PATH_LENGTH, path);
        return nullptr;
    }
    FILE* file = OpenGameFile(path, "rb");
    if (file == nullptr) {
        fprintf(stderr, "%s: cannot open \"%s\"\n", caller, path);
        return nullptr;
    }
    int channels = 0;
    // stbi_load_from_file seeks back over whatever it read ahead.
    unsigned char* pixels = stbi_load_from_file(file, width, height, &channels, 4);
    fclose(file);
    if (pixels == nullptr)
        fprintf(stderr, "%s: cannot decode \"%s\": %s\n", caller, path, stbi_failure_reason());
    return pixels;
}

// Pixels as 32-bit words: a word read from RGBA bytes holds alpha in its top
// byte on the little-endian machines the game is built for.
static_assert(std::endian::native == std::endian::little, "texel words assume little endian");

// An RGBA pixel word as BGRA (red and blue traded).
uint32_t BlueFirst(uint32_t pixel) {
    return (pixel & 0xFF00FF00u) | ((pixel >> 16) & 0xFFu) | ((pixel & 0xFFu) << 16);
}

// Decoded RGBA rows (top first) into upload order where they lie: rows
// reversed, red and blue traded, in one pass. No second picture-sized buffer:
// the largest pictures are tens of megabytes, and filling a fresh buffer cost
// more of a level's Load than the copy itself. Returns whether every pixel
// has alpha 255 (such pictures are drawn without blending), noted in the same
// pass rather than in a second one over the largest, opaque, pictures.
bool ToUploadOrder(unsigned char* pixels, int width, int height) {
    const size_t rowBytes = (size_t)width * 4;
    uint32_t alphas = 0xFF000000u;
    for (int top = 0, bottom = height - 1; top <= bottom; ++top, --bottom) {
        unsigned char* upper = pixels + (size_t)top * rowBytes;
        unsigned char* lower = pixels + (size_t)bottom * rowBytes;
        for (size_t i = 0; i < rowBytes; i += 4) {
            uint32_t a, b;
            memcpy(&a, upper + i, 4);
            memcpy(&b, lower + i, 4);
            alphas &= a & b;
            a = BlueFirst(a), b = BlueFirst(b);
            memcpy(upper + i, top == bottom ? &a : &b, 4);
            if (top != bottom) memcpy(lower + i, &a, 4);
        }
    }
    return (alphas >> 24) == 0xFF;
}

// A listed texture of BGRA rows (or none), whose pixels all have alpha 255
// when `opaque`; its visible texels noted.
Texture* UploadTexture(int32_t width, int32_t height, const uint32_t* pixels, bool opaque) {
    Texture* texture = new Texture{};
    texture->glName = BatchCreateTexture(width, height, pixels);
    texture->width = width;
    texture->height = height;
    texture->opaque = pixels != nullptr && opaque;
    const int whole[4] = {0, 0, width, height};
    std::copy(whole, whole + 4, texture->shown); // a render texture's pixels are not known
    texture->described = texture->opaque || pixels == nullptr;
    textureList.push_back(texture);
    CheckGLError();
    return texture;
}

} // namespace

// Reads a picture and uploads it with its rows reversed (bottom row first).
Texture* LoadTexture(const char* path) {
    if (path == nullptr) return nullptr;
    int width = 0, height = 0;
    unsigned char* pixels = DecodeImageFile("LoadTexture", path, &width, &height);
    if (pixels == nullptr) return nullptr;
    const bool opaque = ToUploadOrder(pixels, width, height);
    Texture* texture =
        UploadTexture(width, height, reinterpret_cast<const uint32_t*>(pixels), opaque);
    stbi_image_free(pixels);
    snprintf(texture->name, sizeof texture->name, "%s", path);
    return texture;
}

// Uploads pixels already in upload order, named "Texture%i".
Texture* CreateTexture(int32_t width, int32_t height, const unsigned char* pixels) {
    const int listed = (int)textureList.size();
    std::vector<uint32_t> blueFirst(pixels != nullptr ? (size_t)width * height : 0);
    if (pixels != nullptr) memcpy(blueFirst.data(), pixels, blueFirst.size() * 4);
    uint32_t alphas = 0xFF000000u;
    for (uint32_t& pixel : blueFirst)
        alphas &= pixel, pixel = BlueFirst(pixel);
    Texture* texture =
        UploadTexture(width, height, pixels ? blueFirst.data() : nullptr, (alphas >> 24) == 0xFF);
    snprintf(texture->name, sizeof texture->name, "Texture%i", listed);
    return texture;
}

// An empty texture with a frame buffer (and depth buffer) drawing into it.
Texture* CreateRenderTexture(int32_t width, int32_t height) {
    Texture* texture = CreateTexture(width, height, nullptr);
    RenderTarget& target = renderTextures[texture];
    BatchCreateRenderTarget(texture->glName, width, height, &target.frameBuffer,
                            &target.depthBuffer);
    CheckGLError();
    return texture;
}

// Notes, in cells of ALPHA_CELL texels a side, the bounds of the texels with
// alpha, grown by the texel a linear filter reads beyond them (beyond an edge
// the repeating sampler reads the opposite one), and the largest opaque
// rectangle (per row of cells, each column's run of opaque cells down to it
// as a histogram, whose largest rectangle a stack finds), shrunk by that texel.
void DescribeAlpha(Texture* texture) {
    if (texture->described) return;
    texture->described = true;
    const int size[2] = {texture->width, texture->height};
    std::vector<uint32_t> pixels((size_t)size[0] * size[1]);
    BatchReadTexture(texture->glName, size[0], size[1], pixels.data());
    const int cells[2] = {(size[0] + ALPHA_CELL - 1) / ALPHA_CELL,
                          (size[1] + ALPHA_CELL - 1) / ALPHA_CELL};
    std::vector<uint8_t> any((size_t)cells[0] * cells[1]), all(any.size());
    for (size_t cell = 0; cell < any.size(); cell++) { // a cell at a time: one write each
        const int left = (int)(cell % cells[0]) * ALPHA_CELL,
                  bottom = (int)(cell / cells[0]) * ALPHA_CELL;
        uint32_t some = 0, every = ~0u;
        for (int y = bottom; y < std::min(bottom + ALPHA_CELL, size[1]); y++)
            for (int x = left; x < std::min(left + ALPHA_CELL, size[0]); x++)
                some |= pixels[(size_t)y * size[0] + x], every &= pixels[(size_t)y * size[0] + x];
        any[cell] = some >> 24, all[cell] = every >> 24;
    }
    std::array<int, 4> bounds = {cells[0], cells[1], -1, -1}, core = {0, 0, 0, 0};
    std::vector<int> run(cells[0] + 1, 0), stack; // run[cells[0]] stays 0: it empties the stack
    for (int y = 0, best = 0; y < cells[1]; y++, stack.clear())
        for (int x = 0; x <= cells[0]; stack.push_back(x++)) {
            const size_t i = (size_t)y * cells[0] + x;
            if (x < cells[0] && any[i] != 0)
                bounds = {std::min(bounds[0], x), std::min(bounds[1], y), std::max(bounds[2], x),
                          std::max(bounds[3], y)};
            if (x < cells[0]) run[x] = all[i] == 0xFF ? run[x] + 1 : 0;
            for (int height, left; !stack.empty() && run[stack.back()] >= run[x];) {
                height = run[stack.back()], stack.pop_back();
                left = stack.empty() ? 0 : stack.back() + 1;
                if (height * (x - left) > best)
                    best = height * (x - left), core = {left, y + 1 - height, x, y + 1};
            }
        }
    for (int axis = 0; axis < 2; axis++) {
        const int first = bounds[axis], last = bounds[axis + 2];
        texture->shown[axis] = last == cells[axis] - 1 ? 0 : std::max(0, first * ALPHA_CELL - 1);
        texture->shown[axis + 2] =
            first == 0 ? size[axis] : std::min(size[axis], (last + 1) * ALPHA_CELL + 1);
        texture->core[axis] = core[axis] * ALPHA_CELL + 1;
        texture->core[axis + 2] = std::min(size[axis], core[axis + 2] * ALPHA_CELL) - 1;
    }
}

// Deletes a texture (and its render target) and forgets it.
void UnloadTexture(Texture* texture) {
    if (texture == nullptr) return;
    if (std::erase(textureList, texture) == 0) {
        // Unloading twice would delete another texture's name; refuse it loudly.
        fprintf(stderr, "UnloadTexture: texture is not in the texture list (unloaded twice?)\n");
        return;
    }
    if (auto target = renderTextures.find(texture); target != renderTextures.end()) {
        BatchDeleteRenderTarget(target->second.frameBuffer, target->second.depthBuffer);
        renderTextures.erase(target);
    }
    UnpageTexture(texture);
    // A later texture may get this record's address; the device must not
    // take it for the one still bound.
    if (boundTexture == texture) boundTexture = nullptr;
    BatchDeleteTexture(texture->glName);
    delete texture;
}

// Live textures, font atlases included.
int TextureCount() {
    return (int)textureList.size();
}

// Live render textures.
int RenderTextureCount() {
    return (int)renderTextures.size();
}

// Exit: report whatever a screen forgot to release, then release it all.
void ReleaseGraphicsResources() {
    const int textures = TextureCount(), meshes = MeshCount(), fonts = FontCount(),
              renderTargets = RenderTextureCount();
    if (textures != 0 || meshes != 0 || fonts != 0 || renderTargets != 0) {
        char text[512];
        snprintf(text, sizeof text,
                 "NOT ALL RESOURCES HAVE BEEN RELEASED!\n\t\t\t\t\t\t  Remaining Textures = "
                 "%i\n\t\t\t\t\t\t  Remaining Triangle Meshes = %i\n\t\t\t\t\t\t  Remaining "
                 "Fonts = %i\n\t\t\t\t\t\t  Remaining Render Textures = %i\n",
                 textures, meshes, fonts, renderTargets);
        PlatformMessageBox(text, "ERROR", MESSAGEBOX_WARNING);
    }
    FreeAllMeshes();
    // Fonts go before the textures: each font unloads its own atlas, which
    // would otherwise already be gone.
    FreeAllFonts();
    FreeTexturePages();
    while (!textureList.empty())
        UnloadTexture(textureList.back());
    BatchShutdown();
    ShutdownDebugUi();
}

// Decodes a picture for the window icon, rows top to bottom.
std::vector<unsigned char> LoadImagePixels(const char* path, int* width, int* height) {
    unsigned char* pixels =
        path ? DecodeImageFile("LoadImagePixels", path, width, height) : nullptr;
    if (pixels == nullptr) return {};
    std::vector<unsigned char> rgba(pixels, pixels + (size_t)*width * *height * 4);
    stbi_image_free(pixels);
    return rgba;
}
