// Sound system tests: the sound cache, the 100-slot channel pool and its
// last-in, first-out reuse, pause, looping, volume clamping, stale voices,
// unreadable files and the silent fallback when no audio device is usable.
// Runs on SDL's dummy audio driver; sound files are written by the tests.
#include "engine/audio/sound.h"
#include "engine/file.h"
#include "engine/platform/platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// ---------------------------------------------------------------------------
// Test files
// ---------------------------------------------------------------------------

// A fresh folder for this test program's sound files.
std::string TempFolder() {
    static std::string folder;
    if (folder.empty()) {
        std::string pattern = "/tmp/morrow_sound_test_XXXXXX";
        char* made = mkdtemp(pattern.data());
        if (made) folder = made;
    }
    return folder;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

void PutLE(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A 16-bit mono 44.1 kHz WAV of a quiet tone lasting `milliseconds`.
std::string MakeWav(const std::string& name, int milliseconds) {
    const int rate = 44100;
    int samples = rate * milliseconds / 1000;
    std::vector<uint8_t> wav;
    auto tag = [&](const char* text) { wav.insert(wav.end(), text, text + 4); };
    tag("RIFF");
    PutLE(wav, 36 + samples * 2, 4);
    tag("WAVE");
    tag("fmt ");
    PutLE(wav, 16, 4);
    PutLE(wav, 1, 2); // PCM
    PutLE(wav, 1, 2); // mono
    PutLE(wav, rate, 4);
    PutLE(wav, rate * 2, 4);
    PutLE(wav, 2, 2);
    PutLE(wav, 16, 2);
    tag("data");
    PutLE(wav, samples * 2, 4);
    for (int i = 0; i < samples; ++i)
        PutLE(wav, static_cast<uint16_t>(static_cast<int16_t>(1000 * std::sin(i * 0.06))), 2);
    std::string path = TempFolder() + "/" + name;
    WriteBytes(path, wav);
    return path;
}

// An MP3 of 20 silent MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz, mono):
// each frame is its header followed by zero side information and data.
std::string MakeMp3(const std::string& name) {
    const int frameBytes = 417; // 144 * 128000 / 44100
    std::vector<uint8_t> mp3;
    for (int frame = 0; frame < 20; ++frame) {
        const uint8_t header[4] = {0xFF, 0xFB, 0x90, 0xC0};
        mp3.insert(mp3.end(), header, header + 4);
        mp3.insert(mp3.end(), frameBytes - 4, 0);
    }
    std::string path = TempFolder() + "/" + name;
    WriteBytes(path, mp3);
    return path;
}

// Waits (bounded) until the mixer thread has played `channel` to its end.
// Only the natural-end tests use it; everything else is deterministic.
bool WaitUntilEnded(Channel* channel) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (IsChannelPlaying(channel)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::yield();
    }
    return true;
}

// Removes the test files when the program ends.
class TempFolderCleanup : public testing::Environment {
  public:
    void TearDown() override {
        if (!TempFolder().empty()) std::filesystem::remove_all(TempFolder());
    }
};
testing::Environment* const tempFolderCleanup =
    testing::AddGlobalTestEnvironment(new TempFolderCleanup);

int CountLines(const std::string& text) {
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

// ---------------------------------------------------------------------------
// Fixture: the sound system up on the dummy driver
// ---------------------------------------------------------------------------

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
        Sound* sound = LoadSound(longPath.c_str());
        std::vector<Channel*> played;
        for (int i = 0; i < count; ++i)
            played.push_back(PlaySound(sound, true));
        return played;
    }

    std::string shortPath, longPath;
};

// ---------------------------------------------------------------------------
// Sound cache
// ---------------------------------------------------------------------------

TEST_F(SoundTest, OneSoundPerPathCountedOnce) {
    EXPECT_EQ(SoundCacheCount(), 0);
    Sound* first = LoadSound(shortPath.c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LoadSound(shortPath.c_str()), first);
    EXPECT_EQ(SoundCacheCount(), 1);
    EXPECT_STREQ(first->path, shortPath.c_str());

    Sound* other = LoadSound(longPath.c_str());
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, first);
    EXPECT_EQ(SoundCacheCount(), 2);

    ReleaseSound(first);
    EXPECT_EQ(SoundCacheCount(), 1);
    ReleaseSound(nullptr);
    EXPECT_EQ(SoundCacheCount(), 1);
    // Loaded again after its release it is a working sound once more.
    Sound* again = LoadSound(shortPath.c_str());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(SoundCacheCount(), 2);
    EXPECT_NE(PlaySound(again, true), nullptr);
}

