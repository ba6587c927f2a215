// Triangle meshes: the one global builder staging up to 8192 triangles, the
// copy of a finished build into a mesh, the list of live meshes that the exit
// report counts, and DrawMesh: the one path from the render globals to the
// sprite batch (what is left out, which texture and page, which sampling and
// blending, and the vertices under the transforms).
// Depends on the graphics device (render globals, viewport), the scene
// rules, textures (opacity, pages) and the sprite batch.
#include "engine/graphics/mesh.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
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
    return MeshVertex{x,
                      y,
                      0.0f,
                      ((color >> 16) & 0xFF) / 255.0f,
                      ((color >> 8) & 0xFF) / 255.0f,
                      (color & 0xFF) / 255.0f,
                      ((color >> 24) & 0xFF) / 255.0f,
                      u,
                      v};
}

// Bounds and opacity of the mesh's vertices (for leaving draws out and blending).
void DescribeVertices(Mesh* mesh) {
    mesh->minX = mesh->minY = 1e30f;
    mesh->maxX = mesh->maxY = -1e30f;
    mesh->opaqueColors = true;
    for (int32_t i = 0; i < mesh->vertexCount; ++i) {
        const MeshVertex& v = mesh->vertices[i];
        mesh->minX = std::min(mesh->minX, v.x), mesh->maxX = std::max(mesh->maxX, v.x);
        mesh->minY = std::min(mesh->minY, v.y), mesh->maxY = std::max(mesh->maxY, v.y);
        mesh->opaqueColors = mesh->opaqueColors && v.a >= 1.0f;
    }
}

// A 0..1 float as a colour byte.
uint32_t ColorByte(float value) {
    return (uint32_t)std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f);
}

// Bytes R, G, B, A in memory order from 0..1 floats.
uint32_t PackRGBA(float r, float g, float b, float a) {
    return ColorByte(r) | ColorByte(g) << 8 | ColorByte(b) << 16 | ColorByte(a) << 24;
}

// Whether a whole number of pixels or texels (within rounding).
bool Whole(float value) {
    return std::fabs(value - std::round(value)) < 1e-3f;
}

// Whether the unit square under the model transform shows its texels one to
// one on pixels, edges on pixel and texel edges, without repeating the
// texture: every pixel centre then falls on a texel centre, where nearest
// sampling reads what the linear filter would.
bool TexelForPixel(const Mesh* mesh, const Texture& texture) {
    const Matrix3& t = textureTransform;
    const float(&m)[4][4] = modelTransform;
    if (!mesh->unitSquare || t.m[0][1] != 0 || t.m[1][0] != 0 || std::fabs(m[0][1]) > 1e-3f ||
        std::fabs(m[1][0]) > 1e-3f)
        return false;
    const float width = std::fabs(m[0][0]), height = std::fabs(m[1][1]);
    const float shownS = std::fabs(t.m[0][0]) * texture.width;
    const float shownT = std::fabs(t.m[1][1]) * texture.height;
    return Whole(m[0][3] - width / 2 - worldMinX) && Whole(m[1][3] - height / 2 - worldMinY) &&
           std::fabs(shownS - width) < 1e-3f && std::fabs(shownT - height) < 1e-3f &&
           Whole(t.m[0][2] * texture.width) && Whole(t.m[1][2] * texture.height) &&
           ShowsTextureOnce(t);
}

// Whether every pixel the draw covers is opaque: the picture (or, untextured,
// the vertex colours) and the tint.
bool OpaqueDraw(const Mesh* mesh) {
    const bool opaque = boundTexture != nullptr ? boundTexture->opaque : mesh->opaqueColors;
    return opaque && (!useTint || (tintColor >> 24) == 0xFF);
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

// Whether triangles are being accepted.
bool MeshBuilderIsBuilding() {
    return building;
}

void SetMeshRasterizing(bool on) {
    BatchSetRasterizing(on);
}

bool MeshRasterizing() {
    return BatchRasterizing();
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
    Matrix3 t = textureTransform;
    float part[4] = {0, 0, 1, 1}; // of the unit square, trimmed to the texels that show
    bool trimmed = false;
    if (boundTexture != nullptr) {
        state.texture = boundTexture->glName;
        state.nearest = TexelForPixel(mesh, *boundTexture);
        trimmed = mesh->unitSquare && ReadFromPage(boundTexture, &state.texture, &t);
        if (trimmed && !CoveredPart(state.texture, t, part)) return;
    }
    const float tint[4] = {useTint ? ((tintColor >> 16) & 0xFF) / 255.0f : 1.0f,
                           useTint ? ((tintColor >> 8) & 0xFF) / 255.0f : 1.0f,
                           useTint ? (tintColor & 0xFF) / 255.0f : 1.0f,
                           useTint ? ((tintColor >> 24) & 0xFF) / 255.0f : 1.0f};
    const uint32_t textured = PackRGBA(tint[0], tint[1], tint[2], tint[3]);
    const float(&m)[4][4] = modelTransform;
    BatchVertex* out = BatchAdd(state, mesh->vertexCount);
    for (int32_t i = 0; i < mesh->vertexCount; ++i) {
        MeshVertex v = mesh->vertices[i];
        if (trimmed) { // the unit square has x = u - 1/2, y = 1/2 - v
            v.u = part[0] + v.u * (part[2] - part[0]), v.v = part[1] + v.v * (part[3] - part[1]);
            v.x = v.u - 0.5f, v.y = 0.5f - v.v;
        }
        out[i] = {m[0][0] * v.x + m[0][1] * v.y + m[0][3], m[1][0] * v.x + m[1][1] * v.y + m[1][3],
                  t.m[0][0] * v.u + t.m[0][1] * v.v + t.m[0][2],
                  t.m[1][0] * v.u + t.m[1][1] * v.v + t.m[1][2],
                  boundTexture != nullptr
                      ? textured
                      : PackRGBA(v.r * tint[0], v.g * tint[1], v.b * tint[2], v.a * tint[3])};
    }
}

// Frees the mesh's vertices and forgets it.
void FreeMesh(Mesh* mesh) {
    if (mesh == nullptr) return;
    auto listed = std::find(meshList.begin(), meshList.end(), mesh);
    if (listed == meshList.end()) {
        // Freeing twice would free another mesh's vertices; refuse it loudly.
        fprintf(stderr, "FreeMesh: mesh is not in the mesh list (freed twice?)\n");
        return;
    }
    meshList.erase(std::remove(meshList.begin(), meshList.end(), mesh), meshList.end());
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
    std::vector<Mesh*> leftovers = meshList;
    for (Mesh* mesh : leftovers)
        FreeMesh(mesh);
    meshList.clear();
}

void SetDrawObserver(DrawObserver observer) {
    drawObserver = observer;
}
