// House selection (state 8): four house selectors side by side, each with a
// description panel shown while it is pointed at; a click stores the house,
// closes a curtain and starts level 1 two seconds later. Depends on the state
// manager, settings (`house`), window, textures, meshes, the object list, the
// screen helpers, the global keys and the menu music flag.
#include "screens/house_select.h"

#include <cstdint>

#include "app/game_state.h"
#include "app/global_keys.h"
#include "app/settings.h"
#include "app/window.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"
#include "objects/game_object.h"
#include "screens/main_menu.h"
#include "screens/ui.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

// One house: its selector and panel objects, pictures and places.
struct HouseEntry {
    const char* selectorName;
    const char* panelName;
    float x;
    const char* selectorPath;
    const char* selectorHoverPath;
    const char* panelPath;
};

// Pictures other than the houses'.
enum HousePicture {
    HOUSE_CHOOSE_TEXT,
    HOUSE_CURSOR,
    HOUSE_BACKGROUND,
    HOUSE_TEXT_BG,
    HOUSE_WALL,
    HOUSE_PICTURE_COUNT
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

bool houseChosen = false;
float startTimer = 2;

enum { HOUSE_COUNT = 4 };

// In house number order: 0 Noblemen, 1 Workers, 2 Wisemen, 3 Warriors.
static const HouseEntry houses[HOUSE_COUNT] = {
    {"Nobelmen", "NoblemenPanel", -500, "data\\NoblemenSelector.png",
     "data\\NoblemenSelectorPressed.png", "data\\NoblemenPanel.png"},
    {"Workers", "WorkerPanel", -150, "data\\WorkersSelector.png",
     "data\\WorkersSelectorPressed.png", "data\\WorkerPanel.png"},
    {"Wisemen", "WisemenPanel", 180, "data\\WisemenSelector.png",
     "data\\WisemenSelectorPressed.png", "data\\WisemenPanel.png"},
    {"Warriors", "WarriorPanel", 500, "data\\WarriorsSelector.png",
     "data\\WarriorsSelectorPressed.png", "data\\WarriorPanel.png"},
};

static const char* const housePicturePaths[HOUSE_PICTURE_COUNT] = {
    "data\\ChooseHouse.png", "data\\Cursor.png", "data\\BackgroundHouses.png", "data\\TextBg.png",
    "data\\TransitionWall.png"};

static const float SELECTOR_Y = 100;
static const float PANEL_Y = -200;

static Texture* housePictures[HOUSE_PICTURE_COUNT] = {};
static Texture* selectorPictures[HOUSE_COUNT] = {};
static Texture* selectorHoverPictures[HOUSE_COUNT] = {};
static Texture* panelPictures[HOUSE_COUNT] = {};

// Objects reached every frame (valid from Init to Free).
static GameObject* selectors[HOUSE_COUNT] = {};
static GameObject* panels[HOUSE_COUNT] = {};
static GameObject* houseCursor = nullptr;
static GameObject* openingWall = nullptr;
static GameObject* closingWall = nullptr;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// The pointed house shows its lit selector and its panel; a click chooses it.
static void StepHouseHoverAndClick() {
    for (int i = 0; i < HOUSE_COUNT; ++i) {
        bool pointed =
            UpdateButtonPicture(selectors[i], selectorPictures[i], selectorHoverPictures[i]);
        if (panels[i]) panels[i]->visible = pointed;
        if (pointed && IsClicked(selectors[i])) {
            house = static_cast<uint8_t>(i);
            houseChosen = true;
        }
    }
}

// After a choice: the curtain rises and level 1 follows when the time is up.
static void StepLeaveToLevel() {
    if (houseChosen) {
        if (startTimer <= 0) {
            nextState = GS_LEVEL1;
            return;
        }
        if (closingWall && closingWall->position[1] <= CURTAIN_CLOSED_Y)
            closingWall->position[1] += CURTAIN_STEP;
        startTimer -= static_cast<float>(frameTime);
    }
    if (startTimer <= 0) nextState = GS_LEVEL1;
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Reads the seventeen pictures and builds the blue-tinted square mesh.
void HouseSelectLoad() {
    for (int i = 0; i < HOUSE_PICTURE_COUNT; ++i)
        housePictures[i] = LoadTexture(housePicturePaths[i]);
    for (int i = 0; i < HOUSE_COUNT; ++i) {
        selectorPictures[i] = LoadTexture(houses[i].selectorPath);
        selectorHoverPictures[i] = LoadTexture(houses[i].selectorHoverPath);
        panelPictures[i] = LoadTexture(houses[i].panelPath);
    }
    squareMesh = CreateSquareMesh(0xFF0000FF);
}

// Keeps the menu track playing, makes the objects and resets the choice.
void HouseSelectInit() {
    menuMusicStarted = true;
    AddPicture("Background", 0, 0, BACKDROP_WIDTH, BACKDROP_HEIGHT,
               housePictures[HOUSE_BACKGROUND]);
    AddPicture("TextBg", 0, 300, -1280, 150, housePictures[HOUSE_TEXT_BG]);
    AddPicture("ChooseText", 0, 300, BACKDROP_WIDTH, BACKDROP_HEIGHT,
               housePictures[HOUSE_CHOOSE_TEXT]);
    for (int i = 0; i < HOUSE_COUNT; ++i)
        selectors[i] = AddPicture(houses[i].selectorName, houses[i].x, SELECTOR_Y, 250, 260,
                                  selectorPictures[i]);
    for (int i = 0; i < HOUSE_COUNT; ++i)
        panels[i] =
            AddPicture(houses[i].panelName, houses[i].x, PANEL_Y, -330, 320, panelPictures[i]);
    houseCursor = AddCursorObject("Cursor", housePictures[HOUSE_CURSOR]);
    openingWall =
        AddPicture("Wall", 0, 0, CURTAIN_WIDTH, CURTAIN_HEIGHT, housePictures[HOUSE_WALL]);
    closingWall = AddPicture("Wall", 0, CURTAIN_OPEN_Y, CURTAIN_WIDTH, CURTAIN_HEIGHT,
                             housePictures[HOUSE_WALL]);
    startTimer = static_cast<float>(frameRate * frameTime * 2);
    houseChosen = false;
}

// One frame: curtains, cursor, the way out to level 1, houses, global keys.
void HouseSelectUpdate() {
    if (openingWall && openingWall->position[1] >= CURTAIN_OPEN_Y)
        openingWall->position[1] -= CURTAIN_STEP;
    MoveToCursor(houseCursor);
    StepLeaveToLevel();
    StepHouseHoverAndClick();
    HandleGlobalInput();
}

// Releases the mesh and the seventeen pictures.
void HouseSelectUnload() {
    if (nextState == GS_QUIT) ReleaseMenuMusic(); // the program ends: its tracks go too
    FreeMesh(squareMesh);
    squareMesh = nullptr;
    for (Texture*& picture : housePictures) {
        UnloadTexture(picture);
        picture = nullptr;
    }
    for (int i = 0; i < HOUSE_COUNT; ++i) {
        UnloadTexture(selectorPictures[i]);
        UnloadTexture(selectorHoverPictures[i]);
        UnloadTexture(panelPictures[i]);
        selectorPictures[i] = selectorHoverPictures[i] = panelPictures[i] = nullptr;
    }
    for (int i = 0; i < HOUSE_COUNT; ++i)
        selectors[i] = panels[i] = nullptr;
    houseCursor = openingWall = closingWall = nullptr;
}
