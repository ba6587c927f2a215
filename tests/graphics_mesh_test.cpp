// The mesh builder and meshes: triangles only while building, the 8192-triangle
// cap, bad vertex counts, "Mesh%i" names, freeing, the uploaded vertex layout and
// the unit square.
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
    const std::string err =
        CaptureStderrOf([] { EXPECT_EQ(MeshEnd(3 * (MESH_MAX_TRIANGLES + 1)), nullptr); });
    EXPECT_EQ(CountLines(err), 1) << err;
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

TEST_F(MeshTest, MeshesAreNamedAfterTheListCountAndFreedOnce) {
    const int n = MeshCount();
    Mesh* first = CreateSquareMesh(0xFFFFFFFF);
    Mesh* second = CreateSquareMesh(0xFFFFFFFF);
    EXPECT_STREQ(first->name, ("Mesh" + std::to_string(n)).c_str());
    EXPECT_STREQ(second->name, ("Mesh" + std::to_string(n + 1)).c_str());
    // Names may repeat once a mesh is freed: they only count the list.
    FreeMesh(first);
    EXPECT_EQ(MeshCount(), n + 1);
    Mesh* third = CreateSquareMesh(0xFFFFFFFF);
    EXPECT_STREQ(third->name, ("Mesh" + std::to_string(n + 1)).c_str());
    FreeMesh(third);
    EXPECT_EQ(CountLines(CaptureStderrOf([&] { FreeMesh(third); })), 1); // refused
    EXPECT_EQ(MeshCount(), n + 1);
    FreeMesh(second);
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
    const float expected[3][9] = {{1, 2, 0, 1, 0, 0, 128 / 255.0f, 0.25f, 0.5f},
                                  {3, 4, 0, 0, 1, 0, 1, 0.75f, 1},
                                  {5, 6, 0, 0, 0, 1, 64 / 255.0f, 0, 0.125f}};
    for (int i = 0; i < 27; ++i)
        EXPECT_FLOAT_EQ((&v[i / 9].x)[i % 9], expected[i / 9][i % 9]) << "vertex " << i / 9;
    FreeMesh(mesh);
}

TEST_F(MeshTest, TheUnitSquareHasVZeroOnItsTopEdge) {
    Mesh* square = CreateSquareMesh(0xFF0000FF);
    const std::vector<MeshVertex> v = ReadMeshVertices(square);
    ASSERT_EQ(v.size(), 6u);
    const float expected[6][4] = {{-0.5f, 0.5f, 0, 0}, {-0.5f, -0.5f, 0, 1}, {0.5f, -0.5f, 1, 1},
                                  {-0.5f, 0.5f, 0, 0}, {0.5f, -0.5f, 1, 1},  {0.5f, 0.5f, 1, 0}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(
            std::vector<float>({v[i].x, v[i].y, v[i].u, v[i].v, v[i].b}),
            std::vector<float>({expected[i][0], expected[i][1], expected[i][2], expected[i][3], 1}))
            << "vertex " << i;
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

} // namespace
