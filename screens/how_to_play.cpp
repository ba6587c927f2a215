// How to play (state 7): a book with five topic buttons on the left and the
// chosen topic's page on the right; each change of page turns a page audibly.
// The back button or Space returns to the main menu, whose track plays on
// through this screen. Depends on the object list, input, the window, the
// sound system, the settings, the global keys and the main menu's flags.
#include "screens/how_to_play.h"

#include <algorithm>

#include "app/game_state.h"
#include "app/global_keys.h"
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

// One topic: its button on the left and its page on the right.
struct TopicLayout {
    HowToPlayTopic topic;
    const char* buttonName;
    float buttonY;
    const char* buttonFile;
    const char* buttonHoverFile;
    const char* pageName;
    float pageY, pageWidth, pageHeight;
    const char* pageFile;
};

// In creation and button-handling order.
constexpr TopicLayout TOPICS[TOPIC_COUNT] = {
    {TOPIC_BANNER, "BannerButton", -70, "data\\ButtonBaner.png", "data\\ButtonBanerPressed.png",
     "BannerHow", 0, -600, 518, "data\\BannerExplanation.png"},
    {TOPIC_BUYING, "BuyingButton", 141, "data\\ButtonBuying.png", "data\\ButtonBuyingPressed.png",
     "BuyingHow", -10, -464, 506, "data\\BuyingExplanation.png"},
    // The thief's hover picture really is spelt "Pessed".
    {TOPIC_THIEF, "ThiefButton", 0, "data\\ButtonThief.png", "data\\ButtonThiefPessed.png",
     "ThiefHow", 0, -600, 518, "data\\ThiefExplanation.png"},
    {TOPIC_TROOPS, "TroopButton", 214, "data\\ButtonTroops.png", "data\\ButtonTroopsPressed.png",
     "TroopsHow", 0, -442, 492, "data\\TroopExplanation.png"},
    {TOPIC_UPGRADING, "UpgradeButton", 70, "data\\ButtonUpgrading.png",
     "data\\ButtonUpgradingPressed.png", "UpgradeHow", 0, -600, 518,
     "data\\UpgradeExplanation.png"},
};
constexpr float TOPIC_BUTTON_X = -414, TOPIC_BUTTON_WIDTH = 155, TOPIC_BUTTON_HEIGHT = 65;
constexpr float PAGE_X = 260;
constexpr float BACK_BUTTON_X = -445, BACK_BUTTON_Y = -150, BACK_BUTTON_SIZE = 90;
constexpr const char* PAGE_TURN_FILE = "data\\BookTurn.mp3";

// The pictures of one topic.
struct TopicTextures {
    Texture* button;
    Texture* buttonHover;
    Texture* page;
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

Sound* pageTurnSound = nullptr;
Texture* backgroundTexture = nullptr;
Texture* cursorTexture = nullptr;
Texture* backTexture = nullptr;
Texture* backHoverTexture = nullptr;
TopicTextures topicTextures[TOPIC_COUNT] = {};
GameObject* topicButtons[TOPIC_COUNT] = {};
GameObject* topicPages[TOPIC_COUNT] = {};
GameObject* backButton = nullptr;
GameObject* cursorObject = nullptr;

} // namespace

bool topicShown[TOPIC_COUNT] = {};
Channel* pageTurnChannel = nullptr;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

