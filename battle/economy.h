// Economy steps of the battle frame: buying (troops, thief), income and
// upgrades. Depends on the battle record.
#pragma once

#include <cstdint>

// Prices the buy panel shows and takes.
constexpr int32_t TROOP_PRICE = 30;
constexpr int32_t THIEF_PRICE = 50;
constexpr int32_t UPGRADE_START_PRICE = 100; // the first upgrade, before a discount

// Shared buy cooldown, the purchases and the income (every unpaused frame).
void RunBuyStep();
// Upgrades on a click of an upgrader (every unpaused frame).
void RunUpgradeStep();
// Tiers to 0 and upgrade prices to 100.
void ResetUpgrades();
