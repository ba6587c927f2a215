// Draw paths that spare the rasterizer the work a player never sees, and the
// clip of every screen to its scene. With lean rendering on (the default):
// no depth test (the draw order alone decides what covers what), no blending
// for draws whose every pixel is opaque, nothing sent for a draw that lies
// wholly outside the visible rectangle or under a later opaque picture that
// covers the whole scene. The scene clip keeps the bars around the 16:9 scene
// black on screens of other shapes; the cursor alone draws over them. While
// the window cannot be seen, drawing is suppressed altogether.
// Depends on the graphics device (render globals, world bounds), meshes,
// textures and the platform's client size.
#pragma once

#include <cstdint>
#include <vector>

struct Mesh;
struct Texture;
struct Matrix3;

// The switch between the lean paths and drawing everything in full (the
// pictures are the same either way; tests compare them).
void SetLeanRendering(bool on);
bool LeanRendering();

// Scissors the frame's drawing to the 1280 by 720 scene at `scale`, centred in
// the client area; EndSceneClip lifts it (the clear and the debug interface
// cover the whole client area).
void BeginSceneClip(float scale);
void EndSceneClip();
// Lets one draw (the cursor) reach outside the scene, and back.
void SetSceneClipLifted(bool lifted);

// While set, no draw sends anything to OpenGL (the window is not visible).
void SetDrawingSuppressed(bool on);
bool DrawingSuppressed();
// While set, the draws to come lie under a later opaque picture (lean only).
void SetDrawsHidden(bool on);

// DrawMesh's share: whether this draw can be left out (the draws it lets
// through are counted for the frame), and the blend state it needs (set only
// when it changes).
bool CanSkipDraw(const Mesh* mesh);
// Start of a frame's drawing: the draws of the frame before are counted.
void BeginFrameDraws();
void ChooseBlending(const Mesh* mesh);
void ChooseSampler(const Mesh* mesh);
// Whether the draw just prepared reads its texels one to one (nearest texel).
bool ExactSamplingChosen();
// For an opaque picture drawn texel for pixel into the window (after
// ChooseSampler): copies it there from a copy in the window's row order and
// returns true; the caller then draws nothing.
bool BlitInsteadOfDraw(const Mesh* mesh);
// The depth and blend state the current path starts from (called at start-up
// and on a switch).
void ApplyRenderPathState();
// Whether the frame's clear must include the depth buffer.
bool DepthBufferInUse();

// The client area's pixels as drawn so far, RGBA, bottom row first (for
// comparing the two paths on one frame).
std::vector<uint8_t> ReadClientPixels(int width, int height);

// Whether the unit square drawn with `model` (world units) and `texture`
// (tinted with `tint` when `tinted`) covers every visible pixel of the scene
// with opaque pixels.
bool CoversVisibleScene(const Mesh* mesh, const Texture* texture, bool tinted, uint32_t tint,
                        const Matrix3& model);
