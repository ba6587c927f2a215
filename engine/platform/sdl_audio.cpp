// SDL2_mixer back end of the sound system: opens the audio device (falling
// back to SDL's silent dummy driver when no device is usable), decodes WAV and
// MP3 files into mixer chunks and plays them on mixer channels. A voice is a
// mixer channel plus the generation of the play that started on it, so a voice
// whose channel was later reused reads as finished and is never touched.
// Depends on SDL2 and SDL2_mixer; called only from the main thread.
#include "engine/platform/platform.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <cstdio>
#include <vector>

// ---------------------------------------------------------------------------
// Types and globals
// ---------------------------------------------------------------------------

namespace {

// What the back end knows about one mixer channel.
struct MixerChannel {
    uint32_t generation; // generation of the play now on it, 0 for none
    int loopCount;       // 0 plays once, -1 loops for ever
};

constexpr int kFrequency = 44100;
constexpr int kChunkSize = 1024;
constexpr int kChannelBits = 16; // voice = generation << 16 | channel
constexpr int kMaxDeviceId = 64; // audio device ids scanned to find the mixer's

bool audioOpen = false;
bool dummyHintSet = false;     // the fallback hint we must take back at close
SDL_AudioDeviceID mixerDevice; // device SDL_mixer opened, 0 if unknown
// Plain pointer, not a vector: the sound layer may close the mixer from a
// static destructor at process end, after this file's statics are gone.
MixerChannel* channels = nullptr;
int mixerChannelCount = 0;
uint32_t nextGeneration = 1; // never reset, so voices of an earlier open stay stale

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Holds back the mixing thread so that a play and its pause land together.
void LockMixer() {
    if (mixerDevice != 0) SDL_LockAudioDevice(mixerDevice);
}

void UnlockMixer() {
    if (mixerDevice != 0) SDL_UnlockAudioDevice(mixerDevice);
}

// Pauses a playing channel. SDL_mixer marks a pause with the current tick
// count, so a pause in tick 0 (the first millisecond after SDL starts, or a
// wrap of the count) would not hold: it is repeated on the next tick.
void PauseMixerChannel(int channel) {
    Mix_Pause(channel);
    while (Mix_Playing(channel) && !Mix_Paused(channel)) {
        Uint32 tick = SDL_GetTicks();
        while (SDL_GetTicks() == tick) {
        }
        Mix_Pause(channel);
    }
}

// 0..1 onto the mixer's 0..128 (NaN counts as 0).
int MixerVolume(float volume) {
    if (!(volume >= 0.0f)) volume = 0.0f;
    if (volume > 1.0f) volume = 1.0f;
    return static_cast<int>(std::lround(volume * MIX_MAX_VOLUME));
}

AudioVoice MakeVoice(int channel, uint32_t generation) {
    return (static_cast<AudioVoice>(generation) << kChannelBits) | channel;
}

// The mixer channel of a voice still current, or -1 for no voice, a closed
// device or a channel since taken by another play.
int VoiceChannel(AudioVoice voice) {
    if (!audioOpen || voice < 0) return -1;
    int channel = static_cast<int>(voice & ((1 << kChannelBits) - 1));
    uint32_t generation = static_cast<uint32_t>(voice >> kChannelBits);
    if (channel >= mixerChannelCount) return -1;
    if (generation == 0 || channels[channel].generation != generation) return -1;
    return channel;
}

// SDL_mixer does not say which device it opened; it is the one that became
// active during Mix_OpenAudio (`wasActive` taken just before).
SDL_AudioDeviceID FindNewDevice(const std::vector<bool>& wasActive) {
    for (int id = 1; id < kMaxDeviceId; ++id) {
        bool active = SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_STOPPED;
        if (active && !wasActive[id]) return static_cast<SDL_AudioDeviceID>(id);
    }
    return 0;
}

// ALSA's error handler type and its setter, looked up at run time: SDL loads
// ALSA itself, and the game does not link it (nor has it on Windows).
typedef void (*AlsaErrorHandler)(const char* file, int line, const char* function, int err,
                                 const char* format, ...);
typedef int (*AlsaSetErrorHandler)(AlsaErrorHandler handler);

void SilentAlsaError(const char*, int, const char*, int, const char*, ...) {}

// While probing for a device, ALSA would print several lines of its own on a
// machine without sound; the one warning of PlatformAudioOpen says it all.
void QuietAlsa(bool quiet) {
    static void* alsa = nullptr;
    if (quiet && !alsa) alsa = SDL_LoadObject("libasound.so.2");
    if (!alsa) return;
    auto setHandler =
        reinterpret_cast<AlsaSetErrorHandler>(SDL_LoadFunction(alsa, "snd_lib_error_set_handler"));
    if (setHandler) setHandler(quiet ? SilentAlsaError : nullptr); // null: ALSA's own
    if (!quiet) {
        SDL_UnloadObject(alsa);
        alsa = nullptr;
    }
}

// Starts the audio subsystem and the mixer on the current driver; on failure
// everything is taken down again and SDL's error says why.
bool OpenMixer(int channelCount) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    std::vector<bool> wasActive(kMaxDeviceId, false);
    for (int id = 1; id < kMaxDeviceId; ++id)
        wasActive[id] = SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_STOPPED;
    if (Mix_OpenAudio(kFrequency, MIX_DEFAULT_FORMAT, 2, kChunkSize) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    if (Mix_AllocateChannels(channelCount) != channelCount) {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        SDL_SetError("cannot allocate %d mixer channels", channelCount);
        return false;
    }
    mixerDevice = FindNewDevice(wasActive);
    return true;
}

} // namespace

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Opens the device with `channelCount` mixer channels, or SDL's dummy driver.
bool PlatformAudioOpen(int channelCount) {
    if (audioOpen) return true;
    if (channelCount <= 0 || channelCount >= (1 << kChannelBits)) {
        std::fprintf(stderr, "Audio: invalid mixer channel count %d\n", channelCount);
        return false;
    }
    QuietAlsa(true);
    bool opened = OpenMixer(channelCount);
    QuietAlsa(false);
    if (!opened) {
        std::fprintf(stderr,
                     "Warning: no usable audio device (%s); sound runs silent on SDL's dummy "
                     "audio driver\n",
                     SDL_GetError());
        // An override hint wins over an SDL_AUDIODRIVER naming a broken driver.
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        dummyHintSet = true;
        if (!OpenMixer(channelCount)) {
            std::fprintf(stderr, "Audio: even SDL's dummy audio driver failed: %s\n",
                         SDL_GetError());
            SDL_ResetHint(SDL_HINT_AUDIODRIVER);
            dummyHintSet = false;
            return false;
        }
    }
    // Chunk decoding of MP3 uses the mixer's music decoders; WAV needs nothing.
    if ((Mix_Init(MIX_INIT_MP3) & MIX_INIT_MP3) == 0)
        std::fprintf(stderr, "Audio: MP3 decoding unavailable: %s\n", Mix_GetError());
    channels = new MixerChannel[channelCount]();
    mixerChannelCount = channelCount;
    audioOpen = true;
    return true;
}