TEST_F(SoundTest, ReleasingTwiceIsRefusedWithoutTouchingTheSound) {
    Sound* kept = LoadSound(longPath.c_str());
    Sound* released = LoadSound(shortPath.c_str());
    ReleaseSound(released);
    testing::internal::CaptureStderr();
    ReleaseSound(released);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(CountLines(err), 1) << err;
    EXPECT_EQ(SoundCacheCount(), 1);
    EXPECT_EQ(LoadSound(longPath.c_str()), kept);
}

TEST_F(SoundTest, GamePathsResolveUnderTheDataFolder) {
    std::string base = TempFolder() + "/game";
    mkdir(base.c_str(), 0755);
    mkdir((base + "/data").c_str(), 0755);
    std::string wav = MakeWav("Coin.wav", 1);
    ASSERT_EQ(std::rename(wav.c_str(), (base + "/data/Coin.wav").c_str()), 0);
    std::string oldBase = GetGameBaseDir();
    SetGameBaseDir(base);
    Sound* backslashed = LoadSound("data\\Coin.wav");
    Sound* slashed = LoadSound("data/Coin.wav");
    SetGameBaseDir(oldBase);
    EXPECT_NE(backslashed, nullptr);
    EXPECT_NE(slashed, nullptr);
}

TEST_F(SoundTest, Mp3IsDecoded) {
    std::string path = MakeMp3("Silence.mp3");
    Sound* sound = LoadSound(path.c_str());
    ASSERT_NE(sound, nullptr);
    Channel* channel = PlaySound(sound, true);
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(IsChannelPlaying(channel));
}

TEST_F(SoundTest, UnreadableFilesGiveNullAndOneLineNamingThem) {
    std::string missing = TempFolder() + "/NoSuchSound.wav";
    std::string garbage = TempFolder() + "/Garbage.mp3";
    WriteBytes(garbage, std::vector<uint8_t>(300, 'x'));
    std::string tooLong = "data/" + std::string(251, 'a') + ".wav"; // 260 characters

    for (const std::string& path : {missing, garbage, tooLong}) {
        testing::internal::CaptureStderr();
        Sound* sound = LoadSound(path.c_str());
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(sound, nullptr) << path;
        EXPECT_EQ(CountLines(err), 1) << err;
        EXPECT_NE(err.find(path), std::string::npos) << err;
    }
    EXPECT_EQ(SoundCacheCount(), 0);
    EXPECT_EQ(PlaySound(nullptr, false), nullptr);
    EXPECT_EQ(BusyChannelCount(), 0);
}

TEST_F(SoundTest, ShutdownEmptiesTheCacheAndGivesBackThePool) {
    LoadSound(shortPath.c_str());
    Channel* channel = PlayPaused(3)[0];
    EXPECT_EQ(SoundCacheCount(), 2);
    ShutdownSound();
    EXPECT_FALSE(HasAudioSystem());
    EXPECT_EQ(SoundCacheCount(), 0);
    EXPECT_EQ(BusyChannelCount() + FreeChannelCount(), 0);
    // Without a system every call is a harmless no-op.
    EXPECT_EQ(LoadSound(shortPath.c_str()), nullptr);
    EXPECT_FALSE(IsChannelPlaying(channel));
    ResumeChannel(channel);
    SetChannelLooping(channel);
    UpdateSound();
    StopAllSounds();

    ASSERT_TRUE(InitSound());
    EXPECT_EQ(FreeChannelCount(), CHANNEL_COUNT);
    EXPECT_EQ(BusyChannelCount(), 0);
    EXPECT_EQ(SoundCacheCount(), 0);
}

// ---------------------------------------------------------------------------
// Channel pool
// ---------------------------------------------------------------------------

