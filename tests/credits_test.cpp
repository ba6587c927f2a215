// The logo and credits screen: 2680 frames in a 720-high window, seven times
// faster while Space is held, and the menu track through a visit: silent
// while muted or the window is inactive, the player's mute choice kept.
#include "frontend_test_files.h"
#include "screens/logo_credits.h"
#include "screens/main_menu.h"

using namespace frontend_test;
using namespace screen_test;

namespace {

class CreditsTest : public OwnDataTest {};

} // namespace

TEST_F(CreditsTest, Take2680FramesIn720HighWindowOrSevenTimesFewerWithSpaceHeld) {
    ASSERT_EQ(windowHeight, 720);
    StartGame(GS_LOGO_CREDITS);
    RunFrames(2679);
    EXPECT_EQ(currentState, GS_LOGO_CREDITS);
    RunFrames(1);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
    LeaveGame();
    StartGame(GS_LOGO_CREDITS);
    KeyDown(VK_SPACE);
    RunFrames(383); // the first frame rises 1 and sets the speed; then 7: 1 + 7 * 383 >= 2680
    EXPECT_EQ(currentState, GS_LOGO_CREDITS);
    RunFrames(1);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
    // Released, the speed is 1 again.
    LeaveGame();
    StartGame(GS_LOGO_CREDITS);
    KeyDown(VK_SPACE);
    RunFrames(10);
    KeyUp(VK_SPACE);
    RunFrames(1);
    float before = FindObject("Logo")->position[1];
    RunFrames(1);
    EXPECT_EQ(FindObject("Logo")->position[1] - before, 1.0f);
}

// Through the real menu: the track plays on at the settings' volume, silent
// while the window is inactive; muted with the speaker, a visit leaves the
// switches, the same track, and silence.
TEST_F(CreditsTest, AVisitKeepsTheMenuTrackAndTheMuteChoice) {
    volume = 70;
    StartGame(GS_MAIN_MENU);
    RunFrames(3);
    Channel* track = menuMusicChannel;
    ASSERT_NE(track, nullptr);
    int busy = BusyChannelsBesideClicks();
    for (bool muted : {false, true}) {
        SCOPED_TRACE(muted);
        if (muted) ClickDesign(-550, -300); // the speaker
        ClickDesign(0.7f, -123);            // Credits
        ASSERT_EQ(currentState, GS_LOGO_CREDITS);
        RunFrames(30);
        EXPECT_FLOAT_EQ(track->volume, muted ? 0.0f : 0.7f);
        LoseFocus();
        RunFrames(2);
        EXPECT_EQ(track->volume, 0.0f);
        GainFocus();
        RunFrames(2);
        EXPECT_FLOAT_EQ(track->volume, muted ? 0.0f : 0.7f);
        TapKey('M');
        ASSERT_EQ(currentState, GS_MAIN_MENU);
        RunFrames(2);
        EXPECT_EQ(soundMuted && musicMuted && sfxMuted, muted);
        EXPECT_EQ(BusyChannelsBesideClicks(), busy); // the same track plays on
    }
}
