// The how-to-play book run through the state manager on the stepped clock
// with clicks as a player gives them: each topic shows its page alone, hover
// pictures, the page-turn sound (twice at the first click, never for the page
// already shown, silent under the mute-all switch and while the window is
// inactive, untouched by the effects switch), and the way back to the menu by
// the back button or Space with the menu's track still playing. Runs on a
// data folder the test writes: one colour per picture, a short WAV for each
// sound, so pages and buttons can be told apart by their pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/input.h"
#include "app/settings.h"
#include "app/window.h"
#include "engine/audio/sound.h"
#include "engine/file.h"
#include "engine/graphics/texture.h"
#include "frontend_test_files.h"
#include "harness/harness.h"
#include "objects/game_object.h"
#include "screens/how_to_play.h"
#include "screens/main_menu.h"
#include "screens/ui.h"

namespace fs = std::filesystem;
using namespace frontend_test;

namespace {

// One topic as the player sees it.
struct Topic {
    HowToPlayTopic topic;
    const char* button;
    float buttonY;
    const char* page;
    float pageY;
    uint32_t pageColour;
    const char* buttonFile;
    const char* hoverFile;
    const char* pageFile;
};

const Topic TOPICS[] = {
    {TOPIC_TROOPS, "TroopButton", 214, "TroopsHow", 0, 0x802020, "ButtonTroops.png",
     "ButtonTroopsPressed.png", "TroopExplanation.png"},
    {TOPIC_BUYING, "BuyingButton", 141, "BuyingHow", -10, 0x208020, "ButtonBuying.png",
     "ButtonBuyingPressed.png", "BuyingExplanation.png"},
    {TOPIC_UPGRADING, "UpgradeButton", 70, "UpgradeHow", 0, 0x202080, "ButtonUpgrading.png",
     "ButtonUpgradingPressed.png", "UpgradeExplanation.png"},
    {TOPIC_THIEF, "ThiefButton", 0, "ThiefHow", 0, 0x808020, "ButtonThief.png",
     "ButtonThiefPessed.png", "ThiefExplanation.png"},
    {TOPIC_BANNER, "BannerButton", -70, "BannerHow", 0, 0x208080, "ButtonBaner.png",
     "ButtonBanerPressed.png", "BannerExplanation.png"},
};
constexpr float BUTTON_X = -414;
constexpr float BACK_X = -445, BACK_Y = -150;
constexpr uint32_t BACKGROUND = 0x404040, BUTTON_IDLE = 0xC0C0C0, BUTTON_HOVER = 0xF0E040;

uint32_t Rgb(uint32_t argb) {
    return argb & 0xFFFFFF;
}

class HowToPlayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartTestEngine();
        volume = 50;
        soundMuted = musicMuted = sfxMuted = false;
        menuMusicStarted = false;
        base = MakeDataFolder("how_to_play_test");
        WritePicture(base, "BackgroundHowToPlay.png", BACKGROUND);
        WritePicture(base, "Cursor.png", 0xFFFFFF);
        WritePicture(base, "ButtonBackToMenu.png", BUTTON_IDLE);
        WritePicture(base, "ButtonBackToMenuPressed.png", BUTTON_HOVER);
        for (const Topic& topic : TOPICS) {
            WritePicture(base, topic.buttonFile, BUTTON_IDLE);
            WritePicture(base, topic.hoverFile, BUTTON_HOVER);
            WritePicture(base, topic.pageFile, topic.pageColour);
        }
        // Long enough to be playing still when a test looks at the channels.
        WriteWav(base / "data" / "BookTurn.mp3", 30);
        WriteWav(base / "data" / "MenuTheme.mp3", 5);
        WriteWav(base / "data" / "Spring_Village.mp3", 5);
        SetGameBaseDir(base.string());
    }
    void TearDown() override {
        StopTestEngine();
        fs::remove_all(base);
    }

    // Opens the book straight away and moves the cursor off every button.
    void OpenBook() {
        StartGame(GS_HOW_TO_PLAY);
        MoveCursorToDesign(400, -300);
        RunFrames(2);
    }
    void ClickTopic(const Topic& topic) { ClickDesign(BUTTON_X, topic.buttonY); }
    // Pages shown, as a bit per entry of TOPICS.
    unsigned VisiblePages() {
        unsigned pages = 0;
        for (int i = 0; i < 5; ++i)
            if (FindObject(TOPICS[i].page)->visible) pages |= 1u << i;
        return pages;
    }

    fs::path base;
};

