// Sound system: the one audio system, a cache of decoded sounds keyed by path,
// and a fixed pool of 100 channel slots (last-in, first-out free list) through
// which every playing sound is addressed. Depends on the platform's mixer.
#pragma once

#include <cstdint>

struct Sound {
    void* data; // decoded samples owned by the platform mixer
    char path[256];
};

struct Channel {
    int64_t voice; // platform voice, -1 until first used
    float volume;
    bool looping;
    bool paused;
};

enum { CHANNEL_COUNT = 100 };

// Opens the audio device (falling back to a silent driver) and builds the pool.
// False only when not even the silent driver opens.
bool InitSound();
// Frees every cached sound, closes the device and empties both slot lists.
// Channel pointers stay valid (the slots live for the whole run) but idle.
void ShutdownSound();
bool HasAudioSystem();
// A game path ("data\\X.mp3"); one Sound per path; null and a stderr line
// naming the file when it cannot be read or decoded.
Sound* LoadSound(const char* path);
// LoadSound on a worker thread, so that a long piece of music decodes on a
// second core while the caller goes on loading: `*slot` is null until
// FinishSoundLoads sets it to what LoadSound would have returned.
void LoadSoundInBackground(const char* path, Sound** slot);
// Waits for every sound loading in the background and fills its slot.
void FinishSoundLoads();
void ReleaseSound(Sound* sound);
// Starts `sound` on a free slot at `volume` (0..1): the voice is given its
// volume before the mixer first hears it, so a muted setting never bursts out.
Channel* PlaySound(Sound* sound, bool paused, float volume = 1.0f);
// Stops the slot's sound at once and gives the slot back to the pool.
void StopChannel(Channel* channel);
void SetChannelLooping(Channel* channel);
void ResumeChannel(Channel* channel);
void PauseChannel(Channel* channel);
void SetChannelVolume(Channel* channel, float volume);
bool IsChannelPlaying(Channel* channel);
void UpdateSound();
void StopAllSounds();
// The same, but the `keptCount` channels of `kept` sound on.
void StopAllSoundsExcept(Channel* const* kept, int keptCount);
// Counts for tests, soak runs and the exit check.
int SoundCacheCount();
int BusyChannelCount();
int FreeChannelCount();
