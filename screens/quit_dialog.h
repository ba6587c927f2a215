// The yes/no quit confirmation shared by the main menu and the battle's pause
// menu: creates and destroys its four objects ("quitMessage", "yesButton",
// "noButton" and the cursor "CursorDestrcutive"), laid out for the menu while
// the menu is the current state and for a battle otherwise. The pictures come
// from the screen that shows it: the menu's own set, or the battle's assets.
#pragma once

struct Texture;

// The pictures the confirmation is drawn with.
struct QuitDialogPictures {
    Texture* message;        // "data\AreYouSure.png"
    Texture* yes;            // "data\YesButton.png" (the hovered look)
    Texture* yesPressed;     // "data\YesButtonPressed.png" (the idle look)
    Texture* no;             // "data\NoButton.png" (the hovered look)
    Texture* noPressed;      // "data\NoButtonPressed.png" (the idle look)
    Texture* cursor;         // "data\Cursor.png"
    Texture* yesPlaceholder; // first picture of "yesButton" in a battle ("data\blue.png")
    Texture* noPlaceholder;  // first picture of "noButton" in a battle ("data\green.png")
};

// Set by the main menu's Load (and cleared by its Unload); a battle's come
// from battleAssets.
extern QuitDialogPictures menuQuitDialogPictures;

enum QuitDialogChoice { QUIT_DIALOG_NONE = 0, QUIT_DIALOG_NO = 1, QUIT_DIALOG_YES = 2 };

// Creates the confirmation's objects (nothing when it is already open).
void OpenQuitDialog();
// Destroys them (nothing when it is not open).
void CloseQuitDialog();
// True between OpenQuitDialog and CloseQuitDialog (or the screen's Free).
bool IsQuitDialogOpen();
// One frame of the open confirmation: moves its cursor to the cursor, shows
// the plain yes/no picture on the hovered button and the pressed picture on
// the other, and returns which button the left button went down on this frame.
QuitDialogChoice UpdateQuitDialog();
