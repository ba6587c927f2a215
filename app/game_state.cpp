// Game state manager and frame loop: the table of screens, the manager's
// orders (enter, frames, change, restart, quit), one frame in its fixed order
// with the 60 Hz pacing, and the process start-up and shut-down. Depends on
// the window, input, graphics device, textures, sound and the object list.
#include "app/game_state.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/input.h"
#include "app/window.h"
#include "engine/audio/sound.h"
#include "engine/debug_ui.h"
#include "engine/graphics/device.h"
#include "engine/graphics/scene.h"
#include "engine/graphics/sprite_batch.h"
#include "engine/graphics/texture.h"
#include "engine/platform/platform.h"
#include "objects/game_object.h"

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

int32_t currentState = GS_SPLASH;
int32_t previousState = GS_SPLASH;
int32_t nextState = GS_SPLASH;
bool isRunning = false;

double frameRateTarget = 60.0;
double frameTimeMin = 1.0 / 60.0;
double frameTime = 1.0 / 60.0;
double frameRate = 60.0;
int32_t frameCounter = 0;

enum { STATE_TABLE_SIZE = 64 };
static GameStateEntry stateTable[STATE_TABLE_SIZE];
static uint8_t stateCount = 0;

static void EmptyCallback() {}
static StateCallback cbLoad = EmptyCallback, cbInit = EmptyCallback, cbUpdate = EmptyCallback,
                     cbDraw = EmptyCallback, cbFree = EmptyCallback, cbUnload = EmptyCallback;

// Where the stepping manager stands: entering the current state, running its
// frames, or ended after a quit.
enum ManagerPhase { PHASE_ENTER, PHASE_FRAMES, PHASE_ENDED };
static ManagerPhase managerPhase = PHASE_ENTER;

static bool steppedClock = false;
static double steppedFrameTime = 1.0 / 60.0;
static void (*beforeSwapHook)() = nullptr;

// The last moments of a frame are spun rather than slept, so that a sleep's
// late wake-up never makes the frame late. The spin lasts as long as sleeps
// have lately overrun: the worst overrun seen, fading by SPIN_FADE a frame
// (to half in about 70 frames), never past SPIN_MOST. Sleeps here overran by
// 144 us at the median and 242 us at the 99th percentile (300 sleeps of 14.5
// ms); a fixed 1 ms spin cost 6 % of a core on every screen, and the spin never
// grows past it.
static const double SPIN_MOST = 0.001;
static const double SPIN_FADE = 0.99;
static double spinSeconds = SPIN_MOST;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Null callbacks run as the empty function.
static StateCallback OrEmpty(StateCallback callback) {
    return callback ? callback : EmptyCallback;
}

// Entering a state: Load unless restarting, then Init.
static void EnterState() {
    if (nextState == GS_RESTART)
        nextState = currentState;
    else
        cbLoad();
    cbInit();
    managerPhase = PHASE_FRAMES;
}

// Carries out a requested change: Free, then Unload and the switch unless restarting.
static void ChangeState() {
    cbFree();
    if (nextState != GS_RESTART) {
        cbUnload();
        previousState = currentState;
        currentState = nextState;
        LoadStateCallbacks();
    }
    managerPhase = nextState == GS_QUIT ? PHASE_ENDED : PHASE_ENTER;
}

