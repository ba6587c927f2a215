// The graphics device: matrices, the world-to-pixel mapping, blending and painter's
// order, tint and texture, the per-frame reset, error lines and boxes, and the
// debug interface fed from player input.
#include <imgui.h>

#include <cmath>

#include "app/game_state.h"
#include "app/input.h"
#include "engine/graphics/texture.h"
#include "engine/platform/platform.h"
#include "graphics_helpers.h"

namespace {

// Expects two matrices equal to within float rounding.
void ExpectMatrixNear(const Matrix3& actual, const Matrix3& expected) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(actual.m[r][c], expected.m[r][c], 1e-5f) << "entry " << r << "," << c;
}

// Expects a colour within `tolerance` per channel.
void ExpectColorNear(uint32_t actual, int red, int green, int blue, int tolerance = 2) {
    EXPECT_NEAR(Red(actual), red, tolerance) << std::hex << actual;
    EXPECT_NEAR(Green(actual), green, tolerance) << std::hex << actual;
    EXPECT_NEAR(Blue(actual), blue, tolerance) << std::hex << actual;
}

using DeviceTest = GraphicsTest;

TEST(MatrixTest, ConcatRotationTintRuleAndTheFourByFourLayout) {
    const Matrix3 t = Matrix3Translation(3, 4), s = Matrix3Scale(2, 5);
    const Matrix3 expected = {{{2, 0, 3}, {0, 5, 4}, {0, 0, 1}}};
    Matrix3 result, a = t, b = s;
    Matrix3Concat(result, t, s);
    ExpectMatrixNear(result, expected);
    Matrix3Concat(a, a, s); // the result aliases the left operand
    ExpectMatrixNear(a, expected);
    Matrix3Concat(b, t, b); // and the right one
    ExpectMatrixNear(b, expected);
    Matrix3Concat(result, s, t); // scale then translate is another transform
    EXPECT_FLOAT_EQ(result.m[0][2], 6.0f);
    EXPECT_FLOAT_EQ(result.m[1][2], 20.0f);
    // A quarter turn takes (1, 0) to (0, 1): counter-clockwise with y up.
    const Matrix3 r = Matrix3Rotation((float)M_PI / 2);
    EXPECT_NEAR(r.m[0][0], 0.0f, 1e-6f);
    EXPECT_NEAR(r.m[1][0], 1.0f, 1e-6f);
    SetTransform(Matrix3{{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}});
    const float layout[4][4] = {{1, 2, 0, 3}, {4, 5, 0, 6}, {7, 8, 1, 0}, {0, 0, 0, 1}};
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(modelTransform[i / 4][i % 4], layout[i / 4][i % 4]) << i;
    SetTintColor(0x80FF0000);
    EXPECT_EQ(tintColor, 0x80FF0000u);
    SetTintColor(0xFFFFFFFF); // opaque white is stored as FFFFFFFE
    EXPECT_EQ(tintColor, 0xFFFFFFFEu);
}

TEST_F(DeviceTest, WorldUnitsAreClientPixelsAroundTheCentreAfterAResizeToo) {
    EXPECT_EQ(std::vector<float>({worldMinX, worldMaxX, worldMinY, worldMaxY}),
              std::vector<float>({-640, 640, -360, 360}));
    Mesh* red = CreateSquareMesh(0xFFFF0000);
    BeginTestDrawing();
    DrawMeshAt(red, 300, -200, 20, 20);
    // World (300, -200) is client pixel (940, 560): right of centre, below it.
    ExpectColorNear(ReadClientPixel(940, 560), 255, 0, 0);
    ExpectColorNear(ReadClientPixel(928, 560), 0, 0, 0); // just left of the square
    ExpectColorNear(ReadClientPixel(340, 560), 0, 0, 0); // mirrored in x: empty
    ExpectColorNear(ReadClientPixel(940, 160), 0, 0, 0); // mirrored in y: empty
    PlatformSetClientSize(800, 600);
    PlatformPumpEvents();
    int width = 0, height = 0;
    PlatformGetClientSize(&width, &height);
    ASSERT_TRUE(width == 800 && height == 600) << width << "x" << height;
    BeginTestDrawing();
    EXPECT_FLOAT_EQ(worldMaxX, 400.0f);
    EXPECT_FLOAT_EQ(worldMaxY, 300.0f);
    DrawMeshAt(red, 200, 150, 10, 10); // half-way to the right edge and to the top
    ExpectColorNear(ReadClientPixel(600, 150), 255, 0, 0);
    FreeMesh(red);
    PlatformSetClientSize(1280, 720);
    PlatformPumpEvents();
    BeginTestDrawing();
    EXPECT_FLOAT_EQ(worldMaxX, 640.0f);
}

