// Triangle meshes (see mesh.h). DrawMesh is the one path from the render
// globals to the sprite batch: what is left out, which texture and page, which
// sampling and blending, and the vertices under the transforms.
// Depends on the graphics device (render globals, viewport), the scene
// rules, textures (opacity, pages) and the sprite batch.
#include "engine/graphics/mesh.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <cstdio>
#include <vector>

#include "engine/graphics/device.h"
#include "engine/graphics/scene.h"
#include "engine/graphics/sprite_batch.h"
#include "engine/graphics/texture.h"
#include "engine/graphics/texture_pages.h"

namespace {

// The builder: a static staging array, so building allocates nothing.
MeshVertex stagingVertices[MESH_MAX_TRIANGLES * 3];
uint32_t stagedTriangles = 0;
bool building = false;

std::vector<Mesh*> meshList;
DrawObserver drawObserver = nullptr;

// The unit square's two triangles: x, y, u, v per vertex (v = 0 along the top).
const float UNIT_SQUARE_VERTICES[6][4] = {{-0.5f, 0.5f, 0.0f, 0.0f}, {-0.5f, -0.5f, 0.0f, 1.0f},
                                          {0.5f, -0.5f, 1.0f, 1.0f}, {-0.5f, 0.5f, 0.0f, 0.0f},
                                          {0.5f, -0.5f, 1.0f, 1.0f}, {0.5f, 0.5f, 1.0f, 0.0f}};

// A staged vertex with z = 0 and the colour's bytes as 0..1 floats.
MeshVertex MakeVertex(float x, float y, uint32_t color, float u, float v) {
    const float r = ((color >> 16) & 0xFF) / 255.0f, g = ((color >> 8) & 0xFF) / 255.0f;
    return {x, y, 0.0f, r, g, (color & 0xFF) / 255.0f, (color >> 24) / 255.0f, u, v};
}

// Bounds and opacity of the mesh's vertices (for leaving draws out and blending).
void DescribeVertices(Mesh* mesh) {
    const std::span vertices(mesh->vertices, mesh->vertexCount);
    const auto [left, right] = std::ranges::minmax(vertices, {}, &MeshVertex::x);
    const auto [bottom, top] = std::ranges::minmax(vertices, {}, &MeshVertex::y);
    mesh->minX = left.x, mesh->maxX = right.x;
    mesh->minY = bottom.y, mesh->maxY = top.y;
    mesh->opaqueColors = std::ranges::all_of(vertices, [](auto& v) { return v.a >= 1.0f; });
}

// Bytes R, G, B, A in memory order from 0..1 floats.
uint32_t PackRGBA(float r, float g, float b, float a) {
    auto byte = [](float v) { return (uint32_t)std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f); };
    return byte(r) | byte(g) << 8 | byte(b) << 16 | byte(a) << 24;
}

// Whether a whole number of pixels or texels (within rounding).
bool Whole(float value) {
    return std::fabs(value - std::round(value)) < 1e-3f;
}

// Whether the unit square, showing the texture once, shows its texels one to
// one on pixels, edges on pixel and texel edges: every pixel centre then
// falls on a texel centre, where nearest sampling reads what the linear
// filter would.
bool TexelForPixel(const Texture& texture) {
    const Matrix3& t = textureTransform;
    const float(&m)[4][4] = modelTransform;
    if (std::fabs(m[0][1]) > 1e-3f || std::fabs(m[1][0]) > 1e-3f) return false;
    const float width = std::fabs(m[0][0]), height = std::fabs(m[1][1]);
    return Whole(m[0][3] - width / 2 - worldMinX) && Whole(m[1][3] - height / 2 - worldMinY) &&
           std::fabs(std::fabs(t.m[0][0]) * texture.width - width) < 1e-3f &&
           std::fabs(std::fabs(t.m[1][1]) * texture.height - height) < 1e-3f &&
           Whole(t.m[0][2] * texture.width) && Whole(t.m[1][2] * texture.height);
}

// Whether every pixel the draw covers is opaque: the picture (or, untextured,
// the vertex colours) and the tint.
bool OpaqueDraw(const Mesh* mesh) {
    const bool opaque = boundTexture != nullptr ? boundTexture->opaque : mesh->opaqueColors;
    return opaque && (!useTint || (tintColor >> 24) == 0xFF);
}

// The vertex (x, y) read at (u, v) under the model transform and `t`.
BatchVertex Transformed(float x, float y, float u, float v, const Matrix3& t, uint32_t color) {
    const float(&m)[4][4] = modelTransform;
    return {m[0][0] * x + m[0][1] * y + m[0][3], m[1][0] * x + m[1][1] * y + m[1][3],
            t.m[0][0] * u + t.m[0][1] * v + t.m[0][2], t.m[1][0] * u + t.m[1][1] * v + t.m[1][2],
            color};
}

// Adds the part (u0, v0, u1, v1) of the unit square (x = u - 1/2, y = 1/2 - v)
// read through `t`. Its corners are picked, not interpolated, so that parts
// meeting on an edge meet exactly there.
void AddSquarePart(const BatchState& state, const float part[4], const Matrix3& t, uint32_t color) {
    BatchVertex* out = BatchAdd(state, 6);
    for (int i = 0; i < 6; i++) {
        const float u = UNIT_SQUARE_VERTICES[i][2] != 0 ? part[2] : part[0];
        const float v = UNIT_SQUARE_VERTICES[i][3] != 0 ? part[3] : part[1];
        out[i] = Transformed(u - 0.5f, 0.5f - v, u, v, t, color);
    }
}

