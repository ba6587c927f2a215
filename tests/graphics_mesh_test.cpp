// Tests of the mesh builder and meshes: triangles only while building, the
// 8192-triangle cap, bad vertex counts, the uploaded vertex layout, "Mesh%i"
// names, freeing, and the unit square's corners and texture coordinates.
// Depends on the test harness and the graphics device and meshes.
#include "graphics_helpers.h"

namespace {

using MeshTest = GraphicsTest;

// Stages one triangle whose first x carries `tag`.
void AddTaggedTriangle(float tag) {
    MeshAddTriangle(tag, 0, 0xFFFFFFFF, 0, 0, 1, 0, 0xFFFFFFFF, 1, 0, 0, 1, 0xFFFFFFFF, 0, 1);
}

TEST_F(MeshTest, TrianglesOutsideABuildAreIgnored) {
    ResetRenderState();
    AddTaggedTriangle(1);
    EXPECT_EQ(MeshBuilderTriangleCount(), 0u);
    EXPECT_EQ(MeshEnd(3), nullptr);
    const int meshes = MeshCount();
    MeshStart();
    AddTaggedTriangle(2);
    Mesh* mesh = MeshEnd(3);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(MeshCount(), meshes + 1);
    // MeshEnd stops the build: the next triangle is ignored again.
    EXPECT_FALSE(MeshBuilderIsBuilding());
    AddTaggedTriangle(3);
    EXPECT_EQ(MeshBuilderTriangleCount(), 0u);
    FreeMesh(mesh);
}

TEST_F(MeshTest, TheBuilderKeepsAtMost8192Triangles) {
    ResetRenderState();
    MeshStart();
    for (int i = 0; i < MESH_MAX_TRIANGLES + 5; ++i)
        AddTaggedTriangle((float)i);
    EXPECT_EQ(MeshBuilderTriangleCount(), 8192u);
    // Asking for the dropped triangles too is a bad count: nothing is read past the array.
    testing::internal::CaptureStderr();
    EXPECT_EQ(MeshEnd(3 * (MESH_MAX_TRIANGLES + 1)), nullptr);
    EXPECT_EQ(CountLines(testing::internal::GetCapturedStderr()), 1);
    Mesh* mesh = MeshEnd(3 * MeshBuilderTriangleCount());
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->vertexCount, 3 * 8192);
    GLint bytes = 0;
    glBindBuffer(GL_ARRAY_BUFFER, mesh->vertexBuffer);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    EXPECT_EQ(bytes, 3 * 8192 * 36);
    const std::vector<MeshVertex> vertices = ReadMeshVertices(mesh);
    EXPECT_FLOAT_EQ(vertices[0].x, 0.0f);
    EXPECT_FLOAT_EQ(vertices[3 * 8191].x, 8191.0f); // the last kept is the 8192nd
    FreeMesh(mesh);
}

TEST_F(MeshTest, ABadVertexCountGivesNullAndKeepsTheBuild) {
    ResetRenderState();
    const int meshes = MeshCount();
    MeshStart();
    AddTaggedTriangle(7);
    AddTaggedTriangle(8);
    EXPECT_EQ(MeshEnd(0), nullptr);
    EXPECT_EQ(MeshEnd(4), nullptr);
    EXPECT_EQ(MeshEnd(5), nullptr);
    EXPECT_EQ(MeshCount(), meshes);
    // Still building, with both triangles.
    EXPECT_TRUE(MeshBuilderIsBuilding());
    EXPECT_EQ(MeshBuilderTriangleCount(), 2u);
    Mesh* mesh = MeshEnd(6);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->vertexCount, 6);
    EXPECT_FLOAT_EQ(ReadMeshVertices(mesh)[3].x, 8.0f);
    FreeMesh(mesh);
    // A null mesh draws and frees as nothing.
    DrawMesh(nullptr);
    FreeMesh(nullptr);
    EXPECT_EQ(MeshCount(), meshes);
}

TEST_F(MeshTest, AFrameStartEmptiesAFailedBuild) {
    MeshStart();
    AddTaggedTriangle(1);
    EXPECT_EQ(MeshEnd(0), nullptr);
    ResetRenderState();
    EXPECT_EQ(MeshBuilderTriangleCount(), 0u);
    EXPECT_FALSE(MeshBuilderIsBuilding());
}

