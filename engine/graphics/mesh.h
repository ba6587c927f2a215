// Triangle meshes: a global builder staging up to 8192 triangles, uploaded on
// MeshEnd into a vertex array; the list of live meshes for the exit report;
// drawing a mesh with the device's render state; the unit square every object
// uses. Depends on the graphics device.
#pragma once

#include <cstdint>

struct Mesh {
    unsigned vertexArray;
    unsigned vertexBuffer;
    int32_t vertexCount;
    char name[256];
    float minX, maxX, minY, maxY; // bounds of the vertex positions
    bool opaqueColors;            // every vertex colour has alpha 1
    bool unitSquare;              // made by CreateSquareMesh
    bool attributesOn;            // its vertex array has the attributes enabled
};

enum { MESH_MAX_TRIANGLES = 8192 };

// The unit square's two triangles as CreateSquareMesh lays them out: x, y, u, v
// per vertex (v = 0 along the top edge).
extern const float UNIT_SQUARE_VERTICES[6][4];

void MeshStart();
void MeshAddTriangle(float x0, float y0, uint32_t c0, float u0, float v0, float x1, float y1,
                     uint32_t c1, float u1, float v1, float x2, float y2, uint32_t c2, float u2,
                     float v2);
// Uploads the staged triangles; null when vertexCount is 0 or not a multiple of 3.
Mesh* MeshEnd(uint32_t vertexCount);
// Empties the builder and stops building (frame start, graphics start-up).
void MeshBuilderReset();
uint32_t MeshBuilderTriangleCount();
bool MeshBuilderIsBuilding();
void DrawMesh(Mesh* mesh);
// Off: draws bind, set uniforms and check errors as always but leave the
// pixels alone. Test runs use it for the many frames whose pixels nobody
// looks at, which is most of a software renderer's work.
void SetMeshRasterizing(bool on);
bool MeshRasterizing();
// Binds a vertex array for a draw, keeping the record of what is bound.
void BindDrawVertexArray(unsigned vertexArray);
void FreeMesh(Mesh* mesh);
// Unit square centred on the origin, every vertex in `color`.
Mesh* CreateSquareMesh(uint32_t color);
int MeshCount();
// Frees every mesh still listed (exit report).
void FreeAllMeshes();
