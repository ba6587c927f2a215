// The splash screen: the pause before the studio logo, the hand-over to the
// audio-library logo at the studio animation's frame 16 and to the menu at the
// second animation's frame 17, the skip keys (held) and mouse buttons (only as
// they go down), and the global keys doing nothing here.
#include "frontend_test_files.h"
#include "objects/animation.h"
#include "screens/splash.h"

using namespace frontend_test;
using namespace screen_test;

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
bool StudioPlaying() {
    return Logo(0) && Logo(0)->playing;
}

class SplashTest : public OwnDataTest {
  protected:
    // The splash on two animations of 20 frames of 0.05 s each.
    void SetUp() override {
        OwnDataTest::SetUp();
        splashFirstRun = true; // the program has just started
        MakeData("splash_test");
        WriteAnimation("TarnAnim", 20, 0.05f, 0x3070C0);
        WriteAnimation("FmodAnimData", 20, 0.05f, 0xC07030);
        UseData();
    }
    // Enters the splash from a bare state, so input given now is already held
    // when the splash's first frame runs.
    void EnterSplashFromBareState() {
        StartGame(GS_SPLASH);
        AddGameState(BARE_STATE, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        EnterFirstState(BARE_STATE);
        RunFrames(1);
    }
};

TEST_F(SplashTest, LogosAtTheirTimesAndDrawnFromTheirSheets) {
    StartGame(GS_SPLASH);
    // 1.5 s at 60 frames per second: the 91st frame's Update starts it; the
    // frames print nothing.
    testing::internal::CaptureStdout();
    EXPECT_NEAR(RunFramesUntil(StudioPlaying, 200), 91, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(Logo(0)->frame, 0u);
    EXPECT_FALSE(splashFirstRun);
    EXPECT_FALSE(Logo(1)->visible);
    Screenshot studio = CaptureShot("splash_own_studio");
    EXPECT_EQ(Rgb(studio.AtDesign(0, 0)), 0x3070C0u);
    EXPECT_EQ(Rgb(studio.AtDesign(300, 0)), 0x3070C0u); // 640 wide
    EXPECT_EQ(Rgb(studio.AtDesign(0, 170)), 0x3070C0u); // 360 high
    EXPECT_EQ(Rgb(studio.AtDesign(340, 0)), 0x000000u); // beyond it
    RunFramesUntil(StudioAtHandover, 600);
    ASSERT_TRUE(StudioAtHandover());
    EXPECT_FALSE(Logo(1)->visible); // frame 16 was reached in this frame's Draw
    RunFrames(1);
    EXPECT_TRUE(Logo(1)->visible);
    EXPECT_TRUE(Logo(1)->playing);
    Screenshot both = CaptureShot("splash_own_both");
    EXPECT_EQ(Rgb(both.AtDesign(0, 0)), 0xC07030u); // the second logo lies over the first
    EXPECT_EQ(Rgb(both.AtDesign(0, 100)), 0x3070C0u);
    RunFramesUntil([] { return Logo(1) && Logo(1)->frame == 17; }, 600);
    ASSERT_EQ(Logo(1)->frame, 17u);
    EXPECT_EQ(currentState, GS_SPLASH);
    RunFrames(1);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
    EXPECT_EQ(previousState, GS_SPLASH);
}

// Escape, Space and Enter count while held: a key already down when the
// splash's first frame runs skips it at once. Other keys do not.
TEST_F(SplashTest, HeldSkipKeysSkipAtOnceAndOtherKeysDoNot) {
    for (int key : {VK_ESCAPE, VK_SPACE, VK_RETURN}) {
        EnterSplashFromBareState();
        KeyDown(key);
        nextState = GS_SPLASH;
        RunFrames(1); // the key goes down in the bare state's frame
        ASSERT_EQ(currentState, GS_SPLASH);
        RunFrames(1); // the splash's first frame sees it held
        EXPECT_EQ(keyState[key], 1);
        EXPECT_EQ(currentState, GS_MAIN_MENU) << key;
        KeyUp(key);
        LeaveGame();
    }
    StartGame(GS_SPLASH);
    for (int key : {int('A'), int(VK_TAB), int(VK_SHIFT), int(VK_BACK)})
        KeyDown(key);
    RunFrames(30);
    EXPECT_EQ(currentState, GS_SPLASH);
}

TEST_F(SplashTest, MouseButtonsSkipOnlyInTheFrameTheyGoDown) {
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
    MouseUp(MOUSE_RIGHT);
    LeaveGame();
    StartGame(GS_SPLASH);
    RunFrames(5);
    MouseDown(MOUSE_LEFT);
    RunFrames(1);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

TEST_F(SplashTest, GlobalKeysDoNothingHere) {
    StartGame(GS_SPLASH);
    RunFrames(2);
    bool chosenBefore = fullscreenChosen;
    for (int key : {'S', 'Q', 'R', 'M', 'O', 'P'}) {
        TapKey(key);
        EXPECT_EQ(currentState, GS_SPLASH) << static_cast<char>(key);
        EXPECT_EQ(nextState, GS_SPLASH) << static_cast<char>(key);
    }
    for (int key : {VK_CONTROL, VK_ALT, VK_F4})
        KeyDown(key);
    RunFrames(2);
    for (int key : {VK_F4, VK_ALT, VK_CONTROL})
        KeyUp(key);
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
    EXPECT_EQ(Rgb(CaptureFrame().AtDesign(0, 0)), 0u);
    TapKey(VK_SPACE);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

// The game's own logo animations are long enough for both hand-overs, and the
// splash reaches the menu by itself.
TEST_F(SplashTest, GameDataSplashRunsToTheMenu) {
    SetGameBaseDir(MORROW_BUILD_DIR);
    Animation* studio = LoadAnimation("data\\Animation\\TarnAnim");
    Animation* audio = LoadAnimation("data\\Animation\\FmodAnimData");
    ASSERT_NE(studio, nullptr) << "data\\Animation\\TarnAnim missing from " MORROW_BUILD_DIR;
    ASSERT_NE(audio, nullptr) << "data\\Animation\\FmodAnimData missing";
    EXPECT_GE(studio->frameCount, 17u);
    EXPECT_GE(audio->frameCount, 18u);
    FreeAllAnimations();
    StartGame(GS_SPLASH);
    RunFramesUntil([] { return Logo(0) && Logo(0)->frame == 8; }, 60 * 60);
    Screenshot studioShot = CaptureShot("splash_studio");
    EXPECT_NE(studioShot.AtDesign(0, 0), studioShot.At(2, 2)); // something drawn mid-screen
    RunFramesUntil(StudioAtHandover, 60 * 60);
    ASSERT_TRUE(StudioAtHandover());
    CaptureShot("splash_handover");
    EXPECT_TRUE(Logo(1)->visible);
    RunFrames(20);
    CaptureShot("splash_audio_logo");
    RunFramesUntil([] { return currentState == GS_MAIN_MENU; }, 60 * 60);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

} // namespace
