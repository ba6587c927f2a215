// Batching of picture draws (see draw_batch.h).
// Depends on the graphics device (render globals, picture programs), meshes
// (vertex array binding, rasterizing switch) and the quad trim.
#include "engine/graphics/draw_batch.h"

#include <GL/glew.h>

#include <cstddef>
#include <vector>

#include "engine/graphics/device.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/quad_trim.h"
#include "engine/graphics/render_paths.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

namespace {

// A gathered vertex: its world position and the texture coordinates it samples.
struct BatchVertex {
    float x, y, z, u, v;
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

// A batch holds at most 21 squares: llvmpipe rasterizes each pair of
// triangles making an upright rectangle on its rectangle path, and batches of
// a few hundred vertices or more measured a sixth slower in all (the pairs
// seem to lose that path once its vertex pipeline splits the draw).
constexpr size_t MAX_BATCH_VERTICES = 21 * 6;

std::vector<BatchVertex> batchVertices;
unsigned batchProgram = 0; // the picture program the gathered draws use
GLuint batchVertexArray = 0, batchBuffer = 0;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Makes the batch's vertex array the first time it is needed: position and
// texture coordinates on, the colour attribute off (pictures do not read it).
bool EnsureBatchVertexArray() {
    if (batchVertexArray != 0) return true;
    glGenVertexArrays(1, &batchVertexArray);
    glGenBuffers(1, &batchBuffer);
    if (batchVertexArray == 0 || batchBuffer == 0) return false;
    BindDrawVertexArray(batchVertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, batchBuffer);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(BatchVertex), nullptr);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(BatchVertex),
                          reinterpret_cast<const void*>(offsetof(BatchVertex, u)));
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(2);
    return true;
}

// Appends `count` unit-square vertices (x, y, u, v each) under the model
// transform and texture transform `t`, as the vertex stage would place them.
void GatherVertices(const float* square, int count, const Matrix3& t) {
    const float(&m)[4][4] = modelTransform;
    for (int i = 0; i < count; ++i, square += 4) {
        const float x = square[0], y = square[1], u = square[2], v = square[3];
        batchVertices.push_back(
            {m[0][0] * x + m[0][1] * y + m[0][3], m[1][0] * x + m[1][1] * y + m[1][3],
             m[2][0] * x + m[2][1] * y + m[2][3], t.m[0][0] * u + t.m[0][1] * v + t.m[0][2],
             t.m[1][0] * u + t.m[1][1] * v + t.m[1][2]});
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Only unit squares with an affine model transform: their vertices are known
// here and need no division.
bool BatchPictureDraw(const Mesh* mesh, const QuadTrim& trim) {
    const float(&m)[4][4] = modelTransform;
    if (!LeanRendering() || mesh == nullptr || !mesh->unitSquare || m[3][0] != 0 || m[3][1] != 0 ||
        m[3][2] != 0 || m[3][3] != 1)
        return false;
    Matrix3 texture;
    const unsigned program = PrepareBatchedPicture(&texture); // may send the batch
    if (program == 0) return false;
    const int count = trim.bandCount > 0 ? trim.bandCount : 6;
    if (program != batchProgram || batchVertices.size() + count > MAX_BATCH_VERTICES)
        FlushDrawBatch();
    batchProgram = program;
    GatherVertices(trim.bandCount > 0 ? TrimBandVertices(trim.bandFirst)
                                      : &UNIT_SQUARE_VERTICES[0][0],
                   count, texture);
    return true;
}

// The vertices go into a fresh store each time, so the rasterizer never has
// to be waited for over one it may still read.
void FlushDrawBatch() {
    if (batchVertices.empty()) return;
    const GLsizei count = (GLsizei)batchVertices.size();
    if (EnsureBatchVertexArray()) {
        UseBatchProgram(batchProgram);
        BindDrawVertexArray(batchVertexArray);
        glBindBuffer(GL_ARRAY_BUFFER, batchBuffer);
        glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(count * sizeof(BatchVertex)),
                     batchVertices.data(), GL_STREAM_DRAW);
        if (MeshRasterizing()) glDrawArrays(GL_TRIANGLES, 0, count);
    }
    batchVertices.clear();
    CheckGLError();
}

void FreeDrawBatch() {
    batchVertices.clear();
    if (batchVertexArray != 0) {
        BindDrawVertexArray(0);
        glDeleteVertexArrays(1, &batchVertexArray);
    }
    if (batchBuffer != 0) glDeleteBuffers(1, &batchBuffer);
    batchVertexArray = batchBuffer = 0;
}

void DropDrawBatch() {
    batchVertices.clear();
    batchVertexArray = batchBuffer = 0;
}
