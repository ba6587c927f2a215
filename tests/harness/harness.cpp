// Test harness: the real engine on a stepped clock, input queued as window
// events, frames run through the real state manager, pixels and printed
// texts read back. Depends on the whole engine and the game's state table.
#include "harness/harness.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/game_state.h"
#include "app/input.h"
#include "app/window.h"
#include "engine/file.h"
#include "engine/graphics/font.h"
#include "engine/graphics/sprite_batch.h"
#include "engine/graphics/texture.h"
#include "engine/platform/platform.h"
#include "objects/game_object.h"

static bool gameStarted = false;
static bool gameQuit = false;
static bool captureRequested = false;
static Screenshot capturedFrame;
static std::vector<PrintedText>* printedTexts = nullptr;
static void (*beforeNextSwap)() = nullptr;

// Reads the frame just before it is shown (a held frame is drawn for it).
static void CaptureBeforeSwap() {
    if (void (*action)() = beforeNextSwap) {
        beforeNextSwap = nullptr;
        action();
    }
    if (!captureRequested) return;
    captureRequested = false;
    int w = 0, h = 0;
    PlatformGetClientSize(&w, &h);
    capturedFrame.width = w;
    capturedFrame.height = h;
    const std::vector<uint8_t> bottomUp = BatchReadPixels(w, h);
    capturedFrame.rgba.resize(bottomUp.size());
    for (int row = 0; row < h; row++)
        memcpy(&capturedFrame.rgba[(size_t)row * w * 4], &bottomUp[(size_t)(h - 1 - row) * w * 4],
               (size_t)w * 4);
}

// Records one printed text.
static void RecordText(const char* text, uint32_t color, const float model[4][4]) {
    if (!printedTexts) return;
    printedTexts->push_back({text, color, model[0][3], model[1][3],
                             std::sqrt(model[0][0] * model[0][0] + model[1][0] * model[1][0])});
}

// Design units to pixels of a w by h client area, with the scale every screen uses.
static void DesignToClient(float x, float y, int w, int h, int* cx, int* cy) {
    float scale = std::fmin(w / 1280.0f, h / 720.0f);
    *cx = (int)std::lround(w / 2.0f + x * scale);
    *cy = (int)std::lround(h / 2.0f - y * scale);
}

void StartTestEngine(bool fullscreen) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    SetGameBaseDir(MORROW_BUILD_DIR);
    PlatformSetMessageBoxesSilent(true);
    PlatformSetSyntheticInputOnly(true); // other test programs share the X display
    SetSteppedClock(true, 1.0 / 60.0);
    gameStarted = false;
    gameQuit = false;
    int failure = StartEngine(fullscreen);
    if (failure >= 0) {
        fprintf(stderr, "The engine did not start (exit code %d)\n", failure);
        abort();
    }
    SetBeforeSwapHook(CaptureBeforeSwap);
}

void StopTestEngine() {
    if (gameStarted && !gameQuit) {
        // Leave the running screen the way the game does, so its Unload runs.
        nextState = GS_QUIT;
        while (StepGameStateManager()) {
        }
    }
    SetBeforeSwapHook(nullptr);
    ShutdownEngine();
    ClearGameStates();
    gameStarted = false;
}

// Marks the game as running from `firstState` (harness_game.cpp registers it).
void MarkGameStarted(int32_t firstState) {
    EnterFirstState(firstState);
    gameStarted = true;
    gameQuit = false;
}

void ClearStates() {
    ClearGameStates();
}

int RunFrames(int count) {
    BatchSetRasterizing(captureRequested);
    int start = frameCounter;
    while (frameCounter - start < count) {
        if (!gameStarted) {
            RunFrame();
            continue;
        }
        if (gameQuit) break;
        if (!StepGameStateManager()) gameQuit = true;
    }
    BatchSetRasterizing(true);
    return frameCounter - start;
}

int RunFramesUntil(bool (*done)(), int limit) {
    int ran = 0;
    while (ran < limit && !done() && !gameQuit)
        ran += RunFrames(1);
    return ran;
}

bool GameHasQuit() {
    return gameQuit;
}

void KeyDown(int virtualKey) {
    PlatformPushKey(virtualKey, true);
}
void KeyUp(int virtualKey) {
    PlatformPushKey(virtualKey, false);
}

void TapKey(int virtualKey) {
    KeyDown(virtualKey);
    RunFrames(1);
    KeyUp(virtualKey);
    RunFrames(1);
}

void MoveCursorToDesign(float x, float y) {
    int w = 0, h = 0, cx = 0, cy = 0;
    PlatformGetClientSize(&w, &h);
    DesignToClient(x, y, w, h, &cx, &cy);
    PlatformPushMouseMove(cx, cy);
}

void MoveCursorToClient(int x, int y) {
    PlatformPushMouseMove(x, y);
}
void MouseDown(int button) {
    PlatformPushMouseButton(button, true);
}
void MouseUp(int button) {
    PlatformPushMouseButton(button, false);
}

void ClickDesign(float x, float y) {
    MoveCursorToDesign(x, y);
    MouseDown(0);
    RunFrames(1);
    MouseUp(0);
    RunFrames(1);
}

void LoseFocus() {
    PlatformPushFocus(false);
}
void GainFocus() {
    PlatformPushFocus(true);
}
void CloseWindow() {
    PlatformPushCloseRequest();
}

uint32_t Screenshot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    const uint8_t* p = &rgba[((size_t)y * width + x) * 4];
    return (uint32_t)p[3] << 24 | (uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2];
}

uint32_t Screenshot::AtDesign(float x, float y) const {
    int cx = 0, cy = 0;
    DesignToClient(x, y, width, height, &cx, &cy);
    return At(cx, cy);
}

void RunBeforeNextSwap(void (*action)()) {
    beforeNextSwap = action;
}

Screenshot CaptureFrame() {
    captureRequested = true;
    capturedFrame = Screenshot();
    RunFrames(1);
    captureRequested = false;
    return capturedFrame;
}

std::vector<PrintedText> RecordPrintedTexts() {
    std::vector<PrintedText> texts;
    printedTexts = &texts;
    SetPrintTextObserver(RecordText);
    RunFrames(1);
    SetPrintTextObserver(nullptr);
    printedTexts = nullptr;
    return texts;
}

std::string PictureOf(const GameObject* object) {
    if (!object || !object->texture) return "";
    std::string name = object->texture->name;
    size_t cut = name.find_last_of("\\/");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

std::string PictureOf(const char* objectName) {
    std::vector<GameObject*> found = ObjectsNamed(objectName);
    return found.empty() ? "" : PictureOf(found.front());
}

std::vector<GameObject*> ObjectsNamed(const char* name) {
    std::vector<GameObject*> found;
    for (GameObject* object : objectList)
        if (object && object->alive && object->name == name) found.push_back(object);
    return found;
}
