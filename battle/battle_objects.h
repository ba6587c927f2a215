// The battle's object classes over GameObject and Sprite: the three troop
// kinds, the fight cloud, the thief, and the Troop family (castle, coin,
// rock), plus the spawn functions every buyer (the player's buy step, the
// enemy commander, benchmarks) goes through. Depends on the object list and
// the battle record.
#pragma once

#include <string>

#include "battle/battle_state.h"
#include "objects/game_object.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

// Fighting units: Init sets up health, animation, health bar and sword
// marker; Update walks, sets damage and speed by tier and banner.
class Knight : public Sprite {
  public:
    void Init() override;
    void Update() override;
};
class Spearman : public Sprite {
  public:
    void Init() override;
    void Update() override;
};
class Horseman : public Sprite {
  public:
    void Init() override;
    void Update() override;
};

// The fight cloud of a lane ("DustDown" or "DustUp").
class Dust : public Sprite {
  public:
    void Init() override;
    void Update() override;
};

// The player's thief ("Allie"): walks along the bottom edge and brings money back.
class Thief : public Sprite {
  public:
    void Init() override;
    void Update() override;
};

// Base of the non-animated battle objects; adds nothing.
class Troop : public GameObject {};

// A side's castle at the end of the down lane ("AllieDown" or "EnemyDown").
class Castle : public Troop {
  public:
    void Init() override;
    void Update() override;
};

// A rising coin: a kill coin ("Coin") or a thief pop-up ("Coin+100", ...).
class Coin : public Troop {
  public:
    ~Coin() override;
    void Init() override;
    void Update() override;
    int32_t coinFrames = 30;
    int32_t popupFrames = 60;
};

// A catapult rock ("Rock") flying to the enemy castle.
class Rock : public Troop {
  public:
    void Init() override;
    void Update() override;
};

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// The troop type named by a typeName ("Knight", "Spearman", "Horseman"), or -1.
int TroopTypeOfName(const std::string& typeName);
// Creates a player troop of `type` at the left end of a lane, as a purchase
// does (no money is taken here).
GameObject* SpawnPlayerTroop(TroopType type, bool upLane);
// Creates an enemy troop of `type` at the right end of a lane.
GameObject* SpawnEnemyTroop(TroopType type, bool upLane);
// Points every player troop of the field at its type's current tier animation.
void RefreshPlayerTroopAnimations();
// Adds a kill coin at (x, y + 30).
GameObject* AddKillCoin(float x, float y);
