// Test harness: starts the real engine in a hidden-from-nobody window under
// Xvfb on a stepped clock (every frame lasts 1/60 s, nothing waits), feeds
// input through the platform's event queue exactly as a player's events
// arrive, runs frames through the real state manager, and reads back pixels
// and printed texts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Starts the engine (window, graphics, input, audio on the dummy driver) with
// the data folder of the build, message boxes to stderr only, and the stepped
// clock. `fullscreen` false keeps the 1280 by 720 window.
void StartTestEngine(bool fullscreen = false);
// Shuts the engine down (objects, audio, resource report) and closes the window.
void StopTestEngine();
// Registers the game's ten states and enters `firstState` (Load and Init run
// on the first RunFrames step).
void StartGame(int32_t firstState);
// Registers only the caller's states (state-manager tests).
void ClearStates();

// Runs the state manager until `count` frames have run or the game has quit.
// Returns the number of frames run. Only a captured frame's pixels are drawn:
// the software renderer's pixel work is most of a frame's cost.
int RunFrames(int count);
// Runs frames until `done()` is true or `limit` frames; returns frames run.
int RunFramesUntil(bool (*done)(), int limit);
// True once the state manager carried out GS_QUIT.
bool GameHasQuit();

void KeyDown(int virtualKey);
void KeyUp(int virtualKey);
// Key down for one frame, then up for one frame.
void TapKey(int virtualKey);
// Moves the cursor to a point in design units (1280 by 720 layout, y up).
void MoveCursorToDesign(float x, float y);
// Moves the cursor to a client pixel (origin top-left).
void MoveCursorToClient(int x, int y);
void MouseDown(int button = 0);
void MouseUp(int button = 0);
// Moves to the design point, presses for one frame, releases for one frame.
void ClickDesign(float x, float y);
void LoseFocus();
void GainFocus();
void CloseWindow();

// Reads the whole client area of the last frame drawn (RGBA, top row first).
struct Screenshot {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    // Pixel at client coordinates as 0xAARRGGBB.
    uint32_t At(int x, int y) const;
    // Pixel at a design point.
    uint32_t AtDesign(float x, float y) const;
};
// Runs `action` once, just before the next frame's buffer swap: after that
// frame's Update and Draw, before the state manager carries out a change.
void RunBeforeNextSwap(void (*action)());
// Captures the next frame drawn (runs one frame).
Screenshot CaptureFrame();

struct GameObject;
// File name of the picture an object shows ("" for none).
std::string PictureOf(const GameObject* object);
// The same for the first live object of this name.
std::string PictureOf(const char* objectName);
// Every live object of this name, in list order.
std::vector<GameObject*> ObjectsNamed(const char* name);

struct PrintedText {
    std::string text;
    uint32_t color;
    float x, y;  // world position of the text's origin
    float scale; // x scale of the model transform
};
// Runs one frame and returns every text printed during it.
std::vector<PrintedText> RecordPrintedTexts();
