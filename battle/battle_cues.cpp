// The battle's effect cues and their files. Depends on the effect cues.
#include "battle/battle_cues.h"

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

static EffectCue battleCues[CUE_COUNT] = {
    {{"data\\SwordClash1.wav", "data\\SwordClash2.wav", "data\\SwordClash3.wav"},
     {},
     {},
     {},
     nullptr,
     0},
    {{"data\\CastleHit.wav"}, {}, {}, {}, nullptr, 0},
    {{"data\\CatapultThrow.wav"}, {}, {}, {}, nullptr, 0},
    {{"data\\RockImpact.wav"}, {}, {}, {}, nullptr, 0},
};

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

void LoadBattleCues() {
    for (EffectCue& cue : battleCues)
        LoadCue(cue);
}

void ReleaseBattleCues() {
    for (EffectCue& cue : battleCues)
        ReleaseCue(cue);
}

void ForgetBattleCueVoices() {
    for (EffectCue& cue : battleCues)
        ForgetCueVoices(cue);
}

void PlayBattleCue(BattleCue cue) {
    if (cue >= 0 && cue < CUE_COUNT) PlayCue(battleCues[cue]);
}

void SetBattleCueVolume(float volume) {
    for (EffectCue& cue : battleCues)
        SetCueVolume(cue, volume);
}

const EffectCue& BattleCueRecord(BattleCue cue) {
    return battleCues[cue];
}
