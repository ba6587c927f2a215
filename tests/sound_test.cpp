// The sound system on SDL's dummy driver: the sound cache, loads in the
// background, the 100-slot channel pool and its last-in, first-out reuse,
// pause, looping, volume, unreadable files and the silent fallback when no
// audio device is usable.
#include <cmath>
#include <set>

#include "engine/audio/sound.h"
#include "engine/platform/platform.h"
#include "graphics_helpers.h"

namespace {

// A 16-bit mono 44.1 kHz WAV of a quiet tone lasting `milliseconds`.
std::string MakeWav(const std::string& name, int milliseconds) {
    static const std::string folder = MakeTempFolder();
    const uint32_t samples = 44100 * milliseconds / 1000;
    // "RIFF", size, "WAVE", "fmt ", 16, PCM and mono, rate, bytes a second, 2 and 16 bits, "data".
    const uint32_t header[] = {0x46464952, 36 + samples * 2, 0x45564157, 0x20746D66,
                               16,         0x10001,          44100,      88200,
                               0x100002,   0x61746164,       samples * 2};
    std::string wav((const char*)header, sizeof header); // little-endian, as WAV is
    for (uint32_t i = 0; i < samples; ++i) {
        const int16_t sample = (int16_t)(1000 * std::sin(i * 0.06));
        wav.append((const char*)&sample, 2);
    }
    WriteBytes(folder + "/" + name, wav);
    return folder + "/" + name;
}

class SoundTest : public testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        ASSERT_TRUE(InitSound());
        shortPath = MakeWav("Short.wav", 1);
        longPath = MakeWav("Long.wav", 400);
    }
    void TearDown() override { ShutdownSound(); }
    // Plays `count` paused copies of the long sound.
    std::vector<Channel*> PlayPaused(int count) {
        std::vector<Channel*> played;
        for (int i = 0; i < count; ++i)
            played.push_back(PlaySound(LoadSound(longPath.c_str()), true));
        return played;
    }
    std::string shortPath, longPath;
};

TEST_F(SoundTest, OneSoundPerPathReleasedOnce) {
    Sound* first = LoadSound(shortPath.c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LoadSound(shortPath.c_str()), first);
    Sound* other = LoadSound(longPath.c_str());
    EXPECT_NE(other, first);
    EXPECT_EQ(SoundCacheCount(), 2);
    ReleaseSound(first);
    ReleaseSound(nullptr);
    EXPECT_EQ(SoundCacheCount(), 1);
    EXPECT_EQ(CountLines(CaptureStderrOf([&] { ReleaseSound(first); })), 1); // twice: refused
    EXPECT_EQ(LoadSound(longPath.c_str()), other);
    Sound* again = LoadSound(shortPath.c_str()); // loaded again after its release: it works
    ASSERT_NE(again, nullptr);
    EXPECT_NE(PlaySound(again, true), nullptr);
}

TEST_F(SoundTest, UnreadableFilesGiveNullAndOneLineNamingThem) {
    const std::string garbage = MakeWav("Garbage.mp3", 0); // then not a sound at all
    WriteBytes(garbage, std::string(300, 'x'));
    const std::string tooLong = "data/" + std::string(251, 'a') + ".wav"; // 260 characters
    for (const std::string& path : {garbage + ".missing", garbage, tooLong}) {
        const std::string err =
            CaptureStderrOf([&] { EXPECT_EQ(LoadSound(path.c_str()), nullptr) << path; });
        EXPECT_EQ(CountLines(err), 1) << err;
        EXPECT_NE(err.find(path), std::string::npos) << err;
    }
    EXPECT_EQ(SoundCacheCount(), 0);
    EXPECT_EQ(PlaySound(nullptr, false), nullptr);
    EXPECT_EQ(BusyChannelCount(), 0);
}

// A sound loaded in the background reaches its slot at FinishSoundLoads, as
// LoadSound would have returned it: cached once, null (and named) when bad.
TEST_F(SoundTest, BackgroundLoadsFillTheirSlotsAtFinish) {
    Sound* cached = LoadSound(shortPath.c_str());
    const std::string missing = longPath + ".missing", tooLong = "data/" + std::string(260, 'a');
    Sound *longOne = nullptr, *again = nullptr, *bad = cached, *overlong = cached, *known = nullptr;
    std::string err = CaptureStderrOf([&] {
        LoadSoundInBackground(longPath.c_str(), &longOne);
        LoadSoundInBackground(longPath.c_str(), &again); // the same path twice
        LoadSoundInBackground(missing.c_str(), &bad);
        LoadSoundInBackground(tooLong.c_str(), &overlong);
        LoadSoundInBackground(shortPath.c_str(), &known);
        EXPECT_EQ(known, cached); // cached already: at once
        EXPECT_EQ(longOne, nullptr);
        EXPECT_EQ(bad, nullptr);
        FinishSoundLoads();
    });
    EXPECT_EQ(CountLines(err), 2) << err;
    EXPECT_NE(err.find(missing), std::string::npos) << err;
    EXPECT_NE(err.find(tooLong), std::string::npos) << err;
    EXPECT_EQ(overlong, nullptr);
    EXPECT_EQ(bad, nullptr);
    ASSERT_NE(longOne, nullptr);
    EXPECT_EQ(again, longOne);
    EXPECT_EQ(LoadSound(longPath.c_str()), longOne);
    EXPECT_EQ(SoundCacheCount(), 2);
    EXPECT_NE(PlaySound(longOne, true), nullptr);
    // Shut down while a sound decodes: it is waited for and freed.
    LoadSoundInBackground(MakeWav("Later.wav", 200).c_str(), &known);
    ShutdownSound();
    EXPECT_EQ(SoundCacheCount(), 0);
}

