// Shared helpers of the engine tests: an engine started once per suite, drawing
// into the back buffer outside the frame loop and reading it back, a mesh's
// vertex buffer, temporary files and captured stderr.
// Depends on the test harness, the graphics device, meshes and stb_image_write.
#pragma once

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/graphics/device.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/sprite_batch.h"
#include "harness/harness.h"

// A suite whose tests share one running engine in a 1280 by 720 window.
class GraphicsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { StartTestEngine(false); }
    static void TearDownTestSuite() { StopTestEngine(); }
};

// A serif TrueType font from a Debian package.
inline const char* const TEST_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";

// What the frame loop does before a state draws: reset, bounds and viewport, clear.
inline void BeginTestDrawing() {
    ResetRenderState();
    SetWorldBoundsFromClient();
    BatchClear();
}

// Pixel drawn so far at a world point (origin at the client centre, y up) as 0xRRGGBB.
inline uint32_t ReadWorldPixel(float x, float y) {
    uint8_t p[4] = {0, 0, 0, 0};
    BatchFlush(); // what is drawn so far reaches the buffer
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    const int row =
        (int)(2 * worldMaxY) - 1 - (int)(worldMaxY - y); // GL rows count from the bottom
    glReadPixels((int)(worldMaxX + x), row, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return (uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2];
}

// Draws `mesh` scaled to w by h at world (x, y) with the render globals as they are.
inline void DrawMeshAt(Mesh* mesh, float x, float y, float w, float h) {
    Matrix3 m;
    Matrix3Concat(m, Matrix3Translation(x, y), Matrix3Scale(w, h));
    SetTransform(m);
    DrawMesh(mesh);
}

// The vertices a mesh holds.
inline std::vector<MeshVertex> ReadMeshVertices(Mesh* mesh) {
    if (!mesh) return {};
    return {mesh->vertices, mesh->vertices + mesh->vertexCount};
}

// A fresh temporary folder for the test's files, removed when the program ends.
inline std::string MakeTempFolder() {
    static struct Folders : std::vector<std::string> {
        ~Folders() {
            for (const std::string& folder : *this)
                std::filesystem::remove_all(folder);
        }
    } folders;
    char pattern[] = "/tmp/morrow-test-XXXXXX";
    if (!mkdtemp(pattern)) return "/tmp";
    folders.push_back(pattern);
    return pattern;
}

// Writes an RGBA picture (rows top to bottom) as a PNG.
inline bool WritePng(const std::string& path, int width, int height,
                     const std::vector<uint8_t>& rgba) {
    return stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4) != 0;
}

// Writes arbitrary bytes to a file.
inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Number of lines in a captured stream.
inline int CountLines(const std::string& text) {
    return (int)std::count(text.begin(), text.end(), '\n');
}

// Runs `call` with stderr captured and returns what it wrote.
template <typename Call> std::string CaptureStderrOf(Call call) {
    testing::internal::CaptureStderr();
    call();
    return testing::internal::GetCapturedStderr();
}