TEST_F(SoundTest, HundredConcurrentPlaysThenNull) {
    EXPECT_EQ(FreeChannelCount(), CHANNEL_COUNT);
    std::vector<Channel*> played = PlayPaused(CHANNEL_COUNT);
    std::set<Channel*> distinct(played.begin(), played.end());
    EXPECT_EQ(distinct.size(), static_cast<size_t>(CHANNEL_COUNT));
    EXPECT_EQ(distinct.count(nullptr), 0u);
    EXPECT_EQ(BusyChannelCount(), CHANNEL_COUNT);
    EXPECT_EQ(FreeChannelCount(), 0);

    EXPECT_EQ(PlaySound(LoadSound(longPath.c_str()), true), nullptr);
    EXPECT_EQ(BusyChannelCount(), CHANNEL_COUNT);

    StopAllSounds();
    EXPECT_EQ(BusyChannelCount(), 0);
    EXPECT_EQ(FreeChannelCount(), CHANNEL_COUNT);
    for (Channel* channel : played)
        EXPECT_FALSE(IsChannelPlaying(channel));
}

TEST_F(SoundTest, LastReturnedSlotIsHandedOutFirst) {
    std::vector<Channel*> played = PlayPaused(3);
    Sound* sound = LoadSound(longPath.c_str());

    // StopAllSounds returns the last played first, so the first played is on top.
    StopAllSounds();
    EXPECT_EQ(PlaySound(sound, true), played[0]);
    EXPECT_EQ(PlaySound(sound, true), played[1]);
    EXPECT_EQ(PlaySound(sound, true), played[2]);

    // A slot whose sound ended comes back on the next UpdateSound, and on top.
    PlatformAudioStop(played[1]->voice);
    EXPECT_EQ(BusyChannelCount(), 3);
    UpdateSound();
    EXPECT_EQ(BusyChannelCount(), 2);
    EXPECT_EQ(PlaySound(sound, true), played[1]);
}

TEST_F(SoundTest, PausedChannelStaysBusy) {
    Channel* channel = PlayPaused(1)[0];
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(channel->paused);
    EXPECT_TRUE(PlatformAudioIsPaused(channel->voice));
    for (int frame = 0; frame < 100; ++frame)
        UpdateSound();
    EXPECT_TRUE(IsChannelPlaying(channel));
    EXPECT_EQ(BusyChannelCount(), 1);

    ResumeChannel(channel);
    EXPECT_FALSE(channel->paused);
    EXPECT_FALSE(PlatformAudioIsPaused(channel->voice));
    PauseChannel(channel);
    EXPECT_TRUE(channel->paused);
    EXPECT_TRUE(PlatformAudioIsPaused(channel->voice));
}

// The mixer thread plays the sounds in real time here: a 1 ms sound played
// once ends, while a paused one and a looping one of the same length stay.
TEST_F(SoundTest, OnceEndsButPausedAndLoopingStayUntilStopAll) {
    Sound* sound = LoadSound(shortPath.c_str());
    Channel* paused = PlaySound(sound, true);
    Channel* looping = PlaySound(sound, false);
    SetChannelLooping(looping);
    EXPECT_TRUE(looping->looping);
    Channel* once = PlaySound(sound, false);
    ASSERT_TRUE(paused && looping && once);

    ASSERT_TRUE(WaitUntilEnded(once));
    EXPECT_EQ(BusyChannelCount(), 3); // nothing moves between updates
    UpdateSound();
    EXPECT_EQ(BusyChannelCount(), 2);
    EXPECT_EQ(FreeChannelCount(), CHANNEL_COUNT - 2);
    EXPECT_TRUE(IsChannelPlaying(paused));
    EXPECT_TRUE(IsChannelPlaying(looping)); // played past its end, so it did loop
    EXPECT_EQ(PlaySound(sound, true), once);

    StopAllSounds();
    EXPECT_EQ(BusyChannelCount(), 0);
    EXPECT_FALSE(IsChannelPlaying(looping));
}

TEST_F(SoundTest, LoopingKeepsPauseAndVolume) {
    Channel* channel = PlayPaused(1)[0];
    SetChannelVolume(channel, 0.25f);
    SetChannelLooping(channel);
    EXPECT_TRUE(PlatformAudioIsPaused(channel->voice));
    EXPECT_FLOAT_EQ(PlatformAudioGetVolume(channel->voice), 0.25f);
    EXPECT_TRUE(IsChannelPlaying(channel));
    ResumeChannel(channel);
    EXPECT_FALSE(PlatformAudioIsPaused(channel->voice));
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
    // The slot keeps its stored volume, but a new play starts at full volume.
    SetChannelVolume(channel, 0.25f);
    StopAllSounds();
    Channel* reused = PlaySound(LoadSound(longPath.c_str()), true);
    ASSERT_EQ(reused, channel);
    EXPECT_FLOAT_EQ(reused->volume, 0.25f);
    EXPECT_FLOAT_EQ(PlatformAudioGetVolume(reused->voice), 1.0f);
}

