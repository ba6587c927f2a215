// Battle HUD driven as a player drives it: the real level states through the
// state manager on the stepped clock, clicks and keys as window events, and
// the texts each frame prints (text, place, scale, colour), the hover art of
// the buy pictures and the pixels read back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/global_keys.h"
#include "app/input.h"
#include "app/settings.h"
#include "app/window.h"
#include "battle/battle_state.h"
#include "engine/audio/sound.h"
#include "engine/graphics/texture.h"
#include "harness/harness.h"
#include "objects/game_object.h"
#include "screens/ui.h"

namespace {

constexpr uint32_t BLACK = 0xFF000000;
constexpr uint32_t RED = 0xFFFF0000;
constexpr uint32_t WHITE = 0xFFFFFFFF;
constexpr uint32_t GOLD = 0xFFD4AF37;

// One expected read-out: text, layout place, text scale and colour.
struct Row {
    std::string text;
    float x, y, scale;
    uint32_t color;
};

// Click areas of the buy panel (layout units).
struct Point {
    float x, y;
};
constexpr Point KNIGHT_UP = {-572.5f, 310};
constexpr Point KNIGHT_DOWN = {-572.5f, 258};
constexpr Point KNIGHT_UPGRADER = {-507.5f, 284};
constexpr Point SPEARMAN_UP = {-442.5f, 310};
constexpr Point SPEARMAN_DOWN = {-442.5f, 258};
constexpr Point SPEARMAN_UPGRADER = {-377.5f, 284};
constexpr Point HORSEMAN_UP = {-312.5f, 310};
constexpr Point HORSEMAN_DOWN = {-312.5f, 258};
constexpr Point HORSEMAN_UPGRADER = {-247, 284};
constexpr Point THIEF = {-560, -240};
constexpr Point CANNON = {-180, 285};
constexpr Point EMPTY = {200, -300}; // over the field only
constexpr Point SETTINGS_ROW = {0, -15};
constexpr Point EXIT_ROW = {0, -100};
constexpr Point EXIT_GAME = {-100, 100};

void Click(Point p) {
    ClickDesign(p.x, p.y);
}
void Hover(Point p) {
    MoveCursorToDesign(p.x, p.y);
    RunFrames(1);
}

// Every text printed in one frame, with its place turned back into layout units.
std::vector<Row> PrintedRows() {
    std::vector<Row> rows;
    for (const PrintedText& t : RecordPrintedTexts())
        rows.push_back({t.text, t.x / drawScale, t.y / drawScale, t.scale / drawScale, t.color});
    return rows;
}

// How many printed rows carry this text.
int CountText(const std::vector<Row>& rows, const std::string& text) {
    int count = 0;
    for (const Row& row : rows)
        count += row.text == text;
    return count;
}

// The printed row with this text (the first), or null.
const Row* FindText(const std::vector<Row>& rows, const std::string& text) {
    for (const Row& row : rows)
        if (row.text == text) return &row;
    return nullptr;
}

// Compares the rows printed with the rows expected, in order.
void ExpectRows(const std::vector<Row>& printed, const std::vector<Row>& expected) {
    ASSERT_EQ(printed.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("row " + expected[i].text);
        EXPECT_EQ(printed[i].text, expected[i].text);
        EXPECT_NEAR(printed[i].x, expected[i].x, 0.01f);
        EXPECT_NEAR(printed[i].y, expected[i].y, 0.01f);
        EXPECT_NEAR(printed[i].scale, expected[i].scale, 0.001f);
        EXPECT_EQ(printed[i].color, expected[i].color);
    }
}

// The rows of an unpaused level-1 battle at its start, in printing order.
std::vector<Row> StartRows(uint32_t label = BLACK, const char* enemies = "Enemies: 0",
                           int price = 100) {
    std::string shown = std::to_string(price) + "$ TO UPGRADE";
    return {
        {"KNIGHT   30$", -615, 340, 0.7f, label},
        {"SPEARMAN   30$", -491, 340, 0.7f, label},
        {"HORSEMAN   30$", -363, 340, 0.7f, label},
        {"THIEF   50$", -610, -310, 0.8f, WHITE},
        {"MONEY: 150", -20, 330, 1.0f, label},
        {"You can spawn a troop!", -95, 310, 1.0f, RED},
        {"Allies: 0", 385, 230, 0.65f, BLACK},
        {enemies, 525, 230, 0.65f, BLACK},
        {"300$ to Unlock", -230, 340, 0.65f, label},
        {"Upgrade: 1 / 5", -625, 195, 0.7f, BLACK},
        {"Upgrade: 1 / 5", -490, 195, 0.7f, BLACK},
        {"Upgrade: 1 / 5", -360, 195, 0.7f, BLACK},
        {shown, -625, 215, 0.6f, BLACK},
        {shown, -490, 215, 0.6f, BLACK},
        {shown, -360, 215, 0.6f, BLACK},
    };
}

bool IntroGone() {
    return battle && battle->introWallGone;
}
bool ScrollOpened() {
    return battle->pauseScroll && battle->pauseScroll->ended;
}

// The shared values every test starts from.
void ResetShared(uint8_t playerHouse) {
    volume = 50;
    soundMuted = musicMuted = sfxMuted = false;
    resolutionIndex = 0;
    fullscreenChosen = false;
    house = playerHouse;
    BattleState::knightTier = BattleState::spearmanTier = BattleState::horsemanTier = 0;
    BattleState::knightUpgradePrice = BattleState::spearmanUpgradePrice =
        BattleState::horsemanUpgradePrice = 100;
    ClearBattleEndFlags();
    for (BattleState& state : levelStates)
        state.catapultCooldown = 0;
    battleSeedOverride = 7;
}

// One engine for the suite; every test enters a level afresh.
class HudTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { StartTestEngine(false); }
    static void TearDownTestSuite() { StopTestEngine(); }