// Waits out the rest of the frame: sleeps most of it, spins the last moments.
static void WaitOutFrame(double frameStart) {
    if (steppedClock) {
        frameTime = steppedFrameTime;
        return;
    }
    // Nobody sees the frames of a hidden window: no spinning for their pacing.
    const double spin = DrawingSuppressed() ? 0.0 : spinSeconds;
    double elapsed = GetTime() - frameStart;
    while (elapsed < frameTimeMin) {
        const double remaining = frameTimeMin - elapsed;
        if (remaining > spin) {
            PlatformSleep(remaining - spin);
            elapsed = GetTime() - frameStart;
            const double overrun = elapsed - (frameTimeMin - spin); // past the wake-up asked for
            spinSeconds = std::min(SPIN_MOST, std::max(overrun, spinSeconds * SPIN_FADE));
        } else {
            elapsed = GetTime() - frameStart;
        }
    }
    frameTime = elapsed;
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Appends a state unless its id is registered already (the first one wins).
void AddGameState(int32_t id, StateCallback Load, StateCallback Init, StateCallback Update,
                  StateCallback Draw, StateCallback Free, StateCallback Unload) {
    for (int i = 0; i < stateCount; i++)
        if (stateTable[i].id == id) return;
    if (stateCount >= STATE_TABLE_SIZE) {
        fprintf(stderr, "Error: state table full, state %d not registered\n", id);
        return;
    }
    stateTable[stateCount++] = {id, Load, Init, Update, Draw, Free, Unload};
}

// Makes the current callbacks those of currentState (kept as they were when it is unknown).
void LoadStateCallbacks() {
    if (currentState == GS_QUIT || currentState == GS_RESTART) {
        cbLoad = cbInit = cbUpdate = cbDraw = cbFree = cbUnload = EmptyCallback;
        return;
    }
    for (int i = 0; i < stateCount; i++) {
        const GameStateEntry& row = stateTable[i];
        if (row.id != currentState) continue;
        cbLoad = OrEmpty(row.Load);
        cbInit = OrEmpty(row.Init);
        cbUpdate = OrEmpty(row.Update);
        cbDraw = OrEmpty(row.Draw);
        cbFree = OrEmpty(row.Free);
        cbUnload = OrEmpty(row.Unload);
        return;
    }
    fprintf(stderr, "Warning: state %d is not registered; the previous callbacks stay\n",
            currentState);
}

// Forgets every registered state and the current callbacks.
void ClearGameStates() {
    stateCount = 0;
    cbLoad = cbInit = cbUpdate = cbDraw = cbFree = cbUnload = EmptyCallback;
    managerPhase = PHASE_ENTER;
}

// Sets the three state numbers to `id` and loads its callbacks.
void EnterFirstState(int32_t id) {
    currentState = previousState = nextState = id;
    managerPhase = PHASE_ENTER;
    LoadStateCallbacks();
}

// One step of the manager; false once the quit is carried out.
bool StepGameStateManager() {
    if (managerPhase == PHASE_ENDED) return false;
    if (managerPhase == PHASE_ENTER) {
        if (nextState == GS_QUIT) {
            managerPhase = PHASE_ENDED;
            return false;
        }
        EnterState();
        if (nextState != currentState) { // Load or Init asked for another state
            ChangeState();
            return managerPhase != PHASE_ENDED;
        }
    }
    RunFrame();
    if (nextState != currentState) ChangeState();
    return managerPhase != PHASE_ENDED;
}

// Runs states and frames until the quit is carried out.
void RunGameStateManager() {
    while (StepGameStateManager()) {
    }
}

// What every screen needs before its Update: the draw scale (and the cursor
// in design units), the game's own cursor in place of the system's, and the
// sound pool's finished channels given back.
static void RunScreenChores() {
    UpdateDrawScale();
    HideSystemCursor();
    UpdateSound();
}

// The state's Draw, clipped to the scene (the bars beside it stay black).
static void DrawScene() {
    BeginSceneClip(drawScale);
    cbDraw();
    EndSceneClip();
}

// One frame in its fixed order. While the window cannot be seen, Update runs
// as always but nothing is drawn or shown.
void RunFrame() {
    double frameStart = GetTime();
    const bool shown = PlatformIsWindowVisible();
    SetDrawingSuppressed(!shown);
    ResetRenderState();
    if (shown) BatchClear();
    BeginDebugUiFrame();
    SetWorldBoundsFromClient();
    PlatformPumpEvents();
    UpdateInput();
    if (!isRunning) nextState = GS_QUIT;
    RunScreenChores();
    cbUpdate();
    DrawScene();
    RenderDebugUi();
    if (beforeSwapHook) beforeSwapHook();
    if (shown && !BatchFrameHeld()) PlatformSwapBuffers(); // else the window shows it already
    WaitOutFrame(frameStart);
    frameRate = 1.0 / frameTime;
    frameCounter++;
}

// Seconds on the high-resolution counter, split so precision survives long uptimes.
double GetTime() {
    uint64_t count = PlatformGetCounter();
    uint64_t frequency = PlatformGetFrequency();
    return (double)(count % frequency) / (double)frequency + (double)(count / frequency);
}

// Stepped clock: fixed frame time, no waiting.
void SetSteppedClock(bool on, double seconds) {
    steppedClock = on;
    steppedFrameTime = seconds;
}

// Hook run just before the buffer swap.
void SetBeforeSwapHook(void (*hook)()) {
    beforeSwapHook = hook;
}

// Start-up: window, graphics, input, frame timing, full screen, icon, audio.
int StartEngine(bool fullscreen) {
    windowWidth = 1280;
    windowHeight = 720;
    isFullscreen = false;
    // Without an OpenGL 3.3 context the player is told what the graphics lack.
    if (!CreateGameWindow()) {
        RequireOpenGLVersion(3, 3);
        return 2;
    }
    isRunning = true;
    // A failed graphics start-up has shown its message; it must not end as success.
    if (!InitGraphics()) return 2;
    ClearInput();
    ResetGamepads();
    frameRateTarget = 60.0;
    frameTimeMin = 1.0 / frameRateTarget;
    frameTime = 1.0 / 60.0;
    frameRate = 60.0;
    frameCounter = 0;
    if (fullscreen) SetFullscreen(true);
    int iconWidth = 0, iconHeight = 0;
    const std::vector<unsigned char> icon =
        LoadImagePixels("data\\Icon.png", &iconWidth, &iconHeight);
    if (!icon.empty()) PlatformSetWindowIcon(icon.data(), iconWidth, iconHeight);
    if (!InitSound()) {
        fprintf(stderr, "Error: no audio device, not even a silent one, could be opened\n");
        return 2;
    }
    return -1;
}

// Shut-down: objects, audio, the resource report, gamepads, the window.
void ShutdownEngine() {
    FreeAllObjects();
    FlushDestroyed(); // the objects queued at exit are deleted, not leaked
    ShutdownSound();
    ReleaseGraphicsResources();
    ResetGamepads();
    PlatformDestroyWindow();
    isRunning = false;
}
