// Texture pages: pictures drawn hundreds of times a frame in any order (the
// troop sheets of a battle), each followed by the same few small ones (its
// health bars), share one texture: the page, holding a copy of each sheet in
// a grid and of each small picture on a shelf above. A software rasterizer
// (Mesa's llvmpipe) stores its whole sampling state again, tens of
// kilobytes, whenever a draw samples another texture, and draws of one
// texture can go out as one draw call; troops and bars read from one page
// cost neither. Each picture sits in a border copied from its opposite edges,
// so the filter reads there what the repeating sampler reads beyond its
// edges; the small pictures lie near the page's corner, where coordinates
// keep their precision. The pictures are the same; only the lean path reads
// pages.
// Depends on the graphics device (render globals, texture binding) and textures.
#pragma once

struct Texture;
struct Matrix3;

// Makes a page of the hosts (in a grid) and the guests (those that fit side
// by side on a shelf as wide as the grid). A host may be on several pages; a
// draw of it reads the page bound now when that one holds it. False, with a
// line on stderr when the page would be too large, when no page is made.
bool ShareTexturePage(Texture* const* hosts, int hostCount, Texture* const* guests, int guestCount);
// For an untinted filtered draw of the bound texture through the texture
// transform: the texture to bind and the texture transform that read the
// same texels from a page (the page bound now when it holds the picture,
// else, for a host, the first page holding it; a guest is read only from the
// page bound now). False when the draw reads the texture itself.
bool PagedSampling(unsigned* textureName, Matrix3* transform);
// Deletes every page that holds a texture about to be unloaded.
void UnpageTexture(const Texture* texture);
// Deletes every page (at shut-down, with the context still current).
void FreeTexturePages();
// Forgets every page without deleting it (a new context has none).
void DropTexturePages();
