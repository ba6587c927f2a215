// A scripted player for the whole-game tests: the click points of every
// screen, a fresh-program reset of the process-wide values, waiting for a
// screen, and a battle player that looks at the field and clicks the buy
// panel as a person would (a thief for money, counters against each enemy,
// the catapult as soon as it is affordable, rocks whenever it is ready,
// upgrades and extra troops with what is left). Shared by the campaign, leak
// tour and soak tests; depends on the harness and the battle helpers.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/global_keys.h"
#include "app/input.h"
#include "app/settings.h"
#include "app/window.h"
#include "battle/battle_objects.h"
#include "battle/battle_state.h"
#include "battle_helpers.h"
#include "engine/audio/sound.h"
#include "harness/harness.h"
#include "objects/game_object.h"
#include "screens/main_menu.h"
#include "screens/splash.h"
#include "screens/ui.h"

namespace campaign {

using namespace screen_test; // Point, Click and every screen's click points

// ---------------------------------------------------------------------------
// Click points (design units) of the screens outside the battle
// ---------------------------------------------------------------------------

// House selection: the selectors of houses 0..3.
constexpr Point HOUSE_SELECTORS[4] = {{-500, 100}, {-150, 100}, {180, 100}, {500, 100}};
constexpr Point FINAL_MENU = {0, -270}; // the one button under the final picture
// Over nothing that reacts, on any screen.
constexpr Point IDLE_SPOT = {0, -345};

// Frames after which an end screen's opening curtain is out of sight.
constexpr int END_CURTAIN_FRAMES = 82;

// ---------------------------------------------------------------------------
// The program as it starts
// ---------------------------------------------------------------------------

// Puts every process-wide value a screen keeps back to its program-start
// value, so each test begins as a new player's run does.
inline void ResetToProgramStart() {
    battle_test::ResetBattleProcessState();
    resolutionIndex = 0;
    house = HOUSE_NOBLEMEN;
    splashFirstRun = true;
    battleSeedOverride = 0;
}

// Puts the window, input and sounds back as the next test expects them.
inline void RestoreWindowAndInput() {
    MouseUp();
    GainFocus();
    StopAllSounds();
    if (isFullscreen) SetFullscreen(false);
    SetWindowResolution(1280, 720);
}

// ---------------------------------------------------------------------------
// Waiting
// ---------------------------------------------------------------------------

inline int32_t awaitedState = 0;

// Runs frames until `state` is current (or the limit); returns frames run.
inline int RunUntilState(int32_t state, int limit) {
    awaitedState = state;
    return RunFramesUntil([] { return currentState == awaitedState; }, limit);
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
inline bool ScrollOpened() {
    return battle->pauseScroll && battle->pauseScroll->ended;
}

// ---------------------------------------------------------------------------
// The battle player
// ---------------------------------------------------------------------------

// The type that beats `type`: a horseman beats a knight, a knight a
// spearman, a spearman a horseman.
inline TroopType CounterOf(TroopType type) {
    return static_cast<TroopType>((type + 2) % TROOP_TYPES);
}

// Buy-panel click point of a type in a lane.
inline Point SpawnerOf(TroopType type, bool upLane) {
    static const Point up[TROOP_TYPES] = {battle_test::KNIGHT_UP, battle_test::SPEARMAN_UP,
                                          battle_test::HORSEMAN_UP};
    static const Point down[TROOP_TYPES] = {battle_test::KNIGHT_DOWN, battle_test::SPEARMAN_DOWN,
                                            battle_test::HORSEMAN_DOWN};
    return upLane ? up[type] : down[type];
}
inline Point UpgraderOf(TroopType type) {
    static const Point upgraders[TROOP_TYPES] = {
        battle_test::KNIGHT_UPGRADE, battle_test::SPEARMAN_UPGRADE, battle_test::HORSEMAN_UPGRADE};
    return upgraders[type];
}

// What the player did in one battle (for the report and the assertions).
struct BattleLog {
    int frames = 0;
    int troopsBought = 0;
    int thievesBought = 0;
    int upgradesBought = 0;
    int rocksThrown = 0;
    bool catapultBought = false;
    int catapultFrame = -1; // frame of the battle the catapult was bought in
    float enemyCastleHealth = 300;
};

// What the player spends on; every kind is on by default.
struct PlayStyle {
    bool defend = true;
    bool attack = true;
    bool upgrade = true;
    bool catapult = true;
    bool thief = true;
};

// Money kept back for answering an enemy before attacking or upgrading.
constexpr int32_t ANSWER_RESERVE = 30;

// Looks at the field and clicks the buy panel once per decision.
class BattlePlayer {
  public:
    explicit BattlePlayer(PlayStyle style = {}) : style(style) {}

    // One decision: at most one click (two frames), else a short wait.
    void Step() {
        int32_t money = BattleState::money;
        BattleState* b = battle;
        if (style.catapult && b->catapultState == 0 && money >= 300) {
            Buy(battle_test::CANNON);
            if (b->catapultState == 1) {
                log.catapultBought = true;
                log.catapultFrame = log.frames;
            }
            return;
        }
        if (b->catapultState == 1 && b->catapultCooldown <= 0 && !b->catapultJustUnlocked) {
            int rocks = RocksInFlight();
            Buy(battle_test::CANNON);
            if (RocksInFlight() > rocks) log.rocksThrown++;
            return;
        }
        bool free = b->spawnCooldown <= 0;
        bool saving = style.catapult && b->catapultState == 0;
        // The thief first: it brings back 89 on average for its 50.
        if (free && style.thief && !BattleState::thiefOut && money >= 50) {
            Buy(battle_test::THIEF);
            log.thievesBought += BattleState::thiefOut;
            return;
        }
        // While saving for the catapult the castle takes the first blows;
        // only a castle below 200 is defended (the down lane ends at it).
        GameObject* castle = battle_test::CastleNamed("AllieDown");
        bool threatened = castle && castle->health < 200;
        // A thief's price is kept back while none is out (it pays best).
        int32_t thiefReserve = style.thief && !BattleState::thiefOut ? 50 : 0;
        bool defending = threatened || (!saving && money >= 30 + thiefReserve);
        if (free && style.defend && money >= 30 && defending && Defend(!saving)) return;
        if (!saving && style.upgrade && UpgradeIfRich(money)) return;
        if (free && !saving && style.attack && money >= 30 + ANSWER_RESERVE + thiefReserve) {
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
               !BattleState::battleWon && !BattleState::battleLost) {
            if (GameObject* castle = battle_test::CastleNamed("EnemyDown"))
                log.enemyCastleHealth = castle->health;
            Step();
        }
        if (GameObject* castle = battle_test::CastleNamed("EnemyDown"))
            log.enemyCastleHealth = castle->health;
        else if (BattleState::battleWon)
            log.enemyCastleHealth = std::min(log.enemyCastleHealth, 0.0f);
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
        auto found = battle_test::TroopsNamed(upLane ? "EnemyUp" : "EnemyDown");
        std::sort(found.begin(), found.end(),
                  [](GameObject* a, GameObject* b) { return a->position[0] < b->position[0]; });
        return found;
    }
    // The player's troops of a lane fit for another fight.
    static int FreshAllies(bool upLane) {
        int count = 0;
        for (GameObject* troop : battle_test::TroopsNamed(upLane ? "AllieUp" : "AllieDown"))
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

    PlayStyle style;
    int attacks = 0;
};

} // namespace campaign
