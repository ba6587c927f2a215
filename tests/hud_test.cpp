// Battle HUD: the texts each frame prints (text, place, scale, colour), the
// hover art of the buy pictures, and the pixels, at every window size.
#include "battle_helpers.h"

#include <cmath>

#include "screens/ui.h"

using namespace battle_test;

namespace {

constexpr uint32_t BLACK = 0xFF000000;
constexpr uint32_t RED = 0xFFA00000;
constexpr uint32_t WHITE = 0xFFFFFFFF;
constexpr uint32_t GOLD = 0xFFD4AF37;

// One expected read-out: text, layout place, text scale and colour.
struct Row {
    std::string text;
    float x, y, scale;
    uint32_t color;
};

// Every text printed in one frame, with its place turned back into layout units.
std::vector<Row> PrintedRows() {
    std::vector<Row> rows;
    for (const PrintedText& t : RecordPrintedTexts())
        rows.push_back({t.text, t.x / drawScale, t.y / drawScale, t.scale / drawScale, t.color});
    return rows;
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

// The rows of an unpaused battle at its start, in printing order.
std::vector<Row> StartRows(uint32_t label = BLACK, const char* enemies = "Enemies: 0") {
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
        {"100$ TO UPGRADE", -625, 215, 0.6f, BLACK},
        {"100$ TO UPGRADE", -490, 215, 0.6f, BLACK},
        {"100$ TO UPGRADE", -360, 215, 0.6f, BLACK},
    };
}

// Samples of the money read-out's box (baseline start to past its last
// digit, every layout unit) darker than `dark`, or lighter than `light` when `dark` is 0.
int MoneyPixels(const Screenshot& shot, int dark, int light = 256) {
    int count = 0;
    for (float y = 328; y <= 345; y += 1)
        for (float x = -20; x <= 100; x += 1) {
            uint32_t c = shot.AtDesign(x, y);
            int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
            count += dark > 0 ? (r < dark && g < dark && b < dark)
                              : (r > light && g > light && b > light);
        }
    return count;
}

class HudTest : public BattleTest {
  protected:
    void OpenScroll() {
        TapKey(VK_ESCAPE);
        RunFramesUntil([] { return battle->pauseScroll && battle->pauseScroll->ended; }, 300);
    }
};

} // namespace

TEST_F(HudTest, EachLevelPrintsItsRowsOnceTheOpeningCurtainHasGoneAfter80Frames) {
    const char* shots[3] = {"hud_level1_start", "hud_level2", "hud_level3"};
    for (int level = 0; level < 3; level++) {
        SCOPED_TRACE(level);
        EnterLevel(levelTables[level].stateId);
        GameObject* wall = battle->introWall;
        ASSERT_TRUE(wall);
        int frames = 1; // EnterLevel ran the first frame
        while (!battle->introWallGone && frames < 200) {
            bool printed = !RecordPrintedTexts().empty();
            frames++;
            EXPECT_TRUE(battle->introWallGone || !printed) << "frame " << frames;
        }
        EXPECT_EQ(frames, 80);
        EXPECT_LE(wall->position[1], -800);
        // Every level prints its labels black on a light board; level 2 its enemies with
        // two blanks.
        ExpectRows(PrintedRows(), StartRows(BLACK, level == 1 ? "Enemies:  0" : "Enemies: 0"));
        EXPECT_GT(MoneyPixels(CaptureShot(shots[level]), 90), 20);
        LeaveGame();
    }
}

TEST_F(HudTest, BuyCooldownReplacesTheSpawnLineUntilItRunsOut) {
    EnterPlaying(GS_LEVEL1);
    Click(KNIGHT_UP); // two frames: 2 s less 1/60 s left when the HUD prints
    std::vector<Row> rows = PrintedRows();
    EXPECT_FALSE(FindText(rows, "You can spawn a troop!"));
    ASSERT_TRUE(FindText(rows, " Cooldown: 2"));
    ExpectRows({*FindText(rows, " Cooldown: 2")}, {{" Cooldown: 2", -40, 310, 1.0f, BLACK}});
    EXPECT_TRUE(FindText(rows, "MONEY: 120"));
    // 1.6 s left prints 2 (rounded), 1.4 s prints 1, 0.4 s prints 0.
    RunFramesUntil([] { return battle->spawnCooldown <= 1.6f; }, 120);
    EXPECT_TRUE(FindText(PrintedRows(), " Cooldown: 2"));
    RunFramesUntil([] { return battle->spawnCooldown <= 1.4f; }, 120);
    EXPECT_TRUE(FindText(PrintedRows(), " Cooldown: 1"));
    RunFramesUntil([] { return battle->spawnCooldown <= 0.45f; }, 120);
    EXPECT_TRUE(FindText(PrintedRows(), " Cooldown: 0"));
    RunFramesUntil([] { return battle->spawnCooldown <= 0; }, 120);
    rows = PrintedRows();
    EXPECT_TRUE(FindText(rows, "You can spawn a troop!"));
    for (const Row& row : rows)
        EXPECT_EQ(row.text.find("Cooldown: "), std::string::npos);
}

