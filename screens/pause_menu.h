// The battle's pause menu: the sound sync at the start of every battle frame,
// the pause scroll, the settings page, the exit page, the yes/no confirmation,
// the compact how-to-play page and the credits roll.
// Declarations made early by the battle so its frame step compiles; from now
// on this file belongs to the "hudpause" helper (with screens/pause_menu.cpp).
// Depends on the battle record (battle/battle_state.h).
#pragma once

// Music, ambient and effect volumes and pause (first step of every battle frame).
void SyncBattleSound();
// Escape, minimise or focus loss opens the pause scroll.
void UpdatePauseOpen();
// The open scroll: hover marks, its rows and buttons, and the closing scroll.
void UpdatePauseMenu();
void UpdateSettingsPage();
void UpdateExitPage();
void UpdateQuitConfirm();
// The compact how-to-play page opened from the scroll.
void UpdatePauseHowToPlay();
// The credits roll opened from the scroll.
void UpdatePauseCredits();
