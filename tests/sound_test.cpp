// The sound system on SDL's dummy driver: the sound cache, the 100-slot channel
// pool and its last-in, first-out reuse, pause, looping, volume, stale voices,
// unreadable files and the silent fallback when no audio device is usable.
#include "engine/audio/sound.h"
#include "engine/file.h"
#include "engine/platform/platform.h"
#include "graphics_helpers.h"

#include <chrono>
#include <cmath>
#include <set>
#include <thread>

namespace {

std::string Folder() {
    static const std::string folder = MakeTempFolder();
    return folder;
}

// A 16-bit mono 44.1 kHz WAV of a quiet tone lasting `milliseconds`.
std::string MakeWav(const std::string& name, int milliseconds) {
    const uint32_t samples = 44100 * milliseconds / 1000;
    std::string wav;
    auto put = [&wav](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            wav.push_back((char)(value >> (8 * i)));
    };
    wav += "RIFF";
    put(36 + samples * 2, 4);
    wav += "WAVEfmt ";
    for (auto [value, bytes] : {std::pair<uint32_t, int>{16, 4},
                                {1, 2},
                                {1, 2},
                                {44100, 4},
                                {88200, 4},
                                {2, 2},
                                {16, 2}}) // PCM, mono, 16 bits
        put(value, bytes);
    wav += "data";
    put(samples * 2, 4);
    for (uint32_t i = 0; i < samples; ++i)
        put((uint16_t)(int16_t)(1000 * std::sin(i * 0.06)), 2);
    WriteBytes(Folder() + "/" + name, wav);
    return Folder() + "/" + name;
}

// 20 silent MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz, mono), each a header and zeros.
std::string MakeMp3(const std::string& name) {
    std::string mp3;
    for (int frame = 0; frame < 20; ++frame)
        mp3 += std::string("\xFF\xFB\x90\xC0", 4) + std::string(417 - 4, '\0');
    WriteBytes(Folder() + "/" + name, mp3);
    return Folder() + "/" + name;
}

// Waits (bounded) until the mixer thread has played `channel` to its end.
// Only the natural-end test needs it; everything else is deterministic.
bool WaitUntilEnded(Channel* channel) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (IsChannelPlaying(channel)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::yield();
    }
    return true;
}

class SoundTest : public testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        ASSERT_TRUE(InitSound());
        ASSERT_TRUE(HasAudioSystem());
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
    EXPECT_EQ(SoundCacheCount(), 1);
    EXPECT_STREQ(first->path, shortPath.c_str());
    Sound* other = LoadSound(longPath.c_str());
    EXPECT_NE(other, first);
    EXPECT_EQ(SoundCacheCount(), 2);
    ReleaseSound(first);
    ReleaseSound(nullptr);
    EXPECT_EQ(SoundCacheCount(), 1);
    EXPECT_EQ(CountLines(CaptureStderrOf([&] { ReleaseSound(first); })), 1); // twice: refused
    EXPECT_EQ(LoadSound(longPath.c_str()), other);
    // Loaded again after its release it is a working sound once more.
    Sound* again = LoadSound(shortPath.c_str());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(SoundCacheCount(), 2);
    EXPECT_NE(PlaySound(again, true), nullptr);
}

TEST_F(SoundTest, GamePathsReadTheDataFolderAndMp3AndWavDecode) {
    const std::string base = Folder() + "/game";
    std::filesystem::create_directories(base + "/data");
    std::filesystem::rename(MakeWav("Coin.wav", 1), base + "/data/Coin.wav");
    std::filesystem::rename(MakeMp3("Silence.mp3"), base + "/data/Silence.mp3");
    const std::string saved = GetGameBaseDir();
    SetGameBaseDir(base);
    Sound* backslashed = LoadSound("data\\Coin.wav");
    Sound* slashed = LoadSound("data/Coin.wav");
    Sound* mp3 = LoadSound("data\\Silence.mp3");
    SetGameBaseDir(saved);
    EXPECT_NE(backslashed, nullptr);
    EXPECT_NE(slashed, nullptr);
    ASSERT_NE(mp3, nullptr);
    Channel* channel = PlaySound(mp3, true);
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(IsChannelPlaying(channel));
}

