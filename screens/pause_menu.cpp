// The battle's pause menu: SyncBattleSound (music, rain and effect channels
// follow the pause, the volume, the mute switches and the window's focus), the
// pause scroll with its six choices, the settings page, the exit page, the
// yes/no confirmation, the compact how-to-play page and the credits roll.
// Depends on the battle record and assets (battle/battle_state.h), the level's
// pause pictures read when a page first needs them (battle/level_setup.h), the
// object list and screen helpers (screens/ui.h), the quit confirmation, the
// shared settings rules, input, the window and the sound system.
#include "screens/pause_menu.h"

#include "app/game_state.h"
#include "app/input.h"
#include "app/settings.h"
#include "app/window.h"
#include "battle/battle_cues.h"
#include "battle/battle_state.h"
#include "battle/level_setup.h"
#include "engine/audio/sound.h"
#include "objects/game_object.h"
#include "screens/quit_dialog.h"
#include "screens/settings_rules.h"
#include "screens/ui.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

// Objects the open scroll adds besides the scroll itself.
struct ScrollObjects {
    GameObject* restartButton;
    GameObject* creditsButton;
    GameObject* howToPlayButton;
    GameObject* cursor;
    GameObject* marks[3]; // "ThingyContinue", "ThingySettings", "ThingyExit"
};

struct SettingsPage {
    GameObject* page;
    GameObject* backButton;
    GameObject* effectsButton;
    GameObject* arrows[SETTINGS_ARROW_COUNT];
    GameObject* cursor;
};

struct ExitPage {
    GameObject* page;
    GameObject* exitGameButton;
    GameObject* backButton;
    GameObject* quitToMenuButton;
    GameObject* cursor;
};

struct HowToPlayPage {
    GameObject* page;
    GameObject* backButton;
    GameObject* cursor;
};

enum { CREDITS_PICTURE_COUNT = 5 };
struct CreditsRoll {
    GameObject* pictures[CREDITS_PICTURE_COUNT]; // backdrop first, then the four that roll
    GameObject* last;                            // "data\LogosCredits.png", ends the roll
};

// Where an arrow of the settings page stands.
struct ArrowPlace {
    const char* name;
    float x, y;
    bool pointsLeft; // left arrows show "data\ArrowRight.png", right ones "data\Arrow.png"
};

