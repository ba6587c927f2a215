// Thief and coins: the thief that walks along the bottom edge and brings back
// a random sum, the kill coins and the thief's "+N" pop-ups that rise and
// vanish. Depends on the battle record, its assets, the object list, rand()
// and the sound system.
#include <cstdlib>

#include "app/game_state.h"
#include "app/settings.h"
#include "battle/battle_objects.h"
#include "engine/audio/sound.h"

// ---------------------------------------------------------------------------
// Tables
// ---------------------------------------------------------------------------

static const float THIEF_START_X = -390;
static const float THIEF_Y = -275;
static const float THIEF_END_X = 440;

// Reward by roll r = rand() % 100 + 1: the highest roll of each row.
struct ThiefReward {
    int32_t highestRoll;
    const char* popupName;
    int32_t money;
};
static const ThiefReward THIEF_REWARDS[] = {
    {70, "Coin+100", 100}, {90, "Coin+50", 50}, {97, "Coin+40", 40}, {100, "Coin+200", 200}};

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Picture of a pop-up by its name.
static Texture* PopupPicture(int32_t amount) {
    if (amount == 100) return battleAssets.coin100;
    if (amount == 50) return battleAssets.coin50;
    if (amount == 40) return battleAssets.coin40;
    return battleAssets.coin200;
}

// The reward row of a roll from 1 to 100.
static const ThiefReward& RewardOfRoll(int roll) {
    for (const ThiefReward& reward : THIEF_REWARDS)
        if (roll <= reward.highestRoll) return reward;
    return THIEF_REWARDS[3];
}

// ---------------------------------------------------------------------------
// Thief
// ---------------------------------------------------------------------------

// Places the thief at the left of the bottom edge with its walk animation.
void Thief::Init() {
    position[0] = THIEF_START_X;
    position[1] = THIEF_Y;
    scale[0] = 35;
    scale[1] = 75;
    texture = battleAssets.thief;
    if (battleAssets.thiefAnim) SetAnimation(this, battleAssets.thiefAnim);
    loop = 1;
    healthBarFill = nullptr;
    rotation = PI_F;
    mesh = squareMesh;
}

// Walks one unit per frame; at the far side pays the reward and leaves.
void Thief::Update() {
    if (BattleState::paused) {
        playing = 0;
        return;
    }
    playing = 1;
    if (name != "Allie") return;
    position[0] += 1;
    if (position[0] < THIEF_END_X) return;
    const ThiefReward& reward = RewardOfRoll(rand() % 100 + 1);
    AddObject(new Coin(), reward.popupName, position[0], position[1] + 30, -40, 40, PI_F,
              squareMesh, PopupPicture(reward.money));
    BattleState::money += reward.money;
    BattleState::thiefOut = false;
    DestroyObject(this);
}

// ---------------------------------------------------------------------------
// Coin
// ---------------------------------------------------------------------------

Coin::~Coin() = default;

// Starts the level's coin sound at the current volume.
void Coin::Init() {
    mesh = squareMesh;
    rotation = PI_F;
    coinFrames = 30;
    popupFrames = 60;
    Channel* channel = PlaySound(battleAssets.coinSound, true);
    if (!channel) return;
    float level = soundMuted ? 0.0f : static_cast<float>(volume) / 100.0f;
    SetChannelVolume(channel, level < 0 ? 0 : (level > 1 ? 1 : level));
    ResumeChannel(channel);
}

// Rises and vanishes: a kill coin after 30 frames, a pop-up after 60.
void Coin::Update() {
    if (BattleState::paused) return;
    coinFrames -= 1;
    popupFrames -= 1;
    if (name != "Coin") {
        if (popupFrames >= 1)
            position[1] += 1;
        else
            DestroyObject(this);
        return;
    }
    if (coinFrames >= 1)
        position[1] += 3;
    else
        DestroyObject(this);
}

// A kill coin where an enemy fell.
GameObject* AddKillCoin(float x, float y) {
    return AddObject(new Coin(), "Coin", x, y + 30, 40, 40, PI_F, squareMesh, battleAssets.coin);
}
