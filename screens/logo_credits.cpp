// Game logo and rolling credits (state 9), opened by the menu's Credits
// button: the game logo and three credit pictures rise up the screen, seven
// times faster while Space is held, and the menu returns when the last one has
// passed. The menu's track plays on underneath; this screen only silences it
// while the window is inactive and never touches the player's mute switches.
// Depends on the object list, input, the window, the sound system, the global
// keys and the main menu's music.
#include "screens/logo_credits.h"

#include "app/game_state.h"
#include "app/global_keys.h"
#include "app/input.h"
#include "app/settings.h"
#include "app/window.h"
#include "engine/audio/sound.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"
#include "objects/game_object.h"
#include "screens/main_menu.h"
#include "screens/ui.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

namespace {

// One rising picture: its name, starting height and file.
struct CreditPicture {
    const char* name;
    float startY;
    const char* file;
};

// Drawn in this order, so the executives' picture lies over the logos where they meet.
constexpr CreditPicture CREDIT_PICTURES[] = {
    {"Logo", -400, "data\\MorrowLogo.png"},
    {"BG", -1000, "data\\Credits.png"},
    {"Logos", -2070, "data\\LogosCredits.png"},
    {"Logos", -1470, "data\\CreditsExecutives.png"},
};
constexpr int CREDIT_PICTURE_COUNT = sizeof(CREDIT_PICTURES) / sizeof(CREDIT_PICTURES[0]);
// The picture that starts lowest ends the credits when it has risen past the top.
constexpr int LAST_PICTURE = 2;
// How far above the window's top edge the last picture's centre must rise.
constexpr float LEAVE_MARGIN = 250;
constexpr float NORMAL_SPEED = 1;
constexpr float FAST_SPEED = 7;

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

Texture* pictureTextures[CREDIT_PICTURE_COUNT] = {};
Texture* cursorTexture = nullptr;
GameObject* pictures[CREDIT_PICTURE_COUNT] = {};
GameObject* cursorObject = nullptr;

} // namespace

float creditsSpeed = NORMAL_SPEED;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

namespace {

// The menu's track at the music volume while the window is active and
// nothing is muted, silent otherwise (the mute switches are only read).
void UpdateMenuMusicVolume() {
    if (menuMusicChannel) SetChannelVolume(menuMusicChannel, MenuMusicLevel());
}

} // namespace

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Reads the five pictures and builds the square mesh.
void LogoCreditsLoad() {
    for (int i = 0; i < CREDIT_PICTURE_COUNT; ++i)
        pictureTextures[i] = LoadTexture(CREDIT_PICTURES[i].file);
    cursorTexture = LoadTexture("data\\Cursor.png");
    squareMesh = CreateSquareMesh(0xFFFFFFFF);
}

// Lays the pictures out below the screen; the menu's track goes on playing.
void LogoCreditsInit() {
    menuMusicStarted = true;
    for (int i = 0; i < CREDIT_PICTURE_COUNT; ++i)
        pictures[i] = AddPicture(CREDIT_PICTURES[i].name, 0, CREDIT_PICTURES[i].startY,
                                 BACKDROP_WIDTH, BACKDROP_HEIGHT, pictureTextures[i]);
    cursorObject = AddCursorObject("Cursor", cursorTexture);
}

// Raises the pictures and leaves for the menu once the last one is out of sight.
void LogoCreditsUpdate() {
    UpdateMenuMusicVolume();

    MoveToCursor(cursorObject);
    cursorObject->visible = 0;
    for (GameObject* picture : pictures)
        picture->position[1] += creditsSpeed;
    if (pictures[LAST_PICTURE]->position[1] >= windowHeight * 0.5f + LEAVE_MARGIN)
        nextState = GS_MAIN_MENU;
    creditsSpeed = IsKeyHeld(VK_SPACE) ? FAST_SPEED : NORMAL_SPEED;
    HandleGlobalInput();
}

// Frees the square mesh and the pictures.
void LogoCreditsUnload() {
    if (nextState == GS_QUIT) ReleaseMenuMusic(); // the program ends: its tracks go too
    FreeMesh(squareMesh);
    squareMesh = nullptr;
    for (Texture*& texture : pictureTextures) {
        UnloadTexture(texture);
        texture = nullptr;
    }
    UnloadTexture(cursorTexture);
    cursorTexture = nullptr;
}