// Halts every channel and closes the mixer and the audio subsystem.
void PlatformAudioClose() {
    if (!audioOpen) return;
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (dummyHintSet) SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    dummyHintSet = false;
    mixerDevice = 0;
    delete[] channels;
    channels = nullptr;
    mixerChannelCount = 0;
    audioOpen = false;
}

// Name of the audio driver in use ("dummy" when silent), or "" when closed.
const char* PlatformAudioDriverName() {
    const char* name = audioOpen ? SDL_GetCurrentAudioDriver() : nullptr;
    return name ? name : "";
}

// Decodes the whole file into the device's format.
void* PlatformAudioLoad(const char* path) {
    if (!audioOpen) {
        std::fprintf(stderr, "Cannot load sound \"%s\": audio is not open\n", path);
        return nullptr;
    }
    // Opened here so that a missing file is reported as such.
    SDL_RWops* file = SDL_RWFromFile(path, "rb");
    Mix_Chunk* chunk = file ? Mix_LoadWAV_RW(file, 1) : nullptr;
    if (!chunk) std::fprintf(stderr, "Cannot load sound \"%s\": %s\n", path, SDL_GetError());
    return chunk;
}

// Frees a decoded sound; SDL_mixer first halts any channel still playing it.
void PlatformAudioFree(void* sound) {
    if (sound) Mix_FreeChunk(static_cast<Mix_Chunk*>(sound));
}