TEST_F(SoundTest, UnreadableFilesGiveNullAndOneLineNamingThem) {
    const std::string missing = Folder() + "/NoSuchSound.wav";
    const std::string garbage = Folder() + "/Garbage.mp3";
    WriteBytes(garbage, std::string(300, 'x'));
    const std::string tooLong = "data/" + std::string(251, 'a') + ".wav"; // 260 characters
    for (const std::string& path : {missing, garbage, tooLong}) {
        const std::string err =
            CaptureStderrOf([&] { EXPECT_EQ(LoadSound(path.c_str()), nullptr) << path; });
        EXPECT_EQ(CountLines(err), 1) << err;
        EXPECT_NE(err.find(path), std::string::npos) << err;
    }
    EXPECT_EQ(SoundCacheCount(), 0);
    EXPECT_EQ(PlaySound(nullptr, false), nullptr);
    EXPECT_EQ(BusyChannelCount(), 0);
}

TEST_F(SoundTest, ShutdownEmptiesTheCacheAndPoolAndLeavesEveryCallHarmless) {
    LoadSound(shortPath.c_str());
    Channel* channel = PlayPaused(3)[0];
    EXPECT_EQ(SoundCacheCount(), 2);
    ShutdownSound();
    EXPECT_FALSE(HasAudioSystem());
    EXPECT_EQ(SoundCacheCount() + BusyChannelCount() + FreeChannelCount(), 0);
    EXPECT_EQ(LoadSound(shortPath.c_str()), nullptr);
    EXPECT_FALSE(IsChannelPlaying(channel));
    for (Channel* target : {channel, (Channel*)nullptr}) {
        ResumeChannel(target);
        PauseChannel(target);
        SetChannelLooping(target);
        SetChannelVolume(target, 0.5f);
    }
    EXPECT_FALSE(IsChannelPlaying(nullptr));
    UpdateSound();
    StopAllSounds();
    ASSERT_TRUE(InitSound());
    EXPECT_EQ(FreeChannelCount(), CHANNEL_COUNT);
    EXPECT_EQ(BusyChannelCount() + SoundCacheCount(), 0);
}

TEST_F(SoundTest, HundredConcurrentPlaysThenNull) {
    std::vector<Channel*> played = PlayPaused(CHANNEL_COUNT);
    std::set<Channel*> distinct(played.begin(), played.end());
    EXPECT_EQ(distinct.size(), static_cast<size_t>(CHANNEL_COUNT));
    EXPECT_EQ(distinct.count(nullptr), 0u);
    EXPECT_EQ(BusyChannelCount(), CHANNEL_COUNT);
    EXPECT_EQ(FreeChannelCount(), 0);
    EXPECT_EQ(PlaySound(LoadSound(longPath.c_str()), true), nullptr);
    StopAllSounds();
    EXPECT_EQ(BusyChannelCount(), 0);
    EXPECT_EQ(FreeChannelCount(), CHANNEL_COUNT);
    for (Channel* channel : played)
        EXPECT_FALSE(IsChannelPlaying(channel));
}

TEST_F(SoundTest, LastReturnedSlotIsHandedOutFirst) {
    std::vector<Channel*> played = PlayPaused(3);
    // StopAllSounds returns the last played first, so the first played is on top.
    StopAllSounds();
    EXPECT_EQ(PlayPaused(3), played);
    // A slot whose sound ended comes back on the next UpdateSound, and on top.
    PlatformAudioStop(played[1]->voice);
    EXPECT_EQ(BusyChannelCount(), 3);
    UpdateSound();
    EXPECT_EQ(BusyChannelCount(), 2);
    EXPECT_EQ(PlayPaused(1)[0], played[1]);
}

TEST_F(SoundTest, PausedChannelStaysBusyAndLoopingKeepsPauseAndVolume) {
    Channel* channel = PlayPaused(1)[0];
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(channel->paused && PlatformAudioIsPaused(channel->voice));
    for (int frame = 0; frame < 100; ++frame)
        UpdateSound();
    EXPECT_TRUE(IsChannelPlaying(channel));
    EXPECT_EQ(BusyChannelCount(), 1);
    SetChannelVolume(channel, 0.25f);
    SetChannelLooping(channel);
    EXPECT_TRUE(channel->looping);
    EXPECT_TRUE(PlatformAudioIsPaused(channel->voice));
    EXPECT_FLOAT_EQ(PlatformAudioGetVolume(channel->voice), 0.25f);
    ResumeChannel(channel);
    EXPECT_FALSE(channel->paused || PlatformAudioIsPaused(channel->voice));
    PauseChannel(channel);
    EXPECT_TRUE(channel->paused && PlatformAudioIsPaused(channel->voice));
}

