// The battle's effect cues: a sword clash (three variants) when a fight
// starts, a thud when a troop strikes a castle, the catapult's creak and
// whoosh when it throws and the rock's impact when it lands. Loaded and
// released with the level. Depends on the effect cues (screens/effect_cue.h).
#pragma once

#include "screens/effect_cue.h"

enum BattleCue : int {
    CUE_CLASH = 0,
    CUE_CASTLE_HIT,
    CUE_CATAPULT_THROW,
    CUE_ROCK_IMPACT,
    CUE_COUNT
};

void LoadBattleCues();
void ReleaseBattleCues();
// Forgets the instances after the level stopped every sound.
void ForgetBattleCueVoices();
void PlayBattleCue(BattleCue cue);
// The effect level for every cue still sounding (the battle's sound sync).
void SetBattleCueVolume(float volume);
// The cue's record (its playing instances), for tests.
const EffectCue& BattleCueRecord(BattleCue cue);
