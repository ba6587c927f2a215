// Texture pages: pictures drawn together hundreds of times a frame (the troop
// sheets of a battle, each troop followed by its health bars) share one
// texture, the page, so their draws join one run of the sprite batch. Each
// picture sits in a border copied from its opposite edges, so the filter
// reads there what the repeating sampler reads beyond its edges; a draw
// that shows more than the picture once reads the picture itself.
// Depends on the graphics device (matrices), textures and the sprite batch.
#pragma once

struct Texture;
struct Matrix3;

// Copies the pictures onto one new page (shelves of pictures by height);
// pictures already on a page stay where they are. False, with a line on
// stderr, when the page would be too large and none is made.
bool ShareTexturePage(Texture* const* pictures, int count);
// Whether the texture transform reads the unit square's texels from inside
// the texture (no repeat).
bool ShowsTextureOnce(const Matrix3& t);
// For a draw of `texture` through `t`: when the texture is on a page and the
// draw shows it once, the page's name and the transform that reads the same
// texels from it (true); otherwise both stay.
bool ReadFromPage(const Texture* texture, unsigned* name, Matrix3* t);
// Trim: the part (u0, v0, u1, v1) of the unit square read from a page through
// `t` outside which every texel read is transparent; false when none shows.
bool CoveredPart(unsigned pageName, const Matrix3& t, float part[4]);
// Deletes the page holding a texture about to be unloaded.
void UnpageTexture(const Texture* texture);
// Deletes every page (shut-down, context current).
void FreeTexturePages();
