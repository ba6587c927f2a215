// The battle's pause menu: the sound sync at the start of every battle frame,
// the pause scroll, the settings page, the exit page, the yes/no confirmation,
// the compact how-to-play page and the credits roll.
// Depends on the battle record (battle/battle_state.h).
#pragma once

// Music, ambient and effect volumes and pause (first step of every battle frame).
void SyncBattleSound();
// Escape, minimise or focus loss opens the pause scroll.
void UpdatePauseOpen();
// The open scroll: hover marks, its rows and buttons, and the closing scroll.
void UpdatePauseMenu();
// The settings page: display mode, full screen, volume, music and effects.
void UpdateSettingsPage();
// The exit page: leave the game, go back to the main menu, or back to the scroll.
void UpdateExitPage();
// The yes/no confirmation of quitting, returning to the menu or restarting.
void UpdateQuitConfirm();
// The compact how-to-play page opened from the scroll.
void UpdatePauseHowToPlay();
// The credits roll opened from the scroll.
void UpdatePauseCredits();
