// Game state manager and frame loop: the table of screens (a number and six
// callbacks each), the order in which the manager runs them, the frame with
// its fixed 60 Hz pacing, and the process start-up and shut-down around them.
// Depends on the window (app/window.h), input (app/input.h), the graphics
// device, the sound system and the object list.
#pragma once

#include <cstdint>

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

typedef void (*StateCallback)();

struct GameStateEntry {
    int32_t id;
    StateCallback Load, Init, Update, Draw, Free, Unload;
};

// Special and game state numbers.
enum : int32_t {
    GS_QUIT = -1,
    GS_RESTART = -2,
    GS_LEVEL1 = 3,
    GS_MAIN_MENU = 4,
    GS_LOSE = 5,
    GS_WIN = 6,
    GS_HOW_TO_PLAY = 7,
    GS_HOUSE_SELECT = 8,
    GS_LOGO_CREDITS = 9,
    GS_LEVEL2 = 11,
    GS_LEVEL3 = 12,
    GS_SPLASH = 13,
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

extern int32_t currentState;
extern int32_t previousState;
extern int32_t nextState;
extern bool isRunning;

extern double frameRateTarget;
extern double frameTimeMin;
extern double frameTime;
extern double frameRate;
extern int32_t frameCounter;

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Appends a state; a second registration of the same id is ignored.
void AddGameState(int32_t id, StateCallback Load, StateCallback Init, StateCallback Update,
                  StateCallback Draw, StateCallback Free, StateCallback Unload);
// Makes the six current callbacks those of currentState.
void LoadStateCallbacks();
// Runs states and frames until a change to GS_QUIT has been carried out.
void RunGameStateManager();
// Sets currentState, previousState and nextState to `id` and loads its callbacks.
void EnterFirstState(int32_t id);
// One step of the manager: enters the current state if it is not entered yet
// (Load and Init), runs one frame unless that Init asked for another state, and
// carries out a requested change. False once a change to GS_QUIT is done.
// RunGameStateManager is this step repeated; tests call it frame by frame.
bool StepGameStateManager();
// Called after Draw and the debug interface, just before the buffer swap
// (tests read pixels there); null for none.
void SetBeforeSwapHook(void (*hook)());
// Runs one whole frame (render reset, events, input, Update, Draw, swap, wait).
void RunFrame();
// Seconds on the high-resolution counter.
double GetTime();

// Stepped clock for tests and tools: when on, every frame lasts exactly
// `seconds` and nothing waits on the wall clock.
void SetSteppedClock(bool on, double seconds = 1.0 / 60.0);

// Process start-up up to (not including) the registration of the states:
// window, graphics, input, frame timing, full screen, icon, audio. Returns the
// exit code to end with, or -1 to go on. `fullscreen` false keeps the 1280 by
// 720 window (tests); the game passes true.
int StartEngine(bool fullscreen);
// Process shut-down: objects, audio, the resource report, gamepads.
void ShutdownEngine();
// Forgets every registered state (tests that register their own).
void ClearGameStates();
