// The three battle levels (states 3, 11 and 12): one battle implementation
// parameterised by each level's table. Their callbacks for the state table.
#pragma once

void Level1Load();
void Level1Init();
void Level1Update();
void Level1Draw();
void Level1Unload();
void Level2Load();
void Level2Init();
void Level2Update();
void Level2Draw();
void Level2Unload();
void Level3Load();
void Level3Init();
void Level3Update();
void Level3Draw();
void Level3Unload();
// Free of every level: destroys the objects and stops every sound.
void LevelFree();
