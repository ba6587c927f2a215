// The keys that work on every screen but the splash (S, Q, R, M, Ctrl+Alt+F4,
// Ctrl+Alt+Delete, Space on the win, lose and how-to-play screens, O and P),
// the release of the menu music when level 1 begins, and the hand-over to the
// main menu's buttons. Depends on the state manager, input, window and the
// main menu screen.
#pragma once

extern bool menuMusicReleased;

// Runs the global keys once; called from each screen's Update.
void HandleGlobalInput();