// With all 100 mixer channels taken, a new play can only reuse the channel of
// the voice that ended: the old voice must then read as finished and every
// call through it must leave the new sound alone.
TEST_F(SoundTest, StaleVoiceNeverTouchesTheSoundThatReusedItsChannel) {
    std::vector<Channel*> played = PlayPaused(CHANNEL_COUNT);
    Channel* ended = played[42];
    PlatformAudioStop(ended->voice);
    AudioVoice newer = PlatformAudioPlay(LoadSound(longPath.c_str())->data, true);
    ASSERT_GE(newer, 0);
    ASSERT_NE(newer, ended->voice);

    EXPECT_FALSE(IsChannelPlaying(ended));
    ResumeChannel(ended);
    EXPECT_TRUE(PlatformAudioIsPaused(newer));
    SetChannelVolume(ended, 0.1f);
    EXPECT_FLOAT_EQ(PlatformAudioGetVolume(newer), 1.0f);
    SetChannelLooping(ended);
    PlatformAudioStop(ended->voice);
    EXPECT_TRUE(PlatformAudioIsPlaying(newer));
    EXPECT_TRUE(PlatformAudioIsPaused(newer));

    UpdateSound();
    EXPECT_EQ(BusyChannelCount(), CHANNEL_COUNT - 1);
    EXPECT_EQ(FreeChannelCount(), 1);
    PlatformAudioStop(newer);
    EXPECT_FALSE(PlatformAudioIsPlaying(newer));
}

TEST_F(SoundTest, NullChannelsAreIgnored) {
    ResumeChannel(nullptr);
    PauseChannel(nullptr);
    SetChannelLooping(nullptr);
    SetChannelVolume(nullptr, 0.5f);
    EXPECT_FALSE(IsChannelPlaying(nullptr));
    EXPECT_FALSE(PlatformAudioIsPlaying(-1));
}

// ---------------------------------------------------------------------------
// No usable audio device
// ---------------------------------------------------------------------------

TEST(SoundFallbackTest, BrokenDriverFallsBackToSilentDummyWithOneWarning) {
    std::string shortPath = MakeWav("Fallback.wav", 1);
    setenv("SDL_AUDIODRIVER", "no_such_audio_driver", 1);
    testing::internal::CaptureStderr();
    bool started = InitSound();
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(started);
    EXPECT_EQ(CountLines(err), 1) << err;
    EXPECT_NE(err.find("dummy"), std::string::npos) << err;
    EXPECT_STREQ(PlatformAudioDriverName(), "dummy");

    Channel* channel = PlaySound(LoadSound(shortPath.c_str()), true);
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(IsChannelPlaying(channel));
    ShutdownSound();
    EXPECT_STREQ(PlatformAudioDriverName(), "");

    // The fallback lasts only while it is needed: a working driver named
    // again opens without a warning.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(InitSound());
    err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "");
    ShutdownSound();
}

// On a machine without sound (like the build machines) the default drivers
// fail: one warning line in all, ALSA's own complaints included.
TEST(SoundFallbackTest, DefaultDriverWithoutDeviceWarnsOnce) {
    const char* named = std::getenv("SDL_AUDIODRIVER");
    std::string saved = named ? named : "";
    unsetenv("SDL_AUDIODRIVER");
    testing::internal::CaptureStderr();
    bool started = InitSound();
    std::string err = testing::internal::GetCapturedStderr();
    std::string driver = PlatformAudioDriverName();
    ShutdownSound();
    if (named) setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    ASSERT_TRUE(started);
    if (driver != "dummy") GTEST_SKIP() << "this machine has a working " << driver << " device";
    EXPECT_EQ(CountLines(err), 1) << err;
}

TEST(SoundFallbackTest, InitTwiceKeepsTheSamePool) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(InitSound());
    Channel* channel = PlaySound(LoadSound(MakeWav("Twice.wav", 1).c_str()), true);
    ASSERT_TRUE(InitSound());
    EXPECT_EQ(BusyChannelCount(), 1);
    EXPECT_EQ(SoundCacheCount(), 1);
    EXPECT_TRUE(IsChannelPlaying(channel));
    ShutdownSound();
}

} // namespace