TEST_F(DeviceTest, HalfOpaqueBlendsOverWhatIsBelowAndLaterDrawsCoverEarlierOnes) {
    Mesh* white = CreateSquareMesh(0xFFFFFFFF);
    Mesh* halfRed = CreateSquareMesh(0x80FF0000);
    Mesh* blue = CreateSquareMesh(0xFF0000FF);
    Mesh* red = CreateSquareMesh(0xFFFF0000);
    BeginTestDrawing();
    DrawMeshAt(white, 100, 0, 100, 100);
    DrawMeshAt(halfRed, 100, 0, 100, 100);  // over white
    DrawMeshAt(halfRed, -100, 0, 100, 100); // over the black clear
    ExpectColorNear(ReadWorldPixel(100, 0), 255, 127, 127);
    ExpectColorNear(ReadWorldPixel(-100, 0), 128, 0, 0);
    BeginTestDrawing();
    DrawMeshAt(red, 0, 0, 50, 50);
    DrawMeshAt(blue, 10, 0, 50, 50);
    DrawMeshAt(red, 20, 0, 50, 50);
    ExpectColorNear(ReadWorldPixel(-20, 0), 255, 0, 0); // only the first red
    ExpectColorNear(ReadWorldPixel(-12, 0), 0, 0, 255); // blue over the first red
    ExpectColorNear(ReadWorldPixel(5, 0), 255, 0, 0);   // the last red over blue
    for (Mesh* mesh : {white, halfRed, blue, red})
        FreeMesh(mesh);
}

TEST_F(DeviceTest, TintModulatesAndATextureReplacesTheVertexColour) {
    Mesh* white = CreateSquareMesh(0xFFFFFFFF);
    const uint8_t greenPixel[4] = {0, 255, 0, 255};
    Texture* green = CreateTexture(1, 1, greenPixel);
    BeginTestDrawing();
    useTint = true;
    SetTintColor(0xFF0000FF);
    DrawMeshAt(white, -100, 0, 40, 40); // white × blue tint
    useTint = false;
    BindTexture(green);
    DrawMeshAt(white, 100, 0, 40, 40); // the texture, not the white vertices
    useTint = true;
    SetTintColor(0xFF808080);
    DrawMeshAt(white, 0, 100, 40, 40); // green texel × grey tint
    ExpectColorNear(ReadWorldPixel(-100, 0), 0, 0, 255);
    ExpectColorNear(ReadWorldPixel(100, 0), 0, 255, 0);
    ExpectColorNear(ReadWorldPixel(0, 100), 0, 128, 0);
    BindTexture(nullptr);
    useTint = false;
    UnloadTexture(green);
    FreeMesh(white);
}

TEST_F(DeviceTest, FrameStartResetsTheRenderGlobals) {
    const uint8_t pixel[4] = {1, 2, 3, 4};
    Texture* texture = CreateTexture(1, 1, pixel);
    SetTransform(Matrix3Translation(5, 6));
    textureTransform = Matrix3Scale(2, 2);
    useTint = true;
    SetTintColor(0xFF123456);
    BindTexture(texture);
    MeshStart();
    MeshAddTriangle(0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0);
    ResetRenderState();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_FLOAT_EQ(modelTransform[r][c], r == c ? 1.0f : 0.0f);
    ExpectMatrixNear(textureTransform, Matrix3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}});
    EXPECT_FALSE(useTint);
    EXPECT_EQ(tintColor, 0xFF123456u); // the colour stays; only its use is switched off
    EXPECT_EQ(boundTexture, nullptr);
    GLint glBound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &glBound);
    EXPECT_EQ(glBound, 0);
    EXPECT_EQ(MeshBuilderTriangleCount(), 0u);
    EXPECT_FALSE(MeshBuilderIsBuilding());
    UnloadTexture(texture);
}

TEST_F(DeviceTest, OpenGLErrorsArePrintedWithTheCheckingLine) {
    while (glGetError() != GL_NO_ERROR) {
    }
    testing::internal::CaptureStdout();
    glEnable(0x1234);
    const int line = __LINE__ + 1;
    CheckGLError();
    glViewport(0, 0, -1, -1);
    CheckGLError();
    CheckGLError(); // nothing pending: nothing printed
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string expected =
        "GL_INVALID_ENUM - graphics_device_test.cpp:" + std::to_string(line) + "\n" +
        "GL_INVALID_VALUE - graphics_device_test.cpp:" + std::to_string(line + 2) + "\n";
    EXPECT_EQ(out, expected);
    SetViewportToClient();
}

