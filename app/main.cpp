// Entry point of Morrow The Game: one instance only, the data folder found,
// the engine up, the ten screens registered, the state manager run from the
// splash, then shut-down.
#include <string>

#include "app/game_state.h"
#include "app/window.h"
#include "engine/file.h"
#include "engine/platform/platform.h"
#include "screens/registry.h"

// Exit codes besides 0: 1 another copy runs, 2 the graphics cannot start,
// 3 the data folder is nowhere to be found.
static const int EXIT_ANOTHER_COPY = 1;
static const int EXIT_NO_DATA = 3;

// Starts the game; arguments are ignored.
int main(int, char**) {
    if (!PlatformAcquireInstanceLock(windowTitle)) return EXIT_ANOTHER_COPY;
    std::string lookedIn;
    if (!FindGameBaseDir(&lookedIn)) {
        // One line on stderr and the same words in a box: a player started
        // from a desktop menu sees no terminal.
        std::string text = "The game's data folder was not found. Looked in: " + lookedIn;
        PlatformMessageBox(text.c_str(), "Data Folder Not Found", MESSAGEBOX_ERROR);
        return EXIT_NO_DATA;
    }
    int failure = StartEngine(true);
    if (failure >= 0) return failure;
    RegisterGameStates();
    EnterFirstState(GS_SPLASH);
    RunGameStateManager();
    ShutdownEngine();
    return 0;
}