// Starts the sound once, at `volume`, on the first free mixer channel. The
// mixer stays locked until the volume is set, so it never mixes a block of the
// new sound at the last play's volume.
AudioVoice PlatformAudioPlay(void* sound, bool paused, float volume) {
    if (!audioOpen || !sound) return -1;
    LockMixer();
    int channel = Mix_PlayChannel(-1, static_cast<Mix_Chunk*>(sound), 0);
    if (channel >= 0) {
        Mix_Volume(channel, MixerVolume(volume));
        if (paused) PauseMixerChannel(channel);
    }
    UnlockMixer();
    if (channel < 0 || channel >= mixerChannelCount) return -1;
    uint32_t generation = nextGeneration++;
    if (nextGeneration >= (1u << 31)) nextGeneration = 1;
    channels[channel] = MixerChannel{generation, 0};
    return MakeVoice(channel, generation);
}

// SDL_mixer fixes the loop count when a chunk starts, so a change restarts the
// chunk on the same channel with the new count, keeping its pause and volume.
void PlatformAudioSetLoopCount(AudioVoice voice, int loopCount) {
    int channel = VoiceChannel(voice);
    if (channel < 0 || channels[channel].loopCount == loopCount) return;
    LockMixer();
    Mix_Chunk* chunk = Mix_GetChunk(channel);
    if (chunk && Mix_Playing(channel)) { // a finished voice is not brought back
        bool wasPaused = Mix_Paused(channel) != 0;
        Mix_PlayChannel(channel, chunk, loopCount);
        if (wasPaused) PauseMixerChannel(channel);
        channels[channel].loopCount = loopCount;
    }
    UnlockMixer();
}

void PlatformAudioSetPaused(AudioVoice voice, bool paused) {
    int channel = VoiceChannel(voice);
    if (channel < 0) return;
    if (paused)
        PauseMixerChannel(channel);
    else
        Mix_Resume(channel);
}

// Maps 0..1 onto the mixer's 0..128.
void PlatformAudioSetVolume(AudioVoice voice, float volume) {
    int channel = VoiceChannel(voice);
    if (channel >= 0) Mix_Volume(channel, MixerVolume(volume));
}

// Volume of a current voice in 0..1, or -1 for a stale or absent one.
float PlatformAudioGetVolume(AudioVoice voice) {
    int channel = VoiceChannel(voice);
    if (channel < 0) return -1.0f;
    return static_cast<float>(Mix_Volume(channel, -1)) / MIX_MAX_VOLUME;
}

// True while a current voice is paused.
bool PlatformAudioIsPaused(AudioVoice voice) {
    int channel = VoiceChannel(voice);
    return channel >= 0 && Mix_Playing(channel) && Mix_Paused(channel);
}

// Counts the channels that play unpaused at a volume above 0.
int PlatformAudioAudibleCount() {
    if (!audioOpen) return 0;
    int audible = 0;
    for (int channel = 0; channel < mixerChannelCount; ++channel)
        audible += Mix_Playing(channel) && !Mix_Paused(channel) && Mix_Volume(channel, -1) > 0;
    return audible;
}

// A paused voice counts as playing; a stale one never does.
bool PlatformAudioIsPlaying(AudioVoice voice) {
    int channel = VoiceChannel(voice);
    return channel >= 0 && Mix_Playing(channel) != 0;
}

void PlatformAudioStop(AudioVoice voice) {
    int channel = VoiceChannel(voice);
    if (channel >= 0) Mix_HaltChannel(channel);
}
