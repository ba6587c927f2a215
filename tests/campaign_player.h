// A scripted player for the whole-game tests: a fresh-program reset of the
// process-wide values, the routes between screens, and a battle player that looks at the field and
// clicks the buy panel as a person would (a thief for money, counters against each enemy, the
// catapult as soon as it is affordable, rocks whenever it is ready, upgrades and extra troops with
// what is left). Shared by the campaign, leak tour and soak tests; depends on the harness and the
// battle helpers.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "app/global_keys.h"
#include "battle_helpers.h"
#include "screens/main_menu.h"
#include "screens/ui.h"
#include "screens/splash.h"

namespace campaign {

using namespace battle_test; // Point, Click, every screen's click points, battle queries

// House selection: the selectors of houses 0..3.
constexpr Point HOUSE_SELECTORS[4] = {{-500, 100}, {-150, 100}, {180, 100}, {500, 100}};
constexpr Point FINAL_MENU = {0, -270}; // the one button under the final picture

// Frames after which an end screen's opening curtain is out of sight.
constexpr int END_CURTAIN_FRAMES = 82;

// Puts every process-wide value a screen keeps back to its program-start
// value, so each test begins as a new player's run does.
inline void ResetToProgramStart() {
    ResetBattleProcessState();
    resolutionIndex = 0;
    house = HOUSE_NOBLEMEN;
    splashFirstRun = true;
    battleSeedOverride = 0;
}

// From the main menu through Play and a house's selector into level 1.
inline void MenuToLevel1(int chosen) {
    Click(MENU_PLAY);
    ASSERT_GT(RunUntilState(GS_HOUSE_SELECT, 300), 0);
    ASSERT_EQ(currentState, GS_HOUSE_SELECT);
    RunFrames(5);
    Click(HOUSE_SELECTORS[chosen]);
    EXPECT_EQ(house, chosen);
    RunUntilState(GS_LEVEL1, 300);
    ASSERT_EQ(currentState, GS_LEVEL1);
}

// From the final picture to the main menu, then Quit and yes, as a player leaves.
inline void FinalPictureToMenuThenQuit() {
    Click(FINAL_MENU);
    RunUntilState(GS_MAIN_MENU, 300);
    ASSERT_EQ(currentState, GS_MAIN_MENU);
    RunFrames(90);
    Click(MENU_QUIT);
    ASSERT_TRUE(quitDialogOpen);
    Click(MENU_YES);
    ASSERT_TRUE(GameHasQuit());
}

inline bool IntroGone() {
    return battle && battle->introWallGone;
}
inline bool InBattle() {
    return currentState == GS_LEVEL1 || currentState == GS_LEVEL2 || currentState == GS_LEVEL3;
}
inline bool BattleEnded() {
    return BattleState::battleWon || BattleState::battleLost || !InBattle();
}
inline void WaitForIntro() {
    RunFrames(1); // the level's Load and Init run on the first step
    RunFramesUntil(IntroGone, 200);
    ASSERT_TRUE(IntroGone());
}

// From a new program to the first frames of level 1 as `chosen`: the splash
// skipped with Space, Play, the house.
inline void NewGameToLevel1(int chosen) {
    srand(7);
    StartGame(GS_SPLASH);
    RunFrames(3);
    TapKey(VK_SPACE);
    ASSERT_EQ(currentState, GS_MAIN_MENU);
    RunFrames(5);
    MenuToLevel1(chosen);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    WaitForIntro();
}

// From a running level to the next one through the K shortcut and Next level.
inline void ShortcutToNextLevel(int32_t next) {
    TapKey('K');
    RunUntilState(GS_WIN, 200);
    ASSERT_EQ(currentState, GS_WIN);
    RunFrames(END_CURTAIN_FRAMES);
    Click(END_RIGHT);
    RunUntilState(next, 300);
    ASSERT_EQ(currentState, next);
    WaitForIntro();
}

// The type that beats `type`: a horseman beats a knight, a knight a
// spearman, a spearman a horseman.
inline TroopType CounterOf(TroopType type) {
    return static_cast<TroopType>((type + 2) % TROOP_TYPES);
}

// Buy-panel click points of a type: up lane, down lane, upgrade.
inline Point SpawnerOf(TroopType type, bool upLane) {
    static const Point up[] = {KNIGHT_UP, SPEARMAN_UP, HORSEMAN_UP};
    static const Point down[] = {KNIGHT_DOWN, SPEARMAN_DOWN, HORSEMAN_DOWN};
    return upLane ? up[type] : down[type];
}
inline Point UpgraderOf(TroopType type) {
    static const Point upgraders[] = {KNIGHT_UPGRADE, SPEARMAN_UPGRADE, HORSEMAN_UPGRADE};
    return upgraders[type];
}

// What the player did in one battle (for the report and the assertions).
struct BattleLog {
    int frames = 0;
    int troopsBought = 0;
    int thievesBought = 0;
    int upgradesBought = 0;
    int rocksThrown = 0;
};

// Money kept back for answering an enemy before attacking or upgrading.
constexpr int32_t ANSWER_RESERVE = 30;

// Looks at the field and clicks the buy panel once per decision.
class BattlePlayer {
  public:
    // One decision: at most one click (two frames), else a short wait.
    void Step() {
        int32_t money = BattleState::money;
        BattleState* b = battle;
        if (b->catapultState == 0 && money >= 300) {
            Buy(CANNON);
            return;
        }
        if (b->catapultState == 1 && b->catapultCooldown <= 0 && !b->catapultJustUnlocked) {
            int rocks = RocksInFlight();
            Buy(CANNON);
            if (RocksInFlight() > rocks) log.rocksThrown++;
            return;
        }
        bool free = b->spawnCooldown <= 0;
        bool saving = b->catapultState == 0;
        // The thief first: it brings back 89 on average for its 50.
        if (free && !BattleState::thiefOut && money >= 50) {
            Buy(THIEF);
            log.thievesBought += BattleState::thiefOut;
            return;
        }
        // While saving for the catapult the castle takes the first blows;
        // only a castle below 200 is defended (the down lane ends at it).
        GameObject* castle = CastleNamed("AllieDown");
        bool threatened = castle && castle->health < 200;
        // A thief's price is kept back while none is out (it pays best).
        int32_t thiefReserve = !BattleState::thiefOut ? 50 : 0;
        bool defending = threatened || (!saving && money >= 30 + thiefReserve);
        if (free && money >= 30 && defending && Defend(!saving)) return;
        if (!saving && UpgradeIfRich(money)) return;
        if (free && !saving && money >= 30 + ANSWER_RESERVE + thiefReserve) {
            // Mostly the down lane (it ends at the castle); every third troop
            // goes up to win the banner, which speeds the down lane.
            bool upLane = attacks++ % 3 == 2;
            GameObject* next = Enemies(upLane).empty() ? nullptr : Enemies(upLane).front();
            TroopType type =
                next ? CounterOf(static_cast<TroopType>(TroopTypeOfName(next->typeName)))
                     : BestType();
            BuyTroop(type, upLane);
            return;
        }
        Wait(6);
    }

