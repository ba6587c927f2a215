// Battle steps of the curtains and the end of a battle. Depends on the battle record.
#pragma once

// Opening curtain step (every frame from the first).
void RunOpeningCurtain();
// End-of-battle step (every frame, paused or not).
void RunEndOfBattle();
// The K shortcut to the win screen.
void RunWinShortcut();
// Seconds of the closing curtain (the record's start value of endTransitionTimer).
float EndCurtainSeconds();
