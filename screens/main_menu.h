// Main menu (state 4): its callbacks for the state table, the button step
// that HandleGlobalInput runs last while the menu is current, the release of
// the menu music on entering level 1, and the menu's flags (read by the other
// screens and by tests).
#pragma once

struct Channel;

void MainMenuLoad();
void MainMenuInit();
void MainMenuUpdate();
void MainMenuUnload();
void MainMenuDraw();
// The menu's buttons, run as the last step of HandleGlobalInput on the menu.
void MainMenuButtonStep();
// Releases the menu's two music sounds (entering a battle, or quitting).
void ReleaseMenuMusic();
// The menu track's level by the settings and the window's focus.
float MenuMusicLevel();

// A menu track is playing: set by the credits, house selection and how-to-play
// Inits (and by the menu when it starts one), cleared by the three levels' Inits.
extern bool menuMusicStarted;
// Channel of the playing menu track; null when none was obtained or it was released.
extern Channel* menuMusicChannel;
// Play was clicked: the curtain closes and menuLeaveTimer runs down to state 8.
extern bool playPressed;
extern float menuLeaveTimer;
// The quit confirmation and the settings panel are shown.
extern bool quitDialogOpen;
extern bool menuSettingsOpen;
// The opening curtain shown after a win or lose screen has been made.
extern bool returnWallMade;
