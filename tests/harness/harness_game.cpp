// Test harness, game part: registers the game's ten states. Kept apart so that
// engine tests link without the game's screens.
#include "harness/harness.h"

#include "app/game_state.h"
#include "screens/registry.h"

void MarkGameStarted(int32_t firstState);

// Registers the game's states and enters the first one.
void StartGame(int32_t firstState) {
    ClearGameStates();
    RegisterGameStates();
    MarkGameStarted(firstState);
}
