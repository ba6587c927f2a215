// Economy steps of the battle frame: buying (troops, thief), income and
// upgrades. Depends on the battle record.
#pragma once

// Shared buy cooldown, the purchases and the income (every unpaused frame).
void RunBuyStep();
// Upgrades on a click of an upgrader (every unpaused frame).
void RunUpgradeStep();
// Tiers to 0 and upgrade prices to 100.
void ResetUpgrades();
