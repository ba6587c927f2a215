// Battle steps of the curtains and the end of a battle. Depends on the battle record.
#pragma once

// Seconds the closing curtain runs after a castle has fallen.
constexpr float END_CURTAIN_SECONDS = 2;

// Opening curtain step (every frame from the first).
void RunOpeningCurtain();
// End-of-battle step (every frame, paused or not).
void RunEndOfBattle();
// The K shortcut to the win screen.
void RunWinShortcut();
