// Sound system: owns the one audio system, the cache of decoded sounds keyed
// by the path the game names them with, and the pool of 100 channel slots
// handed out last-in, first-out. Depends on the platform mixer
// (engine/platform/platform.h) and on the game file paths (engine/file.h).
#include "engine/audio/sound.h"

#include "engine/file.h"
#include "engine/platform/platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

namespace {

bool audioSystem = false; // the mixer is open
std::map<std::string, Sound*> soundCache;
int soundCount = 0;
// The slots live for the whole run so that a screen's Channel pointer never
// dangles, even across a shut-down; only the two lists are given back.
Channel channelSlots[CHANNEL_COUNT];
std::vector<Channel*> freeChannels; // taken from the back
std::vector<Channel*> busyChannels;

// A sound decoding on a worker thread, and the slot it is handed to.
struct BackgroundLoad {
    std::string path;
    Sound** slot;
    void* data;
    std::thread worker;
};
std::vector<std::unique_ptr<BackgroundLoad>> backgroundLoads;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Moves a slot from the busy list to the back of the free list.
void ReturnSlot(size_t busyIndex) {
    freeChannels.push_back(busyChannels[busyIndex]);
    busyChannels.erase(busyChannels.begin() + static_cast<std::ptrdiff_t>(busyIndex));
}

// Frees every cached sound; their records go with them.
void EmptyCache() {
    for (auto& entry : soundCache) {
        PlatformAudioFree(entry.second->data);
        delete entry.second;
    }
    soundCache.clear();
    soundCount = 0;
}

// A path fits a Sound record; one that does not is named on stderr.
bool PathFits(const char* path) {
    if (std::strlen(path) < sizeof(Sound::path)) return true;
    std::fprintf(stderr, "Cannot load sound \"%s\": path longer than %zu characters\n", path,
                 sizeof(Sound::path) - 1);
    return false;
}

// The record of decoded samples (null when there are none). A path cached
// meanwhile (loaded again while it decoded in the background) keeps its
// record, and the second decoding is freed.
Sound* CacheSound(const char* path, void* data) {
    if (!data) return nullptr;
    if (auto cached = soundCache.find(path); cached != soundCache.end()) {
        PlatformAudioFree(data);
        return cached->second;
    }
    Sound* sound = new Sound{data, {}};
    std::strcpy(sound->path, path);
    soundCache[path] = sound;
    ++soundCount;
    return sound;
}

// Clamps a channel volume into 0..1 (NaN counts as 0).
float ClampVolume(float volume) {
    if (!(volume >= 0.0f)) return 0.0f;
    return volume > 1.0f ? 1.0f : volume;
}

// Releases the system at process end if nobody shut it down.
struct ExitRelease {
    ~ExitRelease() { ShutdownSound(); }
} exitRelease;

} // namespace

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Opens the mixer with one channel per slot, then puts every slot on the free
// list in slot order. False only when no driver at all could be opened.
bool InitSound() {
    if (audioSystem) return true;
    if (!PlatformAudioOpen(CHANNEL_COUNT)) return false;
    audioSystem = true;
    freeChannels.clear();
    busyChannels.clear();
    for (Channel& slot : channelSlots) {
        slot = Channel{-1, 1.0f, false, true};
        freeChannels.push_back(&slot);
    }
    return true;
}

// Frees the cached sounds, closes the mixer and gives back both slot lists.
void ShutdownSound() {
    if (!audioSystem) return;
    FinishSoundLoads();
    EmptyCache();
    PlatformAudioClose();
    audioSystem = false;
    freeChannels.clear();
    busyChannels.clear();
    for (Channel& slot : channelSlots)
        slot.voice = -1;
}

bool HasAudioSystem() {
    return audioSystem;
}

// One Sound per path: a path loaded twice gives the same record.
Sound* LoadSound(const char* path) {
    if (!audioSystem || !path) return nullptr;
    auto cached = soundCache.find(path);
    if (cached != soundCache.end()) return cached->second;
    if (!PathFits(path)) return nullptr;
    return CacheSound(path, PlatformAudioLoad(ResolveGamePath(path).c_str()));
}

// Only the decoding runs on the worker: the cache is touched here and in
// FinishSoundLoads, on the caller's thread. Without a thread to spare, the
// sound decodes here.
void LoadSoundInBackground(const char* path, Sound** slot) {
    *slot = nullptr;
    if (!audioSystem || !path) return;
    if (auto cached = soundCache.find(path); cached != soundCache.end()) {
        *slot = cached->second;
        return;
    }
    if (!PathFits(path)) return;
    backgroundLoads.push_back(std::make_unique<BackgroundLoad>(path, slot, nullptr));
    BackgroundLoad* load = backgroundLoads.back().get();
    auto decode = [load, file = ResolveGamePath(path)] {
        load->data = PlatformAudioLoad(file.c_str());
    };
    try {
        load->worker = std::thread(decode);
    } catch (const std::system_error&) {
        decode();
    }
}

