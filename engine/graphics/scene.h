// What a frame's draws may reach: the scene clip, which keeps the bars around
// the 1280 by 720 scene black on screens of other shapes (the cursor alone
// draws over them); the rule that nothing is drawn while the window cannot
// be seen; and the draws left out because they lie outside what can be seen
// or under a later opaque picture that covers the whole scene.
// Depends on the graphics device (render globals, world bounds) and the
// platform's client size.
#pragma once

#include <cstdint>

struct Mesh;
struct Texture;
struct Matrix3;

// Clips the frame's drawing to the scene at `scale`, centred in the client
// area; EndSceneClip lifts it (the clear and the debug interface cover the
// whole client area).
void BeginSceneClip(float scale);
void EndSceneClip();
// Lets one draw (the cursor) reach outside the scene, and back.
void SetSceneClipLifted(bool lifted);
// The scissor rectangle (x, y, width, height in window pixels) a draw made
// now is clipped to; false when it is not clipped.
bool SceneClipRect(int rect[4]);

// While set, no draw sends anything to OpenGL (the window is not visible).
void SetDrawingSuppressed(bool on);
bool DrawingSuppressed();
// While set, the draws to come lie under a later opaque picture.
void SetDrawsHidden(bool on);

// Whether the draw the render globals describe with `mesh` can be left out:
// drawing is suppressed, it is hidden under a later picture, or it lies
// wholly outside what can be seen.
bool CanSkipDraw(const Mesh* mesh);

// Whether the unit square drawn with `model` (world units) and `texture`
// (tinted with `tint` when `tinted`) covers every visible pixel of the scene
// with opaque pixels.
bool CoversVisibleScene(const Mesh* mesh, const Texture* texture, bool tinted, uint32_t tint,
                        const Matrix3& model);
