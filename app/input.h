// Polled input: the raw key and button states written by the platform's event
// pump, turned once per frame into up (0), triggered this frame (2) and held
// (1); the cursor in world coordinates; the wheel; up to four gamepads.
// Depends on the window size (app/window.h) and the frame time.
#pragma once

#include <cstdint>

// Virtual-key codes the game uses (letters are their upper-case ASCII codes).
enum : int {
    VK_BACK = 8,
    VK_TAB = 9,
    VK_ALT_SLOT = 10, // Alt is kept here, never in slot 18
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_ALT = 18,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_F1 = 112,
    VK_F4 = 115,
};

enum { MOUSE_LEFT = 0, MOUSE_RIGHT = 1, MOUSE_MIDDLE = 2 };

struct Gamepad {
    bool connected;
    uint16_t buttons;
    uint8_t rawLeftTrigger, rawRightTrigger;
    int16_t rawLeftX, rawLeftY, rawRightX, rawRightY;
    float leftX, leftY, rightX, rightY; // -1..1 after the dead zone
    float leftTrigger, rightTrigger;    // 0..1
    float leftVibration, rightVibration;
};

extern uint8_t keyState[256];
extern uint8_t keyPrevState[256];
extern uint8_t mouseButtonState[3];
extern uint8_t mouseButtonPrevState[3];
extern float cursorWorldX, cursorWorldY;
extern float cursorDeltaX, cursorDeltaY;
extern bool cursorInWindow;
extern float mouseWheelDelta;
extern float rawMouseWheel; // written by the event pump, read and cleared by UpdateInput
extern Gamepad gamepads[4];
extern Gamepad gamepadsPrev[4];

// The key went down in this frame (state 2).
bool IsKeyPressed(int key);
// The key is down: pressed in this frame or held.
bool IsKeyHeld(int key);
// The mouse button went down in this frame.
bool IsButtonPressed(int button);

// Clears every key and button state and its previous value.
void ClearInput();
// Turns raw states into 0/2/1, computes the cursor and wheel, polls gamepads.
void UpdateInput();
void ResetGamepads();
void PollGamepads();
void UpdateGamepads();
// Applies the stick and trigger dead zones to a pad's raw values.
void ApplyGamepadDeadZones(Gamepad* pad);
