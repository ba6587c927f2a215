// The catapult step of the battle frame. Depends on the battle record.
#pragma once

#include <cstdint>

// The catapult's unlocking price.
constexpr int32_t CATAPULT_PRICE = 300;

// Unlocking, the cooldown and throwing a rock (every unpaused frame).
void RunCatapultStep();
