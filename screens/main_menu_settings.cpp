// The main menu's settings panel: its picture and eight arrows, their hover
// tint and clicks (stepping the shared settings by the same rules as the
// battle's settings page, screens/settings_rules.h), and its four text lines.
// Depends on the menu's shared objects and pictures, the settings values, the
// window (full screen), input (cursor), fonts and the render transform.
#include <cstdio>

#include "app/input.h"
#include "app/settings.h"
#include "app/window.h"
#include "engine/graphics/device.h"
#include "engine/graphics/font.h"
#include "objects/game_object.h"
#include "screens/main_menu.h"
#include "screens/main_menu_internal.h"
#include "screens/settings_rules.h"
#include "screens/ui.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

// One arrow of the panel: where it stands, its picture and what a click does.
struct ArrowEntry {
    const char* name;
    float x, y;
    MenuPicture picture;
};

// One text line of the panel, in design units, with its extra scale.
struct PanelText {
    float x, y, k;
};

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

// Left arrows show "ArrowRight.png" and right arrows "Arrow.png", as drawn.
static const ArrowEntry arrowTable[SETTINGS_ARROW_COUNT] = {
    {"ResolutionArrowLeft", -110, 30, MENU_ARROW_RIGHT},
    {"ResolutionArrowRight", 110, 30, MENU_ARROW},
    {"FullscreenArrowLeft", -110, -70, MENU_ARROW_RIGHT},
    {"FullscreenArrowRight", 110, -70, MENU_ARROW},
    {"VolumeArrowLeft", -110, -170, MENU_ARROW_RIGHT},
    {"VolumeArrowRight", 110, -170, MENU_ARROW},
    {"MusicArrowLeft", -110, -260, MENU_ARROW_RIGHT},
    {"MusicArrowRight", 110, -260, MENU_ARROW},
};

static const uint32_t PANEL_TEXT_COLOR = 0xFFD4AF37;
static const PanelText resolutionText = {-85, 20, 1};
static const PanelText fullscreenText = {-85, -80, 1};
static const PanelText volumeText = {-30, -185, 1.2f};
static const PanelText musicText = {-30, -280, 1.2f};

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Prints one line at its design position, scaled like the objects.
static void PrintPanelText(const char* text, const PanelText& place) {
    Matrix3 translation = Matrix3Translation(place.x * drawScale, place.y * drawScale);
    Matrix3 scaling = Matrix3Scale(place.k * drawScale, place.k * drawScale);
    Matrix3 model;
    Matrix3Concat(model, translation, scaling);
    SetTransform(model);
    PrintText(text, menuFont, PANEL_TEXT_COLOR);
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// The panel picture, then the eight arrows, then the effects button.
void AddSettingsPanelObjects() {
    menu.settingsPanel =
        AddPicture("SettingsMenu", 0, -70, 355, 500, menuPictures[MENU_SETTINGS_PANEL]);
    for (int i = 0; i < SETTINGS_ARROW_COUNT; ++i) {
        const ArrowEntry& entry = arrowTable[i];
        menu.arrows[i] =
            AddPicture(entry.name, entry.x, entry.y, 80, 60, menuPictures[entry.picture]);
    }
    menu.sfxButton = AddPicture("SFXButton", -370, -300, 64, 64, menuPictures[MENU_SFX_ACTIVE]);
}

// Shows or hides the panel with its arrows.
void ShowSettingsPanel(bool shown) {
    if (menu.settingsPanel) menu.settingsPanel->visible = shown;
    for (GameObject* arrow : menu.arrows)
        if (arrow) arrow->visible = shown;
}

// Tints the hovered arrows red; a click on one steps its setting.
void SettingsPanelStep() {
    bool hovered[SETTINGS_ARROW_COUNT];
    TintHoveredArrows(menu.arrows, hovered);
    if (mouseButtonState[MOUSE_LEFT] != 2) return;
    for (int i = 0; i < SETTINGS_ARROW_COUNT; ++i) {
        if (!hovered[i]) continue;
        PlayButtonClick();
        // A resize moved the window under the cursor: for the rest of the
        // frame the cursor stays on the arrow (in design units, like the rest
        // of the frame's tests).
        if (ApplySettingsArrow(i)) {
            cursorWorldX = arrowTable[i].x;
            cursorWorldY = arrowTable[i].y;
        }
        return; // the arrows do not overlap: one click acts once
    }
}

// Resolution row, full-screen state, volume and music switch.
void DrawSettingsPanelTexts() {
    if (!menuFont) return;
    char text[32];
    FormatResolutionText(text, sizeof text);
    PrintPanelText(text, resolutionText);
    PrintPanelText(isFullscreen ? " ENABLED" : " DISABLED", fullscreenText);
    snprintf(text, sizeof text, "%3d", volume);
    PrintPanelText(text, volumeText);
    PrintPanelText(musicMuted ? "OFF" : "ON", musicText);
}
