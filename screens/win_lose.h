// Win (state 6) and lose (state 5) screens. Its callbacks for the state table.
#pragma once

void WinLoad();
void WinInit();
void WinUpdate();
void WinUnload();
void LoseLoad();
void LoseInit();
void LoseUpdate();
void LoseUnload();
