// The yes/no quit confirmation shared by the main menu and the battle's pause
// menu. Depends on the object list and the screen helpers (screens/ui.h), the
// state manager (which screen shows it), the menu's pictures and the battle's
// assets (battle/battle_state.h).
#include "screens/quit_dialog.h"

#include "app/game_state.h"
#include "battle/battle_state.h"
#include "objects/game_object.h"
#include "screens/ui.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

// Where the three pictures of the confirmation stand on one screen.
struct QuitDialogLayout {
    float messageX, messageY, messageWidth, messageHeight;
    float yesX, yesY;
    float noX, noY;
    float buttonSize;
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

QuitDialogPictures menuQuitDialogPictures = {};

// The menu's layout is wider than the battle's, whose scroll sits behind it.
static const QuitDialogLayout menuLayout = {0, 0, -500, 500, 180, -175, -180, -175, 70};
static const QuitDialogLayout battleLayout = {0, 0, -450, 500, 90, -150, -90, -150, 70};

static GameObject* quitMessage = nullptr;
static GameObject* yesButton = nullptr;
static GameObject* noButton = nullptr;
static GameObject* dialogCursor = nullptr;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// The pictures of the screen now showing the confirmation.
static QuitDialogPictures CurrentPictures() {
    if (currentState == GS_MAIN_MENU) return menuQuitDialogPictures;
    QuitDialogPictures pictures = {};
    pictures.message = battleAssets.areYouSure;
    pictures.yes = battleAssets.yesButton;
    pictures.yesPressed = battleAssets.yesButtonPressed;
    pictures.no = battleAssets.noButton;
    pictures.noPressed = battleAssets.noButtonPressed;
    pictures.cursor = battleAssets.cursor;
    pictures.yesPlaceholder = battleAssets.blue;
    pictures.noPlaceholder = battleAssets.green;
    return pictures;
}

// True while `object` is still the live dialog object named `name` in the
// object list (a screen's Free may have destroyed the confirmation without
// closing it, and a later object may reuse the address).
static bool IsListedAlive(const GameObject* object, const char* name) {
    if (!object) return false;
    for (const GameObject* listed : objectList)
        if (listed == object) return listed->alive && listed->name == name;
    return false;
}

// Forgets the four objects.
static void ForgetDialogObjects() {
    quitMessage = yesButton = noButton = dialogCursor = nullptr;
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// True while the confirmation's objects are shown.
bool IsQuitDialogOpen() {
    if (IsListedAlive(quitMessage, "quitMessage")) return true;
    ForgetDialogObjects();
    return false;
}

// Creates the message, the two buttons and a cursor drawn above them.
void OpenQuitDialog() {
    if (IsQuitDialogOpen()) return;
    bool inMenu = currentState == GS_MAIN_MENU;
    const QuitDialogLayout& layout = inMenu ? menuLayout : battleLayout;
    QuitDialogPictures pictures = CurrentPictures();
    // The menu sets the buttons' pictures in the same frame; a battle shows
    // its placeholders until the pause menu's first confirmation step.
    Texture* yesFirst = inMenu ? pictures.yesPressed : pictures.yesPlaceholder;
    Texture* noFirst = inMenu ? pictures.noPressed : pictures.noPlaceholder;
    quitMessage = AddPicture("quitMessage", layout.messageX, layout.messageY, layout.messageWidth,
                             layout.messageHeight, pictures.message);
    yesButton = AddPicture("yesButton", layout.yesX, layout.yesY, layout.buttonSize,
                           layout.buttonSize, yesFirst);
    noButton = AddPicture("noButton", layout.noX, layout.noY, layout.buttonSize, layout.buttonSize,
                          noFirst);
    dialogCursor = AddCursorObject("CursorDestrcutive", pictures.cursor);
}

// Destroys the four objects of the confirmation.
void CloseQuitDialog() {
    if (!IsQuitDialogOpen()) return;
    DestroyObject(quitMessage);
    DestroyObject(noButton);
    DestroyObject(yesButton);
    DestroyObject(dialogCursor);
    ForgetDialogObjects();
}

// Cursor, hover pictures and the click of one frame of the open confirmation.
QuitDialogChoice UpdateQuitDialog() {
    if (!IsQuitDialogOpen()) return QUIT_DIALOG_NONE;
    QuitDialogPictures pictures = CurrentPictures();
    MoveToCursor(dialogCursor);
    // The plain picture is the hovered look, the "pressed" one the idle look.
    UpdateButtonPicture(noButton, pictures.noPressed, pictures.no);
    UpdateButtonPicture(yesButton, pictures.yesPressed, pictures.yes);
    if (IsClicked(noButton)) return QUIT_DIALOG_NO;
    if (IsClickedOver(yesButton)) return QUIT_DIALOG_YES; // the caller clicks unless it quits
    return QUIT_DIALOG_NONE;
}