    // Enters `state` as `playerHouse` and runs until the opening curtain has gone.
    void Enter(int32_t state, uint8_t playerHouse = HOUSE_NOBLEMEN) {
        ResetShared(playerHouse);
        StartGame(state);
        Hover(EMPTY);
        ASSERT_EQ(currentState, state);
        RunFramesUntil(IntroGone, 200);
        ASSERT_TRUE(IntroGone());
    }
    void TearDown() override {
        if (!GameHasQuit()) {
            nextState = GS_QUIT;
            RunFrames(1);
        }
        StopAllSounds();
        MouseUp();
        if (isFullscreen) SetFullscreen(false);
        SetWindowResolution(1280, 720);
        GainFocus();
        RunFrames(1);
    }
};

// ---------------------------------------------------------------------------
// The rows, their conditions, places, scales and colours
// ---------------------------------------------------------------------------

TEST_F(HudTest, NoTextUntilTheOpeningCurtainHasGone) {
    ResetShared(HOUSE_NOBLEMEN);
    StartGame(GS_LEVEL1);
    RunFrames(2);
    EXPECT_TRUE(PrintedRows().empty());
    RunFramesUntil(IntroGone, 200);
    EXPECT_EQ(PrintedRows().size(), StartRows().size());
}

TEST_F(HudTest, StartOfLevel1PrintsFifteenRowsInTableOrder) {
    Enter(GS_LEVEL1);
    ExpectRows(PrintedRows(), StartRows());
    SaveShot("hud_level1_start");
}

TEST_F(HudTest, Level3PrintsExactlyLevel1sRows) {
    Enter(GS_LEVEL3);
    ExpectRows(PrintedRows(), StartRows());
}

TEST_F(HudTest, Level2PrintsItsLabelsWhiteAndTheEnemiesWithTwoBlanks) {
    Enter(GS_LEVEL2);
    ExpectRows(PrintedRows(), StartRows(WHITE, "Enemies:  0"));
    // The buy cooldown (row 7) and catapult cooldown (row 11) are white too.
    Click(KNIGHT_UP);
    battle->catapultCooldown = 5;
    std::vector<Row> rows = PrintedRows();
    const Row* cooldown = FindText(rows, " Cooldown: 2");
    ASSERT_NE(cooldown, nullptr);
    EXPECT_EQ(cooldown->color, WHITE);
    const Row* catapult = FindText(rows, "Catapult cooldown: 5");
    ASSERT_NE(catapult, nullptr);
    EXPECT_EQ(catapult->color, WHITE);
    SaveShot("hud_level2");
}

