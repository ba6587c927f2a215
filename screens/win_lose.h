// Win (state 6) and lose (state 5) screens: one implementation driven by a
// table per screen. Their callbacks for the state table and their state.
#pragma once

#include <cstdint>

struct GameObject;
struct Channel;
struct Sound;

void WinLoad();
void WinInit();
void WinUpdate();
void WinUnload();
void LoseLoad();
void LoseInit();
void LoseUpdate();
void LoseUnload();

// What each of the two screens keeps between frames (Init resets it).
struct EndScreenState {
    bool toMainMenu = false;           // Main menu was clicked
    float leaveTimer = 2;              // seconds from the first choice to the next state
    GameObject* openingWall = nullptr; // curtain dropping away at the start
    GameObject* closingWall = nullptr; // curtain rising once a choice is made
    Sound* music = nullptr;            // the track Init started
    Channel* musicChannel = nullptr;
};
extern EndScreenState loseScreen;
extern EndScreenState winScreen;

// The lose screen's Restart choice, by the level that was lost.
extern bool restartLevel1, restartLevel2, restartLevel3;
// The win screen's Next level choice, by the level that comes next.
extern bool toLevel2, toLevel3;
