// Polled input: turns the raw key and button states written by the event pump
// into up (0), triggered (2) and held (1) once per frame, computes the cursor
// in world coordinates and the wheel, and polls up to four gamepads with their
// dead zones. Depends on the platform layer, the window size and frame time.
#include "app/input.h"

#include <cmath>
#include <cstring>

#include "app/game_state.h"
#include "app/window.h"
#include "engine/platform/platform.h"
#include "objects/game_object.h"

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

uint8_t keyState[256];
uint8_t keyPrevState[256];
uint8_t mouseButtonState[3];
uint8_t mouseButtonPrevState[3];
float cursorWorldX = 0, cursorWorldY = 0;
float cursorDeltaX = 0, cursorDeltaY = 0;
bool cursorInWindow = false;
float mouseWheelDelta = 0;
float rawMouseWheel = 0;
Gamepad gamepads[4];
Gamepad gamepadsPrev[4];

static float lastCursorWorldX = 0, lastCursorWorldY = 0;
static double gamepadPollTimer = 0;

// XInput's recommended dead zones, in raw units.
static const float LEFT_STICK_DEAD_ZONE = 7849;
static const float RIGHT_STICK_DEAD_ZONE = 8689;
static const int TRIGGER_THRESHOLD = 30;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Raw state (0 up, anything else down) to 0, 2 or 1 against the previous state.
static void StepButtons(uint8_t* state, uint8_t* prev, int count) {
    for (int i = 0; i < count; i++) {
        if (state[i] != 0) state[i] = prev[i] != 0 ? 1 : 2;
        prev[i] = state[i];
    }
}

// One stick through its dead zone into -1..1.
static void ApplyStickDeadZone(int16_t rawX, int16_t rawY, float deadZone, float* outX,
                               float* outY) {
    float x = rawX, y = rawY;
    float m = std::sqrt(x * x + y * y);
    float dirX = 0, dirY = 0;
    if (!(m > -0.00001f && m < 0.00001f)) {
        dirX = x / m;
        dirY = y / m;
    }
    float amount = m > deadZone ? (std::fmin(m, 32767.0f) - deadZone) / (32767.0f - deadZone) : 0;
    *outX = dirX * amount;
    *outY = dirY * amount;
}

// One trigger through its threshold into 0..1.
static float ApplyTriggerThreshold(uint8_t raw) {
    return raw >= TRIGGER_THRESHOLD ? (raw - TRIGGER_THRESHOLD) / 225.0f : 0.0f;
}

// Stores a pad's raw reading.
static void StoreGamepad(Gamepad* pad, const GamepadRaw& raw) {
    pad->connected = true;
    pad->buttons = raw.buttons;
    pad->rawLeftTrigger = raw.leftTrigger;
    pad->rawRightTrigger = raw.rightTrigger;
    pad->rawLeftX = raw.leftX;
    pad->rawLeftY = raw.leftY;
    pad->rawRightX = raw.rightX;
    pad->rawRightY = raw.rightY;
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Clears every key and button state and its previous value.
void ClearInput() {
    memset(keyState, 0, sizeof keyState);
    memset(keyPrevState, 0, sizeof keyPrevState);
    memset(mouseButtonState, 0, sizeof mouseButtonState);
    memset(mouseButtonPrevState, 0, sizeof mouseButtonPrevState);
    rawMouseWheel = 0;
    mouseWheelDelta = 0;
}

// The key went down in this frame.
bool IsKeyPressed(int key) {
    return key >= 0 && key < 256 && keyState[key] == 2;
}

// The key is down, newly or held.
bool IsKeyHeld(int key) {
    return key >= 0 && key < 256 && keyState[key] > 0;
}

// The mouse button went down in this frame.
bool IsButtonPressed(int button) {
    return button >= 0 && button < 3 && mouseButtonState[button] == 2;
}

// Once per frame after the event pump.
void UpdateInput() {
    int cx = 0, cy = 0;
    PlatformGetCursorClientPos(&cx, &cy);
    cursorInWindow = cx >= 0 && cx <= windowWidth && cy >= 0 && cy <= windowHeight;
    mouseWheelDelta = rawMouseWheel;
    rawMouseWheel = 0;
    cursorWorldX = cx - windowWidth / 2.0f;
    cursorWorldY = windowHeight / 2.0f - cy;
    cursorInDesignUnits = false; // the screens' UpdateDrawScale converts it again
    cursorDeltaX = cursorWorldX - lastCursorWorldX;
    cursorDeltaY = cursorWorldY - lastCursorWorldY;
    lastCursorWorldX = cursorWorldX;
    lastCursorWorldY = cursorWorldY;
    StepButtons(keyState, keyPrevState, 256);
    StepButtons(mouseButtonState, mouseButtonPrevState, 3);
    UpdateGamepads();
}

// Stops vibration, clears the pad records and polls all four pads.
void ResetGamepads() {
    for (int i = 0; i < 4; i++) {
        if (!gamepads[i].connected) continue;
        gamepads[i].leftVibration = gamepads[i].rightVibration = 0;
        PlatformSetGamepadVibration(i, 0, 0);
    }
    memset(gamepads, 0, sizeof gamepads);
    memset(gamepadsPrev, 0, sizeof gamepadsPrev);
    PollGamepads();
    gamepadPollTimer = 0;
}

// Reads all four pad slots, marking each connected or not.
void PollGamepads() {
    for (int i = 0; i < 4; i++) {
        GamepadRaw raw = {};
        if (PlatformReadGamepad(i, &raw))
            StoreGamepad(&gamepads[i], raw);
        else
            gamepads[i].connected = false;
    }
}

// Applies the stick and trigger dead zones to a pad's raw values.
void ApplyGamepadDeadZones(Gamepad* pad) {
    ApplyStickDeadZone(pad->rawLeftX, pad->rawLeftY, LEFT_STICK_DEAD_ZONE, &pad->leftX,
                       &pad->leftY);
    ApplyStickDeadZone(pad->rawRightX, pad->rawRightY, RIGHT_STICK_DEAD_ZONE, &pad->rightX,
                       &pad->rightY);
    pad->leftTrigger = ApplyTriggerThreshold(pad->rawLeftTrigger);
    pad->rightTrigger = ApplyTriggerThreshold(pad->rawRightTrigger);
}

// Keeps the previous records, re-polls every 2 s (finding new pads), reads connected ones.
void UpdateGamepads() {
    memcpy(gamepadsPrev, gamepads, sizeof gamepads);
    gamepadPollTimer += frameTime;
    if (gamepadPollTimer >= 2.0) {
        PollGamepads();
        gamepadPollTimer -= 2.0;
    } else {
        for (int i = 0; i < 4; i++) {
            if (!gamepads[i].connected) continue;
            GamepadRaw raw = {};
            if (PlatformReadGamepad(i, &raw))
                StoreGamepad(&gamepads[i], raw);
            else
                gamepads[i].connected = false;
        }
    }
    for (Gamepad& pad : gamepads)
        if (pad.connected) ApplyGamepadDeadZones(&pad);
}