TEST_F(SoundTest, HundredChannelsThenNullAndTheLastReturnedSlotIsHandedOutFirst) {
    std::vector<Channel*> played = PlayPaused(CHANNEL_COUNT);
    std::set<Channel*> distinct(played.begin(), played.end());
    EXPECT_EQ(distinct.size(), 100u);
    EXPECT_EQ(distinct.count(nullptr), 0u);
    EXPECT_EQ(PlaySound(LoadSound(longPath.c_str()), true), nullptr);
    StopAllSounds();
    EXPECT_EQ(FreeChannelCount(), CHANNEL_COUNT);
    EXPECT_FALSE(IsChannelPlaying(played[0]));
    // StopAllSounds returns the last played first, so the first played is on top.
    played = PlayPaused(3);
    StopAllSounds();
    EXPECT_EQ(PlayPaused(3), played);
    // A slot whose sound ended comes back on the next UpdateSound, and on top.
    PlatformAudioStop(played[1]->voice);
    EXPECT_EQ(BusyChannelCount(), 3);
    UpdateSound();
    EXPECT_EQ(BusyChannelCount(), 2);
    EXPECT_EQ(PlayPaused(1)[0], played[1]);
}

TEST_F(SoundTest, VolumeIsClampedStoredAndApplied) {
    Channel* channel = PlayPaused(1)[0];
    EXPECT_FLOAT_EQ(PlatformAudioGetVolume(channel->voice), 1.0f);
    const float cases[][2] = {{1.5f, 1.0f}, {-0.2f, 0.0f}, {0.5f, 0.5f}, {NAN, 0.0f}};
    for (const auto& [asked, expected] : cases) {
        SetChannelVolume(channel, asked);
        EXPECT_FLOAT_EQ(channel->volume, expected) << asked;
        EXPECT_FLOAT_EQ(PlatformAudioGetVolume(channel->voice), expected) << asked;
    }
    // A new play on the slot starts at the volume it is asked for, stored and
    // applied at once (never the slot's last volume, never a full-volume burst).
    SetChannelVolume(channel, 0.25f);
    StopAllSounds();
    ASSERT_EQ(PlayPaused(1)[0], channel);
    EXPECT_FLOAT_EQ(channel->volume, 1.0f);
    StopAllSounds();
    ASSERT_EQ(PlaySound(LoadSound(longPath.c_str()), false, 0.0f), channel);
    EXPECT_FLOAT_EQ(channel->volume, 0.0f);
    EXPECT_FLOAT_EQ(PlatformAudioGetVolume(channel->voice), 0.0f);
}

// No usable audio device: one warning line, a silent dummy driver, and a working
// driver opened without a warning afterwards. Without sound hardware (like the
// build machines) the default drivers fail too: one line, ALSA's complaints included.
TEST(SoundFallbackTest, BrokenOrMissingDriversFallBackToSilentDummyWithOneWarning) {
    const std::string shortPath = MakeWav("Fallback.wav", 1);
    bool started = false;
    setenv("SDL_AUDIODRIVER", "no_such_audio_driver", 1);
    std::string err = CaptureStderrOf([&] { started = InitSound(); });
    ASSERT_TRUE(started);
    EXPECT_EQ(CountLines(err), 1) << err;
    EXPECT_STREQ(PlatformAudioDriverName(), "dummy");
    EXPECT_TRUE(IsChannelPlaying(PlaySound(LoadSound(shortPath.c_str()), true)));
    ShutdownSound();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_EQ(CaptureStderrOf([&] { started = InitSound(); }), "");
    Channel* channel = PlaySound(LoadSound(shortPath.c_str()), true);
    ASSERT_TRUE(InitSound()); // a second InitSound keeps the same pool and cache
    EXPECT_EQ(BusyChannelCount() + SoundCacheCount(), 2);
    EXPECT_TRUE(IsChannelPlaying(channel));
    ShutdownSound();
    unsetenv("SDL_AUDIODRIVER");
    err = CaptureStderrOf([&] { started = InitSound(); });
    const std::string driver = PlatformAudioDriverName();
    ShutdownSound();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(started);
    if (driver == "dummy") {
        EXPECT_EQ(CountLines(err), 1) << err;
    }
}

} // namespace
