// The logo and credits screen run through the state manager on the stepped
// clock: how long the pictures take to rise in a 720-high window, seven
// times faster while Space is held, the picture layout and drawing order, the
// hidden cursor, and the menu track's volume: silenced while the window is
// inactive, and the player's mute choice left exactly as it was.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/game_state.h"
#include "app/input.h"
#include "app/settings.h"
#include "app/window.h"
#include "engine/audio/sound.h"
#include "frontend_test_files.h"
#include "harness/harness.h"
#include "objects/game_object.h"
#include "screens/logo_credits.h"
#include "screens/main_menu.h"
#include "screens/ui.h"

namespace fs = std::filesystem;
using namespace frontend_test;

namespace {

// Names and heights of the live objects, in list (drawing) order.
std::vector<std::pair<std::string, float>> Layout() {
    std::vector<std::pair<std::string, float>> layout;
    for (GameObject* object : objectList)
        if (object->alive) layout.push_back({object->name, object->position[1]});
    return layout;
}

class CreditsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartTestEngine();
        volume = 50;
        soundMuted = musicMuted = sfxMuted = false;
        creditsSpeed = 1;
    }
    void TearDown() override {
        StopTestEngine();
        menuMusicChannel = nullptr;
        if (!folder.empty()) fs::remove_all(folder);
    }

    // Plays a looping track as the menu's own, as if the menu had started it.
    void StartMenuTrack() {
        folder = MakeDataFolder("credits_test");
        fs::path wavPath = folder / "data" / "MenuTrack.wav";
        WriteWav(wavPath, 1);
        Sound* track = LoadSound(wavPath.c_str());
        ASSERT_NE(track, nullptr);
        menuMusicChannel = PlaySound(track, false);
        ASSERT_NE(menuMusicChannel, nullptr);
        SetChannelLooping(menuMusicChannel);
        menuMusicStarted = true;
    }

    fs::path folder;
};

