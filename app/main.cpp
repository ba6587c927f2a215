// Entry point of Morrow The Game: one instance only, the engine up, the ten
// screens registered, the state manager run from the splash, then shut-down.
#include "app/game_state.h"
#include "app/window.h"
#include "engine/platform/platform.h"
#include "screens/registry.h"

// Starts the game; arguments are ignored.
int main(int, char**) {
    if (!PlatformAcquireInstanceLock(windowTitle)) return 1;
    int failure = StartEngine(true);
    if (failure >= 0) return failure;
    RegisterGameStates();
    EnterFirstState(GS_SPLASH);
    RunGameStateManager();
    ShutdownEngine();
    return 0;
}
