// The keys that work on every screen (screen keys, the last one winning; Ctrl+Alt+F4;
// O and P) and the window modes behind O and P. Space on each real screen is
// played in the campaign test.
#include <gtest/gtest.h>

#include "app/game_state.h"
#include "app/global_keys.h"
#include "app/input.h"
#include "app/settings.h"
#include "app/window.h"
#include "engine/graphics/device.h"
#include "engine/platform/platform.h"
#include "harness/harness.h"

namespace {

int32_t requested = 0; // nextState as HandleGlobalInput left it in the last frame

// A screen that runs the global keys and then stays where it is.
void KeysUpdate() {
    HandleGlobalInput();
    requested = nextState;
    nextState = currentState;
}

class GlobalKeysTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartTestEngine();
        ClearStates();
        for (int32_t id : {+GS_LEVEL1, +GS_LOSE, +GS_WIN, +GS_HOW_TO_PLAY, +GS_HOUSE_SELECT, 20})
            AddGameState(id, nullptr, nullptr, KeysUpdate, nullptr, nullptr, nullptr);
        Enter(20);
    }
    void TearDown() override { StopTestEngine(); }

    void Enter(int32_t id) {
        EnterFirstState(id);
        StepGameStateManager();
    }
    // Presses the keys together for one frame and returns the state requested.
    int32_t Press(const std::vector<int>& keys) {
        for (int key : keys)
            KeyDown(key);
        StepGameStateManager();
        int32_t result = requested;
        for (int key : keys)
            KeyUp(key);
        StepGameStateManager();
        return result;
    }
};

TEST_F(GlobalKeysTest, ScreenKeysRequestTheirStateTheLastOneWinning) {
    const std::pair<std::vector<int>, int32_t> presses[] = {
        {{'S'}, GS_LEVEL2},
        {{'Q'}, GS_QUIT},
        {{'R'}, GS_RESTART},
        {{'M'}, GS_MAIN_MENU},
        {{'K'}, 20}, // not a global key
        {{'M', 'S'}, GS_MAIN_MENU},
        {{'R', 'Q'}, GS_RESTART},
        {{VK_ALT, VK_F4}, 20},
        {{VK_CONTROL, VK_ALT, VK_F4}, GS_QUIT},
    };
    for (const auto& [keys, state] : presses)
        EXPECT_EQ(Press(keys), state) << "first key " << keys[0];
    // Ctrl+Alt+F4 also works while held, not only when pressed.
    KeyDown(VK_CONTROL);
    KeyDown(VK_ALT);
    StepGameStateManager();
    StepGameStateManager();
    KeyDown(VK_F4);
    StepGameStateManager();
    StepGameStateManager(); // all three held now
    EXPECT_EQ(requested, GS_QUIT);
}

// P: full screen at the display's size; O: the 1280 by 720 window back where it was.
TEST_F(GlobalKeysTest, OWindowsPFullScreenAndBothTogetherEndFullScreen) {
    int left = 0, top = 0, x = -1, y = -1, w = 0, h = 0;
    PlatformGetWindowPosition(&left, &top);
    Press({'P'});
    Press({'P'}); // a second entry must not overwrite the saved placement
    EXPECT_TRUE(isFullscreen && fullscreenChosen);
    PlatformGetScreenSize(&w, &h);
    EXPECT_EQ(std::make_pair(windowWidth, windowHeight), std::make_pair(w, h));
    EXPECT_FLOAT_EQ(worldMaxX, w / 2.0f);
    Press({'O'});
    EXPECT_FALSE(isFullscreen || fullscreenChosen);
    EXPECT_EQ(std::make_pair(windowWidth, windowHeight), std::make_pair(1280, 720));
    PlatformGetWindowPosition(&x, &y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(left, top));
    Press({'O', 'P'});
    EXPECT_TRUE(isFullscreen && fullscreenChosen);
}

} // namespace
