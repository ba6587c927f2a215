// Batching of picture draws: the lean path gathers consecutive draws of
// untinted pictures on the unit square that OpenGL would make with the same
// program, texture, sampler, blending and clip, and sends them as one draw
// call. Each draw's square (or its trim bands) is taken through its model and
// texture transforms on the CPU, so the batch needs no per-draw uniforms. A
// software rasterizer pays more for each draw call than for its few vertices;
// a battle's troop and its health bars (one texture page) become one call.
// Whatever changes that OpenGL state, or reads or replaces what is drawn,
// first sends what is gathered (FlushDrawBatch), so the order of the pixels
// is the order of the draws.
// Depends on the graphics device (render globals, programs), meshes and the
// quad trim (band vertices).
#pragma once

struct Mesh;
struct QuadTrim;

// Gathers the draw the render globals describe (the unit square, or the trim
// bands when `trim` has them) when it can join the batch; false when it must
// be drawn on its own.
bool BatchPictureDraw(const Mesh* mesh, const QuadTrim& trim);
// Sends the gathered draws as one draw call (nothing when none are gathered).
void FlushDrawBatch();
// Deletes the batch's vertex array and buffer (shut-down, context current).
void FreeDrawBatch();
// Forgets them without deleting (a new context has none); gathered draws go too.
void DropDrawBatch();
