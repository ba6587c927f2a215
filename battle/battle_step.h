// The battle's frame step, shared by the three levels. Depends on the battle record.
#pragma once

// One frame of the battle in its fixed order (the levels' Update callback).
void RunBattleFrame();