// Hands each background sound to its slot, in the order they were started.
void FinishSoundLoads() {
    for (auto& load : backgroundLoads) {
        if (load->worker.joinable()) load->worker.join();
        *load->slot = CacheSound(load->path.c_str(), load->data);
    }
    backgroundLoads.clear();
}

// Frees the decoded samples and forgets the path.
void ReleaseSound(Sound* sound) {
    if (!audioSystem || !sound) return;
    // Looked up by pointer first, so a sound released twice is never touched.
    bool cached = false;
    for (auto& entry : soundCache)
        cached = cached || entry.second == sound;
    if (!cached) {
        std::fprintf(stderr, "ReleaseSound: sound %p is not loaded (released twice?)\n",
                     static_cast<void*>(sound));
        return;
    }
    PlatformAudioFree(sound->data);
    soundCache.erase(sound->path);
    --soundCount;
    delete sound;
}

// Takes the most recently freed slot and starts the sound on it at `volume`;
// null when there is no audio, no sound or no free slot.
Channel* PlaySound(Sound* sound, bool paused, float volume) {
    if (!audioSystem || !sound || freeChannels.empty()) return nullptr;
    Channel* slot = freeChannels.back();
    freeChannels.pop_back();
    busyChannels.push_back(slot);
    volume = ClampVolume(volume);
    // A failed play leaves the slot busy with no voice; the next UpdateSound frees it.
    slot->voice = PlatformAudioPlay(sound->data, paused, volume);
    if (slot->voice < 0) return nullptr;
    slot->paused = paused;
    slot->volume = volume;
    slot->looping = false;
    PlatformAudioSetLoopCount(slot->voice, 0);
    return slot;
}

// Stops a busy slot's voice and returns the slot to the free list.
void StopChannel(Channel* channel) {
    if (!audioSystem || !channel) return;
    for (size_t i = 0; i < busyChannels.size(); ++i) {
        if (busyChannels[i] != channel) continue;
        PlatformAudioStop(channel->voice);
        channel->voice = -1;
        ReturnSlot(i);
        return;
    }
}

// Music loops for ever; called right after PlaySound.
void SetChannelLooping(Channel* channel) {
    if (!channel || channel->voice < 0) return;
    channel->looping = true;
    PlatformAudioSetLoopCount(channel->voice, -1);
}

void ResumeChannel(Channel* channel) {
    if (!channel || channel->voice < 0 || !channel->paused) return;
    channel->paused = false;
    PlatformAudioSetPaused(channel->voice, false);
}

void PauseChannel(Channel* channel) {
    if (!channel || channel->voice < 0) return;
    channel->paused = true;
    PlatformAudioSetPaused(channel->voice, true);
}

// Stores and applies the volume clamped to 0..1.
void SetChannelVolume(Channel* channel, float volume) {
    if (!channel || channel->voice < 0) return;
    volume = ClampVolume(volume);
    channel->volume = volume;
    PlatformAudioSetVolume(channel->voice, volume);
}

// A paused channel counts as playing.
bool IsChannelPlaying(Channel* channel) {
    if (!channel || channel->voice < 0) return false;
    return PlatformAudioIsPlaying(channel->voice);
}

// Gives back every busy slot whose sound has ended. SDL_mixer mixes on its own
// thread and needs no per-frame call of its own.
void UpdateSound() {
    if (!audioSystem) return;
    for (size_t i = 0; i < busyChannels.size();) {
        Channel* slot = busyChannels[i];
        if (slot->voice < 0 || !PlatformAudioIsPlaying(slot->voice))
            ReturnSlot(i);
        else
            ++i;
    }
}

// Stops every busy slot, last first, so the first-played slot is handed out next.
void StopAllSounds() {
    StopAllSoundsExcept(nullptr, 0);
}

void StopAllSoundsExcept(Channel* const* kept, int keptCount) {
    if (!audioSystem) return;
    for (size_t i = busyChannels.size(); i-- > 0;) {
        if (std::find(kept, kept + keptCount, busyChannels[i]) != kept + keptCount) continue;
        PlatformAudioStop(busyChannels[i]->voice);
        ReturnSlot(i);
    }
}

int SoundCacheCount() {
    return soundCount;
}
int BusyChannelCount() {
    return static_cast<int>(busyChannels.size());
}
int FreeChannelCount() {
    return static_cast<int>(freeChannels.size());
}
