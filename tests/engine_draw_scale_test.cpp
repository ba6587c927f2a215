// One scale for drawing and clicking: a button made as the screens make them is hit
// at its drawn pixels and missed just outside, in windows of several shapes and in
// full screen at the display's size (ctest runs */FullScreen on 1366x768 and 2560x1440 too).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/game_state.h"
#include "app/input.h"
#include "app/window.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"
#include "engine/platform/platform.h"
#include "harness/harness.h"
#include "objects/game_object.h"

namespace {

GameObject* button = nullptr;
bool clicked = false;
const float BUTTON_X = 300, BUTTON_Y = -200, BUTTON_W = 120, BUTTON_H = 60;

// A screen with one green button, testing clicks the way every screen does.
// The scale is updated twice: the second call must change nothing.
void ButtonUpdate() {
    UpdateDrawScale();
    UpdateDrawScale();
    if (mouseButtonState[MOUSE_LEFT] == 2 && IsCursorOver(button)) clicked = true;
}

// A window size, or {0, 0} for full screen.
struct Client {
    int width, height;
};

class DrawScaleTest : public ::testing::TestWithParam<Client> {
  protected:
    Texture* green = nullptr;

    void SetUp() override {
        StartTestEngine(GetParam().width == 0);
        if (GetParam().width) SetWindowResolution(GetParam().width, GetParam().height);
        squareMesh = CreateSquareMesh(0xFFFFFFFF);
        const unsigned char pixel[4] = {0, 255, 0, 255};
        green = CreateTexture(1, 1, pixel);
        ClearStates();
        AddGameState(1, nullptr, nullptr, ButtonUpdate, DrawAllObjects, FreeAllObjects, nullptr);
        EnterFirstState(1);
        StepGameStateManager();
        button = AddObject(new GameObject(), "Button", BUTTON_X, BUTTON_Y, BUTTON_W, BUTTON_H, PI_F,
                           squareMesh, green);
        clicked = false;
    }
    void TearDown() override {
        FreeAllObjects();
        UnloadTexture(green);
        FreeMesh(squareMesh);
        squareMesh = nullptr;
        StopTestEngine();
    }

    // Clicks a client pixel; true when the button saw the click.
    bool ClickClient(int x, int y) {
        clicked = false;
        MoveCursorToClient(x, y);
        MouseDown();
        RunFrames(1);
        MouseUp();
        RunFrames(1);
        return clicked;
    }
};

TEST_P(DrawScaleTest, ClicksLandWhereTheButtonIsDrawn) {
    Screenshot shot = CaptureFrame();
    const int w = shot.width, h = shot.height;
    int sw = GetParam().width, sh = GetParam().height; // or in full screen the whole display
    if (!sw) PlatformGetScreenSize(&sw, &sh);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(sw, sh));
    // Width decides on a 4:3 window, height on a 21:9 one.
    const float scale = std::fmin(w / 1280.0f, h / 720.0f);
    EXPECT_FLOAT_EQ(drawScale, scale);
    // Find the drawn button: its green pixels.
    int left = w, right = -1, top = h, bottom = -1;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            if (shot.At(x, y) == 0xFF00FF00)
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y),
                bottom = std::max(bottom, y);
    ASSERT_GE(right, 0) << "button not drawn at " << w << "x" << h;
    const int column = (left + right) / 2, row = (top + bottom) / 2;
    EXPECT_NEAR(column, w / 2.0f + BUTTON_X * scale, 2.0);
    EXPECT_NEAR(row, h / 2.0f - BUTTON_Y * scale, 2.0);
    EXPECT_NEAR(right - left + 1, BUTTON_W * scale, 2.0);
    EXPECT_NEAR(bottom - top + 1, BUTTON_H * scale, 2.0);

    EXPECT_TRUE(ClickClient(column, row)) << "centre";
    EXPECT_TRUE(ClickClient(left + 1, top + 1)) << "inside the top-left corner";
    EXPECT_TRUE(ClickClient(right - 1, bottom - 1)) << "inside the bottom-right corner";
    EXPECT_FALSE(ClickClient(left - 3, row)) << "left of the button";
    EXPECT_FALSE(ClickClient(column, bottom + 3)) << "below the button";
}

INSTANTIATE_TEST_SUITE_P(WindowAndFullScreen, DrawScaleTest,
                         ::testing::Values(Client{1280, 720}, Client{1024, 768}, Client{1680, 720},
                                           Client{0, 0}),
                         [](const auto& info) {
                             const Client& c = info.param;
                             return c.width ? "Window" + std::to_string(c.width) + "x" +
                                                  std::to_string(c.height)
                                            : std::string("FullScreen");
                         });

} // namespace
