// Triangle meshes: the one global builder staging up to 8192 triangles, the
// upload of a finished build into a vertex array and buffer, the list of live
// meshes that the exit report counts, drawing with the device's render state,
// and the unit square every object is drawn with.
// Depends on the graphics device (shader program, render globals, GL errors).
#include "engine/graphics/mesh.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/graphics/device.h"
#include "engine/graphics/draw_batch.h"
#include "engine/graphics/picture_cache.h"
#include "engine/graphics/quad_trim.h"
#include "engine/graphics/render_paths.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

namespace {

// One vertex as the vertex buffer holds it (36 bytes).
struct Vertex {
    float x, y, z;
    float r, g, b, a;
    float u, v;
};
static_assert(sizeof(Vertex) == 36, "vertex layout is 36 bytes");

// An attribute of the vertex layout: location, float count, byte offset.
struct VertexAttribute {
    GLuint location;
    GLint components;
    size_t offset;
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

const VertexAttribute VERTEX_ATTRIBUTES[] = {
    {0, 3, offsetof(Vertex, x)},
    {1, 4, offsetof(Vertex, r)},
    {2, 2, offsetof(Vertex, u)},
};

// The builder: a static staging array, so building allocates nothing.
Vertex stagingVertices[MESH_MAX_TRIANGLES * 3];
uint32_t stagedTriangles = 0;
bool building = false;

std::vector<Mesh*> meshList;
// The vertex array a lean draw left bound (0 when none is).
unsigned boundVertexArray = 0;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// A staged vertex with z = 0 and the colour's bytes as 0..1 floats.
Vertex MakeVertex(float x, float y, uint32_t color, float u, float v) {
    return Vertex{x,
                  y,
                  0.0f,
                  ((color >> 16) & 0xFF) / 255.0f,
                  ((color >> 8) & 0xFF) / 255.0f,
                  (color & 0xFF) / 255.0f,
                  ((color >> 24) & 0xFF) / 255.0f,
                  u,
                  v};
}

// Points the three attributes of the bound vertex array at the bound buffer.
void DescribeVertexAttributes() {
    for (const VertexAttribute& attribute : VERTEX_ATTRIBUTES)
        glVertexAttribPointer(attribute.location, attribute.components, GL_FLOAT, GL_FALSE,
                              sizeof(Vertex), reinterpret_cast<const void*>(attribute.offset));
}

// Switches the three attributes on or off for the bound vertex array.
void EnableVertexAttributes(bool on) {
    for (const VertexAttribute& attribute : VERTEX_ATTRIBUTES) {
        if (on)
            glEnableVertexAttribArray(attribute.location);
        else
            glDisableVertexAttribArray(attribute.location);
    }
}

// Bounds and opacity of the mesh's staged vertices (for the lean draw paths).
void DescribeStagedVertices(Mesh* mesh) {
    mesh->minX = mesh->minY = 1e30f;
    mesh->maxX = mesh->maxY = -1e30f;
    mesh->opaqueColors = true;
    for (int32_t i = 0; i < mesh->vertexCount; ++i) {
        const Vertex& v = stagingVertices[i];
        mesh->minX = std::min(mesh->minX, v.x), mesh->maxX = std::max(mesh->maxX, v.x);
        mesh->minY = std::min(mesh->minY, v.y), mesh->maxY = std::max(mesh->maxY, v.y);
        mesh->opaqueColors = mesh->opaqueColors && v.a >= 1.0f;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Starts accepting triangles; what is staged stays (MeshEnd and the frame empty it).
void MeshStart() {
    building = true;
}

// Stages one triangle while building, up to the cap; otherwise ignored.
void MeshAddTriangle(float x0, float y0, uint32_t c0, float u0, float v0, float x1, float y1,
                     uint32_t c1, float u1, float v1, float x2, float y2, uint32_t c2, float u2,
                     float v2) {
    if (!building || stagedTriangles >= MESH_MAX_TRIANGLES) return;
    Vertex* out = &stagingVertices[stagedTriangles * 3];
    out[0] = MakeVertex(x0, y0, c0, u0, v0);
    out[1] = MakeVertex(x1, y1, c1, u1, v1);
    out[2] = MakeVertex(x2, y2, c2, u2, v2);
    ++stagedTriangles;
}

// Uploads the staged vertices into a new mesh and empties the builder.
Mesh* MeshEnd(uint32_t vertexCount) {
    if (vertexCount == 0 || vertexCount % 3 != 0) return nullptr;
    // More vertices than were staged would upload stale ones, or read past
    // the staging array; refuse such a count like any other bad one.
    if (vertexCount > stagedTriangles * 3) {
        fprintf(stderr, "MeshEnd: %u vertices asked for, only %u staged\n", vertexCount,
                stagedTriangles * 3);
        return nullptr;
    }
    Mesh* mesh = new Mesh{};
    glGenVertexArrays(1, &mesh->vertexArray);
    glGenBuffers(1, &mesh->vertexBuffer);
    glBindVertexArray(mesh->vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, mesh->vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(vertexCount * sizeof(Vertex)), stagingVertices,
                 GL_STATIC_DRAW);
    DescribeVertexAttributes();
    glBindVertexArray(0);
    boundVertexArray = 0;
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    CheckGLError();
    MeshBuilderReset();
    mesh->vertexCount = (int32_t)vertexCount;
    DescribeStagedVertices(mesh);
    snprintf(mesh->name, sizeof mesh->name, "Mesh%i", (int)meshList.size());
    meshList.push_back(mesh);
    return mesh;
}

// Empties the staging array and stops building.
void MeshBuilderReset() {
    stagedTriangles = 0;
    building = false;
    // Also at start-up, where a new context has nothing bound.
    if (boundVertexArray != 0) glBindVertexArray(0);
    boundVertexArray = 0;
}

// Triangles staged so far.
uint32_t MeshBuilderTriangleCount() {
    return stagedTriangles;
}

// Whether triangles are being accepted.
bool MeshBuilderIsBuilding() {
    return building;
}

// Whether draws reach the rasterizer (see SetMeshRasterizing).
static bool meshRasterizing = true;

// Turns the pixel work of every draw off or on; everything else of a draw runs.
void SetMeshRasterizing(bool on) {
    FlushDrawBatch();
    meshRasterizing = on;
}

// Whether draws reach the rasterizer.
bool MeshRasterizing() {
    return meshRasterizing;
}

// Binds unless it is bound already (the lean path leaves arrays bound).
void BindDrawVertexArray(unsigned vertexArray) {
    if (boundVertexArray != vertexArray) glBindVertexArray(vertexArray);
    boundVertexArray = vertexArray;
}

// Sends the draw the render globals describe, trimmed to its visible texels
// (or blitted). The lean path keeps the vertex array bound and its attributes
// on (the vertex array remembers them) until another mesh is drawn.
static void SubmitDraw(Mesh* mesh) {
    QuadTrim trim;
    if (!BeginQuadTrim(mesh, &trim)) return;
    if (meshRasterizing && BlitInsteadOfDraw(mesh)) {
        EndQuadTrim(trim);
        CheckGLError();
        return;
    }
    if (BatchPictureDraw(mesh, trim)) {
        EndQuadTrim(trim);
        return;
    }
    const bool lean = LeanRendering();
    if (trim.bandCount > 0) { // lean only; the band vertex array keeps its attributes on
        ApplyRenderUniforms();
        BindDrawVertexArray(trim.bandVertexArray);
        if (meshRasterizing) glDrawArrays(GL_TRIANGLES, trim.bandFirst, trim.bandCount);
        EndQuadTrim(trim);
        CheckGLError();
        return;
    }
    ApplyRenderUniforms(); // sends the batch before this draw's array is bound
    if (!lean || boundVertexArray != mesh->vertexArray) glBindVertexArray(mesh->vertexArray);
    if (!lean || !mesh->attributesOn) EnableVertexAttributes(true);
    if (meshRasterizing) glDrawArrays(GL_TRIANGLES, 0, mesh->vertexCount);
    EndQuadTrim(trim);
    if (lean) {
        boundVertexArray = mesh->vertexArray;
        mesh->attributesOn = true;
    } else {
        EnableVertexAttributes(false);
        glBindVertexArray(0);
        boundVertexArray = 0;
        mesh->attributesOn = false;
    }
    CheckGLError();
}

// Draws a settled picture's copy in its place, texel for pixel and untinted,
// then puts the caller's render globals back.
static void DrawPictureCopy(Mesh* mesh, const CachedPicture& picture) {
    float model[4][4];
    memcpy(model, modelTransform, sizeof model);
    const Matrix3 texture = textureTransform;
    Texture* bound = boundTexture;
    const bool tinted = useTint;
    // The copy's first row is its bottom one: the square is drawn upside down.
    const float rows[4][4] = {
        {(float)picture.width, 0, 0, worldMinX + picture.x0 + picture.width / 2.0f},
        {0, -(float)picture.height, 0, worldMinY + picture.y0 + picture.height / 2.0f},
        {model[2][0], model[2][1], model[2][2], model[2][3]},
        {0, 0, 0, 1}};
    memcpy(modelTransform, rows, sizeof rows);
    Matrix3Identity(textureTransform);
    useTint = false;
    BindTexture(picture.copy);
    DrawMesh(mesh);
    BindTexture(bound);
    useTint = tinted;
    textureTransform = texture;
    memcpy(modelTransform, model, sizeof model);
}

// Draws the whole mesh with the render globals the caller has set; a settled
// picture is drawn from its copy (made here the first time).
void DrawMesh(Mesh* mesh) {
    if (mesh == nullptr || CanSkipDraw(mesh)) return;
    ChooseBlending(mesh);
    ChooseSampler(mesh);
    CachedPicture* picture = PictureForDraw(mesh);
    if (!meshRasterizing) picture = nullptr; // counted as seen all the same
    if (picture != nullptr && picture->copy == nullptr && BeginPictureCapture(picture)) {
        SubmitDraw(mesh);
        EndPictureCapture();
    }
    if (picture != nullptr && picture->copy != nullptr)
        DrawPictureCopy(mesh, *picture);
    else
        SubmitDraw(mesh);
}

// Deletes the mesh's vertex array and buffer and forgets it.
void FreeMesh(Mesh* mesh) {
    if (mesh == nullptr) return;
    auto listed = std::find(meshList.begin(), meshList.end(), mesh);
    if (listed == meshList.end()) {
        // Freeing twice would delete another mesh's names; refuse it loudly.
        fprintf(stderr, "FreeMesh: mesh is not in the mesh list (freed twice?)\n");
        return;
    }
    if (boundVertexArray == mesh->vertexArray) boundVertexArray = 0;
    glDeleteVertexArrays(1, &mesh->vertexArray);
    glDeleteBuffers(1, &mesh->vertexBuffer);
    CheckGLError();
    meshList.erase(std::remove(meshList.begin(), meshList.end(), mesh), meshList.end());
    delete mesh;
}

const float UNIT_SQUARE_VERTICES[6][4] = {{-0.5f, 0.5f, 0.0f, 0.0f}, {-0.5f, -0.5f, 0.0f, 1.0f},
                                          {0.5f, -0.5f, 1.0f, 1.0f}, {-0.5f, 0.5f, 0.0f, 0.0f},
                                          {0.5f, -0.5f, 1.0f, 1.0f}, {0.5f, 0.5f, 1.0f, 0.0f}};

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
