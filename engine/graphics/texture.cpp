// Textures and the exit-time resource report (see texture.h).
// Depends on the graphics device (bound texture, GL errors), meshes and fonts
// (for the report), the game file layer and the platform's message box.
#include "engine/graphics/texture.h"

#include <stb_image.h>

#include <algorithm>
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
// when `opaque`.
Texture* UploadTexture(int32_t width, int32_t height, const uint32_t* pixels, bool opaque) {
    Texture* texture = new Texture{};
    texture->glName = BatchCreateTexture(width, height, pixels);
    texture->width = width;
    texture->height = height;
    texture->opaque = pixels != nullptr && opaque;
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
