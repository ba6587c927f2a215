// The main menu's buttons, worked with the mouse as the last step of
// HandleGlobalInput while the menu is current: hover pictures, Play, How to
// play, Credits, Quit with its confirmation, the effects and speaker toggles,
// and the settings button that opens the panel. Depends on the menu's shared
// objects and pictures (main_menu_internal.h), the state manager, settings,
// the screen helpers and the quit confirmation.
#include "screens/main_menu.h"

#include "app/game_state.h"
#include "app/settings.h"
#include "objects/game_object.h"
#include "screens/main_menu_internal.h"
#include "screens/quit_dialog.h"
#include "screens/settings_rules.h"
#include "screens/ui.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

// A button whose picture follows the cursor alone.
struct HoverButton {
    GameObject* MenuObjects::*slot;
    MenuPicture idle, hover;
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

static const HoverButton hoverButtons[] = {
    {&MenuObjects::playButton, MENU_PLAY, MENU_PLAY_HOVER},
    {&MenuObjects::howToPlayButton, MENU_HOW_TO_PLAY, MENU_HOW_TO_PLAY_HOVER},
    {&MenuObjects::creditsButton, MENU_CREDITS, MENU_CREDITS_HOVER},
    {&MenuObjects::settingsButton, MENU_SETTINGS, MENU_SETTINGS_HOVER},
};

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Every button shows its idle or hovered picture; the toggles follow their flag.
static void UpdateMenuButtonPictures() {
    for (const HoverButton& button : hoverButtons)
        UpdateButtonPicture(menu.*button.slot, menuPictures[button.idle],
                            menuPictures[button.hover]);
    // The quit button stays idle while its confirmation is up.
    bool quitHovered = IsCursorOver(menu.quitButton) && !quitDialogOpen;
    menu.quitButton->texture = menuPictures[quitHovered ? MENU_QUIT_HOVER : MENU_QUIT];
    if (soundMuted)
        UpdateButtonPicture(menu.volumeButton, menuPictures[MENU_VOLUME_MUTED],
                            menuPictures[MENU_VOLUME_MUTED_HOVER]);
    else
        UpdateButtonPicture(menu.volumeButton, menuPictures[MENU_VOLUME],
                            menuPictures[MENU_VOLUME_HOVER]);
    if (sfxMuted)
        UpdateButtonPicture(menu.sfxButton, menuPictures[MENU_SFX_INACTIVE],
                            menuPictures[MENU_SFX_INACTIVE_HOVER]);
    else
        UpdateButtonPicture(menu.sfxButton, menuPictures[MENU_SFX_ACTIVE],
                            menuPictures[MENU_SFX_ACTIVE_HOVER]);
}

// Play, How to play and Credits work only with the panel and confirmation closed.
static bool MenuCovered() {
    return menuSettingsOpen || quitDialogOpen;
}

// The quit confirmation: its buttons while it is open.
static void StepQuitConfirmation() {
    if (!MenuCovered() && IsClicked(menu.quitButton)) {
        OpenQuitDialog();
        quitDialogOpen = true;
    }
    if (!quitDialogOpen) return;
    QuitDialogChoice choice = UpdateQuitDialog();
    if (choice == QUIT_DIALOG_NO) {
        quitDialogOpen = false;
        CloseQuitDialog();
    } else if (choice == QUIT_DIALOG_YES) {
        nextState = GS_QUIT;
    }
}

// The speaker mutes or restores everything; true when it was clicked.
static bool StepSpeaker() {
    if (!IsClicked(menu.volumeButton)) return false;
    bool mute = !soundMuted;
    soundMuted = mute;
    sfxMuted = mute;
    musicMuted = mute;
    return true;
}

// The settings button opens or closes the panel; the open panel's arrows act.
static void StepSettingsPanel() {
    if (IsClicked(menu.settingsButton)) {
        if (!menuSettingsOpen) {
            ShowSettingsPanel(true);
            menuSettingsOpen = true;
        } else {
            ShowSettingsPanel(false);
            menuSettingsOpen = false;
            return;
        }
    }
    if (menuSettingsOpen) SettingsPanelStep();
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// The menu's buttons for this frame.
void MainMenuButtonStep() {
    if (!menu.playButton) return; // the menu's objects are not made yet
    UpdateMenuButtonPictures();
    if (!MenuCovered() && IsClicked(menu.playButton)) playPressed = true;
    if (!MenuCovered() && IsClicked(menu.howToPlayButton)) nextState = GS_HOW_TO_PLAY;
    StepQuitConfirmation();
    if (!MenuCovered() && IsClicked(menu.creditsButton)) nextState = GS_LOGO_CREDITS;
    if (IsClicked(menu.sfxButton)) ToggleSfxMuted();
    if (StepSpeaker()) return;
    StepSettingsPanel();
}
