// Castles and the end of a battle: the two castles with their health bars,
// the opening curtain, the closing curtain with the change to the win or lose
// screen, and the K shortcut. Depends on the battle record, its assets, the
// object list, input and the state manager.
#include "battle/castle.h"

#include "app/game_state.h"
#include "app/input.h"
#include "battle/battle_objects.h"
#include "screens/ui.h"

// ---------------------------------------------------------------------------
// Tables
// ---------------------------------------------------------------------------

static const float CASTLE_X = 630;
static const float CASTLE_Y = -100;
static const float CASTLE_HEALTH = 300;
static const float BAR_WIDTH = 70;
static const float BAR_OFFSET_X = 40; // bar and plate stand 40 units towards the field

// ---------------------------------------------------------------------------
// Castle
// ---------------------------------------------------------------------------

// Sets up the castle of the side its name tells, with plate, bar and marker.
void Castle::Init() {
    bool player = name == "AllieDown";
    float x = player ? -CASTLE_X : CASTLE_X, y = CASTLE_Y;
    float side = player ? 1.0f : -1.0f; // +x for the player's bar, -x for the enemy's
    position[0] = x;
    position[1] = y;
    scale[0] = player ? -200.0f : 200.0f;
    scale[1] = 600;
    rotation = PI_F;
    mesh = squareMesh;
    texture = player ? battleAssets.playerCastle : battleAssets.enemyCastle;
    maxHealth = CASTLE_HEALTH;
    health = CASTLE_HEALTH + (player ? static_cast<float>(BattleState::castleHealthBonus) : 0.0f);
    damage = 0;
    typeName = "Castle";
    healthBarWidth = BAR_WIDTH;
    float barX = x + side * BAR_OFFSET_X;
    AddObject(new GameObject(), "HealthBG", barX, y + 127, 90, 60, PI_F, squareMesh,
              battleAssets.healthBG);
    healthBarFrame = AddObject(new GameObject(), "HealthBar", barX, y + 130, side * BAR_WIDTH, 40,
                               PI_F, squareMesh, battleAssets.emptyHealthBar);
    healthBarFill = AddObject(new GameObject(), "HealthBar", barX, y + 130, BAR_WIDTH, 50, PI_F,
                              squareMesh, battleAssets.healthBar);
    swordMarker = AddObject(new GameObject(), "SwordSprite", x, y + 100, 30, 30, PI_F, squareMesh,
                            battleAssets.bannerPowerUp);
    if (swordMarker) swordMarker->visible = 0;
}

// Keeps the bar emptying towards the castle and notices the castle's fall
// (also while paused).
void Castle::Update() {
    bool player = name == "AllieDown";
    if (healthBarFill && maxHealth > 0) {
        float width = health / maxHealth * BAR_WIDTH;
        float shift = (BAR_WIDTH - width) / 2;
        healthBarFill->position[0] =
            player ? position[0] - shift + BAR_OFFSET_X : position[0] + shift - BAR_OFFSET_X;
        healthBarFill->position[1] = position[1] + 130;
        if (healthBarFrame)
            healthBarFrame->position[0] = position[0] + (player ? BAR_OFFSET_X : -BAR_OFFSET_X);
    }
    if (health <= 0) {
        if (player)
            BattleState::battleLost = true;
        else if (name == "EnemyDown")
            BattleState::battleWon = true;
    }
}

// ---------------------------------------------------------------------------
// Curtains and the end
// ---------------------------------------------------------------------------

// The opening curtain slides down until it is out of the view.
void RunOpeningCurtain() {
    GameObject* wall = battle->introWall;
    if (!wall) {
        battle->introWallGone = true;
        return;
    }
    if (wall->position[1] >= CURTAIN_OPEN_Y) wall->position[1] -= CURTAIN_STEP;
    if (wall->position[1] <= CURTAIN_OPEN_Y) battle->introWallGone = true;
}

// Once a castle has fallen: hide the HUD, close the curtain for 2 s, then
// leave for the lose or the win screen (the win when both fell).
void RunEndOfBattle() {
    BattleState* state = battle;
    if (!BattleState::battleLost && !BattleState::battleWon) {
        state->hudHidden = false;
        return;
    }
    state->hudHidden = true;
    if (!state->endWallPlaced) {
        state->endWall = AddObject(new GameObject(), "Wall", 0, CURTAIN_OPEN_Y, CURTAIN_WIDTH,
                                   CURTAIN_HEIGHT, PI_F, squareMesh, battleAssets.transitionWall);
        state->endWallPlaced = true;
    }
    if (state->endTransitionTimer > 0) {
        if (state->endWall && state->endWall->position[1] <= CURTAIN_CLOSED_Y)
            state->endWall->position[1] += CURTAIN_STEP;
        state->endTransitionTimer -= static_cast<float>(frameTime);
    }
    if (state->endTransitionTimer <= 0) {
        if (BattleState::battleLost) nextState = GS_LOSE;
        if (BattleState::battleWon) nextState = GS_WIN;
    }
}

// K goes to the win screen at once.
void RunWinShortcut() {
    if (IsKeyPressed('K')) nextState = GS_WIN;
}