TEST_F(MeshTest, MeshesAreNamedAfterTheListCount) {
    const int n = MeshCount();
    Mesh* first = CreateSquareMesh(0xFFFFFFFF);
    Mesh* second = CreateSquareMesh(0xFFFFFFFF);
    EXPECT_STREQ(first->name, ("Mesh" + std::to_string(n)).c_str());
    EXPECT_STREQ(second->name, ("Mesh" + std::to_string(n + 1)).c_str());
    EXPECT_EQ(MeshCount(), n + 2);
    // Names may repeat once a mesh is freed: they only count the list.
    FreeMesh(first);
    Mesh* third = CreateSquareMesh(0xFFFFFFFF);
    EXPECT_STREQ(third->name, ("Mesh" + std::to_string(n + 1)).c_str());
    FreeMesh(second);
    FreeMesh(third);
    EXPECT_EQ(MeshCount(), n);
}

TEST_F(MeshTest, VerticesKeepTheirOrderPositionColourAndTextureCoordinates) {
    ResetRenderState();
    MeshStart();
    MeshAddTriangle(1, 2, 0x80FF0000, 0.25f, 0.5f, 3, 4, 0xFF00FF00, 0.75f, 1, 5, 6, 0x400000FF, 0,
                    0.125f);
    Mesh* mesh = MeshEnd(3);
    ASSERT_NE(mesh, nullptr);
    const std::vector<MeshVertex> v = ReadMeshVertices(mesh);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_FLOAT_EQ(v[0].x, 1);
    EXPECT_FLOAT_EQ(v[0].y, 2);
    EXPECT_FLOAT_EQ(v[0].z, 0);
    EXPECT_FLOAT_EQ(v[0].r, 1);
    EXPECT_FLOAT_EQ(v[0].g, 0);
    EXPECT_FLOAT_EQ(v[0].b, 0);
    EXPECT_FLOAT_EQ(v[0].a, 128 / 255.0f);
    EXPECT_FLOAT_EQ(v[0].u, 0.25f);
    EXPECT_FLOAT_EQ(v[0].v, 0.5f);
    EXPECT_FLOAT_EQ(v[1].x, 3);
    EXPECT_FLOAT_EQ(v[1].g, 1);
    EXPECT_FLOAT_EQ(v[1].a, 1);
    EXPECT_FLOAT_EQ(v[2].y, 6);
    EXPECT_FLOAT_EQ(v[2].b, 1);
    EXPECT_FLOAT_EQ(v[2].a, 64 / 255.0f);
    EXPECT_FLOAT_EQ(v[2].v, 0.125f);
    FreeMesh(mesh);
}

TEST_F(MeshTest, TheUnitSquareHasVZeroOnItsTopEdge) {
    Mesh* square = CreateSquareMesh(0xFF0000FF);
    const std::vector<MeshVertex> v = ReadMeshVertices(square);
    ASSERT_EQ(v.size(), 6u);
    const float expected[6][4] = {{-0.5f, 0.5f, 0, 0}, {-0.5f, -0.5f, 0, 1}, {0.5f, -0.5f, 1, 1},
                                  {-0.5f, 0.5f, 0, 0}, {0.5f, -0.5f, 1, 1},  {0.5f, 0.5f, 1, 0}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(v[i].x, expected[i][0]) << "vertex " << i;
        EXPECT_FLOAT_EQ(v[i].y, expected[i][1]) << "vertex " << i;
        EXPECT_FLOAT_EQ(v[i].u, expected[i][2]) << "vertex " << i;
        EXPECT_FLOAT_EQ(v[i].v, expected[i][3]) << "vertex " << i;
        EXPECT_FLOAT_EQ(v[i].b, 1.0f);
    }
    // Drawn at 100 by 100 it covers exactly 100 by 100 pixels.
    BeginTestDrawing();
    DrawMeshAt(square, 0, 0, 100, 100);
    int covered = 0;
    for (int y = 300; y < 420; ++y)
        for (int x = 580; x < 700; ++x)
            covered += Blue(ReadClientPixel(x, y)) > 128;
    EXPECT_EQ(covered, 100 * 100);
    FreeMesh(square);
}

TEST_F(MeshTest, FreeingTwiceIsRefusedWithAMessage) {
    Mesh* kept = CreateSquareMesh(0xFFFFFFFF);
    Mesh* freed = CreateSquareMesh(0xFFFFFFFF);
    const int meshes = MeshCount();
    FreeMesh(freed);
    EXPECT_EQ(MeshCount(), meshes - 1);
    testing::internal::CaptureStderr();
    FreeMesh(freed);
    EXPECT_EQ(CountLines(testing::internal::GetCapturedStderr()), 1);
    EXPECT_EQ(MeshCount(), meshes - 1);
    FreeMesh(kept);
}

} // namespace
