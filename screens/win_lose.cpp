// Win (state 6) and lose (state 5) screens, shown when a battle ends. Each is
// a full-screen picture with Main menu on the left and a level button on the
// right (lose: Restart the lost level; win: Next level). After the third
// level the win screen shows the player's house picture with Main menu
// alone. A choice raises a curtain and the next state follows two seconds
// later; Space (a global key) leaves for the menu at once. Both screens run
// the same code, each driven by its table. Depends on the object list,
// input, the window, the sound system, the settings, the global keys and the
// battle record (which level ended, the end-of-battle flags).
#include "screens/win_lose.h"

#include <cstdio>

#include "app/game_state.h"
#include "app/global_keys.h"
#include "app/settings.h"
#include "app/window.h"
#include "battle/battle_state.h"
#include "engine/audio/sound.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"
#include "objects/game_object.h"
#include "screens/ui.h"

// ---------------------------------------------------------------------------
// Globals (public)
// ---------------------------------------------------------------------------

EndScreenState loseScreen;
EndScreenState winScreen;
bool restartLevel1 = false, restartLevel2 = false, restartLevel3 = false;
bool toLevel2 = false, toLevel3 = false;

namespace {

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

// What a click on the right button chooses after a given level, and where
// that choice leads.
struct RightButtonChoice {
    int32_t finishedLevel;
    bool* flag;
    int32_t target;
};

// Everything that tells the two screens apart.
struct EndScreenTable {
    EndScreenState* state;
    uint32_t meshColor;
    const char* background;
    const char* rightName;
    const char* rightFile;
    const char* rightHoverFile;
    const char* music;
    // In the order the leaving step tries them (the later level first).
    RightButtonChoice choices[3];
    int choiceCount;
    // The win screen runs the global keys before its buttons, the lose screen after.
    bool globalKeysFirst;
};

const EndScreenTable LOSE_TABLE = {
    &loseScreen,
    0xFFFF0000,
    "data\\YouLoseDEF2.png",
    "RestartButton",
    "data\\RestartButton.png",
    "data\\RestartButtonPressed.png",
    "data\\YouLose.mp3",
    {{GS_LEVEL3, &restartLevel3, GS_LEVEL3},
     {GS_LEVEL2, &restartLevel2, GS_LEVEL2},
     {GS_LEVEL1, &restartLevel1, GS_LEVEL1}},
    3,
    false,
};

const EndScreenTable WIN_TABLE = {
    &winScreen,
    0xFF0000FF,
    "data\\YouWinDEF2.png",
    "NextLevelButton",
    "data\\NextLevelButton.png",
    "data\\NextLevelButtonPressed.png",
    "data\\Meowgic.mp3",
    {{GS_LEVEL2, &toLevel3, GS_LEVEL3}, {GS_LEVEL1, &toLevel2, GS_LEVEL2}, {}},
    2,
    true,
};

// After the third level the win screen plays this and shows the house's picture.
constexpr const char* FINAL_MUSIC = "data\\Spring_Village.mp3";
constexpr const char* FINAL_PICTURES[] = {
    "data\\FinalNoblemen.png",
    "data\\FinalWorkers.png",
    "data\\FinalWisemen.png",
    "data\\FinalWarriors.png",
};

// Layout in design units.
constexpr float SIDE_BUTTON_X = 500, SIDE_BUTTON_Y = 10;
constexpr float SIDE_BUTTON_WIDTH = 250, SIDE_BUTTON_HEIGHT = 260;
constexpr float FINAL_BUTTON_Y = -270, FINAL_BUTTON_SIZE = 170;
constexpr float LEAVE_SECONDS = 2;

// What one screen loads, and the objects its Update works with.
struct EndScreenAssets {
    Texture* background;
    Texture* finalPicture; // win screen only
    Texture* mainMenu;
    Texture* mainMenuHover;
    Texture* right;
    Texture* rightHover;
    Texture* cursor;
    Texture* wall;
    Sound* music;
    Sound* finalMusic; // win screen only
    GameObject* rightButton;
    GameObject* mainMenuButton;
    GameObject* cursorObject;
};

// ---------------------------------------------------------------------------
// Globals (internal)
// ---------------------------------------------------------------------------

EndScreenAssets loseAssets = {};
EndScreenAssets winAssets = {};

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// The house's final picture, or null (and a note on stderr) for an unknown house.
const char* FinalPictureFile() {
    if (house < sizeof(FINAL_PICTURES) / sizeof(FINAL_PICTURES[0])) return FINAL_PICTURES[house];
    fprintf(stderr, "win screen: no final picture for house %u\n", static_cast<unsigned>(house));
    return nullptr;
}

// Reads the pictures and music every end screen has; builds the square mesh.
// The music decodes on another thread until the screen's Load finishes it.
void LoadEndScreen(const EndScreenTable& table, EndScreenAssets& assets) {
    assets = {};
    LoadSoundInBackground(table.music, &assets.music);
    assets.background = LoadTexture(table.background);
    assets.mainMenu = LoadTexture("data\\MainMenuButton.png");
    assets.mainMenuHover = LoadTexture("data\\MainMenuButtonPressed.png");
    assets.right = LoadTexture(table.rightFile);
    assets.rightHover = LoadTexture(table.rightHoverFile);
    assets.cursor = LoadTexture("data\\Cursor.png");
    assets.wall = LoadTexture("data\\TransitionWall.png");
    squareMesh = CreateSquareMesh(table.meshColor);
}

// The end screen's track: silent when music is muted or in the background.
float EndMusicLevel() {
    return AudibleLevel(!musicMuted);
}

// Starts `music` looping for ever and remembers it; a restarted screen's
// track replaces the one still playing.
void StartMusic(EndScreenState& state, Sound* music) {
    StopChannel(state.musicChannel);
    state.music = music;
    state.musicChannel = PlaySound(music, false, EndMusicLevel());
    if (state.musicChannel) SetChannelLooping(state.musicChannel);
}

// The background and buttons: two side buttons, or after the last level
// (`isFinal`) the house's picture with Main menu alone.
void AddEndScreenPictures(const EndScreenTable& table, EndScreenAssets& assets,
                          Texture* finalPicture, bool isFinal) {
    if (isFinal) {
        // An unknown house has no picture: the plain win picture stands in.
        AddPicture("BG", 0, 0, BACKDROP_WIDTH, BACKDROP_HEIGHT,
                   finalPicture ? finalPicture : assets.background);
        assets.rightButton = nullptr;
        assets.mainMenuButton = AddPicture("MainMenuButton", 0, FINAL_BUTTON_Y, FINAL_BUTTON_SIZE,
                                           FINAL_BUTTON_SIZE, assets.mainMenu);
        return;
    }
    AddPicture("BG", 0, 0, BACKDROP_WIDTH, BACKDROP_HEIGHT, assets.background);
    assets.rightButton = AddPicture(table.rightName, SIDE_BUTTON_X, SIDE_BUTTON_Y,
                                    SIDE_BUTTON_WIDTH, SIDE_BUTTON_HEIGHT, assets.right);
    assets.mainMenuButton = AddPicture("MainMenuButton", -SIDE_BUTTON_X, SIDE_BUTTON_Y,
                                       SIDE_BUTTON_WIDTH, SIDE_BUTTON_HEIGHT, assets.mainMenu);
}

// Cursor and curtains over the pictures; clears the choices and the battle's end flags.
void FinishEndScreenInit(const EndScreenTable& table, EndScreenAssets& assets) {
    EndScreenState& state = *table.state;
    assets.cursorObject = AddCursorObject("Cursor", assets.cursor);
    state.openingWall = AddPicture("Wall", 0, 0, CURTAIN_WIDTH, CURTAIN_HEIGHT, assets.wall);
    state.closingWall =
        AddPicture("Wall", 0, CURTAIN_OPEN_Y, CURTAIN_WIDTH, CURTAIN_HEIGHT, assets.wall);
    state.toMainMenu = false;
    for (int i = 0; i < table.choiceCount; ++i)
        *table.choices[i].flag = false;
    state.leaveTimer = LEAVE_SECONDS;
    ClearBattleEndFlags();
}

// True once any button has been chosen.
bool ChoiceMade(const EndScreenTable& table) {
    if (table.state->toMainMenu) return true;
    for (int i = 0; i < table.choiceCount; ++i)
        if (*table.choices[i].flag) return true;
    return false;
}

// The state the choices lead to: the menu first, then the later level.
int32_t ChosenState(const EndScreenTable& table) {
    if (table.state->toMainMenu) return GS_MAIN_MENU;
    for (int i = 0; i < table.choiceCount; ++i)
        if (*table.choices[i].flag) return table.choices[i].target;
    return nextState;
}

// Raises the closing curtain for two seconds after a choice, then leaves.
void UpdateLeaving(const EndScreenTable& table) {
    EndScreenState& state = *table.state;
    if (!ChoiceMade(table)) return;
    if (state.leaveTimer > 0) {
        if (state.closingWall->position[1] <= CURTAIN_CLOSED_Y)
            state.closingWall->position[1] += CURTAIN_STEP;
        state.leaveTimer -= static_cast<float>(frameTime);
    }
    if (state.leaveTimer <= 0) nextState = ChosenState(table);
}

// Hover pictures and clicks of the two buttons; the buttons stay live while
// the curtain rises, and a later click may add a choice.
void UpdateEndScreenButtons(const EndScreenTable& table, EndScreenAssets& assets) {
    if (assets.rightButton) {
        UpdateButtonPicture(assets.rightButton, assets.right, assets.rightHover);
        if (IsClicked(assets.rightButton)) {
            for (int i = 0; i < table.choiceCount; ++i)
                if (table.choices[i].finishedLevel == previousState) *table.choices[i].flag = true;
        }
    }
    UpdateButtonPicture(assets.mainMenuButton, assets.mainMenu, assets.mainMenuHover);
    if (IsClicked(assets.mainMenuButton)) table.state->toMainMenu = true;
}

// One frame of either screen.
void UpdateEndScreen(const EndScreenTable& table, EndScreenAssets& assets) {
    EndScreenState& state = *table.state;
    if (state.openingWall->position[1] >= CURTAIN_OPEN_Y)
        state.openingWall->position[1] -= CURTAIN_STEP;
    MoveToCursor(assets.cursorObject);
    if (state.musicChannel) SetChannelVolume(state.musicChannel, EndMusicLevel());
    UpdateLeaving(table);
    if (table.globalKeysFirst) HandleGlobalInput();
    UpdateEndScreenButtons(table, assets);
    if (!table.globalKeysFirst) HandleGlobalInput();
}

// Releases what LoadEndScreen (and the win screen's extras) read.
void UnloadEndScreen(EndScreenAssets& assets) {
    Texture* textures[] = {assets.background,    assets.finalPicture, assets.mainMenu,
                           assets.mainMenuHover, assets.right,        assets.rightHover,
                           assets.cursor,        assets.wall};
    for (Texture* texture : textures)
        if (texture) UnloadTexture(texture);
    ReleaseSound(assets.music);
    ReleaseSound(assets.finalMusic);
    if (squareMesh) FreeMesh(squareMesh);
    squareMesh = nullptr;
    assets = {};
}

// Forgets the objects and channel the state pointed to (they are gone with the screen).
void ForgetState(EndScreenState& state) {
    state.openingWall = state.closingWall = nullptr;
    state.music = nullptr;
    state.musicChannel = nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// Public functions: lose screen
// ---------------------------------------------------------------------------

// Reads the lose screen's pictures and music.
void LoseLoad() {
    LoadEndScreen(LOSE_TABLE, loseAssets);
    FinishSoundLoads();
}

// Lays out the lose screen and starts its music.
void LoseInit() {
    AddEndScreenPictures(LOSE_TABLE, loseAssets, nullptr, false);
    FinishEndScreenInit(LOSE_TABLE, loseAssets);
    StartMusic(loseScreen, loseAssets.music);
}

// One frame of the lose screen.
void LoseUpdate() {
    UpdateEndScreen(LOSE_TABLE, loseAssets);
}

// Releases the lose screen's pictures, music and mesh.
void LoseUnload() {
    UnloadEndScreen(loseAssets);
    ForgetState(loseScreen);
}

// ---------------------------------------------------------------------------
// Public functions: win screen
// ---------------------------------------------------------------------------

// Reads the win screen's pictures and both tracks, and the house's final picture.
void WinLoad() {
    LoadEndScreen(WIN_TABLE, winAssets);
    LoadSoundInBackground(FINAL_MUSIC, &winAssets.finalMusic);
    if (const char* file = FinalPictureFile()) winAssets.finalPicture = LoadTexture(file);
    FinishSoundLoads();
}

// Lays out the win screen (the final picture after the last level) and starts its music.
void WinInit() {
    bool isFinal = previousState == GS_LEVEL3;
    StartMusic(winScreen, isFinal ? winAssets.finalMusic : winAssets.music);
    AddEndScreenPictures(WIN_TABLE, winAssets, winAssets.finalPicture, isFinal);
    FinishEndScreenInit(WIN_TABLE, winAssets);
}

// One frame of the win screen.
void WinUpdate() {
    UpdateEndScreen(WIN_TABLE, winAssets);
}

// Releases the win screen's pictures, both tracks and the mesh.
void WinUnload() {
    UnloadEndScreen(winAssets);
    ForgetState(winScreen);
}