// The mixer thread plays in real time here: a 1 ms sound played once ends,
// while a paused one and a looping one of the same length stay.
TEST_F(SoundTest, OnceEndsButPausedAndLoopingStayUntilStopAll) {
    Sound* sound = LoadSound(shortPath.c_str());
    Channel* paused = PlaySound(sound, true);
    Channel* looping = PlaySound(sound, false);
    SetChannelLooping(looping);
    Channel* once = PlaySound(sound, false);
    ASSERT_TRUE(paused && looping && once);
    ASSERT_TRUE(WaitUntilEnded(once));
    EXPECT_EQ(BusyChannelCount(), 3); // nothing moves between updates
    UpdateSound();
    EXPECT_EQ(BusyChannelCount(), 2);
    EXPECT_TRUE(IsChannelPlaying(paused));
    EXPECT_TRUE(IsChannelPlaying(looping)); // played past its end, so it did loop
    EXPECT_EQ(PlaySound(sound, true), once);
    StopAllSounds();
    EXPECT_EQ(BusyChannelCount(), 0);
    EXPECT_FALSE(IsChannelPlaying(looping));
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

// With all 100 mixer channels taken, a new play can only reuse the ended voice's
// channel: the old voice must read as finished and leave the new sound alone.
TEST_F(SoundTest, StaleVoiceNeverTouchesTheSoundThatReusedItsChannel) {
    Channel* ended = PlayPaused(CHANNEL_COUNT)[42];
    PlatformAudioStop(ended->voice);
    AudioVoice newer = PlatformAudioPlay(LoadSound(longPath.c_str())->data, true, 1.0f);
    ASSERT_GE(newer, 0);
    ASSERT_NE(newer, ended->voice);
    EXPECT_FALSE(IsChannelPlaying(ended));
    ResumeChannel(ended);
    EXPECT_TRUE(PlatformAudioIsPaused(newer));
    SetChannelVolume(ended, 0.1f);
    EXPECT_FLOAT_EQ(PlatformAudioGetVolume(newer), 1.0f);
    SetChannelLooping(ended);
    PlatformAudioStop(ended->voice);
    EXPECT_TRUE(PlatformAudioIsPlaying(newer) && PlatformAudioIsPaused(newer));
    UpdateSound();
    EXPECT_EQ(BusyChannelCount(), CHANNEL_COUNT - 1);
    EXPECT_EQ(FreeChannelCount(), 1);
    PlatformAudioStop(newer);
    EXPECT_FALSE(PlatformAudioIsPlaying(newer));
    EXPECT_FALSE(PlatformAudioIsPlaying(-1));
}

// No usable audio device

TEST(SoundFallbackTest, BrokenDriverFallsBackToSilentDummyWithOneWarning) {
    const std::string shortPath = MakeWav("Fallback.wav", 1);
    setenv("SDL_AUDIODRIVER", "no_such_audio_driver", 1);
    bool started = false;
    std::string err = CaptureStderrOf([&] { started = InitSound(); });
    ASSERT_TRUE(started);
    EXPECT_EQ(CountLines(err), 1) << err;
    EXPECT_NE(err.find("dummy"), std::string::npos) << err;
    EXPECT_STREQ(PlatformAudioDriverName(), "dummy");
    Channel* channel = PlaySound(LoadSound(shortPath.c_str()), true);
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(IsChannelPlaying(channel));
    ShutdownSound();
    EXPECT_STREQ(PlatformAudioDriverName(), "");
    // The fallback lasts only while needed: a working driver opens without a warning.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_EQ(CaptureStderrOf([&] { started = InitSound(); }), "");
    ASSERT_TRUE(started);
    // A second InitSound keeps the same pool and cache.
    channel = PlaySound(LoadSound(shortPath.c_str()), true);
    ASSERT_TRUE(InitSound());
    EXPECT_EQ(BusyChannelCount() + SoundCacheCount(), 2);
    EXPECT_TRUE(IsChannelPlaying(channel));
    ShutdownSound();
}

// Without sound hardware (like the build machines) the default drivers fail:
// one warning line in all, ALSA's own complaints included.
TEST(SoundFallbackTest, DefaultDriverWithoutDeviceWarnsOnce) {
    const char* named = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = named ? named : "";
    unsetenv("SDL_AUDIODRIVER");
    bool started = false;
    const std::string err = CaptureStderrOf([&] { started = InitSound(); });
    const std::string driver = PlatformAudioDriverName();
    ShutdownSound();
    if (named) setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    ASSERT_TRUE(started);
    if (driver != "dummy") GTEST_SKIP() << "this machine has a working " << driver << " device";
    EXPECT_EQ(CountLines(err), 1) << err;
}

} // namespace
