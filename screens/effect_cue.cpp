// Effect cues: loading, releasing and playing a short effect under the effect
// settings with a cap on its overlapping instances. Depends on the sound
// system (engine/audio/sound.h), the settings (app/settings.h) and the window
// (app/window.h).
#include "screens/effect_cue.h"

#include "app/settings.h"
#include "app/window.h"
#include "engine/audio/sound.h"

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// A slot handed on to another sound after the instance ended has another
// platform voice, so it is not mistaken for the instance.
static bool StillSounding(const EffectCue& cue, int voice) {
    Channel* channel = cue.voices[voice];
    return channel && channel->voice == cue.voiceIds[voice] && IsChannelPlaying(channel);
}

// A variant at random from a generator of its own, so that playing effects
// never shifts the battle's random sequence.
static int PickVariant(int variants) {
    static unsigned state = 12345u;
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state >> 16) % static_cast<unsigned>(variants));
}

static int VariantCount(const EffectCue& cue) {
    int count = 0;
    while (count < CUE_MAX_VARIANTS && cue.paths[count])
        ++count;
    return count;
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

void LoadCue(EffectCue& cue) {
    for (int i = 0; i < VariantCount(cue); ++i)
        cue.sounds[i] = LoadSound(cue.paths[i]);
}

void ReleaseCue(EffectCue& cue) {
    for (Sound*& sound : cue.sounds) {
        if (sound) ReleaseSound(sound);
        sound = nullptr;
    }
    ForgetCueVoices(cue);
}

void ForgetCueVoices(EffectCue& cue) {
    for (Channel*& channel : cue.voices)
        channel = nullptr;
    cue.newest = nullptr;
}

// Started paused and given its volume before it is resumed, so no instance
// is ever heard at full volume.
Channel* PlayCue(EffectCue& cue) {
    if (soundMuted || sfxMuted || volume <= 0 || !IsWindowActive()) return nullptr;
    int freeVoice = -1;
    for (int voice = 0; voice < CUE_MAX_VOICES && freeVoice < 0; ++voice)
        if (!StillSounding(cue, voice)) freeVoice = voice;
    int variants = VariantCount(cue);
    if (freeVoice < 0 || variants == 0) return nullptr;
    Channel* channel = PlaySound(cue.sounds[PickVariant(variants)], true);
    if (!channel) return nullptr;
    SetChannelVolume(channel, volume / 100.0f);
    ResumeChannel(channel);
    cue.voices[freeVoice] = channel;
    cue.voiceIds[freeVoice] = channel->voice;
    cue.newest = channel;
    ++cue.started;
    return channel;
}

void SetCueVolume(EffectCue& cue, float volume) {
    for (int voice = 0; voice < CUE_MAX_VOICES; ++voice)
        if (StillSounding(cue, voice)) SetChannelVolume(cue.voices[voice], volume);
}

void StopAllSoundsBut(const EffectCue& cue) {
    Channel* kept[CUE_MAX_VOICES];
    int count = 0;
    for (int voice = 0; voice < CUE_MAX_VOICES; ++voice)
        if (StillSounding(cue, voice)) kept[count++] = cue.voices[voice];
    StopAllSoundsExcept(kept, count);
}

int SoundingInstances(const EffectCue& cue) {
    int sounding = 0;
    for (int voice = 0; voice < CUE_MAX_VOICES; ++voice)
        sounding += StillSounding(cue, voice) ? 1 : 0;
    return sounding;
}
