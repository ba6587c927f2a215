// The three battle levels (states 3, 11 and 12) as game-state callbacks: one
// battle implementation, each level with its own table and record.
// Depends on the level set-up, the frame step and the HUD.
#include "battle/level.h"

#include "battle/battle_state.h"
#include "battle/battle_step.h"
#include "battle/hud.h"
#include "battle/level_setup.h"

// Makes a level's record the current one and runs its frame.
static void UpdateLevel(int index) {
    battle = &levelStates[index];
    RunBattleFrame();
}

// Draws a level with its record current.
static void DrawLevel(int index) {
    battle = &levelStates[index];
    DrawBattle();
}

// ---------------------------------------------------------------------------
// Callbacks of the state table: each level runs the shared battle with its
// own index (0 level 1, 1 level 2, 2 level 3).
// ---------------------------------------------------------------------------

void Level1Load() {
    LoadLevel(0);
}
void Level1Init() {
    InitLevel(0);
}
void Level1Update() {
    UpdateLevel(0);
}
void Level1Draw() {
    DrawLevel(0);
}
void Level1Unload() {
    UnloadLevel(0);
}
void Level2Load() {
    LoadLevel(1);
}
void Level2Init() {
    InitLevel(1);
}
void Level2Update() {
    UpdateLevel(1);
}
void Level2Draw() {
    DrawLevel(1);
}
void Level2Unload() {
    UnloadLevel(1);
}
void Level3Load() {
    LoadLevel(2);
}
void Level3Init() {
    InitLevel(2);
}
void Level3Update() {
    UpdateLevel(2);
}
void Level3Draw() {
    DrawLevel(2);
}
void Level3Unload() {
    UnloadLevel(2);
}
void LevelFree() {
    FreeLevel();
}
