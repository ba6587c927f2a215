// The catapult step of the battle frame. Depends on the battle record.
#pragma once

// Unlocking, the cooldown and throwing a rock (every unpaused frame).
void RunCatapultStep();
