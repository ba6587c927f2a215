// The how-to-play book: each topic shows its page alone, hover pictures, the
// page-turn sound (twice at the first click, never for the page already shown,
// silent under the mute-all switch or an inactive window, untouched by the
// effects switch), and the way back to the menu with its track still playing.
// Runs on a data folder of one-colour pictures and short WAVs.
#include "frontend_test_files.h"
#include "screens/how_to_play.h"
#include "screens/main_menu.h"

using namespace frontend_test;
using namespace screen_test;

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

class HowToPlayTest : public OwnDataTest {
  protected:
    void SetUp() override {
        OwnDataTest::SetUp();
        MakeData("how_to_play_test");
        Picture("BackgroundHowToPlay.png", BACKGROUND);
        Picture("Cursor.png", 0xFFFFFF);
        Picture("ButtonBackToMenu.png", BUTTON_IDLE);
        Picture("ButtonBackToMenuPressed.png", BUTTON_HOVER);
        for (const Topic& topic : TOPICS) {
            Picture(topic.buttonFile, BUTTON_IDLE);
            Picture(topic.hoverFile, BUTTON_HOVER);
            Picture(topic.pageFile, topic.pageColour);
        }
        Wav("BookTurn.mp3", 30); // long enough to be playing still when a test looks
        Wav("MenuTheme.mp3", 5);
        Wav("Spring_Village.mp3", 5);
        UseData();
    }
    // Opens the book straight away and moves the cursor off every button.
    void OpenBook() {
        StartGame(GS_HOW_TO_PLAY);
        MoveCursorToDesign(400, -300);
        RunFrames(2);
    }
    void ClickTopic(int i) { ClickDesign(BUTTON_X, TOPICS[i].buttonY); }
    // Pages shown, as a bit per entry of TOPICS.
    unsigned VisiblePages() {
        unsigned pages = 0;
        for (int i = 0; i < 5; ++i)
            if (FindObject(TOPICS[i].page)->visible) pages |= 1u << i;
        return pages;
    }
};

TEST_F(HowToPlayTest, OpensWithBackgroundAndButtonsAndNoPage) {
    OpenBook();
    EXPECT_EQ(LiveObjectNames(), "BG BannerButton BuyingButton ThiefButton TroopButton "
                                 "UpgradeButton BackToMenuButton BannerHow BuyingHow ThiefHow "
                                 "TroopsHow UpgradeHow Cursor ");
    EXPECT_EQ(VisiblePages(), 0u);
    for (bool shown : topicShown)
        EXPECT_FALSE(shown);
    EXPECT_TRUE(menuMusicStarted);
    Screenshot shot = CaptureFrame();
    EXPECT_EQ(Rgb(shot.AtDesign(260, 0)), BACKGROUND);
    EXPECT_EQ(Rgb(shot.AtDesign(BUTTON_X, 214)), BUTTON_IDLE);
}

TEST_F(HowToPlayTest, ButtonsLightWhilePointedAtAndEachTopicShowsItsPageAlone) {
    OpenBook();
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(TOPICS[i].page);
        MoveCursorToDesign(BUTTON_X + 60, TOPICS[i].buttonY + 25); // near the corner, still over it
        Screenshot shot = CaptureFrame();
        for (const Topic& other : TOPICS)
            EXPECT_EQ(Rgb(shot.AtDesign(BUTTON_X - 60, other.buttonY)),
                      &other == &TOPICS[i] ? BUTTON_HOVER : BUTTON_IDLE);
        ClickTopic(i);
        EXPECT_EQ(VisiblePages(), 1u << i);
        for (int t = 0; t < TOPIC_COUNT; ++t)
            EXPECT_EQ(topicShown[t], t == TOPICS[i].topic);
        MoveCursorToDesign(400, -300);
        EXPECT_EQ(Rgb(CaptureFrame().AtDesign(260, TOPICS[i].pageY)), TOPICS[i].pageColour);
        EXPECT_EQ(currentState, GS_HOW_TO_PLAY);
    }
    MoveCursorToDesign(BACK_X + 40, BACK_Y - 40);
    EXPECT_EQ(Rgb(CaptureFrame().AtDesign(BACK_X - 30, BACK_Y)), BUTTON_HOVER);
    MoveCursorToDesign(BACK_X + 50, BACK_Y - 50); // just outside
    EXPECT_EQ(Rgb(CaptureFrame().AtDesign(BACK_X - 30, BACK_Y)), BUTTON_IDLE);
}