TEST_F(HudTest, BuyCooldownReplacesTheSpawnLineUntilItRunsOut) {
    Enter(GS_LEVEL1);
    Click(KNIGHT_UP); // two frames: 2 s less 1/60 s left when the HUD prints
    std::vector<Row> rows = PrintedRows();
    EXPECT_EQ(CountText(rows, "You can spawn a troop!"), 0);
    const Row* cooldown = FindText(rows, " Cooldown: 2");
    ASSERT_NE(cooldown, nullptr);
    EXPECT_FLOAT_EQ(cooldown->x, -40);
    EXPECT_FLOAT_EQ(cooldown->y, 310);
    EXPECT_FLOAT_EQ(cooldown->scale, 1.0f);
    EXPECT_EQ(cooldown->color, BLACK);
    EXPECT_NE(FindText(rows, "MONEY: 120"), nullptr);
    // 1.6 s left prints 2 (rounded), 1.4 s prints 1, 0.4 s prints 0.
    RunFramesUntil([] { return battle->spawnCooldown <= 1.6f; }, 120);
    EXPECT_NE(FindText(PrintedRows(), " Cooldown: 2"), nullptr);
    RunFramesUntil([] { return battle->spawnCooldown <= 1.4f; }, 120);
    EXPECT_NE(FindText(PrintedRows(), " Cooldown: 1"), nullptr);
    RunFramesUntil([] { return battle->spawnCooldown <= 0.45f; }, 120);
    EXPECT_NE(FindText(PrintedRows(), " Cooldown: 0"), nullptr);
    RunFramesUntil([] { return battle->spawnCooldown <= 0; }, 120);
    rows = PrintedRows();
    EXPECT_EQ(CountText(rows, "You can spawn a troop!"), 1);
    for (const Row& row : rows)
        EXPECT_EQ(row.text.find("Cooldown: "), std::string::npos);
}

TEST_F(HudTest, PauseHidesMoneyAndCooldownRowsOnly) {
    Enter(GS_LEVEL1);
    battle->catapultCooldown = 3;
    std::vector<Row> running = PrintedRows();
    EXPECT_NE(FindText(running, "MONEY: 150"), nullptr);
    EXPECT_NE(FindText(running, "Catapult cooldown: 3"), nullptr);
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(BattleState::paused);
    std::vector<Row> paused = PrintedRows();
    std::vector<Row> expected;
    for (const Row& row : running)
        if (row.text != "MONEY: 150" && row.text != "You can spawn a troop!" &&
            row.text != "Catapult cooldown: 3")
            expected.push_back(row);
    ExpectRows(paused, expected);
    SaveShot("hud_paused");
}

TEST_F(HudTest, CatapultRowsFollowLockCooldownAndReadiness) {
    Enter(GS_LEVEL1);
    std::vector<Row> rows = PrintedRows();
    EXPECT_NE(FindText(rows, "300$ to Unlock"), nullptr);
    EXPECT_EQ(CountText(rows, "You can Shoot the catapult!"), 0);
    BattleState::money = 400;
    Click(CANNON);
    ASSERT_EQ(battle->catapultState, 1);
    rows = PrintedRows();
    EXPECT_EQ(CountText(rows, "300$ to Unlock"), 0);
    const Row* cooldown = FindText(rows, "Catapult cooldown: 10");
    ASSERT_NE(cooldown, nullptr);
    EXPECT_FLOAT_EQ(cooldown->x, -60);
    EXPECT_FLOAT_EQ(cooldown->y, 290);
    EXPECT_NEAR(cooldown->scale, 0.7f, 1e-5f);
    EXPECT_EQ(cooldown->color, BLACK);
    RunFramesUntil([] { return battle->catapultCooldown == 0; }, 700);
    rows = PrintedRows();
    const Row* ready = FindText(rows, "You can Shoot the catapult!");
    ASSERT_NE(ready, nullptr);
    EXPECT_FLOAT_EQ(ready->x, -60);
    EXPECT_FLOAT_EQ(ready->y, 290);
    EXPECT_EQ(ready->color, RED);
    for (const Row& row : rows)
        EXPECT_NE(row.text.rfind("Catapult cooldown", 0), 0u);
}

