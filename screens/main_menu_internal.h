// What the main menu's own files share: the pictures its Load reads, the
// objects its Init makes, and the settings panel's steps. Only
// screens/main_menu*.cpp include it.
#pragma once

#include "screens/settings_rules.h"

#include <cstdint>

struct GameObject;
struct Texture;
struct Font;

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

// The menu's pictures, in the order of menuPicturePaths.
enum MenuPicture {
    MENU_BG,
    MENU_PANEL,
    MENU_LOGO,
    MENU_WALL,
    MENU_CURSOR,
    MENU_PLAY,
    MENU_PLAY_HOVER,
    MENU_HOW_TO_PLAY,
    MENU_HOW_TO_PLAY_HOVER,
    MENU_QUIT,
    MENU_QUIT_HOVER,
    MENU_CREDITS,
    MENU_CREDITS_HOVER,
    MENU_VOLUME,
    MENU_VOLUME_HOVER,
    MENU_VOLUME_MUTED,
    MENU_VOLUME_MUTED_HOVER,
    MENU_SETTINGS,
    MENU_SETTINGS_HOVER,
    MENU_SFX_ACTIVE,
    MENU_SFX_ACTIVE_HOVER,
    MENU_SFX_INACTIVE,
    MENU_SFX_INACTIVE_HOVER,
    MENU_SETTINGS_PANEL,
    MENU_ARROW,
    MENU_ARROW_RIGHT,
    MENU_ARE_YOU_SURE,
    MENU_YES,
    MENU_YES_PRESSED,
    MENU_NO,
    MENU_NO_PRESSED,
    MENU_PICTURE_COUNT
};

// The objects the menu's steps reach every frame (valid from Init to Free).
struct MenuObjects {
    GameObject* knight;
    GameObject* playButton;
    GameObject* howToPlayButton;
    GameObject* quitButton;
    GameObject* creditsButton;
    GameObject* volumeButton;
    GameObject* settingsButton;
    GameObject* settingsPanel;
    GameObject* arrows[SETTINGS_ARROW_COUNT];
    GameObject* sfxButton;
    GameObject* cursor;
    GameObject* wall;       // the closing curtain made by Init
    GameObject* returnWall; // the opening curtain after a win or lose screen
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

extern Texture* menuPictures[MENU_PICTURE_COUNT];
extern Font* menuFont;
extern MenuObjects menu;

// ---------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------

// Makes the settings panel and its eight arrows, then the effects button
// (drawing order after the settings button).
void AddSettingsPanelObjects();
// Shows or hides the panel and its arrows.
void ShowSettingsPanel(bool shown);
// Arrow hover tints and the click of one arrow (while the panel is open).
void SettingsPanelStep();
// The panel's four text lines (while it is open).
void DrawSettingsPanelTexts();
