// Input as a player produces it: key and button transitions through the
// window events (2, 1, 1, 0; auto-repeat; Alt in slot 10; the wheel's last
// value wins), the cursor's world position at the client corners, and the
// gamepads' dead-zone arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/game_state.h"
#include "app/input.h"
#include "app/window.h"
#include "engine/platform/platform.h"
#include "harness/harness.h"

namespace {

class InputTest : public ::testing::Test {
  protected:
    void SetUp() override { StartTestEngine(); }
    void TearDown() override { StopTestEngine(); }
};

TEST_F(InputTest, HeldKeyReadsTriggeredThenHeldThenUp) {
    KeyDown('K');
    std::vector<int> seen;
    for (int i = 0; i < 3; i++) {
        RunFrames(1);
        seen.push_back(keyState['K']);
    }
    KeyUp('K');
    RunFrames(1);
    seen.push_back(keyState['K']);
    EXPECT_EQ(seen, (std::vector<int>{2, 1, 1, 0}));
}

TEST_F(InputTest, AutoRepeatDoesNotTriggerAgain) {
    KeyDown(VK_SPACE);
    RunFrames(1);
    EXPECT_EQ(keyState[VK_SPACE], 2);
    PlatformPushKey(VK_SPACE, true, true); // the system's auto-repeat
    RunFrames(1);
    EXPECT_EQ(keyState[VK_SPACE], 1);
    PlatformPushKey(VK_SPACE, true, true);
    RunFrames(1);
    EXPECT_EQ(keyState[VK_SPACE], 1);
}

TEST_F(InputTest, KeyDownAndUpBetweenTwoFramesIsNeverSeen) {
    KeyDown('M');
    KeyUp('M');
    RunFrames(1);
    EXPECT_EQ(keyState['M'], 0);
}

TEST_F(InputTest, AltIsKeptInSlotTen) {
    KeyDown(VK_ALT);
    RunFrames(1);
    EXPECT_EQ(keyState[VK_ALT_SLOT], 2);
    EXPECT_EQ(keyState[VK_ALT], 0);
}

TEST_F(InputTest, EnterEscapeDeleteControlAndF4UseTheirCodes) {
    for (int key : {VK_RETURN, VK_ESCAPE, VK_DELETE, VK_CONTROL, VK_F4}) KeyDown(key);
    RunFrames(1);
    EXPECT_EQ(keyState[13], 2);
    EXPECT_EQ(keyState[27], 2);
    EXPECT_EQ(keyState[46], 2);
    EXPECT_EQ(keyState[17], 2);
    EXPECT_EQ(keyState[115], 2);
}

TEST_F(InputTest, MouseButtonsFollowTheSameRule) {
    MouseDown(MOUSE_RIGHT);
    RunFrames(1);
    EXPECT_EQ(mouseButtonState[MOUSE_RIGHT], 2);
    RunFrames(1);
    EXPECT_EQ(mouseButtonState[MOUSE_RIGHT], 1);
    MouseUp(MOUSE_RIGHT);
    RunFrames(1);
    EXPECT_EQ(mouseButtonState[MOUSE_RIGHT], 0);
    EXPECT_EQ(mouseButtonState[MOUSE_LEFT], 0);
}

TEST_F(InputTest, WheelKeepsOnlyTheLastValueOfAFrame) {
    PlatformPushWheel(3);
    PlatformPushWheel(-1);
    RunFrames(1);
    EXPECT_FLOAT_EQ(mouseWheelDelta, -1.0f);
    RunFrames(1);
    EXPECT_FLOAT_EQ(mouseWheelDelta, 0.0f);
}

TEST_F(InputTest, CursorAtClientCornersMapsToWorldCorners) {
    MoveCursorToClient(0, 0);
    RunFrames(1);
    EXPECT_FLOAT_EQ(cursorWorldX, -windowWidth / 2.0f);
    EXPECT_FLOAT_EQ(cursorWorldY, windowHeight / 2.0f);
    EXPECT_TRUE(cursorInWindow);
    MoveCursorToClient(windowWidth - 1, windowHeight - 1); // the last pixel of the client
    RunFrames(1);
    EXPECT_FLOAT_EQ(cursorWorldX, windowWidth / 2.0f - 1);
    EXPECT_FLOAT_EQ(cursorWorldY, 1 - windowHeight / 2.0f);
    EXPECT_FLOAT_EQ(cursorDeltaX, windowWidth - 1.0f);
    EXPECT_TRUE(cursorInWindow);
}

// A pad record with the given raw stick and trigger values, dead zones applied.
Gamepad PadWith(int16_t leftX, int16_t leftY, int16_t rightX, uint8_t trigger) {
    Gamepad pad = {};
    pad.connected = true;
    pad.rawLeftX = leftX;
    pad.rawLeftY = leftY;
    pad.rawRightX = rightX;
    pad.rawLeftTrigger = trigger;
    pad.rawRightTrigger = trigger;
    ApplyGamepadDeadZones(&pad);
    return pad;
}

TEST(GamepadDeadZone, FullDeflectionGivesLengthOne) {
    Gamepad pad = PadWith(32767, 0, -32768, 255);
    EXPECT_FLOAT_EQ(pad.leftX, 1.0f);
    EXPECT_FLOAT_EQ(pad.leftY, 0.0f);
    EXPECT_FLOAT_EQ(pad.rightX, -1.0f); // clamped to 32767 before scaling
    EXPECT_FLOAT_EQ(pad.leftTrigger, 1.0f);
    Gamepad diagonal = PadWith(30000, 30000, 0, 0);
    EXPECT_NEAR(std::hypot(diagonal.leftX, diagonal.leftY), 1.0f, 1e-5f);
}

TEST(GamepadDeadZone, InsideTheDeadZoneGivesZero) {
    Gamepad pad = PadWith(7849, 0, 8689, 29);
    EXPECT_FLOAT_EQ(pad.leftX, 0.0f);
    EXPECT_FLOAT_EQ(pad.rightX, 0.0f);
    EXPECT_FLOAT_EQ(pad.leftTrigger, 0.0f);
    Gamepad justOut = PadWith(7850, 0, 0, 30);
    EXPECT_GT(justOut.leftX, 0.0f);
    EXPECT_FLOAT_EQ(justOut.leftTrigger, 0.0f); // 30 is the threshold itself
    Gamepad still = PadWith(0, 0, 0, 0);
    EXPECT_FLOAT_EQ(still.leftX, 0.0f);
    EXPECT_FALSE(std::isnan(still.leftY));
}

} // namespace