TEST_F(HudTest, LockedCatapultWithLeftoverCooldownShowsPriceAndCooldown) {
    // A catapult cooldown left over from before a restart, catapult locked again.
    Enter(GS_LEVEL1);
    battle->catapultCooldown = 12;
    std::vector<Row> rows = PrintedRows();
    EXPECT_NE(FindText(rows, "300$ to Unlock"), nullptr);
    EXPECT_NE(FindText(rows, "Catapult cooldown: 12"), nullptr);
    RunFrames(60); // locked: it does not count down
    EXPECT_NE(FindText(PrintedRows(), "Catapult cooldown: 12"), nullptr);
}

TEST_F(HudTest, TiersAndPricesFollowUpgradesUpToTheLastTier) {
    Enter(GS_LEVEL1, HOUSE_NOBLEMEN);
    Click(KNIGHT_UPGRADER);
    std::vector<Row> rows = PrintedRows();
    const Row* tier = FindText(rows, "Upgrade: 2 / 5");
    ASSERT_NE(tier, nullptr);
    EXPECT_FLOAT_EQ(tier->x, -625);
    const Row* price = FindText(rows, "220$ TO UPGRADE");
    ASSERT_NE(price, nullptr);
    EXPECT_FLOAT_EQ(price->x, -625);
    EXPECT_FLOAT_EQ(price->y, 215);
    // At the last tier the rows print 5 and the price is still shown.
    BattleState::horsemanTier = 4;
    BattleState::horsemanUpgradePrice = 580;
    rows = PrintedRows();
    const Row* last = FindText(rows, "Upgrade: 5 / 5");
    ASSERT_NE(last, nullptr);
    EXPECT_FLOAT_EQ(last->x, -360);
    const Row* lastPrice = FindText(rows, "580$ TO UPGRADE");
    ASSERT_NE(lastPrice, nullptr);
    EXPECT_FLOAT_EQ(lastPrice->x, -360);
}

TEST_F(HudTest, WisemenSeeDiscountedPrices) {
    Enter(GS_LEVEL1, HOUSE_WISEMEN);
    ExpectRows(PrintedRows(), StartRows(BLACK, "Enemies: 0", 80));
    Click(SPEARMAN_UPGRADER); // pays 80
    std::vector<Row> rows = PrintedRows();
    EXPECT_NE(FindText(rows, "MONEY: 70"), nullptr);
    const Row* price = FindText(rows, "200$ TO UPGRADE");
    ASSERT_NE(price, nullptr);
    EXPECT_FLOAT_EQ(price->x, -490);
    EXPECT_EQ(CountText(rows, "80$ TO UPGRADE"), 2);
}

TEST_F(HudTest, LargeNumbersPrintWhole) {
    Enter(GS_LEVEL1);
    const int32_t values[] = {100000, 123456789, INT32_MAX, INT32_MIN};
    for (int32_t value : values) {
        BattleState::money = value;
        std::string text = "MONEY: " + std::to_string(value);
        EXPECT_EQ(CountText(PrintedRows(), text), 1) << text;
    }
    BattleState::money = 150;
    battle->alliedCrossings = 2000000000;
    battle->enemyCrossings = -2000000000;
    battle->catapultCooldown = 3.0e9f;
    std::vector<Row> rows = PrintedRows();
    EXPECT_NE(FindText(rows, "Allies: 2000000000"), nullptr);
    EXPECT_NE(FindText(rows, "Enemies: -2000000000"), nullptr);
    EXPECT_NE(FindText(rows, "Catapult cooldown: 3000000000"), nullptr);
}

TEST_F(HudTest, NoTextOnceTheBattleEnds) {
    Enter(GS_LEVEL1);
    battle->enemyCastle->health = 0; // the castle update ends the battle
    RunFrames(2);
    EXPECT_TRUE(PrintedRows().empty());
}

// ---------------------------------------------------------------------------
// Pause pages' texts (rows 19 and 20)
// ---------------------------------------------------------------------------

