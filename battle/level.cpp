// The three battle levels. Placeholder callbacks until the battle is built.
#include "battle/level.h"

void Level1Load() {}
void Level1Init() {}
void Level1Update() {}
void Level1Draw() {}
void Level1Unload() {}
void Level2Load() {}
void Level2Init() {}
void Level2Update() {}
void Level2Draw() {}
void Level2Unload() {}
void Level3Load() {}
void Level3Init() {}
void Level3Update() {}
void Level3Draw() {}
void Level3Unload() {}
void LevelFree() {}
