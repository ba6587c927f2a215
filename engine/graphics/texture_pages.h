// Texture pages: a picture drawn hundreds of times a frame, each time followed
// by the same few small ones (a troop's sprite sheet, then its health bars),
// gets a page: one texture holding the sheet and a copy of each small
// picture. A software rasterizer (Mesa's llvmpipe) stores its whole sampling
// state again, tens of kilobytes, whenever a draw samples another texture;
// the small pictures drawn from the page just used cost it nothing of that.
// Each picture sits in a border copied from its opposite edges, so the
// filter reads there what the repeating sampler reads beyond its edges; the
// sheet spans the page's width and repeats across it as it does on its own,
// and the small pictures lie near the page's corner, where coordinates keep
// their precision. The pictures are the same; only the lean path reads pages.
// Depends on the graphics device (render globals, texture binding) and textures.
#pragma once

struct Texture;
struct Matrix3;

// Gives each host texture a page: the host below a row of copies of the
// guests. Guests that do not fit beside each other in a host's width stay
// out of its page. Returns the number of pages made.
int ShareTexturePages(Texture* const* hosts, int hostCount, Texture* const* guests, int guestCount);
// For an untinted filtered draw of the bound texture through the texture
// transform: the texture to bind and the texture transform that read the
// same texels from a page (a host's own; for a guest, the page bound now,
// if it holds the guest). False when the draw reads the texture itself.
bool PagedSampling(unsigned* textureName, Matrix3* transform);
// Deletes every page that holds a texture about to be unloaded.
void UnpageTexture(const Texture* texture);
// Deletes every page (at shut-down, with the context still current).
void FreeTexturePages();
// Forgets every page without deleting it (a new context has none).
void DropTexturePages();