TEST_F(HudTest, SettingsPagePrintsItsEightTexts) {
    Enter(GS_LEVEL1);
    volume = 7;
    musicMuted = true;
    resolutionIndex = 4;
    TapKey(VK_ESCAPE);
    RunFramesUntil(ScrollOpened, 300);
    Click(SETTINGS_ROW);
    ASSERT_TRUE(battle->settingsPageOpen);
    std::vector<Row> rows = PrintedRows();
    std::vector<Row> tail(rows.end() - 8, rows.end());
    ExpectRows(tail, {
                         {"RESOLUTION", -105, 220, 1.5f, GOLD},
                         {"960 x 540", -86, 180, 1.5f, BLACK},
                         {"FULLSCREEN", -100, 120, 1.5f, GOLD},
                         {" DISABLED", -73, 81, 1.2f, BLACK},
                         {"VOLUME", -68, 15, 1.5f, GOLD},
                         {"  7", -20, -18, 1.2f, BLACK},
                         {"MUSIC", -52, -80, 1.5f, GOLD},
                         {"OFF", -25, -115, 1.2f, BLACK},
                     });
    SaveShot("pause_settings_page");
}

TEST_F(HudTest, ExitQuestionShowsOnTheExitPageUntilTheConfirmationOpens) {
    Enter(GS_LEVEL1);
    TapKey(VK_ESCAPE);
    RunFramesUntil(ScrollOpened, 300);
    EXPECT_EQ(CountText(PrintedRows(), "DO YOU WANT TO EXIT?"), 0);
    Click(EXIT_ROW);
    ASSERT_TRUE(battle->exitMenuOpen);
    std::vector<Row> rows = PrintedRows();
    ASSERT_FALSE(rows.empty());
    ExpectRows({rows.back()}, {{"DO YOU WANT TO EXIT?", -200, 200, 1.5f, GOLD}});
    SaveShot("pause_exit_page");
    Click(EXIT_GAME);
    ASSERT_TRUE(battle->quitConfirmOpen);
    EXPECT_EQ(CountText(PrintedRows(), "DO YOU WANT TO EXIT?"), 0);
}

// ---------------------------------------------------------------------------
// Hover art
// ---------------------------------------------------------------------------

TEST_F(HudTest, BuyPicturesShowTheHoverArtOfTheAreaUnderTheCursor) {
    Enter(GS_LEVEL1);
    struct {
        Point at;
        int picture; // 0..2 buy pictures, 3 thief, 4 catapult
        const char* art;
    } cases[] = {
        {KNIGHT_UP, 0, "BuyKnightUpButton.png"},
        {KNIGHT_DOWN, 0, "BuyKnightDownButton.png"},
        {KNIGHT_UPGRADER, 0, "BuyKnightUpgradeButton.png"},
        {SPEARMAN_UP, 1, "BuySpearmanUpButton.png"},
        {SPEARMAN_DOWN, 1, "BuySpearmanDownButton.png"},
        {SPEARMAN_UPGRADER, 1, "BuySpearmanUpgradeButton.png"},
        {HORSEMAN_UP, 2, "BuyHorsemanUpButton.png"},
        {HORSEMAN_DOWN, 2, "BuyHorsemanDownButton.png"},
        {HORSEMAN_UPGRADER, 2, "BuyHorsemanUpgradeButton.png"},
        {THIEF, 3, "ThiefButtonClicked.png"},
        {CANNON, 4, "CannonButtonHoover.png"},
    };
    const char* resting[5] = {"BuyKnight1Button.png", "BuySpearman1Button.png",
                              "BuyHorseman1Button.png", "BuyThiefButton.png", "CannonButton.png"};
    GameObject* pictures[5] = {battle->buyPicture[0], battle->buyPicture[1], battle->buyPicture[2],
                               battle->thiefPicture, battle->cannonButtonSprite};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(PictureOf(pictures[i]), resting[i]);
    for (const auto& c : cases) {
        Hover(c.at);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(PictureOf(pictures[i]), i == c.picture ? c.art : resting[i]) << c.art;
    }
    // While paused the art keeps the look it had when the pause began.
    TapKey(VK_ESCAPE);
    Hover(EMPTY);
    EXPECT_EQ(PictureOf(pictures[4]), "CannonButtonHoover.png");
}

// ---------------------------------------------------------------------------
// Pixels
// ---------------------------------------------------------------------------

// Pixels of a layout rectangle whose red, green and blue are all below
// `dark` (or all above `light` when `dark` is 0), sampled every layout unit.
int CountPixels(const Screenshot& shot, float left, float bottom, float right, float top, int dark,
                int light = 256) {
    int count = 0;
    for (float y = bottom; y <= top; y += 1)
        for (float x = left; x <= right; x += 1) {
            uint32_t c = shot.AtDesign(x, y);
            int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
            if (dark > 0 ? (r < dark && g < dark && b < dark)
                         : (r > light && g > light && b > light))
                ++count;
        }
    return count;
}

