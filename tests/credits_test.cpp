// The logo and credits screen: the pictures' layout and rise in a 720-high
// window, seven times faster while Space is held, and the menu track's volume:
// silent while the window is inactive, the player's mute choice left as it was.
#include "frontend_test_files.h"
#include "screens/logo_credits.h"
#include "screens/main_menu.h"

using namespace frontend_test;
using namespace screen_test;

namespace {

class CreditsTest : public OwnDataTest {
  protected:
    void SetUp() override {
        OwnDataTest::SetUp();
        creditsSpeed = 1;
    }
    void TearDown() override {
        OwnDataTest::TearDown();
        menuMusicChannel = nullptr;
    }
    // Plays a looping track as the menu's own, as if the menu had started it.
    void StartMenuTrack() {
        MakeData("credits_test");
        Wav("MenuTrack.wav", 1);
        Sound* track = LoadSound((base / "data" / "MenuTrack.wav").c_str());
        ASSERT_NE(track, nullptr);
        menuMusicChannel = PlaySound(track, false);
        ASSERT_NE(menuMusicChannel, nullptr);
        SetChannelLooping(menuMusicChannel);
        menuMusicStarted = true;
    }
};

TEST_F(CreditsTest, PicturesStartBelowTheScreenInDrawingOrder) {
    StartGame(GS_LOGO_CREDITS);
    RunFrames(1); // Load, Init and one frame: every picture has risen 1
    EXPECT_EQ(LiveObjectNames(), "Logo BG Logos Logos Cursor ");
    std::vector<float> heights;
    for (GameObject* object : objectList)
        heights.push_back(object->position[1]);
    EXPECT_EQ(std::vector<float>(heights.begin(), heights.begin() + 4),
              (std::vector<float>{-399, -999, -2069, -1469}));
    EXPECT_FALSE(FindObject("Cursor")->visible);
    EXPECT_TRUE(menuMusicStarted);
}

TEST_F(CreditsTest, Take2680FramesIn720HighWindowAtSpeedOne) {
    ASSERT_EQ(windowHeight, 720);
    StartGame(GS_LOGO_CREDITS);
    RunFrames(2679);
    EXPECT_EQ(currentState, GS_LOGO_CREDITS);
    EXPECT_EQ(nextState, GS_LOGO_CREDITS);
    RunFrames(1);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
    EXPECT_EQ(previousState, GS_LOGO_CREDITS);
}

TEST_F(CreditsTest, SevenTimesFasterWhileSpaceIsHeld) {
    StartGame(GS_LOGO_CREDITS);
    KeyDown(VK_SPACE);
    RunFrames(383); // the first frame rises 1 and sets the speed; then 7: 1 + 7 * 383 >= 2680
    EXPECT_EQ(currentState, GS_LOGO_CREDITS);
    EXPECT_EQ(creditsSpeed, 7.0f);
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
    EXPECT_EQ(creditsSpeed, 1.0f);
}

// Every mute combination is left as the player set it, with or without the
// window losing the focus during the visit; M leaves early.
TEST_F(CreditsTest, MuteChoiceSurvivesAVisit) {
    for (int combination = 0; combination < 8; ++combination) {
        SCOPED_TRACE(combination);
        soundMuted = combination & 1;
        musicMuted = combination & 2;
        StartGame(GS_LOGO_CREDITS);
        RunFrames(5);
        if (combination & 4) LoseFocus();
        RunFrames(5);
        EXPECT_EQ(soundMuted, bool(combination & 1));
        EXPECT_EQ(musicMuted, bool(combination & 2));
        GainFocus();
        RunFrames(5);
        TapKey('M');
        ASSERT_EQ(currentState, GS_MAIN_MENU);
        EXPECT_EQ(soundMuted, bool(combination & 1));
        EXPECT_EQ(musicMuted, bool(combination & 2));
        nextState = GS_QUIT;
        RunFrames(1);
    }
}

TEST_F(CreditsTest, MenuTrackIsSilentWhileMutedOrTheWindowIsInactive) {
    for (bool* mute : {&musicMuted, &soundMuted, static_cast<bool*>(nullptr)}) {
        StartMenuTrack(); // quitting the game below releases the menu's track
        soundMuted = musicMuted = false;
        if (mute) *mute = true;
        volume = 70;
        StartGame(GS_LOGO_CREDITS);
        RunFrames(3);
        ASSERT_NE(menuMusicChannel, nullptr);
        EXPECT_FLOAT_EQ(menuMusicChannel->volume, mute ? 0.0f : 0.7f);
        EXPECT_TRUE(!mute || *mute); // left as it was
        if (!mute) {
            LoseFocus();
            RunFrames(2);
            ASSERT_FALSE(IsWindowActive());
            EXPECT_EQ(menuMusicChannel->volume, 0.0f);
            GainFocus();
            RunFrames(2);
            EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0.7f);
            EXPECT_TRUE(IsChannelPlaying(menuMusicChannel));
            EXPECT_FALSE(soundMuted || musicMuted);
        }
        nextState = GS_QUIT;
        RunFrames(1);
    }
}

// Through the real menu on the game data: muted with the speaker, a visit to
// the credits leaves the switches, the same track, and silence.
TEST_F(CreditsTest, MenuVisitKeepsTheSpeakerSwitchAndTheTrack) {
    ASSERT_TRUE(fs::exists(MORROW_BUILD_DIR "/data/Credits.png")) << "no game data folder";
    StartGame(GS_MAIN_MENU);
    RunFrames(3);
    Channel* track = menuMusicChannel;
    ASSERT_NE(track, nullptr);
    ClickDesign(-550, -300); // the speaker
    ASSERT_TRUE(soundMuted && musicMuted && sfxMuted);
    int busy = BusyChannelsBesideClicks();
    ClickDesign(0.7f, -123); // Credits
    ASSERT_EQ(currentState, GS_LOGO_CREDITS);
    RunFrames(30);
    EXPECT_EQ(track->volume, 0.0f);
    TapKey('M');
    ASSERT_EQ(currentState, GS_MAIN_MENU);
    RunFrames(2);
    EXPECT_TRUE(soundMuted && musicMuted && sfxMuted);
    EXPECT_EQ(menuMusicChannel, track);
    EXPECT_EQ(BusyChannelsBesideClicks(), busy);
    EXPECT_EQ(track->volume, 0.0f);
}

TEST_F(CreditsTest, Screenshots) {
    StartGame(GS_LOGO_CREDITS);
    RunFrames(399); // the game logo in the middle
    Screenshot logo = CaptureShot("credits_logo");
    KeyDown(VK_SPACE); // 7 units a frame from here on
    RunFrames(86);     // the credits picture in the middle
    CaptureShot("credits_names");
    RunFrames(67); // the executives' picture in the middle, over the logos' top
    CaptureShot("credits_executives");
    RunFrames(85); // the logos picture in the middle
    CaptureShot("credits_logos");
    EXPECT_NEAR(FindObject("Logos")->position[1], 0, 12); // LogosCredits, centred
    // The picture covers the whole window: no cleared pixel in the corners.
    EXPECT_NE(logo.At(2, 2), 0u);
    EXPECT_NE(logo.At(1277, 717), 0u);
}

} // namespace
