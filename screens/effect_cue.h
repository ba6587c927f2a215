// Effect cues: a short effect played at a moment of play (a sword clash, a
// blow on a castle, the catapult, a button click), picked at random among its
// variants. A cue follows the effect settings (all sound muted, effects
// muted, the volume, the window inactive) and lets only a few of its
// instances sound at once. Depends on the sound system, the settings and the
// window.
#pragma once

#include <cstdint>

struct Sound;
struct Channel;

enum : int { CUE_MAX_VARIANTS = 3, CUE_MAX_VOICES = 3 };

struct EffectCue {
    const char* paths[CUE_MAX_VARIANTS]; // null past the last variant
    Sound* sounds[CUE_MAX_VARIANTS];
    Channel* voices[CUE_MAX_VOICES]; // instances started, each with its platform voice
    int64_t voiceIds[CUE_MAX_VOICES];
    Channel* newest; // the instance started last
    int started;     // instances started since the program began
};

// Loads every variant (the screen's Load).
void LoadCue(EffectCue& cue);
// Releases what LoadCue read and forgets the instances (the screen's Unload).
void ReleaseCue(EffectCue& cue);
// Forgets the instances once every channel was stopped (the screen's Free).
void ForgetCueVoices(EffectCue& cue);
// Starts one variant at the effect volume unless effects are silent or
// CUE_MAX_VOICES instances still sound; the new channel or null.
Channel* PlayCue(EffectCue& cue);
// Gives every sounding instance this volume (0 silences them, as focus loss does).
void SetCueVolume(EffectCue& cue, float volume);
// Stops every sound of the pool but the cue's sounding instances.
void StopAllSoundsBut(const EffectCue& cue);
// Instances of the cue sounding now.
int SoundingInstances(const EffectCue& cue);
