// Main menu (state 4). Placeholder callbacks until the screen is built.
#include "screens/main_menu.h"

void MainMenuLoad() {}
void MainMenuInit() {}
void MainMenuUpdate() {}
void MainMenuUnload() {}
void MainMenuDraw() {}
void MainMenuButtonStep() {}
void ReleaseMenuMusic() {}
bool menuMusicStarted = false;
