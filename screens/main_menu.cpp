// Main menu (state 4): what its Load reads, the objects its Init makes, the
// frame step (curtains, cursor, music volume, the global keys and the way out
// to the house selection), the draw, and the menu music that keeps playing
// through the credits, house selection and how-to-play screens until level 1
// releases it. The buttons are in main_menu_buttons.cpp, the settings panel in
// main_menu_settings.cpp. Depends on the state manager, window, input and
// settings, the sound system, textures, fonts, animations, the object list,
// the screen helpers, the quit confirmation and the battle record's end flags.
#include "screens/main_menu.h"

#include <cstdlib>
#include <ctime>

#include "app/game_state.h"
#include "app/global_keys.h"
#include "app/settings.h"
#include "app/window.h"
#include "battle/battle_state.h"
#include "engine/audio/sound.h"
#include "engine/graphics/font.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"
#include "objects/animation.h"
#include "objects/game_object.h"
#include "screens/main_menu_internal.h"
#include "screens/quit_dialog.h"
#include "screens/ui.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

// One plain picture object made by Init.
struct MenuPictureObject {
    const char* name;
    float x, y, width, height;
    MenuPicture picture;
    GameObject* MenuObjects::*slot; // where Init keeps it, or null
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

bool menuMusicStarted = false;
Channel* menuMusicChannel = nullptr;
bool playPressed = false;
float menuLeaveTimer = 2;
bool quitDialogOpen = false;
bool menuSettingsOpen = false;
bool returnWallMade = false;

Texture* menuPictures[MENU_PICTURE_COUNT] = {};
Font* menuFont = nullptr;
MenuObjects menu = {};

static const char* const menuPicturePaths[MENU_PICTURE_COUNT] = {
    "data\\MainMenuBG.png",
    "data\\MainMenuPanelDEF.png",
    "data\\ASHGROVE_LOGO.png",
    "data\\TransitionWall.png",
    "data\\Cursor.png",
    "data\\PlayButtonDEF.png",
    "data\\PlayButtonPressed.png",
    "data\\HowToPlayButtonDEF.png",
    "data\\HowToPlayButtonPressed.png",
    "data\\QuitButtonDEF.png",
    "data\\QuitButtonPressed.png",
    "data\\CreditsButton.png",
    "data\\CreditsButtonPressed.png",
    "data\\VolumeButton.png",
    "data\\VolumeButtonHoover.png",
    "data\\VolumeMutedButton.png",
    "data\\VolumeMutedButtonHoover.png",
    "data\\SettingsButton.png",
    "data\\SettingsButtonHoover.png",
    "data\\SFXButtonActiveMM.png",
    "data\\SFXButtonActivePressedMM.png",
    "data\\SFXButtonInactiveMM.png",
    "data\\SFXButtonInactivePressedMM.png",
    "data\\Settings.png",
    "data\\Arrow.png",
    "data\\ArrowRight.png",
    "data\\AreYouSure.png",
    "data\\YesButton.png",
    "data\\YesButtonPressed.png",
    "data\\NoButton.png",
    "data\\NoButtonPressed.png",
};

// The pictures between the knight and the settings panel, in drawing order.
static const MenuPictureObject frontPictures[] = {
    {"Panel", 0, -70, 355, 500, MENU_PANEL, nullptr},
    {"PlayButton", 0.7f, 100, 280, 80, MENU_PLAY, &MenuObjects::playButton},
    {"HowToPlayButton", 0.7f, -10, 280, 80, MENU_HOW_TO_PLAY, &MenuObjects::howToPlayButton},
    {"QuitButton", 0.7f, -235, 280, 80, MENU_QUIT, &MenuObjects::quitButton},
    {"CreditsButton", 0.7f, -123, 280, 80, MENU_CREDITS, &MenuObjects::creditsButton},
    {"Ashgrove_Logo", 550, -300, -352, 198, MENU_LOGO, nullptr},
    {"VolumeButton", -550, -300, 64, 64, MENU_VOLUME, &MenuObjects::volumeButton},
    {"SettingsButton", -460, -300, 64, 64, MENU_SETTINGS, &MenuObjects::settingsButton},
};

static const char* const MENU_THEME_PATH = "data\\MenuTheme.mp3";
static const char* const SPRING_VILLAGE_PATH = "data\\Spring_Village.mp3";
static const uint32_t LARGE_BUTTON_TINT = 0xFFFFFFFF;

static Sound* menuThemeSound = nullptr;
static Sound* springVillageSound = nullptr;
static Animation* knightAnimation = nullptr;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Starts one of the two tracks at random, looping, unless one is playing.
static void StartMenuMusic() {
    if (menuMusicStarted) return;
    srand(static_cast<unsigned>(time(nullptr)));
    Sound* track = rand() % 2 == 0 ? menuThemeSound : springVillageSound;
    // A missing channel is remembered as none, never as a stale slot.
    menuMusicChannel = PlaySound(track, false, MenuMusicLevel());
    if (!menuMusicChannel) return;
    SetChannelLooping(menuMusicChannel);
    // The track now plays: a restart of the menu must not start a second one.
    menuMusicStarted = true;
}

// Background, knight, panel, buttons, logo and small buttons, in drawing order.
static void AddMenuPictures() {
    AddPicture("BG", 0, 0, BACKDROP_WIDTH, BACKDROP_HEIGHT, menuPictures[MENU_BG]);
    Sprite* knight = new Sprite();
    AddObject(knight, "BGKnight", -300, -170, -300, 320, PI_F, squareMesh, nullptr);
    if (knightAnimation) SetAnimation(knight, knightAnimation);
    knight->loop = 1;
    menu.knight = knight;
    for (const MenuPictureObject& entry : frontPictures) {
        GameObject* object = AddPicture(entry.name, entry.x, entry.y, entry.width, entry.height,
                                        menuPictures[entry.picture]);
        if (entry.slot) menu.*entry.slot = object;
    }
    for (GameObject* button :
         {menu.playButton, menu.howToPlayButton, menu.quitButton, menu.creditsButton}) {
        button->useTint = 1;
        button->tintColor = LARGE_BUTTON_TINT;
    }
}

// Lowers the curtain that covers the menu after a win or lose screen.
static void StepReturnCurtain() {
    if (previousState != GS_LOSE && previousState != GS_WIN) return;
    if (!returnWallMade) {
        menu.returnWall =
            AddPicture("Wall", 0, 0, CURTAIN_WIDTH, CURTAIN_HEIGHT, menuPictures[MENU_WALL]);
        returnWallMade = true;
    }
    if (menu.returnWall && menu.returnWall->position[1] >= CURTAIN_OPEN_Y)
        menu.returnWall->position[1] -= CURTAIN_STEP;
}

// The music channel follows the volume, the mute switches and the window focus.
static void StepMenuMusicVolume() {
    if (menuMusicChannel) SetChannelVolume(menuMusicChannel, MenuMusicLevel());
}

// After Play: the curtain rises over the menu and the house selection follows.
static void StepLeaveToHouseSelection() {
    if (!playPressed) return;
    if (menuLeaveTimer <= 0) {
        nextState = GS_HOUSE_SELECT;
        return;
    }
    if (menu.wall && menu.wall->position[1] <= CURTAIN_CLOSED_Y)
        menu.wall->position[1] += CURTAIN_STEP;
    menuLeaveTimer -= static_cast<float>(frameTime);
    if (menuLeaveTimer <= 0) nextState = GS_HOUSE_SELECT;
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Reads the menu's pictures, knight animation, music and font; builds the
// mesh. Both tracks decode on another thread meanwhile.
void MainMenuLoad() {
    LoadSoundInBackground(MENU_THEME_PATH, &menuThemeSound);
    LoadSoundInBackground(SPRING_VILLAGE_PATH, &springVillageSound);
    for (int i = 0; i < MENU_PICTURE_COUNT; ++i)
        menuPictures[i] = LoadTexture(menuPicturePaths[i]);
    knightAnimation = LoadAnimation("data\\Animation\\BackgroundAnim");
    menuFont = LoadFont(29, 1.0f);
    squareMesh = CreateSquareMesh(0xFFFFFFFF);
    FinishSoundLoads();
    menuQuitDialogPictures = {menuPictures[MENU_ARE_YOU_SURE],
                              menuPictures[MENU_YES],
                              menuPictures[MENU_YES_PRESSED],
                              menuPictures[MENU_NO],
                              menuPictures[MENU_NO_PRESSED],
                              menuPictures[MENU_CURSOR],
                              nullptr,
                              nullptr};
}

// Starts the music if none plays, makes the objects and resets the menu's flags.
void MainMenuInit() {
    menuMusicReleased = false;
    StartMenuMusic();
    menu = {};
    AddMenuPictures();
    AddSettingsPanelObjects();
    menu.cursor = AddCursorObject("Cursor", menuPictures[MENU_CURSOR]);
    menu.wall = AddPicture("Wall", 0, CURTAIN_OPEN_Y, CURTAIN_WIDTH, CURTAIN_HEIGHT,
                           menuPictures[MENU_WALL]);
    ShowSettingsPanel(false);
    returnWallMade = false;
    playPressed = false;
    ClearBattleEndFlags();
    quitDialogOpen = false;
    menuSettingsOpen = false;
    menuLeaveTimer = static_cast<float>(frameRate * frameTime * 2);
}

// One frame of the menu; the buttons run inside HandleGlobalInput.
void MainMenuUpdate() {
    StepReturnCurtain();
    if (menu.knight) static_cast<Sprite*>(menu.knight)->playing = 1;
    MoveToCursor(menu.cursor);
    StepMenuMusicVolume();
    HandleGlobalInput();
    StepLeaveToHouseSelection();
}

// The objects, then the settings panel's texts over them.
void MainMenuDraw() {
    DrawAllObjects();
    if (menuSettingsOpen) DrawSettingsPanelTexts();
}

// Releases what Load read except the music, which plays on.
void MainMenuUnload() {
    if (nextState == GS_QUIT) ReleaseMenuMusic(); // the program ends: its tracks go too
    FreeMesh(squareMesh);
    squareMesh = nullptr;
    for (Texture*& picture : menuPictures) {
        UnloadTexture(picture);
        picture = nullptr;
    }
    FreeAllAnimations();
    knightAnimation = nullptr;
    FreeFont(menuFont);
    menuFont = nullptr;
    menuQuitDialogPictures = {};
    menu = {};
}

// The menu track's level: silent while anything mutes it or in the background.
float MenuMusicLevel() {
    return AudibleLevel(!soundMuted && !musicMuted);
}

// Releases the two menu tracks; the next menu Init starts a new one.
void ReleaseMenuMusic() {
    ReleaseSound(menuThemeSound);
    ReleaseSound(springVillageSound);
    menuThemeSound = nullptr;
    springVillageSound = nullptr;
    menuMusicChannel = nullptr;
    menuMusicStarted = false;
}
