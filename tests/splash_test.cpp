// The splash screen: the pause before the studio logo, the hand-over to the
// audio-library logo at the studio animation's frame 16 and to the menu at the
// second animation's frame 17, and the skip keys and mouse buttons.
#include "frontend_test_files.h"
#include "objects/animation.h"
#include "screens/splash.h"

using namespace frontend_test;
using namespace screen_test;

namespace {

// The n-th (0: studio, 1: audio library) live "TarnLogoSprite".
Sprite* Logo(size_t n) {
    std::vector<GameObject*> logos = ObjectsNamed("TarnLogoSprite");
    return n < logos.size() ? static_cast<Sprite*>(logos[n]) : nullptr;
}
bool StudioAtHandover() {
    return Logo(0) && Logo(0)->frame == 16;
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
};

} // namespace

TEST_F(SplashTest, LogosAtTheirTimesAndDrawnFromTheirSheets) {
    StartGame(GS_SPLASH);
    // 1.5 s at 60 frames per second: the 91st frame's Update starts it; the
    // frames print nothing.
    testing::internal::CaptureStdout();
    EXPECT_NEAR(RunFramesUntil([] { return Logo(0) && Logo(0)->playing; }, 200), 91, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(Logo(1)->visible);
    EXPECT_EQ(Rgb(CaptureFrame().AtDesign(0, 0)), 0x3070C0u);
    RunFramesUntil(StudioAtHandover, 600);
    ASSERT_TRUE(StudioAtHandover());
    RunFrames(1);
    EXPECT_TRUE(Logo(1)->visible && Logo(1)->playing);
    EXPECT_EQ(Rgb(CaptureFrame().AtDesign(0, 0)), 0xC07030u); // over the first
    RunFramesUntil([] { return Logo(1) && Logo(1)->frame == 17; }, 600);
    ASSERT_EQ(Logo(1)->frame, 17u);
    EXPECT_EQ(currentState, GS_SPLASH);
    RunFrames(1);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

// Escape, Space, Enter and either mouse button skip; other keys do not, and a
// mouse button skips only in the frame it goes down.
TEST_F(SplashTest, SkipKeysAndMouseButtonsSkipAndOtherKeysDoNot) {
    StartGame(GS_SPLASH);
    for (int key : {int('A'), int(VK_TAB), int(VK_SHIFT), int(VK_BACK)})
        KeyDown(key);
    RunFrames(30);
    EXPECT_EQ(currentState, GS_SPLASH);
    for (int key : {int('A'), int(VK_TAB), int(VK_SHIFT), int(VK_BACK)})
        KeyUp(key);
    LeaveGame();
    for (int key : {int(VK_ESCAPE), int(VK_SPACE), int(VK_RETURN), -1, -2}) {
        SCOPED_TRACE(key);
        StartGame(GS_SPLASH);
        RunFrames(5);
        if (key >= 0)
            KeyDown(key);
        else
            MouseDown(key == -1 ? MOUSE_LEFT : MOUSE_RIGHT);
        RunFrames(1);
        EXPECT_EQ(currentState, GS_MAIN_MENU);
        if (key >= 0) KeyUp(key);
        LeaveGame();
        MouseUp(MOUSE_RIGHT);
    }
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