TEST_F(HudTest, PauseHidesMoneyAndCooldownRowsOnly) {
    EnterPlaying(GS_LEVEL1);
    battle->catapultCooldown = 3;
    std::vector<Row> running = PrintedRows();
    EXPECT_TRUE(FindText(running, "MONEY: 150") && FindText(running, "Catapult cooldown: 3"));
    int dark = MoneyPixels(CaptureFrame(), 90); // drawn black
    EXPECT_GT(dark, 40);
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(BattleState::paused);
    std::vector<Row> expected;
    for (const Row& row : running)
        if (row.text != "MONEY: 150" && row.text != "You can spawn a troop!" &&
            row.text != "Catapult cooldown: 3")
            expected.push_back(row);
    ExpectRows(PrintedRows(), expected);
    EXPECT_LT(MoneyPixels(CaptureShot("hud_paused"), 90), dark / 10);
}

TEST_F(HudTest, CatapultRowsFollowLockCooldownAndReadiness) {
    EnterPlaying(GS_LEVEL1);
    std::vector<Row> rows = PrintedRows();
    EXPECT_TRUE(FindText(rows, "300$ to Unlock"));
    EXPECT_FALSE(FindText(rows, "You can Shoot the catapult!"));
    // A cooldown left over from before a restart, catapult locked: both rows, no counting.
    battle->catapultCooldown = 12;
    EXPECT_TRUE(FindText(PrintedRows(), "300$ to Unlock"));
    RunFrames(60);
    EXPECT_TRUE(FindText(PrintedRows(), "Catapult cooldown: 12"));
    BattleState::money = 400;
    Click(CANNON);
    ASSERT_EQ(battle->catapultState, 1);
    rows = PrintedRows();
    EXPECT_FALSE(FindText(rows, "300$ to Unlock"));
    ASSERT_TRUE(FindText(rows, "Catapult cooldown: 10"));
    ExpectRows({*FindText(rows, "Catapult cooldown: 10")},
               {{"Catapult cooldown: 10", -60, 290, 0.7f, BLACK}});
    RunFramesUntil([] { return battle->catapultCooldown == 0; }, 700);
    rows = PrintedRows();
    ASSERT_TRUE(FindText(rows, "You can Shoot the catapult!"));
    ExpectRows({*FindText(rows, "You can Shoot the catapult!")},
               {{"You can Shoot the catapult!", -60, 290, 0.7f, RED}});
    for (const Row& row : rows)
        EXPECT_NE(row.text.rfind("Catapult cooldown", 0), 0u);
}

TEST_F(HudTest, TiersAndPricesFollowUpgradesUpToTheLastTier) {
    EnterPlaying(GS_LEVEL1, HOUSE_NOBLEMEN);
    Click(KNIGHT_UPGRADE);
    std::vector<Row> rows = PrintedRows();
    ASSERT_TRUE(FindText(rows, "Upgrade: 2 / 5") && FindText(rows, "220$ TO UPGRADE"));
    EXPECT_FLOAT_EQ(FindText(rows, "Upgrade: 2 / 5")->x, -625);
    EXPECT_FLOAT_EQ(FindText(rows, "220$ TO UPGRADE")->x, -625);
    EXPECT_FLOAT_EQ(FindText(rows, "220$ TO UPGRADE")->y, 215);
    // At the last tier the rows print 5 and the price is still shown.
    BattleState::horsemanTier = 4;
    BattleState::horsemanUpgradePrice = 580;
    rows = PrintedRows();
    ASSERT_TRUE(FindText(rows, "Upgrade: 5 / 5") && FindText(rows, "580$ TO UPGRADE"));
    EXPECT_FLOAT_EQ(FindText(rows, "Upgrade: 5 / 5")->x, -360);
    EXPECT_FLOAT_EQ(FindText(rows, "580$ TO UPGRADE")->x, -360);
}

TEST_F(HudTest, LargeNumbersPrintWholeAndNoTextOnceTheBattleEnds) {
    EnterPlaying(GS_LEVEL1);
    for (int32_t value : {100000, 123456789, INT32_MAX, INT32_MIN}) {
        BattleState::money = value;
        EXPECT_TRUE(FindText(PrintedRows(), "MONEY: " + std::to_string(value))) << value;
    }
    BattleState::money = 150;
    battle->alliedCrossings = 2000000000;
    battle->enemyCrossings = -2000000000;
    battle->catapultCooldown = 3.0e9f;
    std::vector<Row> rows = PrintedRows();
    EXPECT_TRUE(FindText(rows, "Allies: 2000000000"));
    EXPECT_TRUE(FindText(rows, "Enemies: -2000000000"));
    EXPECT_TRUE(FindText(rows, "Catapult cooldown: 3000000000"));
    battle->enemyCastle->health = 0; // the castle update ends the battle
    RunFrames(2);
    EXPECT_TRUE(PrintedRows().empty());
}

