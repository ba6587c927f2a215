// Small helpers every screen shares: pictures on the square mesh, buttons
// whose picture follows the cursor, clicks (with the button click sound),
// cursor objects and finding objects by name. Depends on the object list,
// input and the effect cues.
#include "screens/ui.h"

#include <cstring>

#include "app/input.h"

static EffectCue clickCue = {{"data\\ButtonClick.wav"}, {}, {}, {}, nullptr, 0};

// Adds a plain picture object on squareMesh, rotation π.
GameObject* AddPicture(const char* name, float x, float y, float sx, float sy, Texture* texture) {
    return AddObject(new GameObject(), name, x, y, sx, sy, PI_F, squareMesh, texture);
}

// Adds the 25 by 25 cursor object at the cursor.
GameObject* AddCursorObject(const char* name, Texture* texture) {
    return AddObject(new GameObject(), name, cursorWorldX, cursorWorldY, 25, 25, CURSOR_ROTATION,
                     squareMesh, texture);
}

// Moves a cursor object to the cursor.
void MoveToCursor(GameObject* cursor) {
    if (!cursor) return;
    cursor->position[0] = cursorWorldX;
    cursor->position[1] = cursorWorldY;
}

// Swaps a button's picture between idle and hover; returns whether it is hovered.
bool UpdateButtonPicture(GameObject* button, Texture* idle, Texture* hover) {
    if (!button) return false;
    bool over = IsCursorOver(button);
    button->texture = over ? hover : idle;
    return over;
}

// A button clicked: the left button went down this frame over it; it answers
// with the click sound.
bool IsClicked(const GameObject* object) {
    bool clicked = IsClickedOver(object);
    if (clicked) PlayButtonClick();
    return clicked;
}

void PlayButtonClick() {
    PlayCue(clickCue);
}

// The sound cache hands back the loaded click: every screen's Load may ask.
void LoadClickSound() {
    LoadCue(clickCue);
}

void ReleaseClickSound() {
    ReleaseCue(clickCue);
}

void StopAllSoundsButClick() {
    StopAllSoundsBut(clickCue);
}

const EffectCue& ClickCueRecord() {
    return clickCue;
}

// First alive object with this exact name.
GameObject* FindObject(const char* name) {
    for (GameObject* object : objectList)
        if (object && object->alive && object->name == name) return object;
    return nullptr;
}
