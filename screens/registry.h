// The ten screens of the game registered as game states, in the game's order.
#pragma once

void RegisterGameStates();
