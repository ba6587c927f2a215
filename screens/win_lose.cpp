// Win (state 6) and lose (state 5) screens. Placeholder callbacks until the screen is built.
#include "screens/win_lose.h"

void WinLoad() {}
void WinInit() {}
void WinUpdate() {}
void WinUnload() {}
void LoseLoad() {}
void LoseInit() {}
void LoseUpdate() {}
void LoseUnload() {}
