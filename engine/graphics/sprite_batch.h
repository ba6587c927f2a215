// Sprite batch: the one owner of OpenGL's state. Every draw of the game ends
// here as triangles of one vertex layout (world position, texture coordinate,
// colour) under a small state (texture, sampling, blending, clip, view). The
// batch gathers the frame's vertices in one array and its draws in runs of
// equal state; a run ends only where that state really changes. Flushing
// (at the end of the frame, before a clear or a read of the pixels) uploads
// the vertices once and sends each run as one draw call, changing only the
// OpenGL state that differs from the run before, into an off-screen canvas
// that one draw then shows in the window. The canvas keeps the last frame:
// the next is drawn again only inside the rectangle where it differs.
// Textures, render targets and the pixel read-back go through here too, so
// no other file binds, enables or sets anything in OpenGL.
// Depends on the graphics device (error check).
#pragma once

#include <cstdint>
#include <vector>

// A vertex as the batch streams it: world units, texture coordinates, and the
// colour as bytes R, G, B, A in memory order.
struct BatchVertex {
    float x, y, u, v;
    uint32_t rgba;
};

// What a run of vertices is drawn with.
struct BatchState {
    unsigned texture;   // OpenGL name; 0 samples white (untextured draws)
    bool nearest;       // nearest-texel sampling (a picture drawn texel for pixel)
    bool blend;         // alpha blending (off where every pixel is opaque)
    bool clipped;       // the scissor rectangle below applies
    int clip[4];        // scissor x, y, width, height in window pixels
    int viewport[2];    // viewport width and height in pixels
    float worldHalf[2]; // world units from the centre to the right and top edges
};

// What the last flushed frame cost OpenGL (for the benchmarks), and the
// pixels it was drawn again in (0: drawn whole, or held).
struct BatchCounters {
    int drawCalls, stateChanges, uploads;
    long long damagedPixels;
};

// Program, vertex array, white texture and the fixed state (no depth test,
// no culling, blend function); after the context is current.
bool BatchInit();
// Deletes the batch's own objects (shut-down, context current).
void BatchShutdown();
// Room for `count` vertices (whole triangles) drawn with `state`, in order
// after everything added before.
BatchVertex* BatchAdd(const BatchState& state, int count);
// Sends everything gathered.
void BatchFlush();
// Sends everything gathered; the frame that follows starts with a clear.
void BatchClear();
// End of a frame's drawing: sends what is left (a frame cleared and gathered
// whole only where it differs from the last), shows the canvas, checks
// OpenGL's errors once and keeps the frame's counters. A frame that draws
// exactly the picture on screen is held back instead (nothing is sent).
void BatchEndFrame();
// Whether the frame just ended was held back (its buffer swap is left out).
bool BatchFrameHeld();
BatchCounters BatchLastFrameCounters();
// Someone else (a test's reference drawing, the debug interface) changed
// OpenGL's state or the picture: the next flush sets all of it again and the
// frame is drawn.
void BatchStateChangedOutside();
// Off: draws are gathered and flushed as always but rasterize nothing (test
// frames whose pixels nobody reads).
void BatchSetRasterizing(bool on);

// A texture of BGRA texels in upload row order, linear filter, repeat wrap.
unsigned BatchCreateTexture(int32_t width, int32_t height, const uint32_t* texels);
// Reads a texture's texels back (BGRA, upload order).
void BatchReadTexture(unsigned name, int32_t width, int32_t height, uint32_t* texels);
void BatchDeleteTexture(unsigned name);
// A frame buffer with a depth buffer rendering into `texture`.
void BatchCreateRenderTarget(unsigned texture, int32_t width, int32_t height, unsigned* frameBuffer,
                             unsigned* depthBuffer);
void BatchDeleteRenderTarget(unsigned frameBuffer, unsigned depthBuffer);
// Draws the frame on screen again whole (tests compare it with the frame as
// it was drawn, perhaps again only where it changed).
void BatchRedrawShownWhole();
// The window's pixels of the frame drawn so far, RGBA, bottom row first.
std::vector<uint8_t> BatchReadPixels(int width, int height);
