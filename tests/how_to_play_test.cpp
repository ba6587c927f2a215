// The how-to-play book: each topic shows its page alone, hover pictures, the
// page-turn sound (twice at the first click, never for the page already shown,
// silent under the mute-all switch or an inactive window, untouched by the
// effects switch).
// Runs on a data folder of one-colour pictures and short WAVs.
#include "frontend_test_files.h"
#include "screens/how_to_play.h"
#include "screens/main_menu.h"

using namespace frontend_test;
using namespace screen_test;

namespace {

// One topic as the player sees it.
struct Topic {
    float buttonY;
    float pageY;
    uint32_t pageColour;
    const char* buttonFile;
    const char* hoverFile;
    const char* pageFile;
};

const Topic TOPICS[] = {
    {214, 0, 0x802020, "ButtonTroops.png", "ButtonTroopsPressed.png", "TroopExplanation.png"},
    {141, -10, 0x208020, "ButtonBuying.png", "ButtonBuyingPressed.png", "BuyingExplanation.png"},
    {70, 0, 0x202080, "ButtonUpgrading.png", "ButtonUpgradingPressed.png",
     "UpgradeExplanation.png"},
    {0, 0, 0x808020, "ButtonThief.png", "ButtonThiefPessed.png", "ThiefExplanation.png"},
    {-70, 0, 0x208080, "ButtonBaner.png", "ButtonBanerPressed.png", "BannerExplanation.png"},
};
constexpr float BUTTON_X = -414;
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
        Wav("ButtonClick.wav", 1);
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
};

} // namespace

TEST_F(HowToPlayTest, ButtonsLightWhilePointedAtAndEachTopicShowsItsPageAlone) {
    OpenBook();
    EXPECT_EQ(Rgb(CaptureFrame().AtDesign(260, 0)), BACKGROUND); // no page at first
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        MoveCursorToDesign(BUTTON_X + 60, TOPICS[i].buttonY + 25); // near the corner, still over it
        Screenshot shot = CaptureFrame();
        for (const Topic& other : TOPICS)
            EXPECT_EQ(Rgb(shot.AtDesign(BUTTON_X - 60, other.buttonY)),
                      &other == &TOPICS[i] ? BUTTON_HOVER : BUTTON_IDLE);
        ClickTopic(i);
        MoveCursorToDesign(400, -300);
        EXPECT_EQ(Rgb(CaptureFrame().AtDesign(260, TOPICS[i].pageY)), TOPICS[i].pageColour);
    }
}

TEST_F(HowToPlayTest, FirstTopicClickPlaysThePageTurnTwiceAtOnce) {
    OpenBook();
    Channel* primed = pageTurnChannel;
    ASSERT_NE(primed, nullptr);
    EXPECT_TRUE(primed->paused);
    int busy = BusyChannelsBesideClicks();
    ClickTopic(0);
    EXPECT_TRUE(IsChannelPlaying(primed) && !primed->paused);
    ASSERT_NE(pageTurnChannel, primed);
    EXPECT_TRUE(IsChannelPlaying(pageTurnChannel));
    EXPECT_EQ(BusyChannelsBesideClicks(), busy + 1);
    Channel* second = pageTurnChannel;
    const int clicks = ClickCueRecord().started;
    ClickTopic(0); // the page already shown: nothing plays, not even the button's click
    EXPECT_EQ(pageTurnChannel, second);
    EXPECT_EQ(ClickCueRecord().started, clicks);
    ClickTopic(3); // another page: one more turn, the primed one is not replayed
    EXPECT_NE(pageTurnChannel, second);
    EXPECT_EQ(BusyChannelsBesideClicks(), busy + 2);
    LoseFocus(); // silent while the window is inactive
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
            EXPECT_FLOAT_EQ(pageTurnChannel->volume, muteAll ? 0.0f : 0.8f);
            EXPECT_FLOAT_EQ(primed->volume, muteAll ? 0.0f : 0.8f);
        }
        LeaveGame();
    }
}
