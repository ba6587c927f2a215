// Set-up and release of a battle level (index 0..2): Load, Init, Free and
// Unload shared by the three levels. Depends on the battle record.
#pragma once

#include <string>

void LoadLevel(int index);
void InitLevel(int index);
void FreeLevel();
void UnloadLevel(int index);
// Groups of large pictures only the pause menu shows, read when first needed.
enum class PausePictures {
    SCROLL,      // the scroll's opening and closing sheets, its still and its row marks
    PAGES,       // the blank scroll of the settings and exit pages (and its variants)
    HOW_TO_PLAY, // the compact how-to-play page
    CREDITS,     // the four rolling credit pictures
};
void LoadPausePictures(PausePictures group);
// The enemy's house in level `index` for the player's house (-1 for none).
int EnemyHouseOf(int index);
// Files of the enemy's troops in level `index` ("" for none).
std::string EnemyTroopAnimationPath(int index, int type);
std::string EnemyTroopPicturePath(int index, int type);
