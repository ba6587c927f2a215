// House selection (state 8): its callbacks for the state table and its two
// flags (read by tests). The choice itself is `house` (app/settings.h).
#pragma once

void HouseSelectLoad();
void HouseSelectInit();
void HouseSelectUpdate();
void HouseSelectUnload();

// A house was clicked; startTimer runs down to level 1.
extern bool houseChosen;
extern float startTimer;