TEST_F(HowToPlayTest, OpensWithBackgroundAndButtonsAndNoPage) {
    OpenBook();
    std::vector<std::string> names;
    for (GameObject* object : objectList)
        if (object->alive) names.push_back(object->name);
    std::vector<std::string> expected = {
        "BG",          "BannerButton",  "BuyingButton",     "ThiefButton",
        "TroopButton", "UpgradeButton", "BackToMenuButton", "BannerHow",
        "BuyingHow",   "ThiefHow",      "TroopsHow",        "UpgradeHow",
        "Cursor"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(VisiblePages(), 0u);
    for (bool shown : topicShown)
        EXPECT_FALSE(shown);
    EXPECT_TRUE(menuMusicStarted);
    Screenshot shot = CaptureFrame();
    EXPECT_EQ(Rgb(shot.AtDesign(260, 0)), BACKGROUND);
    EXPECT_EQ(Rgb(shot.AtDesign(BUTTON_X, 214)), BUTTON_IDLE);
}

TEST_F(HowToPlayTest, EachTopicShowsItsPageAlone) {
    OpenBook();
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(TOPICS[i].page);
        ClickTopic(TOPICS[i]);
        EXPECT_EQ(VisiblePages(), 1u << i);
        for (int t = 0; t < TOPIC_COUNT; ++t)
            EXPECT_EQ(topicShown[t], t == TOPICS[i].topic);
        MoveCursorToDesign(400, -300);
        Screenshot shot = CaptureFrame();
        EXPECT_EQ(Rgb(shot.AtDesign(260, TOPICS[i].pageY)), TOPICS[i].pageColour);
        EXPECT_EQ(currentState, GS_HOW_TO_PLAY);
    }
}

TEST_F(HowToPlayTest, ButtonsShowTheirHoverPicture) {
    OpenBook();
    for (const Topic& topic : TOPICS) {
        SCOPED_TRACE(topic.button);
        MoveCursorToDesign(BUTTON_X + 60, topic.buttonY + 25); // near the corner, still over it
        Screenshot shot = CaptureFrame();
        EXPECT_EQ(Rgb(shot.AtDesign(BUTTON_X - 60, topic.buttonY)), BUTTON_HOVER);
        for (const Topic& other : TOPICS) {
            if (&other != &topic) {
                EXPECT_EQ(Rgb(shot.AtDesign(BUTTON_X - 60, other.buttonY)), BUTTON_IDLE);
            }
        }
    }
    MoveCursorToDesign(BACK_X + 40, BACK_Y - 40);
    Screenshot back = CaptureFrame();
    EXPECT_EQ(Rgb(back.AtDesign(BACK_X - 30, BACK_Y)), BUTTON_HOVER);
    MoveCursorToDesign(BACK_X + 50, BACK_Y - 50); // just outside
    EXPECT_EQ(Rgb(CaptureFrame().AtDesign(BACK_X - 30, BACK_Y)), BUTTON_IDLE);
}

TEST_F(HowToPlayTest, FirstTopicClickPlaysThePageTurnTwiceAtOnce) {
    OpenBook();
    Channel* primed = pageTurnChannel;
    ASSERT_NE(primed, nullptr);
    EXPECT_TRUE(primed->paused);
    EXPECT_FLOAT_EQ(primed->volume, 0.5f);
    int busy = BusyChannelCount();

    ClickTopic(TOPICS[0]);
    EXPECT_FALSE(primed->paused);
    EXPECT_TRUE(IsChannelPlaying(primed));
    ASSERT_NE(pageTurnChannel, primed);
    EXPECT_FALSE(pageTurnChannel->paused);
    EXPECT_TRUE(IsChannelPlaying(pageTurnChannel));
    EXPECT_EQ(BusyChannelCount(), busy + 1);

    Channel* second = pageTurnChannel;
    ClickTopic(TOPICS[0]); // the page already shown: nothing plays
    EXPECT_EQ(pageTurnChannel, second);
    EXPECT_EQ(BusyChannelCount(), busy + 1);

    ClickTopic(TOPICS[3]); // another page: one more turn, the primed one is not replayed
    EXPECT_NE(pageTurnChannel, second);
    EXPECT_EQ(BusyChannelCount(), busy + 2);
}

TEST_F(HowToPlayTest, MuteAllTurnsPagesInSilence) {
    soundMuted = true;
    OpenBook();
    Channel* primed = pageTurnChannel;
    ASSERT_NE(primed, nullptr);
    EXPECT_EQ(primed->volume, 0.0f);
    ClickTopic(TOPICS[1]);
    EXPECT_EQ(VisiblePages(), 2u); // the page changes all the same
    EXPECT_EQ(pageTurnChannel->volume, 0.0f);
    EXPECT_EQ(primed->volume, 0.0f);
    ClickTopic(TOPICS[2]);
    EXPECT_EQ(VisiblePages(), 4u);
    EXPECT_EQ(pageTurnChannel->volume, 0.0f);
}

TEST_F(HowToPlayTest, EffectsAndMusicSwitchesChangeNothingHere) {
    sfxMuted = true;
    musicMuted = true;
    volume = 80;
    OpenBook();
    ClickTopic(TOPICS[4]);
    EXPECT_FLOAT_EQ(pageTurnChannel->volume, 0.8f);
}

TEST_F(HowToPlayTest, PageTurnIsSilentWhileTheWindowIsInactive) {
    OpenBook();
    ClickTopic(TOPICS[0]);
    LoseFocus();
    RunFrames(2);
    EXPECT_EQ(pageTurnChannel->volume, 0.0f);
    GainFocus();
    RunFrames(2);
    EXPECT_FLOAT_EQ(pageTurnChannel->volume, 0.5f);
}

