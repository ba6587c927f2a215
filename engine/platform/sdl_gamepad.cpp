// Platform layer, gamepad part: up to four pads through SDL's game controller
// interface, reported with XInput's button bits and value ranges so the
// engine's dead-zone arithmetic applies unchanged. Depends on SDL2.
#include "engine/platform/platform.h"

#include <SDL2/SDL.h>

#include <cstdio>

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

static SDL_GameController* pads[4] = {};
static int gamepadSystemState = 0; // 0 not tried, 1 running, -1 unavailable

// XInput button bits for SDL's buttons, in SDL's button order.
static const uint16_t BUTTON_BITS[][2] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, 0x0001},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, 0x0002},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0x0004},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0x0008},
    {SDL_CONTROLLER_BUTTON_START, 0x0010},
    {SDL_CONTROLLER_BUTTON_BACK, 0x0020},
    {SDL_CONTROLLER_BUTTON_LEFTSTICK, 0x0040},
    {SDL_CONTROLLER_BUTTON_RIGHTSTICK, 0x0080},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0x0100},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 0x0200},
    {SDL_CONTROLLER_BUTTON_A, 0x1000},
    {SDL_CONTROLLER_BUTTON_B, 0x2000},
    {SDL_CONTROLLER_BUTTON_X, 0x4000},
    {SDL_CONTROLLER_BUTTON_Y, 0x8000},
};

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Starts SDL's controller subsystem once; warns when the platform has none.
static bool StartGamepads() {
    if (gamepadSystemState != 0) return gamepadSystemState > 0;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        fprintf(stderr, "Warning: gamepads unavailable: %s\n", SDL_GetError());
        gamepadSystemState = -1;
        return false;
    }
    gamepadSystemState = 1;
    return true;
}

// Opens the controller for pad slot `index` if one is plugged in.
static SDL_GameController* OpenPad(int index) {
    if (pads[index] && SDL_GameControllerGetAttached(pads[index])) return pads[index];
    if (pads[index]) SDL_GameControllerClose(pads[index]);
    pads[index] = nullptr;
    int seen = 0;
    for (int i = 0; i < SDL_NumJoysticks(); i++) {
        if (!SDL_IsGameController(i)) continue;
        if (seen++ == index) {
            pads[index] = SDL_GameControllerOpen(i);
            break;
        }
    }
    return pads[index];
}

// SDL's stick axis (down positive) as XInput's (up positive).
static int16_t FlipAxis(int16_t value) {
    return value == -32768 ? 32767 : (int16_t)-value;
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Reads pad `index`; false when none is there.
bool PlatformReadGamepad(int index, GamepadRaw* out) {
    if (index < 0 || index > 3 || !out || !StartGamepads()) return false;
    SDL_GameControllerUpdate();
    SDL_GameController* pad = OpenPad(index);
    if (!pad) return false;
    out->buttons = 0;
    for (const auto& bit : BUTTON_BITS)
        if (SDL_GameControllerGetButton(pad, (SDL_GameControllerButton)bit[0]))
            out->buttons |= bit[1];
    // SDL triggers run 0..32767, XInput's 0..255.
    out->leftTrigger =
        (uint8_t)(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT) * 255 / 32767);
    out->rightTrigger =
        (uint8_t)(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) * 255 / 32767);
    out->leftX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    out->leftY = FlipAxis(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
    out->rightX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX);
    out->rightY = FlipAxis(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY));
    return true;
}

// Sets a pad's rumble (the game only ever stops it).
void PlatformSetGamepadVibration(int index, float left, float right) {
    if (index < 0 || index > 3 || !pads[index]) return;
    if (SDL_GameControllerRumble(pads[index], (Uint16)(left * 65535), (Uint16)(right * 65535), 0))
        fprintf(stderr, "Warning: gamepad %d cannot vibrate\n", index);
}
