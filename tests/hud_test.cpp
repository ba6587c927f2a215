// Battle HUD: the read-outs each frame prints (prices, money, the buy and
// catapult cooldowns, tiers and upgrade prices), hidden behind the curtain
// and while paused, and their colours in each level read from the pixels.
#include "campaign_player.h"

#include <algorithm>

#include "screens/ui.h"

using namespace campaign;

namespace {

// The texts a battle prints at its start, in printing order.
const std::vector<std::string> START_TEXTS = {
    "KNIGHT   30$",    "SPEARMAN   30$",         "HORSEMAN   30$", "THIEF   50$",
    "MONEY: 150",      "You can spawn a troop!", "Allies: 0",      "Enemies: 0",
    "300$ to Unlock",  "Upgrade: 1 / 5",         "Upgrade: 1 / 5", "Upgrade: 1 / 5",
    "100$ TO UPGRADE", "100$ TO UPGRADE",        "100$ TO UPGRADE"};

std::vector<std::string> PrintedTexts() {
    std::vector<std::string> texts;
    for (const PrintedText& t : RecordPrintedTexts())
        texts.push_back(t.text);
    return texts;
}

bool Has(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class HudTest : public BattleTest {};

} // namespace

TEST_F(HudTest, EachLevelPrintsItsRowsOnceTheOpeningCurtainHasGoneAfter80Frames) {
    for (int level = 0; level < 3; level++) {
        SCOPED_TRACE(level);
        EnterLevel(levelTables[level].stateId);
        int frames = 1; // EnterLevel ran the first frame
        while (!battle->introWallGone && frames < 200) {
            bool printed = !RecordPrintedTexts().empty();
            frames++;
            EXPECT_TRUE(battle->introWallGone || !printed) << "frame " << frames;
        }
        EXPECT_EQ(frames, 80);
        std::vector<std::string> expected = START_TEXTS;
        if (level == 1) expected[7] = "Enemies:  0"; // level 2 prints two blanks
        EXPECT_EQ(PrintedTexts(), expected);
        LeaveGame();
    }
}

TEST_F(HudTest, BuyCooldownReplacesTheSpawnLineAndPauseHidesMoneyAndCooldowns) {
    EnterPlaying(GS_LEVEL1);
    Click(KNIGHT_UP); // two frames: 2 s less 1/60 s left when the HUD prints
    std::vector<std::string> texts = PrintedTexts();
    EXPECT_FALSE(Has(texts, "You can spawn a troop!"));
    EXPECT_TRUE(Has(texts, " Cooldown: 2") && Has(texts, "MONEY: 120"));
    TapKey(VK_ESCAPE);
    texts = PrintedTexts();
    EXPECT_FALSE(Has(texts, " Cooldown: 2") || Has(texts, "MONEY: 120"));
    EXPECT_TRUE(Has(texts, "KNIGHT   30$"));
    RunFramesUntil(ScrollOpened, 600);
    Click(CONTINUE_ROW);
    // 1.6 s left prints 2 (rounded), 1.4 s prints 1, 0.4 s prints 0.
    RunFramesUntil([] { return battle->spawnCooldown <= 1.6f; }, 120);
    EXPECT_TRUE(Has(PrintedTexts(), " Cooldown: 2"));
    RunFramesUntil([] { return battle->spawnCooldown <= 1.4f; }, 120);
    EXPECT_TRUE(Has(PrintedTexts(), " Cooldown: 1"));
    RunFramesUntil([] { return battle->spawnCooldown <= 0.45f; }, 120);
    EXPECT_TRUE(Has(PrintedTexts(), " Cooldown: 0"));
    RunFramesUntil([] { return battle->spawnCooldown <= 0; }, 120);
    EXPECT_TRUE(Has(PrintedTexts(), "You can spawn a troop!"));
}

TEST_F(HudTest, CatapultRowsAndUpgradeRowsFollowThePurchases) {
    EnterPlaying(GS_LEVEL1, HOUSE_NOBLEMEN);
    BattleState::money = 5000;
    Click(CANNON);
    std::vector<std::string> texts = PrintedTexts();
    EXPECT_FALSE(Has(texts, "300$ to Unlock"));
    EXPECT_TRUE(Has(texts, "Catapult cooldown: 10"));
    RunFramesUntil([] { return battle->catapultCooldown <= 0; }, 700);
    texts = PrintedTexts();
    EXPECT_TRUE(Has(texts, "You can Shoot the catapult!"));
    EXPECT_FALSE(Has(texts, "Catapult cooldown: 0"));
    Click(KNIGHT_UPGRADE);
    texts = PrintedTexts();
    EXPECT_TRUE(Has(texts, "Upgrade: 2 / 5") && Has(texts, "220$ TO UPGRADE"));
    for (int i = 0; i < 4; i++)
        Click(HORSEMAN_UPGRADE);
    texts = PrintedTexts();
    EXPECT_TRUE(Has(texts, "Upgrade: 5 / 5") && Has(texts, "580$ TO UPGRADE"));
}

namespace {

// Pixels among a printed text's letters (from its baseline up to its
// capitals) within 40 levels of `argb` in every channel.
int PixelsOfColour(const Screenshot& shot, const PrintedText& text, uint32_t argb) {
    const int left = shot.width / 2 + int(text.x), baseline = shot.height / 2 - int(text.y);
    int count = 0;
    for (int y = baseline - int(13 * text.scale); y < baseline; y++)
        for (int x = left; x < left + int(11 * text.scale * text.text.size()); x++) {
            int off = 0;
            for (int shift : {0, 8, 16})
                off = std::max(
                    off, std::abs(int(shot.At(x, y) >> shift & 255) - int(argb >> shift & 255)));
            count += off <= 40;
        }
    return count;
}

} // namespace

// Level 2 prints its troop labels, money, buy cooldown and catapult price in
// white, levels 1 and 3 in black; the prices stay black and the ready line is
// pure red everywhere. Each level is reached by playing.
TEST_F(HudTest, EachLevelsRowsShowTheirColoursInThePixels) {
    ResetToProgramStart();
    NewGameToLevel1(HOUSE_NOBLEMEN);
    for (int level = 1; level <= 3; level++) {
        SCOPED_TRACE(level);
        if (level > 1) ShortcutToNextLevel(level == 2 ? GS_LEVEL2 : GS_LEVEL3);
        Click(KNIGHT_UP); // the buy cooldown's row
        const uint32_t label = level == 2 ? 0xFFFFFFFF : 0xFF000000, red = 0xFFFF0000;
        std::vector<PrintedText> texts = RecordPrintedTexts();
        Screenshot shot = CaptureFrame();
        for (const char* row : {"KNIGHT   30$", "HORSEMAN   30$", "MONEY: 120", " Cooldown: 2",
                                "300$ to Unlock", "100$ TO UPGRADE", "You can spawn a troop!"}) {
            if (row[0] == 'Y') { // the buy cooldown over
                RunFramesUntil([] { return battle->spawnCooldown <= 0; }, 200);
                texts = RecordPrintedTexts();
                shot = CaptureFrame();
            }
            const PrintedText* printed = FindPrinted(texts, row);
            ASSERT_TRUE(printed) << row;
            uint32_t colour = row[0] == 'Y' ? red : row[0] == '1' ? 0xFF000000 : label;
            EXPECT_GE(PixelsOfColour(shot, *printed, colour), 6) << row;
        }
    }
}
