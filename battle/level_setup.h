// Set-up and release of a battle level (index 0..2): Load, Init, Free and
// Unload shared by the three levels. Depends on the battle record.
#pragma once

void LoadLevel(int index);
void InitLevel(int index);
void FreeLevel();
void UnloadLevel(int index);
