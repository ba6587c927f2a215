// Main menu (state 4). Its callbacks for the state table.
#pragma once

void MainMenuLoad();
void MainMenuInit();
void MainMenuUpdate();
void MainMenuUnload();
void MainMenuDraw();
// The menu's buttons, run as the last step of HandleGlobalInput on the menu.
void MainMenuButtonStep();
// Releases the menu's two music sounds (entering level 1).
void ReleaseMenuMusic();
extern bool menuMusicStarted;