TEST_F(DeviceTest, AMissingVersionAndShaderErrorsAreShownInBoxesAndTheGameGoesOn) {
    const int boxes = PlatformMessageBoxCount();
    EXPECT_TRUE(RequireOpenGLVersion(3, 3));
    EXPECT_EQ(PlatformMessageBoxCount(), boxes);
    std::string err = CaptureStderrOf([] { EXPECT_FALSE(RequireOpenGLVersion(9, 7)); });
    EXPECT_EQ(PlatformMessageBoxCount(), boxes + 1);
    EXPECT_NE(err.find("OpenGL 9.7 Not Supported"), std::string::npos) << err;
    EXPECT_NE(err.find("OpenGL 9.7 is not supported! Please download latest GPU drivers!"),
              std::string::npos)
        << err;

    const char* vertex = "#version 330\nlayout(location = 0) in vec3 p;\n"
                         "void main() { gl_Position = vec4(p, 1.0); }\n";
    const char* fragment = "#version 330\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n";
    const char* broken = "#version 330\nvoid main() { this is not GLSL }\n";
    const GLuint good = BuildShaderProgram(vertex, fragment);
    EXPECT_NE(good, 0u);
    EXPECT_EQ(PlatformMessageBoxCount(), boxes + 1);
    GLuint bad = 0;
    err = CaptureStderrOf([&] { bad = BuildShaderProgram(vertex, broken); });
    // The stage's log (under the one caption both stages share), then the link's.
    EXPECT_EQ(PlatformMessageBoxCount(), boxes + 3);
    EXPECT_NE(err.find("Vertex Shader Compilation Error"), std::string::npos) << err;
    EXPECT_NE(err.find("Shader Linking Error"), std::string::npos) << err;
    EXPECT_NE(bad, 0u); // a program name all the same
    glDeleteProgram(good);
    glDeleteProgram(bad);
    GLint linked = GL_FALSE; // the engine's own program is intact
    glGetProgramiv(GetShaderProgram(), GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
}

Mesh* stateSquare = nullptr;

// Draw callback of a state that shows one red square at world (-320, 180).
void DrawRedSquareState() {
    DrawMeshAt(stateSquare, -320, 180, 64, 64);
}

TEST_F(DeviceTest, AnEmptyFrameIsBlackAndAStateDrawsThroughTheFrameLoop) {
    // No state: the debug interface submits no window, so every pixel is the clear colour.
    ClearStates();
    Screenshot shot = CaptureFrame();
    ASSERT_EQ(shot.width, 1280);
    ASSERT_EQ(shot.height, 720);
    int lit = 0;
    for (size_t i = 0; i < shot.rgba.size(); i += 4)
        lit += (shot.rgba[i] | shot.rgba[i + 1] | shot.rgba[i + 2]) != 0;
    EXPECT_EQ(lit, 0);
    stateSquare = CreateSquareMesh(0xFFFF0000);
    AddGameState(90, nullptr, nullptr, nullptr, DrawRedSquareState, nullptr, nullptr);
    EnterFirstState(90);
    shot = CaptureFrame();
    EXPECT_EQ(shot.At(320, 180) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shot.At(960, 540) & 0xFFFFFF, 0x000000u);
    ClearStates();
    FreeMesh(stateSquare);
}

TEST_F(DeviceTest, DebugInterfaceSeesThePlayersKeysButtonsAndCursor) {
    ClearStates();
    ImGuiIO& io = ImGui::GetIO();
    KeyDown(VK_TAB);
    KeyDown(VK_CONTROL);
    MoveCursorToClient(100, 50);
    MouseDown(0);
    // The debug frame starts before its frame's events are pumped: seen one frame later.
    RunFrames(2);
    EXPECT_TRUE(ImGui::IsKeyDown(ImGui::GetKeyIndex(ImGuiKey_Tab)));
    EXPECT_TRUE(io.KeyCtrl);
    EXPECT_FALSE(io.KeyShift);
    EXPECT_TRUE(io.MouseDown[0]);
    EXPECT_FLOAT_EQ(io.MousePos.x, 100.0f);
    EXPECT_FLOAT_EQ(io.MousePos.y, 50.0f);
    EXPECT_FLOAT_EQ(io.DisplaySize.x, 1280.0f);
    EXPECT_FLOAT_EQ(io.DisplaySize.y, 720.0f);
    EXPECT_NEAR(io.DeltaTime, 1.0f / 60.0f, 1e-6f);
    KeyUp(VK_TAB);
    KeyUp(VK_CONTROL);
    MouseUp(0);
    RunFrames(2);
    EXPECT_FALSE(ImGui::IsKeyDown(ImGui::GetKeyIndex(ImGuiKey_Tab)));
    EXPECT_FALSE(io.KeyCtrl);
    EXPECT_FALSE(io.MouseDown[0]);
}

} // namespace