TEST_F(HowToPlayTest, BackButtonAndSpaceReturnToTheMenuWithItsTrackPlaying) {
    StartGame(GS_MAIN_MENU);
    RunFrames(2);
    Channel* track = menuMusicChannel;
    ASSERT_NE(track, nullptr);
    int busy = BusyChannelCount();

    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way == 0 ? "back button" : "Space");
        ClickDesign(0.7f, -10); // the menu's How to play button
        ASSERT_EQ(currentState, GS_HOW_TO_PLAY);
        RunFrames(2);
        if (way == 0)
            ClickDesign(BACK_X, BACK_Y);
        else
            TapKey(VK_SPACE);
        EXPECT_EQ(currentState, GS_MAIN_MENU);
        RunFrames(2);
        EXPECT_EQ(menuMusicChannel, track); // no second track was started
        EXPECT_TRUE(IsChannelPlaying(track));
        EXPECT_EQ(BusyChannelCount(), busy); // the primed page turn went with the book
    }
}

TEST_F(HowToPlayTest, ManyVisitsKeepTheChannelPool) {
    int freeChannels = FreeChannelCount();
    for (int visit = 0; visit < 5; ++visit) {
        StartGame(GS_HOW_TO_PLAY);
        RunFrames(1);
        ASSERT_NE(pageTurnChannel, nullptr) << "visit " << visit;
        nextState = GS_QUIT;
        RunFrames(1);
    }
    RunFrames(1);
    UpdateSound();
    EXPECT_EQ(FreeChannelCount(), freeChannels);
}

// In full screen the book is drawn 1.5 times larger, and clicks land on the
// buttons they are drawn on.
class HowToPlayFullScreenTest : public HowToPlayTest {
  protected:
    void SetUp() override {
        HowToPlayTest::SetUp();
        StopTestEngine();
        StartTestEngine(true);
        SetGameBaseDir(base.string());
    }
};

TEST_F(HowToPlayFullScreenTest, ClicksLandWhereTheButtonsAreDrawn) {
    ASSERT_TRUE(isFullscreen);
    OpenBook();
    ClickTopic(TOPICS[2]);
    EXPECT_EQ(VisiblePages(), 4u);
    MoveCursorToDesign(400, -300);
    Screenshot shot = CaptureFrame();
    EXPECT_GT(shot.width, 1280);
    EXPECT_EQ(Rgb(shot.AtDesign(260, 200)), TOPICS[2].pageColour);
    EXPECT_EQ(Rgb(shot.AtDesign(BUTTON_X - 70, TOPICS[2].buttonY)), BUTTON_IDLE);
    EXPECT_EQ(Rgb(shot.AtDesign(BUTTON_X - 85, TOPICS[2].buttonY)), BACKGROUND);
    ClickDesign(BACK_X + 40, BACK_Y + 40);
    EXPECT_EQ(currentState, GS_MAIN_MENU);
}

// The game's own pictures: a shot of the opened book, of every button
// hovered and of every page, each looked at by hand.
TEST(HowToPlayGameDataTest, Screenshots) {
    StartTestEngine();
    ASSERT_TRUE(fs::exists(MORROW_BUILD_DIR "/data/BackgroundHowToPlay.png")) << "no game data";
    fs::create_directories(MORROW_BUILD_DIR "/shots");
    const std::string shots = MORROW_BUILD_DIR "/shots/how_to_play";
    StartGame(GS_HOW_TO_PLAY);
    MoveCursorToDesign(400, -300);
    RunFrames(2);
    Screenshot closed = CaptureFrame();
    closed.SavePng(shots + ".png");
    for (const Topic& topic : TOPICS) {
        SCOPED_TRACE(topic.page);
        MoveCursorToDesign(BUTTON_X + 50, topic.buttonY);
        Screenshot hover = CaptureFrame();
        hover.SavePng(shots + "_" + topic.button + "_hover.png");
        int changed = 0;
        for (float x = BUTTON_X - 70; x <= BUTTON_X + 30; x += 10)
            changed += hover.AtDesign(x, topic.buttonY) != closed.AtDesign(x, topic.buttonY);
        EXPECT_GT(changed, 5);
        ClickDesign(BUTTON_X, topic.buttonY);
        MoveCursorToDesign(400, -300);
        Screenshot page = CaptureFrame();
        page.SavePng(shots + "_" + topic.page + ".png");
        int pageChanged = 0;
        for (float x = 60; x <= 460; x += 20)
            for (float y = -200; y <= 200; y += 20)
                pageChanged += page.AtDesign(x, y) != closed.AtDesign(x, y);
        EXPECT_GT(pageChanged, 15); // the page's text and pictures on the right-hand side
    }
    MoveCursorToDesign(BACK_X + 30, BACK_Y);
    CaptureFrame().SavePng(shots + "_back_hover.png");
    StopTestEngine();
}

} // namespace
