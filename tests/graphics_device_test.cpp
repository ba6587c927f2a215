// The graphics device: the world-to-pixel mapping, blending and painter's order,
// tint and texture, the box shown when OpenGL is too old, the error report,
// debug windows over held frames and the debug interface's settings file.
#include "engine/graphics/texture.h"
#include "engine/debug_ui.h"
#include "app/game_state.h"
#include "engine/platform/platform.h"
#include "graphics_helpers.h"

#include <imgui.h>

namespace {

using DeviceTest = GraphicsTest;

// Expects a 0xRRGGBB colour within 2 per channel.
void ExpectColorNear(uint32_t actual, uint32_t expected) {
    for (int shift : {16, 8, 0})
        EXPECT_NEAR((int)(actual >> shift & 0xFF), (int)(expected >> shift & 0xFF), 2)
            << std::hex << actual << " not " << expected;
}

TEST_F(DeviceTest, WorldPixelsBlendingPaintersOrderTintAndTexture) {
    EXPECT_EQ(std::vector<float>({worldMinX, worldMaxX, worldMinY, worldMaxY}),
              std::vector<float>({-640, 640, -360, 360}));
    Mesh* white = CreateSquareMesh(0xFFFFFFFF);
    Mesh* halfRed = CreateSquareMesh(0x80FF0000);
    Mesh* blue = CreateSquareMesh(0xFF0000FF);
    const uint8_t greenPixel[4] = {0, 255, 0, 255};
    Texture* green = CreateTexture(1, 1, greenPixel);
    BeginTestDrawing();
    DrawMeshAt(white, 300, -200, 20, 20); // right of the centre and below it
    DrawMeshAt(white, 100, 0, 100, 100);
    DrawMeshAt(halfRed, 100, 0, 100, 100);  // half over white
    DrawMeshAt(halfRed, -100, 0, 100, 100); // half over the black clear
    DrawMeshAt(blue, -100, 150, 50, 50);
    DrawMeshAt(white, -90, 150, 50, 50); // the later draw covers the earlier
    useTint = true;
    SetTintColor(0xFF0000FF);
    DrawMeshAt(white, 300, 200, 40, 40); // white × blue tint
    useTint = false;
    boundTexture = green;
    DrawMeshAt(white, -300, 200, 40, 40); // the texture, not the white vertices
    useTint = true;
    SetTintColor(0x80808080);
    DrawMeshAt(white, -300, -200, 40, 40); // green texel × half-transparent grey
    const std::pair<std::pair<float, float>, uint32_t> expected[] = {
        {{300, -200}, 0xFFFFFF}, {{-300, 200}, 0x00FF00}, {{288, -200}, 0},
        {{100, 0}, 0xFF7F7F},    {{-100, 0}, 0x800000},   {{-120, 150}, 0x0000FF},
        {{-100, 150}, 0xFFFFFF}, {{300, 200}, 0x0000FF},  {{-300, -200}, 0x004000},
    };
    for (const auto& [at, colour] : expected)
        ExpectColorNear(ReadWorldPixel(at.first, at.second), colour);
    SetTintColor(0xFFFFFFFF); // opaque white is stored as FFFFFFFE
    EXPECT_EQ(tintColor, 0xFFFFFFFEu);
    UnloadTexture(green);
    for (Mesh* mesh : {white, halfRed, blue})
        FreeMesh(mesh);
}

TEST_F(DeviceTest, AMissingOpenGLVersionIsShownInABox) {
    const int boxes = PlatformMessageBoxCount();
    EXPECT_TRUE(RequireOpenGLVersion(3, 3));
    EXPECT_EQ(PlatformMessageBoxCount(), boxes);
    const std::string err = CaptureStderrOf([] { EXPECT_FALSE(RequireOpenGLVersion(9, 7)); });
    EXPECT_EQ(PlatformMessageBoxCount(), boxes + 1);
    EXPECT_NE(err.find("OpenGL 9.7 is not supported! Please download latest GPU drivers!"),
              std::string::npos)
        << err;
}

TEST_F(DeviceTest, AnOpenGLErrorInAFrameIsPrintedAtItsEnd) {
    glGetString(0x1234); // no such name: an error inside a frame, reported once at its end
    testing::internal::CaptureStdout();
    RenderDebugUi();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("GL_INVALID_ENUM - sprite_batch.cpp:", 0), 0u) << out;
    EXPECT_EQ(CountLines(out), 1) << out;
}

// A debug window is drawn over the window after the frame: a frame with one
// is shown even when the game drew the same, and so is the first without it,
// or the closed window would stay on the screen.
TEST_F(DeviceTest, DebugWindowsAreShownAndGoneAsSoonAsTheyClose) {
    Mesh* square = CreateSquareMesh(0xFF208040);
    std::vector<bool> held;
    for (bool debugWindow : {false, false, true, true, false, false}) {
        BeginDebugUiFrame();
        BeginTestDrawing();
        DrawMeshAt(square, 0, 0, 200, 100);
        if (debugWindow) ImGui::ShowMetricsWindow();
        RenderDebugUi();
        held.push_back(BatchFrameHeld());
    }
    // ImGui lays a new window out unseen in its first frame: that one is held.
    EXPECT_EQ(held, std::vector<bool>({false, true, true, false, false, true}));
    FreeMesh(square);
}

// An empty "imgui.ini" (a write cut short) is read safely (the sanitized build
// catches a read past its end), and the file is written again at exit.
TEST(DebugUiSettingsTest, AnEmptyFileIsReadSafelyAndWrittenAgainAtExit) {
    const std::filesystem::path before = std::filesystem::current_path();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "morrow-debug-ui";
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    std::ofstream("imgui.ini").close();
    StartTestEngine(false);
    StartGame(GS_SPLASH);
    RunFrames(2);
    StopTestEngine();
    std::ifstream written("imgui.ini");
    const std::string text{std::istreambuf_iterator<char>(written), {}};
    EXPECT_NE(text.find("[Window][Debug##Default]"), std::string::npos) << text;
    std::filesystem::current_path(before);
    std::filesystem::remove_all(folder);
}

} // namespace
