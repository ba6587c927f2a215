// Triangle meshes: a global builder staging up to 8192 triangles, copied on
// MeshEnd into an immutable mesh; the list of live meshes for the exit
// report; drawing a mesh with the render globals through the sprite batch;
// the unit square every object uses. Depends on the graphics device.
#pragma once

#include <cstdint>

// One vertex: position (z is 0), colour as 0..1 floats, texture coordinates.
struct MeshVertex {
    float x, y, z;
    float r, g, b, a;
    float u, v;
};

struct Mesh {
    MeshVertex* vertices;
    int32_t vertexCount;
    char name[256];
    float minX, maxX, minY, maxY; // bounds of the vertex positions
    bool opaqueColors;            // every vertex colour has alpha 1
    bool unitSquare;              // made by CreateSquareMesh
};

enum { MESH_MAX_TRIANGLES = 8192 };

void MeshStart();
void MeshAddTriangle(float x0, float y0, uint32_t c0, float u0, float v0, float x1, float y1,
                     uint32_t c1, float u1, float v1, float x2, float y2, uint32_t c2, float u2,
                     float v2);
// Copies the staged triangles into a mesh; null when vertexCount is 0 or not
// a multiple of 3.
Mesh* MeshEnd(uint32_t vertexCount);
// Empties the builder and stops building (frame start, graphics start-up).
void MeshBuilderReset();
uint32_t MeshBuilderTriangleCount();
// Draws the mesh with the render globals: model and texture transform, bound
// texture, tint, under the scene clip.
void DrawMesh(Mesh* mesh);
void FreeMesh(Mesh* mesh);
// Unit square centred on the origin, every vertex in `color`.
Mesh* CreateSquareMesh(uint32_t color);
int MeshCount();
// Frees every mesh still listed (exit report).
void FreeAllMeshes();

// Observer told of every DrawMesh before anything is left out, with whether
// the scene clip applies to it (tests draw the same frame another way). Null
// for none.
typedef void (*DrawObserver)(const Mesh* mesh, bool sceneClipped);
void SetDrawObserver(DrawObserver observer);