namespace {

// The page turn is silent while everything is muted or the window is inactive.
float PageTurnLevel() {
    return AudibleLevel(!soundMuted);
}

// Shows the page of the topic at `index` alone and turns a page: the page
// turn primed at Init sounds together with the first real one.
void ShowTopic(int index) {
    for (int i = 0; i < TOPIC_COUNT; ++i) {
        topicShown[TOPICS[i].topic] = (i == index);
        topicPages[i]->visible = (i == index);
    }
    if (pageTurnChannel && pageTurnChannel->paused) ResumeChannel(pageTurnChannel);
    pageTurnChannel = PlaySound(pageTurnSound, false, PageTurnLevel());
}

// Hover pictures and clicks of the topic buttons and the back button.
void UpdateButtons() {
    for (int i = 0; i < TOPIC_COUNT; ++i) {
        UpdateButtonPicture(topicButtons[i], topicTextures[i].button, topicTextures[i].buttonHover);
        if (!topicShown[TOPICS[i].topic] && IsClicked(topicButtons[i])) ShowTopic(i);
    }
    UpdateButtonPicture(backButton, backTexture, backHoverTexture);
    if (IsClicked(backButton)) nextState = GS_MAIN_MENU;
}

// The page-turn channel follows the settings and the window's focus.
void UpdatePageTurnVolume() {
    if (pageTurnChannel) SetChannelVolume(pageTurnChannel, PageTurnLevel());
}

} // namespace

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Reads the page-turn sound and the nineteen pictures; builds the square mesh.
void HowToPlayLoad() {
    pageTurnSound = LoadSound(PAGE_TURN_FILE);
    backgroundTexture = LoadTexture("data\\BackgroundHowToPlay.png");
    cursorTexture = LoadTexture("data\\Cursor.png");
    for (int i = 0; i < TOPIC_COUNT; ++i) {
        topicTextures[i].button = LoadTexture(TOPICS[i].buttonFile);
        topicTextures[i].buttonHover = LoadTexture(TOPICS[i].buttonHoverFile);
        topicTextures[i].page = LoadTexture(TOPICS[i].pageFile);
    }
    backTexture = LoadTexture("data\\ButtonBackToMenu.png");
    backHoverTexture = LoadTexture("data\\ButtonBackToMenuPressed.png");
    squareMesh = CreateSquareMesh(0xFFFFFFFF);
}

// Primes the page turn and opens the book with no page shown.
void HowToPlayInit() {
    menuMusicStarted = true;
    // A restart primes a new page turn in place of the old one, never beside it.
    StopChannel(pageTurnChannel);
    pageTurnChannel = PlaySound(pageTurnSound, true, PageTurnLevel());

    AddPicture("BG", 0, 0, BACKDROP_WIDTH, BACKDROP_HEIGHT, backgroundTexture);
    for (int i = 0; i < TOPIC_COUNT; ++i)
        topicButtons[i] =
            AddPicture(TOPICS[i].buttonName, TOPIC_BUTTON_X, TOPICS[i].buttonY, TOPIC_BUTTON_WIDTH,
                       TOPIC_BUTTON_HEIGHT, topicTextures[i].button);
    backButton = AddPicture("BackToMenuButton", BACK_BUTTON_X, BACK_BUTTON_Y, BACK_BUTTON_SIZE,
                            BACK_BUTTON_SIZE, backTexture);
    for (int i = 0; i < TOPIC_COUNT; ++i) {
        topicPages[i] = AddPicture(TOPICS[i].pageName, PAGE_X, TOPICS[i].pageY, TOPICS[i].pageWidth,
                                   TOPICS[i].pageHeight, topicTextures[i].page);
        topicPages[i]->visible = 0;
    }
    cursorObject = AddCursorObject("Cursor", cursorTexture);
    std::fill(std::begin(topicShown), std::end(topicShown), false);
}

// Cursor, buttons, the page-turn volume and the global keys (Space leaves).
void HowToPlayUpdate() {
    MoveToCursor(cursorObject);
    UpdateButtons();
    UpdatePageTurnVolume();
    HandleGlobalInput();
}

// Releases the page-turn sound, the pictures and the square mesh.
void HowToPlayUnload() {
    if (nextState == GS_QUIT) ReleaseMenuMusic(); // the program ends: its tracks go too
    ReleaseSound(pageTurnSound);
    pageTurnSound = nullptr;
    pageTurnChannel = nullptr;
    UnloadTexture(backgroundTexture);
    UnloadTexture(cursorTexture);
    for (TopicTextures& textures : topicTextures) {
        UnloadTexture(textures.button);
        UnloadTexture(textures.buttonHover);
        UnloadTexture(textures.page);
        textures = {};
    }
    UnloadTexture(backTexture);
    UnloadTexture(backHoverTexture);
    backgroundTexture = cursorTexture = backTexture = backHoverTexture = nullptr;
    FreeMesh(squareMesh);
    squareMesh = nullptr;
}
