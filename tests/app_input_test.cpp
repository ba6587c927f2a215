// Input as a player produces it, through the window events: key and button
// transitions, auto-repeat, the wheel (the cursor's mapping is engine_draw_scale_test's).
#include <gtest/gtest.h>

#include <vector>

#include "app/input.h"
#include "engine/platform/platform.h"
#include "harness/harness.h"

namespace {

class InputTest : public ::testing::Test {
  protected:
    void SetUp() override { StartTestEngine(); }
    void TearDown() override { StopTestEngine(); }
};

TEST_F(InputTest, AHeldKeyReadsTwoOneOneZeroAndAutoRepeatDoesNotTriggerAgain) {
    KeyDown('K');
    std::vector<int> seen;
    for (int frame = 0; frame < 4; frame++) {
        if (frame == 1 || frame == 2) PlatformPushKey('K', true, true); // the system's auto-repeat
        if (frame == 3) KeyUp('K');
        RunFrames(1);
        seen.push_back(keyState['K']);
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 1, 1, 0}));
    KeyDown('M'); // down and up between two frames is never seen
    KeyUp('M');
    RunFrames(1);
    EXPECT_EQ(keyState['M'], 0);
}

TEST_F(InputTest, KeysUseTheirCodesAltSlotTenButtonsTheSameRuleAndTheWheelLastWins) {
    for (int key : {VK_RETURN, VK_ESCAPE, VK_DELETE, VK_CONTROL, VK_F4, VK_ALT})
        KeyDown(key);
    MouseDown(MOUSE_RIGHT);
    PlatformPushWheel(3);
    PlatformPushWheel(-1);
    RunFrames(1);
    for (int code : {13, 27, 46, 17, 115, 10})
        EXPECT_EQ(keyState[code], 2) << code;
    EXPECT_EQ(keyState[VK_ALT], 0); // Alt is kept in slot 10 only
    EXPECT_FLOAT_EQ(mouseWheelDelta, -1.0f);
    std::vector<int> right = {mouseButtonState[MOUSE_RIGHT]};
    RunFrames(1);
    right.push_back(mouseButtonState[MOUSE_RIGHT]);
    EXPECT_FLOAT_EQ(mouseWheelDelta, 0.0f);
    MouseUp(MOUSE_RIGHT);
    RunFrames(1);
    right.push_back(mouseButtonState[MOUSE_RIGHT]);
    EXPECT_EQ(right, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(mouseButtonState[MOUSE_LEFT], 0);
}

} // namespace