TEST_F(CreditsTest, PicturesStartBelowTheScreenInDrawingOrder) {
    StartGame(GS_LOGO_CREDITS);
    RunFrames(1); // Load, Init and one frame: every picture has risen 1
    auto layout = Layout();
    ASSERT_EQ(layout.size(), 5u);
    EXPECT_EQ(layout[0], std::make_pair(std::string("Logo"), -399.0f));
    EXPECT_EQ(layout[1], std::make_pair(std::string("BG"), -999.0f));
    EXPECT_EQ(layout[2], std::make_pair(std::string("Logos"), -2069.0f));
    EXPECT_EQ(layout[3], std::make_pair(std::string("Logos"), -1469.0f));
    EXPECT_EQ(layout[4].first, "Cursor");
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
    // The first frame rises 1 and sets the speed; then 7 a frame: 1 + 7 * 383 >= 2680.
    RunFrames(383);
    EXPECT_EQ(currentState, GS_LOGO_CREDITS);
    EXPECT_EQ(creditsSpeed, 7.0f);
    RunFrames(1);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

TEST_F(CreditsTest, ReleasingSpaceGoesBackToSpeedOne) {
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

TEST_F(CreditsTest, MenuKeyLeavesEarly) {
    StartGame(GS_LOGO_CREDITS);
    RunFrames(30);
    TapKey('M');
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

// Every mute combination is left exactly as the player set it, whether the
// window keeps the focus or loses it during the visit.
TEST_F(CreditsTest, MuteChoiceSurvivesAVisit) {
    for (int combination = 0; combination < 8; ++combination) {
        SCOPED_TRACE(combination);
        soundMuted = combination & 1;
        musicMuted = combination & 2;
        bool focusLost = combination & 4;
        StartGame(GS_LOGO_CREDITS);
        RunFrames(5);
        if (focusLost) LoseFocus();
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

TEST_F(CreditsTest, MenuTrackIsSilencedWhileTheWindowIsInactive) {
    StartMenuTrack();
    volume = 70;
    StartGame(GS_LOGO_CREDITS);
    RunFrames(3);
    EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0.7f);
    LoseFocus();
    RunFrames(2);
    ASSERT_FALSE(IsWindowActive());
    EXPECT_EQ(menuMusicChannel->volume, 0.0f);
    GainFocus();
    RunFrames(2);
    EXPECT_FLOAT_EQ(menuMusicChannel->volume, 0.7f);
    EXPECT_TRUE(IsChannelPlaying(menuMusicChannel));
    EXPECT_FALSE(soundMuted);
    EXPECT_FALSE(musicMuted);
}

TEST_F(CreditsTest, MutedMenuTrackStaysSilent) {
    for (bool* mute : {&musicMuted, &soundMuted}) {
        StartMenuTrack(); // quitting the game below releases the menu's track
        soundMuted = musicMuted = false;
        *mute = true;
        StartGame(GS_LOGO_CREDITS);
        RunFrames(3);
        ASSERT_NE(menuMusicChannel, nullptr);
        EXPECT_EQ(menuMusicChannel->volume, 0.0f);
        EXPECT_TRUE(*mute);
        nextState = GS_QUIT;
        RunFrames(1);
    }
}

// Through the real menu on the game data: mute with the speaker, visit the
// credits, come back: the switches are as the player left them, the track is
// the same one and it stayed silent.
TEST_F(CreditsTest, MenuVisitKeepsTheSpeakerSwitchAndTheTrack) {
    ASSERT_TRUE(fs::exists(MORROW_BUILD_DIR "/data/Credits.png")) << "no game data folder";
    menuMusicStarted = false;
    StartGame(GS_MAIN_MENU);
    RunFrames(3);
    Channel* track = menuMusicChannel;
    ASSERT_NE(track, nullptr);
    ClickDesign(-550, -300); // the speaker
    ASSERT_TRUE(soundMuted && musicMuted && sfxMuted);
    int busy = BusyChannelCount();

    ClickDesign(0.7f, -123); // Credits
    ASSERT_EQ(currentState, GS_LOGO_CREDITS);
    RunFrames(30);
    EXPECT_EQ(track->volume, 0.0f);
    TapKey('M');
    ASSERT_EQ(currentState, GS_MAIN_MENU);
    RunFrames(2);
    EXPECT_TRUE(soundMuted);
    EXPECT_TRUE(musicMuted);
    EXPECT_TRUE(sfxMuted);
    EXPECT_EQ(menuMusicChannel, track);
    EXPECT_EQ(BusyChannelCount(), busy);
    EXPECT_EQ(track->volume, 0.0f);
}

TEST_F(CreditsTest, Screenshots) {
    StartGame(GS_LOGO_CREDITS);
    fs::create_directories(MORROW_BUILD_DIR "/shots");
    RunFrames(399); // the game logo in the middle
    Screenshot logo = CaptureFrame();
    logo.SavePng(MORROW_BUILD_DIR "/shots/credits_logo.png");
    KeyDown(VK_SPACE); // 7 units a frame from here on
    RunFrames(86);     // the credits picture in the middle
    CaptureFrame().SavePng(MORROW_BUILD_DIR "/shots/credits_names.png");
    RunFrames(67); // the executives' picture in the middle, over the logos' top
    CaptureFrame().SavePng(MORROW_BUILD_DIR "/shots/credits_executives.png");
    RunFrames(85); // the logos picture in the middle
    CaptureFrame().SavePng(MORROW_BUILD_DIR "/shots/credits_logos.png");
    EXPECT_NEAR(FindObject("Logos")->position[1], 0, 12); // LogosCredits, centred
    // The picture covers the whole window: no cleared pixel in the corners.
    EXPECT_NE(logo.At(2, 2), 0u);
    EXPECT_NE(logo.At(1277, 717), 0u);
}

} // namespace
