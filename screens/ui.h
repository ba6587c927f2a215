// Small helpers every screen shares: pictures on the square mesh, buttons
// whose picture follows the cursor, clicks (with the button click sound),
// cursor objects and finding objects by name. Depends on the object list,
// input and the effect cues.
#pragma once

#include "objects/game_object.h"
#include "screens/effect_cue.h"

struct Texture;

// The curtain ("Wall") that dresses every change of screen: its size, its
// step per frame, and where it waits open (just below the view) or stands closed.
constexpr float CURTAIN_WIDTH = 1380, CURTAIN_HEIGHT = 820;
constexpr float CURTAIN_STEP = 10;
constexpr float CURTAIN_OPEN_Y = -800, CURTAIN_CLOSED_Y = 0;

// Adds a plain picture object on squareMesh, rotation π (as screens draw them).
GameObject* AddPicture(const char* name, float x, float y, float sx, float sy, Texture* texture);
// Adds the 25 by 25 cursor object (rotation 1.2π) at the cursor.
GameObject* AddCursorObject(const char* name, Texture* texture);
// Moves a cursor object to the cursor (design units).
void MoveToCursor(GameObject* cursor);
// Shows `hover` while the cursor is over the button, `idle` otherwise; returns hovered.
bool UpdateButtonPicture(GameObject* button, Texture* idle, Texture* hover);
// The left button went down this frame with the cursor over the object; a
// click plays the button click. Buttons whose click may do nothing test
// IsClickedOver and call PlayButtonClick only when the click acts.
bool IsClicked(const GameObject* object);
void PlayButtonClick();
// The button click outlives the change of screen it may start: loaded by the
// first screen with buttons, kept through every later Load and Unload and
// released when the game quits.
void LoadClickSound();
void ReleaseClickSound();
// Stops every sound but a button click still sounding (a battle's Free).
void StopAllSoundsButClick();
const EffectCue& ClickCueRecord();
// First alive object of objectList with this exact name, or null.
GameObject* FindObject(const char* name);
