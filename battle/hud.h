// Battle view and HUD: the level's Draw callback (the object list, then the
// HUD texts) and the per-frame swap of the buy pictures to their hover art.
// Declarations made early by the battle so its frame step compiles; from now
// on this file belongs to the "hudpause" helper (with battle/hud.cpp).
// Depends on the battle record (battle/battle_state.h).
#pragma once

// Draw callback of the three levels.
void DrawBattle();
// The HUD texts, called only by DrawBattle.
void DrawHud();
// Hover art of the buy, thief and catapult pictures (every unpaused frame).
void UpdateHudHover();
