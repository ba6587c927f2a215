// The splash screen run through the state manager on the stepped clock: the
// pause before the studio logo, the hand-over to the audio-library logo at
// the studio animation's frame 16 and to the menu at the second animation's
// frame 17, the skip keys (held) and mouse buttons (only as they go down),
// and the global keys doing nothing here. Runs against animation files the
// test writes (exact frame counts) and against the game's data folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/game_state.h"
#include "app/input.h"
#include "app/settings.h"
#include "app/window.h"
#include "engine/file.h"
#include "frontend_test_files.h"
#include "harness/harness.h"
#include "objects/animation.h"
#include "objects/game_object.h"
#include "screens/splash.h"

namespace fs = std::filesystem;
using namespace frontend_test;

namespace {

constexpr int32_t BARE_STATE = 20; // a state of the test's own with no callbacks

// The n-th (0: studio, 1: audio library) live "TarnLogoSprite".
Sprite* Logo(size_t n) {
    std::vector<GameObject*> logos = ObjectsNamed("TarnLogoSprite");
    return n < logos.size() ? static_cast<Sprite*>(logos[n]) : nullptr;
}

bool StudioAtHandover() {
    return Logo(0) && Logo(0)->frame == 16;
}
bool AudioLogoAtEnd() {
    return Logo(1) && Logo(1)->frame == 17;
}
bool StudioPlaying() {
    return Logo(0) && Logo(0)->playing;
}

class SplashTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartTestEngine();
        splashFirstRun = true; // the program has just started
    }
    void TearDown() override {
        StopTestEngine();
        if (!ownData.empty()) fs::remove_all(ownData);
    }

    // Points the game at a data folder holding only the two logo animations:
    // 20 studio frames and 20 audio-library frames of 0.05 s.
    void UseOwnAnimations() {
        ownData = MakeDataFolder("splash_test");
        WriteAnimation(ownData, "TarnAnim", 20, 0.05f, 0x3070C0);
        WriteAnimation(ownData, "FmodAnimData", 20, 0.05f, 0xC07030);
        SetGameBaseDir(ownData.string());
    }

    // Enters the splash from a bare state, so input given now is already
    // held when the splash's first frame runs.
    void EnterSplashFromBareState() {
        StartGame(GS_SPLASH);
        AddGameState(BARE_STATE, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        EnterFirstState(BARE_STATE);
        RunFrames(1);
    }

    fs::path ownData;
};

TEST_F(SplashTest, StudioLogoStartsOneAndAHalfSecondsAfterInit) {
    UseOwnAnimations();
    StartGame(GS_SPLASH);
    int frames = RunFramesUntil(StudioPlaying, 200);
    // 1.5 s at 60 frames per second: the 91st frame's Update starts it.
    EXPECT_NEAR(frames, 91, 1);
    EXPECT_EQ(Logo(0)->frame, 0u);
    EXPECT_FALSE(splashFirstRun);
    EXPECT_FALSE(Logo(1)->visible);
    EXPECT_EQ(currentState, GS_SPLASH);
}

TEST_F(SplashTest, SecondLogoAtStudioFrame16AndMenuAtItsFrame17) {
    UseOwnAnimations();
    StartGame(GS_SPLASH);
    RunFramesUntil(StudioAtHandover, 600);
    ASSERT_TRUE(StudioAtHandover());
    EXPECT_FALSE(Logo(1)->visible); // frame 16 was reached in this frame's Draw
    RunFrames(1);
    EXPECT_TRUE(Logo(1)->visible);
    EXPECT_TRUE(Logo(1)->playing);

    RunFramesUntil(AudioLogoAtEnd, 600);
    ASSERT_TRUE(AudioLogoAtEnd());
    EXPECT_EQ(currentState, GS_SPLASH);
    RunFrames(1);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
    EXPECT_EQ(previousState, GS_SPLASH);
}

TEST_F(SplashTest, LogosAreDrawnFromTheirSheets) {
    UseOwnAnimations();
    StartGame(GS_SPLASH);
    RunFramesUntil(StudioPlaying, 200);
    Screenshot studio = CaptureFrame();
    fs::create_directories(MORROW_BUILD_DIR "/shots");
    studio.SavePng(MORROW_BUILD_DIR "/shots/splash_own_studio.png");
    EXPECT_EQ(studio.AtDesign(0, 0) & 0xFFFFFF, 0x3070C0u);
    EXPECT_EQ(studio.AtDesign(300, 0) & 0xFFFFFF, 0x3070C0u); // 640 wide
    EXPECT_EQ(studio.AtDesign(0, 170) & 0xFFFFFF, 0x3070C0u); // 360 high
    EXPECT_EQ(studio.AtDesign(340, 0) & 0xFFFFFF, 0x000000u); // beyond it
    RunFramesUntil(StudioAtHandover, 600);
    RunFrames(2);
    Screenshot both = CaptureFrame();
    both.SavePng(MORROW_BUILD_DIR "/shots/splash_own_both.png");
    EXPECT_EQ(both.AtDesign(0, 0) & 0xFFFFFF, 0xC07030u); // the second logo lies over the first
    EXPECT_EQ(both.AtDesign(0, 100) & 0xFFFFFF, 0x3070C0u);
}

// Escape, Space and Enter count while held: a key already down when the
// splash's first frame runs skips it at once.
class SplashSkipKeyTest : public SplashTest, public ::testing::WithParamInterface<int> {};

