// Battle view and HUD: the level's Draw callback (the object list, then the
// HUD texts) and the per-frame swap of the buy pictures to their hover art.
// Depends on the battle record (battle/battle_state.h).
#pragma once

#include <cstdint>

// Draw callback of the three levels.
void DrawBattle();
// The HUD texts, called only by DrawBattle.
void DrawHud();
// Hover art of the buy, thief and catapult pictures (every unpaused frame).
void UpdateHudHover();

// HUD text colours (0xAARRGGBB).
constexpr uint32_t HUD_BLACK = 0xFF000000;
constexpr uint32_t HUD_RED = 0xFFFF0000;
constexpr uint32_t HUD_WHITE = 0xFFFFFFFF;
constexpr uint32_t HUD_GOLD = 0xFFD4AF37;

// Prints `text` in the battle font with its first baseline at the layout
// point (x, y) and the text scale k, both multiplied by the one draw scale.
void PrintHudText(const char* text, float x, float y, float k, uint32_t color);