TEST_F(HowToPlayTest, FirstTopicClickPlaysThePageTurnTwiceAtOnce) {
    OpenBook();
    Channel* primed = pageTurnChannel;
    ASSERT_NE(primed, nullptr);
    EXPECT_TRUE(primed->paused);
    EXPECT_FLOAT_EQ(primed->volume, 0.5f);
    int busy = BusyChannelsBesideClicks();
    ClickTopic(0);
    EXPECT_FALSE(primed->paused);
    EXPECT_TRUE(IsChannelPlaying(primed));
    ASSERT_NE(pageTurnChannel, primed);
    EXPECT_FALSE(pageTurnChannel->paused);
    EXPECT_TRUE(IsChannelPlaying(pageTurnChannel));
    EXPECT_EQ(BusyChannelsBesideClicks(), busy + 1);
    Channel* second = pageTurnChannel;
    ClickTopic(0); // the page already shown: nothing plays
    EXPECT_EQ(pageTurnChannel, second);
    EXPECT_EQ(BusyChannelsBesideClicks(), busy + 1);
    ClickTopic(3); // another page: one more turn, the primed one is not replayed
    EXPECT_NE(pageTurnChannel, second);
    EXPECT_EQ(BusyChannelsBesideClicks(), busy + 2);
    // Silent while the window is inactive.
    LoseFocus();
    RunFrames(2);
    EXPECT_EQ(pageTurnChannel->volume, 0.0f);
    GainFocus();
    RunFrames(2);
    EXPECT_FLOAT_EQ(pageTurnChannel->volume, 0.5f);
}

// Under the mute-all switch pages turn in silence; the effects and music
// switches change nothing here.
TEST_F(HowToPlayTest, OnlyTheMuteAllSwitchSilencesThePageTurn) {
    for (bool muteAll : {true, false}) {
        SCOPED_TRACE(muteAll);
        soundMuted = muteAll;
        sfxMuted = musicMuted = !muteAll;
        volume = 80;
        OpenBook();
        Channel* primed = pageTurnChannel;
        ASSERT_NE(primed, nullptr);
        for (int i : {1, 2}) {
            ClickTopic(i);
            EXPECT_EQ(VisiblePages(), 1u << i); // the page changes all the same
            EXPECT_FLOAT_EQ(pageTurnChannel->volume, muteAll ? 0.0f : 0.8f);
            EXPECT_FLOAT_EQ(primed->volume, muteAll ? 0.0f : 0.8f);
        }
        LeaveGame();
    }
}

TEST_F(HowToPlayTest, BackButtonAndSpaceReturnToTheMenuWithItsTrackPlaying) {
    StartGame(GS_MAIN_MENU);
    RunFrames(2);
    Channel* track = menuMusicChannel;
    ASSERT_NE(track, nullptr);
    int busy = BusyChannelCount();
    for (bool space : {false, true}) {
        SCOPED_TRACE(space ? "Space" : "back button");
        ClickDesign(0.7f, -10); // the menu's How to play button
        ASSERT_EQ(currentState, GS_HOW_TO_PLAY);
        RunFrames(2);
        if (space)
            TapKey(VK_SPACE);
        else
            ClickDesign(BACK_X, BACK_Y);
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

// In full screen the book is drawn 1.5 times larger and clicks land on the
// buttons they are drawn on.
TEST_F(HowToPlayTest, InFullScreenClicksLandWhereTheButtonsAreDrawn) {
    StopTestEngine();
    StartTestEngine(true);
    UseData();
    ASSERT_TRUE(isFullscreen);
    OpenBook();
    ClickTopic(2);
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

// The game's own pictures: the opened book, every button hovered and every
// page, each saved for looking at.
TEST(HowToPlayGameDataTest, Screenshots) {
    StartTestEngine();
    ASSERT_TRUE(fs::exists(MORROW_BUILD_DIR "/data/BackgroundHowToPlay.png")) << "no game data";
    StartGame(GS_HOW_TO_PLAY);
    MoveCursorToDesign(400, -300);
    RunFrames(2);
    Screenshot closed = CaptureShot("how_to_play");
    for (const Topic& topic : TOPICS) {
        SCOPED_TRACE(topic.page);
        float y = topic.buttonY;
        MoveCursorToDesign(BUTTON_X + 50, y);
        Screenshot hover = CaptureShot(std::string("how_to_play_") + topic.button + "_hover");
        EXPECT_GT(ChangedSamples(hover, closed, BUTTON_X - 70, y, BUTTON_X + 30, y, 10), 5);
        ClickDesign(BUTTON_X, y);
        MoveCursorToDesign(400, -300);
        Screenshot page = CaptureShot(std::string("how_to_play_") + topic.page);
        // The page's text and pictures on the right-hand side.
        EXPECT_GT(ChangedSamples(page, closed, 60, -200, 460, 200, 20), 15);
    }
    MoveCursorToDesign(BACK_X + 30, BACK_Y);
    CaptureShot("how_to_play_back_hover");
    StopTestEngine();
}

} // namespace
