// Textures: pictures read from PNG files with stb_image (rows uploaded bottom
// row first), textures made from pixels in memory (the font atlases), render
// textures with their frame buffers, the list of live textures, and the
// exit-time report of every texture, mesh, font and render texture still held.
// Depends on the graphics device, meshes and fonts (for the report).
#pragma once

#include <cstdint>
#include <vector>

struct Texture {
    unsigned glName;
    int32_t width, height;
    char name[256];
    bool opaque; // every pixel has alpha 255
    // The texture page holding a copy (0: none), where page coordinate =
    // scale * picture coordinate + offset, per axis.
    unsigned pageName;
    float pageScale[2], pageOffset[2];
};

// Loads a PNG (path with '\' or '/', relative to the data folder's parent);
// null and a stderr line naming it when it cannot be read or decoded, or the
// path is longer than 255 characters.
Texture* LoadTexture(const char* path);
// Uploads RGBA pixels already in upload row order.
Texture* CreateTexture(int32_t width, int32_t height, const unsigned char* pixels);
// An empty width by height texture with a frame buffer (and depth buffer)
// rendering into it; listed as a texture and as a render texture.
Texture* CreateRenderTexture(int32_t width, int32_t height);
// Deletes the texture (and its frame buffer if it is a render texture).
void UnloadTexture(Texture* texture);
int TextureCount();
int RenderTextureCount();
// Shut-down: the "ERROR" message box when anything is left, then frees it all.
void ReleaseGraphicsResources();
// Decodes a picture into top-to-bottom RGBA rows (for the window icon); none
// on failure.
std::vector<unsigned char> LoadImagePixels(const char* path, int* width, int* height);