    // Plays until the battle has ended (won or lost) or `limit` frames.
    void PlayUntilEnd(int limit) {
        int32_t level = currentState;
        while (log.frames < limit && currentState == level && !GameHasQuit() &&
               !BattleState::battleWon && !BattleState::battleLost)
            Step();
    }

    BattleLog log;

  private:
    void Buy(Point p) {
        ClickDesign(p.x, p.y);
        log.frames += 2;
    }
    void Wait(int frames) { log.frames += RunFrames(frames); }

    static int RocksInFlight() { return static_cast<int>(ObjectsNamed("Rock").size()); }

    // Enemy troops of a lane nearest to the player's castle first.
    static std::vector<GameObject*> Enemies(bool upLane) {
        auto found = TroopsNamed(upLane ? "EnemyUp" : "EnemyDown");
        std::sort(found.begin(), found.end(),
                  [](GameObject* a, GameObject* b) { return a->position[0] < b->position[0]; });
        return found;
    }
    // The player's troops of a lane fit for another fight.
    static int FreshAllies(bool upLane) {
        int count = 0;
        for (GameObject* troop : TroopsNamed(upLane ? "AllieUp" : "AllieDown"))
            count += troop->health > 50;
        return count;
    }

    // The first enemy of a lane that no fresh troop of the player's answers yet.
    static GameObject* Unanswered(bool upLane) {
        auto enemies = Enemies(upLane);
        size_t answered = static_cast<size_t>(FreshAllies(upLane));
        return answered < enemies.size() ? enemies[answered] : nullptr;
    }

    void BuyTroop(TroopType type, bool upLane) {
        Buy(SpawnerOf(type, upLane));
        log.troopsBought += battle->spawnCooldown > 0; // a purchase starts the cooldown
    }

    // Answers the nearest unanswered enemy, down lane first.
    bool Defend(bool upLaneToo) {
        for (bool upLane : {false, true}) {
            if (upLane && !upLaneToo) break;
            GameObject* enemy = Unanswered(upLane);
            if (!enemy) continue;
            TroopType type = static_cast<TroopType>(TroopTypeOfName(enemy->typeName));
            BuyTroop(CounterOf(type), upLane);
            return true;
        }
        return false;
    }

    // The type of the highest tier (knights first on a tie).
    static TroopType BestType() {
        TroopType best = TROOP_KNIGHT;
        for (int t = 1; t < TROOP_TYPES; t++)
            if (TierOf(static_cast<TroopType>(t)) > TierOf(best)) best = static_cast<TroopType>(t);
        return best;
    }

    // Upgrades the lowest tier whenever the price leaves a reserve.
    bool UpgradeIfRich(int32_t money) {
        TroopType cheapest = TROOP_KNIGHT;
        for (int t = 1; t < TROOP_TYPES; t++)
            if (TierOf(static_cast<TroopType>(t)) < TierOf(cheapest))
                cheapest = static_cast<TroopType>(t);
        if (TierOf(cheapest) >= TIER_COUNT - 1) return false;
        if (money < UpgradePriceAfterDiscount(cheapest) + ANSWER_RESERVE) return false;
        int32_t tier = TierOf(cheapest);
        Buy(UpgraderOf(cheapest));
        log.upgradesBought += TierOf(cheapest) > tier;
        return true;
    }

    int attacks = 0;
};

} // namespace campaign