TEST_F(HudTest, PausePagesPrintTheirTexts) {
    EnterPlaying(GS_LEVEL1);
    volume = 7;
    musicMuted = true;
    resolutionIndex = 4;
    OpenScroll();
    EXPECT_FALSE(FindText(PrintedRows(), "DO YOU WANT TO EXIT?"));
    Click(SETTINGS_ROW);
    ASSERT_TRUE(battle->settingsPageOpen);
    std::vector<Row> rows = PrintedRows();
    ExpectRows(std::vector<Row>(rows.end() - 8, rows.end()),
               {
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
    Click({-175, -150}); // the settings page's back button
    Click(EXIT_ROW);
    ASSERT_TRUE(battle->exitMenuOpen);
    rows = PrintedRows();
    ASSERT_FALSE(rows.empty());
    ExpectRows({rows.back()}, {{"DO YOU WANT TO EXIT?", -200, 200, 1.5f, GOLD}});
    SaveShot("pause_exit_page");
    Click(EXIT_GAME);
    ASSERT_TRUE(battle->quitConfirmOpen);
    EXPECT_FALSE(FindText(PrintedRows(), "DO YOU WANT TO EXIT?"));
}

TEST_F(HudTest, BuyPicturesShowTheHoverArtOfTheAreaUnderTheCursor) {
    EnterPlaying(GS_LEVEL1);
    struct {
        Point at;
        int picture; // 0..2 buy pictures, 3 thief, 4 catapult
        const char* art;
    } cases[] = {
        {KNIGHT_UP, 0, "BuyKnightUpButton.png"},
        {KNIGHT_DOWN, 0, "BuyKnightDownButton.png"},
        {KNIGHT_UPGRADE, 0, "BuyKnightUpgradeButton.png"},
        {SPEARMAN_UP, 1, "BuySpearmanUpButton.png"},
        {SPEARMAN_DOWN, 1, "BuySpearmanDownButton.png"},
        {SPEARMAN_UPGRADE, 1, "BuySpearmanUpgradeButton.png"},
        {HORSEMAN_UP, 2, "BuyHorsemanUpButton.png"},
        {HORSEMAN_DOWN, 2, "BuyHorsemanDownButton.png"},
        {HORSEMAN_UPGRADE, 2, "BuyHorsemanUpgradeButton.png"},
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
    Hover(FIELD);
    EXPECT_EQ(PictureOf(pictures[4]), "CannonButtonHoover.png");
}

// Texts, objects and clicks share the engine's one draw scale at every window
// size and in full screen: rows at their scaled places, the money text on the
// same layout box, a spawner click buying in its lane, its picture drawn there.
TEST_F(HudTest, TextsObjectsAndClicksShareTheDrawScaleInEveryWindowSize) {
    EnterPlaying(GS_LEVEL1);
    int smallMoney = MoneyPixels(CaptureFrame(), 90);
    EXPECT_GT(smallMoney, 40);
    LeaveGame();
    struct Size {
        int width, height;
        bool fullscreen;
    } sizes[] = {{960, 540, false}, {1920, 1080, false}, {0, 0, true}};
    for (const Size& size : sizes) {
        SCOPED_TRACE(size.width);
        if (size.fullscreen)
            SetFullscreen(true);
        else
            SetWindowResolution(size.width, size.height);
        EnterPlaying(GS_LEVEL1, HOUSE_WORKERS);
        float scale = std::fmin(windowWidth / 1280.0f, windowHeight / 720.0f);
        ASSERT_NEAR(drawScale, scale, 1e-4f);
        std::vector<PrintedText> texts = RecordPrintedTexts();
        std::vector<Row> expected = StartRows();
        ASSERT_EQ(texts.size(), expected.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            SCOPED_TRACE(expected[i].text);
            EXPECT_NEAR(texts[i].x, expected[i].x * scale, 0.05f);
            EXPECT_NEAR(texts[i].y, expected[i].y * scale, 0.05f);
            EXPECT_NEAR(texts[i].scale, expected[i].scale * scale, 0.001f);
        }
        if (size.width == 1920) {
            EXPECT_NEAR(MoneyPixels(CaptureShot("hud_1920x1080"), 90), smallMoney,
                        smallMoney * 0.35);
        }
        Click(SPEARMAN_DOWN);
        ASSERT_EQ(TroopsNamed("AllieDown").size(), 1u);
        EXPECT_EQ(TroopsNamed("AllieDown")[0]->typeName, "Spearman");
        EXPECT_TRUE(TroopsNamed("AllieUp").empty());
        EXPECT_EQ(BattleState::money, 120);
        // The picture under the spearman's area is the buy card, not the field.
        Screenshot with = CaptureFrame();
        battle->buyPicture[TROOP_SPEARMAN]->visible = 0;
        Screenshot without = CaptureFrame();
        battle->buyPicture[TROOP_SPEARMAN]->visible = 1;
        EXPECT_GE(
            ChangedSamples(with, without, SPEARMAN_UP.x - 30, 264, SPEARMAN_UP.x + 30, 304, 20), 6);
        LeaveGame();
    }
}