// The money read-out's box: from its baseline start to past its last digit.
constexpr float MONEY_LEFT = -20, MONEY_BOTTOM = 328, MONEY_RIGHT = 100, MONEY_TOP = 345;

TEST_F(HudTest, MoneyTextIsDrawnBlackAndGoesWhilePaused) {
    Enter(GS_LEVEL1);
    Screenshot running = CaptureFrame();
    int dark = CountPixels(running, MONEY_LEFT, MONEY_BOTTOM, MONEY_RIGHT, MONEY_TOP, 90);
    EXPECT_GT(dark, 40);
    TapKey(VK_ESCAPE);
    Screenshot paused = CaptureFrame();
    EXPECT_LT(CountPixels(paused, MONEY_LEFT, MONEY_BOTTOM, MONEY_RIGHT, MONEY_TOP, 90), dark / 10);
}

TEST_F(HudTest, Level2MoneyTextIsDrawnWhite) {
    Enter(GS_LEVEL2);
    Screenshot shot = CaptureFrame();
    EXPECT_GT(CountPixels(shot, MONEY_LEFT, MONEY_BOTTOM, MONEY_RIGHT, MONEY_TOP, 0, 180), 20);
    EXPECT_LT(CountPixels(shot, MONEY_LEFT, MONEY_BOTTOM, MONEY_RIGHT, MONEY_TOP, 40), 5);
}

TEST_F(HudTest, TextPixelsStayOnTheirPanelAtTwiceTheSize) {
    // At 1920 by 1080 the text lands on the same layout box as at 1280 by 720.
    Enter(GS_LEVEL1);
    int small = CountPixels(CaptureFrame(), MONEY_LEFT, MONEY_BOTTOM, MONEY_RIGHT, MONEY_TOP, 90);
    SetWindowResolution(1920, 1080);
    Hover(EMPTY);
    int large = CountPixels(CaptureFrame(), MONEY_LEFT, MONEY_BOTTOM, MONEY_RIGHT, MONEY_TOP, 90);
    EXPECT_GT(small, 40);
    EXPECT_NEAR(large, small, small * 0.35);
}

// ---------------------------------------------------------------------------
// One draw scale for texts, objects and clicks
// ---------------------------------------------------------------------------

// Checks every row of a frame against the 1280 by 720 layout at the current scale.
void ExpectStartRowsAtScale(float expectedScale) {
    ASSERT_NEAR(drawScale, expectedScale, 1e-4f);
    std::vector<PrintedText> texts = RecordPrintedTexts();
    std::vector<Row> expected = StartRows();
    ASSERT_EQ(texts.size(), expected.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_NEAR(texts[i].x, expected[i].x * expectedScale, 0.05f);
        EXPECT_NEAR(texts[i].y, expected[i].y * expectedScale, 0.05f);
        EXPECT_NEAR(texts[i].scale, expected[i].scale * expectedScale, 0.001f);
    }
}

TEST_F(HudTest, TextsObjectsAndClicksShareTheDrawScaleInEveryWindowSize) {
    Enter(GS_LEVEL1);
    SetWindowResolution(960, 540);
    Hover(EMPTY);
    ExpectStartRowsAtScale(0.75f);
    // A click on the knight area at this size buys a knight.
    Click(KNIGHT_UP);
    EXPECT_EQ(BattleState::money, 120);
    SetWindowResolution(1920, 1080);
    Hover(EMPTY);
    RunFramesUntil([] { return battle->spawnCooldown <= 0; }, 200);
    ExpectStartRowsAtScale(1.5f);
    SaveShot("hud_1920x1080");
}

TEST_F(HudTest, FullScreenUsesTheSameScaleAsTheObjects) {
    Enter(GS_LEVEL1);
    SetFullscreen(true);
    RunFrames(2);
    int width = windowWidth, height = windowHeight;
    float expected = std::fmin(width / 1280.0f, height / 720.0f);
    Hover(EMPTY);
    ExpectStartRowsAtScale(expected);
    Click(SPEARMAN_DOWN);
    EXPECT_EQ(BattleState::money, 120);
}

} // namespace