TEST_P(SplashSkipKeyTest, HeldKeySkipsAtOnce) {
    UseOwnAnimations();
    EnterSplashFromBareState();
    KeyDown(GetParam());
    nextState = GS_SPLASH;
    RunFrames(1); // the key goes down in the bare state's frame
    ASSERT_EQ(currentState, GS_SPLASH);
    RunFrames(1); // the splash's first frame sees it held
    EXPECT_EQ(keyState[GetParam()], 1);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

INSTANTIATE_TEST_SUITE_P(EscapeSpaceEnter, SplashSkipKeyTest,
                         ::testing::Values(VK_ESCAPE, VK_SPACE, VK_RETURN));

TEST_F(SplashTest, OtherKeysHeldDoNotSkip) {
    UseOwnAnimations();
    StartGame(GS_SPLASH);
    for (int key : {int('A'), int(VK_TAB), int(VK_SHIFT), int(VK_BACK)})
        KeyDown(key);
    RunFrames(30);
    EXPECT_EQ(currentState, GS_SPLASH);
}

TEST_F(SplashTest, HeldMouseButtonDoesNotSkip) {
    UseOwnAnimations();
    EnterSplashFromBareState();
    MouseDown(MOUSE_LEFT);
    nextState = GS_SPLASH;
    RunFrames(1); // pressed in the bare state's frame
    RunFrames(30);
    EXPECT_EQ(mouseButtonState[MOUSE_LEFT], 1);
    EXPECT_EQ(currentState, GS_SPLASH);
    MouseUp(MOUSE_LEFT);
    RunFrames(1);
    MouseDown(MOUSE_RIGHT); // the right button skips as it goes down
    RunFrames(1);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

TEST_F(SplashTest, LeftButtonSkipsInTheFrameItGoesDown) {
    UseOwnAnimations();
    StartGame(GS_SPLASH);
    RunFrames(5);
    ASSERT_EQ(currentState, GS_SPLASH);
    MouseDown(MOUSE_LEFT);
    RunFrames(1);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

TEST_F(SplashTest, GlobalKeysDoNothingHere) {
    UseOwnAnimations();
    StartGame(GS_SPLASH);
    RunFrames(2);
    bool chosenBefore = fullscreenChosen;
    for (int key : {'S', 'Q', 'R', 'M', 'O', 'P'}) {
        TapKey(key);
        EXPECT_EQ(currentState, GS_SPLASH) << static_cast<char>(key);
        EXPECT_EQ(nextState, GS_SPLASH) << static_cast<char>(key);
    }
    KeyDown(VK_CONTROL);
    KeyDown(VK_ALT);
    KeyDown(VK_F4);
    RunFrames(2);
    KeyUp(VK_F4);
    KeyUp(VK_ALT);
    KeyUp(VK_CONTROL);
    RunFrames(1);
    EXPECT_FALSE(GameHasQuit());
    EXPECT_EQ(currentState, GS_SPLASH);
    EXPECT_FALSE(isFullscreen);
    EXPECT_EQ(fullscreenChosen, chosenBefore);
}

TEST_F(SplashTest, MissingAnimationsLeaveOnlyTheSkip) {
    SetGameBaseDir((fs::temp_directory_path() / "splash_test_nothing_here").string());
    StartGame(GS_SPLASH);
    RunFrames(300);
    EXPECT_EQ(currentState, GS_SPLASH); // no frame 16 or 17 ever comes
    EXPECT_FALSE(Logo(0)->visible);     // and no bare square stands in for a logo
    EXPECT_FALSE(Logo(1)->visible);
    EXPECT_EQ(CaptureFrame().AtDesign(0, 0) & 0xFFFFFF, 0u);
    TapKey(VK_SPACE);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

// The game's own logo animations: long enough for both hand-overs, and the
// splash reaches the menu by itself.
TEST_F(SplashTest, GameDataSplashRunsToTheMenu) {
    Animation* studio = LoadAnimation("data\\Animation\\TarnAnim");
    Animation* audio = LoadAnimation("data\\Animation\\FmodAnimData");
    ASSERT_NE(studio, nullptr) << "data\\Animation\\TarnAnim missing from " MORROW_BUILD_DIR;
    ASSERT_NE(audio, nullptr) << "data\\Animation\\FmodAnimData missing";
    EXPECT_GE(studio->frameCount, 17u);
    EXPECT_GE(audio->frameCount, 18u);
    FreeAllAnimations();

    StartGame(GS_SPLASH);
    fs::create_directories(MORROW_BUILD_DIR "/shots");
    RunFramesUntil([] { return Logo(0) && Logo(0)->frame == 8; }, 60 * 60);
    Screenshot studioShot = CaptureFrame();
    studioShot.SavePng(MORROW_BUILD_DIR "/shots/splash_studio.png");
    EXPECT_NE(studioShot.AtDesign(0, 0), studioShot.At(2, 2)); // something drawn mid-screen
    RunFramesUntil(StudioAtHandover, 60 * 60);
    ASSERT_TRUE(StudioAtHandover());
    CaptureFrame().SavePng(MORROW_BUILD_DIR "/shots/splash_handover.png");
    EXPECT_TRUE(Logo(1)->visible);
    RunFrames(20);
    CaptureFrame().SavePng(MORROW_BUILD_DIR "/shots/splash_audio_logo.png");
    RunFramesUntil([] { return currentState == GS_MAIN_MENU; }, 60 * 60);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

} // namespace
