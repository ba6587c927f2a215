// The screen keys (the last one pressed winning) and Ctrl+Alt+F4, pressed or
// held. Space, O and P on each real screen are played in the campaign test, the
// window's placement under O and P in the window-manager test.
#include <gtest/gtest.h>

#include "app/game_state.h"
#include "app/global_keys.h"
#include "app/input.h"
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

} // namespace
