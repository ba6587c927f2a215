// The enemy commander's steps of the battle frame (run once the battle has
// started and while it is not paused). Depends on the battle record.
#pragma once

void RunEnemyDownLane();
void RunEnemyUpLane();