// The unit square showing a picture once. From a page, only the part whose
// texels show: a troop's sheet frame is mostly transparent, and in a full
// battle that halves the pixels shaded; an unpaged picture whole.
void DrawPicture(BatchState state, Texture& picture, uint32_t color) {
    Matrix3 t = textureTransform;
    float part[4] = {0, 0, 1, 1};
    state.nearest = TexelForPixel(picture);
    if (ReadFromPage(&picture, &state.texture, &t) && !CoveredPart(state.texture, t, part)) return;
    AddSquarePart(state, part, t, color);
}

} // namespace

// Starts accepting triangles; what is staged stays (MeshEnd and the frame empty it).
void MeshStart() {
    building = true;
}

// Stages one triangle while building, up to the cap; otherwise ignored.
void MeshAddTriangle(float x0, float y0, uint32_t c0, float u0, float v0, float x1, float y1,
                     uint32_t c1, float u1, float v1, float x2, float y2, uint32_t c2, float u2,
                     float v2) {
    if (!building || stagedTriangles >= MESH_MAX_TRIANGLES) return;
    MeshVertex* out = &stagingVertices[stagedTriangles * 3];
    out[0] = MakeVertex(x0, y0, c0, u0, v0);
    out[1] = MakeVertex(x1, y1, c1, u1, v1);
    out[2] = MakeVertex(x2, y2, c2, u2, v2);
    ++stagedTriangles;
}

// Copies the staged vertices into a new mesh and empties the builder.
Mesh* MeshEnd(uint32_t vertexCount) {
    if (vertexCount == 0 || vertexCount % 3 != 0) return nullptr;
    // More vertices than were staged would copy stale ones, or read past the
    // staging array; refuse such a count like any other bad one.
    if (vertexCount > stagedTriangles * 3) {
        fprintf(stderr, "MeshEnd: %u vertices asked for, only %u staged\n", vertexCount,
                stagedTriangles * 3);
        return nullptr;
    }
    Mesh* mesh = new Mesh{};
    mesh->vertices = new MeshVertex[vertexCount];
    std::copy(stagingVertices, stagingVertices + vertexCount, mesh->vertices);
    mesh->vertexCount = (int32_t)vertexCount;
    MeshBuilderReset();
    DescribeVertices(mesh);
    snprintf(mesh->name, sizeof mesh->name, "Mesh%i", (int)meshList.size());
    meshList.push_back(mesh);
    return mesh;
}

// Empties the staging array and stops building.
void MeshBuilderReset() {
    stagedTriangles = 0;
    building = false;
}

// Triangles staged so far.
uint32_t MeshBuilderTriangleCount() {
    return stagedTriangles;
}

// The mesh's vertices under the model and texture transforms go to the batch
// with the state the render globals ask for. A textured draw takes the tint
// (or white) as its colour; an untextured one its vertex colours, tinted.
void DrawMesh(Mesh* mesh) {
    if (mesh == nullptr) return;
    BatchState state = {};
    state.clipped = SceneClipRect(state.clip);
    if (drawObserver != nullptr) drawObserver(mesh, state.clipped);
    if (CanSkipDraw(mesh)) return;
    state.viewport[0] = viewportWidth, state.viewport[1] = viewportHeight;
    state.worldHalf[0] = worldMaxX, state.worldHalf[1] = worldMaxY;
    state.blend = !OpaqueDraw(mesh);
    // The tint (white when off) as 0..1 floats, by the vertex colour rule.
    const MeshVertex tint = MakeVertex(0, 0, useTint ? tintColor : 0xFFFFFFFFu, 0, 0);
    const uint32_t textured = PackRGBA(tint.r, tint.g, tint.b, tint.a);
    if (boundTexture != nullptr) state.texture = boundTexture->glName;
    if (boundTexture != nullptr && mesh->unitSquare && ShowsTextureOnce(textureTransform))
        return DrawPicture(state, *boundTexture, textured);
    BatchVertex* out = BatchAdd(state, mesh->vertexCount);
    for (int32_t i = 0; i < mesh->vertexCount; ++i) {
        const MeshVertex& v = mesh->vertices[i];
        const uint32_t color = boundTexture != nullptr ? textured
                                                       : PackRGBA(v.r * tint.r, v.g * tint.g,
                                                                  v.b * tint.b, v.a * tint.a);
        out[i] = Transformed(v.x, v.y, v.u, v.v, textureTransform, color);
    }
}

// Frees the mesh's vertices and forgets it.
void FreeMesh(Mesh* mesh) {
    if (mesh == nullptr) return;
    if (std::erase(meshList, mesh) == 0) {
        // Freeing twice would free another mesh's vertices; refuse it loudly.
        fprintf(stderr, "FreeMesh: mesh is not in the mesh list (freed twice?)\n");
        return;
    }
    delete[] mesh->vertices;
    delete mesh;
}

// Unit square centred on the origin; v = 0 along the top edge.
Mesh* CreateSquareMesh(uint32_t color) {
    MeshStart();
    for (const float(*v)[4] = UNIT_SQUARE_VERTICES; v < UNIT_SQUARE_VERTICES + 6; v += 3)
        MeshAddTriangle(v[0][0], v[0][1], color, v[0][2], v[0][3], v[1][0], v[1][1], color, v[1][2],
                        v[1][3], v[2][0], v[2][1], color, v[2][2], v[2][3]);
    Mesh* mesh = MeshEnd(3 * MeshBuilderTriangleCount());
    if (mesh) mesh->unitSquare = true;
    return mesh;
}

// Live meshes (shown in the exit report).
int MeshCount() {
    return (int)meshList.size();
}

// Frees every listed mesh.
void FreeAllMeshes() {
    while (!meshList.empty())
        FreeMesh(meshList.back());
}

void SetDrawObserver(DrawObserver observer) {
    drawObserver = observer;
}
