// Settled pictures: a picture drawn the same way frame after frame (a menu
// panel, a button, a castle), scaled or placed off the pixel grid, costs a
// software rasterizer its filter on every pixel of every frame. The lean path
// renders such a draw once into a texture of the pixels it covers, with the
// same program, filter and trim, and from then on draws that texture texel
// for pixel (the rasterizer's fast path) with the same blending: the same
// pixels reach the window. Draws that change (moving troops, fades) are drawn
// as always; copies no longer drawn are let go after two seconds (an
// animated backdrop comes back to each of its cells before that).
// Depends on the graphics device (render globals, world bounds), meshes,
// textures, the lean paths and the platform's client size.
#pragma once

struct Mesh;
struct Texture;

// A settled draw and its rendered copy (null until made).
struct CachedPicture {
    Texture* copy;
    int x0, y0;        // the copy's bottom-left pixel in the window
    int width, height; // its size in pixels
};

// Counts the draw about to be made (the render globals with `mesh`) as seen
// this frame, on either path; on the lean path, returns its cached picture
// once it has been drawn the same way for a few frames in a row. Null for a
// draw that is not settled or not a picture placed off the grid.
CachedPicture* PictureForDraw(const Mesh* mesh);
// Points the draw to come at a new copy's texture (made here); false, with
// nothing changed, when it cannot be made. EndPictureCapture puts the window
// back as a target.
bool BeginPictureCapture(CachedPicture* picture);
void EndPictureCapture();
// Start of a frame: lets go of copies no longer drawn.
void PictureCacheNewFrame();
// Drops the copies made of a texture that is being unloaded.
void ForgetCachedPictures(const Texture* texture);
// Deletes every copy (at shut-down, with the context still current).
void FreePictureCache();
// Forgets every copy without deleting it (a new context has none of them).
void DropPictureCache();
