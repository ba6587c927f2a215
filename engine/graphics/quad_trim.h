// Trimming a picture's quad to its visible texels: most sprite cells, health
// bars and buttons are drawn as a square whose margins are fully transparent,
// and a software rasterizer pays for every pixel of them. The lean path draws
// only the part of the unit square whose texels (or their filter's
// neighbours, across the texture's edges where the sampler repeats) have any
// alpha, with the same texel under every drawn pixel, so the picture is
// unchanged: one narrowed square, or, for a figure whose outline wastes much
// of its box, a few bands of rows each as wide as that part of the figure. A
// draw showing no visible texel is left out.
// Depends on the graphics device (render globals), meshes and textures.
#pragma once

#include <cstddef>
#include <cstdint>

struct Mesh;
struct Texture;

// Remembers which texels of a new texture have any alpha (`pixels` 32-bit
// texels, alpha in the top byte, in upload row order); textures without pixels
// or without transparency need nothing.
void RememberVisibleTexels(const Texture* texture, const uint32_t* pixels);
// Forgets an unloaded texture's texels.
void ForgetVisibleTexels(const Texture* texture);

// Zeroes the rounding left in a model transform turned by quarter turns (the
// rotation terms below a hundred-thousandth of its scale).
void SquareUp(float (&model)[4][4]);

// The draw the device is about to make, narrowed to its visible texels.
struct QuadTrim {
    bool active;         // the transforms were narrowed and must be put back
    float model[4][4];   // the caller's model transform
    float texture[3][3]; // the caller's texture transform
    // When bandCount > 0: draw these vertices of the band vertex array (the
    // unit square's bands, under the caller's transforms) instead of the mesh.
    unsigned bandVertexArray;
    int bandFirst, bandCount;
};

// Squares up a unit-square draw turned by quarter turns (rounding tilts it by
// a millionth of a pixel, which costs the rasterizer its rectangle path) and
// narrows its model and texture transforms to the rectangle that holds the
// bound texture's visible texels; false when the draw shows none at all
// (nothing to draw; the transforms are already put back).
bool BeginQuadTrim(const Mesh* mesh, QuadTrim* trim);
// Puts the caller's transforms back.
void EndQuadTrim(const QuadTrim& trim);

// The band vertices from `first` on: x, y, u, v of the unit square each.
const float* TrimBandVertices(int first);

// Deletes the band vertex array (at shut-down, with the context still current).
void FreeTrimGeometry();
// Forgets the band vertex array without deleting it (a new context has none).
void DropTrimGeometry();