// One picture of the credits roll.
struct CreditsPicture {
    const char* name;
    float startY;
    Texture* BattleAssets::*picture;
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

// Each page's objects are held from its creation until it destroys them; they
// are read only while the page's flag in the battle record is set (Init
// clears the flags, and a screen's Free destroys the objects with them).
static ScrollObjects scrollObjects = {};
static SettingsPage settingsPage = {};
static ExitPage exitPage = {};
static HowToPlayPage howToPlayPage = {};
static CreditsRoll creditsRoll = {};

// The frame in which a pause-menu step last acted on a click: a page opened
// by a click must not take that same click as one of its own.
static int32_t clickTakenFrame = -1;

static const ArrowPlace kArrowPlaces[SETTINGS_ARROW_COUNT] = {
    {"ResolutionArrowLeft", -110, 190, true}, {"ResolutionArrowRight", 110, 190, false},
    {"FullscreenArrowLeft", -110, 90, true},  {"FullscreenArrowRight", 110, 90, false},
    {"VolumeArrowLeft", -110, -10, true},     {"VolumeArrowRight", 110, -10, false},
    {"MusicArrowLeft", -110, -100, true},     {"MusicArrowRight", 110, -100, false},
};

static const CreditsPicture kRollingPictures[4] = {
    {"Logo", -400, &BattleAssets::morrowLogo},
    {"BG", -1000, &BattleAssets::credits},
    {"Logos", -2070, &BattleAssets::logosCredits},
    {"Logos", -1470, &BattleAssets::creditsExecutives},
};

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// True, once per frame, when the left button went down over `object`.
static bool TakeClick(const GameObject* object) {
    if (clickTakenFrame == frameCounter || !IsClicked(object)) return false;
    clickTakenFrame = frameCounter;
    return true;
}

// Whether a click was already acted on in this frame.
static bool ClickTakenThisFrame() {
    return clickTakenFrame == frameCounter;
}

// Destroys a run of objects and forgets them.
static void DestroyAll(GameObject** objects, int count) {
    for (int i = 0; i < count; ++i) {
        DestroyObject(objects[i]);
        objects[i] = nullptr;
    }
}

// Adds the hidden buttons, the cursor and the hidden row marks of the scroll.
static void CreateScrollObjects() {
    const BattleAssets& a = battleAssets;
    ScrollObjects& s = scrollObjects;
    s.restartButton = AddPicture("RestartButton", -175, -10, 70, 70, a.pauseRestartButton);
    s.creditsButton = AddPicture("CreditsButton", -185, -150, 90, 90, a.pauseCreditsButton);
    s.howToPlayButton = AddPicture("HTPButton", 185, -150, 70, 70, a.howToPlayPauseButton);
    s.cursor = AddCursorObject("CursorPause", a.cursor);
    static const char* const markNames[3] = {"ThingyContinue", "ThingySettings", "ThingyExit"};
    for (int row = 0; row < 3; ++row)
        s.marks[row] =
            AddPicture(markNames[row], 0, -100.0f * row, 700, 700, a.scrollContinueThingy);
    s.restartButton->visible = 0;
    s.creditsButton->visible = 0;
    s.howToPlayButton->visible = 0;
    for (GameObject* mark : s.marks)
        mark->visible = 0;
}

// Destroys the scroll's buttons, cursor and marks (the scroll itself closes).
static void DestroyScrollObjects() {
    ScrollObjects& s = scrollObjects;
    GameObject* objects[7] = {s.restartButton, s.creditsButton, s.howToPlayButton, s.cursor,
                              s.marks[0],      s.marks[1],      s.marks[2]};
    DestroyAll(objects, 7);
    s = {};
}

// Settings page objects, in drawing order.
static void CreateSettingsPage() {
    LoadPausePictures(PausePictures::PAGES);
    const BattleAssets& a = battleAssets;
    SettingsPage& p = settingsPage;
    p.page = AddPicture("SettingsMenu", 0, 0, -700, 700, a.scrollBlank);
    p.backButton = AddPicture("backButton", -175, -150, 90, 80, a.backToPause);
    p.effectsButton =
        AddPicture("SFXButtonPause", 180, -150, 70, 70, sfxMuted ? a.sfxInactive : a.sfxActive);
    for (int i = 0; i < SETTINGS_ARROW_COUNT; ++i) {
        const ArrowPlace& place = kArrowPlaces[i];
        p.arrows[i] = AddPicture(place.name, place.x, place.y, 80, 60,
                                 place.pointsLeft ? a.arrowRight : a.arrow);
    }
    p.cursor = AddCursorObject("CursorSettings", a.cursor);
}

// Destroys the twelve objects of the settings page.
static void DestroySettingsPage() {
    SettingsPage& p = settingsPage;
    GameObject* objects[3 + SETTINGS_ARROW_COUNT + 1] = {p.page, p.backButton, p.effectsButton};
    for (int i = 0; i < SETTINGS_ARROW_COUNT; ++i)
        objects[3 + i] = p.arrows[i];
    objects[3 + SETTINGS_ARROW_COUNT] = p.cursor;
    DestroyAll(objects, 3 + SETTINGS_ARROW_COUNT + 1);
    p = {};
}

// Exit page objects, in drawing order.
static void CreateExitPage() {
    LoadPausePictures(PausePictures::PAGES);
    const BattleAssets& a = battleAssets;
    ExitPage& p = exitPage;
    p.page = AddPicture("ScrollBlank", 0, 0, -700, 700, a.scrollBlank);
    p.exitGameButton = AddPicture("ExitGameButton", -100, 100, 130, 130, a.exitGameButton);
    p.backButton = AddPicture("BackButton", 0, -50, 130, 80, a.backPauseMenuButton);
    p.quitToMenuButton =
        AddPicture("QuitToMenuButton", 100, 100, 130, 130, a.returnToMainMenuButton);
    p.cursor = AddCursorObject("CursorSettings", a.cursor);
}

// Destroys the five objects of the exit page.
static void DestroyExitPage() {
    ExitPage& p = exitPage;
    GameObject* objects[5] = {p.page, p.exitGameButton, p.backButton, p.quitToMenuButton, p.cursor};
    DestroyAll(objects, 5);
    p = {};
}

// The whole-screen how-to-play picture with its back button and cursor.
static void CreateHowToPlayPage() {
    LoadPausePictures(PausePictures::HOW_TO_PLAY);
    const BattleAssets& a = battleAssets;
    HowToPlayPage& p = howToPlayPage;
    p.page =
        AddPicture("HTPCompact", -0.2f, 0, BACKDROP_WIDTH, BACKDROP_HEIGHT, a.howToPlayCompact);
    p.backButton = AddPicture("backButton", -545, -260, 90, 80, a.backToPause);
    p.cursor = AddCursorObject("CursorHTP", a.cursor);
}

// The black backdrop and the four rolling credit pictures.
static void CreateCreditsRoll() {
    LoadPausePictures(PausePictures::CREDITS);
    CreditsRoll& roll = creditsRoll;
    GameObject* backdrop =
        AddPicture("Logo", 0, 0, BACKDROP_WIDTH, BACKDROP_HEIGHT, battleAssets.red);
    backdrop->useTint = 1;
    backdrop->tintColor = 0xFF000000;
    roll.pictures[0] = backdrop;
    for (int i = 0; i < 4; ++i) {
        const CreditsPicture& picture = kRollingPictures[i];
        roll.pictures[1 + i] = AddPicture(picture.name, 0, picture.startY, BACKDROP_WIDTH,
                                          BACKDROP_HEIGHT, battleAssets.*picture.picture);
    }
    roll.last = roll.pictures[3];
}

// The three row marks follow the cursor; the three buttons show their hover art.
static void UpdateScrollHover(BattleState& b) {
    const BattleAssets& a = battleAssets;
    ScrollObjects& s = scrollObjects;
    GameObject* rows[3] = {b.continueButton, b.settingsButton, b.exitButton};
    for (int row = 0; row < 3; ++row)
        if (s.marks[row]) s.marks[row]->visible = rows[row] && IsCursorOver(rows[row]);
    UpdateButtonPicture(s.howToPlayButton, a.howToPlayPauseButton, a.howToPlayPauseButtonPressed);
    UpdateButtonPicture(s.creditsButton, a.pauseCreditsButton, a.pauseCreditsButtonPressed);
    UpdateButtonPicture(s.restartButton, a.pauseRestartButton, a.pauseRestartButtonPressed);
    if (s.howToPlayButton) s.howToPlayButton->visible = 1;
    if (s.creditsButton) s.creditsButton->visible = 1;
    if (s.restartButton) s.restartButton->visible = 1;
}

// Continue: the battle runs again while the scroll plays its closing animation.
static void ContinueBattle(BattleState& b) {
    BattleState::paused = false;
    if (b.pauseScroll && battleAssets.scrollCloseAnim) {
        SetAnimation(b.pauseScroll, battleAssets.scrollCloseAnim);
        b.pauseScroll->loop = 0;
        b.pauseScroll->playing = 1;
        // The open animation's end must not count as the closing one's.
        b.pauseScroll->ended = 0;
    } else if (b.pauseScroll) {
        // Without its closing animation the scroll goes at once.
        DestroyObject(b.pauseScroll);
        b.pauseScroll = nullptr;
        b.pauseScrollOpen = 0;
    }
    DestroyScrollObjects();
}

// The scroll's rows and buttons, tested in their fixed order.
static void UpdateScrollClicks(BattleState& b) {
    if (TakeClick(b.exitButton)) {
        b.exitMenuOpen = true;
        CreateExitPage();
    }
    if (TakeClick(b.continueButton)) {
        ContinueBattle(b);
        return;
    }
    if (TakeClick(b.settingsButton)) {
        b.settingsPageOpen = true;
        CreateSettingsPage();
    }
    if (TakeClick(scrollObjects.howToPlayButton)) {
        b.howToPlayPageShown = true;
        CreateHowToPlayPage();
    }
    if (TakeClick(scrollObjects.creditsButton)) {
        b.creditsShown = true;
        CreateCreditsRoll();
    }
    if (TakeClick(scrollObjects.restartButton)) {
        b.restartChosen = true;
        b.quitConfirmOpen = true;
        OpenQuitDialog();
    }
}

// Resolution, full screen, volume and music arrows: red while hovered; a
// click steps its setting by the shared rules.
static void UpdateSettingsArrows() {
    SettingsPage& p = settingsPage;
    bool over[SETTINGS_ARROW_COUNT];
    TintHoveredArrows(p.arrows, over);
    for (int i = 0; i < SETTINGS_ARROW_COUNT; ++i) {
        if (!TakeClick(p.arrows[i])) continue;
        // The window has changed size under the cursor: for the rest of this
        // frame the cursor stays on the arrow it clicked.
        if (ApplySettingsArrow(i)) {
            cursorWorldX = kArrowPlaces[i].x;
            cursorWorldY = kArrowPlaces[i].y;
        }
        return;
    }
}

// The effects button: its picture follows sfxMuted and the cursor; a click flips it.
static void UpdateEffectsButton() {
    const BattleAssets& a = battleAssets;
    GameObject* button = settingsPage.effectsButton;
    if (!button) return;
    if (TakeClick(button)) ToggleSfxMuted();
    bool over = IsCursorOver(button);
    if (sfxMuted)
        button->texture = over ? a.sfxInactivePressed : a.sfxInactive;
    else
        button->texture = over ? a.sfxActivePressed : a.sfxActive;
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Music pauses with the battle; music is silent when muted or in the
// background; effects (and the ambient rain) when effects are muted or in
// the background.
void SyncBattleSound() {
    if (!battle) return;
    BattleState& b = *battle;
    Channel* pausedWithMusic[2] = {b.musicChannel, b.ambientChannel};
    for (Channel* channel : pausedWithMusic) {
        if (!channel) continue;
        if (BattleState::paused)
            PauseChannel(channel);
        else
            ResumeChannel(channel);
    }
    if (b.musicChannel) SetChannelVolume(b.musicChannel, BattleMusicLevel());
    const float effectLevel = BattleEffectLevel();
    if (b.ambientChannel) SetChannelVolume(b.ambientChannel, effectLevel);
    for (Channel* channel : b.effectChannels)
        if (channel) SetChannelVolume(channel, effectLevel);
    SetBattleCueVolume(effectLevel);
}

// Escape, a minimised window or lost focus pauses the battle and opens the scroll.
void UpdatePauseOpen() {
    if (!battle) return;
    BattleState& b = *battle;
    bool wanted = IsKeyPressed(VK_ESCAPE) || !IsWindowActive();
    if (!wanted || b.pauseScrollOpen != 0) return;
    BattleState::paused = true;
    b.pauseScrollOpen = 1;
    clickTakenFrame = -1; // a new scroll has taken no click yet
    LoadPausePictures(PausePictures::SCROLL);
    Sprite* scroll = new Sprite();
    AddObject(scroll, "PauseMenu", 0, 0, 700, 700, PI_F, squareMesh, battleAssets.scrollAnimation0);
    SetAnimation(scroll, battleAssets.scrollOpenAnim);
    scroll->loop = 0;
    scroll->playing = 1;
    // Without its opening animation the scroll shows its still picture, unrolled.
    if (!battleAssets.scrollOpenAnim) {
        scroll->playing = 0;
        scroll->ended = 1;
    }
    b.pauseScroll = scroll;
    CreateScrollObjects();
}

// The scroll: removed once its closing animation has ended; while it is open
// and no page covers it, its rows and buttons work once it has unrolled.
void UpdatePauseMenu() {
    if (!battle) return;
    BattleState& b = *battle;
    if (!BattleState::paused) {
        Sprite* scroll = b.pauseScroll;
        if (scroll && scroll->animation == battleAssets.scrollCloseAnim && scroll->ended) {
            DestroyObject(scroll);
            b.pauseScroll = nullptr;
            b.pauseScrollOpen = 0;
        }
        return;
    }
    if (b.howToPlayPageShown || b.settingsPageOpen || b.exitMenuOpen || b.creditsShown ||
        b.restartChosen)
        return;
    MoveToCursor(scrollObjects.cursor);
    if (!b.pauseScroll || !b.pauseScroll->ended) return;
    UpdateScrollHover(b);
    UpdateScrollClicks(b);
}

// The settings page while it is open.
void UpdateSettingsPage() {
    if (!battle || !battle->settingsPageOpen) return;
    const BattleAssets& a = battleAssets;
    MoveToCursor(settingsPage.cursor);
    UpdateSettingsArrows();
    UpdateEffectsButton();
    UpdateButtonPicture(settingsPage.backButton, a.backToPause, a.backToPausePressed);
    if (TakeClick(settingsPage.backButton)) {
        battle->settingsPageOpen = false;
        DestroySettingsPage();
    }
}

// The exit page while it is open and no confirmation covers it.
void UpdateExitPage() {
    if (!battle) return;
    BattleState& b = *battle;
    if (!b.exitMenuOpen || b.quitConfirmOpen) return;
    const BattleAssets& a = battleAssets;
    ExitPage& p = exitPage;
    MoveToCursor(p.cursor);
    UpdateButtonPicture(p.exitGameButton, a.exitGameButton, a.exitGameButtonPressed);
    UpdateButtonPicture(p.backButton, a.backPauseMenuButton, a.backPauseMenuButtonPressed);
    UpdateButtonPicture(p.quitToMenuButton, a.returnToMainMenuButton,
                        a.returnToMainMenuButtonPressed);
    if (TakeClick(p.exitGameButton)) {
        b.quitConfirmOpen = true;
        OpenQuitDialog();
    }
    if (TakeClick(p.quitToMenuButton)) {
        b.returnToMenuChosen = true;
        b.quitConfirmOpen = true;
        OpenQuitDialog();
    }
    if (TakeClick(p.backButton)) {
        b.exitMenuOpen = false;
        DestroyExitPage();
    }
}

// The confirmation: no goes back to the page below; yes quits, returns to
// the main menu or restarts the level, by what led to it.
void UpdateQuitConfirm() {
    if (!battle || !battle->quitConfirmOpen) return;
    BattleState& b = *battle;
    bool clickTaken = ClickTakenThisFrame();
    QuitDialogChoice choice = UpdateQuitDialog();
    if (clickTaken || choice == QUIT_DIALOG_NONE) return;
    clickTakenFrame = frameCounter;
    if (choice == QUIT_DIALOG_NO) {
        b.restartChosen = false;
        b.returnToMenuChosen = false;
        b.quitConfirmOpen = false;
        CloseQuitDialog();
        return;
    }
    if (b.returnToMenuChosen || b.restartChosen) PlayButtonClick(); // a quit ends all sound
    if (b.returnToMenuChosen && !b.restartChosen) {
        b.returnToMenuChosen = false;
        nextState = GS_MAIN_MENU;
    } else if (!b.returnToMenuChosen && !b.restartChosen) {
        nextState = GS_QUIT;
    } else if (b.restartChosen && !b.returnToMenuChosen) {
        b.restartChosen = false;
        nextState = GS_RESTART;
    }
}

// The compact how-to-play page while it is shown.
void UpdatePauseHowToPlay() {
    if (!battle || !battle->howToPlayPageShown) return;
    const BattleAssets& a = battleAssets;
    HowToPlayPage& p = howToPlayPage;
    MoveToCursor(p.cursor);
    UpdateButtonPicture(p.backButton, a.backToPause, a.backToPausePressed);
    if (TakeClick(p.backButton)) {
        battle->howToPlayPageShown = false;
        GameObject* objects[3] = {p.page, p.backButton, p.cursor};
        DestroyAll(objects, 3);
        p = {};
    }
}

// The credits roll: the pictures rise one unit a frame until the last one
// has risen past the top of the window, or Space ends it.
void UpdatePauseCredits() {
    if (!battle || !battle->creditsShown) return;
    CreditsRoll& roll = creditsRoll;
    for (int i = 1; i < CREDITS_PICTURE_COUNT; ++i)
        if (roll.pictures[i]) roll.pictures[i]->position[1] += 1;
    bool rolledOut =
        roll.last && roll.last->position[1] >= static_cast<float>(windowHeight) * 0.5f + 370;
    if (rolledOut || IsKeyPressed(VK_SPACE)) {
        DestroyAll(roll.pictures, CREDITS_PICTURE_COUNT);
        roll = {};
        battle->creditsShown = false;
    }
}
